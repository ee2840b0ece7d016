#include "ui/RunWindows.h"

#include <commctrl.h>

#include "app/program/NQCommandLineInfo.h"
#include "app/program/ZubrinAppLog.h"
#include "app/document/ZubrinDoc.h"
#include "framework/app/MessageBox.h"
#include "framework/threads/WinThread.h"
#include "resources/resource.h"
#include "ui/MainFrame.h"
#include "ui/Panes.h"
#include "ui/views/SearchEngineView.h"
#include "ui/dialogs/CheckingForUpdate.h"
#include "ui/dialogs/InstantUpdateMessage.h"
#include "ui/dialogs/SaveTemplate.h"
#include "ui/dialogs/fields/MissingInfo.h"

namespace {

std::vector<CString> RowsOf(HWND list, UINT which) {
  std::vector<CString> names;
  if (!list || !IsWindow(list)) return names;
  char text[512];
  for (int row = -1;;) {
    row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), which));
    if (row < 0) break;
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    text[0] = '\0';
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    names.emplace_back(text);
  }
  return names;
}

}  // namespace

std::vector<CString> CMainRunViews::SelectedRowNames(HWND list) {
  return RowsOf(list, LVNI_SELECTED);
}

std::vector<CString> CMainRunViews::RowNames(HWND list) {
  return RowsOf(list, LVNI_ALL);
}

std::vector<CString> CMainRunViews::SelectedEngines() {
  return SelectedRowNames(g_hEngineViewWnd);
}

void CMainRunViews::BeginProgress(UINT upper, UINT lower, UINT captionId) {
  CString caption;
  caption.LoadString(captionId);
  CMainFrame::BeginProgress(static_cast<int>(upper), static_cast<int>(lower), caption);
}

void CMainRunViews::StepProgress() {
  CMainFrame::StepProgress();
}

// The frame's progress control belongs to the user-interface thread; a run thread's end of the
// progress reaches the frame through the run's finish hints instead.
void CMainRunViews::EndProgress() {
  if (OnWindowThread()) CMainFrame::EndProgress();
}

int CMainRunViews::Ask(UINT messageId, UINT type) {
  // An unattended run never waits for an answer: the box's text goes to the log with its
  // default answer (the framework's box handler of an automated run).
  if (!Automated()) MessageBeep(type & MB_ICONMASK);
  return AfxMessageBox(messageId, type);
}

// The user fills the missing fields in from the list, or the submission does not start. A run
// without a user is told which fields are empty and does not submit.
bool CMainRunViews::ShowMissingInfo(const CNVList& missing) {
  if (!Automated()) {
    CMissingInfo dialog(CZubrinDoc::GetDocument(), missing, AfxGetMainWnd());
    return dialog.DoModal() == IDOK;
  }
  CString fields;
  missing.ForEach([&](const CNVItem& item) {
    fields += item.m_name.c_str();
    fields += "\n";
  });
  CString format, text;
  format.LoadString(IDS_SUBMIT_FIELDS_EMPTY);
  text.Format(format, static_cast<LPCSTR>(fields));
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
  return false;
}

bool CMainRunViews::ShowUpdateNotice() {
  // No update is ever started unasked.
  if (Automated()) return false;
  CInstantUpdateMessage notice(AfxGetMainWnd());
  return notice.DoModal() == IDOK;
}

void CMainRunViews::RefreshEngineRow(const CString& name) {
  if (g_pSearchEngineView) g_pSearchEngineView->RefreshEngineRow(name);
}

bool CMainRunViews::AskTemplateName(CString& name) {
  CSaveTemplate dialog(AfxGetMainWnd());
  dialog.m_strName = name;
  if (dialog.DoModal() != IDOK) return false;
  name = dialog.m_strName;
  return true;
}

bool CMainRunViews::CollectTemplate(const CString& name) {
  return g_pSearchEngineView && g_pSearchEngineView->CollectTemplate(name);
}

void CMainRunViews::ReportRunFailure(RunFailure failure) {
  const char* text = failure == RunFailure::RunThreadNotStarted
                         ? "The run could not start: the system refused its thread."
                         : "The run was ended: waiting for its workers failed.";
  if (Automated())
    CZubrinAppLog::Fail("%s", text);
  else if (OnWindowThread())
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
  else
    OutputDebugStringA(text);
}

void CMainRunViews::PostCloseMainWindow() {
  if (m_main) PostMessageA(m_main, WM_CLOSE, 0, 0);
}

void CMainRunViews::ShowCheckingNotice(const std::shared_ptr<UpdateCheckBlock>& block) {
  CloseCheckingNotice();
  if (Automated()) return;
  m_notice = CCheckingForUpdate::Show(block, AfxGetMainWnd());
}

void CMainRunViews::CloseCheckingNotice() {
  // The notice frees itself when its window goes.
  if (m_notice && m_notice->m_hWnd) m_notice->DestroyWindow();
  m_notice = nullptr;
}

bool CMainRunViews::AskSaveModified() {
  CZubrinDoc* doc = CZubrinDoc::GetDocument();
  return doc && doc->SaveModified();
}

void CMainRunViews::ReportUpdateStartFailure(const char* text) {
  if (Automated())
    CZubrinAppLog::Fail("The update program could not be started: %s", text);
  else
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

bool CMainRunViews::OnWindowThread() const {
  return m_main && GetCurrentThreadId() == GetWindowThreadProcessId(m_main, nullptr);
}

bool CMainRunViews::Automated() const {
  const NQCommandLineInfo* commandLine = GetCommandLineInfo();
  return commandLine && commandLine->m_bAutomated;
}
