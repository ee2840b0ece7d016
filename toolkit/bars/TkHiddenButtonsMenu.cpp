#include "toolkit/bars/TkHiddenButtonsMenu.h"

#include "framework/app/AfxResource.h"
#include "framework/core/String.h"
#include "toolkit/bars/TkToolBar.h"

namespace {

TkHiddenMenuTrackFn g_track = nullptr;

UINT TrackMenu(HMENU hMenu, const RECT& rcChevron, HWND hwndOwner) {
  return static_cast<UINT>(::TrackPopupMenu(
      hMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTBUTTON,
      rcChevron.left, rcChevron.bottom, 0, hwndOwner, nullptr));
}

// A button without a text of its own is named by its command's tip (the part after the line
// break of its string), else by its prompt.
CString ItemText(CTkToolBar* bar, int index, UINT command) {
  CString text = bar->GetButtonText(index);
  if (!text.IsEmpty()) return text;
  CString full;
  if (!full.LoadString(command)) return text;
  int lineBreak = full.Find('\n');
  return lineBreak >= 0 ? full.Mid(lineBreak + 1) : full;
}

// The window whose commands the toolbar's buttons are: past the rebar to the frame.
HWND CommandTarget(CTkToolBar* bar) {
  CWnd* owner = bar->GetOwner();
  return owner ? owner->m_hWnd : ::GetParent(bar->m_hWnd);
}

}  // namespace

void SetHiddenButtonsMenuTracker(TkHiddenMenuTrackFn track) { g_track = track; }

BOOL TkHiddenButtonsMenuTrackerSet() { return g_track != nullptr; }

HMENU TkBuildHiddenButtonsMenu(CTkToolBar* pToolBar) {
  if (!pToolBar || !pToolBar->m_hWnd || pToolBar->GetHiddenButtons().empty()) return nullptr;
  HMENU menu = ::CreatePopupMenu();
  bool separatorDue = false;
  for (const auto& hidden : pToolBar->GetHiddenButtons()) {
    TBBUTTON button = {};
    if (!pToolBar->SendMessage(TB_GETBUTTON, hidden.first, reinterpret_cast<LPARAM>(&button)))
      continue;
    // Groups keep their separators, but none leads, ends or doubles.
    if (button.fsStyle & TBSTYLE_SEP) {
      if (button.idCommand == 0) separatorDue = ::GetMenuItemCount(menu) > 0;
      continue;
    }
    if (separatorDue) ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    separatorDue = false;
    UINT command = static_cast<UINT>(button.idCommand);
    UINT flags = MF_STRING | ((button.fsState & TBSTATE_ENABLED) ? 0 : MF_GRAYED) |
                 ((button.fsState & TBSTATE_CHECKED) ? MF_CHECKED : 0);
    ::AppendMenuA(menu, flags, command, ItemText(pToolBar, hidden.first, command));
  }
  if (::GetMenuItemCount(menu) == 0) {
    ::DestroyMenu(menu);
    return nullptr;
  }
  return menu;
}

UINT TkTrackHiddenButtonsMenu(CTkToolBar* pToolBar, const RECT& rcChevron) {
  HMENU menu = TkBuildHiddenButtonsMenu(pToolBar);
  if (!menu) return 0;
  HWND target = CommandTarget(pToolBar);
  UINT command = (g_track ? g_track : TrackMenu)(menu, rcChevron, target);
  ::DestroyMenu(menu);
  // Posted, so that the command runs once the menu and the chevron's press are over.
  if (command) ::PostMessageA(target, WM_COMMAND, command, 0);
  return command;
}
