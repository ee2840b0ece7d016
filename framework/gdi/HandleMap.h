// The link from a Windows handle to the framework object that wraps it. Objects that own their
// handle are entered in one process-wide map (so ownership is known whichever thread asks, and
// an object destroyed on another thread than its maker leaves no stale entry). FromHandle on any
// other handle makes a temporary wrapper in a map of the calling thread, freed at that thread's
// idle time; a temporary wrapper never frees the handle it shows.
#pragma once
#include <map>
#include <memory>
#include <mutex>

template <class Object, class Handle>
class CPermanentHandleMap {
 public:
  Object* Lookup(Handle h) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_objects.find(h);
    return it == m_objects.end() ? nullptr : it->second;
  }
  // False when another object owns h already.
  bool Enter(Handle h, Object* pObject) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_objects.emplace(h, pObject).second;
  }
  // Forgets h only when it is entered for that object.
  void Remove(Handle h, const Object* pObject) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_objects.find(h);
    if (it != m_objects.end() && it->second == pObject) m_objects.erase(it);
  }

 private:
  mutable std::mutex m_mutex;
  std::map<Handle, Object*> m_objects;
};

template <class Object, class Handle>
class CTemporaryHandleMap {
 public:
  CTemporaryHandleMap() = default;
  CTemporaryHandleMap(const CTemporaryHandleMap&) = delete;
  CTemporaryHandleMap& operator=(const CTemporaryHandleMap&) = delete;
  ~CTemporaryHandleMap() { DeleteAll(); }

  // The calling thread's map. It lives on the heap behind a plain thread-local pointer: this
  // toolchain's runtime may free a thread-local object's storage before running its destructor
  // at thread exit. A thread that ends without an idle pass so leaves its few wrappers behind,
  // but never frees a handle through them.
  static CTemporaryHandleMap& ForThisThread() {
    thread_local CTemporaryHandleMap* pMap = nullptr;
    if (pMap == nullptr) pMap = new CTemporaryHandleMap;
    return *pMap;
  }

  Object* Lookup(Handle h) const {
    auto it = m_objects.find(h);
    return it == m_objects.end() ? nullptr : it->second.get();
  }
  Object* Add(Handle h, std::unique_ptr<Object> pObject) {
    auto& slot = m_objects[h];
    if (slot) slot->ReleaseTemporaryHandle();
    slot = std::move(pObject);
    return slot.get();
  }
  // Each wrapper lets go of its handle before it is destroyed, so the handle stays alive.
  void DeleteAll() {
    for (auto& entry : m_objects) entry.second->ReleaseTemporaryHandle();
    m_objects.clear();
  }

 private:
  std::map<Handle, std::unique_ptr<Object>> m_objects;
};
