// The menu bar on real windows under the X display: its buttons follow the menu it is given, the
// keyboard mode (Alt, F10, arrows with wrap, mnemonics, Escape), the chaining of popups while one
// is open, and the window list of an MDI frame. The modal popup itself is replaced by a seam that
// plays the user's part, so that every step can be checked.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/app/AfxResource.h"
#include "framework/bars/BarStyles.h"
#include "framework/bars/ReBar.h"
#include "framework/docking/DockBar.h"
#include "framework/frame/FrameWnd.h"
#include "toolkit/bars/TkExpMenuWnd.h"
#include "toolkit/bars/TkToolBarLayout.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/frame/TkFrameWnd.h"
#include "toolkit/menubar/TkMenuBar.h"
#include "toolkit/menus/TkMenuShared.h"
#include "toolkit/tests/menubar/MenuBarTestIds.h"

namespace {

// Writes down the commands it gets.
class RecordingFrame : public CFrameWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
  // A member of the test, not a heap object.
  void PostNcDestroy() override {}
  std::vector<UINT> commands;
};

// Opens no real popup: notes which popup would open where, then lets the test act as the user
// while it is "open".
class TestMenuBar : public CTkMenuBar {
 public:
  UINT TrackButtonPopup(HMENU hPopup, UINT, CPoint point, TPMPARAMS* pParams) override {
    opened.push_back(hPopup);
    openedAt.push_back(point);
    if (pParams) excluded = pParams->rcExclude;
    stateWhileOpen = GetTrackingStateValue();
    trackingBarWhileOpen = TkMenuState().pTrackingBar;
    hookWhileOpen = TkMenuState().hMsgFilterHook;
    dockSideWhileOpen = TkMenuState().dwTrackedDockSide;
    expandedWhileOpen.push_back(TkMenuState().bExpanded);
    if (!whileOpen.empty()) {
      auto act = whileOpen.front();
      whileOpen.erase(whileOpen.begin());
      act(*this);
    }
    return 0;
  }
  void Beep() override { ++beeps; }
  // A key pressed in the open popup, as the input filter passes it.
  BOOL PopupKey(UINT key) {
    MSG msg = {};
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    return OnMenuInput(msg, FALSE);
  }
  std::vector<HMENU> opened;
  std::vector<CPoint> openedAt;
  RECT excluded = {};
  int stateWhileOpen = -1;
  CTkMenuBar* trackingBarWhileOpen = nullptr;
  HHOOK hookWhileOpen = nullptr;
  DWORD dockSideWhileOpen = 0;
  std::vector<BOOL> expandedWhileOpen;
  std::vector<std::function<void(TestMenuBar&)>> whileOpen;
  int beeps = 0;
};

MSG KeyMsg(UINT message, UINT key, bool alt) {
  MSG msg = {};
  msg.message = message;
  msg.wParam = key;
  msg.lParam = 1 | (alt ? (1 << 29) : 0);
  return msg;
}

class MenuBarWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TkMenuState() = TkMenuShared{};
    ASSERT_TRUE(frame_.Create(nullptr, "Menu bar test", WS_OVERLAPPEDWINDOW,
                              CRect(10, 10, 610, 310)));
    ASSERT_TRUE(bar_.Create(&frame_));
    ASSERT_TRUE(bar_.LoadMenuBar(IDR_MB_MAIN));
    frame_.ShowWindow(SW_SHOW);
    frame_.RecalcLayout();
    frame_.UpdateWindow();
  }
  void TearDown() override {
    if (frame_.m_hWnd) frame_.DestroyWindow();
    // Whatever the test left posted (the popups' cancels) goes before the next one.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  }
  BOOL Translate(UINT message, UINT key, bool alt = false) {
    MSG msg = KeyMsg(message, key, alt);
    msg.hwnd = frame_.m_hWnd;
    return bar_.TranslateFrameMessage(&msg);
  }
  // Alt pressed and released alone: the keyboard mode.
  void PressAlt() {
    Translate(WM_SYSKEYDOWN, VK_MENU, true);
    Translate(WM_SYSKEYUP, VK_MENU, false);
  }
  HMENU PopupOf(int position) { return ::GetSubMenu(bar_.GetMenu(), position); }
  std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (int i = 0; i < bar_.GetCount(); ++i) out.push_back(std::string(bar_.GetButtonText(i)));
    return out;
  }

  RecordingFrame frame_;
  TestMenuBar bar_;
};

