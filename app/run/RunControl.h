// CRunControl: the checks and submissions of the document. A command prepares the run on the
// user-interface thread and starts one run thread, which walks the sets and engines, throttles
// the workers it starts through the worker manager and ends the run. Engine events of the
// workers come back here and go on to the registered windows.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/run/RunViews.h"
#include "app/run/WorkerManager.h"
#include "foundation/net/BandwidthMeter.h"
#include "foundation/core/LibString.h"
#include "framework/threads/CriticalSection.h"

class CEngineSet;
class CSearchEngine;
class CSock;
class CZubrinDoc;

enum class WorkerMode { Query, QuerySubmit, Submit };

// What a run reads of the settings and the command line, copied when it starts so that the
// run and worker threads never read what the user-interface thread may be writing.
struct RunSettings {
  int maxThreads = 4;
  bool connectionManagement = true;
  double threadKB = 1.2;
  bool stopSearch = true;
  int restrict = 0;
  int maxResults = 50;
  int timeout = 60;
  bool automated = false;
  bool debug = false;
  bool testMode = false;
  int32_t submitWhen = 0, submitRanking = 10, submitPageNo = 1, limitTo = 3;
  CLibString site;
};
RunSettings ReadRunSettings(const CZubrinDoc& doc);

class CRunControl;

// One engine's work, handed to its worker thread. It keeps the set and the search term the
// worker was started for, whatever set is current by the time the worker runs.
struct WorkerJob {
  CRunControl* run = nullptr;
  CSearchEngine* engine = nullptr;
  CEngineSet* set = nullptr;
  CLibString term;
  WorkerMode mode = WorkerMode::Query;
  std::shared_ptr<CBandwidthMeter> meter;  // keeps the meter alive while the worker runs
  bool debugRun = false;
};

class CRunControl {
 public:
  enum class Kind { CheckAll, CheckSelected, CheckCurrent, SubmitCurrent, SubmitSelected };

  CRunControl(CZubrinDoc& doc, IRunViews* views);
  ~CRunControl();
  CRunControl(const CRunControl&) = delete;
  CRunControl& operator=(const CRunControl&) = delete;

  void SetViews(IRunViews* views) { m_views = views; }
  IRunViews* Views() const { return m_views.load(); }
  // Runs the pre-checks and starts the run; false when none started.
  bool Start(Kind kind);
  bool StartDebugRun();
  void Stop();
  // The main window asks to close: true when a run is on and the close waits for its end.
  bool DeferClose();
  // The same for the main window's own close, which also waits for the update check.
  bool DeferWindowClose();
  // Blocks until the run thread has ended (tests and the document's end); false on time-out.
  bool WaitForRunThread(DWORD milliseconds);

  bool IsRunning() const;
  // The daily update check before a start is under way: its wait keeps the messages going, so
  // the window's commands reach the document meanwhile.
  bool IsCheckingUpdate() const { return m_checkingUpdate; }
  bool IsStopRequested() const;
  bool IsClosePending() const;

  // The meter of the current run, or null; the holder may read it after the run ended.
  std::shared_ptr<CBandwidthMeter> GetMeter();
  static time_t GetRunStartTime() { return s_runStart.load(); }

  // The resubmission policy, asked by a query-and-submit worker.
  bool SubmissionDue(CSearchEngine& engine, CEngineSet& startedFor, int32_t today);
  // Engine events of every engine of a run, on the raising thread; false aborts the engine.
  bool OnEngineEvent(CSearchEngine* sender, int code, uintptr_t data, uint32_t user);
  static bool EngineEventCallback(CSock* sock, int code, uintptr_t data, uintptr_t user);

  const RunSettings& Settings() const { return m_settings; }
  // Takes the settings and the document's rules for the next run; a start does it itself.
  void ReadSettings() {
    if (!IsRunning()) m_settings = ReadRunSettings(m_doc);
  }
  CZubrinDoc& Document() { return m_doc; }
  CWorkerManager& Workers() { return m_workers; }

  // Seams for tests: the pause before each worker, and the body that drives one engine.
  using SleepFn = void (*)(unsigned milliseconds);
  using WorkerBody = void (*)(WorkerJob& job);
  static void SetSleepFunction(SleepFn sleep);
  static void SetWorkerBody(WorkerBody body);
  static void RunEngineWorker(WorkerJob& job);  // the product's body
  // The daily update check before a run; true when the run must not start. Tests replace it.
  using PendingUpdateFn = bool (*)(CZubrinDoc& doc, IUpdateViews& views, bool automated,
                                   bool debug);
  static void SetPendingUpdateCheck(PendingUpdateFn check);
  static constexpr unsigned kWorkerStartPause = 250;

 private:
  struct RunPlan {
    Kind kind;
    std::vector<CString> selected;
    CRunControl* run;
  };
  bool PreChecks(Kind kind, const std::vector<CString>& selected);
  bool MissingValuesConfirmed(Kind kind, const std::vector<CString>& selected);
  bool KeywordsConfirmed();
  UINT ProgressTotal(Kind kind, const std::vector<CString>& selected) const;
  void PrepareRun(Kind kind);
  bool StartRunThread(RunPlan* plan);
  static UINT __cdecl RunThreadProc(LPVOID param);
  void Walk(const RunPlan& plan);
  void WalkAllSets();
  bool WalkSet(CEngineSet* set, WorkerMode mode, int& limit);
  void WalkSelected(const std::vector<CString>& names, WorkerMode mode, int& limit);
  bool EngineStep(CSearchEngine* engine, CEngineSet* set, WorkerMode mode, int& limit);
  bool StartWorker(CSearchEngine* engine, CEngineSet* set, WorkerMode mode, bool debugRun);
  static UINT __cdecl WorkerProc(LPVOID param);
  void FinishWalk(bool copySite);
  void EndRun();
  bool StopOrClose() const;
  CEngineSet* CurrentSet() const;
  void SetCurrentSet(CEngineSet* set);
  int32_t SubmitAuto() const;
  void SetSubmitAuto(int32_t value);
  void Reclone(CEngineSet* set);
  bool Matches(CSearchEngine& engine, uintptr_t record);
  void FlagSiteResults(CSearchEngine& engine);

  CZubrinDoc& m_doc;
  std::atomic<IRunViews*> m_views;  // the run thread reads it; the windows may go first
  RunSettings m_settings;
  CWorkerManager m_workers;
  CWinThread* m_runThread = nullptr;
  std::atomic<bool> m_waitFailed{false};
  // The daily update check before a start; true when the run must not start.
  bool UpdateBeforeRun();
  std::atomic<bool> m_debugRun{false};
  bool m_checkingUpdate = false;  // user-interface thread only
  // Held while the end of a run reads and clears the flags and while a close is deferred, so a
  // close asked for at the very end is either seen by the end or closes at once: never lost.
  CCriticalSection m_endLock;
  // Held while a set's engines are replaced and while the policy reads the sets.
  CCriticalSection m_setsLock;
  CCriticalSection m_meterLock;
  std::shared_ptr<CBandwidthMeter> m_meter;
  static std::atomic<time_t> s_runStart;
  static std::atomic<PendingUpdateFn> s_pendingUpdate;
  static std::atomic<CRunControl*> s_active;
};
