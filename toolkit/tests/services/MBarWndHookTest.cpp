// The menu bar's hooks on a frame and an MDI client (real windows under the X display), with a
// stand-in menu bar that records what the hooks tell it: which messages change the bar, which
// reach the frame changed, which end in the hook, and which go to an in-place server instead.
#include <gtest/gtest.h>

#include <vector>

#include "toolkit/services/TkMBarWndHook.h"

namespace {

struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Seen> g_frameSaw;
std::vector<Seen> g_serverSaw;

LRESULT CALLBACK FrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER || message == WM_INITMENUPOPUP || message == WM_MENUSELECT ||
      message == WM_COMMAND || message == WM_MDISETMENU || message == WM_MDIREFRESHMENU ||
      message == WM_SYSCOLORCHANGE) {
    g_frameSaw.push_back({message, wParam, lParam});
  }
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK ServerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITMENU || message == WM_COMMAND) {
    g_serverSaw.push_back({message, wParam, lParam});
    return 77;
  }
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

class FakeMenuBar : public CTkMenuBarSite {
 public:
  HWND GetBarWindow() const override { return m_hBar; }
  HWND GetOwnerFrame() const override { return m_hFrame; }
  BOOL OwnerStaysActive() const override { return m_bStayActive; }
  HWND GetInPlaceTarget(UINT message, WPARAM, LPARAM, BOOL& bSend) override {
    if (!m_hServer || (message != WM_INITMENU && message != WM_COMMAND)) return nullptr;
    bSend = message == WM_INITMENU;
    return m_hServer;
  }
  void ResetFont() override { ++m_fontResets; }
  HWND GetTrackedMDIClient() const override { return m_hMDIClient; }
  void RefreshMDIButtons() override { ++m_mdiRefreshes; }
  void SetFrameActive(BOOL bActive) override { m_active.push_back(bActive); }
  int GetTrackedIndex() const override { return m_trackedIndex; }
  HMENU GetMDIWindowMenu() const override { return m_hWindowMenu; }
  void UpdateWindowList() override { ++m_windowListUpdates; }
  void NoteMenuSelect(HMENU hMenu, UINT nItem) override {
    m_selectedMenu = hMenu;
    m_selectedItem = nItem;
  }
  void SetMDIMenu(HMENU hFrameMenu, HMENU hWindowMenu) override {
    m_newFrameMenu = hFrameMenu;
    m_newWindowMenu = hWindowMenu;
  }

  HWND m_hBar = nullptr, m_hFrame = nullptr, m_hServer = nullptr, m_hMDIClient = nullptr;
  BOOL m_bStayActive = FALSE;
  int m_trackedIndex = -1;
  HMENU m_hWindowMenu = nullptr;
  int m_fontResets = 0, m_mdiRefreshes = 0, m_windowListUpdates = 0;
  std::vector<BOOL> m_active;
  HMENU m_selectedMenu = nullptr, m_newFrameMenu = nullptr, m_newWindowMenu = nullptr;
  UINT m_selectedItem = 0;
};

class MBarWndHookTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA wc = {};
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = "TkMBarTestFrame";
    ::RegisterClassA(&wc);
    wc.lpfnWndProc = ServerProc;
    wc.lpszClassName = "TkMBarTestServer";
    ::RegisterClassA(&wc);
  }
  void SetUp() override {
    g_frameSaw.clear();
    g_serverSaw.clear();
    TkExpandCommandFlag() = FALSE;
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    m_hFrame = ::CreateWindowA("TkMBarTestFrame", "frame", WS_OVERLAPPEDWINDOW, 0, 0, 200, 150,
                               nullptr, nullptr, hInst, nullptr);
    m_hClient = ::CreateWindowA("TkMBarTestFrame", "client", WS_CHILD, 0, 0, 100, 100, m_hFrame,
                                nullptr, hInst, nullptr);
    m_bar.m_hBar = ::CreateWindowA("STATIC", "bar", WS_CHILD, 0, 0, 100, 20, m_hFrame, nullptr,
                                   hInst, nullptr);
    m_bar.m_hFrame = m_hFrame;
    m_hMenu = ::CreateMenu();
    ::SetMenu(m_hFrame, m_hMenu);
  }
  void TearDown() override {
    m_frameHook.HookWindow(static_cast<HWND>(nullptr));
    m_clientHook.HookWindow(static_cast<HWND>(nullptr));
    ::DestroyWindow(m_hFrame);
    if (m_hServer) ::DestroyWindow(m_hServer);
  }

  FakeMenuBar m_bar;
  CTkMBarWndHook m_frameHook;
  CTkMBarMDIWndHook m_clientHook;
  HWND m_hFrame = nullptr, m_hClient = nullptr, m_hServer = nullptr;
  HMENU m_hMenu = nullptr;
};

}  // namespace