// One button per top-level item that has a text, in order, mnemonics kept; the command of each
// button is its item's position; the frame keeps no menu of its own.
TEST_F(MenuBarWindowTest, TheButtonsFollowTheMenu) {
  EXPECT_EQ(Texts(), (std::vector<std::string>{"&File", "&Edit", "&Go", "&Window"}));
  const UINT positions[] = {0, 1, 3, 4};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(bar_.GetItemID(i), positions[i]) << i;
  EXPECT_EQ(::GetMenu(frame_.m_hWnd), nullptr);

  HMENU other = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MB_OTHER));
  ASSERT_NE(other, nullptr);
  HMENU before = bar_.SetMenu(other, nullptr);
  EXPECT_EQ(before, bar_.GetDefaultMenu());
  EXPECT_EQ(Texts(), (std::vector<std::string>{"&Help", "&&Tools"}));
  // No menus at all: the loaded one again.
  EXPECT_EQ(bar_.SetMenu(nullptr, nullptr), other);
  EXPECT_EQ(bar_.GetMenu(), bar_.GetDefaultMenu());
  EXPECT_EQ(Texts().size(), 4u);
  ::DestroyMenu(other);
}

// A missing menu fails; loading again after a menu was shown reports the menu it replaced.
TEST_F(MenuBarWindowTest, LoadMenuBarFailures) {
  EXPECT_FALSE(bar_.LoadMenuBar(IDR_MB_MAIN)) << "a menu was shown before";
  EXPECT_EQ(Texts().size(), 4u);
  CTkMenuBar fresh;
  EXPECT_FALSE(fresh.LoadMenuBar(9999));
  // Before its window exists the bar keeps the menu; its buttons come with the window.
  EXPECT_TRUE(fresh.LoadMenuBar(IDR_MB_OTHER));
  ASSERT_TRUE(fresh.Create(&frame_));
  EXPECT_EQ(fresh.GetCount(), 2);
  fresh.DestroyWindow();
}

// Alt released alone, or F10, enters the keyboard mode on the first button; again leaves it.
// Function keys other than F10 are never the bar's.
TEST_F(MenuBarWindowTest, AltAndF10EnterTheKeyboardMode) {
  PressAlt();
  EXPECT_EQ(bar_.GetTrackingStateValue(), CTkMenuBar::kTrackHot);
  EXPECT_EQ(bar_.GetHotIndex(), 0);
  EXPECT_EQ(bar_.SendMessage(TB_GETHOTITEM), 0);
  EXPECT_TRUE(CTkMenuBar::IsShowingMnemonics());
  PressAlt();
  EXPECT_EQ(bar_.GetTrackingStateValue(), CTkMenuBar::kTrackNone);

  EXPECT_TRUE(Translate(WM_SYSKEYDOWN, VK_F10));
  EXPECT_TRUE(Translate(WM_SYSKEYUP, VK_F10));
  EXPECT_EQ(bar_.GetTrackingStateValue(), CTkMenuBar::kTrackHot);
  EXPECT_TRUE(Translate(WM_KEYDOWN, VK_ESCAPE));
  EXPECT_EQ(bar_.GetTrackingStateValue(), CTkMenuBar::kTrackNone);
  EXPECT_FALSE(CTkMenuBar::IsShowingMnemonics());

  for (UINT key : {VK_F1, VK_F4, VK_F9, VK_F11}) {
    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYUP}) {
      EXPECT_FALSE(Translate(message, key, message != WM_KEYDOWN)) << key;
      EXPECT_EQ(bar_.GetTrackingStateValue(), CTkMenuBar::kTrackNone) << key;
    }
  }
  // Shift+F10 is the context-menu key, not the menu bar's.
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  ::SetKeyboardState(keys);
  EXPECT_FALSE(Translate(WM_SYSKEYUP, VK_F10));
  keys[VK_SHIFT] = 0;
  ::SetKeyboardState(keys);
  EXPECT_EQ(bar_.GetTrackingStateValue(), CTkMenuBar::kTrackNone);
}

