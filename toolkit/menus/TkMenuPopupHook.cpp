#include "toolkit/menus/TkMenuPopupHook.h"

#include <algorithm>
#include <cstring>

#include "framework/gdi/Dc.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/gdi/TkMemDC.h"
#include "toolkit/menus/TkCoolMenu.h"
#include "toolkit/menus/TkMenuItemData.h"
#include "toolkit/menus/TkMenuShared.h"
#include "toolkit/services/OSVersion.h"

IMPLEMENT_DYNAMIC(CTkMenuPopupHook, CTkWndHook)

namespace {

TkMenuShadowFactory g_shadowFactory = nullptr;

// The system settings the first menu window changes and the last one puts back.
struct PopupSettings {
  int nHooks = 0;
  BOOL bSavedAnimation = FALSE;
  BOOL bSavedDropShadow = FALSE;
  BOOL bXPOrLater = FALSE;
};
PopupSettings g_settings;

HHOOK g_hCbtHook = nullptr;
DWORD g_dwCbtThread = 0;
int g_nCbtNesting = 0;

constexpr char kMenuClass[] = "#32768";
// The SPI codes of the menu drop shadow (not in every header set).
constexpr UINT kSpiGetDropShadow = 0x1024;
constexpr UINT kSpiSetDropShadow = 0x1025;

BOOL NoChevronClicks() {
  const CTkToolkitData& data = ToolkitData();
  return data.m_bWin95 || data.m_bWinNT4;
}

BOOL IsMenuWindow(HWND hWnd) {
  char name[128] = {};
  ::GetClassNameA(hWnd, name, sizeof name);
  return std::strcmp(name, kMenuClass) == 0;
}

LRESULT CALLBACK MenuCbtProc(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode < 0 || g_nCbtNesting != 0) return ::CallNextHookEx(g_hCbtHook, nCode, wParam, lParam);
  ++g_nCbtNesting;
  LRESULT result = 0;
  auto hWnd = reinterpret_cast<HWND>(wParam);
  std::vector<CTkMenuPopupHook*>& hooks = TkMenuPopupHooks();
  if (nCode == HCBT_CREATEWND) {
    result = ::CallNextHookEx(g_hCbtHook, nCode, wParam, lParam);
    if (IsMenuWindow(hWnd)) {
      auto* hook = new CTkMenuPopupHook;
      hook->HookWindow(hWnd);
      hooks.push_back(hook);
      // A menu window made before its menu was announced waits for the announcement.
      TkPendingMenuHook() = hook->m_hMenu ? nullptr : hook;
    }
  } else if (nCode == HCBT_DESTROYWND) {
    if (!hooks.empty() && IsMenuWindow(hWnd)) {
      auto it = std::find_if(hooks.begin(), hooks.end(),
                             [hWnd](CTkMenuPopupHook* h) { return h->m_hWnd == hWnd; });
      if (it != hooks.end()) {
        CTkMenuPopupHook* hook = *it;
        hooks.erase(it);
        if (TkPendingMenuHook() == hook) TkPendingMenuHook() = nullptr;
        delete hook;
      }
    }
    result = ::CallNextHookEx(g_hCbtHook, nCode, wParam, lParam);
  } else {
    result = ::CallNextHookEx(g_hCbtHook, nCode, wParam, lParam);
  }
  --g_nCbtNesting;
  return result;
}

// The hook lives as long as the program: made for the thread that starts it.
struct CbtHookOwner {
  CbtHookOwner() { TkInstallMenuCbtHook(); }
  ~CbtHookOwner() { TkRemoveMenuCbtHook(); }
};
CbtHookOwner g_cbtHookOwner;

}  // namespace

void TkSetMenuShadowFactory(TkMenuShadowFactory factory) { g_shadowFactory = factory; }

std::vector<CTkMenuPopupHook*>& TkMenuPopupHooks() {
  static std::vector<CTkMenuPopupHook*> hooks;
  return hooks;
}

CTkMenuPopupHook* TkFindMenuPopupHook(HWND hPopup) {
  for (CTkMenuPopupHook* hook : TkMenuPopupHooks()) {
    if (hook->m_hWnd == hPopup) return hook;
  }
  return nullptr;
}

HMENU& TkPendingMenu() {
  static HMENU hMenu = nullptr;
  return hMenu;
}

CTkMenuPopupHook*& TkPendingMenuHook() {
  static CTkMenuPopupHook* hook = nullptr;
  return hook;
}

void TkCloseHookedMenus() {
  for (CTkMenuPopupHook* hook : TkMenuPopupHooks()) {
    if (hook->m_hWnd) ::PostMessageA(hook->m_hWnd, WM_CLOSE, 0, 0);
  }
}

