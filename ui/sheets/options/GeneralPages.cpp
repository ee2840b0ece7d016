// The General, Searching and Performance pages: check boxes and numbers of the search itself.
#include "app/settings/SearchProperties.h"
#include "engines/sets/RankMatcher.h"
#include "framework/app/MessageBox.h"
#include "framework/dialogs/DataExchange.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/sheets/options/OptionsPages.h"

// General

BEGIN_MESSAGE_MAP(CPropGeneral, COptionsPage)
  ON_BN_CLICKED(IDC_OPT_KEYWORD_ALERT, OnKeywordAlert)
END_MESSAGE_MAP()

CPropGeneral::CPropGeneral() : COptionsPage(IDD_PROP_GENERAL, 0) {
  const CSearchProperties& s = Settings();
  m_nKeywordAlert = s.m_nKeywordAlert;
  m_strKeywordIgnore = s.m_strKeywordIgnore;
  m_nIncludeNew = s.m_nIncludeNew;
  m_nBannersOn = s.m_nBannersOn;
  m_nRemindersOn = s.m_nRemindersOn;
}

BOOL CPropGeneral::OnInitDialog() {
  COptionsPage::OnInitDialog();
  EnableItem(IDC_OPT_KEYWORD_IGNORE, m_nKeywordAlert != 0);
  EnableItem(IDC_OPT_BANNERS_ON, TRUE);
  EnableItem(IDC_OPT_REMINDERS_ON, TRUE);
  return TRUE;
}

void CPropGeneral::DoDataExchange(CDataExchange* pDX) {
  COptionsPage::DoDataExchange(pDX);
  DDX_Check(pDX, IDC_OPT_KEYWORD_ALERT, m_nKeywordAlert);
  DDX_Text(pDX, IDC_OPT_KEYWORD_IGNORE, m_strKeywordIgnore);
  DDX_Check(pDX, IDC_OPT_INCLUDE_NEW, m_nIncludeNew);
  DDX_Check(pDX, IDC_OPT_BANNERS_ON, m_nBannersOn);
  DDX_Check(pDX, IDC_OPT_REMINDERS_ON, m_nRemindersOn);
}

void CPropGeneral::OnKeywordAlert() {
  m_nKeywordAlert = IsChecked(IDC_OPT_KEYWORD_ALERT);
  EnableItem(IDC_OPT_KEYWORD_IGNORE, m_nKeywordAlert != 0);
}

BOOL CPropGeneral::OnApply() {
  CSearchProperties& s = Settings();
  s.m_nKeywordAlert = m_nKeywordAlert;
  s.m_strKeywordIgnore = m_strKeywordIgnore;
  s.m_nIncludeNew = m_nIncludeNew;
  s.m_nBannersOn = m_nBannersOn;
  s.m_nRemindersOn = m_nRemindersOn;
  SaveAndBroadcast(kHintSettingsChanged);
  return TRUE;
}

// Searching

CPropSearching::CPropSearching() : COptionsPage(IDD_PROP_SEARCHING, 1) {
  const CSearchProperties& s = Settings();
  m_nMaxResults = s.m_nMaxResults;
  m_nStopSearch = s.m_nStopSearch;
  m_nRestrict = s.m_nRestrict;
  m_nExactMatch = s.m_nExactMatch;
  m_nDumpResults = s.m_nDumpResults;
}

void CPropSearching::DoDataExchange(CDataExchange* pDX) {
  COptionsPage::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_OPT_MAX_RESULTS, m_nMaxResults);
  DDV_MinMaxInt(pDX, m_nMaxResults, 1, 999);
  DDX_Check(pDX, IDC_OPT_STOP_SEARCH, m_nStopSearch);
  DDX_Check(pDX, IDC_OPT_RESTRICT, m_nRestrict);
  DDX_Check(pDX, IDC_OPT_EXACT_MATCH, m_nExactMatch);
  DDX_Check(pDX, IDC_OPT_DUMP_RESULTS, m_nDumpResults);
}

BOOL CPropSearching::OnApply() {
  CSearchProperties& s = Settings();
  s.m_nMaxResults = m_nMaxResults;
  s.m_nStopSearch = m_nStopSearch;
  s.m_nRestrict = m_nRestrict;
  s.m_nExactMatch = m_nExactMatch;
  s.m_nDumpResults = m_nDumpResults;
  g_bExactMatch = m_nExactMatch != 0 ? 1 : 0;
  // The matcher keeps its own copies of these flags from the last load; without them the next
  // run would still match by the old rules.
  SetMatchRestrict(m_nRestrict);
  SetExactMatch(m_nExactMatch != 0);
  SetDumpResults(m_nDumpResults != 0);
  SaveAndBroadcast(kHintSettingsChanged);
  return TRUE;
}

// Performance

