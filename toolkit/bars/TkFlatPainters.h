// The flat look's painters: flat, single-colour frames in the selection colours instead of 3-D
// edges, for combo boxes and for toolbar buttons and separators. Only asked while the toolkit's
// flat-look flag is on (see GetCurrentTheme).
#pragma once
#include <windows.h>

class CWnd;

// Draws the flat look's drop arrow (5 pixels wide, 3 high) centred in the rectangle in the DC's
// text colour on its background colour.
void DrawDropArrow(HDC hdc, const RECT& rect);

// The room between the row a wrapping separator ends and the next row, across the toolbar's
// client area (the control puts the separator's own item at the end of its row).
RECT TkWrapGap(HWND hToolBar, int nIndex);

class CTkFlatComboPainter {
 public:
  // The whole combo box: a ring in the face colour, the field's frame, the drop button.
  void Paint(CWnd* pCombo, HDC hdc, BOOL bHot);
};

class CTkFlatToolBarPainter {
 public:
  virtual ~CTkFlatToolBarPainter() = default;
  virtual void PaintBackground(HDC hdc, CWnd* pToolBar, int nIndex);
  virtual void PaintButton(HDC hdc, CWnd* pToolBar, int nIndex);
  virtual void PaintSeparator(HDC hdc, CWnd* pToolBar, int nIndex);
  // The shadow beside and below a button whose drop-down is open, while menus cast shadows.
  virtual void PaintDropShadow(HDC hdc, CWnd* pToolBar, int nIndex);
  // The button's rectangle with the room of its shadow.
  virtual void InvalidateButton(CWnd* pToolBar, int nIndex);

  // The button whose drop-down menu is open (-1: none), told by the toolbar.
  void SetDroppedButton(HWND hToolBar, int nIndex) {
    m_hDroppedBar = hToolBar;
    m_nDropped = nIndex;
  }
  // The background of a toolbar: its own colour, the face colour in a rebar.
  static COLORREF BackgroundOf(CWnd* pToolBar);

 private:
  HWND m_hDroppedBar = nullptr;
  int m_nDropped = -1;
};