BOOL TkInstallMenuCbtHook() {
  DWORD thread = ::GetCurrentThreadId();
  if (g_hCbtHook && g_dwCbtThread == thread) return TRUE;
  if (g_hCbtHook) return FALSE;  // another thread owns the menus
  g_hCbtHook = ::SetWindowsHookExA(WH_CBT, MenuCbtProc, nullptr, thread);
  g_dwCbtThread = g_hCbtHook ? thread : 0;
  return g_hCbtHook != nullptr;
}

void TkRemoveMenuCbtHook() {
  if (g_hCbtHook) ::UnhookWindowsHookEx(g_hCbtHook);
  g_hCbtHook = nullptr;
  g_dwCbtThread = 0;
}

BOOL TkIsMenuCbtHookInstalled() { return g_hCbtHook != nullptr; }

TkMenuPopupSettings TkGetMenuPopupSettings() {
  return {g_settings.nHooks, g_settings.bSavedAnimation, g_settings.bSavedDropShadow,
          g_settings.bXPOrLater};
}

// --- the hook ---

CTkMenuPopupHook::CTkMenuPopupHook() {
  if (g_settings.nHooks == 0) {
    // The toolkit draws menus at once: an animated menu would show its frame before its items.
    ::SystemParametersInfoA(SPI_GETMENUANIMATION, 0, &g_settings.bSavedAnimation, 0);
    ::SystemParametersInfoA(SPI_SETMENUANIMATION, 0, nullptr, 0);
    g_settings.bXPOrLater = !TkIsBeforeWindowsXP(*GetOSVersionInfo());
    ::SystemParametersInfoA(kSpiGetDropShadow, 0, &g_settings.bSavedDropShadow, 0);
    if (g_settings.bXPOrLater) {
      ::SystemParametersInfoA(kSpiSetDropShadow, 0,
                              reinterpret_cast<void*>(static_cast<INT_PTR>(ToolkitData().m_bMenuShadows)),
                              0);
    }
  }
  ++g_settings.nHooks;
  // A popup still open when the toolkit starts tracking another is closed first.
  TkMenuState().pfnCloseWatchedPopups = TkCloseHookedMenus;
  m_hMenu = TkPendingMenu();
  TkPendingMenu() = nullptr;
}

CTkMenuPopupHook::~CTkMenuPopupHook() {
  if (--g_settings.nHooks == 0) {
    if (g_settings.bXPOrLater) {
      ::SystemParametersInfoA(kSpiSetDropShadow, 0,
                              reinterpret_cast<void*>(static_cast<INT_PTR>(g_settings.bSavedDropShadow)),
                              0);
    }
    ::SystemParametersInfoA(SPI_SETMENUANIMATION, 0,
                            reinterpret_cast<void*>(static_cast<INT_PTR>(g_settings.bSavedAnimation)),
                            0);
  }
  DropShadow();
  if (m_pScreenDC) {
    HDC hdc = m_pScreenDC->Detach();
    if (hdc) ::ReleaseDC(nullptr, hdc);
    delete m_pScreenDC;
    m_pScreenDC = nullptr;
  }
  if (m_hWnd) HookWindow(static_cast<HWND>(nullptr));
}

void CTkMenuPopupHook::SetMenu(HMENU hMenu) {
  m_hMenu = hMenu;
  if (ToolkitData().m_bFlatLook) StripFrame();
}

BOOL CTkMenuPopupHook::OwnShadows() const {
  return ToolkitData().m_bMenuShadows && TkIsBeforeWindowsXP(*GetOSVersionInfo()) &&
         (!m_pOwner || m_pOwner->IsMenuLoop());
}

void CTkMenuPopupHook::DropShadow() {
  delete m_pShadow;
  m_pShadow = nullptr;
  m_bSkipShadow = 1;
  if (m_pBackground) {
    // The captured screen is only dropped, never painted back.
    m_pBackground->Discard();
    delete m_pBackground;
    m_pBackground = nullptr;
  }
}

void CTkMenuPopupHook::StripFrame() {
  if (!m_hWnd || !::IsWindow(m_hWnd)) return;
  LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
  LONG_PTR exStyle = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
  LONG_PTR newStyle = style & ~static_cast<LONG_PTR>(WS_BORDER | WS_DLGFRAME | WS_THICKFRAME);
  LONG_PTR newEx = exStyle & ~static_cast<LONG_PTR>(WS_EX_STATICEDGE | WS_EX_WINDOWEDGE |
                                                    WS_EX_DLGMODALFRAME);
  if (newStyle == style && newEx == exStyle) return;
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, newStyle);
  ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, newEx);
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CTkMenuPopupHook::CaptureBackground() {
  RECT rc;
  if (m_hWnd && ::GetWindowRect(m_hWnd, &rc)) CaptureBackground(rc);
}

