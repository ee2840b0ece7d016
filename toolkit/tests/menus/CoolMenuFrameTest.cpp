// The owner-drawn menus on a real frame under the X display: popups converted as they open and
// back when the menu closes, measure and draw messages answered by the hook, rarely used items
// hidden and brought back by the chevron command, the expand timer, the menu-window hook with
// the system settings it changes and puts back, and the records freed once when the frame closes
// with a menu open.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/bars/BarStyles.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/Wnd.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/gdi/TkMemDC.h"
#include "toolkit/menus/TkCoolMenu.h"
#include "toolkit/menus/TkMenuPopupHook.h"
#include "toolkit/menus/TkMenuShared.h"
#include "toolkit/services/OSVersion.h"
#include "toolkit/tests/menus/MenuTestSupport.h"

using menutest::Item;
using menutest::ReadItem;

namespace {

// Writes down the commands and the item messages that get past the hook.
class RecordingFrame : public CFrameWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
    if (message == WM_MEASUREITEM || message == WM_DRAWITEM) ++itemMessages;
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
  std::vector<UINT> commands;
  int itemMessages = 0;
};

BOOL GetSpi(UINT action) {
  BOOL value = FALSE;
  ::SystemParametersInfoA(action, 0, &value, 0);
  return value;
}
void SetSpi(UINT action, BOOL value) {
  ::SystemParametersInfoA(action, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(value)), 0);
}
constexpr UINT kGetDropShadow = 0x1024, kSetDropShadow = 0x1025;

class CoolMenuFrameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(menutest::PrepareToolkit()); }
  void SetUp() override {
    baseline_ = tk_test::GetMenuItemDataCounts();
    profile_ = std::make_unique<menutest::ScratchProfile>();
    frame_ = new RecordingFrame;
    ASSERT_TRUE(frame_->Create(nullptr, "Menus test", WS_OVERLAPPEDWINDOW, CRect(50, 50, 450, 350)));
    frame_->ShowWindow(SW_SHOW);
    frame_->UpdateWindow();
    menu_ = std::make_unique<CTkCoolMenu>();
    ASSERT_TRUE(menu_->Install(frame_));
    const UINT hideable[] = {12, 13, 15};
    menu_->AddHideableCommands(hideable, 3);
    menu_->ResetUsage();
    popup_ = menutest::MakeMenu({{11, "&Alpha"}, {12, "&Beta"}, {13, "&Gamma"}, {0, nullptr},
                                 {15, "&Epsilon"}, {0, nullptr}, {17, "E&ta"}});
  }
  void TearDown() override {
    TkMenuState().bToolkitTracking = FALSE;
    TkMenuState().bExpanded = FALSE;
    TkMenuState().bMenuBarTracking = TRUE;
    TkMenuState().bChevronSelected = FALSE;
    TkMenuState().nSkipInitMenuPopup = 0;
    if (menu_) menu_->ResetUsage();
    menu_.reset();
    if (frame_ && ::IsWindow(frame_->m_hWnd)) frame_->DestroyWindow();
    if (::IsMenu(popup_)) ::DestroyMenu(popup_);
    profile_.reset();
    menutest::Pump();
  }
  HWND Frame() const { return frame_->m_hWnd; }
  void Open(HMENU hMenu, BOOL bSys = FALSE) {
    ::SendMessageA(Frame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu),
                   MAKELPARAM(0, bSys));
  }
  void Close() { ::SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0); }
  int OwnerDrawn(HMENU hMenu) const {
    int n = 0;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) n += (ReadItem(hMenu, i).fType & MFT_OWNERDRAW) != 0;
    return n;
  }
  long Live() const { return tk_test::GetMenuItemDataCounts().nLive - baseline_.nLive; }
  long Refused() const { return tk_test::GetMenuItemDataCounts().nRefused - baseline_.nRefused; }

  tk_test::MenuItemDataCounts baseline_{};
  std::unique_ptr<menutest::ScratchProfile> profile_;
  RecordingFrame* frame_ = nullptr;  // the framework deletes it with its window
  std::unique_ptr<CTkCoolMenu> menu_;
  HMENU popup_ = nullptr;
};