TEST_F(MBarWndHookTest, TheFrameHookKeepsTheBarInStep) {
  ASSERT_TRUE(m_frameHook.Install(&m_bar, m_hFrame));
  HMENU hWindowMenu = ::CreatePopupMenu();
  m_bar.m_hWindowMenu = hWindowMenu;
  m_bar.m_trackedIndex = 2;

  // The popup index becomes the bar's tracked item; the system-menu flag stays.
  ::SendMessageA(m_hFrame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hWindowMenu),
                 MAKELPARAM(9, 0));
  ::SendMessageA(m_hFrame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hWindowMenu),
                 MAKELPARAM(9, 1));
  m_bar.m_trackedIndex = -1;
  ::SendMessageA(m_hFrame, WM_INITMENUPOPUP, 0, MAKELPARAM(4, 0));
  ASSERT_EQ(g_frameSaw.size(), 3u);
  EXPECT_EQ(g_frameSaw[0].lParam, MAKELPARAM(2, 0));
  EXPECT_EQ(g_frameSaw[1].lParam, MAKELPARAM(2, 1));
  EXPECT_EQ(g_frameSaw[2].lParam, MAKELPARAM(0xFFFF, 0)) << "no tracked item: -1";
  EXPECT_EQ(m_bar.m_windowListUpdates, 1) << "the window menu, not as a system menu";

  ::SendMessageA(m_hFrame, WM_MENUSELECT, MAKEWPARAM(5, MF_POPUP),
                 reinterpret_cast<LPARAM>(hWindowMenu));
  EXPECT_EQ(m_bar.m_selectedMenu, hWindowMenu);
  EXPECT_EQ(m_bar.m_selectedItem, 5u);

  ::SendMessageA(m_hFrame, WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(m_bar.m_fontResets, 1);

  // The expand item sets the shared flag; any other command, even of the same low word, clears it.
  struct Command {
    WPARAM wParam;
    BOOL expand;
  };
  const Command commands[] = {{kTkExpandMenuCommand, TRUE},
                              {100, FALSE},
                              {kTkExpandMenuCommand, TRUE},
                              {MAKEWPARAM(kTkExpandMenuCommand, 1), FALSE}};
  for (const Command& c : commands) {
    ::SendMessageA(m_hFrame, WM_COMMAND, c.wParam, 0);
    EXPECT_EQ(TkExpandCommandFlag(), c.expand) << c.wParam;
  }
  ::DestroyMenu(hWindowMenu);
}

TEST_F(MBarWndHookTest, ActivationFollowsTheFrame) {
  m_frameHook.Install(&m_bar, m_hFrame);
  struct Case {
    BOOL stayActive, frameEnabled;
    WPARAM wParam;
    BOOL expected;
    const char* why;
  };
  const Case cases[] = {
      {FALSE, TRUE, TRUE, TRUE, "as the frame says: active"},
      {FALSE, TRUE, FALSE, FALSE, "as the frame says: inactive"},
      {TRUE, TRUE, FALSE, TRUE, "a frame that stays active"},
      {FALSE, FALSE, TRUE, FALSE, "a disabled frame (a modal dialog is up)"},
  };
  for (const Case& c : cases) {
    m_bar.m_active.clear();
    m_bar.m_bStayActive = c.stayActive;
    ::EnableWindow(m_hFrame, c.frameEnabled);
    ::SendMessageA(m_hFrame, WM_NCACTIVATE, c.wParam, 0);
    ASSERT_EQ(m_bar.m_active.size(), 1u) << c.why;
    EXPECT_EQ(m_bar.m_active[0], c.expected) << c.why;
  }
  ::EnableWindow(m_hFrame, TRUE);
}