// Alt's release is the menu's only when nothing came between Alt going down and up.
TEST_F(MenuBarWindowTest, AltReleasedAfterAnotherKeyIsNotTheMenu) {
  struct Case {
    const char* what;
    std::vector<MSG> between;
    int state;
  } cases[] = {
      {"Alt alone", {}, CTkMenuBar::kTrackHot},
      {"Alt+Q, a letter of no button", {KeyMsg(WM_SYSKEYDOWN, 'Q', true)}, CTkMenuBar::kTrackNone},
      {"Alt+F4", {KeyMsg(WM_SYSKEYDOWN, VK_F4, true)}, CTkMenuBar::kTrackNone},
      {"Alt held down (repeats)", {KeyMsg(WM_SYSKEYDOWN, VK_MENU, true)}, CTkMenuBar::kTrackHot},
  };
  cases[3].between[0].lParam |= 1 << 30;  // the key was down before: a repeat
  for (const Case& c : cases) {
    Translate(WM_SYSKEYDOWN, VK_MENU, true);
    for (MSG msg : c.between) {
      msg.hwnd = frame_.m_hWnd;
      bar_.TranslateFrameMessage(&msg);
    }
    EXPECT_TRUE(Translate(WM_SYSKEYUP, VK_MENU, false)) << c.what;
    EXPECT_EQ(bar_.GetTrackingStateValue(), c.state) << c.what;
    bar_.SetTrackingState(CTkMenuBar::kTrackNone, -1);
  }
}

// The arrows move the hot button and wrap at both ends.
TEST_F(MenuBarWindowTest, ArrowsMoveBetweenButtonsWithWrap) {
  struct Case {
    std::vector<UINT> keys;
    int expected;
  } cases[] = {
      {{VK_RIGHT}, 1},
      {{VK_RIGHT, VK_RIGHT, VK_RIGHT}, 3},
      {{VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT}, 0},  // past the last: the first
      {{VK_LEFT}, 3},                                 // before the first: the last
      {{VK_LEFT, VK_LEFT, VK_RIGHT}, 3},
  };
  for (const Case& c : cases) {
    PressAlt();
    for (UINT key : c.keys) EXPECT_TRUE(Translate(WM_KEYDOWN, key));
    EXPECT_EQ(bar_.GetHotIndex(), c.expected) << c.keys.size() << " keys";
    EXPECT_EQ(bar_.SendMessage(TB_GETHOTITEM), c.expected);
    Translate(WM_KEYDOWN, VK_ESCAPE);
  }
}

// Down (or Enter, Space, Up) in the keyboard mode opens the hot button's popup below it; while
// it is open the bar tracks it with the input filter installed; afterwards all is back.
TEST_F(MenuBarWindowTest, TheHotButtonOpensItsPopup) {
  for (UINT key : {VK_DOWN, VK_RETURN, VK_SPACE, VK_UP}) {
    bar_.opened.clear();
    PressAlt();
    Translate(WM_KEYDOWN, VK_RIGHT);
    EXPECT_TRUE(Translate(WM_KEYDOWN, key));
    ASSERT_EQ(bar_.opened, std::vector<HMENU>{PopupOf(1)}) << key;
    EXPECT_EQ(bar_.stateWhileOpen, CTkMenuBar::kTrackPopup);
    EXPECT_EQ(bar_.trackingBarWhileOpen, &bar_);
    EXPECT_NE(bar_.hookWhileOpen, nullptr);
    EXPECT_EQ(bar_.dockSideWhileOpen, static_cast<DWORD>(CBRS_ALIGN_TOP));
    // Below the button, which the popup must not cover.
    CRect button;
    bar_.GetItemRect(1, &button);
    bar_.ClientToScreen(&button);
    EXPECT_EQ(bar_.openedAt[0], CPoint(button.left, button.bottom));
    EXPECT_TRUE(::EqualRect(&bar_.excluded, &button));
    EXPECT_EQ(bar_.GetTrackingStateValue(), CTkMenuBar::kTrackNone);
    EXPECT_EQ(TkMenuState().hMsgFilterHook, nullptr);
    EXPECT_EQ(TkMenuState().pTrackingBar, nullptr);
    EXPECT_TRUE(TkMenuState().bMenuBarTracking);
    EXPECT_EQ(TkMenuState().dwTrackedDockSide, 0u);
  }
}

