#include "ui/sheets/project/ZubPage1.h"

#include "app/document/ZubrinDoc.h"
#include "framework/dialogs/DataExchange.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/sheets/project/ProjectShared.h"
#include "ui/sheets/project/ZubSheet.h"

BEGIN_MESSAGE_MAP(CZubPage1, CPropertyPage)
  ON_EN_CHANGE(IDC_MAIL_TO, OnRecipientChange)
  ON_EN_CHANGE(IDC_MAIL_CC, OnChanged)
  ON_EN_CHANGE(IDC_MAIL_FROM, OnChanged)
  ON_EN_CHANGE(IDC_MAIL_SUBJECT, OnChanged)
  ON_EN_CHANGE(IDC_MAIL_BODY, OnChanged)
  ON_MESSAGE(WM_HELP, OnHelpMessage)
END_MESSAGE_MAP()

CZubPage1::CZubPage1(CZubrinDoc* doc)
    : CPropertyPage(IDD_PROJECT_MAIL), m_pDoc(doc ? doc : projectui::ActiveDocument()) {
  if (m_pDoc) {
    m_strTo = m_pDoc->m_reportTo;
    m_strCc = m_pDoc->m_emailCc;
    m_strFrom = m_pDoc->m_emailFrom;
    m_strSubject = m_pDoc->m_emailSubject;
    m_strBody = m_pDoc->m_emailBody;
  }
}

void CZubPage1::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_MAIL_TO, m_strTo);
  DDX_Text(pDX, IDC_MAIL_CC, m_strCc);
  DDX_Text(pDX, IDC_MAIL_FROM, m_strFrom);
  DDX_Text(pDX, IDC_MAIL_SUBJECT, m_strSubject);
  DDX_Text(pDX, IDC_MAIL_BODY, m_strBody);
}

BOOL CZubPage1::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  EnableFields();
  m_bReady = true;
  return TRUE;
}

BOOL CZubPage1::OnSetActive() {
  LastProjectPage = 2;
  return CPropertyPage::OnSetActive();
}

void CZubPage1::EnableFields() {
  const BOOL recipient = ::GetWindowTextLengthA(::GetDlgItem(m_hWnd, IDC_MAIL_TO)) > 0;
  for (int id : {IDC_MAIL_CC, IDC_MAIL_FROM, IDC_MAIL_SUBJECT, IDC_MAIL_BODY})
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(recipient);
}

void CZubPage1::OnRecipientChange() {
  EnableFields();
  OnChanged();
}

// Filling the controls at the start is no change of the user's.
void CZubPage1::OnChanged() {
  if (m_bReady) SetModified();
}

// A changed field marks the document, with or without the sheet's Apply button: the mail
// settings are saved with the project, and an unmarked change would be lost on close.
BOOL CZubPage1::OnApply() {
  if (m_pDoc) {
    const bool changed = m_pDoc->m_reportTo != m_strTo || m_pDoc->m_emailCc != m_strCc ||
                         m_pDoc->m_emailFrom != m_strFrom ||
                         m_pDoc->m_emailSubject != m_strSubject || m_pDoc->m_emailBody != m_strBody;
    m_pDoc->m_reportTo = m_strTo;
    m_pDoc->m_emailCc = m_strCc;
    m_pDoc->m_emailFrom = m_strFrom;
    m_pDoc->m_emailSubject = m_strSubject;
    m_pDoc->m_emailBody = m_strBody;
    if (changed) m_pDoc->SetModifiedFlag();
  }
  return CPropertyPage::OnApply();
}

LRESULT CZubPage1::OnHelpMessage(WPARAM, LPARAM lParam) {
  return projectui::AnswerContextHelp(lParam);
}
