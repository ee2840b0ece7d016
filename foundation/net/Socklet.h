// The socket library: reference-counted start-up and clean-up of WinSock (the first and the last
// reference serialised across modules by the named mutex "SockletMutex", the count itself by a
// lock of the process), and the process-wide locks that the network classes share. The program
// holds one reference for its whole life; every CSock holds one more while it lives.
#pragma once

#include <cstdint>

// Both return false when the first or last reference cannot have the named mutex (then nothing
// was done); other calls only count.
bool SockletStartup();
bool SockletCleanup();
int SockletReferences();

// The library's process-wide locks, created at the first start-up and deleted at the last
// clean-up. The two reserved ones are taken by nothing.
enum SockletLockId {
  kLockHostCache = 0,
  kLockReverseCache = 1,
  kLockCookieJar = 2,
  kLockBandwidth = 3,
  kLockSocketCount = 4,
  kLockReserved5 = 5,
  kLockReserved6 = 6,
  kSockletLockCount = 7
};
void SockletLock(SockletLockId id);
void SockletUnlock(SockletLockId id);

class CSockletLock {
 public:
  explicit CSockletLock(SockletLockId id) : m_id(id) { SockletLock(id); }
  ~CSockletLock() { SockletUnlock(m_id); }
  CSockletLock(const CSockletLock&) = delete;
  CSockletLock& operator=(const CSockletLock&) = delete;

 private:
  SockletLockId m_id;
};

// Live CSock objects.
int SockletLiveSockets();
void SockletCountSocket(int delta);

// The clock and the pauses of the network layer. Every wait of the layer is counted in steps of
// SockletWaitStep() milliseconds (one second in the product); pauses go through SockletSleep and
// rates are measured with SockletTime (seconds, as time()). Tests shorten the waits here; the
// product never calls the setters. A null function or a step of 0 restores the default.
using SockletTimeFn = uint32_t (*)();
using SockletSleepFn = void (*)(unsigned milliseconds);
void SockletSetClock(SockletTimeFn now, SockletSleepFn sleep);
void SockletSetWaitStep(unsigned milliseconds);
uint32_t SockletTime();
void SockletSleep(unsigned milliseconds);
unsigned SockletWaitStep();
