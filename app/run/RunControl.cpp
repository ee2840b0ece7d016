// Starting and stopping a run on the user-interface thread, and the run's shared state.
#include "app/run/RunControl.h"

#include <ctime>

#include "app/program/NQCommandLineInfo.h"
#include "app/settings/SearchProperties.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/RunFlags.h"
#include "app/run/RunRules.h"
#include "app/run/UpdateBroadcast.h"
#include "app/update/PendingUpdate.h"
#include "engines/db/EngineList.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"

std::atomic<time_t> CRunControl::s_runStart{0};
std::atomic<CRunControl::PendingUpdateFn> CRunControl::s_pendingUpdate{
    &pendingupdate::UpdateBeforeRun};

void CRunControl::SetPendingUpdateCheck(PendingUpdateFn check) {
  s_pendingUpdate = check;
}
std::atomic<CRunControl*> CRunControl::s_active{nullptr};

namespace {

using runflags::Read;
using runflags::Write;

int EnabledPrototypes(CEngineList& database) {
  int count = 0;
  for (CListNode* node = database.GetEngines().Head(); node; node = node->Next())
    if (CEngineList::EngineOf(node)->m_enabled) ++count;
  return count;
}

}  // namespace

RunSettings ReadRunSettings(const CZubrinDoc& doc) {
  const CSearchProperties& p = GetSearchProperties();
  RunSettings s;
  s.maxThreads = runrules::BoundMaxThreads(p.m_nMaxThreads);
  s.connectionManagement = p.m_nConnectionManagement != 0;
  s.threadKB = p.m_dThreadKB;
  s.stopSearch = p.m_nStopSearch != 0;
  s.restrict = p.m_nRestrict;
  s.maxResults = p.m_nMaxResults;
  s.timeout = p.m_nTimeOut;
  if (const NQCommandLineInfo* line = GetCommandLineInfo()) {
    s.automated = line->m_bAutomated != 0;
    s.debug = line->m_bDebug != 0;
    s.testMode = line->m_bTestMode != 0;
  }
  s.submitWhen = doc.m_submitWhen;
  s.submitRanking = doc.m_submitRanking;
  s.submitPageNo = doc.m_submitPageNo;
  s.limitTo = doc.m_limitTo;
  s.site = static_cast<LPCSTR>(doc.m_siteUrl);
  return s;
}

CRunControl::CRunControl(CZubrinDoc& doc, IRunViews* views) : m_doc(doc), m_views(views) {
  s_active = this;
}

CRunControl::~CRunControl() {
  m_views = nullptr;
  Stop();
  WaitForRunThread(INFINITE);
  delete m_runThread;
  m_workers.TerminateWorkers();
  CRunControl* self = this;
  s_active.compare_exchange_strong(self, nullptr);
}

bool CRunControl::IsRunning() const { return Read(m_doc.m_running) != 0; }
bool CRunControl::IsStopRequested() const { return Read(m_doc.m_stop) != 0; }
bool CRunControl::IsClosePending() const { return Read(m_doc.m_closePending) != 0; }
bool CRunControl::StopOrClose() const { return IsStopRequested() || IsClosePending(); }

CEngineSet* CRunControl::CurrentSet() const {
  return std::atomic_ref<CEngineSet*>(m_doc.m_currentSet).load();
}
void CRunControl::SetCurrentSet(CEngineSet* set) {
  std::atomic_ref<CEngineSet*>(m_doc.m_currentSet).store(set);
}
int32_t CRunControl::SubmitAuto() const {
  return std::atomic_ref<int32_t>(m_doc.m_submitAuto).load();
}
void CRunControl::SetSubmitAuto(int32_t value) {
  std::atomic_ref<int32_t>(m_doc.m_submitAuto).store(value);
}

std::shared_ptr<CBandwidthMeter> CRunControl::GetMeter() {
  m_meterLock.Lock();
  std::shared_ptr<CBandwidthMeter> meter = m_meter;
  m_meterLock.Unlock();
  return meter;
}

