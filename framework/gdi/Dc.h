// CDC: a device context. m_hDC is where output goes and m_hAttribDC where attributes are asked
// (the same handle here; they differ only for print previews, which this framework has none of).
// A CDC that created or attached its context deletes it; one from FromHandle only borrows it.
#pragma once
#include <windows.h>

#include "framework/core/Object.h"
#include "framework/gdi/GdiObject.h"
#include "framework/gdi/HandleMap.h"
#include "framework/gdi/Rect.h"

class CString;

class CDC : public CObject {
  DECLARE_DYNAMIC(CDC)

 public:
  HDC m_hDC = nullptr;
  HDC m_hAttribDC = nullptr;

  CDC() = default;
  ~CDC() override;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  operator HDC() const { return m_hDC; }
  HDC GetSafeHdc() const { return m_hDC; }

  // The object that owns hDC, else a temporary wrapper of this thread that never deletes it.
  static CDC* PASCAL FromHandle(HDC hDC);
  static void PASCAL DeleteTempMap();
  BOOL Attach(HDC hDC);
  HDC Detach();
  virtual void SetAttribDC(HDC hDC);
  virtual void SetOutputDC(HDC hDC);
  virtual void ReleaseAttribDC();
  virtual void ReleaseOutputDC();

  BOOL CreateDC(LPCSTR lpszDriverName, LPCSTR lpszDeviceName, LPCSTR lpszOutput,
                const void* lpInitData);
  BOOL CreateIC(LPCSTR lpszDriverName, LPCSTR lpszDeviceName, LPCSTR lpszOutput,
                const void* lpInitData);
  // Compatible with pDC, or with the screen when pDC is null.
  BOOL CreateCompatibleDC(CDC* pDC);
  BOOL DeleteDC();

  virtual int SaveDC();
  virtual BOOL RestoreDC(int nSavedDC);
  int GetDeviceCaps(int nIndex) const;
  CPoint GetBrushOrg() const;
  CPoint SetBrushOrg(int x, int y);
  CPoint SetBrushOrg(POINT point);
  HWND GetWindow() const;  // the window the context belongs to (CWnd* form comes with CWnd)

  // Selection: the object selected before, as a wrapper (its owner, else a temporary one),
  // or null on failure. Selecting it back restores the context.
  CPen* SelectObject(CPen* pPen);
  CBrush* SelectObject(CBrush* pBrush);
  virtual CFont* SelectObject(CFont* pFont);
  CBitmap* SelectObject(CBitmap* pBitmap);
  int SelectObject(CRgn* pRgn);  // a region kind (SIMPLEREGION, ...), or ERROR
  CGdiObject* SelectObject(CGdiObject* pObject);
  HGDIOBJ SelectObject(HGDIOBJ hObject);
  virtual CGdiObject* SelectStockObject(int nIndex);
  CPalette* SelectPalette(CPalette* pPalette, BOOL bForceBackground);
  UINT RealizePalette();
  CPen* GetCurrentPen() const;
  CBrush* GetCurrentBrush() const;
  CFont* GetCurrentFont() const;
  CBitmap* GetCurrentBitmap() const;
  CPalette* GetCurrentPalette() const;

  // Colours and modes.
  COLORREF GetBkColor() const;
  virtual COLORREF SetBkColor(COLORREF crColor);
  int GetBkMode() const;
  int SetBkMode(int nBkMode);
  COLORREF GetTextColor() const;
  virtual COLORREF SetTextColor(COLORREF crColor);
  int GetROP2() const;
  int SetROP2(int nDrawMode);
  int GetPolyFillMode() const;
  int SetPolyFillMode(int nPolyFillMode);
  int GetStretchBltMode() const;
  int SetStretchBltMode(int nStretchMode);
  COLORREF GetNearestColor(COLORREF crColor) const;
  COLORREF GetPixel(int x, int y) const;
  COLORREF GetPixel(POINT point) const;
  COLORREF SetPixel(int x, int y, COLORREF crColor);
  COLORREF SetPixel(POINT point, COLORREF crColor);
  BOOL SetPixelV(int x, int y, COLORREF crColor);

