// The owner-drawn menus' hook on the frame: it measures and draws the items, converts each popup
// as it opens and back when the menu closes, expands a popup on the chevron command and keeps
// the recently used commands.
#include "framework/bars/BarStyles.h"
#include "framework/wnd/Wnd.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/menus/TkCoolMenu.h"
#include "toolkit/menus/TkMenuPopupHook.h"
#include "toolkit/menus/TkMenuShared.h"

BOOL CTkCoolMenu::Install(CWnd* pFrame) { return Install(pFrame ? pFrame->m_hWnd : nullptr); }

BOOL CTkCoolMenu::Install(HWND hFrame) {
  if (!hFrame || !::IsWindow(hFrame)) return FALSE;
  // Menu windows are caught as they are made; the hook normally exists from program start.
  TkInstallMenuCbtHook();
  if (m_hWnd) HookWindow(static_cast<HWND>(nullptr));
  return HookWindow(hFrame);
}

BOOL CTkCoolMenu::MenuBarTracks() {
  const TkMenuShared& state = TkMenuState();
  return state.pTrackingBar != nullptr || !state.bMenuBarTracking;
}

void CTkCoolMenu::UpdateBoxSize() {
  s_sizeBoxMargin = ToolkitData().m_bFlatLook ? CSize(4, 3) : CSize(1, 1);
  s_sizeDlgFrame = CSize(::GetSystemMetrics(SM_CXDLGFRAME), ::GetSystemMetrics(SM_CYDLGFRAME));
  m_sizeBox = CSize(m_sizeImage.cx + 2 * s_sizeBoxMargin.cx,
                    m_sizeImage.cy + 2 * s_sizeBoxMargin.cy);
}

void CTkCoolMenu::SetExpandTimer(UINT nElapse, UINT_PTR nIDEvent) {
  m_nTimerElapse = nElapse;
  m_nTimerId = nIDEvent;
}

void CTkCoolMenu::StartExpandTimer(BOOL bStart) {
  if (bStart && !m_bTimerRunning && m_hWnd) {
    ::SetTimer(m_hWnd, m_nTimerId, m_nTimerElapse, nullptr);
    m_bTimerRunning = 1;
  } else if (!bStart && m_bTimerRunning) {
    if (m_hWnd) ::KillTimer(m_hWnd, m_nTimerId);
    m_bTimerRunning = 0;
  }
}

LRESULT CTkCoolMenu::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  TkMenuShared& state = TkMenuState();
  switch (message) {
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      DestroyDisabledImages();
      break;
    case WM_DRAWITEM:
      if (DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam))) return TRUE;
      break;
    case WM_MEASUREITEM:
      if (MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam))) return TRUE;
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == ID_TK_MENU_CHEVRON) {
        state.bExpanded = TRUE;
        state.bChevronSelected = FALSE;
        ExpandOpenPopup();
      } else {
        state.bExpanded = FALSE;
        RecordCommand(LOWORD(wParam));
      }
      break;
    case WM_INITMENUPOPUP:
      if (state.nSkipInitMenuPopup > 0) {
        --state.nSkipInitMenuPopup;
        break;
      }
      CTkWndHook::WindowProc(message, wParam, lParam);
      OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
      break;
    case WM_MENUCHAR: {
      LRESULT answer = OnMenuChar(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
      if (answer) return answer;
      break;
    }
    case WM_ENTERMENULOOP:
      m_bMenuLoop = static_cast<BOOL>(wParam);
      break;
    case WM_TIMER:
      OnTimer(wParam);
      break;
    case WM_DESTROY:
      // The frame may close with a menu still open: every popup gets its items back and every
      // record is freed now, while the menus still exist.
      StartExpandTimer(FALSE);
      ReleaseAll();
      state.bExpanded = FALSE;
      break;
    default:
      break;
  }
  return CTkWndHook::WindowProc(message, wParam, lParam);
}

BOOL TkMenusGrowInPlace() {
  // Wine lays a popup out only when it opens it: items put back into an open popup get no
  // place in it.
  static const BOOL bGrow =
      ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr;
  return bGrow;
}

void CTkCoolMenu::ExpandOpenPopup() {
  std::vector<CTkMenuPopupHook*>& hooks = TkMenuPopupHooks();
  if (hooks.empty()) return;
  CTkMenuPopupHook* hook = hooks.back();
  if (!hook->m_hMenu) return;
  if (!TkMenusGrowInPlace() && ChooseSelectedChevron(hook)) return;
  if (!RestoreHidden(hook->m_hMenu)) return;
  HWND hPopup = hook->m_hWnd;
  if (!hPopup || !::IsWindow(hPopup)) return;
  // Shown again from scratch, so that the system sizes it for the items that came back and the
  // shadow is made for the new size.
  ::ShowWindow(hPopup, SW_HIDE);
  hook->DropShadow();
  ::InvalidateRect(hPopup, nullptr, TRUE);
  if (hook->OwnShadows()) hook->CaptureBackground();
  hook->m_bSkipShadow = 0;
  ::ShowWindow(hPopup, SW_SHOWNA);
  ::RedrawWindow(hPopup, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_FRAME);
}

