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

CHandleMap& AfxGetHandleMap() {
  static thread_local CHandleMap map;
  return map;
}
