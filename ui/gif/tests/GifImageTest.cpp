// GifImage, the Windows side of the GIF loader: loading from a file (and refusing what cannot be
// read or is too large), frame bitmaps with the transparent colour replaced, and masks that lie
// on their frames pixel for pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ui/gif/GifImage.h"
#include "ui/gif/tests/GifFixtures.inc"

namespace {

class GifImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    m_path = std::string(folder) + "zb-gif-test-" + std::to_string(::GetCurrentProcessId()) + ".gif";
  }
  void TearDown() override { ::DeleteFileA(m_path.c_str()); }

  template <size_t N>
  const char* Write(const unsigned char (&data)[N]) {
    return WriteBytes(data, N);
  }
  const char* WriteBytes(const void* data, size_t size) {
    HANDLE f = ::CreateFileA(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(f, data, static_cast<DWORD>(size), &written, nullptr);
    ::CloseHandle(f);
    return m_path.c_str();
  }

  std::string m_path;
};

// The colours of a bitmap as a memory device context sees them, row by row from the top.
std::vector<COLORREF> Pixels(HBITMAP bitmap, int width, int height) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  std::vector<COLORREF> out;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) out.push_back(::GetPixel(dc, x, y));
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  return out;
}

const COLORREF kPalette[] = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};

TEST_F(GifImageTest, LoadsAFileAndHandsOutItsFrames) {
  GifImage gif;
  EXPECT_EQ(gif.GetFrameCount(), 0);
  ASSERT_TRUE(gif.Load(Write(kGifTwoFrames)));
  ASSERT_EQ(gif.GetFrameCount(), 2);
  GifFrameInfo info;
  ASSERT_TRUE(gif.GetFrameInfo(1, &info));
  EXPECT_EQ(info.left, 1);
  EXPECT_EQ(info.top, 2);
  EXPECT_EQ(info.transparent, 2);
  EXPECT_EQ(info.delay, 10);
  EXPECT_FALSE(gif.GetFrameInfo(2, &info));
  EXPECT_FALSE(gif.GetFrameInfo(-1, &info));
  gif.Free();
  EXPECT_EQ(gif.GetFrameCount(), 0);
}

// A failed load leaves nothing of the file before; the caller keeps its own copy if it wants.
TEST_F(GifImageTest, WhatCannotBeLoadedLeavesNothingLoaded) {
  GifImage gif;
  ASSERT_TRUE(gif.Load(Write(kGifTwoFrames)));
  EXPECT_FALSE(gif.Load((m_path + ".missing").c_str()));
  EXPECT_EQ(gif.GetFrameCount(), 0);

  ASSERT_TRUE(gif.Load(Write(kGifTwoFrames)));
  EXPECT_FALSE(gif.Load(Write(kGifCodeAboveNext)));
  EXPECT_EQ(gif.GetFrameCount(), 0);
  EXPECT_EQ(gif.GetFrameBitmap(nullptr, 0, 0), nullptr);

  // A file past the size cap is refused by its size, before it is read.
  Write(kGifTwoFrames);
  HANDLE f = ::CreateFileA(m_path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(GifDecoder::kMaxFileSize) + 1;
  ::SetFilePointerEx(f, end, nullptr, FILE_BEGIN);
  ::SetEndOfFile(f);
  ::CloseHandle(f);
  EXPECT_FALSE(gif.Load(m_path.c_str()));
  EXPECT_FALSE(gif.Load(nullptr));
}

TEST_F(GifImageTest, FrameBitmapsShowTheFrameWithItsTransparentColourReplaced) {
  GifImage gif;
  ASSERT_TRUE(gif.Load(Write(kGifTwoFrames)));
  HDC screen = ::GetDC(nullptr);
  // The first frame has no transparent colour: every pixel as in the file, rows the right way up.
  HBITMAP first = gif.GetFrameBitmap(screen, 0, RGB(10, 20, 30));
  ASSERT_NE(first, nullptr);
  std::vector<COLORREF> pixels = Pixels(first, 6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(pixels[y * 6 + x], kPalette[(x + 2 * y) % 4]) << x << "," << y;
  ::DeleteObject(first);

  const int second[] = {2, 2, 1, 3, 0, 1, 1, 2};
  for (COLORREF replacement : {RGB(10, 20, 30), RGB(200, 100, 50)}) {
    HBITMAP bitmap = gif.GetFrameBitmap(screen, 1, replacement);
    ASSERT_NE(bitmap, nullptr);
    pixels = Pixels(bitmap, 4, 2);
    for (int i = 0; i < 8; ++i)
      EXPECT_EQ(pixels[i], second[i] == 2 ? replacement : kPalette[second[i]]) << i;
    ::DeleteObject(bitmap);
  }
  EXPECT_EQ(gif.GetFrameBitmap(screen, 2, 0), nullptr);
  EXPECT_EQ(gif.GetFrameBitmap(screen, -1, 0), nullptr);
  ::ReleaseDC(nullptr, screen);
}

// The mask is 1 (white) exactly where the frame's pixel is its transparent index.
TEST_F(GifImageTest, MasksLieOnTheirFrames) {
  GifImage gif;
  ASSERT_TRUE(gif.Load(Write(kGifTwoFrames)));
  GifFrameInfo info;
  ASSERT_TRUE(gif.GetFrameInfo(1, &info));
  HBITMAP mask = gif.GetFrameMask(1, info);
  ASSERT_NE(mask, nullptr);
  BITMAP bm = {};
  ::GetObjectA(mask, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 4);
  EXPECT_EQ(bm.bmHeight, 2);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  std::vector<COLORREF> pixels = Pixels(mask, 4, 2);
  const int second[] = {2, 2, 1, 3, 0, 1, 1, 2};
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(pixels[i], second[i] == 2 ? RGB(255, 255, 255) : RGB(0, 0, 0)) << i;
  ::DeleteObject(mask);

  // Without a transparent colour nothing is masked.
  ASSERT_TRUE(gif.GetFrameInfo(0, &info));
  mask = gif.GetFrameMask(0, info);
  ASSERT_NE(mask, nullptr);
  for (COLORREF c : Pixels(mask, 6, 4)) EXPECT_EQ(c, RGB(0, 0, 0));
  ::DeleteObject(mask);
  EXPECT_EQ(gif.GetFrameMask(5, info), nullptr);
}

// An interlaced frame whose width is no multiple of four, through the whole road.
TEST_F(GifImageTest, InterlacedFramesArriveRightWayUp) {
  GifImage gif;
  ASSERT_TRUE(gif.Load(Write(kGifInterlaced)));
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = gif.GetFrameBitmap(screen, 0, 0);
  ::ReleaseDC(nullptr, screen);
  ASSERT_NE(bitmap, nullptr);
  std::vector<COLORREF> pixels = Pixels(bitmap, 5, 11);
  for (int y = 0; y < 11; ++y) EXPECT_EQ(pixels[y * 5 + 4], RGB(y * 16, 0, 0)) << y;
  ::DeleteObject(bitmap);
}

}  // namespace
