// The main window's commands that open the project's properties sheet, and the sheet report
// mailing shows before it sends.
#include "app/document/ZubrinDoc.h"
#include "framework/threads/WinThread.h"
#include "reports/MapiMail.h"
#include "resources/resource.h"
#include "ui/MainFrame.h"
#include "ui/sheets/project/ZubSheet.h"

namespace {

int MailSheet() {
  return static_cast<int>(RunProjectSheet(CZubSheet::kMail, false, AfxGetMainWnd()));
}

}  // namespace

void InstallProjectMailSheet() { SetMailSheet(MailSheet); }

BOOL CMainFrame::OnProjectSheet(UINT nID) {
  int page = -1;  // the page shown last
  switch (nID) {
    case ID_PROJECT_PAGE0: page = CZubSheet::kFields; break;
    case ID_PROJECT_PAGE1: page = CZubSheet::kRules; break;
    case ID_PROJECT_PAGE2: page = CZubSheet::kMail; break;
    case ID_PROJECT_PAGE3: page = CZubSheet::kOutput; break;
    default: break;
  }
  // A run's workers read the site values while they submit: they are not changed under them.
  if (!GetZubrinDoc() || IsRunActive()) return TRUE;
  RunProjectSheet(page, true, this);
  return TRUE;
}

void CMainFrame::OnUpdateProjectSheet(CCmdUI* pCmdUI) {
  pCmdUI->Enable(GetZubrinDoc() != nullptr && !IsRunActive());
}
