// Runs of the document with workers that stand in for engines: the walks over sets and engines,
// stop and close during a run, test mode, the worker limit, the hints at the windows, and the
// failures of the system calls a run depends on.
#include "app/run/RunControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "app/program/NQCommandLineInfo.h"
#include "app/settings/SearchProperties.h"
#include "app/program/ZubrinAppLog.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/tests/AppTestSupport.h"
#include "app/tests/RunTestSupport.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "engines/db/SearchResult.h"

namespace {

// What the stand-in workers saw.
struct WorkLog {
  struct Entry {
    std::string engine, term, currentTerm;
    WorkerMode mode;
  };
  std::mutex mutex;
  std::vector<Entry> entries;
  std::atomic<int> active{0}, most{0};
  // The user stops, or closes the window, in the pause before the n-th worker.
  std::atomic<int> stopAtPause{-1};
  std::atomic<int> closeAtPause{-1};
  std::atomic<int> pauses{0};
  unsigned workMs = 30;
  CRunControl* run = nullptr;
};
WorkLog* g_log = nullptr;

void FakeWorker(WorkerJob& job) {
  int now = ++g_log->active;
  int most = g_log->most;
  while (now > most && !g_log->most.compare_exchange_weak(most, now)) {
  }
  {
    std::lock_guard<std::mutex> lock(g_log->mutex);
    CEngineSet* current = job.run->Document().m_currentSet;
    g_log->entries.push_back({job.engine->m_name.c_str(), job.term.c_str(),
                              current ? static_cast<LPCSTR>(current->GetName()) : "", job.mode});
  }
  Sleep(g_log->workMs);
  --g_log->active;
  job.run->OnEngineEvent(job.engine, kEngineEnd, 0, 0);
}

void CountedPause(unsigned) {
  int pause = ++g_log->pauses;
  if (pause == g_log->stopAtPause) g_log->run->Stop();
  if (pause == g_log->closeAtPause) g_log->run->DeferClose();
}

CWinThread* NoThread(AFX_THREADPROC, LPVOID, int, UINT, DWORD, LPSECURITY_ATTRIBUTES) {
  return nullptr;
}
DWORD FailedWait(DWORD, const HANDLE*, BOOL, DWORD) {
  return WAIT_FAILED;
}
int QuietEngineBox(HWND, const char*, const char*, unsigned) {
  return IDOK;
}

class RunControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log = &log;
    SetEngineMessageBox(QuietEngineBox);
    apptest::WriteBytes(folder.File("engines.dat"),
                        "[Alpha]\nenabled=1\nsubmit=http://127.0.0.1:9/add?u=#URL#\n\n"
                        "[beta]\nenabled=1\nsubmit=http://127.0.0.1:9/add?u=#URL#\n\n"
                        "[Delta]\nenabled=1\n\n"
                        "[Gamma]\nenabled=1\n\n[Epsilon]\nenabled=1\n");
    SetEngineDataFolder(folder.Path().c_str());
    saved = GetSearchProperties();
    // One worker at a time, so that the workers log in starting order; the limit test raises it.
    GetSearchProperties().m_nMaxThreads = 1;
    GetSearchProperties().m_nConnectionManagement = 0;
    GetSearchProperties().m_nKeywordAlert = 1;
    CRunControl::SetWorkerBody(FakeWorker);
    CRunControl::SetSleepFunction(CountedPause);
    doc = std::make_unique<CZubrinDoc>();
    ASSERT_TRUE(doc->OnNewDocument());
    doc->SetRunViews(&views);
    log.run = &doc->GetRunControl();
    doc->m_siteUrl = "http://www.zb-testsite.com/";
    doc->m_lastRunUrl = "http://earlier.example/";
  }
  void TearDown() override {
    doc.reset();
    CRunControl::SetWorkerBody(nullptr);
    CRunControl::SetSleepFunction(nullptr);
    CWorkerManager::SetSystemFunctions(nullptr, nullptr);
    SetCommandLineInfo(nullptr);
    GetSearchProperties() = saved;
    SetEngineDataFolder("");
    SetEngineMessageBox(nullptr);
    g_log = nullptr;
  }

  // Names the first set and adds more; each flag says whether the set is active.
  void MakeSets(const std::vector<std::pair<const char*, int>>& sets) {
    doc->m_currentSet->m_name = sets[0].first;
    doc->m_currentSet->m_active = sets[0].second;
    for (size_t i = 1; i < sets.size(); ++i)
      doc->m_manager.AddSet(new CEngineSet(&doc->m_database, sets[i].second, sets[i].first));
  }
  void SetCommandLine(bool testMode, bool automated) {
    auto* line = new NQCommandLineInfo("");
    line->m_bTestMode = testMode;
    line->m_bAutomated = automated;
    SetCommandLineInfo(line);
  }
  // Delivers the hints until the run is over and its thread gone.
  bool AwaitEnd() {
    CRunControl& run = doc->GetRunControl();
    for (int i = 0; i < 1000; ++i) {
      window.Pump();
      if (!run.IsRunning() && run.WaitForRunThread(0)) {
        window.Pump();
        return true;
      }
      Sleep(10);
    }
    return false;
  }
  std::vector<std::string> Column(std::string WorkLog::Entry::*field) {
    std::vector<std::string> out;
    for (auto& e : log.entries) out.push_back(e.*field);
    return out;
  }
  std::vector<WorkerMode> Modes() {
    std::vector<WorkerMode> out;
    for (auto& e : log.entries) out.push_back(e.mode);
    return out;
  }

  WorkLog log;
  apptest::TempFolder folder;
  apptest::FakeRunViews views;
  apptest::HintWindow window;
  CSearchProperties saved;
  std::unique_ptr<CZubrinDoc> doc;
};