TEST_F(MBarWndHookTest, MDIMenusGoToTheBarAndEndInTheHook) {
  m_frameHook.Install(&m_bar, m_hFrame);
  m_clientHook.Install(&m_bar, m_hClient);
  m_bar.m_hMDIClient = m_hClient;
  HMENU hNewMenu = ::CreateMenu(), hNewWindowMenu = ::CreatePopupMenu();
  for (HWND hWnd : {m_hFrame, m_hClient}) {
    ::SetMenu(m_hFrame, m_hMenu);
    g_frameSaw.clear();
    m_bar.m_newFrameMenu = nullptr;
    EXPECT_EQ(::SendMessageA(hWnd, WM_MDISETMENU, reinterpret_cast<WPARAM>(hNewMenu),
                             reinterpret_cast<LPARAM>(hNewWindowMenu)),
              0);
    EXPECT_EQ(::SendMessageA(hWnd, WM_MDIREFRESHMENU, 0, 0), 0);
    EXPECT_TRUE(g_frameSaw.empty()) << "neither reaches the window";
    EXPECT_EQ(m_bar.m_newFrameMenu, hNewMenu);
    EXPECT_EQ(m_bar.m_newWindowMenu, hNewWindowMenu);
    EXPECT_EQ(::GetMenu(m_hFrame), nullptr) << "the frame keeps no menu of its own";
  }
  // The client's paint refreshes the bar's MDI buttons; the frame's does not.
  ::SendMessageA(m_hClient, WM_PAINT, 0, 0);
  ::SendMessageA(m_hFrame, WM_PAINT, 0, 0);
  EXPECT_EQ(m_bar.m_mdiRefreshes, 1);
  // The client hook leaves the frame-only cases alone.
  g_frameSaw.clear();
  m_bar.m_trackedIndex = 3;
  ::SendMessageA(m_hClient, WM_INITMENUPOPUP, 0, MAKELPARAM(1, 0));
  ::SendMessageA(m_hClient, WM_SYSCOLORCHANGE, 0, 0);
  ASSERT_EQ(g_frameSaw.size(), 2u);
  EXPECT_EQ(g_frameSaw[0].lParam, MAKELPARAM(1, 0));
  EXPECT_EQ(m_bar.m_fontResets, 0);
  ::SendMessageA(m_hClient, WM_COMMAND, kTkExpandMenuCommand, 0);
  EXPECT_TRUE(TkExpandCommandFlag());
  ::DestroyMenu(hNewMenu);
  ::DestroyMenu(hNewWindowMenu);
}

TEST_F(MBarWndHookTest, AnInPlaceServerGetsItsMenuMessagesInstead) {
  m_hServer = ::CreateWindowA("TkMBarTestServer", "server", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                              nullptr, ::GetModuleHandleA(nullptr), nullptr);
  m_bar.m_hServer = m_hServer;
  m_frameHook.Install(&m_bar, m_hFrame);
  EXPECT_EQ(::SendMessageA(m_hFrame, WM_INITMENU, 1, 2), 77) << "sent: the server's answer";
  EXPECT_EQ(::SendMessageA(m_hFrame, WM_COMMAND, 42, 0), TRUE) << "posted";
  EXPECT_EQ(g_serverSaw.size(), 1u);
  MSG msg;
  while (::PeekMessageA(&msg, m_hServer, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  ASSERT_EQ(g_serverSaw.size(), 2u);
  EXPECT_EQ(g_serverSaw[1].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(g_serverSaw[1].wParam, 42u);
  EXPECT_TRUE(g_frameSaw.empty()) << "the frame saw neither";
  EXPECT_FALSE(TkExpandCommandFlag());
}

TEST_F(MBarWndHookTest, WithoutTheBarsWindowMessagesOnlyPassThrough) {
  m_frameHook.Install(&m_bar, m_hFrame);
  ::DestroyWindow(m_bar.m_hBar);
  m_bar.m_trackedIndex = 2;
  ::SendMessageA(m_hFrame, WM_INITMENUPOPUP, 0, MAKELPARAM(9, 0));
  ::SendMessageA(m_hFrame, WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(::SendMessageA(m_hFrame, WM_MDIREFRESHMENU, 0, 0), 0);
  ASSERT_EQ(g_frameSaw.size(), 3u);
  EXPECT_EQ(g_frameSaw[0].lParam, MAKELPARAM(9, 0)) << "unchanged";
  EXPECT_EQ(m_bar.m_fontResets, 0);
}
