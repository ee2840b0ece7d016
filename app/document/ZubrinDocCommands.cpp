// The document's commands besides the runs (moving between search terms, the update program,
// templates), the enabling of every command it owns, and the texts of four status panes.
#include <atomic>
#include <ctime>

#include "app/services/AppPaths.h"
#include "app/services/AppServices.h"
#include "app/program/NQCommandLineInfo.h"
#include "app/settings/SelectionTemplates.h"
#include "app/program/ZubrinAppLog.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/RunControl.h"
#include "app/run/UpdateBroadcast.h"
#include "app/update/UpdateLauncher.h"
#include "engines/db/EnginePrototypes.h"
#include "engines/sets/EngineSet.h"
#include "framework/app/MessageBox.h"
#include "framework/app/AppIds.h"
#include "framework/wnd/CmdUI.h"
#include "framework/wnd/Wnd.h"
#include "resources/resource.h"

namespace {

std::atomic<bool> g_automatedEnd{false};

bool AutomatedRun() {
  const NQCommandLineInfo* commandLine = GetCommandLineInfo();
  return commandLine && commandLine->m_bAutomated;
}

CString LoadText(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}

// A format of the language module filled with the values.
template <typename... Args>
CString FormatString(UINT id, Args... values) {
  CString format, text;
  format.LoadString(id);
  text.Format(format, values...);
  return text;
}

void CloseMainWindow() {
  if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_CLOSE);
}

}  // namespace