using Names = std::vector<std::string>;

// Check-all walks the active sets from the current one, engines in name order without regard
// to case; each worker queries the term of the set it was started for, although the run has
// moved the current set on by the time the slow workers of a set run.
TEST_F(RunControlTest, CheckAllWalksActiveSetsAndKeepsEachWorkersTerm) {
  MakeSets({{"red", 1}, {"green", 0}, {"blue", 1}});
  doc->m_currentSet->FindEngine("Gamma")->m_enabled = 0;
  log.workMs = 10;
  doc->OnCheckAll();
  ASSERT_TRUE(AwaitEnd());
  const Names engines = {"Alpha", "beta", "Delta", "Epsilon"};
  Names expectEngines = engines;
  expectEngines.insert(expectEngines.end(), {"Alpha", "beta", "Delta", "Epsilon", "Gamma"});
  EXPECT_EQ(Column(&WorkLog::Entry::engine), expectEngines);
  Names terms(4, "red");
  terms.insert(terms.end(), 5, "blue");
  EXPECT_EQ(Column(&WorkLog::Entry::term), terms);
  EXPECT_EQ(doc->GetSearchTerm(), CString("blue"));  // the last set visited stays current
  EXPECT_EQ(doc->m_lastRunUrl, doc->m_siteUrl);
  EXPECT_EQ(views.progressTotal, 8u);  // 4 enabled in the current set x 2 active sets
  EXPECT_EQ(views.progressCaption, static_cast<UINT>(IDS_RUN_CHECK_CAPTION));
  std::vector<UINT> hints = window.RunHints();
  EXPECT_EQ(std::count(hints.begin(), hints.end(), 131u), 9);
  hints.erase(std::remove(hints.begin(), hints.end(), 131u), hints.end());
  EXPECT_EQ(hints, (std::vector<UINT>{120, 143, 120, 143, 122}));
  EXPECT_EQ(doc->GetRunControl().GetMeter(), nullptr);
}

// Submission with the check applies to the last active set only, and the setting is the
// user's again after the run, however it ended.
TEST_F(RunControlTest, SubmitWithCheckOnlyInTheLastActiveSet) {
  struct Case {
    const char* what;
    int submitAuto;
    int stopAtPause;
    std::vector<WorkerMode> modes;
  } cases[] = {
      {"off", 0, -1, std::vector<WorkerMode>(15, WorkerMode::Query)},
      {"on", 1, -1, {}},
      {"on, stopped in the first set", 1, 3, {WorkerMode::Query, WorkerMode::Query}},
  };
  cases[1].modes.assign(10, WorkerMode::Query);
  cases[1].modes.insert(cases[1].modes.end(), 5, WorkerMode::QuerySubmit);
  MakeSets({{"one", 1}, {"two", 1}, {"three", 1}});
  log.workMs = 5;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    log.entries.clear();
    log.pauses = 0;
    log.stopAtPause = c.stopAtPause;
    doc->m_currentSet = doc->m_manager.GetFirstSet();
    doc->m_submitAuto = c.submitAuto;
    doc->OnCheckAll();
    ASSERT_TRUE(AwaitEnd());
    EXPECT_EQ(Modes(), c.modes);
    EXPECT_EQ(doc->m_submitAuto, c.submitAuto);
  }
}

