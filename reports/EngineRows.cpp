#include "reports/EngineRows.h"

#include <atomic>

#include "app/document/ZubrinDoc.h"
#include "engines/sets/EngineSet.h"

namespace {

std::atomic<EngineRowSource> g_source{nullptr};

std::vector<CLibString> SetOrder(const CZubrinDoc& document) {
  std::vector<CLibString> names;
  const CEngineSet* set = document.m_currentSet ? document.m_currentSet
                                                : document.m_manager.GetFirstSet();
  if (!set) return names;
  names.reserve(set->GetEngines().size());
  for (const auto& entry : set->GetEngines()) names.emplace_back(entry.first.c_str());
  return names;
}

}  // namespace

void SetEngineRowSource(EngineRowSource source) {
  g_source = source;
}

std::vector<CLibString> GetEngineRowNames(const CZubrinDoc& document) {
  // A source with no rows to give (no engine list on the screen) leaves the set's order.
  EngineRowSource source = g_source.load();
  std::vector<CLibString> names;
  if (source) names = source(document);
  return names.empty() ? SetOrder(document) : names;
}
