#include "toolkit/bars/TkTheme.h"

#include "toolkit/bars/TkFlatPainters.h"
#include "toolkit/core/ToolkitData.h"

FlatThemeClass::FlatThemeClass()
    : m_pCombo(new CTkFlatComboPainter), m_pToolBar(new CTkFlatToolBarPainter) {}

FlatThemeClass::~FlatThemeClass() {
  delete m_pCombo;
  delete m_pToolBar;
}

PlainThemeClass& PlainTheme() {
  static PlainThemeClass theme;
  return theme;
}

FlatThemeClass& FlatTheme() {
  static FlatThemeClass theme;
  return theme;
}

Theme& GetCurrentTheme() {
  if (ToolkitData().m_bFlatLook) return FlatTheme();
  return PlainTheme();
}
