// What a query did, in order, for the tests of the page loop: the engine events as the run's
// callback gets them and the slices of the pauses, which a test clock counts instead of sleeping.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "engines/submit/FormSubmitter.h"
#include "foundation/net/Socklet.h"

namespace enginetest {

inline constexpr int kSleep = -1;  // a pause slice in the timeline; its value is the milliseconds

// Everything the query did, in order: the engine events as the run's callback gets them (the run's
// code range) and the slices of its pauses, which the test clock counts instead of sleeping.
class Timeline {
 public:
  // The newest timeline takes the clock; the one before gets it back afterwards.
  Timeline() : previous_(Current()) {
    Current() = this;
    SockletSetClock(nullptr, &Timeline::Sleep);
  }
  ~Timeline() {
    Current() = previous_;
    if (!previous_) SockletSetClock(nullptr, nullptr);
  }

  void Attach(CSock& engine) {
    engine.SetCallback(Callback, reinterpret_cast<uintptr_t>(this));
    engine.SetCallbackRange(kEngineEventFirst, kEngineEventLast);
  }

  // The query's own steps: start, pages fetched, parsed, results, end.
  std::vector<int> Steps() const {
    std::lock_guard<std::mutex> hold(mutex_);
    std::vector<int> steps;
    for (const auto& entry : entries_)
      if (entry.first == kEngineQueryStart || entry.first == kEngineQueryEnd ||
          (entry.first >= kEnginePageFetched && entry.first <= kEnginePageParsed))
        steps.push_back(entry.first);
    return steps;
  }
  int Count(int code) const {
    std::lock_guard<std::mutex> hold(mutex_);
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                          [code](const auto& e) { return e.first == code; }));
  }
  uintptr_t LastData(int code) const {
    std::lock_guard<std::mutex> hold(mutex_);
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
      if (it->first == code) return it->second;
    return ~uintptr_t(0);
  }
  // The page texts that came with 11014.
  std::vector<std::string> FetchedPages() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return pages_;
  }
  // Each pause of the query: the slices slept one after the other (idle ticks between them).
  std::vector<unsigned long> Pauses() const {
    std::lock_guard<std::mutex> hold(mutex_);
    std::vector<unsigned long> pauses;
    bool inPause = false;
    for (const auto& entry : entries_) {
      if (entry.first == kSleep) {
        if (!inPause) pauses.push_back(0);
        pauses.back() += entry.second;
        inPause = true;
      } else if (entry.first != kEngineIdle) {
        inPause = false;
      }
    }
    return pauses;
  }
  unsigned long Slept() const { return slept_; }

  // The run's stop: once set, the callback answers false to the engine's next event, which
  // aborts the engine, as the run control does with a running engine after the stop command.
  std::atomic<bool> runStop{false};
  // Called after each pause slice with the milliseconds slept so far.
  std::function<void(unsigned long)> afterSlice;
  // Milliseconds really slept per 100 asked for (0: none).
  unsigned realPercent = 0;
  // Called for every event, on the engine's thread.
  std::function<void(int)> onEvent;

 private:
  static Timeline*& Current() {
    static Timeline* current = nullptr;
    return current;
  }
  static void Sleep(unsigned ms) {
    Timeline* self = Current();
    if (!self) return;
    {
      std::lock_guard<std::mutex> hold(self->mutex_);
      self->entries_.emplace_back(kSleep, ms);
    }
    if (self->realPercent) ::Sleep(ms * self->realPercent / 100);
    self->slept_ += ms;
    if (self->afterSlice) self->afterSlice(self->slept_);
  }
  static bool Callback(CSock*, int code, uintptr_t data, uintptr_t user) {
    Timeline* self = reinterpret_cast<Timeline*>(user);
    {
      std::lock_guard<std::mutex> hold(self->mutex_);
      self->entries_.emplace_back(code, data);
      if (code == kEnginePageFetched) self->pages_.push_back(reinterpret_cast<const char*>(data));
    }
    if (self->onEvent) self->onEvent(code);
    return !self->runStop;
  }

  Timeline* previous_;
  mutable std::mutex mutex_;
  std::vector<std::pair<int, uintptr_t>> entries_;
  std::vector<std::string> pages_;
  std::atomic<unsigned long> slept_{0};
};

// Shorthands for the expected query steps: one page with its results, and a whole query.
inline std::vector<int> PageSteps(int results) {
  std::vector<int> steps = {kEnginePageFetched, kEngineBeforeParse};
  steps.insert(steps.end(), results, kEngineResultFound);
  steps.push_back(kEnginePageParsed);
  return steps;
}
inline std::vector<int> QuerySteps(const std::vector<std::vector<int>>& pages) {
  std::vector<int> steps = {kEngineQueryStart};
  for (const auto& page : pages) steps.insert(steps.end(), page.begin(), page.end());
  steps.push_back(kEngineQueryEnd);
  return steps;
}

}  // namespace enginetest
