// The toolkit's frame: colours that follow the system's, shortcut texts in popup menus, the
// toolbar the customise command is for, bar layouts checked before they are applied, and the
// frame's own window class.
#include <gtest/gtest.h>

#include <string>

#include "framework/docking/DockBar.h"
#include "framework/docview/CreateContext.h"
#include "framework/docview/View.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/frame/TkFrameWnd.h"
#include "toolkit/gdi/ColorValue.h"
#include "toolkit/tests/frame/FrameTestSupport.h"

namespace {

// A shortcut manager with a table of the test's own and no profile behind it.
class TestShortcuts : public CTkAccelManager {
 public:
  TestShortcuts() {
    m_bInitialized = TRUE;
    SetSaveOnDestroy(FALSE);
  }
  void SetActive(BOOL bActive) { m_bInitialized = bActive; }
};

std::string TextOf(HMENU menu, UINT id) {
  char text[128] = {};
  ::GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
  return text;
}

// A toolbar that counts the customise requests instead of opening the dialog.
class CountingToolBar : public CTkToolBar {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == TB_CUSTOMIZE) {
      ++m_customized;
      return 0;
    }
    return CTkToolBar::WindowProc(message, wParam, lParam);
  }
  int m_customized = 0;
};

class DockableBar : public CTkControlBar {
 public:
  BOOL Create(CWnd* parent, UINT id) {
    m_dwStyle = CBRS_TOP;
    CRect rect(0, 0, 0, 0);
    if (!CWnd::Create(AfxRegisterWndClass(0), "bar", WS_CHILD | WS_VISIBLE, rect, parent, id))
      return FALSE;
    EnableDocking(CBRS_ALIGN_ANY);
    return TRUE;
  }
  CSize CalcFixedLayout(BOOL, BOOL bHorz) override {
    return bHorz ? CSize(100, 24) : CSize(24, 100);
  }
};

int g_initialUpdates = 0;

class FirstView : public CView {
  DECLARE_DYNCREATE(FirstView)
};
IMPLEMENT_DYNCREATE(FirstView, CView)

class SecondView : public CView {
  DECLARE_DYNCREATE(SecondView)
 public:
  void OnInitialUpdate() override { ++g_initialUpdates; }
};
IMPLEMENT_DYNCREATE(SecondView, CView)

class TkFrameWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(tktest::LanguageModule(), nullptr);
    m_frame = new CTkFrameWnd;
    ASSERT_TRUE(m_frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                CRect(20, 20, 620, 420)));
  }
  void TearDown() override {
    if (::IsWindow(m_frame->m_hWnd)) m_frame->DestroyWindow();
  }
  tktest::ScratchApp m_app;
  CTkFrameWnd* m_frame = nullptr;
};

}  // namespace

TEST_F(TkFrameWndTest, ColoursAndMetricsAreReloadedOnColourAndSettingChanges) {
  for (UINT message : {static_cast<UINT>(WM_SYSCOLORCHANGE), static_cast<UINT>(WM_SETTINGCHANGE)}) {
    SCOPED_TRACE(message);
    int index = COLOR_BTNFACE;
    COLORREF old = ::GetSysColor(index);
    COLORREF changed = old == RGB(20, 120, 220) ? RGB(21, 120, 220) : RGB(20, 120, 220);
    ToolkitData().ReloadColors();
    ASSERT_TRUE(::SetSysColors(1, &index, &changed));
    // Setting the colours broadcasts the change itself; the frame must also take it by hand.
    ToolkitData().m_clrFace = old;
    m_frame->SendMessage(message);
    EXPECT_EQ(ToolkitData().m_clrFace, changed);
    EXPECT_EQ(ToolkitData().m_clrLightFace, COLORREF(ColorValue(changed) + 18));
    ::SetSysColors(1, &index, &old);
    ToolkitData().ReloadColors();
  }
  ToolkitData().m_cyMenu = -1;
  m_frame->SendMessage(WM_SETTINGCHANGE);
  EXPECT_EQ(ToolkitData().m_cyMenu, ::GetSystemMetrics(SM_CYMENU)) << "metrics follow settings";
}

