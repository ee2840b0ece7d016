// The toolkit's global data, as far as the program uses it yet: the flat-look flag and the bar
// font. The toolkit's full data object replaces this.
#pragma once
#include <windows.h>

class CTkToolkitData {
 public:
  // Flat (office-like) painting of bars and combos; the main frame clears it for the normal
  // three-dimensional look.
  BOOL m_bFlatLook = TRUE;
  // The font of bar texts and controls on bars (the system's GUI font, never freed).
  HFONT GetBarFont() const { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }
};

CTkToolkitData& ToolkitData();
