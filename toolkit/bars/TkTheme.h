// The look painters: with the toolkit's flat look the flat theme's painters draw combo boxes and
// toolbar buttons; with the plain look (the plain theme) the controls keep their own drawing.
#pragma once
#include <windows.h>

class CTkFlatComboPainter;
class CTkFlatToolBarPainter;

class Theme {
 public:
  virtual ~Theme() = default;
  // Null when the controls draw themselves.
  virtual CTkFlatComboPainter* GetComboPainter() = 0;
  virtual CTkFlatToolBarPainter* GetToolBarPainter() = 0;
  // Told while a bar is being dragged (the flat painter draws its bars for it).
  virtual void SetDragRunning(BOOL bRunning) = 0;
};

class PlainThemeClass : public Theme {
 public:
  CTkFlatComboPainter* GetComboPainter() override { return nullptr; }
  CTkFlatToolBarPainter* GetToolBarPainter() override { return nullptr; }
  void SetDragRunning(BOOL) override {}
};

class FlatThemeClass : public Theme {
 public:
  FlatThemeClass();
  ~FlatThemeClass() override;
  CTkFlatComboPainter* GetComboPainter() override { return m_pCombo; }
  CTkFlatToolBarPainter* GetToolBarPainter() override { return m_pToolBar; }
  void SetDragRunning(BOOL bRunning) override { m_bDragRunning = bRunning; }
  BOOL IsDragRunning() const { return m_bDragRunning; }
  // With no hot tracking nothing is ever drawn hot.
  void SetNoHotTracking(BOOL bOn) { m_bNoHotTracking = bOn; }
  BOOL GetNoHotTracking() const { return m_bNoHotTracking; }

 private:
  CTkFlatComboPainter* m_pCombo;
  CTkFlatToolBarPainter* m_pToolBar;
  BOOL m_bNoHotTracking = FALSE;
  BOOL m_bDragRunning = FALSE;
};

PlainThemeClass& PlainTheme();
FlatThemeClass& FlatTheme();
// The flat theme while the toolkit's flat-look flag is set, else the plain one.
Theme& GetCurrentTheme();