// Alt with a letter opens the button it names, or runs a top-level command at once; a letter
// that names nothing beeps only in the keyboard mode without Alt.
TEST_F(MenuBarWindowTest, MnemonicsOpenTheirPopupOrRunTheirCommand) {
  EXPECT_TRUE(Translate(WM_SYSKEYDOWN, 'E', true));
  EXPECT_EQ(bar_.opened, std::vector<HMENU>{PopupOf(1)});

  EXPECT_TRUE(Translate(WM_SYSKEYDOWN, 'W', true));
  EXPECT_EQ(bar_.opened.back(), PopupOf(4));

  bar_.opened.clear();
  EXPECT_TRUE(Translate(WM_SYSKEYDOWN, 'G', true));
  EXPECT_TRUE(bar_.opened.empty()) << "a command has no popup";
  EXPECT_EQ(frame_.commands, std::vector<UINT>{ID_MB_GO});

  EXPECT_FALSE(Translate(WM_SYSKEYDOWN, 'Q', true));
  EXPECT_EQ(bar_.beeps, 0);
  PressAlt();
  EXPECT_TRUE(Translate(WM_KEYDOWN, 'Q'));
  EXPECT_EQ(bar_.beeps, 1);
  // In the keyboard mode a letter alone is enough.
  EXPECT_TRUE(Translate(WM_KEYDOWN, 'F'));
  EXPECT_EQ(bar_.opened, std::vector<HMENU>{PopupOf(0)});
  // Without Alt and outside the keyboard mode a letter is the program's.
  EXPECT_FALSE(Translate(WM_KEYDOWN, 'F'));
}

// With a popup open, Right and Left close it and open the neighbour's, wrapping at the ends;
// Escape closes it and leaves its button hot, and Escape again leaves the keyboard mode.
TEST_F(MenuBarWindowTest, ArrowsChainPopupsAndEscapeBacksOut) {
  struct Case {
    int start;
    UINT key;
    int next;
  } cases[] = {
      {0, VK_RIGHT, 1},
      {3, VK_RIGHT, 0},
      {0, VK_LEFT, 3},
      {1, VK_LEFT, 0},
  };
  for (const Case& c : cases) {
    bar_.opened.clear();
    bar_.whileOpen = {[&](TestMenuBar& b) { EXPECT_TRUE(b.PopupKey(c.key)); }};
    bar_.TrackPopup(c.start);
    int expectedPosition = static_cast<int>(bar_.GetItemID(c.next));
    HMENU nextPopup = PopupOf(expectedPosition);
    std::vector<HMENU> expected;
    if (PopupOf(static_cast<int>(bar_.GetItemID(c.start)))) expected.push_back(PopupOf(static_cast<int>(bar_.GetItemID(c.start))));
    if (nextPopup) expected.push_back(nextPopup);
    EXPECT_EQ(bar_.opened, expected) << c.start << " key " << c.key;
  }

  bar_.opened.clear();
  bar_.whileOpen = {[](TestMenuBar& b) { EXPECT_FALSE(b.PopupKey(VK_ESCAPE)); }};
  bar_.TrackPopup(1);
  EXPECT_EQ(bar_.opened.size(), 1u);
  EXPECT_EQ(bar_.GetTrackingStateValue(), CTkMenuBar::kTrackHot);
  EXPECT_EQ(bar_.GetHotIndex(), 1);
  EXPECT_TRUE(Translate(WM_KEYDOWN, VK_ESCAPE));
  EXPECT_EQ(bar_.GetTrackingStateValue(), CTkMenuBar::kTrackNone);
}

// Once the chevron item showed a popup's hidden items, the neighbour moved on to in the same
// tracking opens with all its items too; the next tracking starts folded again.
TEST_F(MenuBarWindowTest, ExpandedPopupsStayExpandedWhileMovingOn) {
  bar_.whileOpen = {[&](TestMenuBar& b) {
    // What the tracked popup does when the chevron item is chosen.
    frame_.SendMessage(WM_COMMAND, kTkExpandMenuCommand);
    EXPECT_TRUE(b.PopupKey(VK_RIGHT));
  }};
  bar_.TrackPopup(0);
  EXPECT_EQ(bar_.expandedWhileOpen, (std::vector<BOOL>{FALSE, TRUE}));
  EXPECT_FALSE(TkExpandCommandFlag());
  bar_.expandedWhileOpen.clear();
  bar_.TrackPopup(1);
  EXPECT_EQ(bar_.expandedWhileOpen, std::vector<BOOL>{FALSE});
}

