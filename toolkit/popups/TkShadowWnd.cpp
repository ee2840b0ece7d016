#include "toolkit/popups/TkShadowWnd.h"

#include <algorithm>

namespace {

// Darkening weights from the ring next to the popup outwards.
constexpr int kRingWeights[kTkShadowDepth] = {60, 45, 30, 15};

bool InRect(int x, int y, int left, int top, int right, int bottom) {
  return x >= left && x < right && y >= top && y < bottom;
}

}  // namespace

RECT TkShadowRectFor(const RECT& rcPopup) {
  RECT rc = rcPopup;
  rc.right += kTkShadowDepth;
  rc.bottom += kTkShadowDepth;
  return rc;
}

void TkShadowStrips(const RECT& rc, RECT strips[2]) {
  strips[0] = {rc.right - kTkShadowDepth, rc.top + kTkShadowDepth, rc.right, rc.bottom};
  strips[1] = {rc.left + kTkShadowDepth, rc.bottom - kTkShadowDepth, rc.right - kTkShadowDepth,
               rc.bottom};
}

int TkShadowWeight(int x, int y, int left, int top, int right, int bottom) {
  RECT rc = {left, top, right, bottom}, strips[2];
  TkShadowStrips(rc, strips);
  bool inStrip = false;
  for (const RECT& s : strips) inStrip |= InRect(x, y, s.left, s.top, s.right, s.bottom);
  if (!inStrip) return 0;
  // The innermost ring that holds the pixel: near the outer corners the rings cut the strips
  // diagonally, which rounds the shadow's ends.
  for (int i = 0; i < kTkShadowDepth; ++i) {
    int inset = kTkShadowDepth - 1 - i;
    if (InRect(x, y, left + inset, top + inset, right - inset, bottom - inset))
      return kRingWeights[i];
  }
  return 0;
}

void DarkenShadowEdges(HDC hdc, int left, int top, int right, int bottom, int nDarkness) {
  RECT rc = {left, top, right, bottom}, strips[2];
  TkShadowStrips(rc, strips);
  for (const RECT& s : strips) {
    for (int y = s.top; y < s.bottom; ++y) {
      for (int x = s.left; x < s.right; ++x) {
        int amount = TkShadowWeight(x, y, left, top, right, bottom) * nDarkness / 100;
        COLORREF c = ::GetPixel(hdc, x, y);
        if (c == CLR_INVALID) continue;
        auto dark = [amount](int channel) { return std::clamp(channel - amount, 0, 255); };
        ::SetPixel(hdc, x, y, RGB(dark(GetRValue(c)), dark(GetGValue(c)), dark(GetBValue(c))));
      }
    }
  }
}

void CopyShadowStrips(HDC hdcTarget, const RECT& rect, HDC hdcPicture, POINT ptOffset) {
  RECT strips[2];
  TkShadowStrips(rect, strips);
  for (const RECT& s : strips) {
    if (s.right <= s.left || s.bottom <= s.top) continue;
    ::BitBlt(hdcTarget, s.left, s.top, s.right - s.left, s.bottom - s.top, hdcPicture,
             s.left + ptOffset.x, s.top + ptOffset.y, SRCCOPY);
  }
}

BOOL CTkShadowWnd::Create(HWND hWndPopup) {
  m_hWndPopup = hWndPopup;
  RECT rc;
  if (!::GetWindowRect(hWndPopup, &rc)) return FALSE;
  rc = TkShadowRectFor(rc);
  m_bChild = (::GetWindowLongPtrA(hWndPopup, GWL_STYLE) & WS_POPUP) == 0;
  HWND parent = ::GetParent(hWndPopup);
  if (m_bChild) ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  LPCSTR cls = AfxRegisterWndClass(CS_CLASSDC);
  if (!CreateEx(WS_EX_TOOLWINDOW, cls, "Shadow", m_bChild ? WS_CHILD : WS_POPUP, rc.left, rc.top,
                rc.right - rc.left, rc.bottom - rc.top, parent, nullptr))
    return FALSE;
  PlaceBehindPopup();
  SetShadowRegion();
  return TRUE;
}

