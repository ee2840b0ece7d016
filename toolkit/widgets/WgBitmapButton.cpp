#include "toolkit/widgets/WgBitmapButton.h"

#include <commctrl.h>

#include "framework/wnd/MessageMap.h"
#include "toolkit/core/ToolkitHelpers.h"

IMPLEMENT_DYNAMIC(CWgBitmapButton, CWgOwnerDrawButton)

BEGIN_MESSAGE_MAP(CWgBitmapButton, CWgOwnerDrawButton)
  ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

CWgBitmapButton::~CWgBitmapButton() {
  if (m_hBitmap) ::DeleteObject(m_hBitmap);
}

HBITMAP CWgBitmapButton::LoadSysColorBitmap(HINSTANCE hInst, LPCSTR lpszName) {
  COLORMAP map[4] = {{RGB(0, 0, 0), ::GetSysColor(COLOR_BTNTEXT)},
                     {RGB(128, 128, 128), ::GetSysColor(COLOR_BTNSHADOW)},
                     {RGB(192, 192, 192), ::GetSysColor(COLOR_BTNFACE)},
                     {RGB(255, 255, 255), ::GetSysColor(COLOR_BTNHIGHLIGHT)}};
  return ::CreateMappedBitmap(hInst, reinterpret_cast<INT_PTR>(lpszName), 0, map, 4);
}

BOOL CWgBitmapButton::SetBitmapResource(LPCSTR lpszName) {
  if (IS_INTRESOURCE(lpszName)) {
    m_lpszName = lpszName;
  } else {
    m_name = lpszName;
    m_lpszName = m_name;
  }
  return Reload();
}

BOOL CWgBitmapButton::Reload() {
  if (!m_lpszName) return FALSE;
  HBITMAP fresh = LoadSysColorBitmap(TkResourceModule(), m_lpszName);
  if (!fresh) return FALSE;
  if (m_hBitmap) ::DeleteObject(m_hBitmap);
  m_hBitmap = fresh;
  if (m_hWnd) Invalidate(FALSE);
  return TRUE;
}

void CWgBitmapButton::OnSysColorChange() {
  Default();
  Reload();
}

void CWgBitmapButton::DrawContents(HDC hdc, const CRect& rect, UINT itemState) {
  if (!m_hBitmap) return;
  BITMAP info = {};
  ::GetObjectA(m_hBitmap, sizeof(info), &info);
  int x = rect.left + (rect.Width() - info.bmWidth) / 2;
  int y = rect.top + (rect.Height() - info.bmHeight) / 2;
  if (itemState & ODS_DISABLED) {
    DrawDisabledBitmap(hdc, m_hBitmap, x, y, info.bmWidth, info.bmHeight);
    return;
  }
  HDC mem = ::CreateCompatibleDC(hdc);
  HGDIOBJ old = ::SelectObject(mem, m_hBitmap);
  ::BitBlt(hdc, x, y, info.bmWidth, info.bmHeight, mem, 0, 0, SRCCOPY);
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
}

IMPLEMENT_DYNAMIC(CWgMenuButton, CWgBitmapButton)

BEGIN_MESSAGE_MAP(CWgMenuButton, CWgBitmapButton)
  ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

void CWgMenuButton::OnLButtonUp(UINT nFlags, CPoint point) {
  // The release runs the button's own handling first, then the click action; the owner-drawn
  // base would otherwise run it as well.
  BOOL pushed = (GetState() & BST_PUSHED) != 0 && ::GetCapture() == m_hWnd;
  CRect client;
  GetClientRect(&client);
  Default();
  if (pushed && client.PtInRect(point)) CWgBitmapButton::OnClickAction();
  (void)nFlags;
}
