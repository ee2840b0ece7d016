// Hook chains on a real window (under the X display): who sees a message and in which order,
// chains taken apart in any order, messages changed or swallowed on the way, the window's last
// message, and the thread's record of the current message while hooks run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/wnd/Wnd.h"
#include "toolkit/services/TkWndHook.h"

namespace {

const UINT kProbe = WM_USER + 77;
const UINT kNested = WM_USER + 78;

std::vector<std::string> g_log;
LPARAM g_ownLParam = 0;
int g_ownNcDestroy = 0;
LONG_PTR g_procAtNcDestroy = 0;

LRESULT CALLBACK OwnProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) {
    g_log.push_back("own");
    g_ownLParam = lParam;
    return 1000;
  }
  if (message == WM_NCDESTROY) {
    ++g_ownNcDestroy;
    g_procAtNcDestroy = ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
  }
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

// Logs the probe and the window's destruction messages under its name, then passes them on.
class LogHook : public CTkWndHook {
 public:
  explicit LogHook(const char* name) : m_name(name) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kProbe) g_log.push_back(m_name);
    if (message == WM_DESTROY) g_log.push_back(m_name + ":destroy");
    if (message == WM_NCDESTROY) g_log.push_back(m_name + ":ncdestroy");
    return CTkWndHook::WindowProc(message, wParam, lParam);
  }
  std::string m_name;
};

class WndHookTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "TkHookTestWnd";
    ::RegisterClassA(&wc);
  }
  void SetUp() override {
    g_log.clear();
    g_ownNcDestroy = 0;
    m_hWnd = ::CreateWindowA("TkHookTestWnd", "hooked", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                             nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(m_hWnd, nullptr);
  }
  void TearDown() override {
    if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
  }
  std::vector<std::string> Probe(LPARAM lParam = 0) {
    g_log.clear();
    ::SendMessageA(m_hWnd, kProbe, 0, lParam);
    return g_log;
  }
  LONG_PTR Proc() const { return ::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC); }

  HWND m_hWnd = nullptr;
};

using Log = std::vector<std::string>;

}  // namespace

TEST_F(WndHookTest, HooksSeeMessagesNewestFirstThenTheWindow) {
  LogHook a("A"), b("B"), c("C");
  EXPECT_TRUE(a.HookWindow(m_hWnd));
  EXPECT_EQ(Proc(), reinterpret_cast<LONG_PTR>(HookWndProc));
  b.HookWindow(m_hWnd);
  c.HookWindow(m_hWnd);
  EXPECT_TRUE(c.IsHooked());
  EXPECT_EQ(TkGetWindowMap().Lookup(m_hWnd), &c);
  EXPECT_EQ(Probe(), (Log{"C", "B", "A", "own"}));
  EXPECT_EQ(::SendMessageA(m_hWnd, kProbe, 0, 0), 1000) << "the window's answer comes back";
  // Every hook of the chain holds the window's own procedure.
  EXPECT_EQ(a.m_pOldWndProc, OwnProc);
  EXPECT_EQ(b.m_pOldWndProc, OwnProc);
  EXPECT_EQ(c.m_pOldWndProc, OwnProc);
}

TEST_F(WndHookTest, ChainsComeApartInAnyOrder) {
  const char* names = "ABC";
  std::vector<int> order = {0, 1, 2};
  do {
    LogHook hooks[3] = {LogHook("A"), LogHook("B"), LogHook("C")};
    for (LogHook& h : hooks) h.HookWindow(m_hWnd);
    std::string removed;
    for (int i : order) {
      hooks[i].HookWindow(static_cast<HWND>(nullptr));
      removed += names[i];
      EXPECT_FALSE(hooks[i].IsHooked());
      EXPECT_EQ(hooks[i].m_pOldWndProc, nullptr);
      Log expected;
      for (int j = 2; j >= 0; --j) {
        if (removed.find(names[j]) == std::string::npos) expected.push_back(hooks[j].m_name);
      }
      expected.push_back("own");
      EXPECT_EQ(Probe(), expected) << "after removing " << removed;
    }
    EXPECT_EQ(Proc(), reinterpret_cast<LONG_PTR>(OwnProc)) << "own procedure back";
    EXPECT_EQ(TkGetWindowMap().Lookup(m_hWnd), nullptr);
  } while (std::next_permutation(order.begin(), order.end()));

  // A hook taken off can go on again, at the head.
  LogHook a("A"), b("B");
  a.HookWindow(m_hWnd);
  b.HookWindow(m_hWnd);
  a.HookWindow(static_cast<HWND>(nullptr));
  a.HookWindow(m_hWnd);
  EXPECT_EQ(Probe(), (Log{"A", "B", "own"}));
}

TEST_F(WndHookTest, ADestroyedHookLeavesTheChain) {
  LogHook a("A");
  a.HookWindow(m_hWnd);
  {
    LogHook b("B");
    b.HookWindow(m_hWnd);
    EXPECT_EQ(Probe(), (Log{"B", "A", "own"}));
  }
  EXPECT_EQ(Probe(), (Log{"A", "own"}));
  {
    LogHook only("X");
    a.HookWindow(static_cast<HWND>(nullptr));
    only.HookWindow(m_hWnd);
  }
  EXPECT_EQ(Proc(), reinterpret_cast<LONG_PTR>(OwnProc));
}

