// The Output page: where reports go and what they show, with the report header and footer.
#include "app/settings/SearchProperties.h"
#include "foundation/os/WgFileSystem.h"
#include "framework/app/MessageBox.h"
#include "framework/dialogs/DataExchange.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/dialogs/EditReportHeader.h"
#include "ui/sheets/options/OptionsPages.h"

BEGIN_MESSAGE_MAP(CPropOutput, COptionsPage)
  ON_BN_CLICKED(IDC_OPT_USE_HEADER, OnUseHeader)
  ON_BN_CLICKED(IDC_OPT_USE_FOOTER, OnUseFooter)
  ON_BN_CLICKED(IDC_OPT_EDIT_HEADER, OnEditHeader)
  ON_BN_CLICKED(IDC_OPT_EDIT_FOOTER, OnEditFooter)
END_MESSAGE_MAP()

CPropOutput::CPropOutput() : COptionsPage(IDD_PROP_OUTPUT, 6) {
  const CSearchProperties& s = Settings();
  m_strReportsDir = s.m_strReportsDir;
  m_nAppendDate = s.m_nAppendDate;
  m_nHideZeroRankings = s.m_nHideZeroRankings;
  m_nUseHeader = s.m_nUseHeader;
  m_nUseFooter = s.m_nUseFooter;
  m_nRemoveLogos = s.m_nRemoveLogos;
  m_nShowTitle = s.m_nShowTitle;
  m_strZubrinPrompt = s.m_strZubrinPrompt;
  m_strHeaderText = s.m_strHeaderText;
  m_strFooterText = s.m_strFooterText;
}

bool CPropOutput::CheckReportsDir(const CString& folder) {
  CString tested = folder;
  if (!tested.IsEmpty() && tested[tested.GetLength() - 1] == '\\')
    tested = tested.Left(tested.GetLength() - 1);
  if (!tested.IsEmpty() && tested[tested.GetLength() - 1] == ':') return true;
  CWgFileSystem fs;
  if (!tested.IsEmpty() && fs.DirectoryExists(tested)) return true;
  if (AfxMessageBox(IDP_REPORTS_DIR_CREATE, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
  return !tested.IsEmpty() && fs.MakePath(tested);
}

BOOL CPropOutput::OnInitDialog() {
  m_editDir.Initialize(IDC_OPT_REPORTS_DIR, this);
  COptionsPage::OnInitDialog();
  EnableItem(IDC_OPT_EDIT_HEADER, m_nUseHeader != 0);
  EnableItem(IDC_OPT_EDIT_FOOTER, m_nUseFooter != 0);
  return TRUE;
}

void CPropOutput::DoDataExchange(CDataExchange* pDX) {
  COptionsPage::DoDataExchange(pDX);
  CString folder = m_strReportsDir;
  DDX_Text(pDX, IDC_OPT_REPORTS_DIR, folder);
  if (pDX->m_bSaveAndValidate && !CheckReportsDir(folder)) {
    pDX->PrepareEditCtrl(IDC_OPT_REPORTS_DIR);
    pDX->Fail();
  }
  m_strReportsDir = folder;
  DDX_Check(pDX, IDC_OPT_APPEND_DATE, m_nAppendDate);
  DDX_Check(pDX, IDC_OPT_HIDE_ZERO, m_nHideZeroRankings);
  DDX_Check(pDX, IDC_OPT_USE_HEADER, m_nUseHeader);
  DDX_Check(pDX, IDC_OPT_USE_FOOTER, m_nUseFooter);
  DDX_Check(pDX, IDC_OPT_REMOVE_LOGOS, m_nRemoveLogos);
  DDX_Check(pDX, IDC_OPT_SHOW_TITLE, m_nShowTitle);
  DDX_Text(pDX, IDC_OPT_ZUBRIN_PROMPT, m_strZubrinPrompt);
}

void CPropOutput::OnUseHeader() {
  m_nUseHeader = IsChecked(IDC_OPT_USE_HEADER);
  EnableItem(IDC_OPT_EDIT_HEADER, m_nUseHeader != 0);
}

void CPropOutput::OnUseFooter() {
  m_nUseFooter = IsChecked(IDC_OPT_USE_FOOTER);
  EnableItem(IDC_OPT_EDIT_FOOTER, m_nUseFooter != 0);
}

void CPropOutput::OnEditHeader() { EditText(m_strHeaderText, FALSE); }
void CPropOutput::OnEditFooter() { EditText(m_strFooterText, TRUE); }

// The editor works on a copy: Cancel leaves the text as it was.
void CPropOutput::EditText(CString& text, BOOL bFooter) {
  CEditReportHeader dlg(this);
  dlg.m_bFooter = bFooter;
  dlg.m_strText = text;
  if (dlg.DoModal() != IDOK) return;
  text = dlg.m_strText;
  SetModified(TRUE);
}

BOOL CPropOutput::OnApply() {
  // The page may be left with the folder unchanged while it was removed meanwhile.
  if (!CheckReportsDir(m_strReportsDir)) return FALSE;
  CSearchProperties& s = Settings();
  s.m_strReportsDir = m_strReportsDir;
  s.m_nAppendDate = m_nAppendDate;
  s.m_nHideZeroRankings = m_nHideZeroRankings;
  s.m_nUseFooter = m_nUseFooter;
  s.m_nUseHeader = m_nUseHeader;
  s.m_strZubrinPrompt = m_strZubrinPrompt;
  s.m_nRemoveLogos = m_nRemoveLogos;
  s.m_strHeaderText = m_strHeaderText;
  s.m_strFooterText = m_strFooterText;
  s.m_nShowTitle = m_nShowTitle;
  SaveAndBroadcast(kHintSettingsChanged);
  return TRUE;
}
