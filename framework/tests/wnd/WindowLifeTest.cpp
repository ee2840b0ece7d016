// PreTranslateMessage order, windows that delete themselves, and messages that arrive while a
// window or its object goes away.
#include <gtest/gtest.h>

#include "framework/exceptions/FileException.h"
#include "framework/app/MessageBox.h"
#include "framework/exceptions/UserException.h"
#include "framework/threads/WinThread.h"
#include "framework/tests/wnd/WndTestSupport.h"

namespace {

const UINT kPing = WM_APP + 10;

class CFilterWnd : public CWnd {
 public:
  CFilterWnd(CallLog* log, const char* name) : m_log(log), m_name(name) {}
  BOOL eat = FALSE;
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message == WM_KEYDOWN) m_log->Add(std::string("pre-") + m_name);
    return eat;
  }

 protected:
  void OnKeyDown(UINT, UINT, UINT) { m_log->Add(std::string("key-") + m_name); }
  DECLARE_MESSAGE_MAP()
  CallLog* m_log;
  const char* m_name;
};

BEGIN_MESSAGE_MAP(CFilterWnd, CWnd)
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

class CFilterThread : public CWinThread {
 public:
  explicit CFilterThread(CallLog* log) : m_log(log) {}
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message == WM_KEYDOWN) m_log->Add("pre-thread");
    return CWinThread::PreTranslateMessage(pMsg);
  }
  CallLog* m_log;
};

TEST(PreTranslate, TheTargetThenItsParentsThenDispatch) {
  CallLog log;
  CFilterWnd top(&log, "top");
  ASSERT_TRUE(CreateTestWindow(top));
  CFilterWnd middle(&log, "middle");
  ASSERT_TRUE(middle.Create(nullptr, "", WS_VISIBLE, RECT{0, 0, 100, 100}, &top, 10));
  CFilterWnd leaf(&log, "leaf");
  ASSERT_TRUE(leaf.Create(nullptr, "", WS_VISIBLE, RECT{0, 0, 50, 50}, &middle, 11));
  CFilterThread thread(&log);
  thread.m_pMainWnd = &top;
  AfxSetThread(&thread);

  struct Case {
    CFilterWnd* eater;
    const char* log;
  };
  const Case cases[] = {
      {nullptr, "pre-thread,pre-leaf,pre-middle,pre-top,key-leaf"},
      {&middle, "pre-thread,pre-leaf,pre-middle"},  // taken: the rest never see it
      {&leaf, "pre-thread,pre-leaf"},
  };
  for (const Case& c : cases) {
    log.calls.clear();
    leaf.eat = middle.eat = top.eat = FALSE;
    if (c.eater) c.eater->eat = TRUE;
    leaf.PostMessage(WM_KEYDOWN, 'A', 1);
    PumpPending();
    EXPECT_EQ(log.Joined(), c.log);
  }
  AfxSetThread(nullptr);
  thread.m_pMainWnd = nullptr;
}

// --- destruction ---

class CSelfDeleting : public CWnd {
 public:
  CSelfDeleting(CallLog* log, bool* deleted) : m_log(log), m_deleted(deleted) {}
  ~CSelfDeleting() override { *m_deleted = true; }

 protected:
  void OnDestroy() {
    // Messages to the window while it is being destroyed still find the object.
    SendMessage(kPing, 1);
    PostMessage(kPing, 2);  // arrives after the window and its object are gone
    CWnd::OnDestroy();
  }
  LRESULT OnPing(WPARAM w, LPARAM) {
    m_log->Add("ping:" + std::to_string(w));
    return 0;
  }
  void PostNcDestroy() override {
    m_log->Add(m_hWnd ? "post-attached" : "post-detached");
    delete this;
  }
  DECLARE_MESSAGE_MAP()
  CallLog* m_log;
  bool* m_deleted;
};

BEGIN_MESSAGE_MAP(CSelfDeleting, CWnd)
  ON_WM_DESTROY()
  ON_MESSAGE(kPing, OnPing)
END_MESSAGE_MAP()

TEST(Destruction, ASelfDeletingWindowIsDetachedBeforeItDeletesItself) {
  CallLog log;
  bool deleted = false;
  auto* wnd = new CSelfDeleting(&log, &deleted);
  ASSERT_TRUE(CreateTestWindow(*wnd));
  HWND h = wnd->m_hWnd;
  ::DestroyWindow(h);
  EXPECT_TRUE(deleted);
  EXPECT_EQ(log.Joined(), "ping:1,post-detached");
  EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
  PumpPending();  // the posted ping has no window to go to
  EXPECT_EQ(::SendMessageA(h, kPing, 3, 0), 0);
  EXPECT_EQ(log.Joined(), "ping:1,post-detached");
}

