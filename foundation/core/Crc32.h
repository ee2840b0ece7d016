// CCrc32: the reflected CRC-32 of ISO-HDLC / IEEE 802.3 (polynomial 0xEDB88320). The CRC of a
// buffer is ~Update(0xFFFFFFFF, data, length).
#pragma once

#include <cstddef>
#include <cstdint>

class CCrc32 {
 public:
  CCrc32();  // builds the shared table on first use
  virtual ~CCrc32() = default;

  // The running value after feeding length bytes; no inversion inside.
  static uint32_t Update(uint32_t crc, const void* data, long length);
  static uint32_t Of(const void* data, long length) { return ~Update(0xFFFFFFFFu, data, length); }
};
