#include "foundation/core/Crc32.h"

namespace {

struct CrcTable {
  uint32_t entry[256];
  CrcTable() {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entry[n] = c;
    }
  }
};

// Built once, on first use, safely even when several threads start at the same time.
const CrcTable& Table() {
  static const CrcTable table;
  return table;
}

}  // namespace

CCrc32::CCrc32() {
  Table();
}

uint32_t CCrc32::Update(uint32_t crc, const void* data, long length) {
  if (length < 1 || !data) return crc;
  const uint32_t* t = Table().entry;
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (long i = 0; i < length; ++i) crc = t[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}