// A stop ends the walk: no worker starts after it, the document is idle again, the set
// reached stays current and the address of the last completed run is kept.
TEST_F(RunControlTest, StopMidRunEndsTheWalk) {
  MakeSets({{"one", 1}, {"two", 1}});
  log.stopAtPause = 8;
  log.workMs = 20;
  doc->OnCheckAll();
  ASSERT_TRUE(AwaitEnd());
  EXPECT_EQ(log.entries.size(), 7u);
  EXPECT_EQ(doc->GetSearchTerm(), CString("two"));
  EXPECT_EQ(doc->m_lastRunUrl, CString("http://earlier.example/"));
  EXPECT_FALSE(doc->GetRunControl().IsStopRequested());
  EXPECT_EQ(window.RunHints().back(), 122u);
  EXPECT_EQ(views.closes, 0);
}

// A close asked for during the run waits for its end and then happens once; once the run is
// over a close is no longer deferred.
TEST_F(RunControlTest, ClosePendingClosesOnceAtTheEnd) {
  MakeSets({{"one", 1}});
  log.closeAtPause = 3;
  doc->OnCheckAll();
  ASSERT_TRUE(AwaitEnd());
  EXPECT_EQ(log.entries.size(), 2u);
  EXPECT_EQ(views.closes, 1);
  EXPECT_FALSE(doc->GetRunControl().IsClosePending());
  EXPECT_FALSE(doc->GetRunControl().DeferClose());
  EXPECT_EQ(window.RunHints(), (std::vector<UINT>{120, 143, 131, 131, 122}));
}

// How a run that was not stopped ends by the command line: test mode with 123 (and the
// document idle, the meter gone), an automated run with 124.
TEST_F(RunControlTest, EndHintsByCommandLine) {
  struct Case {
    const char* what;
    bool testMode, automated;
    std::vector<UINT> tail;
  } cases[] = {
      {"interactive", false, false, {131, 122}},
      {"test mode", true, false, {131, 122, 123}},
      {"automated", false, true, {131, 122, 124}},
      {"automated test mode", true, true, {131, 122, 123}},
  };
  MakeSets({{"one", 1}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetCommandLine(c.testMode, c.automated);
    window.hints.clear();
    doc->OnCheckCurrent();
    ASSERT_TRUE(AwaitEnd());
    std::vector<UINT> hints = window.RunHints();
    ASSERT_GE(hints.size(), c.tail.size());
    EXPECT_EQ(std::vector<UINT>(hints.end() - c.tail.size(), hints.end()), c.tail);
    EXPECT_FALSE(doc->GetRunControl().IsRunning());
    EXPECT_EQ(doc->GetRunControl().GetMeter(), nullptr);
  }
}

// Never more workers at once than the limit allows; with the limit of one they run in turn.
TEST_F(RunControlTest, NeverMoreWorkersThanTheLimit) {
  struct Case {
    int maxThreads;
    int most;
  } cases[] = {{0, 1}, {1, 1}, {2, 2}, {3, 3}};
  MakeSets({{"one", 1}, {"two", 1}});
  log.workMs = 40;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.maxThreads);
    GetSearchProperties().m_nMaxThreads = c.maxThreads;
    log.entries.clear();
    log.most = 0;
    doc->m_currentSet = doc->m_manager.GetFirstSet();
    doc->OnCheckAll();
    ASSERT_TRUE(AwaitEnd());
    EXPECT_EQ(log.entries.size(), 10u);
    EXPECT_LE(log.most, c.most);
    if (c.most > 1) {
      EXPECT_GT(log.most, 1);  // and they do run side by side
    }
  }
}

// The selected rows are taken in the view's order, whether enabled or not, in the mode of the
// command; an unknown name is passed over.
TEST_F(RunControlTest, SelectedEnginesRunInViewOrder) {
  MakeSets({{"one", 1}});
  doc->m_currentSet->FindEngine("Gamma")->m_enabled = 0;
  views.selected = {"Gamma", "Alpha", "Nowhere", "Delta"};
  log.workMs = 5;
  doc->OnCheckSelected();
  ASSERT_TRUE(AwaitEnd());
  EXPECT_EQ(Column(&WorkLog::Entry::engine), (Names{"Gamma", "Alpha", "Delta"}));
  EXPECT_EQ(Modes(), std::vector<WorkerMode>(3, WorkerMode::Query));
  EXPECT_EQ(views.progressTotal, 4u);
  log.entries.clear();
  doc->OnSubmitSelected();
  ASSERT_TRUE(AwaitEnd());
  EXPECT_EQ(Modes(), std::vector<WorkerMode>(3, WorkerMode::Submit));
  EXPECT_EQ(views.progressCaption, static_cast<UINT>(IDS_RUN_SUBMIT_CAPTION));
}

