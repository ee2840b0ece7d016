#include "toolkit/popups/TkPopupShadow.h"

#include "toolkit/popups/TkShadowWnd.h"

BOOL CTkMenuShadowHook::HookWindow(HWND hWnd) {
  if (hWnd && !::IsWindow(hWnd)) return FALSE;
  CTkWndHook::HookWindow(hWnd);
  return !hWnd || ::IsWindow(hWnd);
}

LRESULT CTkMenuShadowHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  ++m_nDepth;
  LRESULT result;
  switch (message) {
    case WM_DESTROY:
      m_bDestroyed = TRUE;
      m_pOwner->Hide();
      result = CTkWndHook::WindowProc(message, wParam, lParam);
      break;
    case WM_SHOWWINDOW:
      if (wParam) m_pOwner->Show();
      else m_pOwner->Hide();
      result = CTkWndHook::WindowProc(message, wParam, lParam);
      break;
    case WM_WINDOWPOSCHANGED: {
      result = CTkWndHook::WindowProc(message, wParam, lParam);
      const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
      m_pOwner->FollowPopup(!(wp->flags & SWP_NOMOVE) || !(wp->flags & SWP_NOSIZE));
      // SetWindowPos shows and hides without WM_SHOWWINDOW.
      if (wp->flags & SWP_SHOWWINDOW) m_pOwner->Show();
      if (wp->flags & SWP_HIDEWINDOW) m_pOwner->Hide();
      break;
    }
    default:
      result = CTkWndHook::WindowProc(message, wParam, lParam);
  }
  if (--m_nDepth == 0 && m_bDestroyed) {
    // A shadow never outlives its popup. This hook is part of its owner: nothing of it may be
    // touched after the delete.
    delete m_pOwner;
  }
  return result;
}

CTkPopupShadow::CTkPopupShadow(HWND hWndPopup, BOOL bShowNow, BOOL bHookNow)
    : m_hWndPopup(hWndPopup), m_pShadow(new CTkShadowWnd), m_hook(this) {
  if (bHookNow) m_hook.HookWindow(hWndPopup);
  m_bCreated = m_pShadow->Create(hWndPopup);
  if (bShowNow) Show();
}

CTkPopupShadow::~CTkPopupShadow() {
  Hide();
  if (m_pShadow->m_hWnd) m_pShadow->DestroyWindow();
  delete m_pShadow;
  if (m_hook.IsHooked()) m_hook.HookWindow(static_cast<HWND>(nullptr));
}

void CTkPopupShadow::Show() {
  if (!m_bCreated || ::IsWindowVisible(m_pShadow->m_hWnd)) return;
  RECT rc;
  ::GetWindowRect(m_pShadow->m_hWnd, &rc);
  // What lies under the shadow before it covers it.
  m_pShadow->SaveScreen(rc.left, rc.top, rc.right, rc.bottom);
  m_pShadow->SetShadowRegion();
  ::InvalidateRect(m_pShadow->m_hWnd, nullptr, TRUE);
  ::ShowWindow(m_pShadow->m_hWnd, SW_SHOWNA);
  m_pShadow->PlaceBehindPopup();
}

void CTkPopupShadow::Hide() {
  if (m_bCreated && m_pShadow->m_hWnd) ::ShowWindow(m_pShadow->m_hWnd, SW_HIDE);
}

void CTkPopupShadow::FollowPopup(BOOL bMoved) {
  if (!m_bCreated || !m_pShadow->m_hWnd) return;
  if (bMoved) {
    RECT rc;
    ::GetWindowRect(m_hWndPopup, &rc);
    rc = TkShadowRectFor(rc);
    if (m_pShadow->IsChild())
      ::MapWindowPoints(nullptr, ::GetParent(m_pShadow->m_hWnd), reinterpret_cast<POINT*>(&rc), 2);
    ::SetWindowPos(m_pShadow->m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left,
                   rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  }
  m_pShadow->PlaceBehindPopup();
}
