// Device contexts bound to a window: CPaintDC between BeginPaint and EndPaint (in WM_PAINT
// handlers), CClientDC over the client area and CWindowDC over the whole window, released when
// the object goes.
#pragma once
#include "framework/gdi/Dc.h"
#include "framework/wnd/Wnd.h"

class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps = {};

 protected:
  HWND m_hWnd;
};

class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* pWnd);  // null: the screen
  ~CClientDC() override;

 protected:
  HWND m_hWnd;
};

class CWindowDC : public CDC {
 public:
  explicit CWindowDC(CWnd* pWnd);  // null: the screen
  ~CWindowDC() override;

 protected:
  HWND m_hWnd;
};

// The window forms of the drawing helpers' members that take a window handle.
BOOL AfxTrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd,
                       LPCRECT lpRect = nullptr);
CWnd* AfxGetDCWindow(const CDC* pDC);
