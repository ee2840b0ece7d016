// The menu bar's arithmetic without a window: its size on one row, the room and rectangles of a
// maximised MDI child's icon and caption buttons, their hit test, and where a popup opens.
#include <gtest/gtest.h>

#include <vector>

#include "framework/bars/BarStyles.h"
#include "toolkit/menubar/TkMenuBarGeometry.h"

namespace {

TkMenuBarMetrics Metrics(bool flat = false) {
  TkMenuBarMetrics m;
  m.cxEdge = 2;
  m.cyEdge = 2;
  m.cySmCaption = 15;
  m.cxSmIcon = 16;
  m.cySmIcon = 16;
  m.cxMdiButton = 18;
  m.cyMdiButton = 18;
  m.flat = flat;
  return m;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Two edges plus the buttons; a maximised child adds 5 + icon + three 18-pixel buttons; the
// height never depends on the buttons.
TEST(MenuBarGeometry, SizeOnOneRow) {
  struct Case {
    std::vector<int> widths;
    bool mdi;
    SIZE expected;
  } cases[] = {
      {{}, false, {4, 25}},
      {{40}, false, {44, 25}},
      {{40, 45, 30}, false, {119, 25}},
      {{40, 45, 30}, true, {119 + 5 + 16 + 54, 25}},
      {{}, true, {4 + 75, 25}},
  };
  for (const Case& c : cases) {
    SIZE size = TkCalcMenuBarSize(c.widths.data(), static_cast<int>(c.widths.size()), c.mdi,
                                  Metrics());
    EXPECT_EQ(size.cx, c.expected.cx) << c.widths.size() << " buttons, mdi " << c.mdi;
    EXPECT_EQ(size.cy, c.expected.cy);
  }
}

// The client room loses the icon at the start and three buttons at the end, but never less
// than the buttons' extent stays.
TEST(MenuBarGeometry, RoomLeftByTheMDIButtons) {
  struct Case {
    RECT rect;
    int extent;
    bool horizontal;
    RECT expected;
  } cases[] = {
      {{0, 0, 400, 25}, 100, true, {18, 0, 346, 25}},
      {{0, 0, 150, 25}, 100, true, {18, 0, 118, 25}},  // the extent wins
      {{0, 0, 30, 400}, 100, false, {0, 16, 30, 346}},
      {{0, 0, 30, 120}, 100, false, {0, 16, 30, 116}},
  };
  for (const Case& c : cases) {
    RECT r = c.rect;
    TkAdjustForMDIButtons(r, c.extent, c.horizontal, Metrics());
    EXPECT_TRUE(SameRect(r, c.expected))
        << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

// The close button is outermost, the restore button 2 pixels further in, the minimise button
// right beside it; the icon sits just before the client room. Across the bar each caption
// button keeps 2 pixels (3 with the flat look) off the edges.
TEST(MenuBarGeometry, MDIRectanglesAroundTheClientRoom) {
  RECT out[4];
  TkCalcMDIButtonRects(RECT{18, 0, 346, 24}, 100, true, false, Metrics(), out);
  EXPECT_TRUE(SameRect(out[0], RECT{0, 4, 16, 20}));
  EXPECT_TRUE(SameRect(out[3], RECT{382, 2, 400, 22}));
  EXPECT_TRUE(SameRect(out[2], RECT{362, 2, 380, 22}));
  EXPECT_TRUE(SameRect(out[1], RECT{344, 2, 362, 22}));

  // The buttons follow the buttons' extent when it reaches past the client room.
  TkCalcMDIButtonRects(RECT{18, 0, 60, 24}, 100, true, false, Metrics(true), out);
  EXPECT_EQ(out[3].right, 18 + 100 + 54);
  EXPECT_EQ(out[3].top, 3);
  EXPECT_EQ(out[3].bottom, 21);

  // A vertical bar stacks them downwards; the icon goes to the side the bar is docked on.
  TkCalcMDIButtonRects(RECT{0, 16, 30, 346}, 100, false, false, Metrics(), out);
  EXPECT_TRUE(SameRect(out[0], RECT{0, 0, 16, 16}));
  EXPECT_TRUE(SameRect(out[3], RECT{2, 382, 28, 400}));
  EXPECT_TRUE(SameRect(out[2], RECT{2, 362, 28, 380}));
  EXPECT_TRUE(SameRect(out[1], RECT{2, 344, 28, 362}));
  TkCalcMDIButtonRects(RECT{0, 16, 30, 346}, 100, false, true, Metrics(), out);
  EXPECT_TRUE(SameRect(out[0], RECT{14, 0, 30, 16}));
}

TEST(MenuBarGeometry, HitTestOfTheMDIRectangles) {
  const RECT rects[4] = {{0, 4, 16, 20}, {344, 2, 362, 22}, {362, 2, 380, 22}, {382, 2, 400, 22}};
  struct Case {
    POINT point;
    int expected;
  } cases[] = {
      {{0, 4}, 0},    {{15, 19}, 0},  {{16, 10}, -1},  // right edge is outside
      {{344, 2}, 1},  {{361, 21}, 1}, {{362, 10}, 2},
      {{380, 10}, -1},  // the 2-pixel gap before the close button
      {{381, 10}, -1}, {{382, 10}, 3}, {{399, 21}, 3}, {{400, 10}, -1}, {{200, 10}, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TkHitTestMDIButton(rects, c.point), c.expected) << c.point.x << "," << c.point.y;
}

// The corner of the button the popup starts at, by the bar's dock side, also for buttons at the
// screen's edges: the popup's exclusion rectangle is the button, so the system moves the popup
// clear of it rather than over it.
TEST(MenuBarGeometry, TrackPointByDockSide) {
  struct Case {
    DWORD side;
    RECT button;
    POINT expected;
  } cases[] = {
      {CBRS_ALIGN_TOP, {10, 20, 50, 40}, {10, 40}},
      {0, {10, 20, 50, 40}, {10, 40}},  // floating
      {CBRS_ALIGN_LEFT, {0, 100, 30, 120}, {30, 100}},
      {CBRS_ALIGN_RIGHT, {1250, 100, 1280, 120}, {1250, 100}},
      {CBRS_ALIGN_BOTTOM, {10, 1000, 50, 1024}, {10, 1000}},
      {CBRS_ALIGN_TOP, {1240, 0, 1280, 20}, {1240, 20}},
      {CBRS_ALIGN_TOP, {0, 1004, 40, 1024}, {0, 1024}},
      {CBRS_ALIGN_LEFT, {-5, 0, 25, 20}, {25, 0}},
  };
  for (const Case& c : cases) {
    TPMPARAMS params;
    POINT p = TkComputeTrackPoint(c.side, c.button, params);
    EXPECT_EQ(p.x, c.expected.x) << "side " << c.side;
    EXPECT_EQ(p.y, c.expected.y) << "side " << c.side;
    EXPECT_EQ(params.cbSize, sizeof(TPMPARAMS));
    EXPECT_TRUE(SameRect(params.rcExclude, c.button));
  }
}

}  // namespace
