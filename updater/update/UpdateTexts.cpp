#include "updater/update/UpdateTexts.h"

#include <cstdio>

RateText FormatRate(uint32_t r) {
  char text[48];
  if (r >= 1048576) {
    std::snprintf(text, sizeof text, "%.2f ", r / 1048576.0);
    return {kRateMegabytes, text};
  }
  if (r < 1024) {
    std::snprintf(text, sizeof text, "%ld ", static_cast<long>(r));
    return {kRateBytes, text};
  }
  std::snprintf(text, sizeof text, "%.2f ", r / 1024.0);
  return {kRateKilobytes, text};
}

TimeLeft ComputeTimeLeft(uint64_t total, uint64_t done, uint32_t r) {
  uint64_t left = total > done ? total - done : 0;
  uint64_t s = r ? left / r : 0;
  if (s < 60) return {true, 0, 0};
  uint64_t hours = s / 3600;
  return {false, static_cast<unsigned>(hours > 0xFFFFFFFFu ? 0xFFFFFFFFu : hours),
          static_cast<unsigned>((s % 3600) / 60 + 1)};
}

std::string FormatThousands(int64_t n) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(n));
  std::string d = digits;
  size_t len = d.size();
  if (len == 0 || len > 9) return std::string();
  if (len <= 3) return d;
  if (len <= 6) return d.substr(0, len - 3) + "," + d.substr(len - 3);
  return d.substr(0, len - 6) + "," + d.substr(len - 6, 3) + "," + d.substr(len - 3);
}
