// CTkMenuBar: the toolkit's menu bar in the rebar. Not built yet: the frame keeps its normal
// window menu, loaded from the same id, and the menu bar's band is left out until then.
#pragma once
#include <windows.h>

#include "framework/AfxResource.h"

class CTkMenuBar {
 public:
  // TRUE when the menu exists in the language module (the frame shows it as its window menu).
  BOOL LoadMenuBar(UINT nIDMenu) {
    return ::FindResourceA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDMenu),
                           MAKEINTRESOURCEA(4)) != nullptr;  // RT_MENU
  }
};