BOOL CTkCoolMenu::ChooseSelectedChevron(CTkMenuPopupHook* hook) {
  // Where the popup cannot grow in place, the selected chevron is chosen as the user would
  // choose it (Enter): the toolkit's tracked menu then opens the popup again with every item.
  // Only a menu bar's popup is tracked that way.
  if (!MenuBarTracks() || !hook->m_hWnd) return FALSE;
  int pos = FindItemPos(hook->m_hMenu, ID_TK_MENU_CHEVRON);
  if (pos < 0 || !(::GetMenuState(hook->m_hMenu, static_cast<UINT>(pos), MF_BYPOSITION) & MF_HILITE))
    return FALSE;
  ::PostMessageA(hook->m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
  return TRUE;
}

void CTkCoolMenu::OnTimer(UINT_PTR nIDEvent) {
  if (m_hWnd) ::KillTimer(m_hWnd, m_nTimerId);
  m_bTimerRunning = 0;
  if (nIDEvent == m_nTimerId && MenuBarTracks() && m_hWnd) {
    ::SendMessageA(m_hWnd, WM_COMMAND, ID_TK_MENU_CHEVRON, 0);
  }
}

BOOL CTkCoolMenu::IsSystemMenu(HMENU hMenu) {
  if (!hMenu || !m_hWnd) return FALSE;
  if (::GetSystemMenu(m_hWnd, FALSE) == hMenu) return TRUE;
  // The active frame of an MDI frame is its active child.
  HWND hClient = ::FindWindowExA(m_hWnd, nullptr, "MDIClient", nullptr);
  HWND hActive = hClient ? reinterpret_cast<HWND>(::SendMessageA(hClient, WM_MDIGETACTIVE, 0, 0))
                         : nullptr;
  return hActive && ::GetSystemMenu(hActive, FALSE) == hMenu;
}

void CTkCoolMenu::OnInitMenuPopup(HMENU hMenu, UINT, BOOL bSysMenu) {
  TkMenuShared& state = TkMenuState();
  state.bChevronSelected = FALSE;
  UpdateBoxSize();
  if (!bSysMenu) bSysMenu = IsSystemMenu(hMenu);
  if (bSysMenu || !hMenu) return;

  // The menu window and its menu meet here, whichever came first.
  CTkMenuPopupHook*& pending = TkPendingMenuHook();
  if (pending && !::IsWindow(pending->m_hWnd)) pending = nullptr;
  if (!pending) {
    TkPendingMenu() = hMenu;
  } else {
    pending->SetMenu(hMenu);
    pending = nullptr;
  }

  ConvertMenu(hMenu, TRUE);
  if (m_bIntelligent && IsToolkitTracking()) HideRarelyUsed(hMenu);

  // A popup of the menu bar joins its button on the side the bar is docked.
  DWORD side = state.dwTrackedDockSide & CBRS_ALIGN_ANY;
  if (side) {
    int count = ::GetMenuItemCount(hMenu);
    for (int pos = 0; pos < count; ++pos) {
      MenuItemData* pData = ItemRecord(hMenu, pos);
      if (!pData) continue;
      if (side & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) {
        pData->dwDockSide = side & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
      } else if ((side & CBRS_ALIGN_TOP) && pos == 0) {
        pData->dwDockSide = CBRS_ALIGN_TOP;
      } else if ((side & CBRS_ALIGN_BOTTOM) && pos == count - 1) {
        pData->dwDockSide = CBRS_ALIGN_BOTTOM;
      }
    }
    state.dwTrackedDockSide = 0;
  }
}

void CTkCoolMenu::OnMenuSelect(UINT, UINT nFlags, HMENU hMenu) {
  if (nFlags != 0xFFFF || hMenu) return;
  // The menu closed: every popup gets its former items back.
  StartExpandTimer(FALSE);
  while (!m_menus.empty()) {
    HMENU hPopup = m_menus.front();
    if (::IsMenu(hPopup)) {
      RestoreHidden(hPopup);
      ConvertMenu(hPopup, FALSE);
    }
    // Whatever is left of the popup's records (the popup was destroyed while open) goes too.
    ReleaseRecordsOf(hPopup);
  }
  TkMenuState().bExpanded = FALSE;
  TkMenuState().bChevronSelected = FALSE;
  // A popup announced without a window of its own must not be given to the next menu's window.
  TkPendingMenu() = nullptr;
}
