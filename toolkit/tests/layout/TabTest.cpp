// The tab control with hosted windows: the child rectangle for each side as a table, then a live
// control whose tabs are added, inserted, selected by keys and deleted, with only the selected
// tab's window shown, and long labels condensed before an ellipsis.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/controls/TkTabCtrl.h"

namespace {

TEST(TabArithmetic, TheHostedWindowFillsThePageBesideTheTabs) {
  const CRect client(0, 0, 200, 100);
  struct Case {
    const char* why;
    DWORD style;
    int rows;
    CRect child;
  } cases[] = {
      {"tabs on top, one row", 0, 1, CRect(3, 25, 197, 97)},
      {"two rows on top", TCS_MULTILINE, 2, CRect(3, 45, 197, 97)},
      {"tabs at the bottom", TCS_BOTTOM, 1, CRect(3, 3, 197, 75)},
      {"tabs on the left", TCS_VERTICAL, 1, CRect(55, 3, 197, 97)},
      {"tabs on the right", TCS_VERTICAL | TCS_RIGHT, 1, CRect(3, 3, 145, 97)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CTkFlatTabPainter::ChildRectFor(client, c.style, 50, 20, c.rows), c.child) << c.why;
  }
}

// The tab control's owner, which keeps the selection messages it is sent.
class CLoggingParent : public CWnd {
 public:
  std::vector<std::string> log;

 protected:
  LRESULT OnChanging(WPARAM id, LPARAM) {
    log.push_back("changing:" + std::to_string(id));
    return 0;
  }
  LRESULT OnChanged(WPARAM id, LPARAM) {
    log.push_back("changed:" + std::to_string(id));
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLoggingParent, CWnd)
  ON_MESSAGE(WM_TK_TAB_SELCHANGING, OnChanging)
  ON_MESSAGE(WM_TK_TAB_SELCHANGED, OnChanged)
END_MESSAGE_MAP()

class TabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), "tabs", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  0, 0, 400, 300, nullptr, nullptr));
    ASSERT_TRUE(m_tab.Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 380, 250),
                             &m_parent, 900));
  }
  void TearDown() override {
    m_parent.DestroyWindow();
    for (CWnd* w : m_windows) delete w;
  }
  CWnd* MakeWindow(const char* text) {
    auto* w = new CWnd;
    w->CreateEx(0, "STATIC", text, WS_CHILD, 0, 0, 10, 10, m_parent.m_hWnd, nullptr);
    m_windows.push_back(w);
    return w;
  }
  std::vector<std::string> Labels() const {
    std::vector<std::string> labels;
    for (int i = 0; i < m_tab.GetItemCount(); ++i) {
      char text[64] = "";
      TCITEMA item = {};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      m_tab.GetItem(i, &item);
      labels.push_back(text);
    }
    return labels;
  }
  // Which windows show, as their texts.
  std::string Shown() const {
    std::string shown;
    for (CWnd* w : m_windows) {
      if (w->GetSafeHwnd() && w->IsWindowVisible()) {
        CString text;
        w->GetWindowText(text);
        shown += text.GetString();
      }
    }
    return shown;
  }
  void Key(UINT vk, bool ctrl, bool shift) {
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(state);
    MSG msg = {m_tab.m_hWnd, WM_KEYDOWN, vk, 1, 0, {0, 0}};
    m_handled = m_tab.PreTranslateMessage(&msg);
    state[VK_CONTROL] = state[VK_SHIFT] = 0;
    ::SetKeyboardState(state);
  }

  CLoggingParent m_parent;
  CTkTabCtrl m_tab;
  std::vector<CWnd*> m_windows;
  BOOL m_handled = FALSE;
};

using Strings = std::vector<std::string>;

TEST_F(TabTest, AddedTabsAreSelectedAndOnlyTheSelectedWindowShows) {
  CWnd* a = MakeWindow("A");
  CWnd* b = MakeWindow("B");
  CWnd* c = MakeWindow("C");
  ASSERT_TRUE(m_tab.AddControl("Alpha", a));
  ASSERT_TRUE(m_tab.AddControl("Beta", b, -1));
  ASSERT_TRUE(m_tab.AddControl("Gamma", c, 1));  // inserted before Beta
  EXPECT_EQ(Labels(), (Strings{"Alpha", "Gamma", "Beta"}));
  EXPECT_EQ(m_tab.GetCurSel(), 1);
  EXPECT_EQ(m_tab.GetActiveTabWnd(), c);
  EXPECT_EQ(Shown(), "C");
  EXPECT_EQ(::GetParent(a->m_hWnd), m_tab.m_hWnd) << "a hosted window becomes the control's child";
  CRect expected, rc;
  m_tab.GetChildRect(expected);
  c->GetWindowRect(&rc);
  m_tab.ScreenToClient(&rc);
  EXPECT_EQ(rc, expected);
  EXPECT_FALSE(a->IsWindowEnabled());

  m_tab.SetActiveTab(b);
  EXPECT_EQ(Shown(), "B");
  EXPECT_TRUE(b->IsWindowEnabled());
  EXPECT_STREQ(m_tab.GetTabLabel(2), "Beta");
  EXPECT_EQ(m_tab.GetTabLabel(-1), nullptr);
  EXPECT_EQ(m_tab.GetTabWnd(7), nullptr);
}