void CRunControl::Stop() {
  if (IsRunning()) Write(m_doc.m_stop, 1);
}

bool CRunControl::DeferClose() {
  m_endLock.Lock();
  bool defer = IsRunning();
  if (defer) Write(m_doc.m_closePending, 1);
  m_endLock.Unlock();
  return defer;
}

// A close of the window during the update check would destroy the document under the start
// that waits for the check; the start closes the window once the check is over. (The
// document's own save question stays free meanwhile: the check may start the update program,
// which asks it.)
bool CRunControl::DeferWindowClose() {
  if (!m_checkingUpdate) return DeferClose();
  Write(m_doc.m_closePending, 1);
  return true;
}

// Toolbar buttons reach the document without asking the enabling rules, so a second start
// during the check is refused here; a close asked for meanwhile is carried out afterwards.
bool CRunControl::UpdateBeforeRun() {
  PendingUpdateFn pending = s_pendingUpdate;
  IRunViews* views = Views();
  if (!pending || !views) return false;
  m_checkingUpdate = true;
  bool update = pending(m_doc, *views, m_settings.automated, m_settings.debug);
  m_checkingUpdate = false;
  if (!IsClosePending()) return update;
  Write(m_doc.m_closePending, 0);
  if (IRunViews* after = Views()) after->PostCloseMainWindow();
  return true;
}

bool CRunControl::WaitForRunThread(DWORD milliseconds) {
  if (!m_runThread) return true;
  return WaitForSingleObject(m_runThread->m_hThread, milliseconds) == WAIT_OBJECT_0;
}

bool CRunControl::Start(Kind kind) {
  if (IsRunning() || m_checkingUpdate || !CurrentSet()) return false;
  std::vector<CString> selected;
  if (kind == Kind::CheckSelected || kind == Kind::SubmitSelected) {
    if (IRunViews* views = Views()) selected = views->SelectedEngines();
    if (selected.empty()) return false;
  }
  ReadSettings();
  if (UpdateBeforeRun()) return false;
  if (!m_settings.automated && !PreChecks(kind, selected)) return false;
  if (IRunViews* views = Views())
    views->BeginProgress(ProgressTotal(kind, selected), 1,
                           kind == Kind::SubmitCurrent || kind == Kind::SubmitSelected
                               ? IDS_RUN_SUBMIT_CAPTION
                               : IDS_RUN_CHECK_CAPTION);
  PrepareRun(kind);
  return StartRunThread(new RunPlan{kind, selected, this});
}

bool CRunControl::PreChecks(Kind kind, const std::vector<CString>& selected) {
  bool checks = kind == Kind::CheckAll || kind == Kind::CheckSelected || kind == Kind::CheckCurrent;
  bool submits = kind == Kind::SubmitCurrent || kind == Kind::SubmitSelected ||
                 (kind == Kind::CheckAll && SubmitAuto() == 1);
  if (submits && !MissingValuesConfirmed(kind, selected)) return false;
  return !checks || KeywordsConfirmed();
}

bool CRunControl::MissingValuesConfirmed(Kind kind, const std::vector<CString>& selected) {
  m_doc.m_missing.RemoveAll();
  CEngineSet* set = CurrentSet();
  if (kind == Kind::SubmitSelected) {
    for (const CString& name : selected)
      if (CSearchEngine* engine = set->FindEngine(static_cast<LPCSTR>(name)))
        engine->FindMissingSiteFields(m_doc.m_profile, m_doc.m_missing);
  } else {
    for (const auto& entry : set->GetEngines())
      if (entry.second->m_enabled)
        entry.second->FindMissingSiteFields(m_doc.m_profile, m_doc.m_missing);
  }
  if (m_doc.m_missing.GetCount() == 0) return true;
  return Views() && Views()->ShowMissingInfo(m_doc.m_missing);
}

