// CTkStatusBar: the toolkit's status bar. For now the framework's, plus setting a pane's width.
#pragma once
#include "framework/bars/StatusBar.h"

class CTkStatusBar : public CStatusBar {
 public:
  void SetPaneWidth(int nIndex, int cxWidth) {
    UINT id, style;
    int width;
    GetPaneInfo(nIndex, id, style, width);
    SetPaneInfo(nIndex, id, style, cxWidth);
  }
};
