// The toolkit's splitter on real windows under the X display: the parts a point falls on, how far
// a bar can be dragged (outline or full windows), the lock, hiding and showing a column or a row,
// and views put into a pane.
#include <gtest/gtest.h>

#include <vector>

#include "framework/app/AfxResource.h"
#include "framework/docview/View.h"
#include "resources/ids/ToolkitWidgetsIds.h"
#include "toolkit/widgets/TkSplitterWnd.h"
#include "toolkit/core/ToolkitHelpers.h"

namespace {

class PaneView : public CView {
  DECLARE_DYNCREATE(PaneView)
 public:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(PaneView, CView)

class OtherView : public CView {
  DECLARE_DYNCREATE(OtherView)
 public:
  void OnDraw(CDC*) override {}
  void OnInitialUpdate() override { ++initialUpdates; }
  int initialUpdates = 0;
};
IMPLEMENT_DYNCREATE(OtherView, CView)

// Lets a test choose how the bars are dragged, whatever the display's own setting, and counts
// the outlines drawn.
class TestSplitter : public CTkSplitterWnd {
 public:
  void ForceFullDrag(BOOL full) { m_bFullDrag = full; }
  void DrawTracker(const CRect& rect, CBrush* pBrush) override {
    if (!m_bFullDrag) ++trackers;
    CTkSplitterWnd::DrawTracker(rect, pBrush);
  }
  int trackers = 0;
};

class TkSplitterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 0, 0,
                                600, 500, nullptr, nullptr));
  }
  void TearDown() override {
    if (m_split.m_hWnd) m_split.DestroyWindow();
    if (m_host.m_hWnd) m_host.DestroyWindow();
  }
  // rows x cols in a 400 x 300 window; the panes ask for 100 x 80, the last ones take the rest.
  // With the 2-pixel border and 6-pixel bars: columns 2..102 | bar 102..108 | 108..208 | ...
  void Make(int rows, int cols) {
    ASSERT_TRUE(m_split.CreateStatic(&m_host, rows, cols));
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c)
        ASSERT_TRUE(m_split.CreateView(r, c, RUNTIME_CLASS(PaneView), CSize(100, 80), nullptr));
    m_split.MoveWindow(0, 0, 400, 300);
    m_split.RecalcLayout();
  }
  std::vector<int> Sizes(bool rows) {
    std::vector<int> out;
    int n = rows ? m_split.GetRowCount() : m_split.GetColumnCount();
    for (int i = 0; i < n; ++i) {
      int cur = 0, min = 0;
      rows ? m_split.GetRowInfo(i, cur, min) : m_split.GetColumnInfo(i, cur, min);
      out.push_back(cur);
    }
    return out;
  }
  CRect PaneRect(CWnd* pane) {
    CRect rect;
    pane->GetWindowRect(&rect);
    m_split.ScreenToClient(&rect);
    return rect;
  }
  void Press(CPoint pt) { m_split.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y)); }
  void Move(CPoint pt) { m_split.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y)); }
  void Release(CPoint pt) { m_split.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y)); }
  LRESULT NcHit(CPoint client) {
    m_split.ClientToScreen(&client);
    return m_split.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(client.x, client.y));
  }
  CWnd m_host;
  TestSplitter m_split;
};

TEST_F(TkSplitterTest, ConstructedWithSixPixelBarsAndTheOutlineDrag) {
  EXPECT_EQ(m_split.GetSplitterStyle(), static_cast<DWORD>(TKSPLIT_NOFULLDRAG));
  EXPECT_FALSE(m_split.IsFullWindowDrag()) << "style 2 keeps full-window dragging off";
  EXPECT_EQ(m_split.m_cxSplitterGap, 6);
  EXPECT_EQ(m_split.m_cySplitter, 6);
  Make(1, 2);
  m_split.SetFlatLook(FALSE);
  EXPECT_EQ(m_split.m_cxSplitterGap, 7);
  EXPECT_EQ(PaneRect(m_split.GetPane(0, 1)).left, 2 + 100 + 7);
  m_split.SetFlatLook(TRUE);
  EXPECT_EQ(PaneRect(m_split.GetPane(0, 1)).left, 2 + 100 + 6);
}

