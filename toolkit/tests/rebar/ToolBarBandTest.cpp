// A toolkit toolbar in a rebar band under the X display: the band's sizes, the buttons that go
// behind the chevron when the frame gets narrow and come back when it widens, and the chevron's
// menu of the hidden buttons whose choice reaches the frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "framework/frame/FrameWnd.h"
#include "toolkit/bars/TkHiddenButtonsMenu.h"
#include "toolkit/bars/TkReBar.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/bars/TkToolBarLayout.h"
#include "toolkit/tests/rebar/ReBarTestIds.h"

namespace {

class CommandFrame : public CFrameWnd {
 public:
  // The test owns the frame: it is not deleted with its window.
  void PostNcDestroy() override {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && lParam == 0) commands.push_back(LOWORD(wParam));
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
  std::vector<UINT> commands;
};

// The menu the chevron would open: its items as text, command and whether grayed.
struct Item {
  std::string text;
  UINT id;
  bool grayed;
  bool operator==(const Item& o) const {
    return text == o.text && id == o.id && grayed == o.grayed;
  }
};
void PrintTo(const Item& item, std::ostream* os) {
  *os << "{" << item.text << ", " << item.id << (item.grayed ? ", grayed}" : "}");
}
std::vector<Item> g_menu;
UINT g_choice = 0;
RECT g_at = {};
UINT ChooseFromMenu(HMENU menu, const RECT& rcChevron, HWND) {
  g_menu.clear();
  g_at = rcChevron;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    char text[64] = {};
    ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
    bool separator = (state & MF_SEPARATOR) != 0;
    g_menu.push_back({separator ? "-" : text, ::GetMenuItemID(menu, i),
                      !separator && (state & MF_GRAYED) != 0});
  }
  return g_choice;
}

class ToolBarBandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(frame_.Create(nullptr, "Toolbar band test", WS_OVERLAPPEDWINDOW,
                              CRect(10, 10, 610, 310)));
    ASSERT_TRUE(rebar_.Create(&frame_, RBS_BANDBORDERS,
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
                              AFX_IDW_REBAR));
    ASSERT_TRUE(bar_.CreateEx(&frame_, TBSTYLE_FLAT,
                              WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS, 0xE850));
    ASSERT_TRUE(bar_.LoadToolBar(IDR_REBAR_TEST_BAR));
    full_ = bar_.CalcFixedLayout(FALSE, TRUE);
    ASSERT_TRUE(rebar_.AddBar(&bar_, nullptr, nullptr, RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP, 1));
    frame_.ShowWindow(SW_SHOW);
    frame_.RecalcLayout();
    frame_.UpdateWindow();
    SetHiddenButtonsMenuTracker(ChooseFromMenu);
  }
  void TearDown() override {
    SetHiddenButtonsMenuTracker(nullptr);
    if (frame_.m_hWnd) frame_.DestroyWindow();
  }
  void Resize(int width) {
    frame_.SetWindowPos(nullptr, 0, 0, width, 300, SWP_NOMOVE | SWP_NOZORDER);
    frame_.RecalcLayout();
    Pump();
  }
  static void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  }
  std::vector<UINT> HiddenCommands() {
    std::vector<UINT> ids;
    for (const auto& h : bar_.GetHiddenButtons()) {
      TBBUTTON b = {};
      bar_.SendMessage(TB_GETBUTTON, h.first, reinterpret_cast<LPARAM>(&b));
      if (!(b.fsStyle & TBSTYLE_SEP)) ids.push_back(static_cast<UINT>(b.idCommand));
    }
    return ids;
  }

  CommandFrame frame_;
  CTkReBar rebar_;
  CTkToolBar bar_;
  CSize full_;
};

// The band would show every button, and may shrink to the first one and the chevron's room.
TEST_F(ToolBarBandTest, TheBandAsksForAllButtonsAndMayShrinkToTheFirst) {
  REBARBANDINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_CHILDSIZE | RBBIM_IDEALSIZE;
  rebar_.SendMessage(RB_GETBANDINFOA, 0, reinterpret_cast<LPARAM>(&info));
  CRect first;
  bar_.GetItemRect(0, &first);
  EXPECT_EQ(info.cxIdeal, static_cast<UINT>(full_.cx));
  EXPECT_EQ(info.cyMinChild, static_cast<UINT>(full_.cy));
  EXPECT_EQ(static_cast<int>(info.cxMinChild), bar_.GetMinimumBandSize(TRUE));
  EXPECT_LT(static_cast<int>(info.cxMinChild), full_.cx);
  EXPECT_GE(static_cast<int>(info.cxMinChild), first.right + kTkChevronAllowance);
  EXPECT_TRUE(bar_.IsInReBarBand());
  ASSERT_NE(bar_.GetChevron(), nullptr);
  EXPECT_EQ(::GetDlgCtrlID(bar_.GetChevron()->m_hWnd), static_cast<int>(kTkChevronId));
}