void CTkMenuPopupHook::CaptureBackground(const RECT& rcWindow) {
  if (!m_pScreenDC) {
    m_pScreenDC = new CDC;
    m_pScreenDC->Attach(::GetDC(nullptr));
  }
  if (!m_pScreenDC->m_hDC) return;
  CRect rect(rcWindow);
  rect.right += kTkMenuShadowDepth;
  rect.bottom += kTkMenuShadowDepth;
  delete m_pBackground;
  m_pBackground = new CTkMemDC(m_pScreenDC, rect, static_cast<COLORREF>(-1));
  if (!m_pBackground->IsValid()) {
    delete m_pBackground;
    m_pBackground = nullptr;
    return;
  }
  ::BitBlt(m_pBackground->m_hDC, 0, 0, rect.Width(), rect.Height(), m_pScreenDC->m_hDC,
           rect.left, rect.top, SRCCOPY);
}

void CTkMenuPopupHook::OnWindowPosChanged(const WINDOWPOS* pPos) {
  if (ToolkitData().m_bFlatLook) StripFrame();
  if (!pPos || !OwnShadows() || m_pBackground) return;
  if ((pPos->flags & SWP_NOSIZE) && (pPos->flags & SWP_NOMOVE)) return;
  RECT now = {};
  ::GetWindowRect(m_hWnd, &now);
  RECT rc = now;
  if (!(pPos->flags & SWP_NOMOVE)) {
    ::OffsetRect(&rc, pPos->x - now.left, pPos->y - now.top);
  }
  if (!(pPos->flags & SWP_NOSIZE)) {
    rc.right = rc.left + pPos->cx;
    rc.bottom = rc.top + pPos->cy;
  }
  CaptureBackground(rc);
}

void CTkMenuPopupHook::OnShadowStep() {
  if (!OwnShadows()) return;
  if (m_bSkipShadow) {
    m_bSkipShadow = 0;
    return;
  }
  if (!TkIsBeforeWindowsXP(*GetOSVersionInfo())) return;
  if (!m_pShadow) {
    if (g_shadowFactory) m_pShadow = g_shadowFactory(m_hWnd);
  } else {
    m_pShadow->Show();
  }
}

void CTkMenuPopupHook::Remeasure() {
  if (!m_hMenu || !::IsMenu(m_hMenu)) return;
  int count = ::GetMenuItemCount(m_hMenu);
  for (int pos = 0; pos < count; ++pos) {
    char text[257] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 256;
    if (!::GetMenuItemInfoA(m_hMenu, static_cast<UINT>(pos), TRUE, &info)) continue;
    if (info.fType & MFT_SEPARATOR) info.fMask &= ~MIIM_STRING;
    info.dwTypeData = text;
    ::SetMenuItemInfoA(m_hMenu, static_cast<UINT>(pos), TRUE, &info);
  }
}

LRESULT CTkMenuPopupHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // A click on the selected chevron expands the popup where it is instead of closing it.
  // Wine's menus take the mouse in their own loop: these messages never reach the window
  // there, and the chevron item is chosen like any other item (the tracked menu then opens
  // the popup again expanded).
  const BOOL bMouse = message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
                      (message >= WM_TK_MN_FIRSTMOUSE && message <= WM_TK_MN_LASTMOUSE);
  if (bMouse && TkMenuState().bChevronSelected) {
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (::PtInRect(&client, pt) && !NoChevronClicks() && m_pOwner && m_pOwner->m_hWnd) {
      ::SendMessageA(m_pOwner->m_hWnd, WM_COMMAND, ID_TK_MENU_CHEVRON, 0);
      message = WM_NULL;
    }
  }
  HWND hWnd = m_hWnd;
  LRESULT result = CTkWndHook::WindowProc(message, wParam, lParam);
  // The window may have gone with the message (and this hook with it).
  if (!::IsWindow(hWnd) || TkFindMenuPopupHook(hWnd) != this || !m_hMenu) return result;

  const BOOL bFlat = ToolkitData().m_bFlatLook;
  switch (message) {
    case WM_WINDOWPOSCHANGED:
      OnWindowPosChanged(reinterpret_cast<const WINDOWPOS*>(lParam));
      break;
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_TK_MN_SIZEWINDOW:  // Wine never sends it; paints come as usual there
      if (ToolkitData().m_bMenuShadows && m_pBackground) ::PostMessageA(m_hWnd, WM_TK_MENU_SHADOW, 0, 0);
      break;
    case WM_TK_MENU_SHADOW:
      OnShadowStep();
      break;
    case WM_TK_NCUAHDRAWFRAME:  // Wine never sends it: the items keep their first measure
      if (bFlat && g_settings.bXPOrLater) ::PostMessageA(m_hWnd, WM_TK_MENU_REMEASURE, 0, 0);
      break;
    case WM_TK_MENU_REMEASURE:
      Remeasure();
      break;
    default:
      break;
  }
  return result;
}
