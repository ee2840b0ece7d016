#include "engines/db/EnginePrototypes.h"

#include <cstdlib>
#include <map>
#include <mutex>

#include "engines/db/EngineKeys.h"
#include "engines/db/EngineList.h"
#include "engines/db/SearchEngine.h"

namespace {

// The index is read and changed from the user-interface thread and from worker threads.
std::mutex g_lock;
std::map<CLibString, CSearchEngine*> g_prototypes;
const CEngineList* g_source = nullptr;
int g_enabledCount = 0;

// Fills the index from the list when it is empty or came from another list. Lock held.
void Fill(const CEngineList& list) {
  if (!g_prototypes.empty() && g_source == &list) return;
  g_prototypes.clear();
  g_enabledCount = 0;
  g_source = &list;
  for (CListNode* node = list.GetEngines().Head(); node; node = node->Next()) {
    CSearchEngine* engine = CEngineList::EngineOf(node);
    // The first prototype of a name is the one cloned, as by name lookups in the database.
    if (g_prototypes.emplace(engine->GetName(), engine).second && engine->m_enabled)
      ++g_enabledCount;
  }
}

CSearchEngine* Lookup(CEngineList& list, const CLibString& name) {
  Fill(list);
  auto it = g_prototypes.find(name);
  return it == g_prototypes.end() ? nullptr : it->second;
}

}  // namespace

CSearchEngine* ClonePrototype(CEngineList& list, const CLibString& name) {
  std::lock_guard<std::mutex> hold(g_lock);
  CSearchEngine* prototype = Lookup(list, name);
  if (!prototype) return nullptr;
  CSearchEngine* clone = prototype->Clone();
  if (clone) clone->m_enabled = prototype->m_enabled;
  return clone;
}

int32_t SetEngineEnabled(CEngineList& list, const CLibString& name, int32_t flag) {
  std::lock_guard<std::mutex> hold(g_lock);
  CSearchEngine* prototype = Lookup(list, name);
  if (!prototype) return 0;
  int32_t old = prototype->m_enabled;
  prototype->m_enabled = flag;
  if (old && !flag) --g_enabledCount;
  if (!old && flag) ++g_enabledCount;
  return old;
}

int32_t IsEngineEnabled(CEngineList& list, const CLibString& name) {
  std::lock_guard<std::mutex> hold(g_lock);
  CSearchEngine* prototype = Lookup(list, name);
  return prototype ? prototype->m_enabled : 0;
}

int GetEnabledEngineCount() {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_enabledCount;
}

void SetAllEnginesEnabled(CEngineList& list, int32_t flag) {
  std::lock_guard<std::mutex> hold(g_lock);
  Fill(list);
  for (CListNode* node = list.GetEngines().Head(); node; node = node->Next())
    CEngineList::EngineOf(node)->m_enabled = flag;
  g_enabledCount = flag ? static_cast<int>(g_prototypes.size()) : 0;
}

int GetEngineIcon(CEngineList& list, const CLibString& name) {
  std::lock_guard<std::mutex> hold(g_lock);
  CSearchEngine* prototype = Lookup(list, name);
  if (prototype) return prototype->GetIcon();
  return atoi(EngineKeyList.GetValue("Icons.common").c_str());
}

void ResetEnginePrototypes() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_prototypes.clear();
  g_source = nullptr;
  g_enabledCount = 0;
}
