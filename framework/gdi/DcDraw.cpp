// CDC's lines, shapes, fills, frames, icons and bit-block transfers.
#include "framework/gdi/Dc.h"

CPoint CDC::GetCurrentPosition() const {
  CPoint point;
  ::GetCurrentPositionEx(m_hAttribDC, &point);
  return point;
}

CPoint CDC::MoveTo(int x, int y) {
  CPoint point;
  ::MoveToEx(m_hDC, x, y, &point);
  return point;
}

CPoint CDC::MoveTo(POINT point) {
  return MoveTo(point.x, point.y);
}

BOOL CDC::LineTo(int x, int y) {
  return ::LineTo(m_hDC, x, y);
}

BOOL CDC::LineTo(POINT point) {
  return LineTo(point.x, point.y);
}

BOOL CDC::Polyline(const POINT* lpPoints, int nCount) {
  return ::Polyline(m_hDC, lpPoints, nCount);
}

BOOL CDC::PolyPolyline(const POINT* lpPoints, const DWORD* lpPolyPoints, int nCount) {
  return ::PolyPolyline(m_hDC, lpPoints, lpPolyPoints, static_cast<DWORD>(nCount));
}

BOOL CDC::Polygon(const POINT* lpPoints, int nCount) {
  return ::Polygon(m_hDC, lpPoints, nCount);
}

BOOL CDC::PolyPolygon(const POINT* lpPoints, const INT* lpPolyCounts, int nCount) {
  return ::PolyPolygon(m_hDC, lpPoints, lpPolyCounts, nCount);
}

BOOL CDC::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

BOOL CDC::Arc(LPCRECT r, POINT ptStart, POINT ptEnd) {
  return Arc(r->left, r->top, r->right, r->bottom, ptStart.x, ptStart.y, ptEnd.x, ptEnd.y);
}

BOOL CDC::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  return ::Chord(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

BOOL CDC::Chord(LPCRECT r, POINT ptStart, POINT ptEnd) {
  return Chord(r->left, r->top, r->right, r->bottom, ptStart.x, ptStart.y, ptEnd.x, ptEnd.y);
}

BOOL CDC::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  return ::Pie(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

BOOL CDC::Pie(LPCRECT r, POINT ptStart, POINT ptEnd) {
  return Pie(r->left, r->top, r->right, r->bottom, ptStart.x, ptStart.y, ptEnd.x, ptEnd.y);
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) {
  return ::Ellipse(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Ellipse(LPCRECT r) {
  return Ellipse(r->left, r->top, r->right, r->bottom);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
  return ::Rectangle(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Rectangle(LPCRECT r) {
  return Rectangle(r->left, r->top, r->right, r->bottom);
}

BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
  return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}

BOOL CDC::RoundRect(LPCRECT r, POINT point) {
  return RoundRect(r->left, r->top, r->right, r->bottom, point.x, point.y);
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
  if (pBrush != nullptr) ::FillRect(m_hDC, lpRect, *pBrush);
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) {
  if (pBrush != nullptr) ::FrameRect(m_hDC, lpRect, *pBrush);
}

void CDC::InvertRect(LPCRECT lpRect) {
  ::InvertRect(m_hDC, lpRect);
}

void CDC::DrawFocusRect(LPCRECT lpRect) {
  ::DrawFocusRect(m_hDC, lpRect);
}

// An opaque empty text output fills with the background colour and needs no brush; the
// caller's background colour is put back, so later text is not drawn on the fill's colour.
void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
  COLORREF clrOld = ::SetBkColor(m_hDC, clr);
  ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
  if (clrOld != CLR_INVALID) ::SetBkColor(m_hDC, clrOld);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  RECT rect = {x, y, x + cx, y + cy};
  FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
             clrTopLeft, clrBottomRight);
}

// The light edges stop one pixel short of the far corners, which belong to the dark edges.
void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  if (cx <= 0 || cy <= 0) return;
  FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
  FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
  FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
  FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) {
  return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags);
}

BOOL CDC::DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState) {
  return ::DrawFrameControl(m_hDC, lpRect, nType, nState);
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
  return ::DrawIcon(m_hDC, x, y, hIcon);
}

BOOL CDC::DrawIcon(POINT point, HICON hIcon) {
  return DrawIcon(point.x, point.y, hIcon);
}

// DrawState ----------------------------------------------------------------------------------
// The kind of image (DST_BITMAP, DST_ICON, DST_TEXT, DST_PREFIXTEXT, DST_COMPLEX) goes in nFlags
// with the state; each form sets the kind its argument needs.

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush) {
  return ::DrawStateA(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hBitmap), 0, pt.x, pt.y,
                      size.cx, size.cy, (nFlags & ~0x000FU) | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush) {
  return DrawState(pt, size, pBitmap != nullptr ? HBITMAP(*pBitmap) : nullptr, nFlags,
                   pBrush != nullptr ? HBRUSH(*pBrush) : nullptr);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush) {
  return ::DrawStateA(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, pt.x, pt.y,
                      size.cx, size.cy, (nFlags & ~0x000FU) | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush) {
  return DrawState(pt, size, hIcon, nFlags, pBrush != nullptr ? HBRUSH(*pBrush) : nullptr);
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCSTR lpszText, UINT nFlags, BOOL bPrefixText,
                    int nTextLen, HBRUSH hBrush) {
  UINT kind = bPrefixText ? DST_PREFIXTEXT : DST_TEXT;
  return ::DrawStateA(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(lpszText),
                      static_cast<WPARAM>(nTextLen), pt.x, pt.y, size.cx, size.cy,
                      (nFlags & ~0x000FU) | kind);
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCSTR lpszText, UINT nFlags, BOOL bPrefixText,
                    int nTextLen, CBrush* pBrush) {
  return DrawState(pt, size, lpszText, nFlags, bPrefixText, nTextLen,
                   pBrush != nullptr ? HBRUSH(*pBrush) : nullptr);
}

BOOL CDC::DrawState(CPoint pt, CSize size, DRAWSTATEPROC lpDrawProc, LPARAM lData, UINT nFlags,
                    HBRUSH hBrush) {
  return ::DrawStateA(m_hDC, hBrush, lpDrawProc, lData, 0, pt.x, pt.y, size.cx, size.cy,
                      (nFlags & ~0x000FU) | DST_COMPLEX);
}

// Bit-block transfers ------------------------------------------------------------------------

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
  return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) {
  return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC != nullptr ? pSrcDC->m_hDC : nullptr, xSrc,
                  ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, DWORD dwRop) {
  return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC != nullptr ? pSrcDC->m_hDC : nullptr,
                      xSrc, ySrc, nSrcWidth, nSrcHeight, dwRop);
}

BOOL CDC::TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC,
                         int xSrc, int ySrc, int nSrcWidth, int nSrcHeight, UINT clrTransparent) {
  if (pSrcDC == nullptr) return FALSE;
  return ::TransparentBlt(m_hDC, xDest, yDest, nDestWidth, nDestHeight, pSrcDC->m_hDC, xSrc, ySrc,
                          nSrcWidth, nSrcHeight, clrTransparent);
}