// Handles WM_NCDESTROY without chaining to CWnd's handler.
class CForgetfulWnd : public CWnd {
 public:
  explicit CForgetfulWnd(bool* deleted) : m_deleted(deleted) {}
  ~CForgetfulWnd() override { *m_deleted = true; }

 protected:
  void OnNcDestroy() {}
  void PostNcDestroy() override { delete this; }
  DECLARE_MESSAGE_MAP()
  bool* m_deleted;
};

BEGIN_MESSAGE_MAP(CForgetfulWnd, CWnd)
  ON_WM_NCDESTROY()
END_MESSAGE_MAP()

TEST(Destruction, AnObjectLetsGoOfItsWindowEvenWhenItsHandlerDoesNotChain) {
  bool deleted = false;
  auto* wnd = new CForgetfulWnd(&deleted);
  ASSERT_TRUE(CreateTestWindow(*wnd));
  HWND h = wnd->m_hWnd;
  ::DestroyWindow(h);
  EXPECT_TRUE(deleted);
  EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

class CPingChild : public CWnd {
 public:
  explicit CPingChild(CallLog* log) : m_log(log) {}

 protected:
  LRESULT OnPing(WPARAM w, LPARAM) {
    m_log->Add("child-ping:" + std::to_string(w));
    return 5;
  }
  DECLARE_MESSAGE_MAP()
  CallLog* m_log;
};

BEGIN_MESSAGE_MAP(CPingChild, CWnd)
  ON_MESSAGE(kPing, OnPing)
END_MESSAGE_MAP()

TEST(Destruction, DeletingAnObjectDestroysItsWindowAndLaterMessagesFindNoObject) {
  CallLog log;
  CWnd parent;
  ASSERT_TRUE(CreateTestWindow(parent));
  auto* child = new CPingChild(&log);
  ASSERT_TRUE(child->Create(nullptr, "", WS_VISIBLE, RECT{0, 0, 10, 10}, &parent, 20));
  HWND h = child->m_hWnd;
  EXPECT_EQ(::SendMessageA(h, kPing, 1, 0), 5);
  delete child;
  EXPECT_FALSE(::IsWindow(h));
  EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
  EXPECT_EQ(log.Joined(), "child-ping:1");
}

TEST(Destruction, AWindowWhoseObjectLetGoStillReachesItsOwnProcedure) {
  CWnd parent;
  ASSERT_TRUE(CreateTestWindow(parent));
  HWND hEdit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 50, 20, parent.m_hWnd, nullptr,
                                 nullptr, nullptr);
  {
    CPingChild edit(nullptr);
    ASSERT_TRUE(edit.SubclassWindow(hEdit));
    edit.Detach();  // lets go without giving the procedure back
  }
  ::SetWindowTextA(hEdit, "still an edit");
  char text[32] = "";
  ::GetWindowTextA(hEdit, text, sizeof text);
  EXPECT_STREQ(text, "still an edit");
  EXPECT_EQ(::SendMessageA(hEdit, kPing, 1, 0), 0);
}

}  // namespace

namespace {

std::vector<std::string> g_reported;
int RecordReport(LPCSTR text, UINT) {
  g_reported.push_back(text);
  return IDOK;
}

class CThrowingWnd : public CWnd {
 protected:
  LRESULT OnFileFault(WPARAM, LPARAM) {
    throw CFileException(CFileException::fileNotFound, -1, "missing.zbp");
  }
  LRESULT OnUserFault(WPARAM, LPARAM) { throw CUserException(); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
  ON_MESSAGE(WM_APP + 30, OnFileFault)
  ON_MESSAGE(WM_APP + 31, OnUserFault)
END_MESSAGE_MAP()

TEST(Exceptions, AFrameworkExceptionInAHandlerIsReportedAndGoesNoFurther) {
  g_reported.clear();
  AfxSetMessageBoxHandler(RecordReport);
  CThrowingWnd wnd;
  ASSERT_TRUE(CreateTestWindow(wnd));
  EXPECT_EQ(wnd.SendMessage(WM_APP + 30), 0);
  EXPECT_EQ(wnd.SendMessage(WM_APP + 31), 0);
  AfxSetMessageBoxHandler(nullptr);
  ASSERT_EQ(g_reported.size(), 1u) << "a user exception has been reported already";
  EXPECT_NE(g_reported[0].find("missing.zbp"), std::string::npos) << g_reported[0];
  EXPECT_TRUE(wnd.IsWindow());
}

}  // namespace
