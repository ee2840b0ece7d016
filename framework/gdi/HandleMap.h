// The per-thread link from a Windows handle to the framework object that wraps it. Objects that
// own their handle are entered as permanent; FromHandle on any other handle makes a temporary
// wrapper that lives until the thread's idle time (DeleteTemporaries) and never frees the handle.
#pragma once
#include <map>
#include <memory>

template <class Object, class Handle>
class CHandleMap {
 public:
  Object* LookupPermanent(Handle h) const {
    auto it = m_permanent.find(h);
    return it == m_permanent.end() ? nullptr : it->second;
  }
  Object* LookupTemporary(Handle h) const {
    auto it = m_temporary.find(h);
    return it == m_temporary.end() ? nullptr : it->second.get();
  }
  void SetPermanent(Handle h, Object* pObject) { m_permanent[h] = pObject; }
  // Forgets h only when it is entered for that object (another may hold it after a Detach).
  void RemovePermanent(Handle h, const Object* pObject) {
    auto it = m_permanent.find(h);
    if (it != m_permanent.end() && it->second == pObject) m_permanent.erase(it);
  }
  Object* AddTemporary(Handle h, std::unique_ptr<Object> pObject) {
    auto& slot = m_temporary[h];
    if (slot) slot->ReleaseTemporaryHandle();
    slot = std::move(pObject);
    return slot.get();
  }
  // Each wrapper lets go of its handle before it is destroyed, so the handle stays alive.
  void DeleteTemporaries() {
    for (auto& entry : m_temporary) entry.second->ReleaseTemporaryHandle();
    m_temporary.clear();
  }
  size_t TemporaryCount() const { return m_temporary.size(); }

 private:
  std::map<Handle, Object*> m_permanent;
  std::map<Handle, std::unique_ptr<Object>> m_temporary;
};
