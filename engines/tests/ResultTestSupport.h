// Reading an engine's result list and the events it raised, for the result parsing and result
// record tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engines/db/SearchEngine.h"

namespace enginetest {

inline std::vector<const CSearchResult*> Results(const CSearchEngine& engine) {
  std::vector<const CSearchResult*> results;
  for (CListNode* node = engine.m_results.Head(); node; node = node->Next())
    results.push_back(static_cast<const CSearchResult*>(node->Payload()));
  return results;
}

inline std::vector<std::string> ResultTexts(const CSearchEngine& engine) {
  std::vector<std::string> texts;
  for (const CSearchResult* result : Results(engine)) texts.push_back(result->m_text.c_str());
  return texts;
}

// The engine events an engine raised, in order; onEvent (when set) sees each one as it comes and
// may answer false, which aborts the engine as the run's callback can.
class EventLog {
 public:
  struct Event {
    int code;
    uintptr_t data;
    int resultsListed;  // the engine's result count when the event came
  };

  explicit EventLog(CSearchEngine& engine) : engine_(engine) {
    engine.SetCallback(&EventLog::Callback, reinterpret_cast<uintptr_t>(this));
    engine.SetCallbackRange(kEngineEventFirst, kEngineEventLast);
  }
  ~EventLog() { engine_.SetCallback(nullptr, 0); }

  std::vector<Event> Of(int code) const {
    std::vector<Event> found;
    for (const Event& e : events) found.push_back(e);
    std::erase_if(found, [code](const Event& e) { return e.code != code; });
    return found;
  }

  std::vector<Event> events;
  std::function<bool(const Event&)> onEvent;

 private:
  static bool Callback(CSock* sock, int code, uintptr_t data, uintptr_t user) {
    EventLog* log = reinterpret_cast<EventLog*>(user);
    Event e{code, data, static_cast<CSearchEngine*>(sock)->GetResultCount()};
    log->events.push_back(e);
    return log->onEvent ? log->onEvent(e) : true;
  }

  CSearchEngine& engine_;
};

}  // namespace enginetest
