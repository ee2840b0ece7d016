// The workers of a run: starting one per engine, the body that drives the engine, the events
// it raises and the resubmission policy it asks.
#include "app/program/NQCommandLineInfo.h"
#include "app/settings/ProxySettings.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/RunControl.h"
#include "app/run/RunRules.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/sets/EngineManager.h"
#include "engines/sets/EngineSet.h"
#include "engines/sets/RankMatcher.h"
#include "engines/db/SearchEngine.h"
#include "engines/db/SearchResult.h"
#include "foundation/core/Date.h"

namespace {

std::atomic<CRunControl::WorkerBody> g_body{nullptr};

}  // namespace

void CRunControl::SetWorkerBody(WorkerBody body) {
  g_body = body;
}

bool CRunControl::StartWorker(CSearchEngine* engine, CEngineSet* set, WorkerMode mode,
                              bool debugRun) {
  if (StopOrClose()) return false;
  auto* job = new WorkerJob;
  job->run = this;
  job->engine = engine;
  job->set = set;
  job->term = static_cast<LPCSTR>(set->GetName());
  job->mode = mode;
  job->meter = GetMeter();
  job->debugRun = debugRun;
  if (m_workers.StartWorker(WorkerProc, job)) return true;
  delete job;  // a worker that cannot be made is skipped; the run goes on
  return false;
}

UINT __cdecl CRunControl::WorkerProc(LPVOID param) {
  std::unique_ptr<WorkerJob> job(static_cast<WorkerJob*>(param));
  WorkerBody body = g_body.load();
  (body ? body : RunEngineWorker)(*job);
  return 0;
}

void CRunControl::RunEngineWorker(WorkerJob& job) {
  CRunControl& run = *job.run;
  CSearchEngine& engine = *job.engine;
  engine.m_urlToFind = run.m_settings.site;
  engine.SetCallbackRange(kEngineEventFirst, kEngineEventLast);
  engine.SetCallback(EngineEventCallback, 0);
  engine.SetBandwidthMeter(job.meter.get());
  ApplyProxySettings(engine);
  engine.OnBegin();
  if (job.mode != WorkerMode::Submit)
    engine.RunQuery(job.term, run.m_settings.maxResults, run.m_settings.timeout);
  bool submit = job.mode != WorkerMode::Query;
  if (submit && job.mode == WorkerMode::QuerySubmit)
    submit = run.SubmissionDue(engine, *job.set, CDate::Today());
  if (submit) engine.Submit(run.m_doc.m_profile);
  engine.OnEnd();
}

bool CRunControl::EngineEventCallback(CSock* sock, int code, uintptr_t data, uintptr_t user) {
  CRunControl* run = s_active.load();
  if (!run) return true;
  return run->OnEngineEvent(static_cast<CSearchEngine*>(sock), code, data,
                            static_cast<uint32_t>(user));
}

bool CRunControl::OnEngineEvent(CSearchEngine* sender, int code, uintptr_t data, uint32_t user) {
  bool answer = true;
  // The reports and the saved document read each result's match flag. The engine's own worker
  // sets them as its query ends, before anyone hears of the end: the engine list only sees the
  // engines of the current set, and the walk may have moved on to the next set by then.
  if (code == kEngineQueryEnd && sender) FlagSiteResults(*sender);
  switch (code) {
    case kEngineIdle:
    case kEngineBegin:
      break;
    case kEngineEnd:
      if (user != kRunFinishUser) BroadcastUpdate(HINT_PROGRESS_STEP, 0);
      if (m_debugRun) EndRun();
      break;
    case kEngineRunFinished:
      EndRun();
      break;
    default:
      if (code == kEngineResultFound && m_settings.stopSearch && sender && data &&
          Matches(*sender, data))
        answer = false;  // the site is found: the engine need not read further
      BroadcastItem(new CUpdateItem(sender, code, data, user));
  }
  if (sender && StopOrClose()) sender->Abort();
  return answer;
}

void CRunControl::FlagSiteResults(CSearchEngine& engine) {
  CSearchResult first;
  FindMatchingResult(engine, first, m_settings.site, m_settings.restrict);
}

bool CRunControl::Matches(CSearchEngine& engine, uintptr_t record) {
  return ResultMatchesUrls(engine, *reinterpret_cast<CSearchResult*>(record), m_settings.site,
                           m_settings.restrict);
}

bool CRunControl::SubmissionDue(CSearchEngine& engine, CEngineSet& startedFor, int32_t today) {
  CString name = engine.m_name.c_str();
  // A worker does not add cache entries: the map belongs to the user-interface thread, and a
  // missing entry means "not excluded" just as a zero one does.
  if (m_doc.IsEngineExcluded(name)) return false;
  m_setsLock.Lock();
  bool due = true;
  for (POSITION position = m_doc.m_manager.GetHeadPosition(); due && position;) {
    CEngineSet* set = m_doc.m_manager.GetNext(position);
    if (!set->m_active) continue;
    CSearchEngine* same = set->FindEngine(engine.m_name);
    if (!same) continue;
    due = same->CanSubmit() &&
          runrules::IntervalAllowsSubmit(same->m_lastSubmitDate, m_settings.limitTo, today);
  }
  if (due) {
    CSearchResult found;
    CSearchEngine* mine = startedFor.FindEngine(engine.m_name);
    if (mine && FindMatchingResult(*mine, found, m_settings.site, m_settings.restrict) == 1)
      due = runrules::RankAllowsSubmit(m_settings.submitWhen, found.m_index, found.m_page,
                                       m_settings.submitRanking, m_settings.submitPageNo);
  }
  m_setsLock.Unlock();
  return due;
}
