#include "foundation/codec/CrusherCrc.h"

#include <bit>
#include <cstring>

namespace {

// table[0] is the classic byte table; table[k] advances a byte that is k more bytes ahead.
struct CrcTables {
  uint32_t table[8][256];
  constexpr CrcTables() : table{} {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[0][n] = c;
    }
    for (int k = 1; k < 8; ++k)
      for (uint32_t n = 0; n < 256; ++n)
        table[k][n] = (table[k - 1][n] >> 8) ^ table[0][table[k - 1][n] & 0xFF];
  }
};

constexpr CrcTables kCrc;

}  // namespace

uint32_t CrusherCrcUpdate(uint32_t crc, const void* data, size_t length) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  const auto& t = kCrc.table;
  if constexpr (std::endian::native == std::endian::little) {
    for (; length >= 8; length -= 8, p += 8) {
      uint32_t a, b;
      std::memcpy(&a, p, 4);
      std::memcpy(&b, p + 4, 4);
      a ^= crc;
      crc = t[7][a & 0xFF] ^ t[6][(a >> 8) & 0xFF] ^ t[5][(a >> 16) & 0xFF] ^ t[4][a >> 24] ^
            t[3][b & 0xFF] ^ t[2][(b >> 8) & 0xFF] ^ t[1][(b >> 16) & 0xFF] ^ t[0][b >> 24];
    }
  }
  for (; length > 0; --length) crc = t[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
  return crc;
}
