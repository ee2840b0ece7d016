// The drawing helpers of CDC, checked by reading back pixels of a memory bitmap.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/gdi/Gdi.h"
#include "framework/core/String.h"
#include "framework/tests/gdi/MemoryCanvas.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 128, 0);

struct Spot {
  int x, y;
  COLORREF colour;
};

void ExpectSpots(MemoryCanvas& canvas, std::initializer_list<Spot> spots) {
  for (const Spot& s : spots) {
    SCOPED_TRACE(testing::Message() << "at " << s.x << "," << s.y);
    EXPECT_EQ(canvas.At(s.x, s.y), s.colour);
  }
}

TEST(DcDrawTest, FillSolidRectFillsExactlyTheRectangleAndKeepsTheBackgroundColour) {
  MemoryCanvas canvas(20, 20);
  canvas.dc().SetBkColor(kGreen);
  canvas.dc().FillSolidRect(CRect(2, 3, 6, 8), kRed);
  // Right and bottom edges are outside, as for every Win32 rectangle.
  ExpectSpots(canvas, {{2, 3, kRed}, {5, 7, kRed}, {6, 7, kWhite}, {5, 8, kWhite}, {1, 3, kWhite}});
  EXPECT_EQ(canvas.dc().GetBkColor(), kGreen);  // later text keeps the caller's background

  canvas.dc().FillSolidRect(10, 10, 3, 2, kBlue);
  ExpectSpots(canvas, {{10, 10, kBlue}, {12, 11, kBlue}, {13, 11, kWhite}, {12, 12, kWhite}});
}

TEST(DcDrawTest, Draw3dRectGivesTheFarCornersToTheDarkEdges) {
  MemoryCanvas canvas(20, 20);
  canvas.dc().Draw3dRect(CRect(2, 2, 10, 8), kRed, kBlue);
  ExpectSpots(canvas, {{2, 2, kRed},
                       {8, 2, kRed},    // top edge up to one short of the right
                       {9, 2, kBlue},   // top-right corner
                       {2, 6, kRed},    // left edge up to one short of the bottom
                       {2, 7, kBlue},   // bottom-left corner
                       {9, 7, kBlue},   // bottom-right corner
                       {5, 5, kWhite},  // the inside is left alone
                       {10, 2, kWhite},
                       {2, 8, kWhite}});
  // A rectangle without area draws nothing.
  canvas.dc().Draw3dRect(12, 12, 0, 5, kRed, kBlue);
  ExpectSpots(canvas, {{12, 12, kWhite}, {11, 12, kWhite}});
}