// Narrow frames hide buttons from the end, never the first; the chevron then stands at the bar's
// end, enabled. Wide again, all come back and the chevron goes.
TEST_F(ToolBarBandTest, ButtonsGoBehindTheChevronWhenNarrowAndComeBackWhenWide) {
  struct Case {
    int width;
    bool someHidden;
  };
  for (Case c : {Case{600, false}, Case{120, true}, Case{60, true}, Case{600, false}}) {
    SCOPED_TRACE(c.width);
    Resize(c.width);
    std::vector<UINT> hidden = HiddenCommands();
    EXPECT_EQ(!hidden.empty(), c.someHidden);
    CTkExpButton* chevron = bar_.GetChevron();
    ASSERT_NE(chevron, nullptr);
    EXPECT_EQ(chevron->IsWindowVisible() != FALSE, c.someHidden);
    EXPECT_FALSE(bar_.SendMessage(TB_ISBUTTONHIDDEN, ID_RB_NEW)) << "the first button stays";
    if (!c.someHidden) continue;
    EXPECT_EQ(hidden.back(), static_cast<UINT>(ID_RB_PRINT)) << "hidden from the end";
    EXPECT_TRUE(chevron->IsWindowEnabled());
    CRect client, place;
    bar_.GetClientRect(&client);
    chevron->GetWindowRect(&place);
    bar_.ScreenToClient(&place);
    EXPECT_EQ(place.Width(), kTkChevronWidth);
    EXPECT_LE(place.right, client.right);
    EXPECT_GE(place.right, client.right - 2);
    // No visible button lies under the chevron.
    for (int i = 0; i < bar_.GetCount(); ++i) {
      if (bar_.SendMessage(TB_ISBUTTONHIDDEN, bar_.GetItemID(i))) continue;
      CRect item;
      bar_.GetItemRect(i, &item);
      EXPECT_LE(item.right, place.left) << "button " << i;
    }
  }
}

// The chevron's menu lists the hidden buttons by their tips (their prompt when there is no tip),
// keeps the group's separator, and the chosen command reaches the frame once the press is over.
TEST_F(ToolBarBandTest, TheChevronListsTheHiddenButtonsAndItsChoiceReachesTheFrame) {
  // Wide enough for New, Open and Save only.
  CRect save;
  bar_.GetItemRect(2, &save);
  CRect header;
  rebar_.SendMessage(RB_GETBANDBORDERS, 0, reinterpret_cast<LPARAM>(&header));
  int width = save.right + header.left + 2 * kTkChevronAllowance + 20;
  Resize(width + 2 * ::GetSystemMetrics(SM_CXFRAME));
  std::vector<UINT> hidden = HiddenCommands();
  ASSERT_FALSE(hidden.empty());
  std::vector<Item> want;
  bool group = false;
  for (UINT id : {UINT(ID_RB_NEW), UINT(ID_RB_OPEN), UINT(ID_RB_SAVE), 0u, UINT(ID_RB_CUT),
                  UINT(ID_RB_COPY), UINT(ID_RB_PASTE), 0u,
                  UINT(ID_RB_PRINT)}) {
    if (id == 0) {
      group = !want.empty();
      continue;
    }
    if (std::find(hidden.begin(), hidden.end(), id) == hidden.end()) continue;
    if (group) want.push_back({"-", 0, false});
    group = false;
    const char* texts[] = {"New", "Open", "Save", "Cut", "Copy", "Paste", "Prints"};
    want.push_back({texts[id - ID_RB_NEW], id, false});
  }
  ASSERT_GE(want.size(), 2u);
  // Copy is disabled: its item is too.
  bar_.SendMessage(TB_ENABLEBUTTON, ID_RB_COPY, FALSE);
  for (Item& item : want)
    if (item.id == ID_RB_COPY) item.grayed = true;

  g_choice = ID_RB_PRINT;
  frame_.commands.clear();
  CTkExpButton* chevron = bar_.GetChevron();
  ASSERT_NE(chevron, nullptr);
  chevron->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(g_menu, want);
  CRect place;
  chevron->GetWindowRect(&place);
  EXPECT_EQ(g_at.left, place.left) << "the menu opens at the chevron";
  EXPECT_TRUE(frame_.commands.empty()) << "not while the chevron is pressed";
  Pump();
  EXPECT_EQ(frame_.commands, (std::vector<UINT>{ID_RB_PRINT}));
  EXPECT_FALSE(chevron->GetState() & BST_PUSHED) << "the chevron comes back up";

  // Nothing chosen: nothing sent.
  g_choice = 0;
  frame_.commands.clear();
  chevron->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  Pump();
  EXPECT_TRUE(frame_.commands.empty());
}

}  // namespace