TEST_F(TkSplitterTest, HitCodesAtTheBarsAndWhereTheyCross) {
  // Columns 2..102 | 102..108 | 108..208 | 208..214 | rest; rows 2..82 | 82..88 | 88..168 |
  // 168..174 | rest.
  Make(3, 3);
  struct Case {
    CPoint pt;
    int ht;
  } const cases[] = {
      {{50, 50}, 0},     {{1, 1}, 0},          // inside a pane, on the border
      {{102, 50}, 201},  {{107, 50}, 201},     // first column bar, both edges
      {{108, 50}, 0},    {{210, 250}, 202},    // just past it; the second column bar
      {{50, 82}, 101},   {{300, 170}, 102},    // row bars
      {{105, 85}, 301},  {{210, 170}, 317},    // crossings: 301 + 15 * row + column
      {{105, 170}, 316}, {{399, 299}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pt.x << "," << c.pt.y);
    EXPECT_EQ(m_split.HitTest(c.pt), c.ht);
  }
}

TEST_F(TkSplitterTest, TheToolkitsSplitCursorsOverTheBars) {
  HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
  ASSERT_NE(language, nullptr) << "ZBResENU.dll beside the test";
  HINSTANCE saved = AfxGetResourceHandle();
  AfxSetResourceHandle(language);
  Make(2, 2);
  ASSERT_NE(::LoadCursorA(language, MAKEINTRESOURCEA(IDC_TK_VSPLITBAR)), nullptr);
  HCURSOR upDown = TkVSplitCursor();
  HCURSOR sideways = TkHSplitCursor();
  // The module's own, not the system's stand-ins; and the same object every time.
  EXPECT_NE(upDown, ::LoadCursorA(nullptr, IDC_SIZENS));
  EXPECT_NE(sideways, ::LoadCursorA(nullptr, IDC_SIZEWE));
  EXPECT_EQ(TkVSplitCursor(), upDown);
  struct Case {
    CPoint pt;
    HCURSOR cursor;
  } const cases[] = {
      {{50, 85}, upDown},                                  // row bar
      {{105, 40}, sideways},                               // column bar
      {{105, 85}, ::LoadCursorA(nullptr, IDC_SIZEALL)},    // crossing: the framework's own
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pt.x << "," << c.pt.y);
    CPoint screen = c.pt;
    m_split.ClientToScreen(&screen);
    ::SetCursorPos(screen.x, screen.y);
    m_split.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_split.m_hWnd),
                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), c.cursor);
  }
  AfxSetResourceHandle(saved);
}

