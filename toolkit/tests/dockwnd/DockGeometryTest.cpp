// The arithmetic of docking windows and of dragging bars: gripper lengths, the child's area,
// caption and button rectangles, the sizes a layout request gets, the expand button's states,
// the outlines a drag starts with and the frame a resize asks for.
#include <gtest/gtest.h>

#include "framework/bars/BarStyles.h"
#include "toolkit/docking/float/TkDockGeometry.h"
#include "toolkit/docking/float/TkMiniDockFrameWnd.h"
#include "toolkit/docking/window/TkDockWindowGeometry.h"

using tkdock::Side;

namespace {
constexpr DWORD kGrip = tkdock::kGripper;
constexpr DWORD kGripButtons = tkdock::kGripper | tkdock::kButtons;
}  // namespace

TEST(TkDockGeometryTest, TheGripperSideNeedsEighteenLyingTwentyFourOtherwiseFiveWithout) {
  struct Case {
    Side side;
    DWORD style;
    int expected;
  };
  const Case cases[] = {
      {Side::Lying, kGrip, 18},   {Side::Standing, kGrip, 24}, {Side::Floating, kGrip, 24},
      {Side::Lying, 0, 5},        {Side::Standing, tkdock::kTitle, 5},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tkdock::MinLength(c.side, c.style), c.expected) << static_cast<int>(c.side);
}

