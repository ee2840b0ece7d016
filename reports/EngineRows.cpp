#include "reports/EngineRows.h"

#include <atomic>

#include "app/ZubrinDoc.h"
#include "engines/EngineSet.h"

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
  EngineRowSource source = g_source.load();
  return source ? source(document) : SetOrder(document);
}
