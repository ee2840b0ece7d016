// The run commands of the document and their enabling. The command routing of the main frame
// maps the command ids of app/run/RunCommands.h onto these.
#include <cstring>
#include <vector>

#include "app/program/NQCommandLineInfo.h"
#include "app/program/ZubrinAppLog.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/RunControl.h"
#include "app/run/RunViews.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "foundation/core/Date.h"
#include "framework/wnd/Wnd.h"

CRunControl& CZubrinDoc::GetRunControl() {
  if (!m_runControl) m_runControl = std::make_unique<CRunControl>(*this, m_runViews);
  return *m_runControl;
}

void CZubrinDoc::SetRunViews(IRunViews* views) {
  m_runViews = views;
  if (m_runControl) m_runControl->SetViews(views);
}

void CZubrinDoc::OnCheckAll() { GetRunControl().Start(CRunControl::Kind::CheckAll); }
void CZubrinDoc::OnCheckSelected() { GetRunControl().Start(CRunControl::Kind::CheckSelected); }
void CZubrinDoc::OnCheckCurrent() { GetRunControl().Start(CRunControl::Kind::CheckCurrent); }
void CZubrinDoc::OnSubmitCurrent() { GetRunControl().Start(CRunControl::Kind::SubmitCurrent); }
void CZubrinDoc::OnSubmitSelected() { GetRunControl().Start(CRunControl::Kind::SubmitSelected); }
// Started from the command line only: nobody watches it, so a debug run that cannot start
// says why in the run's log and ends the program instead of leaving it open.
void CZubrinDoc::OnDebugRun() {
  CRunControl& run = GetRunControl();
  if (run.StartDebugRun() || run.IsRunning()) return;
  const NQCommandLineInfo* line = GetCommandLineInfo();
  if (!line || !line->m_bAutomated || !MarkAutomatedEnd()) return;
  const CString engine = GetEngineField();
  if (!m_currentSet || !m_currentSet->FindEngine(static_cast<LPCSTR>(engine)))
    CZubrinAppLog::Fail("The debug run did not start: the current search term has no engine "
                        "named \"%s\"; nothing was run.", engine.GetString());
  else
    CZubrinAppLog::Fail("The debug run did not start; nothing was run.");
  if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_CLOSE);
}
void CZubrinDoc::OnStop() { GetRunControl().Stop(); }

void CZubrinDoc::OnToggleSubmitAuto() {
  if (GetRunControl().IsRunning()) return;
  m_submitAuto = m_submitAuto == 1 ? 0 : 1;
}

void CZubrinDoc::OnMarkSubmitted() {
  if (!m_runViews || !m_currentSet || GetRunControl().IsRunning()) return;
  if (m_runViews->Ask(IDS_RUN_MARK_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  for (const CString& name : m_runViews->SelectedEngines()) {
    CSearchEngine* engine = m_currentSet->FindEngine(static_cast<LPCSTR>(name));
    if (!engine) continue;
    engine->MarkSubmitted(true);
    UpdateSubmittedCache(name);
    m_runViews->RefreshEngineRow(name);
  }
  SetCursor(previous);
  SetModifiedFlag();
}

void CZubrinDoc::UpdateSubmittedCache(const CString& name) {
  CEngineCache* cache = AddEngineCache(name);
  cache->m_total = 0;
  cache->m_latest = 0;
  for (POSITION position = m_manager.GetHeadPosition(); position;) {
    CSearchEngine* engine = m_manager.GetNext(position)->FindEngine(static_cast<LPCSTR>(name));
    if (!engine) continue;
    if (engine->m_submitCount > 0) cache->m_total += static_cast<uint32_t>(engine->m_submitCount);
    if (engine->m_lastSubmitDate > 0 && static_cast<uint32_t>(engine->m_lastSubmitDate) > cache->m_latest)
      cache->m_latest = static_cast<uint32_t>(engine->m_lastSubmitDate);
  }
}

void CZubrinDoc::OnEngineFlag() {
  if (!m_runViews) return;
  std::vector<CString> selected = m_runViews->SelectedEngines();
  if (selected.empty()) return;
  CEngineCache* cache = AddEngineCache(selected.front());
  // Workers of a run may be asking for this flag.
  m_engineCacheLock.Lock();
  cache->m_excluded = cache->m_excluded ? 0 : 1;
  m_engineCacheLock.Unlock();
  m_runViews->RefreshEngineRow(selected.front());
  SetModifiedFlag();
}

runrules::CommandUi CZubrinDoc::GetRunCommandUi(UINT commandId) {
  CRunControl& run = GetRunControl();
  runrules::RunCommandState state;
  state.running = run.IsRunning();
  state.stopRequested = run.IsStopRequested();
  state.busy = s_busy != 0 || run.IsCheckingUpdate();
  state.hasSearchTerm = !GetSearchTerm().IsEmpty();
  state.activeSets = CountActiveSets();
  state.submitAuto = m_submitAuto == 1;
  if (commandId == ID_RUN_ENGINE_FLAG && m_runViews)
    state.engineSelected = !m_runViews->SelectedEngines().empty();
  if (commandId == ID_RUN_SUBMIT_SELECTED && m_runViews && m_currentSet) {
    for (const CString& name : m_runViews->SelectedEngines()) {
      CSearchEngine* engine = m_currentSet->FindEngine(static_cast<LPCSTR>(name));
      if (engine && engine->CanSubmit()) state.selectedCanSubmit = true;
    }
  }
  return runrules::RunCommandUi(commandId, state);
}
