// The toolkit's status bar: panes inserted and removed after creation keep the others' settings,
// and a control hosted in a pane (the program's progress bar) follows its pane when the bar is
// resized or a pane is inserted before it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/controls/ProgressCtrl.h"
#include "toolkit/bars/TkStatusBar.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/frame/TkFrameWnd.h"
#include "toolkit/tests/frame/FrameTestSupport.h"

namespace {

constexpr UINT kPaneA = 0xE901, kPaneB = 0xE902, kPaneNew = 0xE903;

// A progress control that counts how often it is destroyed and deleted.
int g_deleted = 0;
class CountedProgress : public CProgressCtrl {
 public:
  ~CountedProgress() override { ++g_deleted; }
};

class TkStatusBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(tktest::LanguageModule(), nullptr);
    m_frame = new CTkFrameWnd;
    ASSERT_TRUE(m_frame->Create(nullptr, "status", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                CRect(20, 20, 620, 320)));
    ASSERT_TRUE(m_bar.Create(m_frame));
    const UINT ids[] = {ID_SEPARATOR, kPaneA, kPaneB};
    m_bar.SetIndicators(ids, 3);
    m_bar.SetPaneWidth(1, 80);
    m_bar.SetPaneWidth(2, 60);
    m_bar.SetPaneText(1, "one");
    m_bar.SetPaneText(2, "two");
    m_frame->RecalcLayout();
    g_deleted = 0;
  }
  void TearDown() override {
    if (::IsWindow(m_frame->m_hWnd)) m_frame->DestroyWindow();
  }
  // The panes as "id:width:text".
  std::vector<std::string> Panes() {
    std::vector<std::string> out;
    CTkStatusPaneInfo info;
    for (int i = 0; m_bar.GetPaneInfoEx(i, info); ++i) {
      char line[64];
      std::snprintf(line, sizeof line, "%X:%d:%s", info.nID, info.cxWidth,
                    static_cast<LPCSTR>(info.strText));
      out.push_back(line);
    }
    return out;
  }
  CRect PaneRect(UINT id, bool inset) {
    CRect r;
    m_bar.GetItemRect(m_bar.CommandToIndex(id), &r);
    if (inset) r.DeflateRect(2, 2);
    return r;
  }
  CRect Placed(CWnd& wnd) {
    CRect r;
    wnd.GetWindowRect(&r);
    m_bar.ScreenToClient(&r);
    return r;
  }
  CProgressCtrl* HostProgress(UINT pane, bool autoDelete) {
    CProgressCtrl* progress = autoDelete ? new CountedProgress : &m_progress;
    EXPECT_TRUE(progress->Create(WS_CHILD | WS_VISIBLE | PBS_SMOOTH, CRect(0, 0, 10, 10), &m_bar, 0));
    EXPECT_TRUE(m_bar.AddControl(progress, pane, autoDelete));
    return progress;
  }
  CTkFrameWnd* m_frame = nullptr;
  CTkStatusBar m_bar;
  CProgressCtrl m_progress;
};

}  // namespace

