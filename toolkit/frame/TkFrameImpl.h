// CTkFrameImpl: what the toolkit's frame carries besides the framework's frame: the owner-drawn
// menus, the menu bar and the keyboard-shortcut manager, and the shortcut texts they put into
// popup menus.
#pragma once
#include <windows.h>

#include "framework/String.h"
#include "toolkit/TkMenuBar.h"

// Where the shortcut texts of commands come from: the frame's keyboard-shortcut manager. Until
// that manager joins the toolkit, a frame has none and its menus keep their texts.
class CTkShortcutSource {
 public:
  virtual ~CTkShortcutSource() = default;
  virtual BOOL IsActive() const = 0;
  // The keys of a command, several joined by ", "; empty when it has none.
  virtual CString GetShortcutText(UINT nCmdID) const = 0;
};

// Every plain text item of the popup shows the first key of its command behind a TAB, or no
// TAB part when its command has none.
void ApplyShortcutTexts(HMENU hPopup, const CTkShortcutSource& source);

class CTkFrameImpl {
 public:
  CTkFrameImpl() = default;
  virtual ~CTkFrameImpl() = default;
  CTkFrameImpl(const CTkFrameImpl&) = delete;
  CTkFrameImpl& operator=(const CTkFrameImpl&) = delete;

  // The owner-drawn menus (cool menu) join here with the toolkit's menus.
  CTkMenuBar m_menuBar;
  // Not owned; the shortcut manager's place until it joins the toolkit.
  CTkShortcutSource* m_pShortcuts = nullptr;

  // Set by the first installation of image menus, for the whole process.
  static BOOL s_bCoolMenusInstalled;
};