// On an item with a submenu Right is left to the popup (it opens the submenu); on a plain item
// it moves on. Left always moves.
TEST_F(MenuBarWindowTest, RightOnASubmenuItemOpensTheSubmenu) {
  HMENU edit = PopupOf(1);
  bar_.whileOpen = {[&](TestMenuBar& b) {
    b.NoteMenuSelect(edit, 1);  // "&More", a submenu
    EXPECT_FALSE(b.PopupKey(VK_RIGHT));
    EXPECT_TRUE(b.PopupKey(VK_LEFT)) << "Left still moves";
  }};
  bar_.TrackPopup(1);
  EXPECT_EQ(bar_.opened, (std::vector<HMENU>{edit, PopupOf(0)}));

  // The neighbour on the right is a command: moving on to it runs it.
  bar_.opened.clear();
  bar_.whileOpen = {[&](TestMenuBar& b) {
    b.NoteMenuSelect(edit, ID_MB_CUT);
    EXPECT_TRUE(b.PopupKey(VK_RIGHT));
  }};
  bar_.TrackPopup(1);
  EXPECT_EQ(bar_.opened, std::vector<HMENU>{edit});
  EXPECT_EQ(frame_.commands, std::vector<UINT>{ID_MB_GO});
}

// The mouse in an open popup: over another button it opens that one; a press on the open
// button closes it without opening another.
TEST_F(MenuBarWindowTest, TheMouseChainsPopups) {
  auto at = [this](int index) {
    CRect r;
    bar_.GetItemRect(index, &r);
    CPoint p = r.CenterPoint();
    bar_.ClientToScreen(&p);
    return p;
  };
  auto mouse = [](UINT message, CPoint p) {
    MSG msg = {};
    msg.message = message;
    msg.lParam = MAKELPARAM(p.x, p.y);
    return msg;
  };
  bar_.whileOpen = {[&](TestMenuBar& b) {
    MSG move = mouse(WM_MOUSEMOVE, at(0));
    EXPECT_FALSE(b.OnMenuInput(move, FALSE));
    MSG over = mouse(WM_MOUSEMOVE, at(3));
    EXPECT_FALSE(b.OnMenuInput(over, FALSE));
  },
                    [&](TestMenuBar& b) {
                      MSG press = mouse(WM_LBUTTONDOWN, at(3));
                      EXPECT_TRUE(b.OnMenuInput(press, FALSE));
                    }};
  bar_.TrackPopup(0);
  EXPECT_EQ(bar_.opened, (std::vector<HMENU>{PopupOf(0), PopupOf(4)}));
  EXPECT_EQ(bar_.GetTrackingStateValue(), CTkMenuBar::kTrackNone);
}

// The expand timer runs on the frame while the mouse rests on the open popup's button, only
// when the bar has hideable commands and not on the oldest systems; it stops when the mouse
// leaves the button and when the popup closes.
TEST_F(MenuBarWindowTest, TheExpandTimerFollowsTheMouseOnTheOpenButton) {
  auto move = [this](CTkMenuBar& b, int index) {
    CRect r;
    bar_.GetItemRect(index, &r);
    CPoint p = index >= 0 ? r.CenterPoint() : CPoint(-50, -50);
    b.ClientToScreen(&p);
    MSG msg = {};
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(p.x, p.y);
    b.OnMenuInput(msg, FALSE);
    return b.IsExpandTimerRunning() != FALSE;
  };
  struct Case {
    const char* what;
    bool hideable;
    BYTE win95;
    bool onButton;
    bool offBar;
  } cases[] = {
      {"hideable commands", true, 0, true, false},
      {"no hideable commands", false, 0, false, false},
      {"Windows 95", true, 1, false, false},
  };
  for (const Case& c : cases) {
    TestMenuBar bar;
    ASSERT_TRUE(bar.Create(&frame_));
    ASSERT_TRUE(bar.LoadMenuBar(IDR_MB_MAIN));
    frame_.RecalcLayout();
    if (c.hideable) bar.AddHideableCommand(ID_MB_CLOSE);
    ToolkitData().m_bWin95 = c.win95;
    bool onButton = false, offBar = true;
    bar.whileOpen = {[&](TestMenuBar& b) {
      onButton = move(b, 0);
      offBar = move(b, -1);
    }};
    bar.TrackPopup(0);
    EXPECT_EQ(onButton, c.onButton) << c.what;
    EXPECT_EQ(offBar, c.offBar) << c.what;
    EXPECT_FALSE(bar.IsExpandTimerRunning()) << c.what << ": stopped with the popup";
    ToolkitData().m_bWin95 = 0;
    bar.DestroyWindow();
  }
}

