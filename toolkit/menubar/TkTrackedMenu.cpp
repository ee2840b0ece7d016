#include "toolkit/menubar/TkTrackedMenu.h"

#include "framework/threads/WinThread.h"
#include "toolkit/menus/TkMenuShared.h"

IMPLEMENT_DYNAMIC(CTkTrackedMenu, CMenu)

namespace {

// Messages handled before a popup opens: enough for the paints and posts that are waiting, not
// so many that a window posting to itself without end keeps the popup from opening.
constexpr int kMaxPendingMessages = 64;

void EnterToolkitTracking() {
  TkMenuShared& state = TkMenuState();
  ++state.nToolkitTrackingNesting;
  state.bToolkitTracking = TRUE;
}

void LeaveToolkitTracking() {
  TkMenuShared& state = TkMenuState();
  if (state.nToolkitTrackingNesting > 0) --state.nToolkitTrackingNesting;
  if (state.nToolkitTrackingNesting == 0) state.bToolkitTracking = FALSE;
}

}  // namespace

CTkTrackedMenu::CTkTrackedMenu() { EnterToolkitTracking(); }

CTkTrackedMenu::CTkTrackedMenu(HMENU hMenu) : m_bView(TRUE) {
  m_hMenu = hMenu;
  EnterToolkitTracking();
}

CTkTrackedMenu::~CTkTrackedMenu() {
  if (m_bView) m_hMenu = nullptr;
  LeaveToolkitTracking();
}

UINT CTkTrackedMenu::TrackOnce(UINT nFlags, int x, int y, HWND hOwner, LPTPMPARAMS lpParams) {
  return static_cast<UINT>(::TrackPopupMenuEx(m_hMenu, nFlags | TPM_RETURNCMD, x, y, hOwner,
                                              lpParams));
}

UINT CTkTrackedMenu::TrackPopupMenu(UINT nFlags, int x, int y, HWND hOwner, LPTPMPARAMS lpParams,
                                    BOOL bPost) {
  TkMenuShared& state = TkMenuState();
  if (state.pfnCloseWatchedPopups) state.pfnCloseWatchedPopups();
  // What is waiting is done first (a popup closed a moment ago still has to go away).
  MSG msg;
  for (int i = 0; i < kMaxPendingMessages && ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); ++i) {
    if (msg.message == WM_QUIT || !AfxPumpMessage()) break;
  }
  DWORD dockSide = state.dwTrackedDockSide;
  UINT command = TrackOnce(nFlags, x, y, hOwner, lpParams);
  if (command == kTkMenuChevronCommand) {
    // The owner shows every item from now on; the same popup opens again, joined to its button.
    state.dwTrackedDockSide = dockSide;
    ::SendMessageA(hOwner, WM_COMMAND, kTkMenuChevronCommand, 0);
    return TrackPopupMenu(nFlags, x, y, hOwner, lpParams, bPost);
  }
  if (bPost && command != 0) ::PostMessageA(hOwner, WM_COMMAND, command, 0);
  return command;
}
