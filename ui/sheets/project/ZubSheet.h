// CZubSheet: the project's properties sheet: the site's submission values, the resubmission
// rules, the report mail and the report folder of one document. Modal, for one run.
#pragma once
#include "framework/dialogs/PropertySheet.h"
#include "ui/sheets/project/ZubOutput.h"
#include "ui/sheets/project/ZubPage1.h"
#include "ui/sheets/project/ZubSubmitInfo.h"
#include "ui/sheets/project/ZubSubmitRules.h"

class CZubrinDoc;

// The page the sheet showed last; it opens there when no page is asked for.
extern int LastProjectPage;

class CZubSheet : public CPropertySheet {
 public:
  enum Page { kFields = 0, kRules = 1, kMail = 2, kOutput = 3 };
  // doc null: the main window's active document.
  CZubSheet(UINT startPage, CWnd* pParent, CZubrinDoc* doc = nullptr);
  explicit CZubSheet(CWnd* pParent, CZubrinDoc* doc = nullptr);

  // Without the Apply button (before DoModal).
  void HideApply() { m_psh.dwFlags |= PSH_NOAPPLYNOW; }

  CZubSubmitInfo m_fields;
  CZubSubmitRules m_rules;
  CZubPage1 m_mail;
  CZubOutput m_output;

 protected:
  LRESULT OnHelpMessage(WPARAM, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void Construct(CZubrinDoc* doc);
};

// Runs the sheet over the active document: on a page (-1: the last one shown), with or without
// the Apply button. Returns IDOK or IDCANCEL.
INT_PTR RunProjectSheet(int page, bool withApply, CWnd* pParent = nullptr);

// Lets report mailing show the sheet's mail page (without Apply) before it sends.
void InstallProjectMailSheet();