TEST_F(TkStatusBarTest, PanesAreInsertedWhereAskedAndTheOthersKeepTheirSettings) {
  struct Case {
    const char* why;
    UINT id;
    int index;
    BOOL added;
    std::vector<std::string> panes;
  };
  const Case cases[] = {
      {"in the middle", kPaneNew, 1, TRUE, {"0:0:", "E903:0:", "E901:80:one", "E902:60:two"}},
      {"an id that has a pane", kPaneA, 0, FALSE, {"0:0:", "E903:0:", "E901:80:one", "E902:60:two"}},
      {"beyond the end", 0xE904, 5, FALSE, {"0:0:", "E903:0:", "E901:80:one", "E902:60:two"}},
      {"before the start", 0xE904, -1, FALSE, {"0:0:", "E903:0:", "E901:80:one", "E902:60:two"}},
      {"at the count: appended", 0xE904, 4, TRUE,
       {"0:0:", "E903:0:", "E901:80:one", "E902:60:two", "E904:0:"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(m_bar.AddIndicator(c.id, c.index), c.added) << c.why;
    EXPECT_EQ(Panes(), c.panes) << c.why;
  }
  EXPECT_TRUE(m_bar.GetPaneStyle(0) & SBPS_STRETCH) << "the message pane still stretches";
  EXPECT_TRUE(m_bar.RemoveIndicator(kPaneNew));
  EXPECT_FALSE(m_bar.RemoveIndicator(kPaneNew));
  EXPECT_EQ(Panes(), (std::vector<std::string>{"0:0:", "E901:80:one", "E902:60:two", "E904:0:"}));
}

TEST_F(TkStatusBarTest, AHostedProgressBarFollowsItsPaneWhenTheBarResizes) {
  CProgressCtrl* progress = HostProgress(kPaneA, false);
  ASSERT_NE(m_bar.GetPaneControl(kPaneA), nullptr);
  EXPECT_EQ(m_bar.GetPaneControl(kPaneA)->pWnd, progress);
  EXPECT_EQ(m_bar.GetPaneControl(kPaneB), nullptr);
  EXPECT_EQ(Placed(*progress), PaneRect(kPaneA, true)) << "2 pixels inside a bordered pane";

  // A narrower frame moves the fixed panes left, and the control with them.
  CRect before = Placed(*progress);
  m_frame->SetWindowPos(nullptr, 0, 0, 450, 300, SWP_NOMOVE | SWP_NOZORDER);
  m_frame->RecalcLayout();
  EXPECT_NE(Placed(*progress).left, before.left);
  EXPECT_EQ(Placed(*progress), PaneRect(kPaneA, true));

  // A pane inserted before it pushes it along at once.
  before = Placed(*progress);
  ASSERT_TRUE(m_bar.AddIndicator(kPaneNew, 1));
  m_bar.SetPaneWidth(1, 50);
  m_bar.PositionControls();
  EXPECT_EQ(Placed(*progress), PaneRect(kPaneA, true));

  // A wider pane makes a wider control.
  m_bar.SetPaneWidth(m_bar.CommandToIndex(kPaneA), 150);
  m_bar.PositionControls();
  EXPECT_EQ(Placed(*progress), PaneRect(kPaneA, true));
  EXPECT_GE(Placed(*progress).Width(), 150);
}

TEST_F(TkStatusBarTest, AControlFillsAPaneWithoutBorders) {
  m_bar.SetPaneStyle(m_bar.CommandToIndex(kPaneB), SBPS_NOBORDERS);
  CProgressCtrl* progress = HostProgress(kPaneB, false);
  EXPECT_EQ(Placed(*progress), PaneRect(kPaneB, false));
  EXPECT_FALSE(m_bar.AddControl(progress, 0xEEEE, FALSE)) << "no pane has that id";
}

TEST_F(TkStatusBarTest, RemovingAPaneDestroysItsControlOnlyWhileItLives) {
  CProgressCtrl* owned = HostProgress(kPaneA, true);
  HWND window = owned->m_hWnd;
  ASSERT_TRUE(m_bar.RemoveIndicator(kPaneA));
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(g_deleted, 1) << "an auto-deleted control goes with its pane";
  EXPECT_EQ(m_bar.GetPaneControl(kPaneA), nullptr);

  // A control destroyed by its owner before the pane goes is left alone.
  CProgressCtrl* kept = HostProgress(kPaneB, false);
  kept->DestroyWindow();
  EXPECT_TRUE(m_bar.RemoveIndicator(kPaneB));
  EXPECT_EQ(kept->m_hWnd, nullptr);
  EXPECT_EQ(m_bar.GetPaneControl(kPaneB), nullptr);
}

TEST_F(TkStatusBarTest, TheBarDestroysAndDeletesWhatItStillHostsWhenItGoes) {
  auto* bar = new CTkStatusBar;
  ASSERT_TRUE(bar->Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 0xE8F0));
  const UINT ids[] = {ID_SEPARATOR, kPaneA};
  bar->SetIndicators(ids, 2);
  auto* progress = new CountedProgress;
  ASSERT_TRUE(progress->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), bar, 0));
  HWND window = progress->m_hWnd;
  ASSERT_TRUE(bar->AddControl(progress, kPaneA, TRUE));
  delete bar;
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(g_deleted, 1);
}

TEST_F(TkStatusBarTest, TheFlatLookFramesEachBorderedPaneInTheShadowColour) {
  ToolkitData().ReloadColors();
  CRect pane = PaneRect(kPaneA, false);
  auto edgeColour = [&] {
    m_bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    HDC dc = ::GetDC(m_bar.m_hWnd);
    COLORREF c = ::GetPixel(dc, pane.right - 1, (pane.top + pane.bottom) / 2);
    ::ReleaseDC(m_bar.m_hWnd, dc);
    return c;
  };
  {
    tktest::FlatLook flat(TRUE);
    EXPECT_EQ(edgeColour(), ToolkitData().m_clrShadow) << "a flat one-colour frame";
  }
  tktest::FlatLook plain(FALSE);
  EXPECT_NE(edgeColour(), ToolkitData().m_clrShadow) << "the control's own sunken edge";
}
