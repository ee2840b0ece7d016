#include "app/run/RunRules.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/run/RunCommands.h"

namespace runrules {

int BoundMaxThreads(int maxThreads) {
  return std::clamp(maxThreads, 0, kMaxWaitableWorkers);
}

int InitialThreadLimit(int maxThreads, bool connectionManagement) {
  return std::max(BoundMaxThreads(maxThreads), connectionManagement ? 3 : 1);
}

int WorkerWaitThreshold(int limit, int maxThreads, bool connectionManagement) {
  int floor = std::min(BoundMaxThreads(maxThreads), connectionManagement ? 3 : 1);
  return std::clamp(std::max(limit, floor), 1, kMaxWaitableWorkers);
}

int RateThreadLimit(uint32_t receiveBytesPerSecond, double threadKB) {
  if (!(threadKB > 0)) return kRateLimitHigh;
  double count = receiveBytesPerSecond / 1024.0 / threadKB;
  if (count >= kRateLimitHigh) return kRateLimitHigh;
  return std::max(static_cast<int>(count), kRateLimitLow);
}

namespace {

std::vector<std::string> WhiteSpaceTokens(const char* text) {
  std::vector<std::string> tokens;
  std::string current;
  for (const char* p = text ? text : ""; *p; ++p) {
    if (std::isspace(static_cast<unsigned char>(*p))) {
      if (!current.empty()) tokens.push_back(current);
      current.clear();
    } else {
      current += *p;
    }
  }
  if (!current.empty()) tokens.push_back(current);
  return tokens;
}

}  // namespace

KeywordAlert CheckKeywords(const char* searchTerm) {
  std::vector<std::string> tokens = WhiteSpaceTokens(searchTerm);
  if (tokens.size() > 3) return KeywordAlert::TooManyWords;
  if (tokens.size() == 1 && tokens[0].size() > 20 && tokens[0].find(',') != std::string::npos)
    return KeywordAlert::LongCommaWord;
  return KeywordAlert::None;
}

int SubmitIntervalDays(int32_t limitTo) {
  switch (limitTo) {
    case 0: return 1;
    case 1: return 7;
    case 2: return 14;
    case 3: return 30;
    default: return 60;
  }
}

bool IntervalAllowsSubmit(int32_t lastSubmitDay, int32_t limitTo, int32_t today) {
  if (lastSubmitDay == 0) return true;
  return static_cast<int64_t>(lastSubmitDay) + SubmitIntervalDays(limitTo) < today;
}

bool RankAllowsSubmit(int32_t submitWhen, int32_t rank, int32_t page, int32_t submitRanking,
                      int32_t submitPageNo) {
  if (submitWhen == 0) return !(rank != -1 && static_cast<int64_t>(rank) + 1 <= submitRanking);
  if (submitWhen == 1) return !(page != -1 && static_cast<int64_t>(page) + 1 <= submitPageNo);
  return true;
}

CommandUi RunCommandUi(unsigned commandId, const RunCommandState& s) {
  const bool idle = !s.running && !s.busy;
  switch (commandId) {
    case ID_RUN_CHECK_ALL:
      return {idle && s.hasSearchTerm && s.activeSets > 0, false};
    case ID_RUN_CHECK_SELECTED:
    case ID_RUN_CHECK_SELECTED2:
    case ID_RUN_CHECK_CURRENT:
      return {idle && s.hasSearchTerm, false};
    case ID_RUN_SUBMIT_CURRENT:
    case ID_RUN_MARK_SUBMITTED:
      return {idle, false};
    case ID_RUN_SUBMIT_SELECTED:
      return {idle && s.selectedCanSubmit, false};
    case ID_RUN_STOP:
      return {s.running && !s.stopRequested, false};
    case ID_RUN_SUBMIT_AUTO:
      return {idle, s.submitAuto};
    // A debug run is one more run: never beside another.
    case ID_RUN_DEBUG:
      return {idle, false};
    // The mark may have to make the engine's cache entry, which a run's workers read unlocked.
    case ID_RUN_ENGINE_FLAG:
      return {idle && s.engineSelected, false};
    default:
      return {};
  }
}

}  // namespace runrules
