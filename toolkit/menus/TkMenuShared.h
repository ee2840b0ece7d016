// What the menu bar and the owner-drawn menus share for the whole process: the bar whose popup is
// open, where its button is, and the flags that tell the menus how they were opened. One set of
// values because only one popup menu can be tracked at a time.
#pragma once
#include <windows.h>

class CTkMenuBar;

struct TkMenuShared {
  // --- Set by the menu bar, read by the owner-drawn menus ---
  // Mnemonics are underlined (keyboard mode, or the system always shows them).
  BOOL bShowMnemonics = FALSE;
  // The bar whose popup is open, null when none.
  CTkMenuBar* pTrackingBar = nullptr;
  // The message-filter hook that watches input while a bar's popup is open, and how many
  // trackings share it.
  HHOOK hMsgFilterHook = nullptr;
  int nMsgFilterNesting = 0;
  // Set when the frame received the menus' expand command, cleared by any other command.
  BOOL bOpenExpanded = FALSE;
  // Clear while a menu bar tracks one of its popups.
  BOOL bMenuBarTracking = TRUE;
  // The tracked button's rectangle as the toolbar gives it, and the bar's dock side (its
  // CBRS_ALIGN_* bits; 0 when no bar popup is opening), so the popup can join its button.
  RECT rcTrackedButton = {0, 0, 0, 0};
  DWORD dwTrackedDockSide = 0;

  // --- Set by CTkTrackedMenu: a toolkit popup is being tracked (rarely used items may hide) ---
  BOOL bToolkitTracking = FALSE;

  // --- Owner-drawn menus: set by them, the menu bar raises the first two ---
  // Hidden items are shown: the popup was expanded by the chevron (the menu bar copies its
  // open-expanded flag here before it opens a popup). Cleared when the menu closes.
  BOOL bExpanded = FALSE;
  // How many coming WM_INITMENUPOPUP the owner-drawn menus leave alone (a system menu the menu
  // bar tracks is not theirs to convert).
  int nSkipInitMenuPopup = 0;
  // The chevron item of the open popup is drawn selected: a click on the popup means it.
  BOOL bChevronSelected = FALSE;

  // --- Menu bar ---
  // How many toolkit popups are being tracked; bToolkitTracking stays set until the outermost
  // one ends (a bar's menu and its open popup are tracked at once).
  int nToolkitTrackingNesting = 0;
  // Set by the owner-drawn menus: closes every popup-menu window they still watch, so that a
  // new tracking starts without a stale one.
  void (*pfnCloseWatchedPopups)() = nullptr;
};

// The one set of shared values.
TkMenuShared& TkMenuState();
