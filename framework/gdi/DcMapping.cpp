// CDC's coordinate mapping and clipping.
#include "framework/gdi/Dc.h"

int CDC::GetMapMode() const {
  return ::GetMapMode(m_hAttribDC);
}

int CDC::SetMapMode(int nMapMode) {
  return ::SetMapMode(m_hDC, nMapMode);
}

CPoint CDC::GetViewportOrg() const {
  CPoint point;
  ::GetViewportOrgEx(m_hAttribDC, &point);
  return point;
}

CPoint CDC::SetViewportOrg(int x, int y) {
  CPoint point;
  ::SetViewportOrgEx(m_hDC, x, y, &point);
  return point;
}

CPoint CDC::SetViewportOrg(POINT point) {
  return SetViewportOrg(point.x, point.y);
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
  CPoint point;
  ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &point);
  return point;
}

CSize CDC::GetViewportExt() const {
  CSize size;
  ::GetViewportExtEx(m_hAttribDC, &size);
  return size;
}

CSize CDC::SetViewportExt(int cx, int cy) {
  CSize size;
  ::SetViewportExtEx(m_hDC, cx, cy, &size);
  return size;
}

CSize CDC::SetViewportExt(SIZE size) {
  return SetViewportExt(size.cx, size.cy);
}

CPoint CDC::GetWindowOrg() const {
  CPoint point;
  ::GetWindowOrgEx(m_hAttribDC, &point);
  return point;
}

CPoint CDC::SetWindowOrg(int x, int y) {
  CPoint point;
  ::SetWindowOrgEx(m_hDC, x, y, &point);
  return point;
}

CPoint CDC::SetWindowOrg(POINT point) {
  return SetWindowOrg(point.x, point.y);
}

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) {
  CPoint point;
  ::OffsetWindowOrgEx(m_hDC, nWidth, nHeight, &point);
  return point;
}

CSize CDC::GetWindowExt() const {
  CSize size;
  ::GetWindowExtEx(m_hAttribDC, &size);
  return size;
}

CSize CDC::SetWindowExt(int cx, int cy) {
  CSize size;
  ::SetWindowExtEx(m_hDC, cx, cy, &size);
  return size;
}

CSize CDC::SetWindowExt(SIZE size) {
  return SetWindowExt(size.cx, size.cy);
}

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const {
  ::DPtoLP(m_hAttribDC, lpPoints, nCount);
}

void CDC::DPtoLP(LPRECT lpRect) const {
  ::DPtoLP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2);
}

// A size is a distance: both ends of it are converted and the difference kept.
void CDC::DPtoLP(LPSIZE lpSize) const {
  POINT pts[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
  ::DPtoLP(m_hAttribDC, pts, 2);
  lpSize->cx = pts[1].x - pts[0].x;
  lpSize->cy = pts[1].y - pts[0].y;
}

void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const {
  ::LPtoDP(m_hAttribDC, lpPoints, nCount);
}

void CDC::LPtoDP(LPRECT lpRect) const {
  ::LPtoDP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CDC::LPtoDP(LPSIZE lpSize) const {
  POINT pts[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
  ::LPtoDP(m_hAttribDC, pts, 2);
  lpSize->cx = pts[1].x - pts[0].x;
  lpSize->cy = pts[1].y - pts[0].y;
}

// Clipping -----------------------------------------------------------------------------------

int CDC::GetClipBox(LPRECT lpRect) const {
  return ::GetClipBox(m_hDC, lpRect);
}

BOOL CDC::PtVisible(int x, int y) const {
  return ::PtVisible(m_hDC, x, y);
}

BOOL CDC::PtVisible(POINT point) const {
  return PtVisible(point.x, point.y);
}

BOOL CDC::RectVisible(LPCRECT lpRect) const {
  return ::RectVisible(m_hDC, lpRect);
}

int CDC::SelectClipRgn(CRgn* pRgn) {
  return ::SelectClipRgn(m_hDC, pRgn != nullptr ? HRGN(*pRgn) : nullptr);
}

int CDC::SelectClipRgn(CRgn* pRgn, int nMode) {
  return ::ExtSelectClipRgn(m_hDC, pRgn != nullptr ? HRGN(*pRgn) : nullptr, nMode);
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) {
  return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2);
}

int CDC::ExcludeClipRect(LPCRECT lpRect) {
  return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) {
  return ::IntersectClipRect(m_hDC, x1, y1, x2, y2);
}

int CDC::IntersectClipRect(LPCRECT lpRect) {
  return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::OffsetClipRgn(int x, int y) {
  return ::OffsetClipRgn(m_hDC, x, y);
}

int CDC::OffsetClipRgn(SIZE size) {
  return OffsetClipRgn(size.cx, size.cy);
}

int CDC::ExcludeUpdateRgn(HWND hWnd) {
  return ::ExcludeUpdateRgn(m_hDC, hWnd);
}

BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush) {
  return ::FillRgn(m_hDC, *pRgn, *pBrush);
}

BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight) {
  return ::FrameRgn(m_hDC, *pRgn, *pBrush, nWidth, nHeight);
}

BOOL CDC::InvertRgn(CRgn* pRgn) {
  return ::InvertRgn(m_hDC, *pRgn);
}

BOOL CDC::PaintRgn(CRgn* pRgn) {
  return ::PaintRgn(m_hDC, *pRgn);
}
