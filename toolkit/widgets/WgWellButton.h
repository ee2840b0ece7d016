// CWgWellButton: a button showing a colour swatch and a drop-down arrow. A click drops down a grid
// of colours; the grid's Other button (with the other option) opens the standard colour dialog.
// The chosen colour goes to the parent as WM_WG_COLORCHOSEN with the button's own control id.
#pragma once
#include <commdlg.h>

#include "toolkit/widgets/WgColorWell.h"
#include "toolkit/widgets/WgOwnerDrawButton.h"

class CDataExchange;

class CWgWellButton : public CWgOwnerDrawButton {
  DECLARE_DYNAMIC(CWgWellButton)
 public:
  CWgWellButton();
  ~CWgWellButton() override;

  void SetColor(COLORREF color);
  COLORREF GetColor() const { return GetCurrentColor(); }
  // With the option on, the drop-down offers the custom cell and the Other button.
  void SetOption(BOOL bOther) { m_bOther = bOther; }
  BOOL GetOption() const { return m_bOther; }
  void SetColumns(int nColumns) { m_nColumns = nColumns; }
  CWgPopupColorWell& GetDropDown() { return m_dropDown; }

  void OnClickAction() override;
  void DrawContents(HDC hdc, const CRect& rect, UINT itemState) override;
  void PrepareDraw(HDC hdc) override;
  void RestoreDraw(HDC hdc) override;
  virtual DWORD GetColorDialogFlags() const { return CC_RGBINIT | CC_FULLOPEN; }
  virtual COLORREF GetCurrentColor() const { return m_color; }

  // What the standard colour dialog returns; a test puts its own answer here.
  using ColorDialogProc = BOOL (*)(CWnd* pOwner, COLORREF& color, DWORD flags);
  static void SetColorDialogProc(ColorDialogProc proc);

 protected:
  LRESULT OnColorChosen(WPARAM wParam, LPARAM lParam);
  LRESULT OnOtherColor(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  COLORREF m_color = RGB(0, 0, 0);
  HPALETTE m_hPalette = nullptr;  // one entry: the colour, for palette displays
  HPALETTE m_hOldPalette = nullptr;
  CWgPopupColorWell m_dropDown;
  BOOL m_bOther = FALSE;
  int m_nDisplay = 1;
  int m_nColumns = 3;
};

// Loading sets the button's colour from the variable, saving reads it back.
void DDX_ColorWell(CDataExchange* pDX, int nIDC, COLORREF& color);