// A click on a button opens its popup; a click elsewhere in the frame leaves the keyboard mode.
TEST_F(MenuBarWindowTest, ClicksOpenPopupsAndEndTheKeyboardMode) {
  CRect r;
  bar_.GetItemRect(3, &r);
  bar_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.CenterPoint().x, r.CenterPoint().y));
  EXPECT_EQ(bar_.opened, std::vector<HMENU>{PopupOf(4)});

  PressAlt();
  MSG click = {};
  click.hwnd = frame_.m_hWnd;
  click.message = WM_LBUTTONDOWN;
  EXPECT_FALSE(bar_.TranslateFrameMessage(&click));
  EXPECT_EQ(bar_.GetTrackingStateValue(), CTkMenuBar::kTrackNone);
}

// The bar's hit test names a button only inside the bar.
TEST_F(MenuBarWindowTest, HitTestStaysInsideTheBar) {
  CRect r;
  bar_.GetItemRect(0, &r);
  EXPECT_EQ(bar_.HitTestButton(r.CenterPoint()), 0);
  bar_.GetItemRect(3, &r);
  EXPECT_EQ(bar_.HitTestButton(r.CenterPoint()), 3);
  EXPECT_LT(bar_.HitTestButton(CPoint(r.CenterPoint().x, -5)), 0);
  EXPECT_LT(bar_.HitTestButton(CPoint(-5, r.CenterPoint().y)), 0);
}

}  // namespace

namespace {

// A real popup: the keys the user presses in it pass the input filter, so Right moves on to the
// neighbour's popup; Escape there closes it and leaves that button hot.
class RealPopupTest : public MenuBarWindowTest {
 protected:
  static RealPopupTest* s_test;
  static void CALLBACK Tick(HWND hWnd, UINT, UINT_PTR, DWORD) {
    RealPopupTest& t = *s_test;
    int open = -1;
    t.real_.GetTrackingState(open);
    t.seenOpen_.push_back(open);
    ::PostMessageA(hWnd, WM_KEYDOWN, t.seenOpen_.size() == 1 ? VK_RIGHT : VK_ESCAPE, 0);
    if (t.seenOpen_.size() >= 2) ::KillTimer(hWnd, 5);
  }
  CTkMenuBar real_;
  std::vector<int> seenOpen_;
};
RealPopupTest* RealPopupTest::s_test = nullptr;

TEST_F(RealPopupTest, RightMovesToTheNextPopupAndEscapeLeavesItHot) {
  s_test = this;
  bar_.ShowWindow(SW_HIDE);
  ASSERT_TRUE(real_.Create(&frame_));
  ASSERT_TRUE(real_.LoadMenuBar(IDR_MB_MAIN));
  frame_.RecalcLayout();
  frame_.UpdateWindow();
  ::SetTimer(frame_.m_hWnd, 5, 150, Tick);
  real_.TrackPopup(0);
  ::KillTimer(frame_.m_hWnd, 5);
  EXPECT_EQ(seenOpen_, (std::vector<int>{0, 1}));
  EXPECT_EQ(real_.GetTrackingStateValue(), CTkMenuBar::kTrackHot);
  EXPECT_EQ(real_.GetHotIndex(), 1);
  EXPECT_TRUE(frame_.commands.empty());
}

}  // namespace