BEGIN_MESSAGE_MAP(CPropPerformance, COptionsPage)
  ON_BN_CLICKED(IDC_OPT_CONNECTION_MGMT, OnConnectionManagement)
END_MESSAGE_MAP()

CPropPerformance::CPropPerformance() : COptionsPage(IDD_PROP_PERFORMANCE, 2) {
  const CSearchProperties& s = Settings();
  m_nMaxThreads = s.m_nMaxThreads;
  m_nTimeOut = s.m_nTimeOut;
  m_nConnectionManagement = s.m_nConnectionManagement;
  m_dThreadKB = s.m_dThreadKB;
}

CString CPropPerformance::FormatRate(double kilobytes) {
  CString text = CSearchProperties::FormatThreadKB(kilobytes);
  if (text.GetLength() > 3 && text[text.GetLength() - 1] == '0') text = text.Left(text.GetLength() - 1);
  return text;
}

bool CPropPerformance::ReadRate(const CString& text, double& kilobytes) {
  const char* s = text;
  while (*s == ' ' || *s == '\t') ++s;
  const char* start = s;
  int digits = 0, separators = 0;
  for (; *s; ++s) {
    if (*s >= '0' && *s <= '9') {
      ++digits;
    } else if (*s == '.' || *s == ',') {
      ++separators;
    } else {
      break;
    }
  }
  const char* end = s;
  while (*s == ' ' || *s == '\t') ++s;
  if (*s || digits == 0 || separators > 1) return false;
  kilobytes = CSearchProperties::ParseThreadKB(CString(start, static_cast<int>(end - start)));
  return true;
}

BOOL CPropPerformance::OnInitDialog() {
  COptionsPage::OnInitDialog();
  EnableByManagement();
  return TRUE;
}

void CPropPerformance::DoDataExchange(CDataExchange* pDX) {
  COptionsPage::DoDataExchange(pDX);
  // A field switched off by the connection management is not the user's to correct: it keeps
  // its value unread, so that a stored value outside the field's range cannot hold the page.
  bool reading = pDX->m_bSaveAndValidate != FALSE;
  if (!reading || ::IsWindowEnabled(::GetDlgItem(m_hWnd, IDC_OPT_MAX_THREADS))) {
    DDX_Text(pDX, IDC_OPT_MAX_THREADS, m_nMaxThreads);
    DDV_MinMaxInt(pDX, m_nMaxThreads, 1, kMaxThreads);
  }
  DDX_Text(pDX, IDC_OPT_TIMEOUT, m_nTimeOut);
  DDV_MinMaxInt(pDX, m_nTimeOut, 1, 999);
  DDX_Check(pDX, IDC_OPT_CONNECTION_MGMT, m_nConnectionManagement);
  if (reading && !::IsWindowEnabled(::GetDlgItem(m_hWnd, IDC_OPT_THREAD_KB))) return;
  // The rate reads alike with the dot or the user's decimal comma, never by the locale.
  HWND rate = pDX->PrepareEditCtrl(IDC_OPT_THREAD_KB);
  if (!reading) {
    ::SetWindowTextA(rate, FormatRate(m_dThreadKB));
    return;
  }
  char text[64] = {};
  ::GetWindowTextA(rate, text, sizeof text);
  double value = 0;
  if (!ReadRate(text, value) || value < kMinRate || value > kMaxRate) {
    CString prompt;
    prompt.Format("Please enter a number between %s and %s.", FormatRate(kMinRate).GetString(),
                  FormatRate(kMaxRate).GetString());
    AfxMessageBox(prompt, MB_ICONEXCLAMATION);
    pDX->Fail();
  }
  m_dThreadKB = value;
}

void CPropPerformance::OnConnectionManagement() {
  m_nConnectionManagement = IsChecked(IDC_OPT_CONNECTION_MGMT);
  EnableByManagement();
}

// The connections are either managed by the rate or counted by hand.
void CPropPerformance::EnableByManagement() {
  BOOL managed = m_nConnectionManagement != 0;
  EnableItem(IDC_OPT_MAX_THREADS, !managed);
  EnableItem(IDC_OPT_THREADS_LABEL, !managed);
  EnableItem(IDC_OPT_THREADS_NOTE, !managed);
  EnableItem(IDC_OPT_THREAD_KB, managed);
  EnableItem(IDC_OPT_THREAD_KB_LABEL, managed);
}

BOOL CPropPerformance::OnApply() {
  CSearchProperties& s = Settings();
  s.SetMaxThreads(m_nMaxThreads);
  s.m_nTimeOut = m_nTimeOut;
  s.m_nConnectionManagement = m_nConnectionManagement;
  s.SetThreadKB(m_dThreadKB);
  SaveAndBroadcast(kHintSettingsChanged);
  return TRUE;
}
