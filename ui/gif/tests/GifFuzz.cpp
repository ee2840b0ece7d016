// libFuzzer target for the GIF decoding core. The first byte chooses what the rest is:
//   0: a GIF file from nowhere;
//   1: damage (offset and xor pairs, then a cut) done to a sound animated GIF;
//   2: a bare LZW stream (minimum code size, output size, data) into a buffer of exactly the size.
// Decoding may fail, but a success must hand out frames that lie within the logical screen and
// hold exactly their pixels; nothing may be read or written outside its buffer.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "ui/gif/GifDecoder.h"
#include "ui/gif/GifLzw.h"
#include "ui/gif/tests/GifFixtures.inc"

namespace {

using Bytes = std::vector<uint8_t>;

void Check(bool ok) {
  if (!ok) std::abort();
}

void DecodeChecked(const uint8_t* data, size_t size) {
  static GifDecoder gif;
  Bytes file(data, data + size);  // exactly the size: the sanitizer catches a read past it
  if (!gif.Decode(file.data(), file.size())) {
    Check(gif.GetFrameCount() == 0);
    return;
  }
  const GifScreen& screen = gif.GetScreen();
  for (size_t i = 0; i < gif.GetFrameCount(); ++i) {
    const GifFrame& f = gif.GetFrame(i);
    Check(f.width > 0 && f.height > 0);
    Check(f.left + f.width <= screen.width && f.top + f.height <= screen.height);
    Check(f.pixels.size() == static_cast<size_t>(f.width) * f.height);
    Check(f.descriptorOffset < size && data[f.descriptorOffset] == 0x2C);
    GifFrameInfo info;
    Check(gif.GetFrameInfo(i, info));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t mode = data[0] % 3;
  ++data;
  --size;
  if (mode == 0) {
    DecodeChecked(data, size);
  } else if (mode == 1) {
    const bool big = size > 0 && (data[0] & 1);
    Bytes bad = big ? Bytes(kGifNoise87a, kGifNoise87a + sizeof kGifNoise87a)
                    : Bytes(kGifTwoFrames, kGifTwoFrames + sizeof kGifTwoFrames);
    size_t k = 1;
    for (; k + 3 <= size; k += 3) {
      size_t at = (static_cast<size_t>(data[k]) | static_cast<size_t>(data[k + 1]) << 8) % bad.size();
      bad[at] ^= data[k + 2];
    }
    if (k < size) bad.resize(bad.size() - data[k] % bad.size());
    DecodeChecked(bad.data(), bad.size());
  } else {
    if (size < 3) return 0;
    int minCodeSize = data[0] % 10;
    size_t outSize = static_cast<size_t>(data[1]) | static_cast<size_t>(data[2]) << 8;
    static GifLzwDecoder lzw;
    Bytes stream(data + 3, data + size);
    Bytes out(outSize);
    lzw.Decode(minCodeSize, stream.data(), stream.size(), out.data(), out.size());
  }
  return 0;
}
