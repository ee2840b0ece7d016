#include "foundation/core/ScrambleCoder.h"

#include "foundation/core/Crc32.h"

namespace {

unsigned char SwapNibbles(unsigned char b) {
  return static_cast<unsigned char>((b << 4) | (b >> 4));
}

char* Fail(int& length) {
  length = 0;
  return nullptr;
}

}  // namespace

CScrambleCoder::CScrambleCoder(const char* keyText) {
  for (const char* p = keyText; p && *p; ++p) {
    int16_t c = static_cast<signed char>(*p);
    m_key = static_cast<uint16_t>((m_key + static_cast<uint16_t>(c)) ^ 0x3D0A);
  }
}

char* CScrambleCoder::Encode(const char* data, int& length) {
  if (length < 0 || (!data && length > 0)) return Fail(length);
  size_t n = static_cast<size_t>(length);
  uint32_t crc = CCrc32::Of(data, length);
  unsigned char check[2] = {static_cast<unsigned char>(crc >> 8), static_cast<unsigned char>(crc)};

  unsigned char* out = static_cast<unsigned char*>(AllocCoderBuffer(2 * (n + 2) + 1));
  if (!out) return Fail(length);
  unsigned char* o = out;
  unsigned char running = 0;
  for (size_t i = 0; i < n + 2; ++i) {
    unsigned char p = i < n ? static_cast<unsigned char>(data[i]) : check[i - n];
    running ^= SwapNibbles(p) ^ KeyByte(i);
    // 0 and 1 are escaped so that no zero byte appears inside the output.
    if (running <= 1) {
      *o++ = 0x01;
      *o++ = static_cast<unsigned char>(running + 1);
    } else {
      *o++ = running;
    }
  }
  *o = 0;
  length = static_cast<int>(o - out);
  return reinterpret_cast<char*>(out);
}

char* CScrambleCoder::Decode(const char* data, int& length) {
  if (!data || length < 0) return Fail(length);
  size_t m = static_cast<size_t>(length);
  const unsigned char* in = reinterpret_cast<const unsigned char*>(data);
  unsigned char* out = static_cast<unsigned char*>(AllocCoderBuffer(m + 1));
  if (!out) return Fail(length);

  size_t count = 0;
  unsigned char previous = 0;
  for (size_t i = 0; i < m; ++i) {
    unsigned char v = in[i];
    if (v == 0x01 && i + 1 < m) {
      if (in[i + 1] == 0x01) {
        v = 0;
        ++i;
      } else if (in[i + 1] == 0x02) {
        v = 1;
        ++i;
      } else {
        v = 1;
      }
    }
    unsigned char t = static_cast<unsigned char>(v ^ previous);
    previous = v;
    out[count] = SwapNibbles(static_cast<unsigned char>(t ^ KeyByte(count)));
    ++count;
  }

  // The last two bytes are the check: the low 16 bits of the CRC-32 of the rest.
  bool accepted = false;
  if (count >= 2) {
    count -= 2;
    uint16_t check = static_cast<uint16_t>((out[count] << 8) | out[count + 1]);
    accepted = static_cast<uint16_t>(CCrc32::Of(out, static_cast<long>(count))) == check;
  }
  if (!accepted) count = 0;
  out[count] = 0;
  length = static_cast<int>(count);
  return reinterpret_cast<char*>(out);
}
