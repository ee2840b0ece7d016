// The plain menu of a toolbar's hidden buttons that its chevron opens: one item per hidden
// button (its text, else the tip of its command), disabled where the button is. The chosen
// command goes to the toolbar's owner as if the button had been pressed.
#pragma once
#include <windows.h>

class CTkToolBar;

// Builds the menu of the buttons pToolBar hides behind its chevron; null when none is hidden.
// The caller destroys it.
HMENU TkBuildHiddenButtonsMenu(CTkToolBar* pToolBar);
// Opens that menu below the chevron (screen rectangle) and posts the chosen command to the
// toolbar's owner. Returns the command, 0 when nothing was chosen.
UINT TkTrackHiddenButtonsMenu(CTkToolBar* pToolBar, const RECT& rcChevron);

// Seam: how the menu is tracked (returns the chosen command or 0); null for TrackPopupMenu.
using TkHiddenMenuTrackFn = UINT (*)(HMENU hMenu, const RECT& rcChevron, HWND hwndOwner);
// With a tracker set the chevron opens this menu instead of its popup window.
void SetHiddenButtonsMenuTracker(TkHiddenMenuTrackFn track);
BOOL TkHiddenButtonsMenuTrackerSet();