TEST_F(TkSplitterTest, DraggingStaysWithinTheTrackingLimits) {
  struct Case {
    const char* name;
    BOOL fullDrag;
    CPoint from, to;
    std::vector<int> cols, rows;
  };
  // The bar can go from the inside's start to its end less the bar; a full-window drag sizes
  // the panes while the mouse moves, an outline drag only on release.
  const std::vector<Case> cases = {
      {"outline, right by 50", FALSE, {105, 40}, {155, 40}, {150, 240}, {80, 210}},
      {"outline, past the left edge", FALSE, {105, 40}, {-80, 40}, {0, 390}, {80, 210}},
      {"outline, past the right edge", FALSE, {105, 40}, {900, 40}, {390, 0}, {80, 210}},
      {"outline, row bar past the bottom", FALSE, {50, 85}, {50, 700}, {100, 290}, {290, 0}},
      {"outline, crossing both ways", FALSE, {105, 85}, {125, 65}, {120, 270}, {60, 230}},
      {"full windows, right by 50", TRUE, {105, 40}, {155, 40}, {150, 240}, {80, 210}},
      {"full windows, past the top", TRUE, {50, 85}, {50, -30}, {100, 290}, {0, 290}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Make(2, 2);
    m_split.ForceFullDrag(c.fullDrag);
    m_split.trackers = 0;
    Press(c.from);
    Move(c.to);
    if (c.fullDrag) {
      EXPECT_EQ(Sizes(false), c.cols) << "the panes follow the mouse";
      EXPECT_EQ(Sizes(true), c.rows);
      EXPECT_TRUE(m_split.m_bTracking) << "still tracking until the release";
    }
    Release(c.to);
    EXPECT_FALSE(m_split.m_bTracking);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(Sizes(false), c.cols);
    EXPECT_EQ(Sizes(true), c.rows);
    if (c.fullDrag)
      EXPECT_EQ(m_split.trackers, 0) << "no outline while the panes move";
    else
      EXPECT_GT(m_split.trackers, 0);
    m_split.DestroyWindow();
  }
}

TEST_F(TkSplitterTest, ALockedSplitterIsAllBorderToTheMouseAndKeepsItsBars) {
  Make(2, 1);
  CPoint bar(50, 85);
  EXPECT_EQ(NcHit(bar), HTCLIENT);
  m_split.SetSplitterStyle(TKSPLIT_NOSIZING | TKSPLIT_NOFULLDRAG);
  EXPECT_EQ(NcHit(bar), HTBORDER);
  EXPECT_EQ(NcHit(CPoint(50, 40)), HTBORDER);
  // Even a press that reaches the window takes no bar.
  Press(bar);
  EXPECT_FALSE(m_split.m_bTracking);
  Move(CPoint(50, 150));
  Release(CPoint(50, 150));
  EXPECT_EQ(Sizes(true), (std::vector<int>{80, 210}));
}

TEST_F(TkSplitterTest, HidingAColumnRenumbersThePanesAndShowingRestoresItsWidth) {
  Make(2, 3);
  m_split.SetColumnInfo(1, 140, 0);
  m_split.RecalcLayout();
  CWnd* hidden[2] = {m_split.GetPane(0, 1), m_split.GetPane(1, 1)};
  CWnd* right[2] = {m_split.GetPane(0, 2), m_split.GetPane(1, 2)};
  m_split.HideColumn(1);
  EXPECT_EQ(m_split.GetColumnCount(), 2);
  EXPECT_TRUE(m_split.IsColumnHidden());
  for (int row = 0; row < 2; ++row) {
    SCOPED_TRACE(row);
    EXPECT_FALSE(hidden[row]->IsWindowVisible());
    EXPECT_EQ(m_split.GetHiddenPane(row), hidden[row]);
    EXPECT_EQ(m_split.GetPane(row, 1), right[row]) << "the right column moved left";
    EXPECT_EQ(right[row]->GetDlgCtrlID(), m_split.IdFromRowCol(row, 1));
    EXPECT_EQ(PaneRect(right[row]).left, 2 + 100 + 6);
    EXPECT_EQ(PaneRect(right[row]).right, 398);
  }
  m_split.ShowColumn();
  EXPECT_FALSE(m_split.IsColumnHidden());
  EXPECT_EQ(m_split.GetColumnCount(), 3);
  for (int row = 0; row < 2; ++row) {
    SCOPED_TRACE(row);
    EXPECT_TRUE(hidden[row]->IsWindowVisible());
    EXPECT_EQ(m_split.GetPane(row, 1), hidden[row]);
    EXPECT_EQ(m_split.GetPane(row, 2), right[row]);
    EXPECT_EQ(m_split.GetHiddenPane(row), nullptr);
  }
  EXPECT_EQ(Sizes(false)[1], 140) << "the width it had when hidden";
}

TEST_F(TkSplitterTest, HidingTheActivePanesColumnActivatesItsNeighbourInTheRow) {
  struct Case {
    int cols, hide;
    int activeAfter;  // the column, counted before the hiding, whose pane becomes active
  } const cases[] = {{3, 1, 2}, {3, 2, 0}, {2, 0, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.cols << " columns, hiding " << c.hide);
    Make(2, c.cols);
    CWnd* expected = m_split.GetPane(1, c.activeAfter);
    m_split.SetActivePane(1, c.hide);
    ASSERT_EQ(m_split.GetActivePane(), m_split.GetPane(1, c.hide));
    m_split.HideColumn(c.hide);
    EXPECT_EQ(m_split.GetActivePane(), expected);
    m_split.ShowColumn();
    m_split.DestroyWindow();
  }
}

TEST_F(TkSplitterTest, HidingARowAndShowingItAgain) {
  Make(3, 1);
  CWnd* top = m_split.GetPane(0, 0);
  CWnd* bottom = m_split.GetPane(2, 0);
  m_split.HideRow(0);
  EXPECT_EQ(m_split.GetRowCount(), 2);
  EXPECT_FALSE(top->IsWindowVisible());
  EXPECT_EQ(m_split.GetHiddenRowPane(0), top);
  EXPECT_EQ(m_split.GetPane(1, 0), bottom);
  EXPECT_EQ(PaneRect(m_split.GetPane(0, 0)).top, 2);
  m_split.ShowRow();
  EXPECT_EQ(m_split.GetPane(0, 0), top);
  EXPECT_EQ(m_split.GetPane(2, 0), bottom);
  EXPECT_TRUE(top->IsWindowVisible());
  EXPECT_EQ(Sizes(true)[0], 80);
}

TEST_F(TkSplitterTest, ViewsSwappedSwitchedAndReplacedInAPane) {
  Make(1, 2);
  CWnd* left = m_split.GetPane(0, 0);
  CWnd* right = m_split.GetPane(0, 1);

  EXPECT_FALSE(m_split.SwapViews(0, 0, left)) << "already there";
  EXPECT_TRUE(m_split.SwapViews(0, 0, right));
  EXPECT_EQ(m_split.GetPane(0, 0), right);
  EXPECT_EQ(m_split.GetPane(0, 1), left);
  EXPECT_EQ(PaneRect(right).left, 2);

  // A spare view of the caller's, kept outside the grid.
  auto* spare = new PaneView;
  ASSERT_TRUE(spare->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 1, 1), &m_split, 0, nullptr));
  EXPECT_EQ(m_split.SwitchView(0, 1, left), nullptr) << "already there: nothing changes";
  EXPECT_TRUE(left->IsWindowVisible());
  EXPECT_EQ(m_split.SwitchView(0, 1, spare), left);
  EXPECT_EQ(m_split.GetPane(0, 1), spare);
  EXPECT_TRUE(spare->IsWindowVisible());
  EXPECT_FALSE(left->IsWindowVisible());
  EXPECT_EQ(left->GetDlgCtrlID(), 0);

  EXPECT_EQ(m_split.ReplaceView(0, 1, RUNTIME_CLASS(PaneView)), nullptr) << "same class";
  EXPECT_EQ(m_split.GetPane(0, 1), spare);
  CWnd* old = m_split.ReplaceView(0, 1, RUNTIME_CLASS(OtherView));
  EXPECT_EQ(old, spare);
  CWnd* made = m_split.GetPane(0, 1);
  ASSERT_NE(made, nullptr);
  ASSERT_TRUE(made->IsKindOf(RUNTIME_CLASS(OtherView)));
  EXPECT_EQ(static_cast<OtherView*>(made)->initialUpdates, 1);
  EXPECT_FALSE(spare->IsWindowVisible());
  EXPECT_EQ(spare->GetDlgCtrlID(), 0);
  EXPECT_EQ(PaneRect(made).left, PaneRect(right).right + 6);
}

