// CTkAccelPropertySheet: the resizable sheet in which the user browses a frame's commands by menu
// category, sees their shortcuts, and assigns, removes or resets them.
#pragma once
#include "toolkit/dialogs/TkAccelPropertyPage.h"
#include "toolkit/layout/TkResizePropertySheet.h"

class CTkAccelPropertySheet : public CTkResizePropertySheet {
  DECLARE_DYNAMIC(CTkAccelPropertySheet)
 public:
  CTkAccelPropertySheet(CTkAccelManager* pManager, CWnd* pParentWnd, BOOL bShowButton);
  ~CTkAccelPropertySheet() override;

  BOOL OnInitDialog() override;
  // Called by page 1's extra button; nothing here.
  virtual void OnPage1Button(CTkAccelManager* pManager);

  void OnDestroy();
  void OnSize(UINT nType, int cx, int cy);

  HICON m_hSmallIcon = nullptr;
  CTkAccelPropertyPage1 m_page1;
  CTkAccelPropertyPage2 m_page2;
  CFont m_titleFont;
  CTkAccelManager* m_pManager;

 protected:
  DECLARE_MESSAGE_MAP()
};

// What the manager's customisation does: runs the sheet modally on the manager's table; on OK a
// table that is not the resource's is applied, otherwise the records the table had before the
// sheet opened are put back. TRUE when the user confirmed.
BOOL TkCustomizeAccelerators(CTkAccelManager* pManager, CWnd* pParentWnd);
