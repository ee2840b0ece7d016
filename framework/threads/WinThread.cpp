#include "framework/threads/WinThread.h"

#include <process.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {
thread_local CWinThread* t_pThread = nullptr;
}  // namespace

CWinThread* AfxGetThread() {
  return t_pThread;
}

void AfxSetThread(CWinThread* pThread) {
  t_pThread = pThread;
}

CWinThread::~CWinThread() {
  if (m_hThread) CloseHandle(m_hThread);
}

unsigned __stdcall CWinThread::ThreadEntry(void* pThread) {
  CWinThread* thread = static_cast<CWinThread*>(pThread);
  t_pThread = thread;
  UINT exitCode = thread->m_pfnThreadProc ? thread->m_pfnThreadProc(thread->m_pThreadParams) : 0;
  t_pThread = nullptr;
  if (thread->m_bAutoDelete) delete thread;
  return exitCode;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize,
                              LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (m_hThread) return FALSE;
  unsigned id = 0;
  // The runtime library's own start keeps its per-thread data right for the thread function.
  uintptr_t h = _beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this,
                               dwCreateFlags & CREATE_SUSPENDED, &id);
  if (!h) return FALSE;
  m_hThread = reinterpret_cast<HANDLE>(h);
  m_nThreadID = id;
  return TRUE;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                           UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  CWinThread* thread = new CWinThread(pfnThreadProc, pParam);
  // Always created suspended, so that the priority holds from the thread's first instruction.
  if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
    delete thread;
    return nullptr;
  }
  thread->SetThreadPriority(nPriority);
  if (!(dwCreateFlags & CREATE_SUSPENDED)) thread->ResumeThread();
  return thread;
}
