// The run thread: walks the sets and engines, keeps the number of workers within the limit and
// ends the run.
#include <algorithm>

#include "app/program/NQCommandLineInfo.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/RunControl.h"
#include "app/run/RunFlags.h"
#include "app/run/RunRules.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/sets/EngineManager.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"

using runflags::Write;

namespace {

std::atomic<CRunControl::SleepFn> g_sleep{nullptr};

void Pause(unsigned milliseconds) {
  CRunControl::SleepFn sleep = g_sleep.load();
  if (sleep)
    sleep(milliseconds);
  else
    Sleep(milliseconds);
}

}  // namespace

void CRunControl::SetSleepFunction(SleepFn sleep) {
  g_sleep = sleep;
}

void CRunControl::Walk(const RunPlan& plan) {
  int limit = runrules::InitialThreadLimit(m_settings.maxThreads, m_settings.connectionManagement);
  switch (plan.kind) {
    case Kind::CheckAll:
      WalkAllSets();
      return;
    case Kind::CheckCurrent: {
      Reclone(CurrentSet());
      int32_t saved = SubmitAuto();
      SetSubmitAuto(0);
      WalkSet(CurrentSet(), WorkerMode::Query, limit);
      SetSubmitAuto(saved);
      FinishWalk(true);
      return;
    }
    case Kind::SubmitCurrent:
      WalkSet(CurrentSet(), WorkerMode::Submit, limit);
      FinishWalk(false);
      return;
    case Kind::CheckSelected:
      WalkSelected(plan.selected, WorkerMode::Query, limit);
      FinishWalk(true);
      return;
    case Kind::SubmitSelected:
      WalkSelected(plan.selected, WorkerMode::Submit, limit);
      FinishWalk(true);
      return;
  }
}

void CRunControl::WalkAllSets() {
  CEngineManager& manager = m_doc.m_manager;
  CEngineSet* const first = CurrentSet();
  int remaining = manager.CountActive();
  const int32_t saved = SubmitAuto();
  SetSubmitAuto(0);
  int limit = runrules::InitialThreadLimit(m_settings.maxThreads, m_settings.connectionManagement);
  CEngineSet* set = first;
  while (!StopOrClose()) {
    if (set->m_active) {
      Reclone(set);
      BroadcastUpdate(HINT_RUN_SET_UP, 0);
      BroadcastUpdate(HINT_TERMS_CHANGED, 0);
      // Submission with the check applies to the last active set only.
      if (--remaining == 0) SetSubmitAuto(saved);
      WorkerMode mode = SubmitAuto() == 1 ? WorkerMode::QuerySubmit : WorkerMode::Query;
      if (!WalkSet(set, mode, limit)) break;
    }
    CEngineSet* next = manager.GetNextSet(set);
    if (next == first) break;
    set = next;
    SetCurrentSet(set);
  }
  // However the walk ended, the user's setting is as it was before the run.
  SetSubmitAuto(saved);
  if (m_doc.m_manager.GetCount() > 1 && !CurrentSet()->m_active && !m_waitFailed)
    BroadcastUpdate(HINT_CURRENT_SET, 0);
  FinishWalk(true);
}

bool CRunControl::WalkSet(CEngineSet* set, WorkerMode mode, int& limit) {
  for (const auto& entry : set->GetEngines()) {
    if (StopOrClose() || m_waitFailed) return false;
    if (!entry.second->m_enabled) continue;
    if (!EngineStep(entry.second, set, mode, limit)) return false;
  }
  return true;
}

void CRunControl::WalkSelected(const std::vector<CString>& names, WorkerMode mode, int& limit) {
  CEngineSet* set = CurrentSet();
  for (const CString& name : names) {
    if (StopOrClose() || m_waitFailed) return;
    m_setsLock.Lock();
    set->RecloneEngine(static_cast<LPCSTR>(name), static_cast<LPCSTR>(m_doc.m_lastRunUrl), 1);
    CSearchEngine* engine = set->FindEngine(static_cast<LPCSTR>(name));
    m_setsLock.Unlock();
    if (engine && !EngineStep(engine, set, mode, limit)) return;
  }
}

bool CRunControl::EngineStep(CSearchEngine* engine, CEngineSet* set, WorkerMode mode, int& limit) {
  std::shared_ptr<CBandwidthMeter> meter = GetMeter();
  engine->SetBandwidthMeter(meter.get());
  int threshold = runrules::WorkerWaitThreshold(limit, m_settings.maxThreads,
                                                m_settings.connectionManagement);
  if (!m_workers.WaitForWorkers(threshold)) {
    m_waitFailed = true;  // ends the run instead of waiting on a wait that cannot work
    return false;
  }
  if (m_settings.connectionManagement) {
    BandwidthStats stats{};
    if (meter) meter->GetStats(&stats, false);
    limit = runrules::RateThreadLimit(meter ? stats.receiveRate : 1, m_settings.threadKB);
  }
  Pause(kWorkerStartPause);
  StartWorker(engine, set, mode, false);
  return true;
}

void CRunControl::FinishWalk(bool copySite) {
  if (!m_waitFailed && !m_workers.WaitForWorkers(0)) m_waitFailed = true;
  if (copySite && !StopOrClose() && !m_waitFailed) m_doc.m_lastRunUrl = m_doc.m_siteUrl;
  OnEngineEvent(nullptr, kEngineRunFinished, 0, kRunFinishUser);
}

void CRunControl::Reclone(CEngineSet* set) {
  m_setsLock.Lock();
  set->RecloneEnabledEngines(static_cast<LPCSTR>(m_doc.m_lastRunUrl), 1);
  m_setsLock.Unlock();
}

bool CRunControl::StartDebugRun() {
  if (IsRunning() || m_checkingUpdate || !CurrentSet()) return false;
  m_settings = ReadRunSettings(m_doc);
  CString engineName = GetEngineField();
  CSearchEngine* engine = CurrentSet()->FindEngine(static_cast<LPCSTR>(engineName));
  if (!engine) return false;
  if (const NQCommandLineInfo* line = GetCommandLineInfo()) {
    m_doc.m_siteUrl = line->GetDebugOption("urltofind");
    CurrentSet()->m_name = line->GetDebugOption("searchterms");
  }
  m_settings.site = static_cast<LPCSTR>(m_doc.m_siteUrl);
  m_doc.UpdateAllViews(nullptr, HINT_DOC_OPEN);
  if (IRunViews* views = Views()) views->BeginProgress(1, 1, IDS_RUN_CHECK_CAPTION);
  Write(m_doc.m_running, 1);
  Write(m_doc.m_stop, 0);
  Write(m_doc.m_fresh, 0);
  s_runStart = time(nullptr);
  m_waitFailed = false;
  m_debugRun = true;
  if (StartWorker(engine, CurrentSet(), WorkerMode::Query, true)) return true;
  EndRun();
  return false;
}