TEST(DcDrawTest, DrawEdgeAndFillRect) {
  MemoryCanvas canvas(30, 30);
  CRect edge(2, 2, 20, 20);
  ASSERT_TRUE(canvas.dc().DrawEdge(edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
  COLORREF shadow = canvas.dc().GetNearestColor(GetSysColor(COLOR_BTNSHADOW));
  COLORREF highlight = canvas.dc().GetNearestColor(GetSysColor(COLOR_BTNHIGHLIGHT));
  ExpectSpots(canvas, {{2, 2, shadow}, {19, 19, highlight}, {10, 10, kWhite}});
  EXPECT_EQ(edge, CRect(4, 4, 18, 18));  // adjusted inside the two-pixel edge

  CBrush blue(kBlue);
  canvas.dc().FillRect(CRect(22, 22, 25, 25), &blue);
  canvas.dc().FillRect(CRect(26, 26, 28, 28), nullptr);  // no brush: nothing, no crash
  ExpectSpots(canvas, {{22, 22, kBlue}, {24, 24, kBlue}, {25, 24, kWhite}, {26, 26, kWhite}});
}

TEST(DcDrawTest, InvertAndPatternTransfers) {
  MemoryCanvas canvas(10, 10);
  canvas.dc().InvertRect(CRect(0, 0, 2, 2));
  CBrush red(kRed);
  CBrush* old = canvas.dc().SelectObject(&red);
  canvas.dc().PatBlt(4, 4, 2, 2, PATCOPY);
  canvas.dc().SelectObject(old);
  ExpectSpots(canvas, {{1, 1, RGB(0, 0, 0)}, {2, 2, kWhite}, {4, 4, kRed}, {6, 6, kWhite}});

  MemoryCanvas copy(10, 10);
  copy.dc().BitBlt(0, 0, 10, 10, &canvas.dc(), 0, 0, SRCCOPY);
  copy.dc().StretchBlt(8, 8, 2, 2, &canvas.dc(), 4, 4, 1, 1, SRCCOPY);
  ExpectSpots(copy, {{0, 0, RGB(0, 0, 0)}, {5, 5, kRed}, {9, 9, kRed}, {7, 7, kWhite}});
}

// Text extents: no text is no width; more text is wider; the counted and the zero-terminated
// forms agree; DrawText measures what it draws.
TEST(DcDrawTest, TextExtentsAreConsistent) {
  MemoryCanvas canvas(200, 40);
  CDC& dc = canvas.dc();
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(100, "Arial"));
  CFont* old = dc.SelectObject(&font);
  EXPECT_EQ(dc.GetTextExtent("", 0).cx, 0);
  EXPECT_EQ(dc.GetTextExtent(nullptr, 5).cx, 0);
  CSize one = dc.GetTextExtent("W", 1), two = dc.GetTextExtent("WW", 2);
  EXPECT_GT(one.cx, 0);
  EXPECT_EQ(two.cx, 2 * one.cx);
  EXPECT_EQ(dc.GetTextExtent("Wide", -1), dc.GetTextExtent(CString("Wide")));
  EXPECT_EQ(dc.GetTextExtent("Wide", 2), dc.GetTextExtent("Wi", 2));
  TEXTMETRICA tm{};
  ASSERT_TRUE(dc.GetTextMetrics(&tm));
  EXPECT_EQ(one.cy, tm.tmHeight);
  CRect calc(0, 0, 0, 0);
  dc.DrawText("Wide", -1, calc, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(calc.Width(), dc.GetTextExtent("Wide", 4).cx);
  CString face;
  dc.GetTextFace(face);
  EXPECT_FALSE(face.IsEmpty());
  dc.SelectObject(old);
}

TEST(DcDrawTest, TextIsDrawnInsideItsExtentOnly) {
  MemoryCanvas canvas(100, 30);
  CDC& dc = canvas.dc();
  dc.SetTextColor(kRed);
  dc.SetBkMode(TRANSPARENT);
  dc.TextOut(5, 5, CString("Hello"));
  CSize size = dc.GetTextExtent("Hello", 5);
  CRect inside(5, 5, 5 + size.cx, 5 + size.cy);
  int inked = 0, outside = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 100; ++x)
      if (canvas.At(x, y) != kWhite) (inside.PtInRect(CPoint(x, y)) ? inked : outside)++;
  EXPECT_GT(inked, 0);
  EXPECT_EQ(outside, 0);
}

TEST(DcDrawTest, OpaqueExtTextOutFillsItsRectangle) {
  MemoryCanvas canvas(60, 20);
  canvas.dc().SetBkColor(kBlue);
  canvas.dc().ExtTextOut(0, 0, ETO_OPAQUE, CRect(2, 2, 50, 18), CString(""), nullptr);
  ExpectSpots(canvas, {{2, 2, kBlue}, {49, 17, kBlue}, {50, 17, kWhite}});
}

TEST(DcDrawTest, SaveAndRestoreBringBackAttributesAndMapping) {
  MemoryCanvas canvas(10, 10);
  CDC& dc = canvas.dc();
  dc.SetTextColor(kRed);
  int saved = dc.SaveDC();
  ASSERT_NE(saved, 0);
  dc.SetTextColor(kBlue);
  dc.SetViewportOrg(3, 4);
  EXPECT_EQ(dc.GetViewportOrg(), CPoint(3, 4));
  CPoint p(3, 4);
  dc.DPtoLP(&p);
  EXPECT_EQ(p, CPoint(0, 0));
  EXPECT_TRUE(dc.RestoreDC(saved));
  EXPECT_EQ(dc.GetTextColor(), kRed);
  EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, 0));
}

TEST(DcDrawTest, ClippingKeepsDrawingInside) {
  MemoryCanvas canvas(20, 20);
  CDC& dc = canvas.dc();
  CRgn clip;
  clip.CreateRectRgn(5, 5, 10, 10);
  dc.SelectClipRgn(&clip);
  CRect box;
  EXPECT_EQ(dc.GetClipBox(box), SIMPLEREGION);
  EXPECT_EQ(box, CRect(5, 5, 10, 10));
  dc.FillSolidRect(0, 0, 20, 20, kRed);
  ExpectSpots(canvas, {{5, 5, kRed}, {9, 9, kRed}, {4, 5, kWhite}, {10, 9, kWhite}});
  dc.SelectClipRgn(nullptr);
  dc.ExcludeClipRect(0, 0, 2, 2);
  dc.FillSolidRect(0, 0, 20, 20, kBlue);
  ExpectSpots(canvas, {{1, 1, kWhite}, {2, 2, kBlue}});
}

