// The resize engine: the edge arithmetic as tables of parent size changes, registrations (one by
// one, repeated, as tables), the deferred batch and what happens when the system refuses a step,
// size limits, and a resizable sheet that keeps its buttons and page anchored as it is sized.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/app/WinApp.h"
#include "toolkit/layout/TkResizePropertyPage.h"
#include "toolkit/layout/TkResizePropertySheet.h"
#include "toolkit/tests/layout/LayoutTestIds.h"

namespace {

// --- arithmetic --------------------------------------------------------------------------------

struct AdvanceCase {
  const char* why;
  CTkResizeRect factors;
  std::vector<int> steps;  // width growth of each step (height grows by the same)
  std::vector<LONG> lefts; // pixel left after each step
  std::vector<LONG> rights;
};

TEST(ResizeArithmetic, EdgesFollowTheirShareOfTheChangeAndKeepFractions) {
  const CTkResizeRect start(10, 10, 50, 30);
  const AdvanceCase cases[] = {
      {"half a change accumulates its fractions instead of losing them at every step",
       {0.5f, 0, 0.5f, 0}, {3, 3, 3}, {11, 13, 14}, {51, 53, 54}},
      {"a stretching child keeps its left edge and moves its right edge fully",
       {0, 0, 1, 1}, {20, -5}, {10, 10}, {70, 65}},
      {"a child at the right edge moves as a whole", {1, 0, 1, 0}, {7, 7}, {17, 24}, {57, 64}},
      {"no factors: the child stays whatever the parent does", {0, 0, 0, 0}, {100, -50}, {10, 10},
       {50, 50}},
  };
  for (const AdvanceCase& c : cases) {
    CTkResizeRect r = start;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      r = CTkResize::Advance(r, c.factors, c.steps[i], c.steps[i]);
      EXPECT_EQ(r.ToRect().left, c.lefts[i]) << c.why << " step " << i;
      EXPECT_EQ(r.ToRect().right, c.rights[i]) << c.why << " step " << i;
    }
  }
}

TEST(ResizeArithmetic, RectangleOperations) {
  CTkResizeRect a(0, 0, 10, 10), b(5, 5, 20, 20), apart(30, 30, 40, 40);
  EXPECT_TRUE(a.Intersect(b) == CTkResizeRect(5, 5, 10, 10));
  EXPECT_TRUE(a.Intersect(apart) == CTkResizeRect());  // no overlap is the empty rectangle
  EXPECT_FALSE(CTkResizeRect(5, 0, 4, 1).IsValid());
  CTkResizeRect neg(-1.7f, 2.9f, 3.2f, 4.99f);
  RECT rc = neg.ToRect();  // toward zero, not down
  EXPECT_EQ(rc.left, -1);
  EXPECT_EQ(rc.top, 2);
  EXPECT_EQ(rc.bottom, 4);
  EXPECT_DOUBLE_EQ(CTkResizeRect(1, 2, 4, 8).Width(), 3.0);
}

// --- a live parent -----------------------------------------------------------------------------

struct DeferLog {
  int begins = 0, defers = 0, ends = 0, setPos = 0;
  int failAt = -1;  // the defer call (0-based) that the system refuses
};
DeferLog g_defer;

HDWP WINAPI LogBegin(int n) {
  ++g_defer.begins;
  return ::BeginDeferWindowPos(n);
}
HDWP WINAPI LogDefer(HDWP h, HWND w, HWND after, int x, int y, int cx, int cy, UINT f) {
  if (g_defer.defers++ == g_defer.failAt) {
    // As the system does when it refuses: the batch is freed and null comes back.
    ::EndDeferWindowPos(h);
    return nullptr;
  }
  return ::DeferWindowPos(h, w, after, x, y, cx, cy, f);
}
BOOL WINAPI LogEnd(HDWP h) {
  ++g_defer.ends;
  return ::EndDeferWindowPos(h);
}
BOOL WINAPI LogSetPos(HWND w, HWND after, int x, int y, int cx, int cy, UINT f) {
  ++g_defer.setPos;
  return ::SetWindowPos(w, after, x, y, cx, cy, f);
}

class ResizeEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_saved = TkGetDeferPosCalls();
    TkGetDeferPosCalls() = {LogBegin, LogDefer, LogEnd, LogSetPos};
    g_defer = DeferLog();
    ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), "resize parent",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                  nullptr));
    // Children at client x = 10 + 40 * i, 30 wide and 20 high.
    for (int i = 0; i < 6; ++i) {
      ::CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 10 + 40 * i, 10, 30, 20, m_parent.m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirst + i)), nullptr, nullptr);
    }
  }
  void TearDown() override {
    TkGetDeferPosCalls() = m_saved;
    m_parent.DestroyWindow();
  }
  CRect ChildRect(int i) const {
    CRect rc;
    ::GetWindowRect(::GetDlgItem(m_parent.m_hWnd, kFirst + i), &rc);
    m_parent.ScreenToClient(&rc);
    return rc;
  }
  void Grow(int dx, int dy) {
    CRect rc;
    m_parent.GetWindowRect(&rc);
    m_parent.SetWindowPos(nullptr, 0, 0, rc.Width() + dx, rc.Height() + dy,
                          SWP_NOMOVE | SWP_NOZORDER);
  }

  static const int kFirst = 700;
  CWnd m_parent;
  TkDeferPosCalls m_saved{};
};

TEST_F(ResizeEngineTest, RegisteredChildrenFollowTheParentAndRepeatsAddTheirFactors) {
  CTkResize engine(&m_parent, TKRS_NOGRIP);
  engine.Init();
  engine.SetResize(kFirst + 0, 0, 0, 1, 0);
  engine.SetResize(kFirst + 0, 0, 0, 0, 1);  // the same child: one item, factors (0, 0, 1, 1)
  engine.SetResize(kFirst + 1, CTkResizePoint{1, 0}, CTkResizePoint{1, 0});
  ASSERT_EQ(engine.GetItemCount(), 2);
  EXPECT_TRUE(engine.GetItem(0)->m_factors == CTkResizeRect(0, 0, 1, 1));

  Grow(40, 20);
  engine.Size();
  EXPECT_EQ(ChildRect(0), CRect(10, 10, 80, 50));
  EXPECT_EQ(ChildRect(1), CRect(90, 10, 120, 30));
  EXPECT_EQ(ChildRect(2), CRect(90, 10, 120, 30));  // not registered: untouched
  EXPECT_EQ(g_defer.ends, 1);                        // one batch for all
  EXPECT_EQ(g_defer.setPos, 0);

  EXPECT_TRUE(engine.RemoveResize(kFirst + 1));
  EXPECT_FALSE(engine.RemoveResize(kFirst + 1));
  EXPECT_EQ(engine.GetItemCount(), 1);
}

TEST_F(ResizeEngineTest, ATableRegistersEveryEntryItHoldsNotJustFour) {
  CTkResize engine(&m_parent, TKRS_NOGRIP);
  engine.Init();
  const CTkResizeEntry table[] = {{kFirst + 0, 1, 0, 1, 0}, {kFirst + 1, 1, 0, 1, 0},
                                  {kFirst + 2, 1, 0, 1, 0}, {kFirst + 3, 1, 0, 1, 0},
                                  {kFirst + 4, 1, 0, 1, 0}, {kFirst + 5, 1, 0, 1, 0}};
  engine.SetResize(table);
  EXPECT_EQ(engine.GetItemCount(), 6);
  const CTkResizeEntry two[] = {{kFirst + 0, 0, 1, 0, 1}, {kFirst + 1, 0, 1, 0, 1}};
  CTkResize small(&m_parent, TKRS_NOGRIP);
  small.Init();
  small.SetResize(two);  // a shorter table reads nothing past its end
  EXPECT_EQ(small.GetItemCount(), 2);

  Grow(10, 0);
  engine.Size();
  for (int i = 0; i < 6; ++i) EXPECT_EQ(ChildRect(i).left, 20 + 40 * i) << i;
}

TEST_F(ResizeEngineTest, NoChangeMovesNothingAndARefusedStepStillPlacesEveryChild) {
  CTkResize engine(&m_parent, TKRS_NOGRIP);
  engine.Init();
  for (int i = 0; i < 3; ++i) engine.SetResize(kFirst + i, 1, 0, 1, 0);

  engine.Size();  // same size as at Init
  EXPECT_EQ(g_defer.begins + g_defer.defers + g_defer.setPos, 0);

  g_defer.failAt = 1;
  Grow(15, 0);
  engine.Size();
  // The refused batch is dead: never ended, and the children are placed one by one.
  EXPECT_EQ(g_defer.ends, 0);
  EXPECT_EQ(g_defer.setPos, 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ChildRect(i).left, 25 + 40 * i) << i;
}

