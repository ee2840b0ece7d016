// The toolkit's tracked popup menu: the process-wide flag that a toolkit popup is open, the
// command posted to the owner, and the chevron item that opens the same popup again with every
// item shown. The modal tracking is a seam that answers from a script; one case tracks for real
// and ends the popup from a timer.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/frame/FrameWnd.h"
#include "toolkit/menubar/TkTrackedMenu.h"
#include "toolkit/menus/TkMenuPopupHook.h"
#include "toolkit/menus/TkMenuShared.h"

namespace {

class RecordingFrame : public CFrameWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) {
      commands.push_back(static_cast<UINT>(wParam));
      dockSideAtCommand.push_back(TkMenuState().dwTrackedDockSide);
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
  // A member of the test, not a heap object.
  void PostNcDestroy() override {}
  std::vector<UINT> commands;
  std::vector<DWORD> dockSideAtCommand;
};

class ScriptedMenu : public CTkTrackedMenu {
 public:
  explicit ScriptedMenu(HMENU hMenu) : CTkTrackedMenu(hMenu) {}
  UINT TrackOnce(UINT nFlags, int, int, HWND, LPTPMPARAMS) override {
    flags.push_back(nFlags);
    flagWhileOpen.push_back(TkMenuState().bToolkitTracking);
    // The owner-drawn menus may move the dock side while the popup is open.
    TkMenuState().dwTrackedDockSide = 0;
    UINT answer = answers.empty() ? 0 : answers.front();
    if (!answers.empty()) answers.erase(answers.begin());
    return answer;
  }
  std::vector<UINT> answers;
  std::vector<UINT> flags;
  std::vector<BOOL> flagWhileOpen;
};

// Pumps what was posted to the frame.
void Drain() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

class TrackedMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TkMenuState() = TkMenuShared{};
    ASSERT_TRUE(frame_.Create(nullptr, "Tracked menu test", WS_OVERLAPPEDWINDOW,
                              CRect(10, 10, 310, 210)));
    popup_ = ::CreatePopupMenu();
    ::AppendMenuA(popup_, MF_STRING, 41, "First");
    ::AppendMenuA(popup_, MF_STRING, 42, "Second");
    Drain();
  }
  void TearDown() override {
    if (frame_.m_hWnd) frame_.DestroyWindow();
    if (popup_) ::DestroyMenu(popup_);
  }
  RecordingFrame frame_;
  HMENU popup_ = nullptr;
};

// What the popup returns, what the owner gets, and whether the popup opened again.
TEST_F(TrackedMenuTest, ChosenCommandsAndTheChevron) {
  struct Case {
    const char* what;
    std::vector<UINT> answers;
    BOOL post;
    UINT result;
    int trackings;
    std::vector<UINT> ownerGets;
  } cases[] = {
      {"nothing chosen", {0}, TRUE, 0, 1, {}},
      {"a command, posted", {42}, TRUE, 42, 1, {42}},
      {"a command, not posted", {42}, FALSE, 42, 1, {}},
      {"the chevron, then a command", {kTkMenuChevronCommand, 41}, TRUE, 41, 2,
       {kTkMenuChevronCommand, 41}},
      {"the chevron, then nothing", {kTkMenuChevronCommand, 0}, TRUE, 0, 2,
       {kTkMenuChevronCommand}},
  };
  for (const Case& c : cases) {
    frame_.commands.clear();
    frame_.dockSideAtCommand.clear();
    TkMenuState().dwTrackedDockSide = CBRS_ALIGN_TOP;
    ScriptedMenu menu(popup_);
    menu.answers = c.answers;
    EXPECT_EQ(menu.TrackPopupMenu(TPM_VERTICAL, 10, 10, frame_.m_hWnd, nullptr, c.post), c.result)
        << c.what;
    EXPECT_EQ(static_cast<int>(menu.flags.size()), c.trackings) << c.what;
    for (UINT flags : menu.flags) EXPECT_EQ(flags, static_cast<UINT>(TPM_VERTICAL)) << c.what;
    Drain();
    EXPECT_EQ(frame_.commands, c.ownerGets) << c.what;
    // The popup opened again is joined to its button as the first one was.
    if (c.trackings == 2) {
      ASSERT_FALSE(frame_.dockSideAtCommand.empty());
      EXPECT_EQ(frame_.dockSideAtCommand[0], static_cast<DWORD>(CBRS_ALIGN_TOP)) << c.what;
    }
  }
}

// The flag is set while any tracked menu lives (a bar's menu and its open popup overlap) and
// cleared when the last goes; the menu it tracks is not its to destroy.
TEST_F(TrackedMenuTest, TheToolkitFlagCoversNestedMenus) {
  EXPECT_FALSE(TkMenuState().bToolkitTracking);
  {
    CTkTrackedMenu outer(popup_);
    EXPECT_TRUE(TkMenuState().bToolkitTracking);
    {
      ScriptedMenu inner(popup_);
      inner.answers = {0};
      inner.TrackPopupMenu(0, 0, 0, frame_.m_hWnd, FALSE);
      EXPECT_EQ(inner.flagWhileOpen, std::vector<BOOL>{TRUE});
    }
    EXPECT_TRUE(TkMenuState().bToolkitTracking) << "the outer menu still tracks";
  }
  EXPECT_FALSE(TkMenuState().bToolkitTracking);
  EXPECT_TRUE(::IsMenu(popup_));
}

// A real popup: a timer ends it, nothing is chosen and nothing reaches the owner.
TEST_F(TrackedMenuTest, ARealPopupEndsWithoutACommand) {
  frame_.ShowWindow(SW_SHOW);
  frame_.UpdateWindow();
  ::SetTimer(frame_.m_hWnd, 77, 200, [](HWND hWnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hWnd, id);
    ::EndMenu();
  });
  CTkTrackedMenu menu(popup_);
  EXPECT_EQ(menu.TrackPopupMenu(TPM_VERTICAL, 50, 50, frame_.m_hWnd, TRUE), 0u);
  Drain();
  EXPECT_TRUE(frame_.commands.empty());
}

// A menu window still hooked when a new tracking starts is closed before the new popup opens.
TEST_F(TrackedMenuTest, APopupStillOpenClosesBeforeTheNextOne) {
  HWND stale = ::CreateWindowExA(0, "STATIC", "stale popup", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20,
                                 nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(stale, nullptr);
  auto* hook = new CTkMenuPopupHook;
  hook->HookWindow(stale);
  TkMenuPopupHooks().push_back(hook);
  struct StaleCheck : ScriptedMenu {
    using ScriptedMenu::ScriptedMenu;
    UINT TrackOnce(UINT nFlags, int x, int y, HWND owner, LPTPMPARAMS params) override {
      staleOpen = ::IsWindow(stale);
      return ScriptedMenu::TrackOnce(nFlags, x, y, owner, params);
    }
    HWND stale = nullptr;
    BOOL staleOpen = TRUE;
  } menu(popup_);
  menu.stale = stale;
  menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, frame_.m_hWnd, FALSE);
  EXPECT_FALSE(menu.staleOpen) << "closed before the new popup opened";
  auto& hooks = TkMenuPopupHooks();
  hooks.erase(std::find(hooks.begin(), hooks.end(), hook));
  delete hook;
  if (::IsWindow(stale)) ::DestroyWindow(stale);
}

}  // namespace
