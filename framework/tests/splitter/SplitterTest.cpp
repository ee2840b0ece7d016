// The static splitter on a real window under the X display: how the room is shared out, which
// part of the window a point is on, and dragging a bar with the mouse messages the system sends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/docview/View.h"
#include "framework/splitter/SplitterWnd.h"
#include "framework/tests/wnd/WndTestSupport.h"

namespace {

class PaneView : public CView {
  DECLARE_DYNCREATE(PaneView)
 public:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(PaneView, CView)

// Views whose creation fails, one before its window exists and one after; each counts how
// often it is freed.
int g_failedFreed = 0;
class RefusedView : public CView {
  DECLARE_DYNCREATE(RefusedView)
 public:
  ~RefusedView() override { ++g_failedFreed; }
  void OnDraw(CDC*) override {}
  BOOL PreCreateWindow(CREATESTRUCTA&) override { return FALSE; }
};
IMPLEMENT_DYNCREATE(RefusedView, CView)
class FailingView : public CView {
  DECLARE_DYNCREATE(FailingView)
 public:
  ~FailingView() override { ++g_failedFreed; }
  void OnDraw(CDC*) override {}
 protected:
  int OnCreate(LPCREATESTRUCT) { return -1; }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(FailingView, CView)
BEGIN_MESSAGE_MAP(FailingView, CView)
  ON_WM_CREATE()
END_MESSAGE_MAP()

// Records what the base asks a derived splitter to draw.
class LoggingSplitter : public CSplitterWnd {
 public:
  void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) override {
    drawn.push_back(nType);
    CSplitterWnd::OnDrawSplitter(pDC, nType, rect);
  }
  void OnInvertTracker(const CRect& rect) override {
    inverted.push_back(rect);
    CSplitterWnd::OnInvertTracker(rect);
  }
  std::vector<int> drawn;
  std::vector<CRect> inverted;
};

struct Metrics {
  int border, gap;  // 2 and 7 are the framework's own
};

class SplitterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 0, 0,
                                600, 500, nullptr, nullptr));
  }
  void TearDown() override {
    if (m_host.m_hWnd) m_host.DestroyWindow();
  }
  // A rows x cols splitter of the given client size whose panes ask for 100 x 80 (the last row
  // and column take the rest).
  void Make(int rows, int cols, int cx = 400, int cy = 300, Metrics m = {2, 7}) {
    m_split.m_cxBorder = m_split.m_cyBorder = m.border;
    m_split.m_cxSplitterGap = m_split.m_cySplitterGap = m.gap;
    ASSERT_TRUE(m_split.CreateStatic(&m_host, rows, cols));
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c)
        ASSERT_TRUE(m_split.CreateView(r, c, RUNTIME_CLASS(PaneView), CSize(100, 80), nullptr));
    m_split.MoveWindow(0, 0, cx, cy);
    m_split.RecalcLayout();
  }
  CRect PaneRect(int row, int col) {
    CRect rect;
    CWnd* pane = m_split.GetPane(row, col);
    pane->GetWindowRect(&rect);
    m_split.ScreenToClient(&rect);
    return rect;
  }
  void Drag(CPoint from, CPoint to, UINT end = WM_LBUTTONUP) {
    m_split.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    m_split.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    m_split.SendMessage(end, 0, MAKELPARAM(to.x, to.y));
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
  CWnd m_host;
  LoggingSplitter m_split;
};

TEST_F(SplitterTest, SharesTheRoomOutByIdealAndLeastSizes) {
  struct Case {
    const char* name;
    int cx, cy;
    Metrics metrics;
    int col0Ideal, col0Min, row0Ideal, row0Min;
    std::vector<int> cols, rows;
  };
  const std::vector<Case> cases = {
      // inside 396 x 296, 7-pixel gaps
      {"ideal sizes fit", 400, 300, {2, 7}, 100, 0, 80, 0, {100, 289}, {80, 209}},
      {"after a resize", 200, 150, {2, 7}, 100, 0, 80, 0, {100, 89}, {80, 59}},
      {"first pane wider than the room", 200, 150, {2, 7}, 500, 0, 400, 0, {196, 0}, {146, 0}},
      {"room below the least size: none", 400, 300, {2, 7}, 30, 40, 20, 25, {0, 389}, {0, 289}},
      {"window too small for the borders", 3, 3, {2, 7}, 100, 0, 80, 0, {0, 0}, {0, 0}},
      {"borderless, narrow bars", 400, 300, {0, 4}, 100, 0, 80, 0, {100, 296}, {80, 216}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Make(2, 2, c.cx, c.cy, c.metrics);
    m_split.SetColumnInfo(0, c.col0Ideal, c.col0Min);
    m_split.SetRowInfo(0, c.row0Ideal, c.row0Min);
    m_split.RecalcLayout();
    EXPECT_EQ(Sizes(false), c.cols);
    EXPECT_EQ(Sizes(true), c.rows);
    // The last pane's window sits after the first and a gap.
    CRect last = PaneRect(1, 1);
    EXPECT_EQ(last.Width(), c.cols[1]);
    EXPECT_EQ(last.Height(), c.rows[1]);
    if (c.cols[0] > 0) {
      EXPECT_EQ(last.left, c.metrics.border + c.cols[0] + c.metrics.gap);
    }
    m_split.DestroyWindow();
  }
}

TEST_F(SplitterTest, NamesThePartUnderAPoint) {
  // 3 x 3: columns at x 2..102 | bar 102..109 | 109..209 | bar 209..216 | rest;
  //        rows at    y 2..82  | bar 82..89   | 89..169  | bar 169..176 | rest.
  Make(3, 3);
  struct Case {
    CPoint pt;
    int ht;
  } const cases[] = {
      {{50, 50}, CSplitterWnd::noHit},       {{1, 1}, CSplitterWnd::noHit},
      {{102, 50}, 201},                      {{108, 50}, 201},
      {{109, 50}, CSplitterWnd::noHit},      {{212, 250}, 202},
      {{50, 82}, 101},                       {{300, 172}, 102},
      {{105, 85}, 301},                      {{212, 172}, 301 + 15 + 1},
      {{105, 172}, 301 + 15},                {{399, 299}, CSplitterWnd::noHit},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pt.x << "," << c.pt.y);
    EXPECT_EQ(m_split.HitTest(c.pt), c.ht);
  }
  CRect bar;
  m_split.GetHitRect(202, bar);
  EXPECT_EQ(bar, CRect(209, 2, 216, 298));
}

