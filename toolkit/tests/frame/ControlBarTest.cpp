// The toolkit's control bar base: the inside rectangle with and without the gripper, the sizes a
// bar gives the frame's layout and a rebar band, borders and grippers in both looks, the bar
// context menu and the look painters' choice.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/app/WinApp.h"
#include "framework/bars/StatusBar.h"
#include "framework/wnd/WindowDc.h"
#include "resources/ids/ToolkitFrameIds.h"
#include "toolkit/bars/TkStatusBar.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkFlatPainters.h"
#include "toolkit/bars/TkTheme.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/docking/window/TkDockWindow.h"
#include "toolkit/menubar/TkMenuBar.h"
#include "toolkit/frame/TkFrameWnd.h"
#include "toolkit/tests/frame/FrameTestSupport.h"

namespace {

// A bar of 120 x 26 lying down and 26 x 120 standing up.
class SizedBar : public CTkControlBar {
 public:
  BOOL Create(CWnd* parent, UINT id, DWORD style, LPCSTR title = "") {
    m_dwStyle = style;
    CRect rect(0, 0, 0, 0);
    return CWnd::Create(AfxRegisterWndClass(0), title, WS_CHILD | WS_VISIBLE, rect, parent, id);
  }
  CSize CalcFixedLayout(BOOL, BOOL bHorz) override {
    return bHorz ? CSize(120, 26) : CSize(26, 120);
  }
};

using tktest::Canvas;
using tktest::FlatLook;

}  // namespace

TEST(TkControlBarTest, TheInsideRectLosesBordersAndTheGripperWhereItIsShown) {
  struct Case {
    const char* why;
    DWORD style;
    BOOL horz;
    CRect expected;
  };
  // From 100 x 50; the borders are 6 across the bar and 1 along it, 2 more for each edge line.
  const Case cases[] = {
      {"plain, horizontal", CBRS_ALIGN_TOP, TRUE, CRect(6, 1, 94, 49)},
      {"plain, vertical", CBRS_ALIGN_LEFT, FALSE, CRect(1, 6, 99, 44)},
      {"a gripper takes 7 at the left of a horizontal bar", CBRS_ALIGN_TOP | CBRS_GRIPPER, TRUE,
       CRect(13, 1, 94, 49)},
      {"and 7 at the top of a vertical one", CBRS_ALIGN_LEFT | CBRS_GRIPPER, FALSE,
       CRect(1, 13, 99, 44)},
      {"a floating bar shows no gripper", CBRS_ALIGN_TOP | CBRS_GRIPPER | CBRS_FLOATING, TRUE,
       CRect(6, 1, 94, 49)},
      {"edge lines and a gripper", CBRS_TOP | CBRS_BORDER_TOP | CBRS_GRIPPER, TRUE,
       CRect(13, 3, 94, 47)},
  };
  for (const Case& c : cases) {
    SizedBar bar;
    bar.m_dwStyle = c.style;
    CRect rect(0, 0, 100, 50);
    bar.CalcInsideRect(rect, c.horz);
    EXPECT_EQ(rect, c.expected) << c.why;
  }
}

TEST(TkControlBarTest, ABarStartsWithTheToolkitsBordersStyleAndFonts) {
  SizedBar bar;
  EXPECT_EQ(bar.GetBorders(), CRect(6, 1, 6, 1));
  EXPECT_EQ(bar.m_cxDefaultGap, 2);
  EXPECT_EQ(bar.m_nMRUWidth, 32767);
  EXPECT_EQ(bar.GetTkBarStyle(), 0x23u);
  EXPECT_EQ(bar.m_szHorz, CSize(200, 100));
  EXPECT_TRUE(bar.m_bContextMenu);
  EXPECT_FALSE(bar.IsInReBar());
  ASSERT_NE(bar.GetNormalFont(), nullptr);
  LOGFONTA lf = {};
  ::GetObjectA(bar.GetNormalFont(), sizeof lf, &lf);
  HDC screen = ::GetDC(nullptr);
  EXPECT_EQ(lf.lfHeight, -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72)) << "8 points";
  ::ReleaseDC(nullptr, screen);
  ::GetObjectA(bar.GetVertFont(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfEscapement, 900);
  ::GetObjectA(bar.GetBoldFont(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);

  bar.ModifyTkBarStyle(0x03, TKBS_DOUBLE_GRIPPER, FALSE);
  EXPECT_EQ(bar.GetTkBarStyle(), 0x24u);
  bar.SetBorders(CRect(1, 2, 3, 4));
  EXPECT_EQ(bar.GetBorders(), CRect(1, 2, 3, 4));
}

class TkBarFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(tktest::LanguageModule(), nullptr);
    m_frame = new CTkFrameWnd;
    ASSERT_TRUE(m_frame->Create(nullptr, "bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                CRect(30, 30, 530, 430)));
  }
  void TearDown() override {
    if (::IsWindow(m_frame->m_hWnd)) m_frame->DestroyWindow();
  }
  CRect Placed(CWnd& bar) {
    CRect r;
    bar.GetWindowRect(&r);
    m_frame->ScreenToClient(&r);
    return r;
  }
  // The menu as "title[*]" items (* when checked), "-" for separators.
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
      out.push_back(std::string(text) + ((state & MF_CHECKED) ? "*" : ""));
    }
    return out;
  }
  CTkFrameWnd* m_frame = nullptr;
};