  // Coordinate mapping.
  int GetMapMode() const;
  virtual int SetMapMode(int nMapMode);
  CPoint GetViewportOrg() const;
  virtual CPoint SetViewportOrg(int x, int y);
  CPoint SetViewportOrg(POINT point);
  virtual CPoint OffsetViewportOrg(int nWidth, int nHeight);
  CSize GetViewportExt() const;
  virtual CSize SetViewportExt(int cx, int cy);
  CSize SetViewportExt(SIZE size);
  CPoint GetWindowOrg() const;
  CPoint SetWindowOrg(int x, int y);
  CPoint SetWindowOrg(POINT point);
  CPoint OffsetWindowOrg(int nWidth, int nHeight);
  CSize GetWindowExt() const;
  virtual CSize SetWindowExt(int cx, int cy);
  CSize SetWindowExt(SIZE size);
  void DPtoLP(LPPOINT lpPoints, int nCount = 1) const;
  void DPtoLP(LPRECT lpRect) const;
  void DPtoLP(LPSIZE lpSize) const;
  void LPtoDP(LPPOINT lpPoints, int nCount = 1) const;
  void LPtoDP(LPRECT lpRect) const;
  void LPtoDP(LPSIZE lpSize) const;

  // Clipping and regions.
  virtual int GetClipBox(LPRECT lpRect) const;
  BOOL PtVisible(int x, int y) const;
  BOOL PtVisible(POINT point) const;
  virtual BOOL RectVisible(LPCRECT lpRect) const;
  int SelectClipRgn(CRgn* pRgn);  // null removes the clipping region
  int SelectClipRgn(CRgn* pRgn, int nMode);
  int ExcludeClipRect(int x1, int y1, int x2, int y2);
  int ExcludeClipRect(LPCRECT lpRect);
  int IntersectClipRect(int x1, int y1, int x2, int y2);
  int IntersectClipRect(LPCRECT lpRect);
  int OffsetClipRgn(int x, int y);
  int OffsetClipRgn(SIZE size);
  int ExcludeUpdateRgn(HWND hWnd);
  BOOL FillRgn(CRgn* pRgn, CBrush* pBrush);
  BOOL FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight);
  BOOL InvertRgn(CRgn* pRgn);
  BOOL PaintRgn(CRgn* pRgn);

  // Lines and shapes.
  CPoint GetCurrentPosition() const;
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT point);
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT point);
  BOOL Polyline(const POINT* lpPoints, int nCount);
  BOOL PolyPolyline(const POINT* lpPoints, const DWORD* lpPolyPoints, int nCount);
  BOOL Polygon(const POINT* lpPoints, int nCount);
  BOOL PolyPolygon(const POINT* lpPoints, const INT* lpPolyCounts, int nCount);
  BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  BOOL Arc(LPCRECT lpRect, POINT ptStart, POINT ptEnd);
  BOOL Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  BOOL Chord(LPCRECT lpRect, POINT ptStart, POINT ptEnd);
  BOOL Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  BOOL Pie(LPCRECT lpRect, POINT ptStart, POINT ptEnd);
  BOOL Ellipse(int x1, int y1, int x2, int y2);
  BOOL Ellipse(LPCRECT lpRect);
  BOOL Rectangle(int x1, int y1, int x2, int y2);
  BOOL Rectangle(LPCRECT lpRect);
  BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
  BOOL RoundRect(LPCRECT lpRect, POINT point);
  void FillRect(LPCRECT lpRect, CBrush* pBrush);
  void FrameRect(LPCRECT lpRect, CBrush* pBrush);
  void InvertRect(LPCRECT lpRect);
  void DrawFocusRect(LPCRECT lpRect);
  // Fills with a colour without changing the context's selected brush; keeps the background
  // colour the caller set.
  void FillSolidRect(LPCRECT lpRect, COLORREF clr);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
  // A one-pixel frame: top and left edges in clrTopLeft, bottom and right in clrBottomRight.
  void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
  void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
  BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags);
  BOOL DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState);
  BOOL DrawIcon(int x, int y, HICON hIcon);
  BOOL DrawIcon(POINT point, HICON hIcon);
  BOOL DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush = nullptr);
  BOOL DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush = nullptr);
  BOOL DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush = nullptr);
  BOOL DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush);
  BOOL DrawState(CPoint pt, CSize size, LPCSTR lpszText, UINT nFlags, BOOL bPrefixText = TRUE,
                 int nTextLen = 0, HBRUSH hBrush = nullptr);
  BOOL DrawState(CPoint pt, CSize size, LPCSTR lpszText, UINT nFlags, BOOL bPrefixText,
                 int nTextLen, CBrush* pBrush);
  BOOL DrawState(CPoint pt, CSize size, DRAWSTATEPROC lpDrawProc, LPARAM lData, UINT nFlags,
                 HBRUSH hBrush = nullptr);

  // The outline that follows the mouse while something is dragged: a frame of the given
  // thickness around lpRect, inverted with pBrush (the halftone brush when null). The outline
  // drawn last time (lpRectLast, sizeLast, with pBrushLast, by default the same brush) is
  // erased in the same call, and where the two overlap nothing flickers. A null rectangle or
  // a zero size draws (or erases) no outline, so the first call passes no last rectangle and
  // the last call a zero size.
  void DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast,
                    CBrush* pBrush = nullptr, CBrush* pBrushLast = nullptr);
  // A brush of alternate pixels in the text and background colours, shared by the process.
  static CBrush* PASCAL GetHalftoneBrush();

  // Bit-block transfers.
  BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
  BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
  BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                  int nSrcWidth, int nSrcHeight, DWORD dwRop);
  BOOL TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc,
                      int ySrc, int nSrcWidth, int nSrcHeight, UINT clrTransparent);

  // Text.
  virtual BOOL TextOut(int x, int y, LPCSTR lpszString, int nCount);
  BOOL TextOut(int x, int y, const CString& str);
  virtual BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCSTR lpszString,
                          UINT nCount, LPINT lpDxWidths);
  BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str,
                  LPINT lpDxWidths);
  virtual CSize TabbedTextOut(int x, int y, LPCSTR lpszString, int nCount, int nTabPositions,
                              LPINT lpnTabStopPositions, int nTabOrigin);
  // nCount -1: up to the terminating zero.
  virtual int DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
  int DrawText(const CString& str, LPRECT lpRect, UINT nFormat);
  CSize GetTextExtent(LPCSTR lpszString, int nCount) const;
  CSize GetTextExtent(const CString& str) const;
  CSize GetOutputTextExtent(LPCSTR lpszString, int nCount) const;
  CSize GetOutputTextExtent(const CString& str) const;
  CSize GetTabbedTextExtent(LPCSTR lpszString, int nCount, int nTabPositions,
                            LPINT lpnTabStopPositions) const;
  BOOL GetTextMetrics(LPTEXTMETRICA lpMetrics) const;
  BOOL GetOutputTextMetrics(LPTEXTMETRICA lpMetrics) const;
  int GetTextFace(int nCount, LPSTR lpszFacename) const;
  int GetTextFace(CString& rString) const;
  UINT GetTextAlign() const;
  UINT SetTextAlign(UINT nFlags);
  int GetTextCharacterExtra() const;
  int SetTextCharacterExtra(int nCharExtra);
  BOOL GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const;
  BOOL GrayString(CBrush* pBrush, BOOL(CALLBACK* lpfnOutput)(HDC, LPARAM, int), LPARAM lpData,
                  int nCount, int x, int y, int nWidth, int nHeight);

 private:
  friend class CTemporaryHandleMap<CDC, HDC>;
  void ReleaseTemporaryHandle() { m_hDC = m_hAttribDC = nullptr; }
  HGDIOBJ SelectHandle(HGDIOBJ hObject);
};
