// CWorkerManager: the worker threads of a run, kept in a list under one lock from their start
// until a wait finds them ended. Only the run thread starts and waits; the document's end
// terminates whatever is left.
#pragma once
#include <windows.h>

#include <vector>

#include "framework/threads/CriticalSection.h"
#include "framework/threads/WinThread.h"

class CWorkerManager {
 public:
  CWorkerManager() = default;
  ~CWorkerManager();
  CWorkerManager(const CWorkerManager&) = delete;
  CWorkerManager& operator=(const CWorkerManager&) = delete;

  // Starts proc(param) at idle priority and lists it; false (nothing listed) when the thread
  // cannot be made, and the caller still owns param.
  bool StartWorker(AFX_THREADPROC proc, LPVOID param);
  // Waits until fewer than limit workers are listed (0: none). False when the system wait
  // fails: the workers are then left listed and the caller ends the run.
  bool WaitForWorkers(int limit);
  // Kills every listed worker (exit code 1) and forgets it.
  void TerminateWorkers();
  int Count();

  // A seam for tests: the thread maker (AfxBeginThread by default) and the wait
  // (WaitForMultipleObjects).
  using BeginFn = CWinThread* (*)(AFX_THREADPROC, LPVOID, int, UINT, DWORD,
                                  LPSECURITY_ATTRIBUTES);
  using WaitFn = DWORD (*)(DWORD, const HANDLE*, BOOL, DWORD);
  static void SetSystemFunctions(BeginFn begin, WaitFn wait);
  // A suspended idle-priority thread through the seam; null when it cannot be made.
  static CWinThread* BeginThread(AFX_THREADPROC proc, LPVOID param);

 private:
  bool WaitForOne();
  CCriticalSection m_lock;
  std::vector<CWinThread*> m_workers;
};
