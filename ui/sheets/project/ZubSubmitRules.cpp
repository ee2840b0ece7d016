#include "ui/sheets/project/ZubSubmitRules.h"

#include "app/services/AppServices.h"
#include "app/document/ZubrinDoc.h"
#include "framework/dialogs/DataExchange.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/sheets/project/ProjectShared.h"
#include "ui/sheets/project/ZubSheet.h"

BEGIN_MESSAGE_MAP(CZubSubmitRules, CPropertyPage)
  ON_BN_CLICKED(IDC_RULES_AUTO, OnAuto)
  ON_BN_CLICKED(IDC_RULES_NOTLISTED, OnNotListed)
  ON_BN_CLICKED(IDC_RULES_WHEN_RANK, OnWhenRank)
  ON_BN_CLICKED(IDC_RULES_WHEN_PAGE, OnWhenPage)
  ON_EN_CHANGE(IDC_RULES_RANKING, OnChanged)
  ON_EN_CHANGE(IDC_RULES_PAGENO, OnChanged)
  ON_CBN_SELCHANGE(IDC_RULES_LIMIT, OnChanged)
  ON_MESSAGE(WM_HELP, OnHelpMessage)
END_MESSAGE_MAP()

CZubSubmitRules::CZubSubmitRules(CZubrinDoc* doc)
    : CPropertyPage(IDD_PROJECT_RULES), m_pDoc(doc ? doc : projectui::ActiveDocument()) {
  if (m_pDoc) {
    m_submitAuto = m_pDoc->m_submitAuto;
    m_submitWhen = m_pDoc->m_submitWhen;
    m_submitRanking = m_pDoc->m_submitRanking;
    m_submitPageNo = m_pDoc->m_submitPageNo;
    m_limitTo = m_pDoc->m_limitTo;
    m_submitNotListed = m_pDoc->m_submitNotListed;
  }
}

void CZubSubmitRules::DoDataExchange(CDataExchange* pDX) {
  DDX_Check(pDX, IDC_RULES_AUTO, m_submitAuto);
  DDX_Radio(pDX, IDC_RULES_WHEN_RANK, m_submitWhen);
  DDX_Text(pDX, IDC_RULES_RANKING, m_submitRanking);
  DDX_Text(pDX, IDC_RULES_PAGENO, m_submitPageNo);
  DDX_Check(pDX, IDC_RULES_NOTLISTED, m_submitNotListed);
  DDX_CBIndex(pDX, IDC_RULES_LIMIT, m_limitTo);
}

BOOL CZubSubmitRules::OnInitDialog() {
  // The intervals come from the language module, one a line, in the order of their index.
  CString entries = LoadResString(IDS_PROJECT_LIMIT_ENTRIES);
  int start = 0;
  while (start <= entries.GetLength() && !entries.IsEmpty()) {
    int end = entries.Find('\n', start);
    if (end < 0) end = entries.GetLength();
    SendDlgItemMessage(IDC_RULES_LIMIT, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(static_cast<LPCSTR>(entries.Mid(start, end - start))));
    start = end + 1;
  }
  CPropertyPage::OnInitDialog();
  EnableControls();
  m_bReady = true;
  return TRUE;
}

BOOL CZubSubmitRules::OnSetActive() {
  LastProjectPage = 1;
  return CPropertyPage::OnSetActive();
}

void CZubSubmitRules::EnableControls() {
  const BOOL on = m_submitAuto != 0;
  for (int id : {IDC_RULES_NOTLISTED, IDC_RULES_WHEN_RANK, IDC_RULES_WHEN_PAGE, IDC_RULES_RANKING,
                 IDC_RULES_PAGENO, IDC_RULES_LIMIT})
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(on);
  if (on) EnableWhenControls();
}

// Submitting to every engine that does not list the site leaves the rank rule nothing to do.
void CZubSubmitRules::EnableWhenControls() {
  const bool ruled = m_submitNotListed == 0;
  auto enable = [this](int id, bool on) {
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(on);
  };
  enable(IDC_RULES_WHEN_RANK, ruled);
  enable(IDC_RULES_WHEN_PAGE, ruled);
  enable(IDC_RULES_RANKING, ruled && m_submitWhen == 0);
  enable(IDC_RULES_PAGENO, ruled && m_submitWhen == 1);
}

void CZubSubmitRules::OnAuto() {
  m_submitAuto = IsDlgButtonChecked(IDC_RULES_AUTO) ? 1 : 0;
  EnableControls();
  SetModified();
}

void CZubSubmitRules::OnNotListed() {
  m_submitNotListed = IsDlgButtonChecked(IDC_RULES_NOTLISTED) ? 1 : 0;
  EnableWhenControls();
  SetModified();
}

void CZubSubmitRules::OnWhenRank() {
  m_submitWhen = 0;
  EnableWhenControls();
  SetModified();
}

void CZubSubmitRules::OnWhenPage() {
  m_submitWhen = 1;
  EnableWhenControls();
  SetModified();
}

// Filling the controls at the start is no change of the user's.
void CZubSubmitRules::OnChanged() {
  if (m_bReady) SetModified();
}

// The rules are saved with the project: a change marks the document, so that closing it asks
// to save, whether the sheet had an Apply button or not.
BOOL CZubSubmitRules::OnApply() {
  if (m_pDoc) {
    const bool changed = m_pDoc->m_submitAuto != m_submitAuto ||
                         m_pDoc->m_submitWhen != m_submitWhen ||
                         m_pDoc->m_submitRanking != m_submitRanking ||
                         m_pDoc->m_submitPageNo != m_submitPageNo ||
                         m_pDoc->m_limitTo != m_limitTo ||
                         m_pDoc->m_submitNotListed != m_submitNotListed;
    m_pDoc->m_submitAuto = m_submitAuto;
    m_pDoc->m_submitWhen = m_submitWhen;
    m_pDoc->m_submitRanking = m_submitRanking;
    m_pDoc->m_submitPageNo = m_submitPageNo;
    m_pDoc->m_limitTo = m_limitTo;
    m_pDoc->m_submitNotListed = m_submitNotListed;
    if (changed) m_pDoc->SetModifiedFlag();
  }
  return CPropertyPage::OnApply();
}

LRESULT CZubSubmitRules::OnHelpMessage(WPARAM, LPARAM lParam) {
  return projectui::AnswerContextHelp(lParam);
}
