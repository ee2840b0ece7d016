// The GIF decoding core: frames and what they are shown with, colour tables, interlace, the LZW
// stream's clear and end codes, and damaged files, which must fail cleanly with nothing kept.
// Runs natively with sanitizers as well as under Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/gif/GifDecoder.h"
#include "ui/gif/GifLzw.h"
#include "ui/gif/tests/GifFixtures.inc"

namespace {

using Bytes = std::vector<uint8_t>;

template <size_t N>
Bytes Fixture(const unsigned char (&data)[N]) {
  return Bytes(data, data + N);
}

// The generator's noise, for the large fixtures.
Bytes NoisePixels(size_t count) {
  Bytes out;
  uint32_t v = 12345;
  for (size_t i = 0; i < count; ++i) {
    v = v * 1103515245u + 12345u;
    out.push_back(static_cast<uint8_t>(v >> 16));
  }
  return out;
}

bool Decode(GifDecoder& gif, const Bytes& file) { return gif.Decode(file.data(), file.size()); }

std::vector<GifFrameInfo> Infos(const GifDecoder& gif) {
  std::vector<GifFrameInfo> out(gif.GetFrameCount());
  for (size_t i = 0; i < out.size(); ++i) EXPECT_TRUE(gif.GetFrameInfo(i, out[i]));
  return out;
}

TEST(GifDecoderTest, FramesCarryTheirPlaceDelayTransparencyAndDisposal) {
  GifDecoder gif;
  ASSERT_TRUE(Decode(gif, Fixture(kGifTwoFrames)));
  EXPECT_EQ(gif.GetScreen().width, 6);
  EXPECT_EQ(gif.GetScreen().height, 4);
  ASSERT_EQ(gif.GetFrameCount(), 2u);
  std::vector<GifFrameInfo> info = Infos(gif);
  // Zero delays in an animation become 10, so it never spins without pause.
  EXPECT_EQ(info[0].delay, 10);
  EXPECT_EQ(info[1].delay, 10);
  EXPECT_EQ(info[0].transparent, 0xFFFF);
  EXPECT_EQ(info[0].disposal, 0);
  EXPECT_EQ(info[1].left, 1);
  EXPECT_EQ(info[1].top, 2);
  EXPECT_EQ(info[1].width, 4);
  EXPECT_EQ(info[1].height, 2);
  EXPECT_EQ(info[1].transparent, 2);
  EXPECT_EQ(info[1].disposal, 2 << 2);  // the bits stay in place
  EXPECT_FALSE(gif.GetFrameInfo(2, info[0]));

  Bytes first;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) first.push_back(static_cast<uint8_t>((x + 2 * y) % 4));
  EXPECT_EQ(gif.GetFrame(0).pixels, first);
  EXPECT_EQ(gif.GetFrame(1).pixels, (Bytes{2, 2, 1, 3, 0, 1, 1, 2}));
  // The image descriptors' places in the file.
  EXPECT_EQ(kGifTwoFrames[gif.GetFrame(0).descriptorOffset], 0x2C);
  EXPECT_EQ(kGifTwoFrames[gif.GetFrame(1).descriptorOffset], 0x2C);
  EXPECT_GT(gif.GetFrame(1).descriptorOffset, gif.GetFrame(0).descriptorOffset);
}

TEST(GifDecoderTest, DelaysAsWrittenAndZeroOnlyForASingleFrame) {
  GifDecoder gif;
  ASSERT_TRUE(Decode(gif, Fixture(kGifDelays)));
  std::vector<GifFrameInfo> info = Infos(gif);
  ASSERT_EQ(info.size(), 3u);
  EXPECT_EQ(info[0].delay, 7);
  EXPECT_EQ(info[1].delay, 10);
  EXPECT_EQ(info[2].delay, 250);
  EXPECT_EQ(info[2].disposal, 3 << 2);

  ASSERT_TRUE(Decode(gif, Fixture(kGifOneFrameZeroDelay)));
  info = Infos(gif);
  ASSERT_EQ(info.size(), 1u);
  EXPECT_EQ(info[0].delay, 0);
}

TEST(GifDecoderTest, InterlacedRowsComeOutInDisplayOrder) {
  GifDecoder gif;
  ASSERT_TRUE(Decode(gif, Fixture(kGifInterlaced)));
  ASSERT_EQ(gif.GetFrameCount(), 1u);
  const GifFrame& f = gif.GetFrame(0);
  ASSERT_EQ(f.pixels.size(), 5u * 11u);
  for (int row = 0; row < 11; ++row)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(f.pixels[row * 5 + x], row) << "row " << row;
}