TEST(TkDockGeometryTest, TheChildFillsWhatTheGripperAndEdgesLeave) {
  struct Case {
    const char* why;
    int cx, cy;
    Side side;
    DWORD style;
    bool flat, tabBar;
    CRect expected;
  };
  const Case cases[] = {
      {"floating: 3 all round", 200, 100, Side::Floating, kGrip, false, false,
       CRect(3, 3, 197, 97)},
      {"lying: the gripper takes 15 more on the left", 200, 100, Side::Lying, kGrip, false, false,
       CRect(18, 6, 197, 94)},
      {"standing: 21 more at the top, then 5 back up", 100, 200, Side::Standing, kGrip, false,
       false, CRect(3, 22, 97, 194)},
      {"no gripper: only 2 more on its side", 200, 100, Side::Lying, 0, false, false,
       CRect(5, 6, 197, 94)},
      {"flat lying grows 3 up and down", 200, 100, Side::Lying, kGrip, true, false,
       CRect(18, 3, 197, 97)},
      {"flat standing grows 4 left and right", 100, 200, Side::Standing, kGrip, true, false,
       CRect(-1, 22, 101, 194)},
      {"a flat tab bar reaches 5 further down", 200, 100, Side::Lying, kGrip, true, true,
       CRect(18, 3, 197, 102)},
      {"a plain tab bar does not", 200, 100, Side::Lying, kGrip, false, true,
       CRect(18, 6, 197, 94)},
      {"too narrow: emptied, then past the gripper", 12, 100, Side::Lying, kGrip, false, false,
       CRect(20, 0, 20, 0)},
      {"too short: emptied, then below the caption", 100, 10, Side::Standing, kGrip, false, false,
       CRect(0, 26, 0, 26)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tkdock::InsideRect(c.cx, c.cy, c.side, c.style, c.flat, c.tabBar), c.expected)
        << c.why;
}

TEST(TkDockGeometryTest, CaptionButtonsAndGripLinesSitOnTheGripperSide) {
  struct Case {
    const char* why;
    Side side;
    DWORD style;
    bool flat;
    CRect expand, hide, gripper, caption;
  };
  // Client area 200 x 150.
  const Case cases[] = {
      {"standing, buttons at the right of the caption", Side::Standing, kGripButtons, false,
       CRect(171, 6, 183, 18), CRect(185, 6, 197, 18), CRect(4, 8, 166, 11), CRect(4, 6, 166, 17)},
      {"standing, flat: buttons 2 further left", Side::Standing, kGripButtons, true,
       CRect(169, 6, 181, 18), CRect(183, 6, 195, 18), CRect(4, 8, 166, 11), CRect(4, 6, 166, 17)},
      {"standing without buttons: the line runs to the edge", Side::Standing, kGrip, false,
       CRect(171, 6, 183, 18), CRect(185, 6, 197, 18), CRect(4, 8, 194, 11),
       CRect(4, 6, 194, 17)},
      {"lying, buttons at the top of the gripper", Side::Lying, kGripButtons, false,
       CRect(3, 3, 15, 15), CRect(3, 17, 15, 29), CRect(5, 33, 8, 146), CRect(3, 33, 14, 146)},
      {"lying, flat: buttons 2 further down", Side::Lying, kGripButtons, true, CRect(3, 5, 15, 17),
       CRect(3, 19, 15, 31), CRect(5, 33, 8, 146), CRect(3, 33, 14, 146)},
      {"lying without buttons", Side::Lying, kGrip, false, CRect(3, 3, 15, 15),
       CRect(3, 17, 15, 29), CRect(5, 4, 8, 146), CRect(3, 4, 14, 146)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(tkdock::ExpandButtonRect(200, 150, c.side, c.flat), c.expand);
    EXPECT_EQ(tkdock::HideButtonRect(200, 150, c.side, c.flat), c.hide);
    EXPECT_EQ(tkdock::GripperRect(200, 150, c.side, c.style), c.gripper);
    EXPECT_EQ(tkdock::CaptionRect(200, 150, c.side, c.style), c.caption);
  }
}

TEST(TkDockGeometryTest, ACaptionBarComesWithItsStyleOrWithAnyGripperInTheFlatLook) {
  EXPECT_TRUE(tkdock::HasCaptionBar(tkdock::kCaptionBar, false));
  EXPECT_TRUE(tkdock::HasCaptionBar(kGrip, true));
  EXPECT_FALSE(tkdock::HasCaptionBar(kGrip, false));
  EXPECT_FALSE(tkdock::HasCaptionBar(tkdock::kTitle, true));
}

TEST(TkDockGeometryTest, LayoutRequestsGetTheirSizeAndOnlyPlainRequestsResize) {
  struct Case {
    const char* why;
    int length;
    DWORD mode;
    CSize result, current, floating;
  };
  // Start: standing 100 x 200, lying 200 x 100, floating 90 x 90, current 150 x 120.
  const Case cases[] = {
      {"lying docked", -1, LM_HORZ | LM_HORZDOCK, CSize(200, 100), CSize(150, 120), CSize(90, 90)},
      {"standing docked", -1, LM_VERTDOCK, CSize(100, 200), CSize(150, 120), CSize(90, 90)},
      {"floating", -1, LM_HORZ | LM_MRUWIDTH, CSize(90, 90), CSize(150, 120), CSize(90, 90)},
      {"a new width", 170, LM_HORZ, CSize(170, 120), CSize(170, 120), CSize(90, 90)},
      {"a width below 50 is 50", 20, LM_HORZ, CSize(50, 120), CSize(50, 120), CSize(90, 90)},
      {"a new height", 33, LM_HORZ | LM_LENGTHY, CSize(150, 50), CSize(150, 50), CSize(90, 90)},
      {"a commit keeps the current size as the floating one, without a new length", 300,
       LM_HORZ | LM_COMMIT, CSize(150, 120), CSize(150, 120), CSize(150, 120)},
      {"a docked request with a commit", -1, LM_HORZDOCK | LM_COMMIT, CSize(200, 100),
       CSize(150, 120), CSize(150, 120)},
  };
  for (const Case& c : cases) {
    tkdock::Sizes sizes{CSize(100, 200), CSize(200, 100), CSize(90, 90), CSize(150, 120)};
    EXPECT_EQ(tkdock::CalcDynamicLayout(sizes, c.length, c.mode), c.result) << c.why;
    EXPECT_EQ(sizes.current, c.current) << c.why;
    EXPECT_EQ(sizes.floating, c.floating) << c.why;
    EXPECT_EQ(sizes.horz, CSize(200, 100)) << c.why;
  }
}

TEST(TkDockGeometryTest, TheExpandButtonIsDisabledForTheOnlyWindowOfARow) {
  struct Case {
    Side side;
    bool alone, expanded;
    int state;
    bool enabled, contract;
  };
  const Case cases[] = {
      {Side::Lying, true, false, 1, false, false},    {Side::Lying, true, true, 1, false, false},
      {Side::Lying, false, false, 2, true, false},    {Side::Lying, false, true, 6, true, true},
      {Side::Standing, true, false, 3, false, false}, {Side::Standing, true, true, 3, false, false},
      {Side::Standing, false, false, 4, true, false}, {Side::Standing, false, true, 8, true, true},
  };
  for (const Case& c : cases) {
    tkdock::ExpandLook look = tkdock::ExpandButtonLook(c.side, c.alone, c.expanded);
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.side) << c.alone << c.expanded);
    EXPECT_EQ(look.state, c.state);
    EXPECT_EQ(look.enabled, c.enabled);
    EXPECT_EQ(look.contract, c.contract);
  }
}