BEGIN_MESSAGE_MAP(CZubrinDoc, CDocument)
  ON_COMMAND(ID_RUN_CHECK_ALL, OnRunCheckAll)
  ON_COMMAND(ID_RUN_CHECK_SELECTED, OnCheckSelected)
  ON_COMMAND(ID_RUN_CHECK_SELECTED2, OnCheckSelected)
  ON_COMMAND(ID_RUN_CHECK_CURRENT, OnCheckCurrent)
  ON_COMMAND(ID_RUN_SUBMIT_CURRENT, OnSubmitCurrent)
  ON_COMMAND(ID_RUN_SUBMIT_SELECTED, OnSubmitSelected)
  ON_COMMAND(ID_RUN_DEBUG, OnDebugRun)
  ON_COMMAND(ID_RUN_STOP, OnStop)
  ON_COMMAND(ID_RUN_SUBMIT_AUTO, OnToggleSubmitAuto)
  ON_COMMAND(ID_RUN_MARK_SUBMITTED, OnMarkSubmitted)
  ON_COMMAND(ID_RUN_ENGINE_FLAG, OnEngineFlag)
  ON_UPDATE_COMMAND_UI(ID_RUN_CHECK_ALL, OnUpdateRunCommand)
  ON_UPDATE_COMMAND_UI(ID_RUN_CHECK_SELECTED, OnUpdateRunCommand)
  ON_UPDATE_COMMAND_UI(ID_RUN_CHECK_SELECTED2, OnUpdateRunCommand)
  ON_UPDATE_COMMAND_UI(ID_RUN_CHECK_CURRENT, OnUpdateRunCommand)
  ON_UPDATE_COMMAND_UI(ID_RUN_SUBMIT_CURRENT, OnUpdateRunCommand)
  ON_UPDATE_COMMAND_UI(ID_RUN_SUBMIT_SELECTED, OnUpdateRunCommand)
  ON_UPDATE_COMMAND_UI(ID_RUN_DEBUG, OnUpdateRunCommand)
  ON_UPDATE_COMMAND_UI(ID_RUN_STOP, OnUpdateRunCommand)
  ON_UPDATE_COMMAND_UI(ID_RUN_SUBMIT_AUTO, OnUpdateRunCommand)
  ON_UPDATE_COMMAND_UI(ID_RUN_MARK_SUBMITTED, OnUpdateRunCommand)
  ON_UPDATE_COMMAND_UI(ID_RUN_ENGINE_FLAG, OnUpdateRunCommand)
  ON_COMMAND(ID_TERM_NEXT, OnNextTerm)
  ON_COMMAND(ID_TERM_PREVIOUS, OnPreviousTerm)
  ON_UPDATE_COMMAND_UI(ID_TERM_NEXT, OnUpdateTermMove)
  ON_UPDATE_COMMAND_UI(ID_TERM_PREVIOUS, OnUpdateTermMove)
  ON_COMMAND(ID_CHECK_UPDATE, OnStartUpdate)
  ON_UPDATE_COMMAND_UI(ID_CHECK_UPDATE, OnUpdateIdleOnly)
  ON_COMMAND(ID_TEMPLATE_SAVE, OnSaveTemplate)
  ON_COMMAND(ID_TEMPLATE_DELETE, OnDeleteTemplate)
  ON_UPDATE_COMMAND_UI(ID_TEMPLATE_DELETE, OnUpdateDeleteTemplate)
  ON_UPDATE_COMMAND_UI(ID_TEMPLATE_SAVE, OnUpdateIdleOnly)
  ON_UPDATE_COMMAND_UI(ID_TEMPLATE_COMBO, OnUpdateTemplateCombo)
  ON_UPDATE_COMMAND_UI(ID_TEMPLATE_APPLY, OnUpdateIdleNotBusy)
  ON_UPDATE_COMMAND_UI(ID_ENGINE_ALL, OnUpdateIdleOnly)
  ON_UPDATE_COMMAND_UI(ID_ENGINE_NONE, OnUpdateIdleOnly)
  // The options sheet's Apply changes the matcher's flags, which a run's workers read.
  ON_UPDATE_COMMAND_UI(ID_OPTIONS, OnUpdateIdleOnly)
  ON_UPDATE_COMMAND_UI(ID_ENGINE_OPTIONS, OnUpdateIdleOnly)
  ON_UPDATE_COMMAND_UI(ID_SUPPORT_MAIL, OnUpdateIdleOnly)
  // Neither during a run nor while a new document is being set up: either would pull the
  // document from under the code that works on it.
  ON_UPDATE_COMMAND_UI(ID_FILE_NEW, OnUpdateIdleNotBusy)
  ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateIdleNotBusy)
  ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_AS, OnUpdateIdleOnly)
  ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateFileSave)
  ON_UPDATE_COMMAND_UI(ID_FILE_SEND_MAIL, OnUpdateSendMail)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_ENGINES, OnUpdateEnginesPane)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_ACTIVE, OnUpdateActivePane)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_RATE, OnUpdateRatePane)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_ELAPSED, OnUpdateElapsedPane)
END_MESSAGE_MAP()

bool CZubrinDoc::MarkAutomatedEnd() { return !g_automatedEnd.exchange(true); }
bool CZubrinDoc::AutomatedEndReached() { return g_automatedEnd.load(); }
void CZubrinDoc::ResetAutomatedEnd() { g_automatedEnd = false; }

// ---- runs ----

void CZubrinDoc::StartCommandLineCheck() {
  const bool enabled = GetRunCommandUi(ID_RUN_CHECK_ALL).enabled;
  if (enabled && GetRunControl().Start(CRunControl::Kind::CheckAll)) return;
  if (!AutomatedRun() || !MarkAutomatedEnd()) return;
  CZubrinAppLog::Fail(enabled ? "The check of all search terms did not start; nothing was run."
                              : "The check of all search terms is not possible for this document "
                                "(no active search term); nothing was run.");
  CloseMainWindow();
}

void CZubrinDoc::OnUpdateRunCommand(CCmdUI* pCmdUI) {
  runrules::CommandUi ui = GetRunCommandUi(pCmdUI->m_nID);
  pCmdUI->Enable(ui.enabled);
  pCmdUI->SetCheck(ui.checked ? 1 : 0);
}

BOOL CZubrinDoc::SaveModified() {
  if (GetRunControl().DeferClose()) return FALSE;
  // Nobody answers the save question of an unattended run; the end of the run saves, and a
  // run ended early is logged as such when the program exits.
  if (AutomatedRun()) return TRUE;
  return CDocument::SaveModified();
}

