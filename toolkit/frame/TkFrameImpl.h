// CTkFrameImpl: what the toolkit's frame carries besides the framework's frame: the owner-drawn
// menus, the menu bar and the keyboard-shortcut manager, and the shortcut texts they put into
// popup menus.
#pragma once
#include <windows.h>

#include "framework/core/String.h"
#include "toolkit/TkMenuBar.h"
#include "toolkit/menus/TkCoolMenu.h"
#include "toolkit/services/TkAccelManager.h"

// Every plain text item of the popup shows the first key of its command behind a TAB, or no
// TAB part when its command has none.
// An uninitialised manager leaves the texts as they are.
void ApplyShortcutTexts(HMENU hPopup, const CTkAccelManager& shortcuts);

class CTkFrameImpl {
 public:
  CTkFrameImpl() = default;
  virtual ~CTkFrameImpl() = default;
  CTkFrameImpl(const CTkFrameImpl&) = delete;
  CTkFrameImpl& operator=(const CTkFrameImpl&) = delete;

  // Made in this order: the owner-drawn menus, then the menu bar, whose popups they draw.
  CTkCoolMenu m_coolMenu;
  CTkMenuBar m_menuBar;
  // Not owned: the keyboard-shortcut manager whose keys the popups show; none, none shown.
  CTkAccelManager* m_pShortcuts = nullptr;

  // Set by the first installation of image menus, for the whole process.
  static BOOL s_bCoolMenusInstalled;
};