TEST_F(ResizeEngineTest, LimitsComeFromInitAndTheFlags) {
  CRect rc;
  m_parent.GetWindowRect(&rc);
  struct Case {
    const char* why;
    DWORD flags;
    LONG minX, maxTrackX, maxTrackY;
  } cases[] = {
      {"the size at Init is the least size", 0, rc.Width(), 5000, 5000},
      {"unless the flag says otherwise", TKRS_NOMINSIZE, 1, 5000, 5000},
      {"a fixed width can be neither widened nor narrowed", TKRS_FIXEDWIDTH, rc.Width(), rc.Width(),
       5000},
      {"a fixed height", TKRS_FIXEDHEIGHT | TKRS_NOMINSIZE, 1, 5000, rc.Height()},
  };
  for (const Case& c : cases) {
    CTkResize engine(&m_parent, c.flags | TKRS_NOGRIP);
    MINMAXINFO mmi = {};
    mmi.ptMinTrackSize = {1, 1};
    mmi.ptMaxTrackSize = {5000, 5000};
    engine.GetMinMaxInfo(&mmi);
    EXPECT_EQ(mmi.ptMaxTrackSize.x, 5000) << c.why << ": nothing before Init";
    engine.Init();
    engine.GetMinMaxInfo(&mmi);
    EXPECT_EQ(mmi.ptMinTrackSize.x, c.minX) << c.why;
    EXPECT_EQ(mmi.ptMaxTrackSize.x, c.maxTrackX) << c.why;
    EXPECT_EQ(mmi.ptMaxTrackSize.y, c.maxTrackY) << c.why;
  }
}

TEST_F(ResizeEngineTest, TheGripSitsInTheCornerAndFollowsIt) {
  CTkResize engine(&m_parent, 0);
  engine.Init();
  ASSERT_NE(engine.GetGrip().GetSafeHwnd(), nullptr);
  EXPECT_EQ(engine.GetGrip().GetDlgCtrlID(), 0x7FFF);
  CRect client, grip;
  m_parent.GetClientRect(&client);
  engine.GetGrip().GetWindowRect(&grip);
  m_parent.ScreenToClient(&grip);
  EXPECT_EQ(grip.BottomRight(), client.BottomRight());
  Grow(30, 12);
  engine.Size();
  m_parent.GetClientRect(&client);
  engine.GetGrip().GetWindowRect(&grip);
  m_parent.ScreenToClient(&grip);
  EXPECT_EQ(grip.BottomRight(), client.BottomRight());
}

TEST_F(ResizeEngineTest, PlacementOfExactlyOneRecordIsRestoredAnythingElseIgnored) {
  CWinApp app("ZBPro");
  app.SetRegistryKey("Orvandel Labs, Inc.");
  CString section;
  section.Format("TkLayoutTest-%lu", GetCurrentProcessId());
  CTkResize engine(&m_parent, TKRS_NOGRIP);
  m_parent.SetWindowPos(nullptr, 50, 60, 320, 210, SWP_NOZORDER);
  engine.SavePlacement(section);
  m_parent.SetWindowPos(nullptr, 0, 0, 200, 150, SWP_NOZORDER);

  BYTE shortValue[40] = {};
  app.WriteProfileBinary(section + "-short", "WindowPlacement", shortValue, sizeof shortValue);
  engine.LoadPlacement(section + "-short");
  CRect rc;
  m_parent.GetWindowRect(&rc);
  EXPECT_EQ(rc.Width(), 200);

  engine.LoadPlacement(section);
  m_parent.GetWindowRect(&rc);
  EXPECT_EQ(rc, CRect(50, 60, 370, 270));
  CString root;
  root.Format("Software\\Orvandel Labs, Inc.\\ZBPro\\%s", section.GetString());
  ::RegDeleteTreeA(HKEY_CURRENT_USER, root);
  ::RegDeleteTreeA(HKEY_CURRENT_USER, root + "-short");
}

// --- a resizable sheet -------------------------------------------------------------------------

class CStretchPage : public CTkResizePropertyPage {
 public:
  CStretchPage() : CTkResizePropertyPage(IDD_TEST_RESIZE_PAGE) {}
  BOOL OnInitDialog() override {
    CTkResizePropertyPage::OnInitDialog();
    SetResize(IDC_TEST_LIST, 0, 0, 1, 1);
    SetResize(IDC_TEST_BUTTON, 1, 0, 1, 0);
    SetResize(IDC_TEST_GROUP, 1, 0, 1, 0);
    return TRUE;
  }
};

class CScriptedResizeSheet : public CTkResizePropertySheet {
 public:
  CScriptedResizeSheet() : CTkResizePropertySheet("Resizable") {}
  std::vector<std::function<void()>> steps;
  // A sizing border, as the sheets built on this one give themselves.
  BOOL OnInitDialog() override {
    ModifyStyle(0, WS_THICKFRAME, SWP_FRAMECHANGED);
    return CTkResizePropertySheet::OnInitDialog();
  }

