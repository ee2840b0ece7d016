#include "ui/sheets/project/ZubSheet.h"

#include "app/document/ZubrinDoc.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/sheets/project/ProjectShared.h"

int LastProjectPage = 0;

BEGIN_MESSAGE_MAP(CZubSheet, CPropertySheet)
  ON_MESSAGE(WM_HELP, OnHelpMessage)
END_MESSAGE_MAP()

CZubSheet::CZubSheet(UINT startPage, CWnd* pParent, CZubrinDoc* doc)
    : CPropertySheet(IDS_PROJECT_SHEET_CAPTION, pParent, startPage),
      m_fields(doc),
      m_rules(doc),
      m_mail(doc),
      m_output(doc) {
  Construct(doc);
}

CZubSheet::CZubSheet(CWnd* pParent, CZubrinDoc* doc)
    : CZubSheet(static_cast<UINT>(LastProjectPage), pParent, doc) {}

void CZubSheet::Construct(CZubrinDoc* doc) {
  AddPage(&m_fields);
  AddPage(&m_rules);
  AddPage(&m_mail);
  AddPage(&m_output);
  if (!doc) doc = projectui::ActiveDocument();
  if (doc && !doc->GetTitle().IsEmpty()) SetTitle(doc->GetTitle(), PSH_PROPTITLE);
}

LRESULT CZubSheet::OnHelpMessage(WPARAM, LPARAM lParam) {
  return projectui::AnswerContextHelp(lParam);
}

INT_PTR RunProjectSheet(int page, bool withApply, CWnd* pParent) {
  CZubSheet sheet(static_cast<UINT>(page < 0 ? LastProjectPage : page), pParent);
  if (!withApply) sheet.HideApply();
  return sheet.DoModal();
}
