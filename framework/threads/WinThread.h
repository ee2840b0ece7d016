// CWinThread: a thread of the process and the object that stands for it. AfxBeginThread starts
// a worker thread on a function; unless m_bAutoDelete is cleared (for instance while the thread
// is still suspended), the object deletes itself, closing the handle, when the function returns.
// A thread with windows runs their messages through Run: each message is first offered to
// PreTranslateMessage (the target window and its parents), and when the queue is empty OnIdle
// updates the main window's command user interface and frees temporary window objects.
#pragma once
#include <windows.h>

#include "framework/wnd/CmdTarget.h"

class CWnd;

typedef UINT(__cdecl* AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget {
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

  // The message loop: until WM_QUIT, then ExitInstance's result.
  virtual BOOL InitInstance() { return TRUE; }
  virtual int Run();
  virtual int ExitInstance();
  // Gets and dispatches one message; FALSE on WM_QUIT.
  virtual BOOL PumpMessage();
  // TRUE when the message was handled and must not be dispatched.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Idle work; TRUE asks for another call (with the count raised) before the loop waits.
  virtual BOOL OnIdle(LONG lCount);
  // Messages after which idle work is due (not the mouse staying put, paint, the caret timer).
  virtual BOOL IsIdleMessage(MSG* pMsg);
  virtual CWnd* GetMainWnd() { return m_pMainWnd; }

  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  BOOL m_bAutoDelete = TRUE;
  LPVOID m_pThreadParams = nullptr;
  AFX_THREADPROC m_pfnThreadProc = nullptr;
  CWnd* m_pMainWnd = nullptr;
  MSG m_msgCur = {};

 private:
  static unsigned __stdcall ThreadEntry(void* pThread);
  POINT m_ptCursorLast = {-1, -1};
  UINT m_nMsgLast = 0;
};

// The object of the calling thread: the application's for the thread that made it, the
// CWinThread of a thread started through it, else null.
CWinThread* AfxGetThread();
void AfxSetThread(CWinThread* pThread);
// The calling thread's main window (null on a worker thread without one).
CWnd* AfxGetMainWnd();
// One message through the calling thread's object (or the plain route when it has none):
// PreTranslateMessage, then translate and dispatch. FALSE on WM_QUIT.
BOOL AfxPumpMessage();
// PreTranslateMessage of the calling thread (the window tree when it has no object).
BOOL AfxPreTranslateMessage(MSG* pMsg);

// Starts pfnThreadProc(pParam) on a new thread at the given priority; suspended when
// dwCreateFlags holds CREATE_SUSPENDED. Null when the thread cannot be made.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
