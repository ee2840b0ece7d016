// Splitters between docked bars driven by mouse messages: row thickness and the boundary between
// two panes, their limits, a cancelled or empty drag, a mouse captured elsewhere; the splitters'
// painting in each look; and the menu of the frame's bars.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/ids/ToolkitFrameIds.h"
#include "toolkit/bars/TkStatusBar.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/docking/TkDockSplitter.h"
#include "toolkit/tests/docking/DockFrameFixture.h"
#include "toolkit/tests/docking/DockTestBars.h"
#include "toolkit/tests/frame/FrameTestSupport.h"

using docktest::FixedBar;
using docktest::SizingPane;

namespace {

class DockSplitterTest : public docktest::DockFrameTest {};

// A row splitter changes the thickness of its row, within the row's least thickness and the
// room the client area has left; on the right and bottom edges the row grows towards the
// centre.
TEST_F(DockSplitterTest, ARowSplitterSetsTheRowThicknessWithinItsLimits) {
  struct Case {
    const char* why;
    UINT dock;
    CSize docked;
    CPoint grab;  // on the row splitter, dock bar client coordinates
    CSize by;
    int thickness;
  };
  // The top dock bar is 85 high with its row of 80, so 400 - 85 is left for it to grow.
  const Case cases[] = {
      {"top: down makes the row thicker", AFX_IDW_DOCKBAR_TOP, CSize(200, 80), CPoint(300, 82),
       CSize(0, 50), 130},
      {"top: up stops at the least thickness", AFX_IDW_DOCKBAR_TOP, CSize(200, 80), CPoint(300, 82),
       CSize(0, -200), 2},
      {"top: down stops at the room left", AFX_IDW_DOCKBAR_TOP, CSize(200, 80), CPoint(300, 82),
       CSize(0, 1000), 80 + 400 - 85},
      {"bottom: up makes the row thicker", AFX_IDW_DOCKBAR_BOTTOM, CSize(200, 60), CPoint(300, 2),
       CSize(0, -30), 90},
      {"right: left makes the column thicker", AFX_IDW_DOCKBAR_RIGHT, CSize(100, 150),
       CPoint(2, 100), CSize(-40, 0), 140},
      {"right: right stops at the least thickness", AFX_IDW_DOCKBAR_RIGHT, CSize(100, 150),
       CPoint(2, 100), CSize(500, 0), 2},
      {"left: right makes the column thicker", AFX_IDW_DOCKBAR_LEFT, CSize(120, 150),
       CPoint(121, 100), CSize(30, 0), 150},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    TearDown();
    MakeFrame();
    SizingPane pane(c.docked, CSize(40, 20));
    ASSERT_TRUE(pane.Create(m_frame, 0xE860, CBRS_TOP));
    Arrange(c.dock, {{&pane}});
    CTkDockBar* dock = Dock(c.dock);
    ASSERT_TRUE(Drag(dock, c.grab, c.by));
    BOOL horz = c.dock == AFX_IDW_DOCKBAR_TOP || c.dock == AFX_IDW_DOCKBAR_BOTTOM;
    EXPECT_EQ(horz ? pane.GetCurrentSize().cy : pane.GetCurrentSize().cx, c.thickness);
    EXPECT_FALSE(dock->IsTracking());
    EXPECT_EQ(::GetCapture(), nullptr);
  }
}

// A splitter between two panes moves their boundary; neither pane ends below its least length
// and the row's length stays the same.
TEST_F(DockSplitterTest, ALengthSplitterMovesTheBoundaryBetweenTwoPanes) {
  struct Case {
    const char* why;
    CSize by;
    BOOL cancel;
    int first, second;
  };
  // The row: 297, splitter 297-303, 297.
  const Case cases[] = {
      {"right by 50", CSize(50, 0), FALSE, 347, 247},
      {"left by 50", CSize(-50, 0), FALSE, 247, 347},
      {"far left: the first pane stops at its least length", CSize(-500, 0), FALSE, 40, 554},
      {"far right: the second pane stops at its least length", CSize(1000, 0), FALSE, 554, 40},
      {"cancelled: nothing changes", CSize(50, 0), TRUE, 297, 297},
      {"released where it started: nothing changes", CSize(0, 0), FALSE, 297, 297},
      {"up and down does not move a sideways splitter", CSize(0, 30), FALSE, 297, 297},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    TearDown();
    MakeFrame();
    SizingPane first(CSize(200, 80), CSize(40, 20)), second(CSize(200, 80), CSize(40, 20));
    ASSERT_TRUE(first.Create(m_frame, 0xE860, CBRS_TOP));
    ASSERT_TRUE(second.Create(m_frame, 0xE861, CBRS_TOP));
    Arrange(AFX_IDW_DOCKBAR_TOP, {{&first, &second}});
    ASSERT_EQ(first.GetCurrentSize().cx, 297);
    ASSERT_EQ(second.GetCurrentSize().cx, 297);
    ASSERT_TRUE(Drag(Dock(AFX_IDW_DOCKBAR_TOP), CPoint(300, 40), c.by, c.cancel));
    EXPECT_EQ(first.GetCurrentSize().cx, c.first);
    EXPECT_EQ(second.GetCurrentSize().cx, c.second);
    EXPECT_EQ(Placed(&second).left, c.first + 6);
  }
}

TEST_F(DockSplitterTest, WhileAnotherWindowHasTheMouseASplitterIsNotPicked) {
  SizingPane first(CSize(200, 80), CSize(40, 20)), second(CSize(200, 80), CSize(40, 20));
  ASSERT_TRUE(first.Create(m_frame, 0xE860, CBRS_TOP));
  ASSERT_TRUE(second.Create(m_frame, 0xE861, CBRS_TOP));
  Arrange(AFX_IDW_DOCKBAR_TOP, {{&first, &second}});
  CTkDockBar* dock = Dock(AFX_IDW_DOCKBAR_TOP);
  CPoint at(300, 40);
  dock->ClientToScreen(&at);
  m_frame->SetCapture();
  EXPECT_NE(dock->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)), HTBORDER);
  EXPECT_EQ(dock->GetHoveredSplitter(), -1);
  EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_ARROW));
  ::ReleaseCapture();
  EXPECT_EQ(dock->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)), HTBORDER);
  EXPECT_EQ(dock->GetHoveredSplitter(), 0);
}

