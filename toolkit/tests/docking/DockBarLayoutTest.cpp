// The dock bar's rows on a real frame: where fixed bars and sizing panes land on each edge, how
// a row's length is shared among its panes, where the splitters lie, and wrapping.
#include <gtest/gtest.h>

#include <memory>

#include "resources/resource.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/docking/TkDockSplitter.h"
#include "toolkit/tests/docking/DockFrameFixture.h"
#include "toolkit/tests/docking/DockTestBars.h"

using docktest::FixedBar;
using docktest::Rows;
using docktest::SizingPane;

namespace {

class DockBarLayoutTest : public docktest::DockFrameTest {};

// Bars with ids from 0xE860 on, fixed ones by size, panes by docked size with a 40 x 20 least.
struct BarPlan {
  bool pane;
  int cx, cy;
};

struct LayoutCase {
  const char* why;
  UINT dock;
  std::vector<std::vector<BarPlan>> rows;
  // Expected places in the dock bar, bars in row order; -1 in right/bottom stands for the
  // frame's client width/height.
  std::vector<CRect> places;
  CSize dockSize;                                // -1: the client's width/height
  std::vector<std::pair<int, CRect>> splitters;  // orientation and rectangle
};

CRect Resolve(CRect r, CSize client) {
  if (r.right == -1) r.right = client.cx;
  if (r.bottom == -1) r.bottom = client.cy;
  return r;
}

TEST_F(DockBarLayoutTest, RowsPlaceFixedBarsAndShareTheirLengthAmongPanes) {
  const int W = 600, H = 400;
  const LayoutCase cases[] = {
      {"top: fixed bars side by side on row 1; two panes share row 2 evenly with a splitter "
       "between them and a row splitter towards the client area",
       AFX_IDW_DOCKBAR_TOP,
       {{{false, 100, 24}, {false, 80, 24}}, {{true, 200, 80}, {true, 200, 80}}},
       {CRect(0, -1, 100, 23), CRect(100, -1, 180, 23), CRect(0, 23, 297, 103),
        CRect(303, 23, W, 103)},
       CSize(W, 109),
       {{TKSPLIT_VERT, CRect(297, 23, 303, 103)}, {TKSPLIT_HORZ, CRect(0, 103, W, 109)}}},
      {"left: a pane alone in its column takes the column's whole length; the dock bar "
       "shows the whole splitter after it",
       AFX_IDW_DOCKBAR_LEFT,
       {{{true, 120, 150}}},
       {CRect(0, -1, 120, H - 1)},
       CSize(126, H),
       {{TKSPLIT_VERT, CRect(120, -1, 126, H)}}},
      {"right: every column of panes has its splitter on the side of the client area, a "
       "column after a splitter starts 7 pixels on",
       AFX_IDW_DOCKBAR_RIGHT,
       {{{true, 100, 150}}, {{true, 90, 150}}},
       {CRect(6, -1, 106, H - 1), CRect(113, -1, 203, H - 1)},
       CSize(203, H),
       {{TKSPLIT_VERT, CRect(-1, -1, 5, H)}, {TKSPLIT_VERT, CRect(106, -1, 112, H)}}},
      {"bottom: a fixed bar between panes is cut off from both by splitters; the row's "
       "length less the fixed bar and the gaps is shared evenly by the panes",
       AFX_IDW_DOCKBAR_BOTTOM,
       {{{true, 150, 60}, {false, 100, 30}, {true, 150, 60}}},
       {CRect(0, 5, 244, 65), CRect(250, 5, 350, 35), CRect(356, 5, W, 65)},
       CSize(W, 66),
       {{TKSPLIT_HORZ, CRect(0, -1, W, 5)},
        {TKSPLIT_VERT, CRect(244, 5, 250, 65)},
        {TKSPLIT_VERT, CRect(350, 5, 356, 65)}}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.why);
    TearDown();
    MakeFrame();
    ASSERT_EQ(m_client, CSize(W, H));
    std::vector<std::unique_ptr<CControlBar>> bars;
    Rows rows;
    UINT id = 0xE860;
    for (const auto& row : c.rows) {
      rows.emplace_back();
      for (const BarPlan& plan : row) {
        if (plan.pane) {
          auto pane = std::make_unique<SizingPane>(CSize(plan.cx, plan.cy), CSize(40, 20));
          ASSERT_TRUE(pane->Create(m_frame, id++, CBRS_TOP));
          bars.push_back(std::move(pane));
        } else {
          auto fixed = std::make_unique<FixedBar>(plan.cx, plan.cy);
          ASSERT_TRUE(fixed->Create(m_frame, id++, CBRS_TOP));
          bars.push_back(std::move(fixed));
        }
        rows.back().push_back(bars.back().get());
      }
    }
    Arrange(c.dock, rows);
    CTkDockBar* dock = Dock(c.dock);
    for (size_t i = 0; i < bars.size() && i < c.places.size(); ++i)
      EXPECT_EQ(Placed(bars[i].get()), Resolve(c.places[i], m_client)) << "bar " << i;
    CRect dockRect;
    dock->GetWindowRect(&dockRect);
    EXPECT_EQ(dockRect.Size(), c.dockSize);
    ASSERT_EQ(dock->GetSplitterCount(), static_cast<int>(c.splitters.size()));
    for (int i = 0; i < dock->GetSplitterCount(); ++i) {
      EXPECT_EQ(dock->GetSplitter(i)->GetOrientation(), c.splitters[static_cast<size_t>(i)].first);
      EXPECT_EQ(dock->GetSplitter(i)->GetRect(), c.splitters[static_cast<size_t>(i)].second)
          << "splitter " << i;
    }
    bars.clear();
  }
}

TEST_F(DockBarLayoutTest, APaneAloneInItsRowIsMarkedAloneAndLosesTheMarkWhenAnotherJoins) {
  SizingPane first(CSize(200, 80), CSize(40, 20)), second(CSize(150, 80), CSize(40, 20));
  ASSERT_TRUE(first.Create(m_frame, 0xE860, CBRS_TOP));
  ASSERT_TRUE(second.Create(m_frame, 0xE861, CBRS_TOP));
  Arrange(AFX_IDW_DOCKBAR_TOP, {{&first}});
  EXPECT_TRUE(first.IsAlone());
  EXPECT_EQ(first.GetCurrentSize(), CSize(600, 80));

  // The newcomer keeps its docked length; the one already there gives way.
  second.EnableDocking(CBRS_ALIGN_ANY);
  m_frame->DockControlBar(&second, AFX_IDW_DOCKBAR_TOP);
  CTkDockBar* dock = Dock(AFX_IDW_DOCKBAR_TOP);
  dock->m_arrBars.RemoveAll();
  for (void* p : {static_cast<void*>(nullptr), static_cast<void*>(&first),
                  static_cast<void*>(&second), static_cast<void*>(nullptr)})
    dock->m_arrBars.Add(p);
  second.SetNewlyDocked(TRUE);
  Layout();
  EXPECT_FALSE(first.IsAlone());
  EXPECT_FALSE(second.IsAlone());
  EXPECT_FALSE(second.IsNewlyDocked());
  EXPECT_EQ(second.GetCurrentSize().cx, 150);
  EXPECT_EQ(first.GetCurrentSize().cx, 600 - 6 - 150);
}

TEST_F(DockBarLayoutTest, NoPaneEndsShorterThanItsMinimumWhenTheRowIsTooShort) {
  // Three panes of 300 on a 600 row with the newcomer last: the others shrink, none below 40.
  SizingPane a(CSize(300, 60), CSize(250, 20)), b(CSize(300, 60), CSize(40, 20)),
      c(CSize(300, 60), CSize(40, 20));
  ASSERT_TRUE(a.Create(m_frame, 0xE860, CBRS_TOP));
  ASSERT_TRUE(b.Create(m_frame, 0xE861, CBRS_TOP));
  ASSERT_TRUE(c.Create(m_frame, 0xE862, CBRS_TOP));
  Arrange(AFX_IDW_DOCKBAR_TOP, {{&a, &b, &c}});
  int total = a.GetCurrentSize().cx + b.GetCurrentSize().cx + c.GetCurrentSize().cx;
  EXPECT_GE(a.GetCurrentSize().cx, 250);
  EXPECT_GE(b.GetCurrentSize().cx, 40);
  EXPECT_GE(c.GetCurrentSize().cx, 40);
  EXPECT_EQ(total, 600 - 2 * 6) << "the panes fill the row exactly";
}

TEST_F(DockBarLayoutTest, ABarThatFindsItsRowFullStartsTheNextRow) {
  FixedBar a(300, 24), b(300, 24), c(50, 24);
  ASSERT_TRUE(a.Create(m_frame, 0xE860, CBRS_TOP));
  ASSERT_TRUE(b.Create(m_frame, 0xE861, CBRS_TOP));
  ASSERT_TRUE(c.Create(m_frame, 0xE862, CBRS_TOP));
  Arrange(AFX_IDW_DOCKBAR_TOP, {{&a, &b, &c}});
  using Ids = std::vector<std::vector<UINT>>;
  EXPECT_EQ(RowIds(Dock(AFX_IDW_DOCKBAR_TOP)), (Ids{{0xE860, 0xE861}, {0xE862}}));
  EXPECT_EQ(Placed(&c), CRect(0, 23, 50, 47));
}

TEST_F(DockBarLayoutTest, AFixedBarKeepsItsPlaceWhenTheBarBeforeItIsHidden) {
  FixedBar a(100, 24), b(80, 24), c(60, 24);
  ASSERT_TRUE(a.Create(m_frame, 0xE860, CBRS_TOP));
  ASSERT_TRUE(b.Create(m_frame, 0xE861, CBRS_TOP));
  ASSERT_TRUE(c.Create(m_frame, 0xE862, CBRS_TOP));
  Arrange(AFX_IDW_DOCKBAR_TOP, {{&a, &b, &c}});
  ASSERT_EQ(Placed(&c).left, 180);
  m_frame->ShowControlBar(&b, FALSE, FALSE);
  Layout();
  EXPECT_FALSE(b.IsWindowVisible());
  EXPECT_EQ(Placed(&c).left, 180) << "the user's arrangement stays";
  m_frame->ShowControlBar(&b, TRUE, FALSE);
  Layout();
  EXPECT_EQ(Placed(&b), CRect(100, -1, 180, 23));
  EXPECT_EQ(Placed(&c).left, 180);
}

// The toolbar at the end of a row hides its trailing buttons behind its chevron when the frame
// gets too narrow for it, and shows them again when the frame widens.
TEST_F(DockBarLayoutTest, AToolbarLastInItsRowShrinksWithTheFrameAndGrowsBack) {
  FixedBar first(300, 24);
  ASSERT_TRUE(first.Create(m_frame, 0xE860, CBRS_TOP));
  CTkToolBar toolBar;
  ASSERT_TRUE(toolBar.CreateEx(m_frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE861));
  ASSERT_TRUE(toolBar.LoadToolBar(IDR_MAINFRAME));
  Arrange(AFX_IDW_DOCKBAR_TOP, {{&first, &toolBar}});
  const int full = Placed(&toolBar).Width();
  ASSERT_GT(full, 120);
  ASSERT_LE(300 + full, 600) << "the sample must fit the wide frame";
  EXPECT_TRUE(toolBar.GetHiddenButtons().empty());

  auto resize = [this](int dx) {
    CRect window;
    m_frame->GetWindowRect(&window);
    m_frame->SetWindowPos(nullptr, 0, 0, window.Width() + dx, window.Height(),
                          SWP_NOMOVE | SWP_NOZORDER);
    Layout();
  };
  const int narrower = 600 - (300 + full / 2);
  resize(-narrower);
  EXPECT_FALSE(toolBar.GetHiddenButtons().empty());
  EXPECT_LE(Placed(&toolBar).right, 600 - narrower) << "the toolbar ends inside the frame";
  EXPECT_EQ(Placed(&toolBar).left, 300);

  resize(narrower);
  EXPECT_TRUE(toolBar.GetHiddenButtons().empty());
  EXPECT_EQ(Placed(&toolBar).Width(), full);
}

// The side a toolbar is docked at is known three ways that must agree: its parent (the dock
// bar's id), the dock bar it records, and the alignment it takes from the dock bar, by which it
// lays its buttons out across or down. Wherever it lands it shows, inside the frame.
TEST_F(DockBarLayoutTest, AToolbarDockedAtEachSideBelongsToThatSideAndShowsInsideTheFrame) {
  const struct {
    const char* side;
    UINT dock;
    DWORD align;
  } sides[] = {{"top", AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
               {"left", AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
               {"right", AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT},
               {"bottom", AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM}};
  std::vector<std::unique_ptr<CTkToolBar>> bars;
  for (const auto& s : sides) {
    auto bar = std::make_unique<CTkToolBar>();
    ASSERT_TRUE(bar->CreateEx(m_frame, TBSTYLE_FLAT,
                              WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_SIZE_DYNAMIC,
                              0xE860 + static_cast<UINT>(bars.size())));
    ASSERT_TRUE(bar->LoadToolBar(IDR_MAINFRAME));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    m_frame->DockControlBar(bar.get(), s.dock);
    bars.push_back(std::move(bar));
  }
  Layout();
  CRect frame;
  m_frame->GetClientRect(&frame);
  m_frame->ClientToScreen(&frame);
  // A row's bars reach one pixel over their dock bar's edge, where their borders meet it.
  frame.InflateRect(1, 1);
  for (size_t i = 0; i < bars.size(); ++i) {
    SCOPED_TRACE(sides[i].side);
    CTkToolBar& bar = *bars[i];
    ASSERT_NE(bar.GetParent(), nullptr);
    EXPECT_EQ(static_cast<UINT>(bar.GetParent()->GetDlgCtrlID()), sides[i].dock);
    EXPECT_EQ(bar.m_pDockBar, Dock(sides[i].dock));
    EXPECT_EQ(bar.GetBarStyle() & CBRS_ALIGN_ANY, sides[i].align);
    EXPECT_TRUE(bar.IsDocked());
    EXPECT_FALSE(bar.IsFloating());
    CRect window;
    bar.GetWindowRect(&window);
    EXPECT_FALSE(window.IsRectEmpty()) << ::testing::PrintToString(window);
    CRect inside;
    inside.IntersectRect(&window, &frame);
    EXPECT_EQ(inside, window) << "the bar ends outside the frame's client area "
                              << ::testing::PrintToString(frame);
  }
}

// Rows built by hand before the first layout, as a saved layout or a drop would leave them.
TEST_F(DockBarLayoutTest, RowMeasuresCountPanesFixedBarsAndTheirGaps) {
  SizingPane a(CSize(150, 80), CSize(40, 20)), b(CSize(120, 70), CSize(60, 20));
  FixedBar f(100, 30);
  ASSERT_TRUE(a.Create(m_frame, 0xE860, CBRS_TOP));
  ASSERT_TRUE(f.Create(m_frame, 0xE861, CBRS_TOP));
  ASSERT_TRUE(b.Create(m_frame, 0xE862, CBRS_TOP));
  Arrange(AFX_IDW_DOCKBAR_TOP, {{&a, &f, &b}});
  CTkDockBar* dock = Dock(AFX_IDW_DOCKBAR_TOP);
  const int start = dock->GetRowStart(&a);
  ASSERT_EQ(start, 1);
  struct Case {
    const char* what;
    int got, want;
  };
  const Case cases[] = {
      {"panes in the row", dock->GetDockWindowCount(start), 2},
      {"panes from the fixed bar on", dock->GetDockWindowCount(start + 1), 1},
      {"thickness: the thickest bar", dock->GetRowThickness(start), 80},
      {"fixed thickness: fixed bars only", dock->GetFixedBarThickness(start), 30},
      {"fixed length: the bar and both gaps", dock->GetFixedLength(start), 100 + 6 + 6},
      {"fixed length from the last pane: its gap", dock->GetFixedLength(start + 2), 6},
      {"least length of the panes", dock->GetDockWindowsMinLength(start), 40 + 60},
      {"the panes fill what the row has left", dock->GetDockWindowsLength(start), 600 - 112},
      // The dock bar: the row (from a pixel above its top) and the splitter below it.
      {"a row splitter has the client area to grow into", dock->GetAvailableThickness(),
       400 - (80 - 1 + 6)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
  EXPECT_TRUE(dock->IsLastInRow(start + 2));
  EXPECT_FALSE(dock->IsLastInRow(start + 1));
  EXPECT_EQ(dock->GetFirstDockWindow(start + 1), &b);
}

// An expanded pane takes what its row neighbours give up down to their least length, and stays
// expanded when the row is shared out again for a wider frame.
TEST_F(DockBarLayoutTest, AnExpandedPaneStaysExpandedWhenItsRowIsSharedOutAgain) {
  SizingPane a(CSize(200, 80), CSize(40, 20)), b(CSize(200, 80), CSize(40, 20)),
      c(CSize(200, 80), CSize(50, 20));
  ASSERT_TRUE(a.Create(m_frame, 0xE860, CBRS_TOP));
  ASSERT_TRUE(b.Create(m_frame, 0xE861, CBRS_TOP));
  ASSERT_TRUE(c.Create(m_frame, 0xE862, CBRS_TOP));
  Arrange(AFX_IDW_DOCKBAR_TOP, {{&a, &b, &c}});
  ASSERT_EQ(b.GetCurrentSize().cx, 196);
  CTkDockBar* dock = Dock(AFX_IDW_DOCKBAR_TOP);
  dock->ExpandWindow(&b, FALSE);
  EXPECT_TRUE(b.IsExpanded());
  EXPECT_EQ(a.GetCurrentSize().cx, 40);
  EXPECT_EQ(c.GetCurrentSize().cx, 50);
  EXPECT_EQ(b.GetCurrentSize().cx, 600 - 12 - 40 - 50);
  EXPECT_EQ(dock->GetExpandedWindow(1), &b);
  Layout();
  EXPECT_EQ(Placed(&c).left, 600 - 50) << "the layout places the row as expanded";

  CRect window;
  m_frame->GetWindowRect(&window);
  m_frame->SetWindowPos(nullptr, 0, 0, window.Width() + 100, window.Height(),
                        SWP_NOMOVE | SWP_NOZORDER);
  Layout();
  EXPECT_TRUE(b.IsExpanded());
  EXPECT_EQ(a.GetCurrentSize().cx, 40);
  EXPECT_EQ(c.GetCurrentSize().cx, 50);
  EXPECT_EQ(a.GetCurrentSize().cx + b.GetCurrentSize().cx + c.GetCurrentSize().cx, 700 - 12);

  dock->RestoreRow(&b, FALSE);
  EXPECT_FALSE(b.IsExpanded());
  EXPECT_EQ(dock->GetExpandedWindow(1), nullptr);
}

// A dock bar that knows one bar as the frame's menu bar.
class MenuDockBar : public CTkDockBar {
 public:
  CControlBar* m_pMenuBar = nullptr;

 protected:
  BOOL IsMenuBar(CControlBar* pBar) const override { return pBar == m_pMenuBar; }
};

TEST_F(DockBarLayoutTest, AMenuBarDroppedBehindAnotherBarGetsARowOfItsOwn) {
  TearDown();
  auto* top = new MenuDockBar;
  MakeFrame([this, top] {
    top->m_bAutoDelete = TRUE;
    ASSERT_TRUE(top->Create(
        m_frame, CBRS_ALIGN_TOP | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
        AFX_IDW_DOCKBAR_TOP));
  });
  ASSERT_EQ(Dock(AFX_IDW_DOCKBAR_TOP), top);
  FixedBar a(100, 24), menu(200, 20), b(80, 24);
  ASSERT_TRUE(a.Create(m_frame, 0xE860, CBRS_TOP));
  ASSERT_TRUE(menu.Create(m_frame, 0xE861, CBRS_TOP));
  ASSERT_TRUE(b.Create(m_frame, 0xE862, CBRS_TOP));
  top->m_pMenuBar = &menu;
  Arrange(AFX_IDW_DOCKBAR_TOP, {{&a, &menu, &b}});
  using Ids = std::vector<std::vector<UINT>>;
  EXPECT_EQ(RowIds(top), (Ids{{0xE861}, {0xE860, 0xE862}}));
  EXPECT_EQ(Placed(&menu), CRect(0, -1, 200, 19));
  EXPECT_EQ(Placed(&a).top, 19);
}

}  // namespace
