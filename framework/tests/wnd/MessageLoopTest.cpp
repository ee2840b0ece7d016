// The thread's message loop: idle updates of the main window and its descendants, the end of
// the loop, thread messages, and message boxes shown for real when the program asks for them.
#include <gtest/gtest.h>

#include "framework/app/MessageBox.h"
#include "framework/app/WinApp.h"
#include "framework/tests/wnd/WndTestSupport.h"

namespace {

class CIdleWnd : public CWnd {
 public:
  int updates = 0;

 protected:
  LRESULT OnIdleUpdate(WPARAM, LPARAM) {
    ++updates;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIdleWnd, CWnd)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

class CThreadWithMessages : public CWinThread {
 public:
  WPARAM got = 0;

 protected:
  void OnAppMessage(WPARAM w, LPARAM) { got = w; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThreadWithMessages, CWinThread)
  ON_THREAD_MESSAGE(WM_APP + 5, OnAppMessage)
END_MESSAGE_MAP()

class MessageLoopTest : public ::testing::Test {
 protected:
  void SetUp() override { AfxSetThread(&thread); }
  void TearDown() override {
    thread.m_pMainWnd = nullptr;
    AfxSetThread(nullptr);
    PumpPending();
  }
  CThreadWithMessages thread;
};

TEST_F(MessageLoopTest, IdleUpdatesReachTheVisibleMainWindowAndItsDescendants) {
  CIdleWnd top, child, grandchild;
  ASSERT_TRUE(CreateTestWindow(top));
  ASSERT_TRUE(child.Create(nullptr, "", WS_VISIBLE, RECT{0, 0, 50, 50}, &top, 1));
  ASSERT_TRUE(grandchild.Create(nullptr, "", WS_VISIBLE, RECT{0, 0, 20, 20}, &child, 2));
  thread.m_pMainWnd = &top;
  EXPECT_TRUE(thread.OnIdle(0)) << "asks for the second pass";
  EXPECT_EQ(top.updates, 0) << "a hidden main window is not updated";
  top.ShowWindow(SW_SHOW);
  EXPECT_TRUE(thread.OnIdle(0));
  EXPECT_FALSE(thread.OnIdle(1));
  EXPECT_EQ(top.updates, 1);
  EXPECT_EQ(child.updates, 1);
  EXPECT_EQ(grandchild.updates, 1);
}

TEST_F(MessageLoopTest, TheLoopEndsWithTheQuitCodeOrWhenTheMainWindowGoes) {
  ::PostQuitMessage(3);
  EXPECT_EQ(thread.Run(), 3);

  CIdleWnd top;
  ASSERT_TRUE(CreateTestWindow(top));
  top.ShowWindow(SW_SHOW);
  thread.m_pMainWnd = &top;
  top.PostMessage(WM_CLOSE);
  EXPECT_EQ(thread.Run(), 0);
  EXPECT_EQ(thread.m_pMainWnd, nullptr);
  EXPECT_EQ(top.m_hWnd, nullptr);
}

TEST_F(MessageLoopTest, ThreadMessagesGoToTheThreadsMap) {
  ::PostThreadMessageA(::GetCurrentThreadId(), WM_APP + 5, 9, 0);
  PumpPending();
  EXPECT_EQ(thread.got, 9u);
}

VOID CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = ::FindWindowA("#32770", "LoopTest");
  if (!box) return;
  ::KillTimer(nullptr, id);
  ::PostMessageA(box, WM_COMMAND, IDYES, 0);
}

TEST_F(MessageLoopTest, MessageBoxesAreRealOnlyWhenTheProgramAsksForThem) {
  CWinApp app("LoopTest");
  AfxSetThread(&thread);  // the application object made itself the thread's; keep ours
  EXPECT_EQ(AfxMessageBox("question?", MB_YESNO), IDNO) << "logged, default answer";
  AfxEnableMessageBoxWindows(TRUE);
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, AnswerBox);
  int answer = AfxMessageBox("question?", MB_YESNO);
  ::KillTimer(nullptr, timer);
  AfxEnableMessageBoxWindows(FALSE);
  EXPECT_EQ(answer, IDYES) << "the box was shown and answered";
  EXPECT_EQ(AfxMessageBox("question?", MB_YESNO), IDNO);
}

}  // namespace