// The line that follows a drag is drawn over the frame and its bars, and a second drawing
// takes it away pixel for pixel.
TEST_F(DockSplitterTest, TheTrackingLineShowsOverTheBarsAndGoesAwayWhenDrawnAgain) {
  SizingPane first(CSize(200, 80), CSize(40, 20)), second(CSize(200, 80), CSize(40, 20));
  ASSERT_TRUE(first.Create(m_frame, 0xE860, CBRS_TOP));
  ASSERT_TRUE(second.Create(m_frame, 0xE861, CBRS_TOP));
  Arrange(AFX_IDW_DOCKBAR_TOP, {{&first, &second}});
  m_frame->UpdateWindow();
  tktest::Pump();
  CTkDockBar* dock = Dock(AFX_IDW_DOCKBAR_TOP);
  CTkDockSplitter* splitter = dock->GetSplitter(0);
  // Six pixels across the middle of the line, read back through the frame's own surface (the
  // screen itself may show them later).
  CPoint mid = splitter->GetRect().CenterPoint();
  dock->ClientToScreen(&mid);
  CPoint inFrame = mid;
  m_frame->ScreenToClient(&inFrame);
  HWND frame = m_frame->m_hWnd;
  auto sample = [frame, inFrame] {
    HDC dc = ::GetDCEx(frame, nullptr, DCX_CACHE);
    std::vector<COLORREF> px;
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = 0; dy <= 1; ++dy) px.push_back(::GetPixel(dc, inFrame.x + dx, inFrame.y + dy));
    ::ReleaseDC(frame, dc);
    return px;
  };
  const std::vector<COLORREF> before = sample();
  splitter->BeginTrack(mid);
  EXPECT_NE(sample(), before) << "the line shows";
  EXPECT_TRUE(splitter->InvertTracker());
  EXPECT_EQ(sample(), before) << "and goes away";
}

TEST(DockSplitterPaintTest, SplittersHaveRaisedEdgesOnlyInThePlainLook) {
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE), light = ::GetSysColor(COLOR_BTNHIGHLIGHT),
                 shadow = ::GetSysColor(COLOR_BTNSHADOW), frame = ::GetSysColor(COLOR_WINDOWFRAME);
  struct Probe {
    int x, y;
    COLORREF plain;
  };
  struct Case {
    const char* why;
    int orientation;
    CRect rect;
    DWORD dockStyle;
    BOOL flat;
    std::vector<Probe> probes;
    bool edges;      // false: every probe shows the face
    bool outerLine;  // false: the outer probe shows the face
  };
  // Vertical strip 6 x 20: light left and top, shadow one inside the right, the frame colour on
  // the right; horizontal strip 30 x 6 likewise turned.
  const std::vector<Probe> vert = {{0, 10, light},  {2, 0, light}, {2, 19, shadow},
                                   {4, 10, shadow}, {2, 10, face}, {5, 10, frame}};
  const std::vector<Probe> horz = {{10, 0, light},  {0, 3, light}, {29, 3, shadow},
                                   {10, 4, shadow}, {10, 2, face}, {10, 5, frame}};
  const Case cases[] = {
      {"vertical, plain", TKSPLIT_VERT, CRect(0, 0, 6, 20), 0, FALSE, vert, true, true},
      {"horizontal, plain", TKSPLIT_HORZ, CRect(0, 0, 30, 6), 0, FALSE, horz, true, true},
      {"no outer line", TKSPLIT_VERT, CRect(0, 0, 6, 20), TKDS_NO_OUTER_EDGE, FALSE, vert, true,
       false},
      {"flat dock site", TKSPLIT_HORZ, CRect(0, 0, 30, 6), TKDS_FLAT, FALSE, horz, false, false},
      {"flat look", TKSPLIT_VERT, CRect(0, 0, 6, 20), 0, TRUE, vert, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    tktest::FlatLook look(c.flat);
    CTkDockBar dock;
    dock.SetDockBarStyle(c.dockStyle);
    CTkDockSplitter splitter(&dock, c.rect, c.orientation, 0);
    tktest::Canvas canvas(40, 30);
    splitter.Draw(canvas.Dc());
    for (size_t i = 0; i < c.probes.size(); ++i) {
      const Probe& p = c.probes[i];
      bool isOuter = i + 1 == c.probes.size();
      // Without edges, or without the outer line, the strip shows the face there.
      COLORREF want = (!c.edges || (isOuter && !c.outerLine)) ? face : p.plain;
      EXPECT_EQ(canvas.At(p.x, p.y), want) << "probe " << i;
    }
    EXPECT_EQ(canvas.At(c.rect.right + 1, 1), RGB(1, 2, 3)) << "nothing outside the strip";
  }
}

