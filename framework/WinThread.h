// CWinThread: a thread of the process and the object that stands for it. AfxBeginThread starts
// a worker thread on a function; unless m_bAutoDelete is cleared (for instance while the thread
// is still suspended), the object deletes itself, closing the handle, when the function returns.
#pragma once
#include <windows.h>

#include "framework/Object.h"

typedef UINT(__cdecl* AFX_THREADPROC)(LPVOID);

class CWinThread : public CObject {
  DECLARE_DYNAMIC(CWinThread)
 public:
  CWinThread() = default;
  CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
      : m_pThreadParams(pParam), m_pfnThreadProc(pfnThreadProc) {}
  CWinThread(const CWinThread&) = delete;
  CWinThread& operator=(const CWinThread&) = delete;
  // Closes the handle; the thread itself goes on if it still runs.
  ~CWinThread() override;

  // Starts the thread (suspended with CREATE_SUSPENDED); FALSE when the system refuses.
  BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                    LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
  DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
  DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
  BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
  int GetThreadPriority() const { return ::GetThreadPriority(m_hThread); }
  operator HANDLE() const { return m_hThread; }  // NOLINT

  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  BOOL m_bAutoDelete = TRUE;
  LPVOID m_pThreadParams = nullptr;
  AFX_THREADPROC m_pfnThreadProc = nullptr;

 private:
  static unsigned __stdcall ThreadEntry(void* pThread);
};

// Starts pfnThreadProc(pParam) on a new thread at the given priority; suspended when
// dwCreateFlags holds CREATE_SUSPENDED. Null when the thread cannot be made.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
