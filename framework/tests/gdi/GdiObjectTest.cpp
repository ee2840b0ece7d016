// What the GDI wrappers create: read back through the objects' own descriptions.
#include <gtest/gtest.h>

#include <string>

#include "framework/gdi/Gdi.h"

namespace {

// Point sizes are tenths of a point; the height is negative (a character height, not a cell
// height) and follows the context's vertical resolution and mapping mode.
TEST(GdiObjectTest, PointFontsGetTheCharacterHeightOfTheirContext) {
  CDC dc;
  ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
  int dpi = dc.GetDeviceCaps(LOGPIXELSY);
  struct Case {
    int tenths;
    int mapMode;
    int expectedHeight;
  } cases[] = {
      {80, MM_TEXT, -MulDiv(dpi, 80, 720)},
      {100, MM_TEXT, -MulDiv(dpi, 100, 720)},
      {240, MM_TEXT, -MulDiv(dpi, 240, 720)},
      // Twips: a point is 20 of them, whatever the resolution (up to the rounding to pixels).
      {100, MM_TWIPS, -200},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.tenths << " tenths, map mode " << c.mapMode);
    dc.SetMapMode(c.mapMode);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(c.tenths, "Arial", &dc));
    LOGFONTA lf{};
    ASSERT_EQ(font.GetLogFont(&lf), static_cast<int>(sizeof lf));
    EXPECT_NEAR(lf.lfHeight, c.expectedHeight, c.mapMode == MM_TWIPS ? 15 : 0);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
  }
  dc.SetMapMode(MM_TEXT);

  // A face name longer than the field is cut, not written past it.
  std::string longName(100, 'F');
  CFont cut;
  ASSERT_TRUE(cut.CreatePointFont(90, longName.c_str()));
  LOGFONTA lf{};
  cut.GetLogFont(&lf);
  EXPECT_EQ(std::string(lf.lfFaceName), std::string(LF_FACESIZE - 1, 'F'));
  CFont none;
  EXPECT_FALSE(none.CreateFontIndirect(nullptr));
}

TEST(GdiObjectTest, PensBrushesAndBitmapsDescribeThemselves) {
  CPen pen(PS_DASH, 1, RGB(1, 2, 3));
  LOGPEN lp{};
  ASSERT_NE(pen.GetLogPen(&lp), 0);
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
  EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
  EXPECT_EQ(pen.GetObjectType(), static_cast<UINT>(OBJ_PEN));

  CBrush hatch(HS_DIAGCROSS, RGB(4, 5, 6));
  LOGBRUSH lb{};
  ASSERT_NE(hatch.GetLogBrush(&lb), 0);
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_HATCHED));
  EXPECT_EQ(lb.lbHatch, static_cast<ULONG_PTR>(HS_DIAGCROSS));
  CBrush nothing;
  EXPECT_FALSE(nothing.CreatePatternBrush(nullptr));
  EXPECT_EQ(nothing.m_hObject, nullptr);

  CBitmap strip;
  ASSERT_TRUE(strip.LoadBitmap(4656));
  BITMAP bm{};
  ASSERT_NE(strip.GetBitmap(&bm), 0);
  EXPECT_EQ(bm.bmWidth, 20);
  EXPECT_EQ(bm.bmHeight, 10);
  CBitmap absent;
  EXPECT_FALSE(absent.LoadBitmap(9999));
  EXPECT_FALSE(absent.CreateCompatibleBitmap(nullptr, 4, 4));
}

TEST(GdiObjectTest, RegionsCombineAndAnswerHitTests) {
  CRgn left, right, both;
  left.CreateRectRgn(0, 0, 10, 10);
  right.CreateRectRgn(5, 0, 15, 10);
  both.CreateRectRgn(0, 0, 0, 0);
  struct Case {
    int mode;
    RECT box;
    POINT in, out;
  } cases[] = {
      {RGN_OR, {0, 0, 15, 10}, {12, 5}, {15, 5}},
      {RGN_AND, {5, 0, 10, 10}, {5, 5}, {4, 5}},
      {RGN_DIFF, {0, 0, 5, 10}, {4, 5}, {5, 5}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    EXPECT_NE(both.CombineRgn(&left, &right, c.mode), ERROR);
    CRect box;
    both.GetRgnBox(box);
    EXPECT_EQ(box, CRect(c.box));
    EXPECT_TRUE(both.PtInRegion(c.in));
    EXPECT_FALSE(both.PtInRegion(c.out));
  }
  CRgn copy;
  copy.CreateRectRgn(0, 0, 0, 0);
  copy.CopyRgn(&left);
  EXPECT_TRUE(copy.EqualRgn(&left));
  copy.OffsetRgn(CPoint(1, 0));
  EXPECT_FALSE(copy.EqualRgn(&left));
  EXPECT_EQ(copy.CopyRgn(nullptr), ERROR);
}

TEST(GdiObjectTest, PalettesHoldTheirEntries) {
  struct {
    LOGPALETTE head;
    PALETTEENTRY more[2];
  } pal = {{0x300, 3, {{10, 20, 30, 0}}}, {{40, 50, 60, 0}, {70, 80, 90, 0}}};
  CPalette palette;
  ASSERT_TRUE(palette.CreatePalette(&pal.head));
  EXPECT_EQ(palette.GetEntryCount(), 3);
  PALETTEENTRY entries[3]{};
  EXPECT_EQ(palette.GetPaletteEntries(0, 3, entries), 3u);
  EXPECT_EQ(entries[2].peGreen, 80);
  EXPECT_EQ(palette.GetNearestPaletteIndex(RGB(41, 49, 60)), 1u);
  CPalette empty;
  EXPECT_EQ(empty.GetEntryCount(), 0);
}

TEST(GdiObjectTest, WaitCursorShowsTheHourglassAndPutsThePreviousBack) {
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW), wait = LoadCursorA(nullptr, IDC_WAIT);
  SetCursor(arrow);
  {
    CWaitCursor outer;
    EXPECT_EQ(GetCursor(), wait);
    {
      CWaitCursor inner;
      SetCursor(arrow);  // something else changed it meanwhile
      inner.Restore();
      EXPECT_EQ(GetCursor(), wait);
    }
    EXPECT_EQ(GetCursor(), wait);  // the inner one gives back the outer one's hourglass
  }
  EXPECT_EQ(GetCursor(), arrow);
}

}  // namespace