void CTkShadowWnd::PlaceBehindPopup() {
  if (m_hWnd && ::IsWindow(m_hWndPopup))
    ::SetWindowPos(m_hWnd, m_hWndPopup, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CTkShadowWnd::SetShadowRegion() {
  RECT rc, strips[2];
  ::GetClientRect(m_hWnd, &rc);
  TkShadowStrips(rc, strips);
  HRGN region = ::CreateRectRgnIndirect(&strips[0]);
  HRGN bottom = ::CreateRectRgnIndirect(&strips[1]);
  ::CombineRgn(region, region, bottom, RGN_OR);
  ::DeleteObject(bottom);
  ::SetWindowRgn(m_hWnd, region, FALSE);  // the window owns the region now
  m_bPictureReady = FALSE;
}

void CTkShadowWnd::SaveScreen(int left, int top, int right, int bottom) {
  m_saved.Free();
  int cx = right - left, cy = bottom - top;
  if (cx <= 0 || cy <= 0) return;
  HDC screen = ::GetDC(nullptr);
  if (m_saved.Attach(screen, ::CreateCompatibleBitmap(screen, cx, cy)))
    ::BitBlt(m_saved.GetDC(), 0, 0, cx, cy, screen, left, top, SRCCOPY);
  ::ReleaseDC(nullptr, screen);
}

void CTkShadowWnd::BuildPicture() {
  m_picture.Free();
  RECT rc;
  ::GetWindowRect(m_hWnd, &rc);
  int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
  HDC screen = ::GetDC(nullptr);
  if (m_picture.Attach(screen, ::CreateCompatibleBitmap(screen, cx, cy))) {
    if (m_saved.IsReady())
      ::BitBlt(m_picture.GetDC(), 0, 0, cx, cy, m_saved.GetDC(), 0, 0, SRCCOPY);
    else
      ::BitBlt(m_picture.GetDC(), 0, 0, cx, cy, screen, rc.left, rc.top, SRCCOPY);
    DarkenShadowEdges(m_picture.GetDC(), 0, 0, cx, cy, m_nDarkness);
    m_bPictureReady = TRUE;
  }
  ::ReleaseDC(nullptr, screen);
}

void CTkShadowWnd::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  if (!m_bPictureReady) BuildPicture();
  if (m_picture.IsReady()) {
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    CopyShadowStrips(hdc, rc, m_picture.GetDC(), POINT{0, 0});
  }
  ::EndPaint(m_hWnd, &ps);
}

void CTkShadowWnd::OnWindowPosChanging(WINDOWPOS* lpwp) {
  bool movesOrSizes = !(lpwp->flags & SWP_NOMOVE) || !(lpwp->flags & SWP_NOSIZE);
  if (movesOrSizes && ::IsWindowVisible(m_hWnd) && m_nMoveState == 0) {
    // Hidden for the move: a shadow dragged along would carry the old screen under it.
    lpwp->flags |= SWP_HIDEWINDOW;
    lpwp->flags &= ~SWP_SHOWWINDOW;
    m_nMoveState = 1;
  }
  if (!(lpwp->flags & SWP_NOZORDER) && ::IsWindow(m_hWndPopup)) lpwp->hwndInsertAfter = m_hWndPopup;
  lpwp->flags |= SWP_NOCOPYBITS;
}

void CTkShadowWnd::OnWindowPosChanged(WINDOWPOS*) {
  if (m_nMoveState != 1) return;
  m_nMoveState = 2;
  RECT rc;
  ::GetWindowRect(m_hWnd, &rc);
  // The screen under the new place, taken while the shadow is still hidden.
  SaveScreen(rc.left, rc.top, rc.right, rc.bottom);
  ::ShowWindow(m_hWnd, SW_SHOWNA);
  PlaceBehindPopup();
  m_nMoveState = 0;
  SetShadowRegion();
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT CTkShadowWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_SETFOCUS:
      // The shadow never keeps the focus: it goes back where it came from.
      if (wParam) ::SetFocus(reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_WINDOWPOSCHANGING:
      OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
      return CWnd::WindowProc(message, wParam, lParam);
    case WM_WINDOWPOSCHANGED: {
      LRESULT result = CWnd::WindowProc(message, wParam, lParam);
      OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam));
      return result;
    }
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}
