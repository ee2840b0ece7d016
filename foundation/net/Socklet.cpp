#include "foundation/net/Socklet.h"

#include <windows.h>
#include <winsock2.h>

#include <atomic>
#include <ctime>

#include "foundation/net/InetAddress.h"

namespace {

SRWLOCK g_countLock = SRWLOCK_INIT;
std::atomic<int> g_references{0};  // changed only under g_countLock
int g_liveSockets = 0;
bool g_locksReady = false;
CRITICAL_SECTION g_locks[kSockletLockCount];

std::atomic<SockletTimeFn> g_timeFn{nullptr};
std::atomic<SockletSleepFn> g_sleepFn{nullptr};
std::atomic<unsigned> g_waitStep{1000};

// Runs body while holding "SockletMutex"; false when the mutex cannot be had.
template <class F>
bool WithLibraryMutex(F&& body) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "SockletMutex");
  if (!mutex) return false;
  WaitForSingleObject(mutex, INFINITE);
  body();
  ReleaseMutex(mutex);
  CloseHandle(mutex);
  return true;
}

// The program's own reference, held from static start-up to exit.
struct ProgramReference {
  ProgramReference() { SockletStartup(); }
  ~ProgramReference() { SockletCleanup(); }
} g_programReference;

}  // namespace

// The count is guarded inside the process by a slim lock; the named mutex, a round trip to the
// system each time, is taken only when WinSock itself starts or stops (the first and the last
// reference), which is what other modules of the process must not see half done. A socket
// made and dropped while the program holds its own reference never touches the named mutex.
bool SockletStartup() {
  bool first = false;
  bool ok = true;
  AcquireSRWLockExclusive(&g_countLock);
  if (g_references == 0) {
    ok = WithLibraryMutex([] {
      WSADATA data;
      WSAStartup(MAKEWORD(1, 1), &data);
      for (CRITICAL_SECTION& lock : g_locks) InitializeCriticalSection(&lock);
      g_locksReady = true;
      CInetAddress::OpenCaches();
    });
    first = ok;
  }
  if (ok) ++g_references;
  ReleaseSRWLockExclusive(&g_countLock);
  // Warms the name service and the host cache once, outside the locks: a look-up may be slow.
  if (first) CInetAddress("localhost", 0);
  return ok;
}

bool SockletCleanup() {
  bool ok = true;
  AcquireSRWLockExclusive(&g_countLock);
  if (g_references == 1) {
    ok = WithLibraryMutex([] {
      CInetAddress::CloseCaches();
      g_locksReady = false;
      for (CRITICAL_SECTION& lock : g_locks) DeleteCriticalSection(&lock);
      WSACleanup();
    });
  }
  if (ok && g_references > 0) --g_references;
  ReleaseSRWLockExclusive(&g_countLock);
  return ok;
}

int SockletReferences() {
  return g_references;
}

void SockletLock(SockletLockId id) {
  if (g_locksReady && id >= 0 && id < kSockletLockCount) EnterCriticalSection(&g_locks[id]);
}

void SockletUnlock(SockletLockId id) {
  if (g_locksReady && id >= 0 && id < kSockletLockCount) LeaveCriticalSection(&g_locks[id]);
}

int SockletLiveSockets() {
  CSockletLock lock(kLockSocketCount);
  return g_liveSockets;
}

void SockletCountSocket(int delta) {
  CSockletLock lock(kLockSocketCount);
  g_liveSockets += delta;
}

void SockletSetClock(SockletTimeFn now, SockletSleepFn sleep) {
  g_timeFn = now;
  g_sleepFn = sleep;
}

void SockletSetWaitStep(unsigned milliseconds) {
  g_waitStep = milliseconds ? milliseconds : 1000;
}

uint32_t SockletTime() {
  SockletTimeFn now = g_timeFn;
  return now ? now() : static_cast<uint32_t>(time(nullptr));
}

void SockletSleep(unsigned milliseconds) {
  SockletSleepFn sleep = g_sleepFn;
  if (sleep)
    sleep(milliseconds);
  else
    Sleep(milliseconds);
}

unsigned SockletWaitStep() {
  return g_waitStep;
}
