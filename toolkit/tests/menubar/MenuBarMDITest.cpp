// The menu bar in an MDI frame (a real MDI client with real children under the X display): the
// numbered window list in the window menu, and the maximised child's caption buttons on the bar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/app/AfxResource.h"
#include "framework/frame/FrameWnd.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/menubar/TkMenuBar.h"
#include "toolkit/menus/TkMenuShared.h"

namespace {

class MDIFrame : public CFrameWnd {
 public:
  void PostNcDestroy() override {}
};

// Records the system commands the bar sends to the active child.
std::vector<WPARAM> g_sysCommands;

LRESULT CALLBACK ChildProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND) {
    g_sysCommands.push_back(wParam & 0xFFF0);
    return 0;
  }
  return ::DefMDIChildProcA(hWnd, message, wParam, lParam);
}

// Opens no system menu: notes which one it would open.
class TestMDIMenuBar : public CTkMenuBar {
 public:
  void TrackSystemMenu(HMENU hSysMenu, CPoint, TPMPARAMS*) override {
    systemMenus.push_back(hSysMenu);
  }
  std::vector<HMENU> systemMenus;
};

class MenuBarMDITest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
    if (language) ToolkitData().m_hResource = language;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ChildProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
    wc.lpszClassName = "MenuBarTestChild";
    ::RegisterClassA(&wc);
  }
  void SetUp() override {
    ASSERT_NE(ToolkitData().m_hResource, nullptr) << "ZBResENU.dll beside the test";
    TkMenuState() = TkMenuShared{};
    g_sysCommands.clear();
    ASSERT_TRUE(frame_.Create(nullptr, "MDI menu bar test", WS_OVERLAPPEDWINDOW,
                              CRect(10, 10, 610, 410)));
    CLIENTCREATESTRUCT ccs = {nullptr, kTkFirstMDIChildId};
    client_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 40, 600, 300,
                                frame_.m_hWnd, reinterpret_cast<HMENU>(0xE900),
                                ::GetModuleHandleA(nullptr), &ccs);
    ASSERT_NE(client_, nullptr);
    ASSERT_TRUE(bar_.Create(&frame_));
    ASSERT_EQ(bar_.GetTrackedMDIClient(), client_);
    menu_ = ::CreateMenu();
    window_ = ::CreatePopupMenu();
    ::AppendMenuA(window_, MF_STRING, 101, "&Cascade");
    ::AppendMenuA(window_, MF_STRING, 102, "&Tile");
    ::AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(window_), "&Window");
    bar_.SetMenu(menu_, window_);
    frame_.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    if (frame_.m_hWnd) frame_.DestroyWindow();
    if (menu_) ::DestroyMenu(menu_);
  }
  HWND AddChild(const char* title) {
    const DWORD style = WS_OVERLAPPEDWINDOW;
    MDICREATESTRUCTA mcs = {"MenuBarTestChild", title, ::GetModuleHandleA(nullptr),
                            CW_USEDEFAULT, CW_USEDEFAULT, 200, 150, style, 0};
    return reinterpret_cast<HWND>(::SendMessageA(client_, WM_MDICREATE, 0,
                                                 reinterpret_cast<LPARAM>(&mcs)));
  }
  struct Item {
    std::string text;
    UINT id;
    bool checked;
    bool operator==(const Item& o) const {
      return text == o.text && id == o.id && checked == o.checked;
    }
  };
  std::vector<Item> Items() {
    std::vector<Item> out;
    for (int i = 0; i < ::GetMenuItemCount(window_); ++i) {
      char text[128] = {};
      ::GetMenuStringA(window_, i, text, sizeof text, MF_BYPOSITION);
      UINT state = ::GetMenuState(window_, i, MF_BYPOSITION);
      out.push_back({text, ::GetMenuItemID(window_, i), (state & MF_CHECKED) != 0});
    }
    return out;
  }

  MDIFrame frame_;
  TestMDIMenuBar bar_;
  HWND client_ = nullptr;
  HMENU menu_ = nullptr;
  HMENU window_ = nullptr;
};

// Three children: numbered from 1 with their titles, the active (last made) one checked, then
// the item that lists more windows; built again, the list replaces the old one.
TEST_F(MenuBarMDITest, TheWindowListNumbersTheChildren) {
  ASSERT_NE(AddChild("Alpha"), nullptr);
  ASSERT_NE(AddChild("Beta"), nullptr);
  ASSERT_NE(AddChild("Gamma"), nullptr);
  const std::vector<Item> expected = {
      {"&Cascade", 101, false},       {"", 0, false},
      {"&1  Alpha", 0xFF00, false},   {"&2  Beta", 0xFF01, false},
      {"&3  Gamma", 0xFF02, true},    {"", 0, false},
      {"&More Windows...", kTkMoreWindowsId, false},
  };
  std::vector<Item> withTile = expected;
  withTile.insert(withTile.begin() + 1, Item{"&Tile", 102, false});
  bar_.RefreshWindowList();
  EXPECT_EQ(Items(), withTile);
  bar_.RefreshWindowList();
  EXPECT_EQ(Items(), withTile) << "the old list goes first";

  // Without the last item, and without children no list at all.
  bar_.SetListMoreWindows(FALSE);
  bar_.RefreshWindowList();
  EXPECT_EQ(Items().size(), withTile.size() - 2);
}