TEST(DcDrawTest, DrawStateDrawsTextAndIcons) {
  MemoryCanvas canvas(64, 40);
  CDC& dc = canvas.dc();
  dc.SetTextColor(RGB(0, 0, 0));
  EXPECT_TRUE(dc.DrawState(CPoint(2, 2), CSize(0, 0), "&Text", DSS_NORMAL, TRUE, 0,
                           static_cast<HBRUSH>(nullptr)));
  HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
  EXPECT_TRUE(dc.DrawState(CPoint(20, 2), CSize(0, 0), icon, DSS_NORMAL));
  EXPECT_TRUE(dc.DrawIcon(CPoint(0, 0), icon));
  int inked = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 64; ++x) inked += canvas.At(x, y) != kWhite;
  EXPECT_GT(inked, 0);
}

int NonWhite(MemoryCanvas& canvas, int cx, int cy) {
  int n = 0;
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x) n += canvas.At(x, y) != kWhite;
  return n;
}

// The drag outline is inverted: drawn, moved (the old one erased, the overlap left alone) and
// erased, the picture is as before.
TEST(DcDrawTest, DragOutlinesMoveAndEraseWithoutTrace) {
  MemoryCanvas canvas(40, 40);
  CDC& dc = canvas.dc();
  CBrush inverter(kWhite);  // white turns white pixels black
  CRect first(5, 5, 20, 20), second(8, 8, 23, 23);
  dc.DrawDragRect(first, CSize(2, 2), nullptr, CSize(0, 0), &inverter);
  ExpectSpots(canvas, {{5, 5, RGB(0, 0, 0)},
                       {6, 6, RGB(0, 0, 0)},
                       {7, 7, kWhite},
                       {19, 19, RGB(0, 0, 0)},
                       {20, 20, kWhite}});
  dc.DrawDragRect(second, CSize(2, 2), first, CSize(2, 2), &inverter);
  ExpectSpots(canvas, {{5, 5, kWhite},  // the old outline is gone
                       {8, 8, RGB(0, 0, 0)},
                       {18, 9, RGB(0, 0, 0)},  // in both outlines: still drawn
                       {18, 18, kWhite},       // old outline, inside the new one
                       {22, 22, RGB(0, 0, 0)}});
  dc.DrawDragRect(second, CSize(0, 0), second, CSize(2, 2), &inverter);
  EXPECT_EQ(NonWhite(canvas, 40, 40), 0);
}

TEST(DcDrawTest, DragOutlinesFollowTheMappingAndKeepTheCallersClipping) {
  MemoryCanvas canvas(40, 40);
  CDC& dc = canvas.dc();
  CBrush inverter(kWhite);
  dc.SetViewportOrg(10, 10);
  dc.IntersectClipRect(0, 0, 5, 30);  // logical: device x 10..14 only
  dc.DrawDragRect(CRect(0, 0, 10, 10), CSize(1, 1), nullptr, CSize(0, 0), &inverter);
  dc.SetViewportOrg(0, 0);  // the spots are device pixels
  ExpectSpots(canvas, {{10, 10, RGB(0, 0, 0)},
                       {14, 10, RGB(0, 0, 0)},
                       {15, 10, kWhite},
                       {0, 0, kWhite},
                       {10, 19, RGB(0, 0, 0)},
                       {19, 19, kWhite}});
  EXPECT_EQ(NonWhite(canvas, 40, 40), 5 + 8 + 5);  // top, left and bottom bars, cut at x 15
  dc.SetViewportOrg(10, 10);
  HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
  dc.DrawDragRect(nullptr, CSize(0, 0), CRect(0, 0, 10, 10), CSize(1, 1), &inverter);
  dc.SetViewportOrg(0, 0);
  EXPECT_EQ(NonWhite(canvas, 40, 40), 0);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
}

TEST(DcDrawTest, TheHalftoneBrushAlternatesPixels) {
  CBrush* halftone = CDC::GetHalftoneBrush();
  ASSERT_NE(halftone, nullptr);
  EXPECT_EQ(CDC::GetHalftoneBrush(), halftone);  // one for the process
  MemoryCanvas canvas(8, 8);
  canvas.dc().SetTextColor(RGB(0, 0, 0));
  canvas.dc().SetBkColor(kWhite);
  CBrush* old = canvas.dc().SelectObject(halftone);
  canvas.dc().PatBlt(0, 0, 8, 8, PATCOPY);
  canvas.dc().SelectObject(old);
  EXPECT_NE(canvas.At(0, 0), canvas.At(1, 0));
  EXPECT_NE(canvas.At(0, 0), canvas.At(0, 1));
  EXPECT_EQ(canvas.At(0, 0), canvas.At(1, 1));
  EXPECT_EQ(NonWhite(canvas, 8, 8), 32);
}

}  // namespace
