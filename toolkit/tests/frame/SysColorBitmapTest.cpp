// Bitmaps drawn in the four standard greys come back in the current system colours, from a
// palette image and from a true-colour one alike, and in monochrome mode as black and white.
#include <gtest/gtest.h>

#include "toolkit/core/SysColorBitmap.h"
#include "toolkit/tests/frame/ToolkitFrameTestIds.h"

namespace {

// The five pixels of the test images: black, dark grey, light grey, white, another colour.
std::vector<COLORREF> PixelsOf(HBITMAP bitmap) {
  std::vector<COLORREF> out;
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  for (int x = 0; x < 5; ++x) out.push_back(::GetPixel(dc, x, 0));
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  return out;
}

HBITMAP Load(UINT id, BOOL mono) {
  HINSTANCE self = ::GetModuleHandleA(nullptr);
  return LoadSysColorBitmap(self, ::FindResourceA(self, MAKEINTRESOURCEA(id), RT_BITMAP), mono);
}

}  // namespace

TEST(SysColorBitmapTest, EachStandardGreyBecomesItsSystemColourAndOtherColoursStay) {
  const COLORREF other = RGB(0x12, 0x34, 0x56);
  const std::vector<COLORREF> system = {::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_BTNSHADOW),
                                        ::GetSysColor(COLOR_BTNFACE),
                                        ::GetSysColor(COLOR_BTNHIGHLIGHT), other};
  const std::vector<COLORREF> mono = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 255),
                                      RGB(255, 255, 255), other};
  struct Case {
    const char* why;
    UINT id;
    BOOL mono;
    const std::vector<COLORREF>& expected;
  };
  const Case cases[] = {
      {"palette image", IDB_TEST_GREYS8, FALSE, system},
      {"true-colour image, through masks", IDB_TEST_GREYS24, FALSE, system},
      {"palette image, monochrome", IDB_TEST_GREYS8, TRUE, mono},
      {"true-colour image, monochrome", IDB_TEST_GREYS24, TRUE, mono},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    HBITMAP bitmap = Load(c.id, c.mono);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelsOf(bitmap), c.expected);
    ::DeleteObject(bitmap);
  }
}

TEST(SysColorBitmapTest, ColoursThatSwapPlacesAreNotReplacedTwice) {
  // A scheme whose face is white and whose highlight is light grey: a true-colour image must
  // not turn its light greys white and then those whites grey again.
  int indexes[] = {COLOR_BTNFACE, COLOR_BTNHIGHLIGHT};
  COLORREF old[] = {::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNHIGHLIGHT)};
  COLORREF swapped[] = {RGB(255, 255, 255), RGB(0xC0, 0xC0, 0xC0)};
  ASSERT_TRUE(::SetSysColors(2, indexes, swapped));
  std::vector<COLORREF> palette, trueColour;
  for (UINT id : {IDB_TEST_GREYS8, IDB_TEST_GREYS24}) {
    HBITMAP bitmap = Load(id, FALSE);
    if (bitmap) (id == IDB_TEST_GREYS8 ? palette : trueColour) = PixelsOf(bitmap);
    ::DeleteObject(bitmap);
  }
  ::SetSysColors(2, indexes, old);
  ASSERT_EQ(palette.size(), 5u);
  EXPECT_EQ(palette[2], RGB(255, 255, 255));
  EXPECT_EQ(palette[3], RGB(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(trueColour, palette);
}

TEST(SysColorBitmapTest, MissingOrDamagedResourcesGiveNoBitmap) {
  HINSTANCE self = ::GetModuleHandleA(nullptr);
  EXPECT_EQ(LoadSysColorBitmap(self, nullptr), nullptr);
  EXPECT_EQ(LoadSysColorBitmap(nullptr, nullptr), nullptr);
  EXPECT_EQ(Load(999, FALSE), nullptr);
}
