#include "framework/wnd/HandleMap.h"

#include "framework/wnd/Wnd.h"

CWnd* CHandleMap::LookupPermanent(HWND h) const {
  auto it = m_permanent.find(h);
  return it == m_permanent.end() ? nullptr : it->second;
}

CWnd* CHandleMap::LookupTemporary(HWND h) const {
  auto it = m_temporary.find(h);
  return it == m_temporary.end() ? nullptr : it->second;
}

void CHandleMap::DeleteTemp() {
  std::unordered_map<HWND, CWnd*> old;
  old.swap(m_temporary);
  for (auto& [h, pWnd] : old) {
    pWnd->m_hWnd = nullptr;  // a wrapper never destroys the window it stood for
    delete pWnd;
  }
}

namespace {

void WINAPI DeleteThreadMap(void* pMap) {
  delete static_cast<CHandleMap*>(pMap);
}

// A fiber-local slot rather than a C++ thread_local object: with this toolchain's runtime a
// thread_local object's storage is freed before its destructor runs at thread exit, so every
// thread that had windows freed the map's nodes twice and corrupted the heap. The system runs
// the slot's callback at thread exit with the value it holds.
DWORD MapSlot() {
  static const DWORD slot = ::FlsAlloc(DeleteThreadMap);
  return slot;
}

}  // namespace

CHandleMap& AfxGetHandleMap() {
  DWORD slot = MapSlot();
  if (slot == FLS_OUT_OF_INDEXES) {
    // No slot to be had: each thread keeps its map for the life of the process.
    thread_local CHandleMap* leaked = nullptr;
    if (!leaked) leaked = new CHandleMap;
    return *leaked;
  }
  auto* map = static_cast<CHandleMap*>(::FlsGetValue(slot));
  if (!map) {
    map = new CHandleMap;
    ::FlsSetValue(slot, map);
  }
  return *map;
}
