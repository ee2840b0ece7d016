// Control bars on their own: the inside rectangle for each border style, the layout modes a frame
// asks bars with, and bars on all four edges sharing a frame.
#include <gtest/gtest.h>

#include "framework/bars/ControlBar.h"
#include "framework/frame/FrameWnd.h"

namespace {

// A bar 30 pixels thick that records the mode of its last layout.
class EdgeBar : public CControlBar {
 public:
  BOOL Create(CFrameWnd* parent, DWORD style, UINT id) {
    m_dwStyle = style;
    CRect rect(0, 0, 0, 0);
    return CWnd::Create(AfxRegisterWndClass(0), "bar", WS_CHILD | WS_VISIBLE, rect, parent, id);
  }
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override {
    m_lastMode = nMode;
    m_lastLength = nLength;
    return (nMode & LM_HORZ) ? CSize(32767, 30) : CSize(30, 32767);
  }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  DWORD m_lastMode = 0;
  int m_lastLength = 0;
};

TEST(ControlBarTest, TheInsideRectLosesTheBordersOfTheStyleAndOrientation) {
  struct Case {
    const char* why;
    DWORD style;
    BOOL horz;
    CRect expected;
  };
  // From a 100 x 50 rectangle; the default borders are 6 across and 1 along the bar.
  const Case cases[] = {
      {"no edges, horizontal", 0, TRUE, CRect(6, 1, 94, 49)},
      {"no edges, vertical: the borders turn with the bar", 0, FALSE, CRect(1, 6, 99, 44)},
      {"a top bar's bottom edge", CBRS_TOP, TRUE, CRect(6, 1, 94, 47)},
      {"a bottom bar's top edge", CBRS_BOTTOM, TRUE, CRect(6, 3, 94, 49)},
      {"a left bar's right edge", CBRS_LEFT, FALSE, CRect(1, 6, 97, 44)},
      {"every edge", CBRS_BORDER_ANY, TRUE, CRect(8, 3, 92, 47)},
  };
  for (const Case& c : cases) {
    EdgeBar bar;
    bar.m_dwStyle = c.style;
    CRect rect(0, 0, 100, 50);
    bar.CalcInsideRect(rect, c.horz);
    EXPECT_EQ(rect, c.expected) << c.why;
  }
}

class EdgeFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_frame = new CFrameWnd;
    ASSERT_TRUE(m_frame->Create(nullptr, "edges", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
    ASSERT_TRUE(m_top.Create(m_frame, CBRS_TOP, 0xE820));
    ASSERT_TRUE(m_bottom.Create(m_frame, CBRS_BOTTOM, 0xE821));
    ASSERT_TRUE(m_left.Create(m_frame, CBRS_LEFT, 0xE822));
    ASSERT_TRUE(m_right.Create(m_frame, CBRS_RIGHT, 0xE823));
    m_frame->ShowWindow(SW_SHOW);
    m_frame->RecalcLayout();
  }
  void TearDown() override {
    if (::IsWindow(m_frame->m_hWnd)) m_frame->DestroyWindow();  // deletes the frame object
  }
  CRect Placed(CWnd& bar) {
    CRect r;
    bar.GetWindowRect(&r);
    m_frame->ScreenToClient(&r);
    return r;
  }
  CFrameWnd* m_frame = nullptr;
  EdgeBar m_top, m_bottom, m_left, m_right;
};

TEST_F(EdgeFrameTest, BarsTakeTheEdgesInCreationOrderWithTheModesOfTheirSides) {
  CRect client;
  m_frame->GetClientRect(&client);
  int w = client.Width(), h = client.Height();
  struct Case {
    const char* why;
    EdgeBar* bar;
    CRect place;
    DWORD mode;
  };
  const Case cases[] = {
      {"top, across the whole width", &m_top, CRect(0, 0, w, 30), LM_STRETCH | LM_HORZ | LM_HORZDOCK},
      {"bottom, across the whole width", &m_bottom, CRect(0, h - 30, w, h),
       LM_STRETCH | LM_HORZ | LM_HORZDOCK},
      {"left, between top and bottom", &m_left, CRect(0, 30, 30, h - 30), LM_STRETCH | LM_VERTDOCK},
      {"right, between top and bottom", &m_right, CRect(w - 30, 30, w, h - 30),
       LM_STRETCH | LM_VERTDOCK},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Placed(*c.bar), c.place) << c.why;
    EXPECT_EQ(c.bar->m_lastMode, c.mode) << c.why;
    EXPECT_EQ(c.bar->m_lastLength, -1) << c.why;
    EXPECT_EQ(c.bar->GetDockingFrame(), m_frame) << c.why;
  }
  EXPECT_EQ(m_frame->GetControlBar(0xE822), &m_left);
}

TEST_F(EdgeFrameTest, AQueryReportsTheFreeSpaceWithoutMovingAnything) {
  CRect before = Placed(m_left);
  CRect client, free;
  m_frame->GetClientRect(&client);
  CRect smaller(0, 0, 200, 150);
  m_frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &free, &smaller);
  EXPECT_EQ(free, CRect(30, 30, 170, 120));
  EXPECT_EQ(Placed(m_left), before);

  // Without stretching the query gives the size the bars need together.
  CRect needed;
  m_frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &needed, &smaller, FALSE);
  EXPECT_EQ(m_top.m_lastMode, static_cast<DWORD>(LM_HORZ | LM_HORZDOCK));
  // Across: the widest horizontal bar (cut to the 200 there are) plus the side bars; down: the
  // side bars, cut to the 90 left between top and bottom, outweigh the stacked 60.
  EXPECT_EQ(needed, CRect(0, 0, 260, 90));
}

TEST_F(EdgeFrameTest, ABarDestroyedBeforeItsFrameLeavesTheFramesList) {
  m_left.DestroyWindow();
  EXPECT_EQ(m_frame->GetControlBar(0xE822), nullptr);
  m_frame->RecalcLayout();
  EXPECT_EQ(Placed(m_top).Width(), Placed(m_bottom).Width());
}

}  // namespace
