// CZubOutput: the project sheet's page of the folder the project's reports are written to.
// The folder is checked when the page is left or applied: a missing one is offered for
// creation, and the page stays until the folder exists (or the field is empty).
#pragma once
#include "framework/dialogs/PropertyPage.h"
#include "toolkit/widgets/WgBrowseEdit.h"

class CZubrinDoc;

class CZubOutput : public CPropertyPage {
 public:
  explicit CZubOutput(CZubrinDoc* doc = nullptr);

  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  BOOL OnKillActive() override;
  BOOL OnApply() override;
  void DoDataExchange(CDataExchange* pDX) override;

  // The folder check: one trailing backslash is dropped (a bare drive is accepted as it is); a
  // missing folder is offered for creation. False keeps the user on the page.
  static bool CheckFolder(CString& folder);

  CZubrinDoc* m_pDoc;
  CString m_strFolder;

 protected:
  void OnChanged();
  LRESULT OnHelpMessage(WPARAM, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CWgBrowseDirEdit m_folderEdit;
  bool m_bReady = false;
};