TEST_F(SplitterTest, DraggingABarResizesTheRowOrColumn) {
  struct Case {
    const char* name;
    CPoint from, to;
    UINT end;
    std::vector<int> cols, rows;
  };
  const std::vector<Case> cases = {
      {"column bar right by 50", {105, 50}, {155, 50}, WM_LBUTTONUP, {150, 50, 182}, {80, 80, 122}},
      {"row bar up by 30", {50, 85}, {50, 55}, WM_LBUTTONUP, {100, 100, 182}, {50, 110, 122}},
      {"intersection both ways", {105, 85}, {125, 95}, WM_LBUTTONUP, {120, 80, 182}, {90, 70, 122}},
      {"last column bar past the edge", {212, 50}, {900, 50}, WM_LBUTTONUP, {100, 282, 0},
       {80, 80, 122}},
      {"first bar past the start", {105, 50}, {-50, 50}, WM_LBUTTONUP, {0, 200, 182},
       {80, 80, 122}},
      {"cancelled drag", {105, 50}, {155, 50}, WM_CANCELMODE, {100, 100, 182}, {80, 80, 122}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Make(3, 3);
    Drag(c.from, c.to, c.end);
    EXPECT_FALSE(m_split.m_bTracking);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(Sizes(false), c.cols);
    EXPECT_EQ(Sizes(true), c.rows);
    m_split.DestroyWindow();
  }
}

TEST_F(SplitterTest, TrackerAndPartsDrawnThroughTheVirtuals) {
  Make(2, 2);
  m_split.inverted.clear();
  Drag({105, 50}, {155, 50});
  // Shown at the bar, hidden there, shown at the new place, hidden when released.
  ASSERT_EQ(m_split.inverted.size(), 4u);
  EXPECT_EQ(m_split.inverted[0], CRect(102, 2, 109, 298));
  EXPECT_EQ(m_split.inverted[2], CRect(152, 2, 159, 298));
  EXPECT_EQ(m_split.inverted[3], m_split.inverted[2]);

  m_split.drawn.clear();
  m_split.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const std::vector<int> parts = {CSplitterWnd::splitBorder, CSplitterWnd::splitBar,
                                  CSplitterWnd::splitBar, CSplitterWnd::splitIntersection};
  EXPECT_EQ(m_split.drawn, parts);
}

TEST_F(SplitterTest, PanesByRowAndColumnAndTheActivePane) {
  Make(2, 3);
  EXPECT_EQ(m_split.IdFromRowCol(1, 2), 0xE900 + 16 + 2);
  CWnd* pane = m_split.GetPane(1, 2);
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(pane->GetDlgCtrlID(), 0xE912);
  int row = -1, col = -1;
  EXPECT_TRUE(m_split.IsChildPane(pane, &row, &col));
  EXPECT_EQ(row * 10 + col, 12);
  EXPECT_FALSE(m_split.IsChildPane(&m_host, nullptr, nullptr));
  EXPECT_EQ(m_split.GetPane(2, 0), nullptr);

  m_split.SetActivePane(1, 0);
  EXPECT_EQ(m_split.GetActivePane(&row, &col), m_split.GetPane(1, 0));
  EXPECT_EQ(row * 10 + col, 10);

  // A pane that exists already or lies outside the grid is refused.
  EXPECT_FALSE(m_split.CreateView(0, 0, RUNTIME_CLASS(PaneView), CSize(1, 1), nullptr));
  EXPECT_FALSE(m_split.CreateView(2, 0, RUNTIME_CLASS(PaneView), CSize(1, 1), nullptr));
}

// A pane whose window never comes, or comes and goes, is freed once, by itself; the splitter
// keeps no pointer to it and the place stays free for another view.
TEST_F(SplitterTest, APaneWhoseCreationFailsIsFreedOnce) {
  ASSERT_TRUE(m_split.CreateStatic(&m_host, 1, 2));
  CRuntimeClass* failing[] = {RUNTIME_CLASS(RefusedView), RUNTIME_CLASS(FailingView)};
  for (int col = 0; col < 2; ++col) {
    g_failedFreed = 0;
    EXPECT_FALSE(m_split.CreateView(0, col, failing[col], CSize(10, 10), nullptr));
    EXPECT_EQ(g_failedFreed, 1) << failing[col]->m_lpszClassName;
    EXPECT_EQ(m_split.GetPane(0, col), nullptr);
    EXPECT_TRUE(m_split.CreateView(0, col, RUNTIME_CLASS(PaneView), CSize(10, 10), nullptr));
  }
}

TEST_F(SplitterTest, GridsOutsideOneToSixteenAreRefused) {
  const int bad[][2] = {{0, 2}, {2, 0}, {17, 1}, {1, 17}, {-1, 2}};
  for (const auto& b : bad) {
    CSplitterWnd split;
    EXPECT_FALSE(split.CreateStatic(&m_host, b[0], b[1])) << b[0] << "x" << b[1];
    EXPECT_EQ(split.m_hWnd, nullptr);
  }
}

}  // namespace
