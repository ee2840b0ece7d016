// The worker list: starting, waiting with a limit, failures of the system calls.
#include "app/run/WorkerManager.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Workers that end when their event is set.
struct Gate {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ~Gate() { CloseHandle(event); }
};
UINT __cdecl WaitOnGate(LPVOID param) {
  WaitForSingleObject(static_cast<Gate*>(param)->event, 10000);
  return 0;
}

CWinThread* NoThread(AFX_THREADPROC, LPVOID, int, UINT, DWORD, LPSECURITY_ATTRIBUTES) {
  return nullptr;
}
DWORD FailedWait(DWORD, const HANDLE*, BOOL, DWORD) {
  SetLastError(ERROR_INVALID_HANDLE);
  return WAIT_FAILED;
}

struct Waiter {
  CWorkerManager* manager;
  int limit;
  volatile LONG done = 0;
};
DWORD WINAPI WaitThread(LPVOID param) {
  auto* w = static_cast<Waiter*>(param);
  w->manager->WaitForWorkers(w->limit);
  InterlockedExchange(&w->done, 1);
  return 0;
}

class WorkerManagerTest : public ::testing::Test {
 protected:
  void TearDown() override { CWorkerManager::SetSystemFunctions(nullptr, nullptr); }
};

// A wait returns once fewer workers than the limit remain listed: with five workers, a limit
// of 3 lets three end, a limit of 0 all of them.
TEST_F(WorkerManagerTest, WaitReturnsWhenFewerThanTheLimitRemain) {
  struct Case {
    int limit;
    int mustEnd;
  } cases[] = {{3, 3}, {5, 1}, {6, 0}, {1, 5}, {0, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    CWorkerManager manager;
    std::vector<std::unique_ptr<Gate>> gates;
    for (int i = 0; i < 5; ++i) {
      gates.push_back(std::make_unique<Gate>());
      ASSERT_TRUE(manager.StartWorker(WaitOnGate, gates.back().get()));
    }
    Waiter waiter{&manager, c.limit};
    HANDLE thread = CreateThread(nullptr, 0, WaitThread, &waiter, 0, nullptr);
    for (int ended = 0; ended < c.mustEnd; ++ended) {
      EXPECT_EQ(WaitForSingleObject(thread, 100), WAIT_TIMEOUT) << "returned after " << ended;
      SetEvent(gates[ended]->event);
    }
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    EXPECT_LT(manager.Count(), std::max(c.limit, 1));
    CloseHandle(thread);
    for (auto& g : gates) SetEvent(g->event);
    EXPECT_TRUE(manager.WaitForWorkers(0));
    EXPECT_EQ(manager.Count(), 0);
  }
}

TEST_F(WorkerManagerTest, AThreadThatCannotBeMadeIsNotListed) {
  CWorkerManager::SetSystemFunctions(NoThread, nullptr);
  CWorkerManager manager;
  Gate gate;
  EXPECT_FALSE(manager.StartWorker(WaitOnGate, &gate));
  EXPECT_EQ(manager.Count(), 0);
  EXPECT_TRUE(manager.WaitForWorkers(0));
}

// A wait the system refuses is reported instead of being repeated for ever.
TEST_F(WorkerManagerTest, AFailedWaitIsReported) {
  CWorkerManager manager;
  Gate gate;
  ASSERT_TRUE(manager.StartWorker(WaitOnGate, &gate));
  CWorkerManager::SetSystemFunctions(nullptr, FailedWait);
  EXPECT_FALSE(manager.WaitForWorkers(0));
  EXPECT_EQ(manager.Count(), 1);
  CWorkerManager::SetSystemFunctions(nullptr, nullptr);
  SetEvent(gate.event);
  EXPECT_TRUE(manager.WaitForWorkers(0));
}

}  // namespace
