#include "foundation/net/BandwidthMeter.h"

#include "foundation/net/Socklet.h"

namespace {

const uint32_t kWindowSeconds = 30;
const uint32_t kRecomputeSeconds = 3;

}  // namespace

void CBandwidthMeter::GetStats(BandwidthStats* out, bool force) {
  if (!out || out == &m_live) return;
  CSockletLock lock(kLockBandwidth);
  uint32_t now = SockletTime();
  m_live.time = now;
  if (m_baselineB.time == 0) {
    m_baselineA = m_live;
    m_baselineB = m_live;
  }
  uint32_t elapsed = now - m_baselineB.time;
  if (elapsed >= kWindowSeconds) {
    m_baselineA = m_baselineB;
    m_baselineB = m_live;
  }
  // Rates cover the time since baseline A: between one and two windows once the meter has run
  // for a window. Within the first second there is no interval to divide by; they stay as they
  // were.
  if ((elapsed >= kRecomputeSeconds || force) && now != m_baselineA.time) {
    uint32_t seconds = now - m_baselineA.time;
    m_live.receiveRate = (m_live.received - m_baselineA.received) / seconds;
    m_live.sendRate = (m_live.sent - m_baselineA.sent) / seconds;
  }
  *out = m_live;
}

void CBandwidthMeter::AddReceived(uint32_t bytes) {
  CSockletLock lock(kLockBandwidth);
  m_live.received += bytes;
}

void CBandwidthMeter::AddSent(uint32_t bytes) {
  CSockletLock lock(kLockBandwidth);
  m_live.sent += bytes;
}

void CBandwidthMeter::SetLimits(uint32_t receiveLimit, uint32_t sendLimit) {
  CSockletLock lock(kLockBandwidth);
  m_live.receiveLimit = receiveLimit;
  m_live.sendLimit = sendLimit;
}