bool CRunControl::KeywordsConfirmed() {
  if (!GetSearchProperties().m_nKeywordAlert) return true;
  CString term = m_doc.GetSearchTerm();
  switch (runrules::CheckKeywords(term)) {
    case runrules::KeywordAlert::TooManyWords:
      return Views() && Views()->Ask(IDS_RUN_TOO_MANY_WORDS, MB_YESNO | MB_ICONQUESTION) == IDYES;
    case runrules::KeywordAlert::LongCommaWord:
      return Views() && Views()->Ask(IDS_RUN_LONG_COMMA_WORD, MB_YESNO | MB_ICONQUESTION) == IDYES;
    default:
      return true;
  }
}

UINT CRunControl::ProgressTotal(Kind kind, const std::vector<CString>& selected) const {
  CEngineSet* set = CurrentSet();
  switch (kind) {
    case Kind::CheckAll:
      return static_cast<UINT>(set->CountEnabled() * m_doc.CountActiveSets());
    case Kind::CheckCurrent:
      return static_cast<UINT>(set->CountEnabled());
    case Kind::SubmitCurrent:
      return static_cast<UINT>(EnabledPrototypes(m_doc.m_database));
    default:
      return static_cast<UINT>(selected.size());
  }
}

void CRunControl::PrepareRun(Kind kind) {
  Write(m_doc.m_running, 1);
  Write(m_doc.m_stop, 0);
  Write(m_doc.m_fresh, 0);
  s_runStart = time(nullptr);
  m_doc.m_lastRun = COleDateTime::GetCurrentTime();
  m_meterLock.Lock();
  m_meter = std::make_shared<CBandwidthMeter>();
  m_meterLock.Unlock();
  m_waitFailed = false;
  m_debugRun = false;
  m_doc.SetModifiedFlag();
  static const UINT hints[] = {0, HINT_RUN_START, HINT_RUN_START, HINT_RUN_SET_UP, HINT_RUN_START};
  if (UINT hint = hints[static_cast<int>(kind)]) m_doc.UpdateAllViews(nullptr, hint);
}

bool CRunControl::StartRunThread(RunPlan* plan) {
  // The previous run thread ended its run already; it may still be returning.
  WaitForRunThread(INFINITE);
  delete m_runThread;
  m_runThread = CWorkerManager::BeginThread(RunThreadProc, plan);
  if (!m_runThread) {
    delete plan;
    // Nothing runs: the document must not stay "running" with no thread to end it.
    Write(m_doc.m_running, 0);
    m_meterLock.Lock();
    m_meter.reset();
    m_meterLock.Unlock();
    if (IRunViews* views = Views()) {
      views->EndProgress();
      views->ReportRunFailure(RunFailure::RunThreadNotStarted);
    }
    return false;
  }
  m_runThread->m_pThreadParams = plan;
  m_runThread->m_bAutoDelete = FALSE;
  m_runThread->ResumeThread();
  return true;
}

UINT __cdecl CRunControl::RunThreadProc(LPVOID param) {
  std::unique_ptr<RunPlan> plan(static_cast<RunPlan*>(param));
  plan->run->Walk(*plan);
  return 0;
}

void CRunControl::EndRun() {
  m_endLock.Lock();
  bool stopped = IsStopRequested();
  bool closing = IsClosePending();
  Write(m_doc.m_running, 0);
  Write(m_doc.m_stop, 0);
  Write(m_doc.m_closePending, 0);
  m_endLock.Unlock();
  m_meterLock.Lock();
  m_meter.reset();
  m_meterLock.Unlock();
  // The flags are clear before the windows hear of the end, so what they do for it (saving,
  // closing, starting the next run) finds the document idle.
  BroadcastUpdate(HINT_RUN_FINISHED, 0);
  if (!stopped && !closing) {
    if (m_settings.testMode)
      BroadcastUpdate(HINT_RUN_TEST_END, 0);
    else if (m_settings.automated)
      BroadcastUpdate(HINT_RUN_AUTOMATED_END, 0);
  }
  if (IRunViews* views = m_waitFailed ? Views() : nullptr) views->ReportRunFailure(RunFailure::WaitFailed);
  if (IRunViews* views = closing ? Views() : nullptr) views->PostCloseMainWindow();
}
