#include "ui/gif/GifLzw.h"

namespace {

// Reads codes least significant bit first from the data, never past its end.
class BitReader {
 public:
  BitReader(const uint8_t* data, size_t size) : m_data(data), m_bits(static_cast<uint64_t>(size) * 8) {}

  bool Read(int width, unsigned& code) {
    if (m_pos + static_cast<uint64_t>(width) > m_bits) return false;
    // A code spans at most three bytes (12 bits starting anywhere in a byte).
    size_t byte = static_cast<size_t>(m_pos >> 3);
    unsigned shift = static_cast<unsigned>(m_pos & 7);
    uint32_t word = m_data[byte];
    size_t bytes = static_cast<size_t>(m_bits >> 3);
    if (byte + 1 < bytes) word |= static_cast<uint32_t>(m_data[byte + 1]) << 8;
    if (byte + 2 < bytes) word |= static_cast<uint32_t>(m_data[byte + 2]) << 16;
    code = (word >> shift) & ((1u << width) - 1);
    m_pos += static_cast<uint64_t>(width);
    return true;
  }

 private:
  const uint8_t* m_data;
  uint64_t m_bits;
  uint64_t m_pos = 0;
};

}  // namespace

bool GifLzwDecoder::Decode(int minCodeSize, const uint8_t* data, size_t size, uint8_t* out,
                           size_t outSize) {
  if (minCodeSize < 0 || minCodeSize > 8) return false;
  const unsigned clearCode = 1u << minCodeSize;
  const unsigned endCode = clearCode + 1;
  for (unsigned i = 0; i < clearCode; ++i) {
    m_prefix[i] = 0;
    m_suffix[i] = static_cast<uint8_t>(i);
    m_first[i] = static_cast<uint8_t>(i);
    m_length[i] = 1;
  }
  // The clear and end codes stand for no bytes; a stream that outputs them as data has none.
  m_length[clearCode] = 0;
  m_length[endCode] = 0;

  unsigned next = clearCode + 2;
  int width = minCodeSize + 1;
  unsigned limit = 1u << width;
  bool havePrevious = false;
  unsigned previous = 0;
  size_t pos = 0;

  BitReader bits(data, size);
  unsigned code;
  while (bits.Read(width, code)) {
    if (code == clearCode) {
      next = clearCode + 2;
      width = minCodeSize + 1;
      limit = 1u << width;
      havePrevious = false;
      continue;
    }
    if (code == endCode) return true;

    if (code < next) {
      // A root or an entry added since the last clear: it extends the previous one.
      if (havePrevious) {
        if (next >= static_cast<unsigned>(kTableSize)) return false;
        m_prefix[next] = static_cast<uint16_t>(previous);
        m_suffix[next] = m_first[code];
        m_first[next] = m_first[previous];
        m_length[next] = static_cast<uint16_t>(m_length[previous] + 1);
        ++next;
      }
    } else if (code == next && havePrevious) {
      // The entry being defined by this very code: previous plus its own first byte.
      if (next >= static_cast<unsigned>(kTableSize)) return false;
      m_prefix[next] = static_cast<uint16_t>(previous);
      m_suffix[next] = m_first[previous];
      m_first[next] = m_first[previous];
      m_length[next] = static_cast<uint16_t>(m_length[previous] + 1);
      ++next;
    } else {
      return false;
    }

    // Written back to front into its place; an entry that does not fit writes nothing, and
    // nothing after it fits either.
    size_t length = m_length[code];
    if (pos <= outSize && length <= outSize - pos) {
      unsigned c = code;
      for (size_t i = length; i-- > 0;) {
        out[pos + i] = m_suffix[c];
        c = m_prefix[c];
      }
    }
    pos = (pos <= outSize && length <= outSize - pos) ? pos + length : outSize + 1;

    if (next >= limit) {
      if (next > limit) return false;
      if (width < 12) {
        ++width;
        limit <<= 1;
      }
    }
    previous = code;
    havePrevious = true;
  }
  return true;
}
