// CTkColorDialog: the toolkit's colour chooser, a sheet with a standard-colour page and a custom
// colour page, beside which it shows the new colour over the current one and, optionally, the
// new colour's hexadecimal value.
#pragma once
#include "framework/controls/Edit.h"
#include "framework/dialogs/PropertySheet.h"
#include "framework/gdi/Rect.h"

constexpr DWORD TKCD_SHOWHEX = 0x20;  // the hexadecimal value of the new colour
constexpr DWORD TKCD_FRAMED = 0x40;   // 3-D frames around the swatch
// From a page's control to the page, and from the dialog to its pages: wParam the colour.
constexpr UINT WM_TK_COLORCHANGED = 2048;
// A tracker or hexagon control adds the static control's notify style to itself.
constexpr UINT WM_TK_ADDNOTIFY = 2050;
constexpr UINT IDC_TK_COLORHEX = 101;

// "Hex: RRGGBB", two upper-case digits a component.
CString FormatColorHex(COLORREF color);

class CTkColorPageStandard;
class CTkColorPageCustom;

class CTkColorDialog : public CPropertySheet {
  DECLARE_DYNAMIC(CTkColorDialog)
 public:
  CTkColorDialog(COLORREF clrNew, COLORREF clrCurrent, DWORD dwStyle = 0, CWnd* pParent = nullptr);
  ~CTkColorDialog() override;

  COLORREF GetColor() const { return m_clrNew; }
  COLORREF GetCurrentColor() const { return m_clrCurrent; }
  DWORD GetStyleFlags() const { return m_dwStyle; }
  void SetNewColor(COLORREF color, BOOL bBroadcast);
  void SetCurrentColor(COLORREF color);
  CPropertyPage* GetPage(int nIndex) const { return CPropertySheet::GetPage(nIndex); }
  CEdit& GetHexField() { return m_hex; }
  const CRect& GetNewRect() const { return m_rcNew; }
  const CRect& GetCurrentRect() const { return m_rcCurrent; }
  BOOL CopyToClipboard(LPCSTR lpszText);
  // Ends the sheet as OK does (a double click or Enter on a page's colour control).
  void EndWithOK();

 protected:
  // The sheet is taken over once the system has made it: its creation and first set-up run here.
  void PreSubclassWindow() override;
  BOOL CreateHexField();
  void InitSheet();
  void ComputeSwatch();
  void OnPaint();
  DECLARE_MESSAGE_MAP()

  DWORD m_dwStyle;
  CEdit m_hex;
  CRect m_rcNew, m_rcCurrent;
  COLORREF m_clrNew, m_clrCurrent;
  CTkColorPageStandard* m_pStandard;
  CTkColorPageCustom* m_pCustom;
};
