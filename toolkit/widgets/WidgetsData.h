// What the widgets read of the toolkit's global data that the global data does not offer yet:
// the resource module, the normal font, the split cursors and the small button width. Each is a
// plain function so that it can move into the global data unchanged.
#pragma once
#include <windows.h>

#include "framework/String.h"

// The module the toolkit's cursors, bitmaps, strings and templates come from: the language
// module the application made the resource handle.
HINSTANCE TkWidgetsResourceModule();

// A string of the toolkit's resource module; empty when it is missing.
CString TkWidgetsLoadString(UINT id);

// Windows 2000 or later (platform NT, major version 5 or more): the system's dialogs take their
// newer, longer records there.
bool TkWidgetsIsNT5OrLater();

// The font of the toolkit's controls (never freed by its users).
HFONT TkWidgetsNormalFont();

// The cursors over a bar dragged up and down (row bars) and over one dragged sideways (column
// bars); the system's sizing cursors when the module has none.
HCURSOR TkWidgetsVSplitCursor();
HCURSOR TkWidgetsHSplitCursor();

// Width of the toolkit's small buttons, such as the browse edit's.
constexpr int kTkSmallButtonWidth = 18;

// Makes the toolkit's resource module the resource handle while it lives.
class CTkWidgetsResourceScope {
 public:
  CTkWidgetsResourceScope();
  ~CTkWidgetsResourceScope();
  CTkWidgetsResourceScope(const CTkWidgetsResourceScope&) = delete;
  CTkWidgetsResourceScope& operator=(const CTkWidgetsResourceScope&) = delete;

 private:
  HINSTANCE m_hSaved;
};