TEST_F(MenuBarMDITest, NoChildrenNoList) {
  bar_.RefreshWindowList();
  EXPECT_EQ(Items().size(), 2u);
}

// A maximised child puts its icon and three caption buttons on the bar. The mouse on them, as
// the user does it: a missing minimise box ignores the mouse, a press released off its button
// does nothing, a double click on the icon or the close button closes the child, a press on the
// icon opens the child's system menu (which the owner-drawn menus are told to leave alone).
TEST_F(MenuBarMDITest, MaximisedChildButtons) {
  HWND child = AddChild("Alpha");
  ASSERT_NE(child, nullptr);
  // The MDI client gives every child both boxes; this one loses its minimise box.
  ::SetWindowLongA(child, GWL_STYLE, ::GetWindowLongA(child, GWL_STYLE) & ~WS_MINIMIZEBOX);
  ::SendMessageA(client_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
  bar_.RefreshMDIButtons();
  ASSERT_TRUE(bar_.IsMDIMaximized());
  CSize withButtons = bar_.CalcMenuBarSize();
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(bar_.GetMDIRect(i).IsRectEmpty()) << i;

  // The centre of an MDI rectangle in the bar's client coordinates, for the mouse messages.
  auto at = [this](int index) {
    CRect window;
    bar_.GetWindowRect(&window);
    CPoint p = bar_.GetMDIRect(index).CenterPoint();
    p.Offset(window.left, window.top);
    bar_.ScreenToClient(&p);
    return MAKELPARAM(p.x, p.y);
  };
  struct Step {
    UINT message;
    int rect;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
    std::vector<WPARAM> commands;
    int systemMenus;
  } cases[] = {
      {"minimise without its box",
       {{WM_LBUTTONDOWN, CTkMenuBar::kMDIMinimize}, {WM_LBUTTONUP, CTkMenuBar::kMDIMinimize}},
       {}, 0},
      {"close", {{WM_LBUTTONDOWN, CTkMenuBar::kMDIClose}, {WM_LBUTTONUP, CTkMenuBar::kMDIClose}},
       {SC_CLOSE}, 0},
      {"restore",
       {{WM_LBUTTONDOWN, CTkMenuBar::kMDIRestore}, {WM_LBUTTONUP, CTkMenuBar::kMDIRestore}},
       {SC_RESTORE}, 0},
      {"close, released elsewhere",
       {{WM_LBUTTONDOWN, CTkMenuBar::kMDIClose},
        {WM_MOUSEMOVE, CTkMenuBar::kMDIIcon},
        {WM_LBUTTONUP, CTkMenuBar::kMDIIcon}},
       {}, 0},
      {"double click on the close button", {{WM_LBUTTONDBLCLK, CTkMenuBar::kMDIClose}}, {SC_CLOSE},
       0},
      {"double click on the icon", {{WM_LBUTTONDBLCLK, CTkMenuBar::kMDIIcon}}, {SC_CLOSE}, 0},
      {"press on the icon", {{WM_LBUTTONDOWN, CTkMenuBar::kMDIIcon}}, {}, 1},
  };
  for (const Case& c : cases) {
    g_sysCommands.clear();
    bar_.systemMenus.clear();
    TkMenuState().nSkipInitMenuPopup = 0;
    for (const Step& step : c.steps)
      bar_.SendMessage(step.message, step.message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at(step.rect));
    EXPECT_EQ(g_sysCommands, c.commands) << c.what;
    EXPECT_EQ(static_cast<int>(bar_.systemMenus.size()), c.systemMenus) << c.what;
    EXPECT_EQ(TkMenuState().nSkipInitMenuPopup, c.systemMenus) << c.what;
    if (c.systemMenus) {
      EXPECT_EQ(bar_.systemMenus[0], ::GetSystemMenu(child, FALSE)) << c.what;
    }
    EXPECT_EQ(::GetCapture(), nullptr) << c.what;
  }

  ::SendMessageA(client_, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
  bar_.RefreshMDIButtons();
  EXPECT_FALSE(bar_.IsMDIMaximized());
  EXPECT_EQ(bar_.CalcMenuBarSize().cx, withButtons.cx - 5 - ::GetSystemMetrics(SM_CXSMICON) - 54);
}

}  // namespace
