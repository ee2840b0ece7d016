// CBandwidthMeter: the transfer counters that all sockets of a run share, with rates over a
// sliding window of 30 to 60 seconds and optional rate limits against which CSock throttles.
// All-zero is the valid initial state.
#pragma once

#include <cstdint>

struct BandwidthStats {
  uint32_t received;      // bytes, total
  uint32_t sent;          // bytes, total
  uint32_t receiveRate;   // bytes per second
  uint32_t sendRate;      // bytes per second
  uint32_t time;          // seconds, as time()
  uint32_t receiveLimit;  // bytes per second, 0 = none
  uint32_t sendLimit;     // bytes per second, 0 = none
};

class CBandwidthMeter {
 public:
  // Updates the rates and copies the live block into out. Does nothing when out is null or is
  // the live block. force recomputes the rates even within 3 seconds of the last slide.
  void GetStats(BandwidthStats* out, bool force);

  // The sockets count their traffic here.
  void AddReceived(uint32_t bytes);
  void AddSent(uint32_t bytes);

  // Set by the meter's owner; 0 = no limit.
  void SetLimits(uint32_t receiveLimit, uint32_t sendLimit);

  BandwidthStats m_baselineA{};
  BandwidthStats m_baselineB{};
  BandwidthStats m_live{};
};
