// The run's rules without threads: worker limits, keyword alerts, resubmission intervals and
// rank modes, and command enabling.
#include "app/run/RunRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/run/RunCommands.h"

using namespace runrules;

namespace {

// The limit a run starts with and the count of workers below which the next one may start;
// MaxThreads beyond what one wait can watch is bounded in both modes.
TEST(RunRulesTest, ThreadLimitsFollowMaxThreadsAndConnectionManagement) {
  struct Case {
    int maxThreads;
    bool managed;
    int initial;
    int threshold;  // for the initial limit
  } cases[] = {
      {0, false, 1, 1},    {1, false, 1, 1},  {4, false, 4, 4},     {64, false, 64, 64},
      {500, false, 64, 64}, {-3, false, 1, 1}, {0, true, 3, 3},       {2, true, 3, 3},
      {4, true, 4, 4},     {16, true, 16, 16}, {1000, true, 64, 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.maxThreads << (c.managed ? " managed" : " fixed"));
    int limit = InitialThreadLimit(c.maxThreads, c.managed);
    EXPECT_EQ(limit, c.initial);
    EXPECT_EQ(WorkerWaitThreshold(limit, c.maxThreads, c.managed), c.threshold);
  }
  // Under connection management a low rate limit never drops below three workers (or
  // MaxThreads when that is lower).
  EXPECT_EQ(WorkerWaitThreshold(1, 8, true), 3);
  EXPECT_EQ(WorkerWaitThreshold(1, 2, true), 2);
  EXPECT_EQ(WorkerWaitThreshold(32, 2, true), 32);
}

// About ThreadKB kilobytes per second per worker, within 4..32; a ThreadKB that cannot divide
// gives the upper bound instead of a division by zero.
TEST(RunRulesTest, RateLimitSharesTheReceiveRate) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    uint32_t rate;
    double threadKB;
    int limit;
  } cases[] = {
      {0, 1.2, 4},          {1, 1.2, 4},           {200 * 1024, 1.2, 32}, {10 * 1024, 1.0, 10},
      {10 * 1024 + 1023, 1.0, 10}, {5 * 1024, 1.0, 5}, {3 * 1024, 1.0, 4},  {0xFFFFFFFFu, 0.001, 32},
      {50 * 1024, 0.0, 32}, {50 * 1024, -2.0, 32}, {50 * 1024, nan, 32},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rate << " B/s, " << c.threadKB << " KB");
    EXPECT_EQ(RateThreadLimit(c.rate, c.threadKB), c.limit);
  }
}

TEST(RunRulesTest, KeywordAlertWarnsOfLongListsAndCommaWords) {
  struct Case {
    const char* term;
    KeywordAlert alert;
  } cases[] = {
      {"", KeywordAlert::None},
      {"blue widgets", KeywordAlert::None},
      {"  one two   three  ", KeywordAlert::None},
      {"one two three four", KeywordAlert::TooManyWords},
      {"one\ttwo\nthree four", KeywordAlert::TooManyWords},
      {"widgets,gadgets,gizmos", KeywordAlert::LongCommaWord},    // 22 characters
      {" widgets,gadgets,gizmos ", KeywordAlert::LongCommaWord},  // trimmed first
      {"widgets,gadgets,gizm", KeywordAlert::None},               // 20: not longer
      {"widgetsgadgetsgizmosx", KeywordAlert::None},              // long but no comma
      {"widgets,gadgets,gizmos more", KeywordAlert::None},        // two tokens
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.term);
    EXPECT_EQ(CheckKeywords(c.term), c.alert);
  }
  EXPECT_EQ(CheckKeywords(nullptr), KeywordAlert::None);
}

// LimitTo picks the interval; a submission exactly at the end of it is still too recent.
TEST(RunRulesTest, SubmissionIntervalByLimitTo) {
  const int today = 50000;
  struct Case {
    int lastDay;
    int limitTo;
    bool allows;
  } cases[] = {
      {0, 0, true},           {today, 0, false},      {today - 1, 0, false},
      {today - 2, 0, true},   {today - 10, 2, false},  {today - 10, 1, true},
      {today - 14, 2, false}, {today - 15, 2, true},  {today - 30, 3, false},
      {today - 31, 3, true},  {today - 59, 7, false}, {today - 61, -1, true},
      {0x7FFFFFF0, 4, false},  // a damaged far-future day does not wrap around
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "last " << c.lastDay << " limitTo " << c.limitTo);
    EXPECT_EQ(IntervalAllowsSubmit(c.lastDay, c.limitTo, today), c.allows);
  }
}