namespace {

class TestTkFrame : public CTkFrameWnd {
 public:
  void PostNcDestroy() override {}
};

// The toolkit's frame gives its own menu bar the first look at each message, once the bar has a
// window: Alt released alone enters the keyboard mode, other keys pass. Its menu is the bar's.
TEST(TkFrameMenuBar, TheFramePassesItsMessagesToTheBarFirst) {
  TkMenuState() = TkMenuShared{};
  TestTkFrame frame;
  ASSERT_TRUE(frame.Create(nullptr, "Toolkit frame", WS_OVERLAPPEDWINDOW, CRect(10, 10, 410, 210)));
  MSG altDown = KeyMsg(WM_SYSKEYDOWN, VK_MENU, true);
  altDown.hwnd = frame.m_hWnd;
  MSG altUp = KeyMsg(WM_SYSKEYUP, VK_MENU, false);
  altUp.hwnd = frame.m_hWnd;
  EXPECT_FALSE(frame.PreTranslateMessage(&altDown)) << "no bar window yet";
  EXPECT_FALSE(frame.PreTranslateMessage(&altUp));
  CTkMenuBar* bar = frame.GetMenuBar();
  ASSERT_TRUE(bar->Create(&frame));
  ASSERT_TRUE(bar->LoadMenuBar(IDR_MB_MAIN));
  frame.ShowWindow(SW_SHOW);
  // The frame's menu is the bar's now.
  ASSERT_NE(frame.GetMenu(), nullptr);
  EXPECT_EQ(frame.GetMenu()->m_hMenu, bar->GetMenu());
  EXPECT_TRUE(frame.PreTranslateMessage(&altDown));
  EXPECT_TRUE(frame.PreTranslateMessage(&altUp));
  EXPECT_EQ(bar->GetTrackingStateValue(), CTkMenuBar::kTrackHot);
  MSG letter = KeyMsg(WM_KEYDOWN, 'A', false);
  letter.hwnd = frame.m_hWnd;
  bar->SetTrackingState(CTkMenuBar::kTrackNone, -1);
  EXPECT_FALSE(frame.PreTranslateMessage(&letter));
  frame.DestroyWindow();
}

}  // namespace

namespace {

// Docked in a plain frame: along the top the bar is one row as high as a menu bar and spans its
// whole dock bar; at the left its buttons stand in a column; floating it is the toolbar's row.
TEST_F(MenuBarWindowTest, DockedItSpansItsDockBarFloatingItIsAToolbar) {
  bar_.EnableDocking(CBRS_ALIGN_ANY);
  frame_.EnableDocking(CBRS_ALIGN_ANY);
  frame_.DockControlBar(&bar_, AFX_IDW_DOCKBAR_TOP);
  frame_.RecalcLayout();
  CRect client, rect;
  frame_.GetClientRect(&client);
  bar_.GetWindowRect(&rect);
  EXPECT_GE(rect.Width(), client.Width() - 8) << "spans the top";
  EXPECT_EQ(rect.Height(),
            5 * ::GetSystemMetrics(SM_CYEDGE) + ::GetSystemMetrics(SM_CYSMCAPTION));
  CRect first, last;
  bar_.GetItemRect(0, &first);
  bar_.GetItemRect(3, &last);
  EXPECT_EQ(first.top, last.top) << "one row";

  frame_.DockControlBar(&bar_, AFX_IDW_DOCKBAR_LEFT);
  frame_.RecalcLayout();
  bar_.GetItemRect(0, &first);
  bar_.GetItemRect(3, &last);
  EXPECT_GT(last.top, first.top) << "a column";
  bar_.GetWindowRect(&rect);
  EXPECT_GT(rect.Height(), rect.Width());

  frame_.FloatControlBar(&bar_, CPoint(100, 300));
  frame_.RecalcLayout();
  bar_.GetItemRect(0, &first);
  bar_.GetItemRect(3, &last);
  EXPECT_EQ(first.top, last.top) << "floating: one row again";
  bar_.GetWindowRect(&rect);
  EXPECT_LT(rect.Width(), client.Width() - 8) << "no longer stretched";
}

}  // namespace