 protected:
  LRESULT OnKickIdle(WPARAM, LPARAM) {
    if (m_next < steps.size()) steps[m_next++]();
    return m_next < steps.size();
  }
  DECLARE_MESSAGE_MAP()
  size_t m_next = 0;
};

BEGIN_MESSAGE_MAP(CScriptedResizeSheet, CTkResizePropertySheet)
  ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

CRect ClientRectOf(HWND hParent, HWND hChild) {
  CRect rc;
  ::GetWindowRect(hChild, &rc);
  ::MapWindowPoints(nullptr, hParent, reinterpret_cast<LPPOINT>(&rc), 2);
  return rc;
}

TEST(ResizableSheet, ButtonsKeepToTheCornerAndThePageStretchesThroughSizes) {
  CStretchPage page;
  CScriptedResizeSheet sheet;
  sheet.AddPage(&page);
  struct Snapshot {
    CRect client, ok, list, button, group;
  };
  std::vector<Snapshot> shots;
  BOOL groupTransparent = FALSE, buttonTransparent = TRUE, sizeInMenu = FALSE, grip = FALSE;
  auto shoot = [&] {
    Snapshot s;
    sheet.GetClientRect(&s.client);
    s.ok = ClientRectOf(sheet.m_hWnd, ::GetDlgItem(sheet.m_hWnd, IDOK));
    s.list = ClientRectOf(page.m_hWnd, ::GetDlgItem(page.m_hWnd, IDC_TEST_LIST));
    s.button = ClientRectOf(page.m_hWnd, ::GetDlgItem(page.m_hWnd, IDC_TEST_BUTTON));
    s.group = ClientRectOf(page.m_hWnd, ::GetDlgItem(page.m_hWnd, IDC_TEST_GROUP));
    shots.push_back(s);
  };
  auto grow = [&](int dx, int dy) {
    CRect rc;
    sheet.GetWindowRect(&rc);
    sheet.SetWindowPos(nullptr, 0, 0, rc.Width() + dx, rc.Height() + dy,
                       SWP_NOMOVE | SWP_NOZORDER);
  };
  sheet.steps = {[&] {
                   shoot();
                   groupTransparent = (::GetWindowLongA(::GetDlgItem(page.m_hWnd, IDC_TEST_GROUP),
                                                        GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
                   buttonTransparent = (::GetWindowLongA(::GetDlgItem(page.m_hWnd,
                                                                      IDC_TEST_BUTTON),
                                                         GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
                   grip = ::GetDlgItem(sheet.m_hWnd, 0x7FFF) != nullptr;
                   char text[32] = "";
                   sizeInMenu = ::GetMenuStringA(::GetSystemMenu(sheet.m_hWnd, FALSE), SC_SIZE,
                                                 text, sizeof text, MF_BYCOMMAND) > 0;
                   grow(60, 40);
                 },
                 [&] {
                   shoot();
                   grow(-30, -10);
                 },
                 [&] {
                   shoot();
                   grow(-200, -200);  // below the least size: refused
                 },
                 [&] {
                   shoot();
                   sheet.PressButton(PSBTN_CANCEL);
                 }};
  sheet.DoModal();
  ASSERT_EQ(shots.size(), 4u);
  EXPECT_TRUE(groupTransparent) << "a group box paints transparently";
  EXPECT_FALSE(buttonTransparent) << "a push button does not";
  EXPECT_TRUE(sizeInMenu);
  EXPECT_TRUE(grip) << "a sheet with a sizing border has a grip";
  for (size_t i = 1; i < shots.size(); ++i) {
    const Snapshot& a = shots[0];
    const Snapshot& b = shots[i];
    int dx = b.client.Width() - a.client.Width();
    int dy = b.client.Height() - a.client.Height();
    EXPECT_EQ(b.client.right - b.ok.right, a.client.right - a.ok.right) << "OK keeps to the right, shot " << i;
    EXPECT_EQ(b.client.bottom - b.ok.bottom, a.client.bottom - a.ok.bottom) << "and to the bottom, shot " << i;
    EXPECT_EQ(b.list.Width(), a.list.Width() + dx) << "the list stretches, shot " << i;
    EXPECT_EQ(b.list.Height(), a.list.Height() + dy) << i;
    EXPECT_EQ(b.button.left, a.button.left + dx) << "the button keeps to the page's right, shot " << i;
    EXPECT_EQ(b.button.Width(), a.button.Width()) << i;
  }
  EXPECT_EQ(shots[3].client, shots[0].client) << "never smaller than at the start";
}

}  // namespace
