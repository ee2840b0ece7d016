#include "ui/dialogs/fields/MissingInfo.h"

#include "app/services/AppServices.h"
#include "app/document/ZubrinDoc.h"
#include "engines/db/ProfileFields.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/sheets/project/ProjectShared.h"
#include "ui/sheets/project/ZubSheet.h"

namespace {

INT_PTR RunSheetOnFields(CZubrinDoc* doc, CWnd* parent) {
  CZubSheet sheet(CZubSheet::kFields, parent, doc);
  sheet.HideApply();
  return sheet.DoModal();
}

CMissingInfo::SheetRunner g_runner = RunSheetOnFields;

}  // namespace

BEGIN_MESSAGE_MAP(CMissingInfo, CDialog)
  ON_BN_CLICKED(IDC_MISSING_FILL, OnFill)
  ON_LBN_DBLCLK(IDC_MISSING_LIST, OnFill)
  ON_MESSAGE(WM_HELP, OnHelpMessage)
END_MESSAGE_MAP()

CMissingInfo::CMissingInfo(CZubrinDoc* doc, const CNVList& missing, CWnd* pParent)
    : CDialog(IDD_MISSING_INFO, pParent), m_pDoc(doc), m_missing(missing) {}

void CMissingInfo::SetSheetRunner(SheetRunner runner) {
  g_runner = runner ? runner : RunSheetOnFields;
}

BOOL CMissingInfo::OnInitDialog() {
  CDialog::OnInitDialog();
  m_missing.ForEach([this](const CNVItem& item) {
    if (const SiteProfileField* row = projectui::FindField(item.m_name.c_str()))
      SendDlgItemMessage(IDC_MISSING_LIST, LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(static_cast<LPCSTR>(LoadResString(row->labelId))));
  });
  return TRUE;
}

void CMissingInfo::RemoveFilled() {
  if (!m_pDoc) return;
  m_missing.ForEach([this](const CNVItem& item) {
    if (m_pDoc->m_profile.GetValue(item.m_name).GetLength() == 0) return;
    const SiteProfileField* row = projectui::FindField(item.m_name.c_str());
    if (!row) return;
    CString label = LoadResString(row->labelId);
    // The list's own search folds case; labels are matched exactly.
    int count = static_cast<int>(SendDlgItemMessage(IDC_MISSING_LIST, LB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
      char text[512] = {};
      if (SendDlgItemMessage(IDC_MISSING_LIST, LB_GETTEXTLEN, i) >= static_cast<LRESULT>(sizeof text)) continue;
      SendDlgItemMessage(IDC_MISSING_LIST, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      if (label == text) {
        SendDlgItemMessage(IDC_MISSING_LIST, LB_DELETESTRING, i);
        break;
      }
    }
  });
}

void CMissingInfo::OnFill() {
  if (g_runner(m_pDoc, this) != IDOK) return;
  RemoveFilled();
  if (SendDlgItemMessage(IDC_MISSING_LIST, LB_GETCOUNT) == 0) EndDialog(IDOK);
}

LRESULT CMissingInfo::OnHelpMessage(WPARAM, LPARAM lParam) {
  return projectui::AnswerContextHelp(lParam);
}