TEST(TkDockGeometryTest, GradientBandsRunFromTheStartColourTowardsTheEnd) {
  EXPECT_EQ(tkdock::GradientBand(RGB(0, 64, 255), RGB(64, 0, 255), 0), RGB(0, 64, 255));
  EXPECT_EQ(tkdock::GradientBand(RGB(0, 64, 255), RGB(64, 0, 255), 32), RGB(32, 32, 255));
  EXPECT_EQ(tkdock::GradientBand(RGB(0, 64, 255), RGB(64, 0, 255), 63), RGB(63, 1, 255));
}

TEST(TkDockGeometryTest, ARectangleMovesTheLeastDistanceToHoldThePoint) {
  struct Case {
    CPoint pt;
    CRect expected;
  };
  const CRect start(100, 100, 200, 150);
  const Case cases[] = {
      {CPoint(150, 120), start},
      {CPoint(90, 120), CRect(90, 100, 190, 150)},
      {CPoint(230, 160), CRect(130, 110, 230, 160)},
      {CPoint(200, 150), start},  // the far edges count as inside
      {CPoint(150, 40), CRect(100, 40, 200, 90)},
  };
  for (const Case& c : cases) EXPECT_EQ(tkdrag::MoveToContain(start, c.pt), c.expected);
}

TEST(TkDockGeometryTest, ADragStartsFromTheBarsCornerWithTheSizesOfItsKind) {
  struct Case {
    const char* why;
    DWORD style;
    CPoint pt;
    tkdrag::DragRects expected;
  };
  // The bar lies at (100, 50)-(300, 80); its sizes: lying 200 x 30, standing 30 x 200,
  // floating 120 x 60. A mini frame adds 4 left, 20 top, 4 right, 4 bottom; the doubled border
  // is 2 x 2.
  const Case cases[] = {
      {"dynamic: everything from the corner, frames with the floating size",
       CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC, CPoint(110, 60),
       {CRect(100, 50, 300, 80), CRect(100, 50, 130, 250), CRect(98, 32, 222, 112),
        CRect(98, 32, 222, 112)}},
      {"dynamic, grabbed far right: each outline slides to hold the point",
       CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC, CPoint(290, 60),
       {CRect(100, 50, 300, 80), CRect(260, 50, 290, 250), CRect(166, 32, 290, 112),
        CRect(166, 32, 290, 112)}},
      {"fixed: the frames equal the outlines", CBRS_ALIGN_TOP | CBRS_SIZE_FIXED, CPoint(110, 60),
       {CRect(100, 50, 300, 80), CRect(100, 50, 130, 250), CRect(98, 32, 302, 82),
        CRect(98, 32, 132, 252)}},
      {"lying bar: standing outline centred across the point", CBRS_ALIGN_TOP, CPoint(200, 60),
       {CRect(100, 50, 300, 80), CRect(185, 50, 215, 250), CRect(98, 32, 302, 82),
        CRect(183, 32, 217, 252)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    tkdrag::DragStart start{CRect(100, 50, 300, 80), c.pt,         c.style,
                            CSize(200, 30),          CSize(30, 200), CSize(120, 60),
                            CRect(4, 20, 4, 4),      CSize(2, 2)};
    tkdrag::DragRects r = tkdrag::StartRects(start);
    EXPECT_EQ(r.horz, c.expected.horz);
    EXPECT_EQ(r.vert, c.expected.vert);
    EXPECT_EQ(r.frameHorz, c.expected.frameHorz);
    EXPECT_EQ(r.frameVert, c.expected.frameVert);
  }
}

TEST(TkDockGeometryTest, AStandingBarsLyingOutlineIsCentredOnThePointDownItsLength) {
  tkdrag::DragStart start{CRect(10, 100, 40, 300), CPoint(20, 250), CBRS_ALIGN_LEFT,
                          CSize(200, 30),           CSize(30, 200),  CSize(0, 0),
                          CRect(0, 0, 0, 0),        CSize(0, 0)};
  tkdrag::DragRects r = tkdrag::StartRects(start);
  EXPECT_EQ(r.vert, CRect(10, 100, 40, 300));
  EXPECT_EQ(r.horz, CRect(10, 235, 210, 265));
}

TEST(TkDockGeometryTest, AResizeKeepsTheCornerOppositeTheGrabbedEdges) {
  struct Case {
    int hit;
    CRect expected;
  };
  // The frame (100, 100)-(300, 250) asked for a bar of 150 x 80 with borders of 10 x 30.
  const Case cases[] = {
      {HTLEFT, CRect(140, 140, 300, 250)},        {HTTOP, CRect(140, 140, 300, 250)},
      {HTTOPLEFT, CRect(140, 140, 300, 250)},     {HTTOPRIGHT, CRect(100, 140, 260, 250)},
      {HTBOTTOMLEFT, CRect(140, 100, 300, 210)},  {HTRIGHT, CRect(100, 100, 260, 210)},
      {HTBOTTOM, CRect(100, 100, 260, 210)},      {HTBOTTOMRIGHT, CRect(100, 100, 260, 210)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tkdrag::StretchedFrame(c.hit, CRect(100, 100, 300, 250), CSize(150, 80),
                                     CSize(10, 30)),
              c.expected)
        << c.hit;
}

TEST(TkDockGeometryTest, FloatingCaptionButtonsStandAtTheRightAndClipInANarrowFrame) {
  struct Case {
    const char* why;
    CRect window;
    int kind;
    bool flat;
    CRect expected;
    bool clipped;
  };
  // Edges 2 x 2, buttons 16 x 14.
  const Case cases[] = {
      {"close, flat", CRect(0, 0, 200, 80), CTkCaptionButton::kClose, true, CRect(182, 2, 198, 15),
       false},
      {"close, plain: 2 smaller all round", CRect(0, 0, 200, 80), CTkCaptionButton::kClose, false,
       CRect(184, 4, 196, 13), false},
      {"expand, flat: left of the close button", CRect(0, 0, 200, 80), CTkCaptionButton::kExpand,
       true, CRect(166, 2, 182, 15), false},
      {"expand, plain: 2 to the right first", CRect(0, 0, 200, 80), CTkCaptionButton::kExpand,
       false, CRect(170, 4, 182, 13), false},
      {"a frame too narrow for the expand button", CRect(0, 0, 36, 80),
       CTkCaptionButton::kExpand, true, CRect(2, 2, 18, 15), true},
      {"the close button still fits", CRect(0, 0, 36, 80), CTkCaptionButton::kClose, true,
       CRect(18, 2, 34, 15), false},
  };
  for (const Case& c : cases) {
    bool clipped = false;
    EXPECT_EQ(TkCaptionButtonRect(c.window, c.kind, c.flat, CSize(2, 2), CSize(16, 14), &clipped),
              c.expected)
        << c.why;
    EXPECT_EQ(clipped, c.clipped) << c.why;
  }
}