TEST_F(TkSplitterTest, TheExtendedSplitterLeavesAStripAboveThePanes) {
  CTkSplitterWndEx ex;
  ASSERT_TRUE(ex.CreateStatic(&m_host, 1, 2));
  for (int c = 0; c < 2; ++c)
    ASSERT_TRUE(ex.CreateView(0, c, RUNTIME_CLASS(PaneView), CSize(100, 0), nullptr));
  ex.MoveWindow(0, 0, 300, 200);
  ex.RecalcLayout();
  CRect left, right;
  ex.GetPane(0, 0)->GetWindowRect(&left);
  ex.GetPane(0, 1)->GetWindowRect(&right);
  ex.ScreenToClient(&left);
  ex.ScreenToClient(&right);
  EXPECT_EQ(left, CRect(0, 6, 100, 200)) << "no border; the 6-pixel strip on top";
  EXPECT_EQ(right.left, 104) << "4-pixel bars";
  ex.SetTopEdge(TRUE, 10);
  ex.GetPane(0, 0)->GetWindowRect(&left);
  ex.ScreenToClient(&left);
  EXPECT_EQ(left.top, 10);
  // A pane with a sunken edge reaches over half the bar on each side.
  ex.GetPane(0, 1)->ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
  ex.RecalcLayout();
  ex.GetPane(0, 1)->GetWindowRect(&right);
  ex.ScreenToClient(&right);
  EXPECT_EQ(right, CRect(102, 8, 302, 202));
  ex.DestroyWindow();
}

}  // namespace