// ---- search terms ----

bool CZubrinDoc::MoveToTerm(bool next) {
  if (m_running || m_manager.GetCount() < 2 || !m_currentSet) return false;
  CEngineSet* target =
      next ? m_manager.GetNextSet(m_currentSet) : m_manager.GetPrevSet(m_currentSet);
  if (!target || target == m_currentSet) {
    MessageBeep(MB_ICONEXCLAMATION);
    return false;
  }
  m_currentSet = target;
  BroadcastUpdate(HINT_CURRENT_SET, reinterpret_cast<LPARAM>(this));
  return true;
}

void CZubrinDoc::OnNextTerm() { MoveToTerm(true); }
void CZubrinDoc::OnPreviousTerm() { MoveToTerm(false); }

void CZubrinDoc::OnUpdateTermMove(CCmdUI* pCmdUI) {
  pCmdUI->Enable(!m_running && m_manager.GetCount() > 1);
}

// ---- update program and templates ----

void CZubrinDoc::OnStartUpdate() {
  if (m_running || !m_runViews) return;
  updatelauncher::StartUpdateProgram(*this, *m_runViews);
}

bool CZubrinDoc::CheckPendingUpdate() {
  if (m_running || !m_runViews) return false;
  return updatelauncher::StartUpdateProgram(*this, *m_runViews);
}

void CZubrinDoc::OnSaveTemplate() {
  if (m_running || !m_runViews) return;
  CString name = m_templateName;
  if (!m_runViews->AskTemplateName(name)) return;
  // The engine view keeps the template in memory even when the file could not be written.
  if (!m_runViews->CollectTemplate(name)) AfxMessageBox(IDP_TEMPLATE_NOT_SAVED, MB_ICONEXCLAMATION);
  m_templateIndex = -3;
  m_templateName = name;
}

void CZubrinDoc::OnDeleteTemplate() {
  if (m_running || m_templateIndex == -1) return;
  MessageBeep(MB_OK);
  if (AfxMessageBox(IDP_TEMPLATE_DELETE, MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK)
    return;
  if (NQSelectionTemplates* templates = GetSelectionTemplates()) {
    templates->Erase(m_templateName.GetString());
    templates->Save(GetTemplatesFilePath().GetString());
  }
  m_templateIndex = -2;
}

// A deleted template (-2) is no longer there to delete, before and after the combo lets it go.
void CZubrinDoc::OnUpdateDeleteTemplate(CCmdUI* pCmdUI) {
  pCmdUI->Enable(!m_running && m_templateIndex != -1 && m_templateIndex != -2);
}

void CZubrinDoc::OnUpdateTemplateCombo(CCmdUI* pCmdUI) {
  pCmdUI->Enable(!m_running && !s_busy);
  if (pCmdUI->m_pOther) SyncTemplateCombo(pCmdUI->m_pOther->m_hWnd);
}

namespace {

CString ComboText(HWND combo, int index) {
  int length = static_cast<int>(::SendMessageA(combo, CB_GETLBTEXTLEN, index, 0));
  if (length <= 0) return CString();
  CString text;
  ::SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.GetBuffer(length)));
  text.ReleaseBuffer();
  return text;
}

// Template names differ by case; the combo's own search does not.
int FindComboEntry(HWND combo, const CString& name) {
  int count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    if (ComboText(combo, i) == name) return i;
  return -1;
}

}  // namespace

