#include "app/run/WorkerManager.h"

#include <atomic>

#include "app/run/RunRules.h"

namespace {

std::atomic<CWorkerManager::BeginFn> g_begin{nullptr};
std::atomic<CWorkerManager::WaitFn> g_wait{nullptr};

DWORD Wait(DWORD count, const HANDLE* handles) {
  CWorkerManager::WaitFn wait = g_wait.load();
  if (!wait) wait = WaitForMultipleObjects;
  return wait(count, handles, FALSE, INFINITE);
}

}  // namespace

CWinThread* CWorkerManager::BeginThread(AFX_THREADPROC proc, LPVOID param) {
  BeginFn begin = g_begin.load();
  if (!begin) begin = AfxBeginThread;
  return begin(proc, param, THREAD_PRIORITY_IDLE, 0, CREATE_SUSPENDED, nullptr);
}

void CWorkerManager::SetSystemFunctions(BeginFn begin, WaitFn wait) {
  g_begin = begin;
  g_wait = wait;
}

CWorkerManager::~CWorkerManager() {
  TerminateWorkers();
}

bool CWorkerManager::StartWorker(AFX_THREADPROC proc, LPVOID param) {
  CWinThread* thread = BeginThread(proc, param);
  if (!thread) return false;
  // The object must outlive its thread: the wait reads its handle after the thread ended.
  thread->m_bAutoDelete = FALSE;
  m_lock.Lock();
  m_workers.push_back(thread);
  m_lock.Unlock();
  thread->ResumeThread();
  return true;
}

bool CWorkerManager::WaitForWorkers(int limit) {
  m_lock.Lock();
  bool ok = true;
  while (ok && !m_workers.empty() && static_cast<int>(m_workers.size()) >= limit)
    ok = WaitForOne();
  m_lock.Unlock();
  return ok;
}

bool CWorkerManager::WaitForOne() {
  // One wait watches at most 64 handles; the limits keep the list within that, and should it
  // ever hold more, the first 64 are watched.
  std::vector<HANDLE> handles;
  for (CWinThread* thread : m_workers) {
    if (static_cast<int>(handles.size()) == runrules::kMaxWaitableWorkers) break;
    handles.push_back(thread->m_hThread);
  }
  DWORD result = Wait(static_cast<DWORD>(handles.size()), handles.data());
  if (result >= WAIT_OBJECT_0 + handles.size()) return false;  // failed: do not spin on it
  size_t index = result - WAIT_OBJECT_0;
  delete m_workers[index];
  m_workers.erase(m_workers.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

void CWorkerManager::TerminateWorkers() {
  m_lock.Lock();
  for (CWinThread* thread : m_workers) {
    TerminateThread(thread->m_hThread, 1);
    delete thread;
  }
  m_workers.clear();
  m_lock.Unlock();
}

int CWorkerManager::Count() {
  m_lock.Lock();
  int count = static_cast<int>(m_workers.size());
  m_lock.Unlock();
  return count;
}
