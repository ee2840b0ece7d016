// The rules of a run that need no thread and no window: the worker limits, the keyword alert,
// the resubmission intervals and rank modes, and when each run command is enabled. The run
// control and the command handlers ask these; the tests check them as tables.
#pragma once
#include <cstdint>

namespace runrules {

// The platform's wait watches at most this many handles, so no more workers may run at once.
constexpr int kMaxWaitableWorkers = 64;
// Bounds of the thread count that follows the measured receive rate.
constexpr int kRateLimitLow = 4;
constexpr int kRateLimitHigh = 32;

// MaxThreads as the run may use it: 0..64 whatever the settings hold.
int BoundMaxThreads(int maxThreads);
// The worker limit a run starts with.
int InitialThreadLimit(int maxThreads, bool connectionManagement);
// A new worker may start only while fewer than this many run.
int WorkerWaitThreshold(int limit, int maxThreads, bool connectionManagement);
// The limit that lets each worker receive about threadKB kilobytes per second, 4..32. A
// threadKB of zero or less (or not a number) shares nothing out and gives the upper bound.
int RateThreadLimit(uint32_t receiveBytesPerSecond, double threadKB);

enum class KeywordAlert { None, TooManyWords, LongCommaWord };
// The warning a search term deserves before a check.
KeywordAlert CheckKeywords(const char* searchTerm);

// Days between two submissions to one engine, by the LimitTo rule.
int SubmitIntervalDays(int32_t limitTo);
// False while the last submission (a day number, 0 = never) is within the interval.
bool IntervalAllowsSubmit(int32_t lastSubmitDay, int32_t limitTo, int32_t today);
// With the site found at zero-based rank and page (-1 = unknown), whether the rank rule of the
// SubmitWhen mode still asks for a submission.
bool RankAllowsSubmit(int32_t submitWhen, int32_t rank, int32_t page, int32_t submitRanking,
                      int32_t submitPageNo);

// What the enabling of the run commands looks at.
struct RunCommandState {
  bool running = false;
  bool stopRequested = false;
  bool busy = false;           // a new, open or save, or the daily update check, is under way
  bool hasSearchTerm = false;  // the current set has a search term
  int activeSets = 0;
  bool selectedCanSubmit = false;  // some selected engine row can submit
  bool engineSelected = false;     // the engine view has a selected row
  bool submitAuto = false;
};
struct CommandUi {
  bool enabled = false;
  bool checked = false;
  bool operator==(const CommandUi& other) const {
    return enabled == other.enabled && checked == other.checked;
  }
};
// The state of one command id; ids that are not run commands are disabled.
CommandUi RunCommandUi(unsigned commandId, const RunCommandState& state);

}  // namespace runrules