TEST_F(WndHookTest, MessagesChangedOrSwallowedOnTheWay) {
  // Changes lParam before passing on: the older ones and the window see the new value.
  class Changer : public LogHook {
   public:
    Changer() : LogHook("change") {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == kProbe) lParam = MAKELPARAM(7, HIWORD(lParam));
      return LogHook::WindowProc(message, wParam, lParam);
    }
  };
  // Answers the probe itself when wParam asks for it.
  class Swallower : public LogHook {
   public:
    Swallower() : LogHook("swallow") {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == kProbe && wParam == 1) return 55;
      return LogHook::WindowProc(message, wParam, lParam);
    }
  };
  LogHook oldest("oldest");
  Changer changer;
  Swallower swallower;
  oldest.HookWindow(m_hWnd);
  changer.HookWindow(m_hWnd);
  EXPECT_EQ(Probe(MAKELPARAM(3, 1)), (Log{"change", "oldest", "own"}));
  EXPECT_EQ(g_ownLParam, MAKELPARAM(7, 1)) << "the high word stays, the low word changed";

  swallower.HookWindow(m_hWnd);
  g_log.clear();
  EXPECT_EQ(::SendMessageA(m_hWnd, kProbe, 1, 0), 55);
  EXPECT_TRUE(g_log.empty()) << "nobody after the swallowing hook saw it";
  EXPECT_EQ(Probe(), (Log{"swallow", "change", "oldest", "own"}));
}

TEST_F(WndHookTest, TheLastMessageReachesTheWindowOnceWithEveryHookOff) {
  LogHook a("A"), b("B"), c("C");
  a.HookWindow(m_hWnd);
  b.HookWindow(m_hWnd);
  c.HookWindow(m_hWnd);
  g_log.clear();
  ::DestroyWindow(m_hWnd);
  EXPECT_EQ(g_ownNcDestroy, 1);
  EXPECT_EQ(g_procAtNcDestroy, reinterpret_cast<LONG_PTR>(OwnProc));
  EXPECT_EQ(g_log, (Log{"C:destroy", "B:destroy", "A:destroy"})) << "no hook sees WM_NCDESTROY";
  EXPECT_FALSE(a.IsHooked());
  EXPECT_FALSE(b.IsHooked());
  EXPECT_FALSE(c.IsHooked());
  EXPECT_EQ(TkGetWindowMap().Lookup(m_hWnd), nullptr);
}

TEST_F(WndHookTest, HooksSeeTheCurrentMessageAndItIsRestored) {
  // Records what the thread's current message says while it handles the probe, sends a nested
  // message from inside, and looks again after the nested one returned.
  class Reader : public CTkWndHook {
   public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == kProbe) {
        m_seen.push_back(*AfxGetCurrentMessage());
        ::SendMessageA(m_hWnd, kNested, 5, 6);
        m_seen.push_back(*AfxGetCurrentMessage());
      } else if (message == kNested) {
        m_seen.push_back(*AfxGetCurrentMessage());
        // Default passes the message the record names, which is this one.
        return Default();
      }
      return CTkWndHook::WindowProc(message, wParam, lParam);
    }
    std::vector<MSG> m_seen;
  };
  Reader reader;
  reader.HookWindow(m_hWnd);
  MSG* record = AfxGetCurrentMessage();
  *record = MSG{reinterpret_cast<HWND>(0x1234), WM_NULL, 9, 10, 11, {12, 13}};
  const MSG before = *record;
  EXPECT_EQ(::SendMessageA(m_hWnd, kProbe, 1, 2), 1000);
  ASSERT_EQ(reader.m_seen.size(), 3u);
  struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const char* why;
  };
  const Seen expected[] = {{kProbe, 1, 2, "the probe while it is handled"},
                           {kNested, 5, 6, "the nested message inside it"},
                           {kProbe, 1, 2, "the probe again after the nested one"}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(reader.m_seen[i].hwnd, m_hWnd) << expected[i].why;
    EXPECT_EQ(reader.m_seen[i].message, expected[i].message) << expected[i].why;
    EXPECT_EQ(reader.m_seen[i].wParam, expected[i].wParam) << expected[i].why;
    EXPECT_EQ(reader.m_seen[i].lParam, expected[i].lParam) << expected[i].why;
  }
  EXPECT_EQ(std::memcmp(record, &before, sizeof before), 0) << "all of the record restored";
}

TEST_F(WndHookTest, AHookTakenOffWhileHandlingStillPassesTheMessageOn) {
  class Leaver : public LogHook {
   public:
    Leaver() : LogHook("leaver") {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == kProbe) HookWindow(static_cast<HWND>(nullptr));
      return LogHook::WindowProc(message, wParam, lParam);
    }
  };
  Leaver leaver;
  leaver.HookWindow(m_hWnd);
  EXPECT_EQ(Probe(), (Log{"leaver", "own"}));
  EXPECT_EQ(Proc(), reinterpret_cast<LONG_PTR>(OwnProc));
  EXPECT_EQ(Probe(), (Log{"own"}));

  // Also when newer hooks stay on: the window's own procedure is still reached, once.
  LogHook newer("newer");
  leaver.HookWindow(m_hWnd);
  newer.HookWindow(m_hWnd);
  // The leaver is the oldest: it has no next hook and its previous procedure is cleared.
  EXPECT_EQ(Probe(), (Log{"newer", "leaver", "own"}));
  EXPECT_EQ(Probe(), (Log{"newer", "own"}));
}

TEST_F(WndHookTest, AFrameworkWindowCanBeHooked) {
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "fw", WS_OVERLAPPED, CRect(0, 0, 50, 50),
                           nullptr, 0));
  LogHook hook("fw-hook");
  hook.HookWindow(&wnd);
  EXPECT_EQ(hook.m_hWnd, wnd.m_hWnd);
  g_log.clear();
  EXPECT_EQ(wnd.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("changed")), TRUE);
  char text[32] = "";
  ::GetWindowTextA(wnd.m_hWnd, text, sizeof text);
  EXPECT_STREQ(text, "changed") << "the framework's own handling still runs";
  wnd.DestroyWindow();
  EXPECT_FALSE(hook.IsHooked());
}
