// The application's own commands: the about box, tip of the day, the help file, the maker's web
// pages and the recent-file list.
#include <atomic>

#include "app/services/AppPaths.h"
#include "app/program/ZubrinApp.h"
#include "app/document/ZubrinDoc.h"
#include "foundation/os/UrlLink.h"
#include "framework/app/MessageBox.h"
#include "framework/app/AppIds.h"
#include "framework/wnd/CmdUI.h"
#include "framework/wnd/Wnd.h"
#include "resources/ids/DocIds.h"

namespace {

// WinHelp commands.
const UINT kHelpContext = 0x0001;
const UINT kHelpOnHelp = 0x0004;
const UINT kHelpContextPopup = 0x0008;
const UINT kHelpFinder = 0x000B;
const UINT kHelpPartialKey = 0x0105;

// The topics of the help-topic commands, in command order (two commands share one topic).
const DWORD kTopicContexts[] = {10001,  10003,  10210,  10211, 10211, 10213, 10215, 10217,
                                131187, 131190, 131189, 10227, 10229, 10233, 10238};
static_assert(sizeof kTopicContexts / sizeof kTopicContexts[0] ==
              ID_HELP_TOPIC_LAST - ID_HELP_TOPIC_FIRST + 1);

std::atomic<CZubrinApp::HelpCallFn> g_helpCall{nullptr};

void TellHelpFailure(UINT messageId, const CString& path) {
  CString format, text;
  format.LoadString(messageId);
  text.Format(format, path.GetString());
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

bool RunActive() {
  const CZubrinDoc* doc = CZubrinDoc::GetDocument();
  return doc && doc->m_running != 0;
}

}  // namespace

void CZubrinApp::SetHelpCall(HelpCallFn call) { g_helpCall = call; }

void CZubrinApp::WinHelp(DWORD_PTR dwData, UINT nCmd) {
  const CString& path = nCmd == kHelpContextPopup ? GetPopupHelpFilePath() : GetHelpFilePath();
  if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
    TellHelpFailure(IDP_HELP_FILE_MISSING, path);
    return;
  }
  CWnd* main = AfxGetMainWnd();
  HelpCallFn call = g_helpCall.load();
  if (!call) call = ::WinHelpA;
  if (!call(main ? main->m_hWnd : nullptr, path, nCmd, dwData))
    TellHelpFailure(IDP_HELP_FAILED, path);
}

DWORD CZubrinApp::HelpContextOf(UINT commandId) {
  if (commandId < ID_HELP_TOPIC_FIRST || commandId > ID_HELP_TOPIC_LAST) return 0;
  return kTopicContexts[commandId - ID_HELP_TOPIC_FIRST];
}

void CZubrinApp::OnAppAbout() {
  if (m_windows.showAbout) m_windows.showAbout();
}

void CZubrinApp::OnTipOfTheDay() {
  if (m_windows.showTipOfTheDay) m_windows.showTipOfTheDay(GetTipsFilePath());
}

void CZubrinApp::OnHelpContents() {
  WinHelp(0, kHelpFinder);
}
void CZubrinApp::OnHelpTopic(UINT commandId) {
  WinHelp(HelpContextOf(commandId), kHelpContext);
}
void CZubrinApp::OnHelpSearch() {
  static const char kEmptyKey[] = "";
  WinHelp(reinterpret_cast<DWORD_PTR>(kEmptyKey), kHelpPartialKey);
}
void CZubrinApp::OnHelpOnHelp() {
  WinHelp(0, kHelpOnHelp);
}
void CZubrinApp::OnSupportPage() {
  CUrlLink::Open(ZBPRO_SUPPORT_PAGE);
}
void CZubrinApp::OnHomePage() {
  CUrlLink::Open(ZBPRO_HOME_PAGE);
}

BOOL CZubrinApp::OnContextHelp(const HELPINFO* info) {
  if (info && info->iContextType == HELPINFO_WINDOW)
    WinHelp(static_cast<DWORD_PTR>(info->iCtrlId), kHelpContextPopup);
  return TRUE;
}

// A recent file would replace the document the run works on.
BOOL CZubrinApp::OnRecentFile(UINT commandId) {
  if (RunActive()) return TRUE;
  return OnOpenRecentFile(commandId);
}

void CZubrinApp::OnUpdateRecentFile(CCmdUI* pCmdUI) {
  if (RunActive()) {
    pCmdUI->Enable(FALSE);
    return;
  }
  if (pCmdUI->m_nID == ID_FILE_MRU_FIRST) OnUpdateRecentFileMenu(pCmdUI);
}