class DockBarMenuTest : public docktest::DockFrameTest {
 protected:
  static std::vector<std::string> Items(HMENU menu) {
    std::vector<std::string> out;
    for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
      UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
      if (state & MF_SEPARATOR) {
        out.push_back("-");
        continue;
      }
      char text[64] = {};
      ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
      out.push_back(std::string(text) + ((state & MF_CHECKED) ? "*" : "") + "=" +
                    std::to_string(::GetMenuItemID(menu, i)));
    }
    return out;
  }
};

TEST_F(DockBarMenuTest, TheMenuListsPanesThenToolbarsOtherBarsAndStatusBars) {
  SizingPane output(CSize(200, 80), CSize(40, 20)), unnamed(CSize(200, 80), CSize(40, 20));
  ASSERT_TRUE(output.Create(m_frame, 0xE860, CBRS_TOP, "Output"));
  ASSERT_TRUE(unnamed.Create(m_frame, 0xE861, CBRS_TOP));
  CTkToolBar toolBar;
  ASSERT_TRUE(toolBar.CreateEx(m_frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE862));
  FixedBar other(100, 24), named(100, 24);
  ASSERT_TRUE(other.Create(m_frame, 0xE863, CBRS_TOP));
  ASSERT_TRUE(named.Create(m_frame, 0xE864, CBRS_TOP, "Finder"));
  CTkStatusBar status;
  ASSERT_TRUE(status.Create(m_frame));
  status.SetWindowText("Ready");
  Arrange(AFX_IDW_DOCKBAR_TOP, {{&output, &unnamed}, {&other, &named}});
  m_frame->ShowControlBar(&other, FALSE, FALSE);

  HMENU menu = CTkDockBar::BuildBarMenu(m_frame);
  ASSERT_NE(menu, nullptr);
  const std::string pane = std::string(TkLoadString(IDS_TK_DOCKWINDOW_TITLE));
  const std::string tool = std::string(TkLoadString(IDS_TK_TOOLBAR_TITLE));
  const std::string bar = std::string(TkLoadString(IDS_TK_BAR_TITLE));
  const std::string statusTitle = std::string(TkLoadString(IDS_TK_STATUSBAR_TITLE));
  // Latest made first within each group; a status bar always by its kind's name.
  std::vector<std::string> want = {pane + "*=" + std::to_string(0xE861),
                                   "Output*=" + std::to_string(0xE860),
                                   "-",
                                   tool + "*=" + std::to_string(0xE862),
                                   "Finder*=" + std::to_string(0xE864),
                                   bar + "=" + std::to_string(0xE863),
                                   statusTitle + "*=" + std::to_string(AFX_IDW_STATUS_BAR)};
  EXPECT_EQ(Items(menu), want);
  ::DestroyMenu(menu);

  // Its commands are the frame's show-and-hide commands of the bars.
  m_frame->SendMessage(WM_COMMAND, 0xE863);
  Layout();
  EXPECT_TRUE(other.IsWindowVisible());
}

TEST_F(DockBarMenuTest, AFrameWithoutToolkitBarsOffersNoMenu) {
  EXPECT_EQ(CTkDockBar::BuildBarMenu(m_frame), nullptr);
  EXPECT_EQ(CTkDockBar::BuildBarMenu(nullptr), nullptr);
  // No menu to wait in: the click returns at once.
  Dock(AFX_IDW_DOCKBAR_LEFT)->SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(2, 2));
}

}  // namespace
