// The numbers the update dialog shows, worked out apart from the window: the transfer rate in
// its unit, the time left, and sizes with thousands separators.
#pragma once

#include <cstdint>
#include <string>

enum RateUnit { kRateBytes = 0, kRateKilobytes = 1, kRateMegabytes = 2 };
struct RateText {
  RateUnit unit;
  std::string number;  // with its trailing blank; the unit's text follows it
};
RateText FormatRate(uint32_t bytesPerSecond);

struct TimeLeft {
  bool underAMinute;
  unsigned hours;
  unsigned minutes;  // rounded up
};
// From the bytes still to come and the rate; never negative when more came than was announced.
TimeLeft ComputeTimeLeft(uint64_t total, uint64_t done, uint32_t bytesPerSecond);

// "1,234,567"; empty for 0 digits or more than nine.
std::string FormatThousands(int64_t n);
