#include "toolkit/services/TkMBarWndHook.h"

IMPLEMENT_DYNAMIC(CTkMBarWndHook, CTkWndHook)
IMPLEMENT_DYNAMIC(CTkMBarMDIWndHook, CTkMBarWndHook)

BOOL& TkExpandCommandFlag() {
  static BOOL flag = FALSE;
  return flag;
}

BOOL CTkMBarWndHook::Install(CTkMenuBarSite* pMenuBar, HWND hWndToHook) {
  m_pMenuBar = pMenuBar;
  return HookWindow(hWndToHook);
}

bool CTkMBarWndHook::BarAlive() const {
  return m_pMenuBar && ::IsWindow(m_pMenuBar->GetBarWindow());
}

BOOL CTkMBarWndHook::HandleShared(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_PAINT:
      if (m_hWnd == m_pMenuBar->GetTrackedMDIClient()) m_pMenuBar->RefreshMDIButtons();
      return FALSE;
    case WM_NCACTIVATE: {
      HWND hOwner = m_pMenuBar->GetOwnerFrame();
      BOOL bActive;
      if (m_pMenuBar->OwnerStaysActive()) {
        bActive = TRUE;
      } else if (hOwner && !::IsWindowEnabled(hOwner)) {
        bActive = FALSE;
      } else {
        bActive = static_cast<BOOL>(wParam);
      }
      m_pMenuBar->SetFrameActive(bActive);
      ::InvalidateRect(m_pMenuBar->GetBarWindow(), nullptr, TRUE);
      return FALSE;
    }
    case WM_COMMAND:
      // The whole wParam: the expand item only, not any notification that shares its low word.
      TkExpandCommandFlag() = wParam == kTkExpandMenuCommand;
      return FALSE;
    case WM_MDISETMENU: {
      // The bar shows the menus; the frame keeps no menu of its own.
      m_pMenuBar->SetMDIMenu(reinterpret_cast<HMENU>(wParam), reinterpret_cast<HMENU>(lParam));
      if (HWND hOwner = m_pMenuBar->GetOwnerFrame()) ::SetMenu(hOwner, nullptr);
      result = 0;
      return TRUE;
    }
    case WM_MDIREFRESHMENU:
      result = 0;
      return TRUE;
    default:
      return FALSE;
  }
}

LRESULT CTkMBarWndHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!BarAlive()) return CTkWndHook::WindowProc(message, wParam, lParam);

  BOOL bSend = FALSE;
  if (HWND hTarget = m_pMenuBar->GetInPlaceTarget(message, wParam, lParam, bSend)) {
    if (bSend) return ::SendMessageA(hTarget, message, wParam, lParam);
    return ::PostMessageA(hTarget, message, wParam, lParam);
  }

  LRESULT result = 0;
  switch (message) {
    case WM_SYSCOLORCHANGE:
      m_pMenuBar->ResetFont();
      break;
    case WM_INITMENUPOPUP: {
      // The frame learns which bar item's popup this is; the system-menu flag stays.
      WORD index = static_cast<WORD>(m_pMenuBar->GetTrackedIndex());
      lParam = MAKELPARAM(index, HIWORD(lParam));
      if (HIWORD(lParam) == 0 && reinterpret_cast<HMENU>(wParam) == m_pMenuBar->GetMDIWindowMenu()) {
        m_pMenuBar->UpdateWindowList();
      }
      break;
    }
    case WM_MENUSELECT:
      m_pMenuBar->NoteMenuSelect(reinterpret_cast<HMENU>(lParam), LOWORD(wParam));
      break;
    default:
      if (HandleShared(message, wParam, lParam, result)) return result;
      break;
  }
  return CTkWndHook::WindowProc(message, wParam, lParam);
}

LRESULT CTkMBarMDIWndHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!BarAlive()) return CTkWndHook::WindowProc(message, wParam, lParam);
  LRESULT result = 0;
  if (HandleShared(message, wParam, lParam, result)) return result;
  return CTkWndHook::WindowProc(message, wParam, lParam);
}
