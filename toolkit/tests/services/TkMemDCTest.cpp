// The memory context draws into its own picture and copies it to the target's rectangle only
// when it is destroyed; a discarded one copies nothing. Pixels are read back from a target that
// is itself a bitmap in memory.
#include <gtest/gtest.h>

#include "toolkit/gdi/TkMemDC.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// A 64 x 64 white picture to paint on, in the screen's format.
class TargetDC : public CDC {
 public:
  TargetDC() {
    CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 64;
    info.bmiHeader.biHeight = -64;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_hBitmap = ::CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_hOld = SelectObject(m_hBitmap);
    FillSolidRect(0, 0, 64, 64, kWhite);
  }
  ~TargetDC() override {
    SelectObject(m_hOld);
    ::DeleteObject(m_hBitmap);
  }

 private:
  HBITMAP m_hBitmap;
  HGDIOBJ m_hOld;
};

}  // namespace

TEST(TkMemDCTest, PaintsOffScreenAndCopiesToTheRectangleOnDestruction) {
  TargetDC target;
  {
    CTkMemDC mem(&target, CRect(10, 20, 40, 50), kRed);
    ASSERT_TRUE(mem.IsValid());
    EXPECT_NE(mem.m_hDC, target.m_hDC);
    // The picture's origin is the rectangle's top-left corner.
    mem.SetPixel(0, 0, kBlue);
    mem.SetPixel(29, 27, kBlue);
    EXPECT_EQ(mem.GetPixel(1, 1), kRed) << "filled";
    EXPECT_EQ(target.GetPixel(10, 20), kWhite) << "nothing reaches the target before the end";
  }
  struct Probe {
    int x, y;
    COLORREF expected;
    const char* why;
  };
  const Probe probes[] = {
      {10, 20, kBlue, "the picture's (0, 0) lands on the rectangle's corner"},
      {39, 47, kBlue, "and its far pixels inside the rectangle"},
      {11, 21, kRed, "the fill"},
      {39, 49, kRed, "the last pixel of the rectangle"},
      {9, 20, kWhite, "left of the rectangle"},
      {10, 19, kWhite, "above it"},
      {40, 30, kWhite, "right of it"},
      {20, 50, kWhite, "below it"},
  };
  for (const Probe& p : probes) EXPECT_EQ(target.GetPixel(p.x, p.y), p.expected) << p.why;
}

TEST(TkMemDCTest, AnEmptyRectangleCoversTheTargetsClipBox) {
  TargetDC target;
  CRgn clip;
  clip.CreateRectRgn(5, 6, 25, 16);
  target.SelectClipRgn(&clip);
  {
    CTkMemDC mem(&target, CRect(), kRed);
    EXPECT_EQ(mem.GetTargetRect(), CRect(5, 6, 25, 16));
  }
  target.SelectClipRgn(nullptr);
  EXPECT_EQ(target.GetPixel(5, 6), kRed);
  EXPECT_EQ(target.GetPixel(24, 15), kRed);
  EXPECT_EQ(target.GetPixel(25, 15), kWhite);
  EXPECT_EQ(target.GetPixel(4, 6), kWhite);
}

TEST(TkMemDCTest, ADiscardedPictureIsNotCopied) {
  TargetDC target;
  {
    CTkMemDC mem(&target, CRect(0, 0, 20, 20), kRed);
    mem.Discard();
  }
  EXPECT_EQ(target.GetPixel(0, 0), kWhite);
  EXPECT_EQ(target.GetPixel(10, 10), kWhite);
}

// A picture too large to be made: the target keeps what it shows instead of an empty copy.
TEST(TkMemDCTest, WithoutItsPictureNothingIsCopied) {
  TargetDC target;
  {
    CTkMemDC mem(&target, CRect(0, 0, 200000, 200000), kRed);
    EXPECT_FALSE(mem.IsValid());
  }
  EXPECT_EQ(target.GetPixel(0, 0), kWhite);
  EXPECT_EQ(target.GetPixel(10, 10), kWhite);
}

TEST(TkMemDCTest, TheCallersDrawingWithoutAFillReachesTheTarget) {
  TargetDC target;
  {
    CTkMemDC mem(&target, CRect(30, 0, 40, 10));
    mem.FillSolidRect(0, 0, 10, 10, kBlue);
    mem.FillSolidRect(2, 2, 3, 3, kRed);
  }
  EXPECT_EQ(target.GetPixel(30, 0), kBlue);
  EXPECT_EQ(target.GetPixel(33, 3), kRed);
  EXPECT_EQ(target.GetPixel(29, 0), kWhite);
}