// The keyword alert asks before a check; No leaves everything as it was.
TEST_F(RunControlTest, KeywordAlertAnsweredNoStartsNothing) {
  MakeSets({{"one two three four", 1}});
  views.answer = IDNO;
  doc->OnCheckCurrent();
  EXPECT_EQ(views.asked, (std::vector<UINT>{IDS_RUN_TOO_MANY_WORDS}));
  EXPECT_FALSE(doc->GetRunControl().IsRunning());
  EXPECT_EQ(views.begins, 0);
  views.answer = IDYES;
  doc->OnCheckCurrent();
  ASSERT_TRUE(AwaitEnd());
  EXPECT_EQ(log.entries.size(), 5u);
}

// A run thread the system refuses leaves the document idle with the progress ended and the
// user told; a wait that fails ends the run with an error instead of spinning.
TEST_F(RunControlTest, SystemFailuresEndTheRun) {
  MakeSets({{"one", 1}});
  CWorkerManager::SetSystemFunctions(NoThread, nullptr);
  doc->OnCheckCurrent();
  EXPECT_FALSE(doc->GetRunControl().IsRunning());
  EXPECT_EQ(views.ends, 1);
  ASSERT_EQ(views.failures.size(), 1u);
  EXPECT_EQ(views.failures[0], RunFailure::RunThreadNotStarted);
  EXPECT_EQ(doc->GetRunControl().GetMeter(), nullptr);

  CWorkerManager::SetSystemFunctions(nullptr, FailedWait);
  GetSearchProperties().m_nMaxThreads = 1;
  log.workMs = 200;
  doc->OnCheckCurrent();
  ASSERT_TRUE(AwaitEnd());
  CWorkerManager::SetSystemFunctions(nullptr, nullptr);
  EXPECT_LE(log.entries.size(), 1u);
  ASSERT_EQ(views.failures.size(), 2u);
  EXPECT_EQ(views.failures[1], RunFailure::WaitFailed);
  EXPECT_EQ(window.RunHints().back(), 122u);
  EXPECT_TRUE(doc->GetRunControl().Workers().WaitForWorkers(0));
}

}  // namespace

namespace {

// What each engine event becomes at the windows, and the abort of an engine once the user
// stopped or closed.
TEST_F(RunControlTest, EngineEventsBecomeHintsAndStopAbortsTheEngine) {
  CRunControl& run = doc->GetRunControl();
  struct Case {
    int code;
    bool stopped;
    std::vector<UINT> hints;
    bool aborted;
  } cases[] = {
      {kEngineIdle, false, {}, false},
      {kEngineBegin, false, {}, false},
      {kEngineConnected, false, {141}, false},
      {kEngineReceiveProgress, false, {141}, false},
      {kEngineEnd, false, {131}, false},
      {kEngineIdle, true, {}, true},
      {kEngineConnected, true, {141}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.code << (c.stopped ? " stopped" : ""));
    CSearchEngine engine;
    engine.m_name = "Alpha";
    doc->m_stop = c.stopped ? 1 : 0;
    window.hints.clear();
    uint32_t figures[2] = {10, 20};
    uintptr_t data = c.code == kEngineReceiveProgress ? reinterpret_cast<uintptr_t>(figures) : 0;
    EXPECT_TRUE(run.OnEngineEvent(&engine, c.code, data, 0));
    window.Pump();
    std::vector<UINT> hints;
    for (const auto& h : window.hints) hints.push_back(h.hint);
    EXPECT_EQ(hints, c.hints);
    EXPECT_EQ(engine.IsAborted(), c.aborted);
  }
  doc->m_stop = 0;
  EXPECT_EQ(CUpdateItem::LiveCount(), 0);
}

// The rate pane may hold the run's meter past the end of the run: the run lets go of it, the
// holder's copy stays valid.
TEST_F(RunControlTest, AMeterHeldByTheWindowsOutlivesTheRun) {
  MakeSets({{"one", 1}});
  log.workMs = 50;
  doc->OnCheckCurrent();
  std::shared_ptr<CBandwidthMeter> held = doc->GetRunControl().GetMeter();
  ASSERT_NE(held, nullptr);
  ASSERT_TRUE(AwaitEnd());
  EXPECT_EQ(doc->GetRunControl().GetMeter(), nullptr);
  held->AddReceived(100);
  BandwidthStats stats{};
  held->GetStats(&stats, true);
  EXPECT_EQ(stats.received, 100u);
}

}  // namespace

