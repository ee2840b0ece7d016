// The two pages of the shortcut sheet: the commands with their shortcuts by menu category
// (read-only), and assigning, removing and resetting shortcuts. Both work directly on the
// accelerator manager's table; the sheet puts the old table back when it is cancelled.
#pragma once
#include "framework/controls/Button.h"
#include "framework/controls/ComboBox.h"
#include "framework/controls/ListBox.h"
#include "framework/controls/Static.h"
#include "toolkit/controls/TkListCtrl.h"
#include "toolkit/dialogs/TkEditAccelerator.h"
#include "toolkit/layout/TkResizePropertyPage.h"

class CTkAccelManager;

class CTkAccelPropertyPage1 : public CTkResizePropertyPage {
  DECLARE_DYNCREATE(CTkAccelPropertyPage1)
 public:
  CTkAccelPropertyPage1();
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  void FillList();

  CButton m_btnExtra;
  CComboBox m_comboCategory;
  CTkListCtrl m_list;
  CString m_strTitle;
  int m_nCategory = 0;
  CTkAccelManager* m_pManager = nullptr;
  CFont* m_pTitleFont = nullptr;
  BOOL m_bShowButton = FALSE;

 protected:
  void OnCategoryChange();
  void OnExtraButton();
  DECLARE_MESSAGE_MAP()
};

class CTkAccelPropertyPage2 : public CTkResizePropertyPage {
  DECLARE_DYNCREATE(CTkAccelPropertyPage2)
 public:
  CTkAccelPropertyPage2();
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  void FillCommands();
  void FillKeys();
  void OnAssign();
  void OnRemove();
  void OnResetAll();

  CTkEditAccelerator m_editKey;
  CListBox m_listKeys;
  CListBox m_listCommands;
  CComboBox m_comboCategory;
  CString m_strTitle;
  CString m_strDescription;
  int m_nCategory = 0;
  CTkAccelManager* m_pManager = nullptr;
  CFont* m_pTitleFont = nullptr;

 protected:
  void OnCategoryChange();
  DECLARE_MESSAGE_MAP()
};

// The command's own description: its string resource, cut before a tab or line break.
CString TkCommandDescription(UINT nID);