void CZubrinDoc::SyncTemplateCombo(HWND combo) {
  char kind[16] = {};
  if (!combo || !::GetClassNameA(combo, kind, sizeof kind) || lstrcmpiA(kind, "ComboBox") != 0)
    return;
  const int selected = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
  if (selected != m_templateIndex && !::SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) {
    if (m_templateIndex >= 0) {
      m_templateName = ComboText(combo, m_templateIndex);
    } else if (m_templateIndex == -2) {
      int entry = FindComboEntry(combo, m_templateName);
      if (entry >= 0) ::SendMessageA(combo, CB_DELETESTRING, entry, 0);
      m_templateIndex = -1;
      m_templateName.Empty();
    } else if (m_templateIndex == -4) {
      m_templateIndex = FindComboEntry(combo, m_templateName);
      if (m_templateIndex < 0) m_templateName.Empty();
    } else if (m_templateIndex == -3) {
      m_templateIndex = FindComboEntry(combo, m_templateName);
      if (m_templateIndex < 0)
        m_templateIndex = static_cast<int>(
            ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_templateName.GetString())));
    } else {
      m_templateName.Empty();
    }
  }
  ::SendMessageA(combo, CB_SETCURSEL, m_templateIndex, 0);
}

// ---- enabling of the framework's file commands ----

void CZubrinDoc::OnUpdateIdleOnly(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_running); }
// Not during the update check either: its wait keeps the window's messages going.
void CZubrinDoc::OnUpdateIdleNotBusy(CCmdUI* pCmdUI) {
  pCmdUI->Enable(!m_running && !s_busy && !GetRunControl().IsCheckingUpdate());
}
void CZubrinDoc::OnUpdateFileSave(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_running && !m_readOnly); }
void CZubrinDoc::OnUpdateSendMail(CCmdUI* pCmdUI) {
  pCmdUI->Enable(IsMapiAvailable() && !m_running && !m_fresh);
}

// ---- status panes ----

CString CZubrinDoc::RatePaneText(bool running, bool hasMeter, uint32_t bytesPerSecond) {
  if (!running) return LoadText(ID_INDICATOR_RATE);
  if (!hasMeter) return CString();
  const double rate = bytesPerSecond;
  CString number;
  if (bytesPerSecond >= 1048576) {
    number.Format("%.0f", rate / 1048576.0);
    return FormatString(IDS_RATE_PANE_MB, number.GetString());
  }
  if (bytesPerSecond < 1024) return FormatString(IDS_RATE_PANE_B, bytesPerSecond);
  number.Format("%.0f", rate / 1024.0);
  return FormatString(IDS_RATE_PANE_KB, number.GetString());
}

CString CZubrinDoc::ElapsedPaneText(long seconds) {
  if (seconds < 0) seconds = 0;
  return FormatString(ID_INDICATOR_ELAPSED, static_cast<int>(seconds / 3600),
                      static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
}

void CZubrinDoc::ShowPane(CCmdUI* pCmdUI, const CString& text) {
  pCmdUI->Enable(TRUE);
  pCmdUI->SetText(text);
  if (GetDocumentProgressHooks().fitPane) GetDocumentProgressHooks().fitPane(pCmdUI->m_nID);
}

void CZubrinDoc::OnUpdateEnginesPane(CCmdUI* pCmdUI) {
  ShowPane(pCmdUI, FormatString(ID_INDICATOR_ENGINES,
                                m_currentSet ? m_currentSet->GetEngineCount() : 0));
}

void CZubrinDoc::OnUpdateActivePane(CCmdUI* pCmdUI) {
  ShowPane(pCmdUI, FormatString(ID_INDICATOR_ACTIVE, GetEnabledEngineCount()));
}

void CZubrinDoc::OnUpdateRatePane(CCmdUI* pCmdUI) {
  std::shared_ptr<CBandwidthMeter> meter = m_running ? GetRunControl().GetMeter() : nullptr;
  BandwidthStats stats = {};
  if (meter) meter->GetStats(&stats, false);
  ShowPane(pCmdUI, RatePaneText(m_running != 0, meter != nullptr, stats.receiveRate));
}

void CZubrinDoc::OnUpdateElapsedPane(CCmdUI* pCmdUI) {
  if (m_running)
    m_elapsedSeconds = static_cast<long>(time(nullptr) - CRunControl::GetRunStartTime());
  ShowPane(pCmdUI, ElapsedPaneText(m_elapsedSeconds));
}