TEST(GifDecoderTest, LocalTableForItsFrameGlobalTableForTheRest) {
  GifDecoder gif;
  ASSERT_TRUE(Decode(gif, Fixture(kGifLocalTable)));
  ASSERT_EQ(gif.GetFrameCount(), 2u);
  const GifFrame& local = gif.GetFrame(0);
  EXPECT_EQ(local.colourCount, 4);
  EXPECT_EQ(0, std::memcmp(local.palette, "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C", 12));
  const GifFrame& global = gif.GetFrame(1);
  EXPECT_EQ(global.colourCount, 2);
  EXPECT_EQ(global.palette[0], 200);
  EXPECT_EQ(global.palette[4], 200);
  // Entries past the table are black, so any pixel value names a colour.
  for (int i = 6; i < 256 * 3; ++i) ASSERT_EQ(global.palette[i], 0);

  ASSERT_TRUE(Decode(gif, Fixture(kGifNoColourTable)));
  EXPECT_EQ(gif.GetFrame(0).colourCount, 0);
  EXPECT_EQ(gif.GetFrame(0).pixels, (Bytes{1, 3}));
}

// Large images grow the codes to 12 bits and clear the table when it is full; a clear at any
// point starts the table afresh; a stream may end without its end code.
TEST(GifDecoderTest, ClearAndEndCodes) {
  GifDecoder gif;
  ASSERT_TRUE(Decode(gif, Fixture(kGifNoise87a)));
  ASSERT_EQ(gif.GetFrameCount(), 1u);
  EXPECT_EQ(gif.GetFrame(0).pixels, NoisePixels(100 * 80));

  ASSERT_TRUE(Decode(gif, Fixture(kGifClearsEvery10)));
  Bytes expected;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 40; ++x) expected.push_back(static_cast<uint8_t>(x * y % 4));
  EXPECT_EQ(gif.GetFrame(0).pixels, expected);

  ASSERT_TRUE(Decode(gif, Fixture(kGifNoEndCode)));
  EXPECT_EQ(gif.GetFrame(0).pixels, (Bytes{3, 2, 1}));

  ASSERT_TRUE(Decode(gif, Fixture(kGifCodeBeingDefined)));
  EXPECT_EQ(gif.GetFrame(0).pixels, (Bytes{1, 1, 1}));
}

TEST(GifDecoderTest, WhatEndsTheFile) {
  GifDecoder gif;
  // Bytes after the trailer are never read (these would fail the file).
  ASSERT_TRUE(Decode(gif, Fixture(kGifGarbageAfterTrailer)));
  EXPECT_EQ(gif.GetFrameCount(), 1u);
  // An unknown block ends the file with the images so far.
  ASSERT_TRUE(Decode(gif, Fixture(kGifUnknownBlock)));
  EXPECT_EQ(gif.GetFrameCount(), 1u);
  // Comments and application extensions are skipped; the control before the image still counts.
  ASSERT_TRUE(Decode(gif, Fixture(kGifOtherExtensions)));
  ASSERT_EQ(gif.GetFrameCount(), 1u);
  GifFrameInfo info;
  ASSERT_TRUE(gif.GetFrameInfo(0, info));
  EXPECT_EQ(info.delay, 5);
  // A frame as wide as the cap is fine.
  ASSERT_TRUE(Decode(gif, Fixture(kGifFrameAtCap)));
  EXPECT_EQ(gif.GetFrame(0).pixels.size(), 4096u);
}

struct BadFile {
  const char* why;
  Bytes file;
};

// Each fails the whole file, and nothing of it (nor of the file before) is kept.
TEST(GifDecoderTest, DamagedFilesFailCleanly) {
  Bytes noHeader = Fixture(kGifTwoFrames);
  noHeader[4] = '8';  // "GIF88a"
  Bytes shortScreen(kGifTwoFrames, kGifTwoFrames + 10);
  Bytes shortGlobalTable(kGifTwoFrames, kGifTwoFrames + 20);
  Bytes bigLocalTable = Fixture(kGifLocalTable);
  // The image descriptor's packed byte of the first frame: a local table of 256 entries.
  bigLocalTable[13 + 6 + 9] = 0x87;
  const BadFile cases[] = {
      {"not a GIF header", noHeader},
      {"screen descriptor cut", shortScreen},
      {"global table cut", shortGlobalTable},
      {"local table runs past the end", bigLocalTable},
      {"graphic control of 5 bytes", Fixture(kGifControlOfFiveBytes)},
      {"code above the next free code", Fixture(kGifCodeAboveNext)},
      {"next free code with no previous code", Fixture(kGifNextCodeFirst)},
      {"minimum code size 9", Fixture(kGifMinCodeSize9)},
      {"full table coded on without a clear", Fixture(kGifFullTableNoClear)},
      {"frame beyond the logical screen", Fixture(kGifFrameOutsideScreen)},
      {"frame of zero width", Fixture(kGifFrameOfZeroWidth)},
      {"frame wider than 4096", Fixture(kGifFrameWiderThanCap)},
      {"frames past the pixel cap together", Fixture(kGifTooManyPixels)},
      {"empty file", Bytes()},
  };
  GifDecoder gif;
  for (const BadFile& c : cases) {
    ASSERT_TRUE(Decode(gif, Fixture(kGifTwoFrames)));
    EXPECT_FALSE(Decode(gif, c.file)) << c.why;
    EXPECT_EQ(gif.GetFrameCount(), 0u) << c.why;
    EXPECT_EQ(gif.GetScreen().width, 0) << c.why;
  }
  EXPECT_FALSE(gif.Decode(nullptr, 10));
  Bytes tooLarge(static_cast<size_t>(GifDecoder::kMaxFileSize) + 1, 0);
  std::memcpy(tooLarge.data(), kGifTwoFrames, sizeof kGifTwoFrames);
  EXPECT_FALSE(Decode(gif, tooLarge));
}