TEST_F(CoolMenuFrameTest, APopupIsConvertedWhenItOpensAndMeasuredAndDrawnByTheHook) {
  Open(popup_);
  EXPECT_EQ(OwnerDrawn(popup_), 7);
  MEASUREITEMSTRUCT mis = {};
  mis.CtlType = ODT_MENU;
  mis.itemID = 11;
  mis.itemData = ReadItem(popup_, 0).data;
  EXPECT_TRUE(::SendMessageA(Frame(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
  EXPECT_GE(mis.itemWidth, 100u);
  EXPECT_GE(mis.itemHeight, static_cast<UINT>(ToolkitData().m_cyMenu));
  menutest::Dib dib(220, 40, RGB(1, 2, 3));
  DRAWITEMSTRUCT dis = {};
  dis.CtlType = ODT_MENU;
  dis.itemID = 11;
  dis.hDC = dib.Hdc();
  dis.rcItem = RECT{0, 0, 200, 22};
  dis.itemData = mis.itemData;
  EXPECT_TRUE(::SendMessageA(Frame(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));
  EXPECT_NE(dib.At(150, 3), RGB(1, 2, 3)) << "the item was painted";
  EXPECT_EQ(frame_->itemMessages, 0) << "answered by the hook, not passed on";
  // Nothing hides while no toolkit popup is tracked.
  EXPECT_EQ(::GetMenuItemCount(popup_), 7);
  Close();
  EXPECT_EQ(OwnerDrawn(popup_), 0);
  EXPECT_EQ(ReadItem(popup_, 0).text, "&Alpha");
  EXPECT_EQ(Live(), 0);
}

TEST_F(CoolMenuFrameTest, AMenuBarsPopupJoinsItsButtonOnTheBarsSide) {
  struct Case {
    DWORD side;
    std::vector<DWORD> expected;  // each item's record, in order
  } cases[] = {
      {CBRS_ALIGN_TOP, {CBRS_ALIGN_TOP, 0, 0, 0, 0, 0, 0}},
      {CBRS_ALIGN_BOTTOM, {0, 0, 0, 0, 0, 0, CBRS_ALIGN_BOTTOM}},
      {CBRS_ALIGN_LEFT, std::vector<DWORD>(7, CBRS_ALIGN_LEFT)},
      {CBRS_ALIGN_RIGHT, std::vector<DWORD>(7, CBRS_ALIGN_RIGHT)},
      {0, std::vector<DWORD>(7, 0)},
  };
  for (const Case& c : cases) {
    TkMenuState().dwTrackedDockSide = c.side;
    Open(popup_);
    std::vector<DWORD> sides;
    for (int i = 0; i < ::GetMenuItemCount(popup_); ++i) {
      sides.push_back(menutest::RecordAt(popup_, i)->dwDockSide);
    }
    EXPECT_EQ(sides, c.expected) << c.side;
    EXPECT_EQ(TkMenuState().dwTrackedDockSide, 0u) << "taken once";
    Close();
  }
}

TEST_F(CoolMenuFrameTest, SystemMenusAndSkippedPopupsAreLeftAlone) {
  HMENU sys = ::GetSystemMenu(Frame(), FALSE);
  ASSERT_NE(sys, nullptr);
  struct Case {
    const char* why;
    HMENU hMenu;
    BOOL bSysFlag;
    int nSkip;
    bool bConverted;
  } cases[] = {
      {"flagged as a system menu", sys, TRUE, 0, false},
      {"the frame's system menu without the flag", sys, FALSE, 0, false},
      {"skipped once by the menu bar", popup_, FALSE, 1, false},
      {"an ordinary popup", popup_, FALSE, 0, true},
  };
  for (const Case& c : cases) {
    TkMenuState().nSkipInitMenuPopup = c.nSkip;
    Open(c.hMenu, c.bSysFlag);
    EXPECT_EQ(OwnerDrawn(c.hMenu) > 0, c.bConverted) << c.why;
    EXPECT_EQ(TkMenuState().nSkipInitMenuPopup, 0) << c.why;
    Close();
  }
  EXPECT_EQ(Live(), 0);
}

TEST_F(CoolMenuFrameTest, TheChevronCommandShowsHiddenItemsInTheOpenPopup) {
  TkMenuState().bToolkitTracking = TRUE;
  BOOL animation = GetSpi(SPI_GETMENUANIMATION);
  SetSpi(SPI_SETMENUANIMATION, TRUE);
  SetSpi(kSetDropShadow, FALSE);
  // A menu window made before its menu is announced, as the system makes them.
  HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW, "#32768", "", WS_POPUP | WS_BORDER, 100, 100,
                                  120, 160, Frame(), nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  CTkMenuPopupHook* hook = TkFindMenuPopupHook(window);
  ASSERT_NE(hook, nullptr) << "every menu window gets a hook";
  EXPECT_EQ(TkPendingMenuHook(), hook);
  EXPECT_FALSE(GetSpi(SPI_GETMENUANIMATION)) << "no animation while a menu is up";
  if (TkGetMenuPopupSettings().bXPOrLater) {
    EXPECT_EQ(GetSpi(kGetDropShadow), ToolkitData().m_bMenuShadows) << "the toolkit's shadows";
  }

  Open(popup_);
  EXPECT_EQ(hook->m_hMenu, popup_) << "the window gets its menu when it is announced";
  EXPECT_EQ(TkPendingMenuHook(), nullptr);
  EXPECT_EQ(menutest::Commands(popup_), (std::vector<UINT>{11, 0, 17, ID_TK_MENU_CHEVRON}));

  ::SendMessageA(Frame(), WM_COMMAND, ID_TK_MENU_CHEVRON, 0);
  EXPECT_TRUE(TkMenuState().bExpanded);
  EXPECT_EQ(menutest::Commands(popup_), (std::vector<UINT>{11, 12, 13, 0, 15, 0, 17}));
  EXPECT_TRUE(::IsWindowVisible(window)) << "shown again in place";
  EXPECT_EQ(frame_->commands, std::vector<UINT>{ID_TK_MENU_CHEVRON}) << "the frame sees it too";

  Close();
  EXPECT_FALSE(TkMenuState().bExpanded);
  EXPECT_EQ(OwnerDrawn(popup_), 0);
  ::DestroyWindow(window);
  EXPECT_EQ(TkFindMenuPopupHook(window), nullptr);
  EXPECT_EQ(TkGetMenuPopupSettings().nHooks, 0);
  EXPECT_TRUE(GetSpi(SPI_GETMENUANIMATION)) << "put back by the last menu window";
  if (TkGetMenuPopupSettings().bXPOrLater) {
    EXPECT_FALSE(GetSpi(kGetDropShadow));
  }
  SetSpi(SPI_SETMENUANIMATION, animation);
  EXPECT_EQ(Live(), 0);
}

TEST_F(CoolMenuFrameTest, ChosenCommandsAreRememberedAcrossARestart) {
  TkMenuState().bToolkitTracking = TRUE;
  ::SendMessageA(Frame(), WM_COMMAND, 13, 0);
  ::SendMessageA(Frame(), WM_COMMAND, 11, 0);  // not hideable: not remembered
  menu_.reset();
  // The program starts again: a new cool menu on the frame reads the same profile.
  menu_ = std::make_unique<CTkCoolMenu>();
  ASSERT_TRUE(menu_->Install(frame_));
  const UINT hideable[] = {12, 13, 15};
  menu_->AddHideableCommands(hideable, 3);
  EXPECT_TRUE(menu_->IsRecentlyUsed(13));
  EXPECT_FALSE(menu_->IsRecentlyUsed(11));
  Open(popup_);
  EXPECT_EQ(menutest::Commands(popup_), (std::vector<UINT>{11, 13, 0, 17, ID_TK_MENU_CHEVRON}));
  Close();
  EXPECT_EQ(menutest::Commands(popup_), (std::vector<UINT>{11, 12, 13, 0, 15, 0, 17}));
}

TEST_F(CoolMenuFrameTest, RestingOnTheSelectedChevronExpandsTheBarsPopup) {
  TkMenuState().bToolkitTracking = TRUE;
  Open(popup_);
  int chevron = ::GetMenuItemCount(popup_) - 1;
  ASSERT_EQ(ReadItem(popup_, chevron).nID, ID_TK_MENU_CHEVRON);
  menutest::Dib dib(220, 40);
  auto DrawChevron = [&](UINT state) {
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemID = ID_TK_MENU_CHEVRON;
    dis.itemState = state;
    dis.hDC = dib.Hdc();
    dis.rcItem = RECT{0, 0, 200, 20};
    dis.itemData = ReadItem(popup_, chevron).data;
    ::SendMessageA(Frame(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  };
  struct Case {
    const char* why;
    BOOL bBarTracking;
    UINT state;
    BYTE bNT4;
    BOOL bTimer;
  } cases[] = {
      {"no menu bar popup: no timer", FALSE, ODS_SELECTED, 0, FALSE},
      {"Windows NT 4.0 has no expand timer", TRUE, ODS_SELECTED, 1, FALSE},
      {"the bar's popup, chevron selected", TRUE, ODS_SELECTED, 0, TRUE},
      {"selection moved away: stopped", TRUE, 0, 0, FALSE},
  };
  const BYTE nt4 = ToolkitData().m_bWinNT4;
  for (const Case& c : cases) {
    TkMenuState().bMenuBarTracking = !c.bBarTracking;
    ToolkitData().m_bWinNT4 = c.bNT4;
    DrawChevron(c.state);
    ToolkitData().m_bWinNT4 = nt4;
    EXPECT_EQ(menu_->IsExpandTimerRunning(), c.bTimer) << c.why;
    EXPECT_EQ(TkMenuState().bChevronSelected, (c.state & ODS_SELECTED) != 0) << c.why;
  }
  TkMenuState().bMenuBarTracking = FALSE;
  DrawChevron(ODS_SELECTED);
  ::SendMessageA(Frame(), WM_TIMER, kTkMenuExpandTimerId, 0);
  EXPECT_FALSE(menu_->IsExpandTimerRunning());
  EXPECT_EQ(frame_->commands, std::vector<UINT>{ID_TK_MENU_CHEVRON});
  EXPECT_TRUE(TkMenuState().bExpanded);
  Close();
}

// The menu-window messages Wine never sends are sent here directly.
TEST_F(CoolMenuFrameTest, AClickOnTheSelectedChevronExpandsInsteadOfClosing) {
  HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW, "#32768", "", WS_POPUP, 300, 300, 120, 120,
                                  Frame(), nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  CTkMenuPopupHook* hook = TkFindMenuPopupHook(window);
  ASSERT_NE(hook, nullptr);
  hook->m_pOwner = menu_.get();
  hook->SetMenu(popup_);
  ::ShowWindow(window, SW_SHOWNA);
  struct Case {
    const char* why;
    UINT message;
    BOOL bChevronSelected;
    POINT cursor;
    BYTE bWin95;
    bool bExpands;
  } cases[] = {
      {"press on the selected chevron", WM_LBUTTONDOWN, TRUE, {360, 360}, 0, true},
      {"release on it", WM_LBUTTONUP, TRUE, {360, 360}, 0, true},
      {"the system's own mouse message", 0x01ED, TRUE, {360, 360}, 0, true},
      {"the first of those", 0x01EB, TRUE, {360, 360}, 0, true},
      {"the last of those", 0x01F0, TRUE, {360, 360}, 0, true},
      {"not a mouse message", 0x01F1, TRUE, {360, 360}, 0, false},
      {"chevron not selected", WM_LBUTTONDOWN, FALSE, {360, 360}, 0, false},
      {"outside the popup", WM_LBUTTONDOWN, TRUE, {20, 20}, 0, false},
      {"Windows 95 has no chevron clicks", WM_LBUTTONDOWN, TRUE, {360, 360}, 1, false},
  };
  const BYTE win95 = ToolkitData().m_bWin95;
  for (const Case& c : cases) {
    frame_->commands.clear();
    TkMenuState().bChevronSelected = c.bChevronSelected;
    ToolkitData().m_bWin95 = c.bWin95;
    ::SetCursorPos(c.cursor.x, c.cursor.y);
    ::SendMessageA(window, c.message, 0, 0);
    ToolkitData().m_bWin95 = win95;
    EXPECT_EQ(!frame_->commands.empty() && frame_->commands[0] == ID_TK_MENU_CHEVRON, c.bExpands)
        << c.why;
  }
  TkMenuState().bChevronSelected = FALSE;
  ::DestroyWindow(window);
  Close();
}

// Before Windows XP the toolkit draws menu shadows itself: the screen under the popup is kept
// when it is placed, and the shadow is made after it paints.
int g_shadowsMade = 0, g_shadowsShown = 0;
class CountingShadow : public CTkMenuShadow {
 public:
  void Show() override { ++g_shadowsShown; }
};
CTkMenuShadow* MakeCountingShadow(HWND) {
  ++g_shadowsMade;
  return new CountingShadow;
}
BOOL WINAPI Windows2000(LPOSVERSIONINFOA info) {
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  info->dwMajorVersion = 5;
  info->dwMinorVersion = 0;
  return TRUE;
}

TEST_F(CoolMenuFrameTest, BeforeWindowsXPTheMenuDrawsItsOwnShadow) {
  tk_test::ResetOSVersionInfo(Windows2000);
  TkSetMenuShadowFactory(MakeCountingShadow);
  g_shadowsMade = g_shadowsShown = 0;
  HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW, "#32768", "", WS_POPUP, 200, 200, 100, 100,
                                  Frame(), nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  CTkMenuPopupHook* hook = TkFindMenuPopupHook(window);
  ASSERT_NE(hook, nullptr);
  hook->SetMenu(popup_);
  EXPECT_TRUE(hook->OwnShadows());
  ::SetWindowPos(window, nullptr, 210, 210, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_NE(hook->m_pBackground, nullptr) << "the screen under the popup and its shadow";
  EXPECT_EQ(hook->m_pBackground->GetTargetRect(), CRect(210, 210, 314, 314));
  hook->m_bSkipShadow = 0;
  ::SendMessageA(window, WM_NCPAINT, 1, 0);
  menutest::Pump();
  EXPECT_EQ(g_shadowsMade, 1);
  ::SendMessageA(window, WM_NCPAINT, 1, 0);
  menutest::Pump();
  EXPECT_EQ(g_shadowsMade, 1);
  EXPECT_EQ(g_shadowsShown, 1) << "shown again after a repaint";
  // A menu from the menu loop of another cool menu owner that is not a tracked one draws none.
  hook->m_pOwner = menu_.get();
  EXPECT_FALSE(hook->OwnShadows()) << "the frame's own menu loop never entered";
  ::DestroyWindow(window);
  TkSetMenuShadowFactory(nullptr);
  tk_test::ResetOSVersionInfo(nullptr);
}

TEST_F(CoolMenuFrameTest, TheFlatLookTakesTheFrameOffMenuWindows) {
  menutest::Look look(TRUE);
  HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME,
                                  "#32768", "", WS_POPUP | WS_BORDER | WS_DLGFRAME, 200, 200,
                                  100, 100, Frame(), nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  CTkMenuPopupHook* hook = TkFindMenuPopupHook(window);
  ASSERT_NE(hook, nullptr);
  hook->SetMenu(popup_);
  LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
  LONG_PTR ex = ::GetWindowLongPtrA(window, GWL_EXSTYLE);
  EXPECT_EQ(style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME), 0);
  EXPECT_EQ(ex & (WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME), 0);
  // The items are measured again after the system draws the frame of a flat popup.
  if (TkGetMenuPopupSettings().bXPOrLater) {
    ::SendMessageA(window, WM_TK_NCUAHDRAWFRAME, 0, 0);
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, window, WM_TK_MENU_REMEASURE, WM_TK_MENU_REMEASURE, PM_NOREMOVE));
  }
  menutest::Pump();
  ::DestroyWindow(window);
}

// --- real popups ---

std::vector<UINT> g_seenWhileOpen;
size_t g_hooksWhileOpen = 0;
bool g_destroyFrame = false;

void CALLBACK LookAtTheOpenMenu(HWND hWnd, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(hWnd, id);
  g_hooksWhileOpen = TkMenuPopupHooks().size();
  g_seenWhileOpen.clear();
  for (CTkMenuPopupHook* hook : TkMenuPopupHooks()) {
    if (hook->m_hMenu) g_seenWhileOpen = menutest::Commands(hook->m_hMenu);
  }
  if (g_destroyFrame) {
    ::DestroyWindow(hWnd);
  } else {
    ::EndMenu();
  }
}

TEST_F(CoolMenuFrameTest, ATrackedPopupHidesRarelyUsedItemsAndGivesThemBackWhenItCloses) {
  TkMenuState().bToolkitTracking = TRUE;
  g_destroyFrame = false;
  for (BOOL bFlat : {FALSE, TRUE}) {
    SCOPED_TRACE(bFlat ? "flat look" : "plain look");
    menutest::Look look(bFlat);
    g_hooksWhileOpen = 0;
    g_seenWhileOpen.clear();
    ::SetTimer(Frame(), 77, 300, LookAtTheOpenMenu);
    ::SetForegroundWindow(Frame());
    ::TrackPopupMenu(popup_, TPM_RETURNCMD, 120, 120, 0, Frame(), nullptr);
    EXPECT_GE(g_hooksWhileOpen, 1u) << "the menu window was hooked";
    EXPECT_EQ(g_seenWhileOpen, (std::vector<UINT>{11, 0, 17, ID_TK_MENU_CHEVRON}));
    menutest::Pump();
    EXPECT_EQ(menutest::Commands(popup_), (std::vector<UINT>{11, 12, 13, 0, 15, 0, 17}));
    EXPECT_EQ(OwnerDrawn(popup_), 0);
    EXPECT_EQ(Live(), 0);
    EXPECT_TRUE(TkMenuPopupHooks().empty());
  }
}

TEST_F(CoolMenuFrameTest, AFrameThatClosesWithAMenuOpenFreesEveryRecordOnce) {
  TkMenuState().bToolkitTracking = TRUE;
  g_destroyFrame = true;
  ::SetTimer(Frame(), 77, 300, LookAtTheOpenMenu);
  ::SetForegroundWindow(Frame());
  ::TrackPopupMenu(popup_, TPM_RETURNCMD, 120, 120, 0, Frame(), nullptr);
  g_destroyFrame = false;
  menutest::Pump();
  EXPECT_GE(g_hooksWhileOpen, 1u) << "the frame went while its menu was open";
  EXPECT_FALSE(::IsWindow(frame_->m_hWnd));
  frame_ = nullptr;
  EXPECT_EQ(Live(), 0) << "freed when the frame went";
  menu_.reset();  // and nothing left for the cool menu to free again
  EXPECT_EQ(Refused(), 0);
  EXPECT_EQ(tk_test::GetMenuItemDataCounts().nLive, baseline_.nLive);
  EXPECT_EQ(menutest::Commands(popup_), (std::vector<UINT>{11, 12, 13, 0, 15, 0, 17}));
  EXPECT_EQ(OwnerDrawn(popup_), 0);
}

}  // namespace

namespace {

void CALLBACK SelectLastItem(HWND hWnd, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(hWnd, id);
  // Up from no selection selects the popup's last item: the chevron.
  if (!TkMenuPopupHooks().empty()) {
    ::PostMessageA(TkMenuPopupHooks().back()->m_hWnd, WM_KEYDOWN, VK_UP, 0);
  }
}

void CALLBACK GiveUp(HWND hWnd, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(hWnd, id);
  ::EndMenu();
}

// Wine does not lay out an open popup again: resting on the chevron of a menu bar's popup
// chooses the chevron instead, which the toolkit's tracked menu answers by opening the popup
// again with every item.
TEST_F(CoolMenuFrameTest, WhereAPopupCannotGrowTheRestingChevronIsChosen) {
  if (TkMenusGrowInPlace()) GTEST_SKIP() << "the system lays open popups out again";
  TkMenuState().bToolkitTracking = TRUE;
  TkMenuState().bMenuBarTracking = FALSE;  // a menu bar's popup
  menu_->SetExpandTimer(100, kTkMenuExpandTimerId);
  ::SetTimer(Frame(), 78, 300, SelectLastItem);
  ::SetTimer(Frame(), 79, 5000, GiveUp);
  ::SetForegroundWindow(Frame());
  UINT chosen = ::TrackPopupMenu(popup_, TPM_RETURNCMD, 120, 120, 0, Frame(), nullptr);
  ::KillTimer(Frame(), 79);
  EXPECT_EQ(chosen, ID_TK_MENU_CHEVRON);
  EXPECT_EQ(frame_->commands, std::vector<UINT>{ID_TK_MENU_CHEVRON}) << "sent by the timer";
  menutest::Pump();
  EXPECT_EQ(menutest::Commands(popup_), (std::vector<UINT>{11, 12, 13, 0, 15, 0, 17}));
  EXPECT_EQ(Live(), 0);
}

}  // namespace