namespace {

// The resubmission policy: the engine's exclusion, its submission test and interval in every
// active set, and the rank rule on the results of the set the worker was started for.
TEST_F(RunControlTest, ResubmissionPolicy) {
  const int today = 60000;
  struct Case {
    const char* what;
    const char* engine;
    bool excluded;
    int lastHere, lastOther;  // days before today of the last submission; 0 = never
    int otherActive;
    int siteIndex;  // zero-based index of the site among the results; -1 not listed
    int submitWhen;
    bool due;
  } cases[] = {
      {"never submitted, not listed", "Alpha", false, 0, 0, 1, -1, 0, true},
      {"excluded", "Alpha", true, 0, 0, 1, -1, 0, false},
      {"cannot submit", "Delta", false, 0, 0, 1, -1, 0, false},
      {"too recent here", "Alpha", false, 3, 0, 1, -1, 0, false},
      {"too recent in another active set", "beta", false, 0, 3, 1, -1, 0, false},
      {"too recent only in an inactive set", "beta", false, 0, 3, 0, -1, 0, true},
      {"interval over everywhere", "Alpha", false, 8, 20, 1, -1, 0, true},
      {"listed within the ranking", "Alpha", false, 0, 0, 1, 2, 0, false},
      {"listed below the ranking", "Alpha", false, 0, 0, 1, 12, 0, true},
      {"listed on the first page, page mode", "Alpha", false, 0, 0, 1, 2, 1, false},
      {"listed, mode that always submits", "Alpha", false, 0, 0, 1, 2, 2, true},
  };
  MakeSets({{"one", 1}, {"two", 1}});
  doc->m_limitTo = 1;  // seven days
  doc->m_submitRanking = 10;
  doc->m_submitPageNo = 1;
  CEngineSet* here = doc->m_manager.GetFirstSet();
  CEngineSet* other = doc->m_manager.GetNextSet(here);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    doc->m_submitWhen = c.submitWhen;
    doc->ResetEngineCache();
    doc->FindEngineCache(c.engine)->m_excluded = c.excluded ? 1 : 0;
    other->m_active = c.otherActive;
    here->RecloneEnabledEngines("", 0);
    other->RecloneEnabledEngines("", 0);
    CSearchEngine* engine = here->FindEngine(c.engine);
    engine->m_lastSubmitDate = c.lastHere ? today - c.lastHere : 0;
    other->FindEngine(c.engine)->m_lastSubmitDate = c.lastOther ? today - c.lastOther : 0;
    for (int i = 0; i <= c.siteIndex; ++i) {
      CSearchResult result;
      result.m_index = i;
      result.m_page = i / 10;
      result.m_text = i == c.siteIndex ? "www.zb-testsite.com/ The site" : "www.other.example/";
      engine->AddResult(result);
    }
    CRunControl& run = doc->GetRunControl();
    run.ReadSettings();
    EXPECT_EQ(run.SubmissionDue(*engine, *here, today), c.due);
  }
}

}  // namespace