TEST_F(TabTest, AClickOnATabSwitchesTheHostedWindowsAndTellsTheOwner) {
  m_tab.AddControl("A", MakeWindow("A"));
  m_tab.AddControl("B", MakeWindow("B"));
  m_tab.SetActiveTab(0);
  m_parent.log.clear();
  // What the control reports around a click on the second tab.
  NMHDR nm = {m_tab.m_hWnd, 900, static_cast<UINT>(TCN_SELCHANGING)};
  m_parent.SendMessage(WM_NOTIFY, 900, reinterpret_cast<LPARAM>(&nm));
  m_tab.SetCurSel(1);
  nm.code = static_cast<UINT>(TCN_SELCHANGE);
  m_parent.SendMessage(WM_NOTIFY, 900, reinterpret_cast<LPARAM>(&nm));
  EXPECT_EQ(Shown(), "B");
  EXPECT_EQ(m_parent.log, (Strings{"changing:900", "changed:900"}));
}

TEST_F(TabTest, KeysCycleTheTabs) {
  m_tab.AddControl("A", MakeWindow("A"));
  m_tab.AddControl("B", MakeWindow("B"));
  m_tab.AddControl("C", MakeWindow("C"));
  m_tab.SetActiveTab(0);
  struct Step {
    const char* why;
    UINT vk;
    bool ctrl, shift;
    BOOL handled;
    int sel;
  } steps[] = {
      {"F6 without Ctrl goes on", VK_F6, false, false, TRUE, 1},
      {"Ctrl+Tab goes on", VK_TAB, true, false, TRUE, 2},
      {"and wraps to the first", VK_F6, false, false, TRUE, 0},
      {"Shift goes back, wrapping to the last", VK_TAB, true, true, TRUE, 2},
      {"Tab alone is not the control's", VK_TAB, false, false, FALSE, 2},
  };
  for (const Step& s : steps) {
    Key(s.vk, s.ctrl, s.shift);
    EXPECT_EQ(m_handled, s.handled) << s.why;
    EXPECT_EQ(m_tab.GetCurSel(), s.sel) << s.why;
  }
}

TEST_F(TabTest, DeletingATabSelectsItsNeighbour) {
  for (const char* t : {"A", "B", "C", "D"}) m_tab.AddControl(t, MakeWindow(t));
  m_tab.SetActiveTab(0);
  m_tab.DeleteTab(0, FALSE);  // the selected first tab: the new first one
  EXPECT_EQ(Labels(), (Strings{"B", "C", "D"}));
  EXPECT_EQ(m_tab.GetCurSel(), 0);
  EXPECT_EQ(Shown(), "B");
  m_tab.DeleteTab(2, TRUE);  // the last tab: the new last one, its window destroyed
  EXPECT_EQ(m_tab.GetCurSel(), 1);
  EXPECT_EQ(m_windows[3]->GetSafeHwnd(), nullptr);
  m_tab.DeleteTab(1, FALSE);
  EXPECT_EQ(m_tab.GetCurSel(), 0);
  m_tab.DeleteTab(0, FALSE);  // the only tab: no selection
  EXPECT_EQ(m_tab.GetItemCount(), 0);
  EXPECT_EQ(m_tab.GetCurSel(), -1);
  m_tab.DeleteTab(0, FALSE);  // nothing there: nothing happens
  EXPECT_EQ(m_tab.GetTabCount(), 0);
}

TEST_F(TabTest, LongLabelsShrinkBeforeAnEllipsisButNotBelowTheLeast) {
  m_tab.SetWindowPos(nullptr, 0, 0, 200, 200, SWP_NOMOVE | SWP_NOZORDER);
  m_tab.AddControl("A rather long first label", MakeWindow("1"));
  m_tab.AddControl("Short", MakeWindow("2"));
  m_tab.AddControl("Another very long label here", MakeWindow("3"));
  m_tab.SetCondenseLabels(TRUE);
  Strings labels = Labels();
  EXPECT_EQ(labels[1], "Short") << "the widest labels shrink first";
  for (int i : {0, 2}) {
    EXPECT_EQ(labels[static_cast<size_t>(i)].substr(labels[static_cast<size_t>(i)].size() - 3), "...") << i;
    EXPECT_GT(labels[static_cast<size_t>(i)].size(), 3u) << "never below six average characters";
  }
}

}  // namespace