TEST(TkShortcutTextsTest, EachItemShowsTheFirstKeyOfItsCommandOrNone) {
  HMENU popup = ::CreatePopupMenu();
  ::AppendMenuA(popup, MF_STRING, 101, "&Open\tCtrl+O");
  ::AppendMenuA(popup, MF_STRING, 102, "&Save");
  ::AppendMenuA(popup, MF_STRING, 103, "&Print\tCtrl+P");
  ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(popup, MF_STRING | MF_GRAYED | MF_CHECKED, 104, "E&xit");
  HMENU sub = ::CreatePopupMenu();
  ::AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More");
  TestShortcuts keys;
  keys.AddAccel(101, FVIRTKEY | FCONTROL, VK_F12);
  keys.AddAccel(101, FVIRTKEY | FCONTROL, 'O');
  keys.AddAccel(102, FVIRTKEY | FCONTROL, 'S');
  keys.AddAccel(104, FVIRTKEY | FALT, VK_F4);
  ApplyShortcutTexts(popup, keys);
  struct Case {
    const char* why;
    UINT id;
    const char* text;
  };
  const Case cases[] = {
      {"two keys: only the first", 101, "&Open\tCtrl+F12"},
      {"a key where there was none", 102, "&Save\tCtrl+S"},
      {"no key: the old key text goes", 103, "&Print"},
      {"a disabled item too", 104, "E&xit\tAlt+F4"},
  };
  for (const Case& c : cases) EXPECT_EQ(TextOf(popup, c.id), c.text) << c.why;
  EXPECT_TRUE(::GetMenuState(popup, 104, MF_BYCOMMAND) & MF_GRAYED) << "the state stays";
  EXPECT_TRUE(::GetMenuState(popup, 104, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(::GetMenuItemCount(popup), 6);

  // An inactive manager leaves the texts alone.
  keys.SetActive(FALSE);
  keys.RemoveAccel(FVIRTKEY | FCONTROL, 'S');
  keys.AddAccel(102, FVIRTKEY, VK_F2);
  ApplyShortcutTexts(popup, keys);
  EXPECT_EQ(TextOf(popup, 102), "&Save\tCtrl+S");
  ::DestroyMenu(popup);
}

TEST_F(TkFrameWndTest, ThePopupsOfTheFrameGetTheShortcutTexts) {
  TestShortcuts keys;
  keys.AddAccel(201, FVIRTKEY | FCONTROL, 'K');
  m_frame->m_pShortcuts = &keys;
  HMENU popup = ::CreatePopupMenu();
  ::AppendMenuA(popup, MF_STRING, 201, "&Keys");
  m_frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
  EXPECT_EQ(TextOf(popup, 201), "&Keys\tCtrl+K");
  m_frame->m_pShortcuts = nullptr;
  ::DestroyMenu(popup);
}

TEST_F(TkFrameWndTest, TheCustomiseCommandGoesToTheToolbarOfTheLastBarMenuOnce) {
  CountingToolBar toolBar;
  ASSERT_TRUE(toolBar.CreateEx(m_frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE850));
  DockableBar other;
  ASSERT_TRUE(other.Create(m_frame, 0xE851));
  const UINT message = CTkFrameWnd::GetBarContextMenuMessage();
  EXPECT_EQ(message, ::RegisterWindowMessageA("TkBarContextMenu"));

  // No toolbar remembered: nothing happens.
  m_frame->SendMessage(WM_COMMAND, ID_TK_CUSTOMIZE_TOOLBAR);
  EXPECT_EQ(toolBar.m_customized, 0);

  EXPECT_EQ(m_frame->SendMessage(message, reinterpret_cast<WPARAM>(&toolBar)), 0);
  EXPECT_EQ(CTkFrameWnd::GetRememberedToolBar(), &toolBar);
  m_frame->SendMessage(WM_COMMAND, ID_TK_CUSTOMIZE_TOOLBAR);
  EXPECT_EQ(toolBar.m_customized, 1);
  EXPECT_EQ(CTkFrameWnd::GetRememberedToolBar(), nullptr) << "forgotten once used";
  m_frame->SendMessage(WM_COMMAND, ID_TK_CUSTOMIZE_TOOLBAR);
  EXPECT_EQ(toolBar.m_customized, 1);

  // A bar that is not a toolbar, or none, clears the choice.
  m_frame->SendMessage(message, reinterpret_cast<WPARAM>(&toolBar));
  EXPECT_EQ(m_frame->SendMessage(message, reinterpret_cast<WPARAM>(static_cast<CControlBar*>(&other))), 0);
  EXPECT_EQ(CTkFrameWnd::GetRememberedToolBar(), nullptr);
  EXPECT_EQ(m_frame->SendMessage(message, 0), -1);
}

TEST_F(TkFrameWndTest, ALayoutNamingABarTheFrameNoLongerHasLeavesTheBarsWhereTheyAre) {
  m_frame->EnableDocking(CBRS_ALIGN_ANY);
  EXPECT_NE(m_frame->GetControlBar(AFX_IDW_DOCKBAR_TOP), nullptr);
  DockableBar a, b;
  ASSERT_TRUE(a.Create(m_frame, 0xE860));
  ASSERT_TRUE(b.Create(m_frame, 0xE861));
  m_frame->DockControlBar(&a, AFX_IDW_DOCKBAR_TOP);
  m_frame->DockControlBar(&b, AFX_IDW_DOCKBAR_TOP);
  m_frame->SaveBarState("TkLayout");
  ASSERT_EQ(m_app.App().GetProfileInt("TkLayout-Summary", "Bars", 0), 3u) << "the top dock bar and both bars";
  EXPECT_TRUE(m_frame->LoadBarState("TkLayout")) << "the frame's own layout is taken";

  b.DestroyWindow();
  ASSERT_EQ(m_frame->GetControlBar(0xE861), nullptr);
  m_frame->DockControlBar(&a, AFX_IDW_DOCKBAR_LEFT);
  m_frame->RecalcLayout();
  EXPECT_TRUE(a.IsLeftDocked());
  EXPECT_FALSE(m_frame->LoadBarState("TkLayout"));
  EXPECT_TRUE(a.IsLeftDocked()) << "untouched";
  EXPECT_FALSE(m_frame->LoadBarState("NoSuchLayout")) << "nothing stored, nothing applied";
}

TEST_F(TkFrameWndTest, TheFramesOwnClassCarriesTheIconAndNoCursorOrBackground) {
  CREATESTRUCTA cs = {};
  cs.style = WS_OVERLAPPEDWINDOW;
  ASSERT_TRUE(m_frame->PreCreateWindow(cs, 501));  // an icon of the language module
  ASSERT_NE(cs.lpszClass, nullptr);
  WNDCLASSA wc = {};
  ASSERT_TRUE(::GetClassInfoA(AfxGetInstanceHandle(), cs.lpszClass, &wc));
  EXPECT_EQ(wc.hCursor, nullptr);
  EXPECT_EQ(wc.hbrBackground, nullptr);
  EXPECT_EQ(wc.style, 0u);
  EXPECT_NE(wc.hIcon, nullptr);
}

TEST_F(TkFrameWndTest, ANewViewTakesTheFirstPaneAndTheOldOneGoes) {
  m_frame->DestroyWindow();
  m_frame = new CTkFrameWnd;
  CCreateContext context;
  context.m_pNewViewClass = RUNTIME_CLASS(FirstView);
  ASSERT_TRUE(m_frame->Create(nullptr, "views", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              CRect(20, 20, 420, 320), nullptr, nullptr, 0, &context));
  CWnd* first = CWnd::FromHandlePermanent(::GetDlgItem(m_frame->m_hWnd, AFX_IDW_PANE_FIRST));
  ASSERT_NE(first, nullptr);
  m_frame->SetActiveView(static_cast<CView*>(first));
  HWND oldWindow = first->m_hWnd;

  g_initialUpdates = 0;
  CView* second = m_frame->ReplaceView(RUNTIME_CLASS(SecondView));
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(second->IsKindOf(RUNTIME_CLASS(SecondView)));
  EXPECT_EQ(m_frame->GetActiveView(), second);
  EXPECT_EQ(second->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(g_initialUpdates, 1);
  EXPECT_FALSE(::IsWindow(oldWindow));
  CRect client, placed;
  m_frame->GetClientRect(&client);
  second->GetWindowRect(&placed);
  m_frame->ScreenToClient(&placed);
  EXPECT_EQ(placed, client) << "the new view fills the frame";
}

TEST_F(TkFrameWndTest, ABarDockedLeftOfAnotherJoinsItsRowOnItsRight) {
  m_frame->EnableDocking(CBRS_ALIGN_ANY);
  DockableBar a, b;
  ASSERT_TRUE(a.Create(m_frame, 0xE870));
  ASSERT_TRUE(b.Create(m_frame, 0xE871));
  m_frame->DockControlBar(&a, AFX_IDW_DOCKBAR_BOTTOM);
  m_frame->DockControlBarLeftOf(&b, &a);
  m_frame->RecalcLayout();
  EXPECT_TRUE(b.IsBottomDocked()) << "on the neighbour's side";
  CRect ra, rb;
  a.GetWindowRect(&ra);
  b.GetWindowRect(&rb);
  EXPECT_EQ(rb.top, ra.top) << "in the same row";
  EXPECT_GE(rb.left, ra.right);
}