// A file cut anywhere either fails or, cut exactly between blocks, keeps the frames before the
// cut: never more, never a read past the cut (the sanitizers of the host build watch this).
TEST(GifDecoderTest, AFileCutAtEveryPoint) {
  const Bytes whole = Fixture(kGifTwoFrames);
  GifDecoder full;
  ASSERT_TRUE(Decode(full, whole));
  const size_t firstImage = full.GetFrame(0).descriptorOffset;
  const size_t secondImage = full.GetFrame(1).descriptorOffset;
  constexpr size_t kScreenEnd = 6 + 7 + 4 * 3;
  GifDecoder gif;
  for (size_t cut = 0; cut < whole.size(); ++cut) {
    Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
    bool ok = Decode(gif, part);
    if (cut < kScreenEnd) {
      EXPECT_FALSE(ok) << cut;
    } else if (ok) {
      EXPECT_LE(gif.GetFrameCount(), 2u) << cut;
      if (cut < firstImage + 10) {
        EXPECT_EQ(gif.GetFrameCount(), 0u) << cut;
      }
      if (cut < secondImage) {
        EXPECT_LE(gif.GetFrameCount(), 1u) << cut;
      }
    }
  }
  // Cut right after a whole block: the frames so far.
  EXPECT_TRUE(gif.Decode(whole.data(), kScreenEnd));
  EXPECT_EQ(gif.GetFrameCount(), 0u);
  EXPECT_TRUE(gif.Decode(whole.data(), whole.size() - 1));  // without its trailer
  EXPECT_EQ(gif.GetFrameCount(), 2u);
  // Cut inside the first image's data.
  EXPECT_FALSE(gif.Decode(whole.data(), firstImage + 14));
}

// Codes packed by hand: what no sound encoder writes.
class CodePacker {
 public:
  void Put(unsigned code, int width) {
    for (int i = 0; i < width; ++i, ++m_bits) {
      if (m_bits % 8 == 0) m_data.push_back(0);
      if (code >> i & 1) m_data.back() |= static_cast<uint8_t>(1 << (m_bits % 8));
    }
  }
  const Bytes& Data() const { return m_data; }

 private:
  Bytes m_data;
  size_t m_bits = 0;
};

TEST(GifLzwDecoderTest, OutputBeyondTheBufferIsNotWritten) {
  // s = 2: clear 4, end 5; entries 6 = (1,1), 7 = (1,1,1) ...
  CodePacker p;
  p.Put(4, 3);
  p.Put(1, 3);
  p.Put(6, 3);
  p.Put(7, 3);  // three more bytes: only one fits
  p.Put(2, 4);  // the width grew once entry 7 was made
  p.Put(5, 4);
  GifLzwDecoder lzw;
  uint8_t out[5] = {9, 9, 9, 9, 9};
  ASSERT_TRUE(lzw.Decode(2, p.Data().data(), p.Data().size(), out, 4));
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[1], 1);
  EXPECT_EQ(out[2], 1);
  EXPECT_EQ(out[3], 9);  // the entry that did not fit wrote nothing, nor did what came after
  EXPECT_EQ(out[4], 9);
}

TEST(GifLzwDecoderTest, CodeSizesAndEmptyStreams) {
  GifLzwDecoder lzw;
  uint8_t out[4] = {};
  EXPECT_TRUE(lzw.Decode(2, nullptr, 0, out, sizeof out));  // no data: nothing to do
  EXPECT_FALSE(lzw.Decode(9, nullptr, 0, out, sizeof out));
  EXPECT_FALSE(lzw.Decode(-1, nullptr, 0, out, sizeof out));
  // Minimum code size 8 with every root code.
  CodePacker p;
  p.Put(256, 9);
  p.Put(255, 9);
  p.Put(0, 9);
  p.Put(257, 9);
  uint8_t two[2] = {};
  ASSERT_TRUE(lzw.Decode(8, p.Data().data(), p.Data().size(), two, sizeof two));
  EXPECT_EQ(two[0], 255);
  EXPECT_EQ(two[1], 0);
}

}  // namespace