namespace {

// In a band of the framework's rebar the bar still serves its frame: the frame's menu goes, the
// keyboard mode works, a top-level command reaches the frame, and the buttons keep their texts.
TEST_F(MenuBarWindowTest, InARebarBandTheBarServesItsFrame) {
  bar_.ShowWindow(SW_HIDE);
  CReBar rebar;
  ASSERT_TRUE(rebar.Create(&frame_));
  struct Case {
    const char* what;
    bool createdInRebar;
  } cases[] = {{"made on the frame, then put in a band", false},
               {"made in the rebar", true}};
  for (const Case& c : cases) {
    frame_.commands.clear();
    ::SetMenu(frame_.m_hWnd, ::CreateMenu());
    TestMenuBar bar;
    ASSERT_TRUE(bar.Create(c.createdInRebar ? static_cast<CWnd*>(&rebar) : &frame_)) << c.what;
    ASSERT_TRUE(bar.LoadMenuBar(IDR_MB_MAIN)) << c.what;
    ASSERT_TRUE(rebar.AddBar(&bar)) << c.what;
    frame_.RecalcLayout();
    EXPECT_EQ(::GetParent(bar.m_hWnd), rebar.m_hWnd) << c.what;
    EXPECT_EQ(::GetMenu(frame_.m_hWnd), nullptr) << c.what;
    EXPECT_EQ(bar.GetOwnerFrame(), frame_.m_hWnd) << c.what;
    EXPECT_EQ(bar.GetButtonText(0), CString("&File")) << c.what;
    MSG down = KeyMsg(WM_SYSKEYDOWN, VK_MENU, true), up = KeyMsg(WM_SYSKEYUP, VK_MENU, false);
    down.hwnd = up.hwnd = frame_.m_hWnd;
    bar.TranslateFrameMessage(&down);
    bar.TranslateFrameMessage(&up);
    EXPECT_EQ(bar.GetTrackingStateValue(), CTkMenuBar::kTrackHot) << c.what;
    bar.SetTrackingState(CTkMenuBar::kTrackNone, -1);
    MSG go = KeyMsg(WM_SYSKEYDOWN, 'G', true);
    go.hwnd = frame_.m_hWnd;
    EXPECT_TRUE(bar.TranslateFrameMessage(&go)) << c.what;
    EXPECT_EQ(frame_.commands, std::vector<UINT>{ID_MB_GO}) << c.what;
    bar.DestroyWindow();
  }
}

}  // namespace

namespace {

// Too short for its buttons, the bar offers the rest in the chevron's popup. There they stay
// enabled (they are menus, not commands the frame has handlers for), a chosen one opens its
// menu below its copy once the popup is gone, and Escape closes the popup.
TEST_F(MenuBarWindowTest, TheChevronsPopupOpensTheMenusOfTheHiddenButtons) {
  REBARBANDINFOA band = {};
  ASSERT_TRUE(bar_.GetBandSize(&band, TRUE));
  CRect first;
  bar_.GetItemRect(0, &first);
  bar_.OnBandChildSize(TRUE, CRect(0, 0, first.right + kTkChevronAllowance + 4, first.bottom));
  ASSERT_FALSE(bar_.GetHiddenButtons().empty());
  CTkExpButton* chevron = bar_.GetChevron();
  ASSERT_NE(chevron, nullptr);
  auto openPopup = [&]() -> CTkExpMenuWnd* {
    chevron->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    for (HWND w = ::GetWindow(::GetDesktopWindow(), GW_CHILD); w;
         w = ::GetWindow(w, GW_HWNDNEXT)) {
      if (CTkExpMenuWnd* popup = CTkExpMenuWnd::FromOpenWindow(w)) return popup;
    }
    return nullptr;
  };

  CTkExpMenuWnd* popup = openPopup();
  ASSERT_NE(popup, nullptr);
  HWND popupWnd = popup->m_hWnd;
  CTkHiddenButtonsToolbar& hidden = popup->GetHiddenToolBar();
  ASSERT_GT(hidden.GetCount(), 0);
  UINT last = hidden.GetItemID(hidden.GetCount() - 1);
  for (int i = 0; i < hidden.GetCount(); ++i)
    EXPECT_TRUE(hidden.SendMessage(TB_ISBUTTONENABLED, hidden.GetItemID(i))) << i;
  RECT copy = {};
  hidden.SendMessage(TB_GETRECT, last, reinterpret_cast<LPARAM>(&copy));
  hidden.ClientToScreen(&copy);
  ::SendMessageA(hidden.GetOwner()->m_hWnd, WM_COMMAND, MAKEWPARAM(last, BN_CLICKED),
                 reinterpret_cast<LPARAM>(hidden.m_hWnd));
  EXPECT_FALSE(::IsWindow(popupWnd)) << "the popup goes first";
  EXPECT_TRUE(bar_.opened.empty()) << "the menu opens after, outside the click";
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  ASSERT_EQ(bar_.opened.size(), 1u);
  EXPECT_EQ(bar_.opened[0], PopupOf(static_cast<int>(last)));
  EXPECT_EQ(bar_.openedAt[0], CPoint(copy.left, copy.bottom));
  EXPECT_TRUE(frame_.commands.empty()) << "no command of the frame";

  popup = openPopup();
  ASSERT_NE(popup, nullptr);
  popupWnd = popup->m_hWnd;
  ::SendMessageA(popupWnd, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(::IsWindow(popupWnd)) << "Escape closes it";
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  EXPECT_FALSE(chevron->IsPopupOpen());
}

}  // namespace
