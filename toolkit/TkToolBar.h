// CTkToolBar: the toolkit's toolbar. For now the framework's, plus drop-down buttons that open
// a menu below themselves.
#pragma once
#include "framework/bars/ToolBar.h"

class CTkToolBar : public CToolBar {
  DECLARE_DYNAMIC(CTkToolBar)
 public:
  CTkToolBar() = default;
  ~CTkToolBar() override = default;

  // The button of nID opens the first popup of menu nMenuID; with bArrow a separate arrow
  // beside the button opens it and the button itself keeps its command. FALSE without the
  // button.
  BOOL AddDropDownButton(UINT nID, UINT nMenuID, BOOL bArrow);
  UINT GetDropDownMenu(UINT nID) const;

 protected:
  void OnDropDown(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

  struct DropDown {
    UINT nID;
    UINT nMenuID;
  };
  DropDown m_dropDowns[4] = {};
  int m_nDropDowns = 0;
};
