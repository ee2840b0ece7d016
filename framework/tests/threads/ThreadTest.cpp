// Threads and the critical section: priority, suspended start, the handle, auto-deletion.
#include <gtest/gtest.h>

#include <atomic>

#include "framework/threads/CriticalSection.h"
#include "framework/threads/WinThread.h"

namespace {
struct Work {
  std::atomic<int> ran{0};
  int priority = -100;
  HANDLE release = nullptr;
};

UINT __cdecl Worker(LPVOID param) {
  auto* work = static_cast<Work*>(param);
  work->priority = GetThreadPriority(GetCurrentThread());
  if (work->release) WaitForSingleObject(work->release, 5000);
  ++work->ran;
  return 7;
}
}  // namespace

TEST(Thread, SuspendedThreadKeptForItsExitCode) {
  Work work;
  CWinThread* thread = AfxBeginThread(Worker, &work, THREAD_PRIORITY_IDLE, 0, CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  ASSERT_NE(thread->m_hThread, nullptr);
  EXPECT_NE(thread->m_nThreadID, 0u);
  thread->m_bAutoDelete = FALSE;
  Sleep(50);
  EXPECT_EQ(work.ran, 0);  // still suspended
  EXPECT_EQ(thread->GetThreadPriority(), THREAD_PRIORITY_IDLE);
  thread->ResumeThread();
  ASSERT_EQ(WaitForSingleObject(*thread, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(work.ran, 1);
  EXPECT_EQ(work.priority, THREAD_PRIORITY_IDLE);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread->m_hThread, &code));
  EXPECT_EQ(code, 7u);
  delete thread;
}

TEST(Thread, AutoDeletedThreadRunsToItsEnd) {
  Work work;
  // A duplicate of the handle outlives the object that deletes itself.
  work.release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  CWinThread* thread = AfxBeginThread(Worker, &work);
  ASSERT_NE(thread, nullptr);
  HANDLE copy = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &copy, 0,
                              FALSE, DUPLICATE_SAME_ACCESS));
  SetEvent(work.release);
  ASSERT_EQ(WaitForSingleObject(copy, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(work.ran, 1);
  EXPECT_EQ(work.priority, THREAD_PRIORITY_NORMAL);
  CloseHandle(copy);
  CloseHandle(work.release);
}

TEST(Thread, CriticalSectionGuardsACounter) {
  struct Shared {
    CCriticalSection lock;
    long counter = 0;
  } shared;
  auto add = [](LPVOID p) -> UINT {
    auto* s = static_cast<Shared*>(p);
    for (int i = 0; i < 20000; ++i) {
      s->lock.Lock();
      long v = s->counter;
      s->counter = v + 1;
      s->lock.Unlock();
    }
    return 0;
  };
  HANDLE handles[4];
  CWinThread* threads[4];
  for (int i = 0; i < 4; ++i) {
    threads[i] = AfxBeginThread(add, &shared, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(threads[i], nullptr);
    threads[i]->m_bAutoDelete = FALSE;
    handles[i] = threads[i]->m_hThread;
  }
  for (CWinThread* t : threads) t->ResumeThread();
  ASSERT_EQ(WaitForMultipleObjects(4, handles, TRUE, 20000), WAIT_OBJECT_0);
  EXPECT_EQ(shared.counter, 80000);
  for (CWinThread* t : threads) delete t;
}
