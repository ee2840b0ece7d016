// CMissingInfo: before a submission, the fields the engines need that are still empty. The user
// fills them in on the project sheet from here; the dialog ends with OK by itself once none is
// left.
#pragma once
#include "foundation/core/NVList.h"
#include "framework/dialogs/Dialog.h"

class CZubrinDoc;

class CMissingInfo : public CDialog {
 public:
  CMissingInfo(CZubrinDoc* doc, const CNVList& missing, CWnd* pParent = nullptr);

  BOOL OnInitDialog() override;

  // How the project sheet is shown from here (tests answer for it); by default the sheet on
  // its first page without an Apply button. Returns IDOK or IDCANCEL.
  using SheetRunner = INT_PTR (*)(CZubrinDoc* doc, CWnd* parent);
  static void SetSheetRunner(SheetRunner runner);

 protected:
  void OnFill();
  LRESULT OnHelpMessage(WPARAM, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void RemoveFilled();

  CZubrinDoc* m_pDoc;
  CNVList m_missing;
};