// Mode 0 compares the rank, mode 1 the page (both zero-based in, one-based in the settings);
// other modes always submit.
TEST(RunRulesTest, RankRuleBySubmitWhen) {
  struct Case {
    int mode, rank, page, ranking, pageNo;
    bool submit;
  } cases[] = {
      {0, 4, 0, 10, 1, false},  {0, 9, 0, 10, 1, false}, {0, 10, 1, 10, 1, true},
      {0, -1, 0, 10, 1, true},  {1, 30, 0, 10, 1, false}, {1, 30, 1, 10, 1, true},
      {1, 30, 1, 10, 2, false}, {1, 5, -1, 10, 1, true},  {2, 0, 0, 10, 1, true},
      {0, 0x7FFFFFFF, 0, 0x7FFFFFFF, 1, true},  // no overflow at the top
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mode << "/" << c.rank << "/" << c.page);
    EXPECT_EQ(RankAllowsSubmit(c.mode, c.rank, c.page, c.ranking, c.pageNo), c.submit);
  }
}

TEST(RunRulesTest, CommandEnabling) {
  RunCommandState idle;
  idle.hasSearchTerm = true;
  idle.activeSets = 2;
  RunCommandState running = idle;
  running.running = true;
  RunCommandState stopping = running;
  stopping.stopRequested = true;
  RunCommandState busy = idle;
  busy.busy = true;
  RunCommandState noTerm = idle;
  noTerm.hasSearchTerm = false;
  RunCommandState noActive = idle;
  noActive.activeSets = 0;
  RunCommandState canSubmit = idle;
  canSubmit.selectedCanSubmit = true;
  RunCommandState autoOn = idle;
  autoOn.submitAuto = true;
  RunCommandState autoOnRunning = autoOn;
  autoOnRunning.running = true;
  RunCommandState engineSelected = idle;
  engineSelected.engineSelected = true;
  RunCommandState engineSelectedRunning = engineSelected;
  engineSelectedRunning.running = true;

  const CommandUi on{true, false}, off{false, false};
  struct Case {
    const char* what;
    unsigned id;
    RunCommandState state;
    CommandUi ui;
  } cases[] = {
      {"check all idle", ID_RUN_CHECK_ALL, idle, on},
      {"check all running", ID_RUN_CHECK_ALL, running, off},
      {"check all busy", ID_RUN_CHECK_ALL, busy, off},
      {"check all without term", ID_RUN_CHECK_ALL, noTerm, off},
      {"check all without active set", ID_RUN_CHECK_ALL, noActive, off},
      {"selected idle", ID_RUN_CHECK_SELECTED, noActive, on},
      {"selected (toolbar) without term", ID_RUN_CHECK_SELECTED2, noTerm, off},
      {"current again running", ID_RUN_CHECK_CURRENT, running, off},
      {"submit current without term", ID_RUN_SUBMIT_CURRENT, noTerm, on},
      {"submit current busy", ID_RUN_SUBMIT_CURRENT, busy, off},
      {"mark submitted running", ID_RUN_MARK_SUBMITTED, running, off},
      {"submit selected none can", ID_RUN_SUBMIT_SELECTED, idle, off},
      {"submit selected one can", ID_RUN_SUBMIT_SELECTED, canSubmit, on},
      {"stop idle", ID_RUN_STOP, idle, off},
      {"stop running", ID_RUN_STOP, running, on},
      {"stop already asked", ID_RUN_STOP, stopping, off},
      {"submit-with-check off", ID_RUN_SUBMIT_AUTO, idle, {true, false}},
      {"submit-with-check on", ID_RUN_SUBMIT_AUTO, autoOn, {true, true}},
      {"submit-with-check on, running", ID_RUN_SUBMIT_AUTO, autoOnRunning, {false, true}},
      // The debug run is started by a command like the others: never beside a run.
      {"debug run idle", ID_RUN_DEBUG, noTerm, on},
      {"debug run running", ID_RUN_DEBUG, running, off},
      {"debug run busy", ID_RUN_DEBUG, busy, off},
      // The engine mark needs an engine, and never while workers read the engine cache.
      {"engine mark without selection", ID_RUN_ENGINE_FLAG, idle, off},
      {"engine mark with selection", ID_RUN_ENGINE_FLAG, engineSelected, on},
      {"engine mark running", ID_RUN_ENGINE_FLAG, engineSelectedRunning, off},
      {"not a run command", 57600, idle, off},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CommandUi ui = RunCommandUi(c.id, c.state);
    EXPECT_EQ(ui.enabled, c.ui.enabled);
    EXPECT_EQ(ui.checked, c.ui.checked);
  }
}

}  // namespace
