// The calling thread's map from window handles to their objects. Windows belong to the thread
// that made them, so each thread has its own map and no lock is needed.
#pragma once
#include <windows.h>

#include <unordered_map>

class CWnd;

class CHandleMap {
 public:
  CWnd* LookupPermanent(HWND h) const;
  CWnd* LookupTemporary(HWND h) const;
  void SetPermanent(HWND h, CWnd* pWnd) { m_permanent[h] = pWnd; }
  void RemoveHandle(HWND h) { m_permanent.erase(h); }
  void SetTemporary(HWND h, CWnd* pWnd) { m_temporary[h] = pWnd; }
  // Deletes the temporary wrappers (they never own their windows).
  void DeleteTemp();

 private:
  std::unordered_map<HWND, CWnd*> m_permanent;
  std::unordered_map<HWND, CWnd*> m_temporary;
};

// The calling thread's map.
CHandleMap& AfxGetHandleMap();
