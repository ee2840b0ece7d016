// libFuzzer target for the block compressor. The first byte chooses what the rest is:
//   0: a compressed stream from nowhere, expanded to a size taken from its next two bytes;
//   1: data to compress and expand again, which must come back unchanged;
//   2: damage (offset and xor pairs, then a cut) done to a sound stream before expanding it.
// Expansion may fail, but only with CRUSHER_BAD_DATA, and never outside its buffer.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/codec/Crusher.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Check(bool ok) {
  if (!ok) std::abort();
}

void ExpandChecked(const uint8_t* stream, size_t size, size_t length) {
  Bytes out(length);  // exactly the size: the sanitizer catches a write past it
  int r = CrusherDecompress(stream, out.data(), static_cast<int>(length), static_cast<int>(size),
                            static_cast<int>(length));
  Check(r == CRUSHER_OK || r == CRUSHER_BAD_DATA);
}

const Bytes& SoundSample() {
  static Bytes sample = [] {
    std::string s;
    for (int k = 0; s.size() < 12000; ++k)
      s += "<tr><td>engine " + std::to_string(k % 37) + "</td><td align=\"right\">" +
           std::to_string(k * 7919 % 1000) + "</td></tr>\n";
    return Bytes(s.begin(), s.end());
  }();
  return sample;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = CrusherInit() == CRUSHER_OK;
  Check(ready);
  if (size < 1) return 0;
  const uint8_t mode = data[0] % 3;
  ++data;
  --size;
  if (mode == 0) {
    if (size < 2) return 0;
    size_t length = (static_cast<size_t>(data[0]) | static_cast<size_t>(data[1]) << 8) * 4;
    ExpandChecked(data + 2, size - 2, length);
  } else if (mode == 1) {
    if (size < 1) return 0;
    Bytes packed(size), back(size);
    int r = CrusherCompress(data, packed.data(), static_cast<int>(size));
    if (r == CRUSHER_NO_GAIN) {
      Check(std::memcmp(packed.data(), data, size) == 0);
      return 0;
    }
    Check(r > 0 && static_cast<size_t>(r) < size);
    Check(CrusherDecompress(packed.data(), back.data(), static_cast<int>(size), r,
                            static_cast<int>(size)) == CRUSHER_OK);
    Check(std::memcmp(back.data(), data, size) == 0);
  } else {
    static Bytes sound = [] {
      const Bytes& in = SoundSample();
      Bytes out(in.size());
      int r = CrusherCompress(in.data(), out.data(), static_cast<int>(in.size()));
      out.resize(r > 0 ? static_cast<size_t>(r) : 0);
      return out;
    }();
    Check(!sound.empty());
    Bytes bad = sound;
    size_t k = 0;
    for (; k + 3 <= size; k += 3) {
      size_t at =
          (static_cast<size_t>(data[k]) | static_cast<size_t>(data[k + 1]) << 8) % bad.size();
      bad[at] ^= data[k + 2];
    }
    if (k < size) bad.resize(bad.size() - data[k] % bad.size());
    ExpandChecked(bad.data(), bad.size(), SoundSample().size());
  }
  return 0;
}
