// CPropertyPage: one page of a property sheet, a dialog template of the current resource
// module. The sheet tells the page when it becomes active (OnSetActive), is left
// (OnKillActive: its data is read back and checked; FALSE keeps the page), and when the user
// applies (OnApply, which calls OnOK) or cancels (OnReset, which calls OnCancel).
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include "framework/dialogs/Dialog.h"

class CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)
 public:
  explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
  explicit CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption = 0);

  virtual BOOL OnSetActive();
  virtual BOOL OnKillActive();
  virtual BOOL OnApply();
  virtual void OnReset();
  virtual BOOL OnQueryCancel() { return TRUE; }
  void OnOK() override {}
  void OnCancel() override {}
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // Lights (or clears) the sheet's Apply button for this page.
  void SetModified(BOOL bChanged = TRUE);
  void CancelToClose();
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  PROPSHEETPAGEA m_psp = {};

 protected:
  // The sheet ends with this result (OK applied, or cancelled).
  void SetSheetResult(int nResult);
  BOOL m_bFirstSetActive = TRUE;
  CString m_strCaption;
  friend class CPropertySheet;
};