TEST_F(TkBarFrameTest, TheLayoutGivesEachBarItsFixedSizeAndARebarItsLeastBandSize) {
  SizedBar top, left;
  ASSERT_TRUE(top.Create(m_frame, 0xE830, CBRS_TOP));
  ASSERT_TRUE(left.Create(m_frame, 0xE831, CBRS_LEFT));
  m_frame->RecalcLayout();
  EXPECT_EQ(Placed(top), CRect(0, 0, 120, 26));
  EXPECT_EQ(Placed(left), CRect(0, 26, 26, 146));

  struct Case {
    BOOL horz;
    UINT cx, cy;
  };
  for (const Case& c : {Case{TRUE, 120, 26}, Case{FALSE, 26, 120}}) {
    REBARBANDINFOA info = {};
    info.cbSize = sizeof info;
    EXPECT_NE(top.SendMessage(TKM_GETBANDSIZE, c.horz, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_TRUE(info.fMask & RBBIM_CHILDSIZE);
    EXPECT_EQ(info.cxMinChild, c.cx);
    EXPECT_EQ(info.cyMinChild, c.cy);
  }
  EXPECT_TRUE(top.IsInReBar()) << "asking for the band size puts the bar in a rebar";
  EXPECT_EQ(top.GetWatchedFrame(), m_frame);
  EXPECT_EQ(top.SendMessage(TKM_FULLWINDOWDRAG), 0);
}

TEST_F(TkBarFrameTest, TheContextMenuListsToolbarsOtherBarsAndStatusBarsOnce) {
  CTkToolBar toolBar;
  ASSERT_TRUE(toolBar.CreateEx(m_frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE840));
  CTkStatusBar status;
  ASSERT_TRUE(status.Create(m_frame));
  const UINT indicators[] = {ID_SEPARATOR};
  status.SetIndicators(indicators, 1);
  m_frame->RecalcLayout();

  HMENU menu = BuildBarContextMenu(m_frame, &toolBar);
  EXPECT_EQ(Items(menu), (std::vector<std::string>{"Toolbar*", "Status Bar*"}))
      << "untitled bars take the module's titles; no separator";
  EXPECT_EQ(::GetMenuItemID(menu, 0), 0xE840u);
  EXPECT_EQ(::GetMenuItemID(menu, 1), static_cast<UINT>(AFX_IDW_STATUS_BAR));
  ::DestroyMenu(menu);

  // A titled toolkit bar that is hidden, docking's dock bars (never listed) and a customisable
  // toolbar that was clicked.
  SizedBar extras;
  ASSERT_TRUE(extras.Create(m_frame, 0xE841, CBRS_TOP, "Extras"));
  extras.ShowWindow(SW_HIDE);
  m_frame->EnableDocking(CBRS_ALIGN_ANY);
  CTkToolBar custom;
  ASSERT_TRUE(custom.CreateEx(m_frame, TBSTYLE_FLAT | CCS_ADJUSTABLE,
                              WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE842));
  custom.SetWindowText("Custom");
  // The menu bar is a toolbar but never listed; docking windows come first, set apart, an
  // untitled one under the module's title.
  CTkMenuBar menuBar;
  ASSERT_TRUE(menuBar.Create(m_frame));
  CTkDockWindow pane;
  ASSERT_TRUE(pane.Create(m_frame, 0xE843, "", 100, 100));
  menu = BuildBarContextMenu(m_frame, &custom);
  EXPECT_EQ(Items(menu), (std::vector<std::string>{"Window*", "-", "Toolbar*", "Custom*",
                                                   "Extras", "Status Bar*", "-",
                                                   "&Customize..."}));
  EXPECT_EQ(::GetMenuItemID(menu, 7), static_cast<UINT>(ID_TK_CUSTOMIZE_TOOLBAR));
  ::DestroyMenu(menu);
  menu = BuildBarContextMenu(m_frame, &toolBar);
  EXPECT_EQ(Items(menu).back(), "Status Bar*") << "a toolbar that cannot be customised";
  ::DestroyMenu(menu);
}

namespace {
class CommandFrame : public CTkFrameWnd {
 public:
  int m_clicks = 0;

 protected:
  void OnButton() { ++m_clicks; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CommandFrame, CTkFrameWnd)
  ON_COMMAND(5001, OnButton)
END_MESSAGE_MAP()
}  // namespace

TEST(TkControlBarOwnerTest, CommandsOfControlsOnABarReachItsOwner) {
  auto* frame = new CommandFrame;
  ASSERT_TRUE(frame->Create(nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            CRect(30, 30, 430, 230)));
  SizedBar bar;
  ASSERT_TRUE(bar.Create(frame, 0xE835, CBRS_TOP));
  HWND button = ::CreateWindowExA(0, "BUTTON", "go", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, bar.m_hWnd,
                                  reinterpret_cast<HMENU>(5001), nullptr, nullptr);
  ASSERT_NE(button, nullptr);
  ::SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_EQ(frame->m_clicks, 1);
  bar.SendMessage(WM_COMMAND, MAKEWPARAM(5001, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  EXPECT_EQ(frame->m_clicks, 2);
  frame->DestroyWindow();
}

TEST_F(TkBarFrameTest, AFrameWithoutToolkitBarsHasNoContextMenu) {
  EXPECT_EQ(BuildBarContextMenu(m_frame, nullptr), nullptr);
  EXPECT_EQ(BuildBarContextMenu(nullptr, nullptr), nullptr);
}

TEST(TkControlBarTest, TheFlatLookDropsTheEdgesAndDotsTheGripper) {
  const CTkToolkitData& data = ToolkitData();
  ToolkitData().ReloadColors();
  ASSERT_NE(data.m_clrShadow, data.m_clrFace);
  struct Case {
    const char* why;
    BOOL flat;
    DWORD tkStyle;
    COLORREF leftEdge, leftInner;  // the two lines of the left border
    // gripper pixels down the left side (x 2..4 after the border), from the top
    COLORREF at4, at5;
  };
  const Case cases[] = {
      {"plain: etched edges, one raised grip bar", FALSE, TKBS_DEFAULT, data.m_clrShadow,
       data.m_clrHighlight, data.m_clrHighlight, data.m_clrHighlight},
      {"flat: no edges, a dotted grip", TRUE, TKBS_DEFAULT, data.m_clrFace, data.m_clrFace,
       data.m_clrShadowTint, RGB(1, 2, 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    FlatLook look(c.flat);
    SizedBar bar;
    bar.m_dwStyle = CBRS_ALIGN_TOP | CBRS_BORDER_LEFT | CBRS_GRIPPER;
    bar.SetTkBarStyle(c.tkStyle);
    Canvas canvas;
    CRect rect(0, 0, 60, 40);
    bar.DrawBorders(canvas.Dc(), rect);
    EXPECT_EQ(canvas.At(0, 20), c.leftEdge);
    EXPECT_EQ(canvas.At(1, 20), c.leftInner);
    EXPECT_EQ(rect.left, 2) << "both lines are taken from the rectangle";
    EXPECT_EQ(rect.right, 60) << "sides without a border keep their place";
    canvas.Clear(RGB(1, 2, 3));
    bar.DrawGripper(canvas.Dc(), CRect(0, 0, 60, 40));
    EXPECT_EQ(canvas.At(2, 4), c.at4);
    EXPECT_EQ(canvas.At(2, 5), c.at5);
  }
}

TEST(TkControlBarTest, ADoubleGripperIsTwoRaisedBars) {
  FlatLook look(TRUE);
  ToolkitData().ReloadColors();
  SizedBar bar;
  bar.m_dwStyle = CBRS_ALIGN_TOP | CBRS_GRIPPER;
  bar.SetTkBarStyle(TKBS_DOUBLE_GRIPPER);
  Canvas canvas;
  bar.DrawGripper(canvas.Dc(), CRect(0, 0, 60, 40));
  EXPECT_EQ(canvas.At(2, 10), ToolkitData().m_clrHighlight) << "the first bar's left side";
  EXPECT_EQ(canvas.At(4, 10), ToolkitData().m_clrShadow) << "and its right side";
  EXPECT_EQ(canvas.At(5, 10), ToolkitData().m_clrHighlight) << "the second bar";
  EXPECT_EQ(canvas.At(7, 10), ToolkitData().m_clrShadow);
  EXPECT_EQ(canvas.At(9, 10), RGB(1, 2, 3));
}

TEST(TkThemeTest, TheFlatLookFlagChoosesThePainters) {
  {
    FlatLook look(FALSE);
    Theme& theme = GetCurrentTheme();
    EXPECT_EQ(&theme, static_cast<Theme*>(&PlainTheme()));
    EXPECT_EQ(theme.GetComboPainter(), nullptr);
    EXPECT_EQ(theme.GetToolBarPainter(), nullptr);
  }
  FlatLook look(TRUE);
  Theme& theme = GetCurrentTheme();
  EXPECT_EQ(&theme, static_cast<Theme*>(&FlatTheme()));
  EXPECT_NE(theme.GetComboPainter(), nullptr);
  EXPECT_NE(theme.GetToolBarPainter(), nullptr);
}
