// The LZW decoder of GIF image data. Free of the operating system, so it also builds natively
// (fuzzing, benchmarks).
#pragma once
#include <cstddef>
#include <cstdint>

class GifLzwDecoder {
 public:
  // Codes are at most 12 bits wide; one entry past the last code lets a full table be detected
  // as the image's failure rather than as a write beyond it.
  static constexpr int kTableSize = 4097;

  // Decodes the gathered data sub-blocks of one image into out (outSize bytes). Returns false
  // for a minimum code size above 8, a code that is not in the table, or a table that overflows.
  // A stream without an end code succeeds; bytes it does not reach are left as they were.
  bool Decode(int minCodeSize, const uint8_t* data, size_t size, uint8_t* out, size_t outSize);

 private:
  // Each entry is its prefix code plus one suffix byte; its length and first byte are kept so
  // that an entry is written back to front straight into the output, with no copies.
  uint16_t m_prefix[kTableSize];
  uint8_t m_suffix[kTableSize];
  uint8_t m_first[kTableSize];
  uint16_t m_length[kTableSize];
};
