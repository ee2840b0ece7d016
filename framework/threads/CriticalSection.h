// CCriticalSection: a Win32 critical section that lives with the object.
#pragma once
#include <windows.h>

class CCriticalSection {
 public:
  CCriticalSection() { InitializeCriticalSection(&m_sect); }
  CCriticalSection(const CCriticalSection&) = delete;
  CCriticalSection& operator=(const CCriticalSection&) = delete;
  ~CCriticalSection() { DeleteCriticalSection(&m_sect); }

  BOOL Lock() {
    EnterCriticalSection(&m_sect);
    return TRUE;
  }
  BOOL Unlock() {
    LeaveCriticalSection(&m_sect);
    return TRUE;
  }
  operator CRITICAL_SECTION*() { return &m_sect; }  // NOLINT

  CRITICAL_SECTION m_sect;
};