namespace {

// A debug run checks the one engine of the debug options for their term and site, without a
// run thread; the end of that engine ends the run.
TEST_F(RunControlTest, DebugRunChecksTheOneEngineAndEndsWithIt) {
  MakeSets({{"one", 1}});
  std::string options = folder.File("options.txt");
  apptest::WriteBytes(options,
                      "engine=Delta\nurltofind=http://dbg.example/\nsearchterms=debug words\n");
  SetCommandLineInfo(new NQCommandLineInfo(("/debug_opt \"" + options + "\"").c_str()));
  doc->OnDebugRun();
  ASSERT_TRUE(AwaitEnd());
  ASSERT_EQ(log.entries.size(), 1u);
  EXPECT_EQ(log.entries[0].engine, "Delta");
  EXPECT_EQ(log.entries[0].term, "debug words");
  EXPECT_EQ(doc->m_siteUrl, CString("http://dbg.example/"));
  EXPECT_EQ(views.progressTotal, 1u);
  // The debug switch runs without questions, so the end is the automated one.
  EXPECT_EQ(window.RunHints(), (std::vector<UINT>{131, 122, 124}));
  EXPECT_TRUE(doc->GetRunControl().Workers().WaitForWorkers(0));
}

// A debug run whose engine the current term lacks ends the program with the reason logged,
// rather than leaving a window open that nobody watches.
TEST_F(RunControlTest, DebugRunOfAnUnknownEngineLogsAndEndsOnce) {
  MakeSets({{"one", 1}});
  std::string options = folder.File("options.txt");
  apptest::WriteBytes(options, "engine=NoSuchEngine\nurltofind=http://dbg.example/\n");
  SetCommandLineInfo(new NQCommandLineInfo(("/debug_opt \"" + options + "\"").c_str()));
  CZubrinDoc::ResetAutomatedEnd();
  CZubrinAppLog::Open(folder.File("site.zbp").c_str());
  doc->OnDebugRun();
  doc->OnDebugRun();  // a second start is no second line
  EXPECT_FALSE(doc->GetRunControl().IsRunning());
  EXPECT_TRUE(log.entries.empty());
  EXPECT_TRUE(CZubrinDoc::AutomatedEndReached());
  std::string text = apptest::ReadBytes(folder.File("site.log"));
  EXPECT_NE(text.find("no engine named \"NoSuchEngine\""), std::string::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
  CZubrinAppLog::Reset();
  CZubrinDoc::ResetAutomatedEnd();
}

// The daily update check keeps the messages going while it waits: the commands that reach
// the document meanwhile must neither start a second run inside the check nor destroy the
// document under it. The close waits for the check's end and then goes to the window.
struct CheckDuringCheck {
  CRunControl* run = nullptr;
  bool secondStart = true, debugStart = true, closeDeferred = false, disabled = false;
  bool saveAsked = false;
  bool closeIt = false;
};
CheckDuringCheck* g_check = nullptr;

bool CheckThatIsUsedMeanwhile(CZubrinDoc& doc, IUpdateViews&, bool, bool) {
  g_check->secondStart = g_check->run->Start(CRunControl::Kind::CheckAll);
  g_check->debugStart = g_check->run->StartDebugRun();
  g_check->disabled = !doc.GetRunCommandUi(ID_RUN_CHECK_ALL).enabled;
  // The check may start the update program, which asks to save the document first.
  g_check->saveAsked = doc.SaveModified() != FALSE;
  if (g_check->closeIt) g_check->closeDeferred = g_check->run->DeferWindowClose();
  return false;
}

TEST_F(RunControlTest, TheUpdateCheckRefusesASecondStartAndCarriesOutACloseAfterwards) {
  MakeSets({{"one", 1}});
  struct Case {
    const char* what;
    bool closeIt;
    bool runs;
  } cases[] = {
      {"nothing else asked", false, true},
      {"the window closed meanwhile", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CheckDuringCheck check;
    check.run = &doc->GetRunControl();
    check.closeIt = c.closeIt;
    g_check = &check;
    log.entries.clear();
    views.closes = 0;
    doc->SetModifiedFlag(FALSE);  // the save question then needs no answer
    CRunControl::SetPendingUpdateCheck(CheckThatIsUsedMeanwhile);
    const bool started = doc->GetRunControl().Start(CRunControl::Kind::CheckAll);
    CRunControl::SetPendingUpdateCheck(nullptr);
    g_check = nullptr;
    EXPECT_FALSE(check.secondStart);
    EXPECT_FALSE(check.debugStart);
    EXPECT_TRUE(check.disabled) << "the run commands are off during the check";
    EXPECT_TRUE(check.saveAsked) << "the update program's save question is not refused";
    EXPECT_EQ(check.closeDeferred, c.closeIt);
    EXPECT_EQ(started, c.runs);
    ASSERT_TRUE(AwaitEnd());
    EXPECT_EQ(log.entries.size(), c.runs ? 5u : 0u) << "one run of the five engines, or none";
    EXPECT_EQ(views.closes, c.closeIt ? 1 : 0);
    EXPECT_FALSE(doc->GetRunControl().IsClosePending());
    EXPECT_FALSE(doc->GetRunControl().IsCheckingUpdate());
  }
}

}  // namespace
