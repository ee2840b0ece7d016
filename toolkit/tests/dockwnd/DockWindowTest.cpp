// Docking windows in a test frame: their sizes docked and floating, a drag that floats one and a
// drag that docks it again, the double-click toggle, the caption buttons, the saved sizes, the
// glyphs they share with their buttons, a floating toolbar's frame and the tab control bar.
#include <gtest/gtest.h>

#include <vector>

#include "framework/controls/Static.h"
#include "framework/docking/DockBar.h"
#include "framework/docview/View.h"
#include "framework/wnd/MessageMap.h"
#include "resources/ids/ToolkitDockWndIds.h"
#include "toolkit/bars/TkExpMenuWnd.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/docking/TkDockBar.h"
#include "toolkit/docking/float/TkDockContext.h"
#include "toolkit/docking/float/TkMiniDockFrameWnd.h"
#include "toolkit/docking/window/TkBarButton.h"
#include "toolkit/docking/window/TkDockWindow.h"
#include "toolkit/docking/window/TkTabCtrlBar.h"
#include "toolkit/frame/TkFrameWnd.h"
#include "toolkit/services/TkProfileStore.h"
#include "toolkit/tests/frame/FrameTestSupport.h"

namespace {

constexpr DWORD kCaptionStyle = TKDW_GRIPPER | TKDW_TITLE | TKDW_BUTTONS | TKDW_CAPTION;

// Records the tab selection messages a bar sends its owner.
class OwnerRecorder : public CWnd {
 public:
  BOOL Make() {
    return CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_TK_TAB_SELCHANGED || message == WM_TK_TAB_SELCHANGING)
      m_seen.push_back({message, wParam});
    return CWnd::WindowProc(message, wParam, lParam);
  }
  struct Seen {
    UINT message;
    WPARAM wParam;
  };
  std::vector<Seen> m_seen;
};

class PaneView : public CView {
  DECLARE_DYNCREATE(PaneView)
};
IMPLEMENT_DYNCREATE(PaneView, CView)

// A docking window that asks to be dragged whole: every move docks or floats the real window.
class LiveDockWindow : public CTkDockWindow {
 public:
  BOOL WantsFullWindowDrag() override { return TRUE; }
};

class TkDockWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(tktest::LanguageModule(), nullptr);
    m_frame = new CTkFrameWnd;
    ASSERT_TRUE(m_frame->Create(nullptr, "docking", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                CRect(20, 20, 620, 460)));
    EnableFrameDocking();
    m_frame->m_pFloatingFrameClass = RUNTIME_CLASS(CTkMiniDockFrameWnd);
  }
  // The framework's dock bars: the docking window works on any dock bar, and these tests
  // measure it alone.
  virtual void EnableFrameDocking() { m_frame->CFrameWnd::EnableDocking(CBRS_ALIGN_ANY); }
  void TearDown() override {
    if (::IsWindow(m_frame->m_hWnd)) m_frame->DestroyWindow();
    tktest::Pump();
  }
  // A docking window of 100 x 200 standing, docked at the side given.
  CTkDockWindow* Dock(UINT id, UINT dockBarId, DWORD tkStyle = kCaptionStyle,
                      const CRect* rect = nullptr) {
    auto* bar = new CTkDockWindow;
    bar->m_bAutoDelete = TRUE;
    if (!bar->Create(m_frame, id, "Pane", 100, 200, WS_CHILD | WS_VISIBLE | CBRS_LEFT, tkStyle)) {
      delete bar;
      return nullptr;
    }
    bar->EnableDocking(CBRS_ALIGN_ANY);
    m_frame->DockControlBar(bar, dockBarId, rect);
    m_frame->RecalcLayout();
    tktest::Pump();
    return bar;
  }
  CPoint ClientCentre() {
    CRect client;
    m_frame->GetClientRect(&client);
    CPoint centre = client.CenterPoint();
    m_frame->ClientToScreen(&centre);
    return centre;
  }
  CDockBar* DockBar(UINT id) { return static_cast<CDockBar*>(m_frame->GetControlBar(id)); }
  // Runs a drag of the bar from `from` (screen) to `to`: the mouse is already at `to` when the
  // loop takes its one move and the release.
  static void QueueDragTo(CControlBar* bar, CPoint to) {
    ::SetCursorPos(to.x, to.y);
    CPoint client = to;
    bar->ScreenToClient(&client);
    bar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    bar->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
  }

  tktest::ScratchApp m_app;
  CTkFrameWnd* m_frame = nullptr;
};

}  // namespace

TEST_F(TkDockWindowTest, SizesFollowTheEdgeItIsCreatedForAndTheOtherOrientationLiesAcross) {
  struct Case {
    DWORD style;
    CSize vert, horz, floating;
  };
  const Case cases[] = {
      {CBRS_TOP, CSize(100, 200), CSize(200, 100), CSize(100, 100)},
      {CBRS_BOTTOM, CSize(100, 200), CSize(200, 100), CSize(100, 100)},
      {CBRS_LEFT, CSize(200, 100), CSize(100, 200), CSize(100, 100)},
      {CBRS_RIGHT, CSize(200, 100), CSize(100, 200), CSize(100, 100)},
  };
  for (const Case& c : cases) {
    CTkDockWindow bar;
    ASSERT_TRUE(bar.Create(m_frame, 0xE901, "Pane", 200, 100, WS_CHILD | WS_VISIBLE | c.style));
    EXPECT_EQ(bar.VertSize(), c.vert) << c.style;
    EXPECT_EQ(bar.HorzSize(), c.horz) << c.style;
    EXPECT_EQ(bar.FloatSize(), c.floating) << c.style;
    EXPECT_EQ(bar.CurrentSize(), CSize(200, 100)) << c.style;
    EXPECT_EQ(bar.GetBarStyle() & (CBRS_FLOAT_MULTI | CBRS_HIDE_INPLACE | CBRS_SIZE_DYNAMIC),
              static_cast<DWORD>(CBRS_FLOAT_MULTI | CBRS_HIDE_INPLACE | CBRS_SIZE_DYNAMIC));
    bar.DestroyWindow();
  }
}

TEST_F(TkDockWindowTest, DockedItTakesItsSizeForThatEdgeAndItsChildFillsTheInside) {
  CTkDockWindow* bar = Dock(0xE901, AFX_IDW_DOCKBAR_LEFT);
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->IsLeftDocked());
  CRect window;
  bar->GetWindowRect(&window);
  EXPECT_EQ(window.Size(), CSize(100, 200));
  EXPECT_EQ(bar->GetMinLength(), 24);

  CStatic child;
  ASSERT_TRUE(child.Create("child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), bar, 1));
  bar->SetChild(&child);
  bar->SetWindowPos(nullptr, 0, 0, 100, 190, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CRect inside, placed;
  bar->GetInsideRect(inside);
  inside.DeflateRect(1, 1);
  child.GetWindowRect(&placed);
  bar->ScreenToClient(&placed);
  EXPECT_EQ(placed, inside);
  EXPECT_EQ(placed, CRect(4, 23, 96, 183));
}

TEST_F(TkDockWindowTest, ADragAwayFromTheDockBarsFloatsItAndADragOntoAnEmptyEdgeDocksIt) {
  CTkDockWindow* bar = Dock(0xE901, AFX_IDW_DOCKBAR_LEFT);
  ASSERT_NE(bar, nullptr);
  CRect docked;
  bar->GetWindowRect(&docked);

  // Pressed on the caption, released in the middle of the frame.
  QueueDragTo(bar, ClientCentre());
  bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  tktest::Pump();
  ASSERT_FALSE(bar->IsLeftDocked());
  CWnd* frame = bar->GetParentFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->IsKindOf(RUNTIME_CLASS(CTkMiniDockFrameWnd)));
  CRect floating;
  bar->GetWindowRect(&floating);
  EXPECT_EQ(floating.Size(), CSize(100, 100)) << "floating, it takes its floating size";
  // A toggle would bring it back to where the drag started.
  auto* context = static_cast<CTkDockContext*>(bar->m_pDockContext);
  EXPECT_EQ(context->m_uMRUDockID, static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));

  // The frame's caption pressed, released within four pixels of the empty right edge.
  CRect client;
  m_frame->GetClientRect(&client);
  m_frame->ClientToScreen(&client);
  CRect frameRect;
  frame->GetWindowRect(&frameRect);
  QueueDragTo(bar, CPoint(client.right - 2, client.CenterPoint().y));
  frame->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION,
                     MAKELPARAM(frameRect.left + 20, frameRect.top + 5));
  tktest::Pump();
  EXPECT_TRUE(bar->IsRightDocked());
  CRect redocked;
  bar->GetWindowRect(&redocked);
  EXPECT_EQ(redocked.Width(), 100);
}

TEST_F(TkDockWindowTest, TheDragEndsWhereTheReleaseIsUnlessCancelledOrHeldFloatingByCtrl) {
  enum Where { kLeft, kRight, kFloating };
  struct Case {
    const char* why;
    bool toRightEdge;  // else the middle of the frame
    UINT before;       // a message queued before the move (0: none)
    WPARAM beforeKey;
    UINT end;          // the message that ends the loop
    WPARAM endKey;
    Where expected;
  };
  const Case cases[] = {
      {"released over the empty right edge", true, 0, 0, WM_LBUTTONUP, 0, kRight},
      {"released in the middle", false, 0, 0, WM_LBUTTONUP, 0, kFloating},
      {"Ctrl held over the right edge keeps it floating", true, WM_KEYDOWN, VK_CONTROL,
       WM_LBUTTONUP, 0, kFloating},
      {"Esc puts it back", false, 0, 0, WM_KEYDOWN, VK_ESCAPE, kLeft},
      {"the right button cancels", true, 0, 0, WM_RBUTTONDOWN, 0, kLeft},
      {"a move with the button up cancels", true, 0, 0, WM_MOUSEMOVE, 0, kLeft},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CTkDockWindow* bar = Dock(0xE901, AFX_IDW_DOCKBAR_LEFT);
    ASSERT_NE(bar, nullptr);
    CRect client;
    m_frame->GetClientRect(&client);
    m_frame->ClientToScreen(&client);
    CPoint to = c.toRightEdge ? CPoint(client.right - 2, client.CenterPoint().y) : ClientCentre();
    ::SetCursorPos(to.x, to.y);
    CPoint local = to;
    bar->ScreenToClient(&local);
    if (c.before) bar->PostMessage(c.before, c.beforeKey, 0);
    bar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(local.x, local.y));
    bar->PostMessage(c.end, c.endKey, MAKELPARAM(local.x, local.y));
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    tktest::Pump();
    Where where = bar->IsLeftDocked() ? kLeft : bar->IsRightDocked() ? kRight : kFloating;
    EXPECT_EQ(where, c.expected);
    EXPECT_EQ(::GetCapture(), nullptr) << "the loop lets the mouse go";
    CWnd* floating = bar->IsSideFloating() ? bar->GetParentFrame() : nullptr;
    bar->DestroyWindow();
    if (floating && ::IsWindow(floating->m_hWnd)) floating->DestroyWindow();
    tktest::Pump();
  }
}

TEST_F(TkDockWindowTest, TheDragOutlineLeavesNoTraceOnTheScreen) {
  struct Case {
    const char* why;
    bool toRightEdge;  // the outline of a docked place (drawn white), else a floating one
  };
  const Case cases[] = {{"over a dock bar", true}, {"floating", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CTkDockWindow* bar = Dock(0xE901, AFX_IDW_DOCKBAR_LEFT);
    ASSERT_NE(bar, nullptr);
    m_frame->UpdateWindow();
    tktest::Pump();
    CRect client;
    m_frame->GetClientRect(&client);
    m_frame->ClientToScreen(&client);
    CPoint to = c.toRightEdge ? CPoint(client.right - 2, client.CenterPoint().y) : ClientCentre();
    // The screen along a line through the outline's place, before and after.
    auto row = [&client]() {
      std::vector<COLORREF> pixels;
      HDC screen = ::GetDC(nullptr);
      for (int x = client.left + 110; x < client.right; x += 3)
        pixels.push_back(::GetPixel(screen, x, client.CenterPoint().y));
      ::ReleaseDC(nullptr, screen);
      return pixels;
    };
    std::vector<COLORREF> before = row();
    ::SetCursorPos(to.x, to.y);
    bar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, 0);
    bar->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    tktest::Pump();
    EXPECT_TRUE(bar->IsLeftDocked());
    EXPECT_EQ(row(), before);
    bar->DestroyWindow();
    tktest::Pump();
  }
}

TEST_F(TkDockWindowTest, ALiveDragCancelledPutsTheWindowBackWhereItStarted) {
  enum Where { kLeft, kRight, kFloating };
  struct Case {
    const char* why;
    bool startFloating;
    UINT end;
    WPARAM endKey;
    Where expected;
  };
  const Case cases[] = {
      {"released over the right edge, it stays there", false, WM_LBUTTONUP, 0, kRight},
      {"Esc after it went to the right edge: back on the left", false, WM_KEYDOWN, VK_ESCAPE,
       kLeft},
      {"Esc for a window that started floating: floating again", true, WM_KEYDOWN, VK_ESCAPE,
       kFloating},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    auto* bar = new LiveDockWindow;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->Create(m_frame, 0xE901, "Pane", 100, 200, WS_CHILD | WS_VISIBLE | CBRS_LEFT,
                            kCaptionStyle));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    m_frame->DockControlBar(bar, AFX_IDW_DOCKBAR_LEFT);
    m_frame->RecalcLayout();
    if (c.startFloating) bar->m_pDockContext->ToggleDocking();
    tktest::Pump();
    CRect client;
    m_frame->GetClientRect(&client);
    m_frame->ClientToScreen(&client);
    CPoint to(client.right - 2, client.CenterPoint().y);
    ::SetCursorPos(to.x, to.y);
    bar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, 0);
    bar->PostMessage(c.end, c.endKey, 0);
    CRect start;
    bar->GetWindowRect(&start);
    auto* context = static_cast<CTkDockContext*>(bar->m_pDockContext);
    context->StartDrag(start.TopLeft() + CPoint(10, 5));
    tktest::Pump();
    EXPECT_TRUE(context->m_bFullWindowDrag);
    Where where = bar->IsLeftDocked() ? kLeft : bar->IsRightDocked() ? kRight : kFloating;
    EXPECT_EQ(where, c.expected);
    EXPECT_EQ(::GetCapture(), nullptr);
    CWnd* floating = bar->IsSideFloating() ? bar->GetParentFrame() : nullptr;
    bar->DestroyWindow();
    if (floating && ::IsWindow(floating->m_hWnd)) floating->DestroyWindow();
    tktest::Pump();
  }
}

TEST_F(TkDockWindowTest, AFloatingWindowResizedByItsFrameEdgeKeepsTheNewSize) {
  struct Case {
    UINT hit;
    CSize by;
    CSize expected;
  };
  const Case cases[] = {
      {HTRIGHT, CSize(30, 0), CSize(130, 100)},
      {HTBOTTOM, CSize(0, 40), CSize(100, 140)},
      {HTBOTTOMRIGHT, CSize(30, 40), CSize(130, 140)},
      {HTRIGHT, CSize(-80, 0), CSize(50, 100)},  // never narrower than 50
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hit);
    CTkDockWindow* bar = Dock(0xE901, AFX_IDW_DOCKBAR_LEFT);
    ASSERT_NE(bar, nullptr);
    bar->m_pDockContext->ToggleDocking();
    tktest::Pump();
    CWnd* frame = bar->GetParentFrame();
    ASSERT_TRUE(frame && frame->IsKindOf(RUNTIME_CLASS(CTkMiniDockFrameWnd)));
    CRect window;
    frame->GetWindowRect(&window);
    CPoint from(window.right - 1, window.bottom - 1);
    CPoint to = from + c.by;
    QueueDragTo(bar, to);
    frame->SendMessage(WM_NCLBUTTONDOWN, c.hit, MAKELPARAM(from.x, from.y));
    tktest::Pump();
    CRect rect;
    bar->GetWindowRect(&rect);
    EXPECT_EQ(rect.Size(), c.expected);
    EXPECT_EQ(bar->FloatSize(), c.expected);
    bar->DestroyWindow();
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
    tktest::Pump();
  }
}

TEST_F(TkDockWindowTest, ADoubleClickFloatsANeverFloatedWindowAtItsDockedCornerAndDocksItBack) {
  CTkDockWindow* bar = Dock(0xE901, AFX_IDW_DOCKBAR_LEFT);
  ASSERT_NE(bar, nullptr);
  CRect docked;
  bar->GetWindowRect(&docked);
  bar->m_pDockContext->ToggleDocking();
  tktest::Pump();
  ASSERT_FALSE(bar->IsLeftDocked());
  CRect frameRect;
  bar->GetParentFrame()->GetWindowRect(&frameRect);
  EXPECT_EQ(frameRect.TopLeft(), docked.TopLeft());

  bar->m_pDockContext->ToggleDocking();
  tktest::Pump();
  EXPECT_TRUE(bar->IsLeftDocked());
  EXPECT_EQ(bar->GetTkBarStyle() & TKDW_NEWLY_DOCKED, static_cast<DWORD>(TKDW_NEWLY_DOCKED));
}

TEST_F(TkDockWindowTest, RefloatingInPlaceMovesTheFrameAndLeavesItsStylesAlone) {
  CTkDockWindow* bar = Dock(0xE901, AFX_IDW_DOCKBAR_LEFT);
  ASSERT_NE(bar, nullptr);
  bar->m_pDockContext->ToggleDocking();
  tktest::Pump();
  CWnd* frame = bar->GetParentFrame();
  ASSERT_TRUE(frame && frame->IsKindOf(RUNTIME_CLASS(CTkMiniDockFrameWnd)));
  DWORD exStyle = frame->GetExStyle();
  auto* context = static_cast<CTkDockContext*>(bar->m_pDockContext);
  for (int step = 1; step <= 3; ++step) {
    context->m_rectFrameDragHorz.OffsetRect(10, 5);
    context->Float(CBRS_ALIGN_TOP);
    tktest::Pump();
    EXPECT_EQ(bar->GetParentFrame(), frame) << "the same frame, step " << step;
    EXPECT_EQ(frame->GetExStyle(), exStyle) << "step " << step;
    CRect rect;
    frame->GetWindowRect(&rect);
    EXPECT_EQ(rect.TopLeft(), context->m_rectFrameDragHorz.TopLeft()) << "step " << step;
  }
}

TEST_F(TkDockWindowTest, TheExpandButtonShowsTheRowStateAndExpandsOverTheRowAndBack) {
  CTkDockWindow* first = Dock(0xE901, AFX_IDW_DOCKBAR_LEFT);
  ASSERT_NE(first, nullptr);
  CRect below;
  first->GetWindowRect(&below);
  below.OffsetRect(0, 50);
  CTkDockWindow* second = Dock(0xE902, AFX_IDW_DOCKBAR_LEFT, kCaptionStyle, &below);
  ASSERT_NE(second, nullptr);
  CDockBar* left = DockBar(AFX_IDW_DOCKBAR_LEFT);
  ASSERT_EQ(left->FindBar(first) + 1, left->FindBar(second)) << "one row";

  struct Case {
    BOOL alone, expanded;
    int state;
    BOOL enabled;
  };
  const Case cases[] = {
      {FALSE, FALSE, 4, TRUE}, {FALSE, TRUE, 8, TRUE}, {TRUE, FALSE, 3, FALSE},
      {TRUE, TRUE, 3, FALSE},
  };
  for (const Case& c : cases) {
    DWORD state[10] = {100, 200, 200, 100, 100, 100, 100, 200,
                       static_cast<DWORD>(c.alone), static_cast<DWORD>(c.expanded)};
    first->SetBarState(state);
    first->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    SCOPED_TRACE(testing::Message() << c.alone << c.expanded);
    EXPECT_EQ(first->GetExpandState(), c.state);
    ASSERT_NE(first->GetExpandButton(), nullptr);
    EXPECT_TRUE(first->GetExpandButton()->IsWindowVisible());
    EXPECT_EQ(first->GetExpandButton()->IsWindowEnabled(), c.enabled);
    EXPECT_EQ(first->GetExpandButton()->GetIcon(), first->GetGlyph(c.state));
  }
  EXPECT_EQ(first->GetHideButton()->GetIcon(), first->GetGlyph(0));

  DWORD normal[10] = {100, 200, 200, 100, 100, 100, 100, 200, 0, 0};
  first->SetBarState(normal);
  second->SetBarState(normal);
  HWND expand = first->GetExpandButton()->m_hWnd;
  first->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TK_DOCKWND_EXPAND, BN_CLICKED),
                     reinterpret_cast<LPARAM>(expand));
  EXPECT_TRUE(first->IsExpanded());
  EXPECT_EQ(second->GetCurrentHeight(), 24) << "the neighbour keeps its caption";
  CRect leftRect;
  left->GetClientRect(&leftRect);
  EXPECT_EQ(first->GetCurrentHeight(), leftRect.Height() - 24);

  first->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TK_DOCKWND_EXPAND, BN_CLICKED),
                     reinterpret_cast<LPARAM>(expand));
  EXPECT_FALSE(first->IsExpanded());
  EXPECT_EQ(second->GetCurrentHeight(), 200);
  EXPECT_EQ(first->GetCurrentHeight(), 200);

  first->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TK_DOCKWND_HIDE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(first->GetHideButton()->m_hWnd));
  EXPECT_FALSE(first->IsWindowVisible());
}

// On the toolkit's dock bars the row is shared out by the dock bar: expanding one window leaves
// its neighbour its least length, and restoring gives both their docked lengths back.
class TkDockWindowOnTkDockBarsTest : public TkDockWindowTest {
 protected:
  void EnableFrameDocking() override { m_frame->EnableDocking(CBRS_ALIGN_ANY); }
};

TEST_F(TkDockWindowOnTkDockBarsTest, TheDockBarSharesTheRowOut) {
  ASSERT_NE(dynamic_cast<CTkDockBar*>(DockBar(AFX_IDW_DOCKBAR_LEFT)), nullptr);
  CTkDockWindow* first = Dock(0xE901, AFX_IDW_DOCKBAR_LEFT);
  ASSERT_NE(first, nullptr);
  CRect below;
  first->GetWindowRect(&below);
  below.OffsetRect(0, 50);
  CTkDockWindow* second = Dock(0xE902, AFX_IDW_DOCKBAR_LEFT, kCaptionStyle, &below);
  ASSERT_NE(second, nullptr);
  CDockBar* left = DockBar(AFX_IDW_DOCKBAR_LEFT);
  ASSERT_EQ(left->FindBar(first) + 1, left->FindBar(second)) << "one row";
  EXPECT_FALSE(first->IsNewlyDocked()) << "the dock bar shared the row out";
  const int firstBefore = first->GetCurrentHeight();
  const int secondBefore = second->GetCurrentHeight();

  first->ExpandInRow();
  EXPECT_EQ(second->GetCurrentHeight(), second->GetMinLength());
  EXPECT_GT(first->GetCurrentHeight(), firstBefore);

  first->RestoreInRow();
  EXPECT_EQ(first->GetCurrentHeight(), firstBefore);
  EXPECT_EQ(second->GetCurrentHeight(), secondBefore);
}

TEST_F(TkDockWindowTest, FloatingItsCaptionButtonsHide) {
  CTkDockWindow* bar = Dock(0xE901, AFX_IDW_DOCKBAR_LEFT);
  ASSERT_NE(bar, nullptr);
  bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  ASSERT_TRUE(bar->GetHideButton()->IsWindowVisible());
  bar->m_pDockContext->ToggleDocking();
  tktest::Pump();
  bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_FALSE(bar->GetHideButton()->IsWindowVisible());
  EXPECT_FALSE(bar->GetExpandButton()->IsWindowVisible());
}

TEST_F(TkDockWindowTest, SavedSizesComeBackAndABlockTooShortIsIgnored) {
  CTkDockWindow* bar = Dock(0xE901, AFX_IDW_DOCKBAR_LEFT);
  ASSERT_NE(bar, nullptr);
  DWORD saved[10] = {110, 210, 220, 120, 130, 140, 150, 160, 1, 0};
  bar->SetBarState(saved);
  bar->SaveState("Dock-Bar0");
  struct Case {
    const char* why;
    UINT bytes;  // 0: the value saved above
    bool applied;
  };
  const Case cases[] = {
      {"the saved block", 0, true},
      {"exactly the sizes and flags", 40, true},
      {"one value short", 36, false},
      {"a single byte", 1, false},
  };
  for (const Case& c : cases) {
    if (c.bytes) {
      BYTE block[44] = {};
      for (int i = 0; i < 10; ++i) block[i * 4] = static_cast<BYTE>(saved[i]);
      CTkProfileStore store(HKEY_CURRENT_USER);
      ASSERT_TRUE(store.WriteProfileBinary("Dock-Bar0", TkLoadString(IDS_TK_DOCKWND_STATE), block,
                                           c.bytes));
    }
    DWORD other[10] = {1, 2, 3, 4, 5, 6, 7, 8, 0, 1};
    bar->SetBarState(other);
    bar->LoadState("Dock-Bar0");
    SCOPED_TRACE(c.why);
    EXPECT_EQ(bar->VertSize(), c.applied ? CSize(110, 210) : CSize(1, 2));
    EXPECT_EQ(bar->HorzSize(), c.applied ? CSize(220, 120) : CSize(3, 4));
    EXPECT_EQ(bar->CurrentSize(), c.applied ? CSize(150, 160) : CSize(7, 8));
    EXPECT_EQ(bar->IsAlone(), c.applied ? TRUE : FALSE);
    EXPECT_EQ(bar->IsExpanded(), c.applied ? FALSE : TRUE);
  }
}

TEST_F(TkDockWindowTest, CaptionButtonsLeaveTheGlyphsToTheirWindowWhichDestroysThemOnce) {
  auto* bar = new CTkDockWindow;
  std::vector<HICON> glyphs;
  for (int i = 0; i < 9; ++i) {
    ASSERT_NE(bar->GetGlyph(i), nullptr) << i;
    glyphs.push_back(bar->GetGlyph(i));
  }
  {
    // A button showing a glyph goes away: the glyph stays usable.
    CTkBarButton button(bar);
    ASSERT_TRUE(button.Create("", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 12, 12), m_frame, 7));
    button.SetIcon(CSize(10, 10), glyphs[0], glyphs[1], FALSE);
    button.DestroyWindow();
  }
  ICONINFO info = {};
  ASSERT_TRUE(::GetIconInfo(glyphs[0], &info));
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  ASSERT_TRUE(::GetIconInfo(glyphs[1], &info));
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  ASSERT_TRUE(bar->Create(m_frame, 0xE901, "Pane", 100, 200));
  ASSERT_NE(bar->GetHideButton(), nullptr);
  bar->DestroyWindow();
  delete bar;
  for (HICON glyph : glyphs) EXPECT_FALSE(::DestroyIcon(glyph)) << "already destroyed";
}

TEST_F(TkDockWindowTest, AFloatingToolbarsFrameClosesOnlyWhenTheCloseButtonIsReleasedOnIt) {
  struct Case {
    const char* why;
    int buttons;  // on the toolbar
    bool releaseOnButton;
    bool closed;
  };
  const Case cases[] = {
      {"pressed and released on the close button", 8, true, true},
      {"pressed on it, released elsewhere on the caption", 8, false, false},
      {"a frame too narrow to show the button", 0, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CTkToolBar toolBar;
    ASSERT_TRUE(toolBar.CreateEx(m_frame, TBSTYLE_FLAT,
                                 WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS, 0xE850));
    // Buttons enough for a frame that holds its caption buttons, or a single one.
    const UINT ids[] = {0xE001, 0xE002, 0xE003, 0xE004, 0xE005, 0xE006, 0xE007, 0xE008};
    ASSERT_TRUE(toolBar.SetButtons(ids, c.buttons));
    toolBar.EnableDocking(CBRS_ALIGN_ANY);
    m_frame->FloatControlBar(&toolBar, CPoint(200, 200), CBRS_ALIGN_TOP);
    tktest::Pump();
    CWnd* wnd = toolBar.GetParentFrame();
    ASSERT_TRUE(wnd && wnd->IsKindOf(RUNTIME_CLASS(CTkMiniDockFrameWnd)));
    auto* frame = static_cast<CTkMiniDockFrameWnd*>(wnd);
    EXPECT_EQ(frame->GetStyle() & WS_SYSMENU, 0u) << "the close button replaces the system menu";
    EXPECT_EQ(frame->GetLookCode(), 2);
    CRect window;
    frame->GetWindowRect(&window);
    CTkCaptionButton* close = frame->FindButton(CTkCaptionButton::kClose);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(frame->FindButton(CTkCaptionButton::kExpand), nullptr);
    CPoint on = close->GetRect().CenterPoint();
    CPoint off(window.left + 4, on.y);
    CPoint up = c.releaseOnButton ? on : off;
    frame->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(on.x, on.y));
    EXPECT_TRUE(close->m_bPressed);
    EXPECT_EQ(close->m_bClipped != 0, c.buttons == 0) << window.Width();
    frame->SendMessage(WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(up.x, up.y));
    tktest::Pump();
    EXPECT_EQ(toolBar.IsWindowVisible() == FALSE, c.closed);
    EXPECT_EQ(frame->IsWindowVisible() == FALSE, c.closed);
    toolBar.DestroyWindow();
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
    tktest::Pump();
  }
}

TEST_F(TkDockWindowTest, TheTabBarSwitchesPagesAndTellsItsOwnerUnderItsOwnId) {
  OwnerRecorder owner;
  ASSERT_TRUE(owner.Make());
  auto* bar = new CTkTabCtrlBar;
  bar->m_bAutoDelete = TRUE;
  ASSERT_TRUE(bar->Create(m_frame, 0xE910, "Tabs", 300, 150, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM));
  bar->EnableDocking(CBRS_ALIGN_ANY);
  bar->SetOwner(&owner);
  m_frame->DockControlBar(bar, AFX_IDW_DOCKBAR_BOTTOM);
  tktest::Pump();
  CTkTabCtrl* tabs = bar->GetTabCtrl();
  ASSERT_TRUE(tabs->m_hWnd);
  EXPECT_EQ(bar->GetChild(), static_cast<CWnd*>(tabs));
  CStatic pages[3];
  const char* labels[3] = {"One", "Two", "Three"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(pages[i].Create(labels[i], WS_CHILD, CRect(0, 0, 10, 10), tabs, 100 + i));
    ASSERT_TRUE(bar->AddControl(labels[i], &pages[i]));
  }
  for (int active : {1, 2, 0}) {
    bar->SetActiveTab(active);
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(pages[i].IsWindowVisible() != FALSE, i == active) << active << " " << i;
    EXPECT_EQ(bar->GetActiveTabWnd(), &pages[active]);
  }

  // The user picks tab 2.
  owner.m_seen.clear();
  NMHDR changing = {tabs->m_hWnd, ID_TK_TABCTRLBAR_TABS, static_cast<UINT>(TCN_SELCHANGING)};
  bar->SendMessage(WM_NOTIFY, ID_TK_TABCTRLBAR_TABS, reinterpret_cast<LPARAM>(&changing));
  tabs->SetCurSel(2);
  NMHDR change = {tabs->m_hWnd, ID_TK_TABCTRLBAR_TABS, static_cast<UINT>(TCN_SELCHANGE)};
  bar->SendMessage(WM_NOTIFY, ID_TK_TABCTRLBAR_TABS, reinterpret_cast<LPARAM>(&change));
  EXPECT_TRUE(pages[2].IsWindowVisible());
  EXPECT_FALSE(pages[0].IsWindowVisible());
  ASSERT_EQ(owner.m_seen.size(), 2u);
  EXPECT_EQ(owner.m_seen[0].message, static_cast<UINT>(WM_TK_TAB_SELCHANGING));
  EXPECT_EQ(owner.m_seen[1].message, static_cast<UINT>(WM_TK_TAB_SELCHANGED));
  for (const auto& seen : owner.m_seen) EXPECT_EQ(seen.wParam, 0xE910u);

  // Floating, the control paints its pages itself; docked again it clips them.
  EXPECT_NE(tabs->GetStyle() & WS_CLIPCHILDREN, 0u);
  bar->m_pDockContext->ToggleDocking();
  tktest::Pump();
  EXPECT_EQ(tabs->GetStyle() & WS_CLIPCHILDREN, 0u);
  bar->m_pDockContext->ToggleDocking();
  tktest::Pump();
  EXPECT_NE(tabs->GetStyle() & WS_CLIPCHILDREN, 0u);
  for (CStatic& page : pages) page.DestroyWindow();
  owner.DestroyWindow();
}

TEST_F(TkDockWindowTest, AViewMadeInTheWindowIsItsPaneOwnedByTheFrame) {
  CTkDockWindow* bar = Dock(0xE901, AFX_IDW_DOCKBAR_LEFT);
  ASSERT_NE(bar, nullptr);
  CWnd* view = bar->CreateView(RUNTIME_CLASS(PaneView));
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(PaneView)));
  EXPECT_EQ(::GetParent(view->m_hWnd), bar->m_hWnd);
  EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(view->GetOwner(), static_cast<CWnd*>(m_frame));
  EXPECT_NE(view->GetStyle() & WS_BORDER, 0u);
}

TEST_F(TkDockWindowTest, TheTabBarHandsTheActiveViewBackWhenTheFocusIsNotInIt) {
  auto* bar = new CTkTabCtrlBar;
  bar->m_bAutoDelete = TRUE;
  ASSERT_TRUE(bar->Create(m_frame, 0xE910, "Tabs", 300, 150, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM));
  bar->EnableDocking(CBRS_ALIGN_ANY);
  m_frame->DockControlBar(bar, AFX_IDW_DOCKBAR_BOTTOM);
  tktest::Pump();
  ASSERT_TRUE(bar->AddView("Pane", RUNTIME_CLASS(PaneView)));
  auto* view = static_cast<CView*>(bar->GetTabWnd(0));
  ASSERT_NE(view, nullptr);
  struct Case {
    const char* why;
    bool focusInside;
    bool floating;
    bool keeps;
  };
  const Case cases[] = {
      {"docked, the focus in the bar: the view stays active", true, false, true},
      {"docked, the focus elsewhere: handed back", false, false, false},
      {"floating: handed back", false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    if (c.floating != (bar->IsSideFloating() != FALSE)) {
      bar->m_pDockContext->ToggleDocking();
      tktest::Pump();
    }
    m_frame->SetActiveView(view, FALSE);
    // (The frame would pass a focus of its own on to its active view.)
    ::SetFocus(c.focusInside ? view->m_hWnd : nullptr);
    bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(m_frame->GetActiveView() == view, c.keeps);
  }
}

TEST_F(TkDockWindowTest, AGradientCaptionShadesOnlyWhenTheSystemDrawsGradientCaptions) {
  CTkDockWindow* bar = Dock(0xE901, AFX_IDW_DOCKBAR_LEFT);
  ASSERT_NE(bar, nullptr);
  CTkToolkitData& data = ToolkitData();
  const COLORREF oldStart = data.m_clrInactiveCaption, oldEnd = data.m_clrInactiveCaptionGradient;
  data.m_clrInactiveCaption = RGB(0, 0, 128);
  data.m_clrInactiveCaptionGradient = RGB(128, 192, 255);
  BOOL oldSystem = FALSE;
  ::SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &oldSystem, 0);
  tktest::FlatLook plain(FALSE);
  struct Case {
    const char* why;
    DWORD style;
    BOOL system;
    bool shaded;
  };
  const Case cases[] = {
      {"gradient style, gradient captions on", TKDW_CAPTION | TKDW_GRADIENT, TRUE, true},
      {"gradient style, gradient captions off", TKDW_CAPTION | TKDW_GRADIENT, FALSE, false},
      {"no gradient style", TKDW_CAPTION, TRUE, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    ASSERT_TRUE(::SystemParametersInfoA(SPI_SETGRADIENTCAPTIONS, 0,
                                        reinterpret_cast<PVOID>(static_cast<INT_PTR>(c.system)),
                                        0));
    bar->SetTkBarStyle(c.style);
    tktest::Canvas canvas(140, 20);
    bar->DrawCaption(canvas.Dc(), CRect(0, 0, 128, 12));
    EXPECT_EQ(canvas.At(1, 6), RGB(0, 0, 128)) << "it starts in the caption colour";
    EXPECT_EQ(canvas.At(126, 6) != RGB(0, 0, 128), c.shaded);
    EXPECT_EQ(canvas.At(130, 6), RGB(1, 2, 3)) << "nothing beyond the caption";
  }
  ::SystemParametersInfoA(SPI_SETGRADIENTCAPTIONS, 0,
                          reinterpret_cast<PVOID>(static_cast<INT_PTR>(oldSystem)), 0);
  data.m_clrInactiveCaption = oldStart;
  data.m_clrInactiveCaptionGradient = oldEnd;
}

// A floating toolbar that may be customised gets the expand button beside the close button;
// the button opens the hidden-buttons popup, which the frame frees once it has closed.
TEST_F(TkDockWindowTest, AFloatingCustomisableToolbarOpensItsPopupFromTheExpandButton) {
  CTkToolBar toolBar;
  ASSERT_TRUE(toolBar.CreateEx(m_frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE850));
  const UINT ids[] = {0xE001, 0xE002, 0xE003, 0xE004, 0xE005, 0xE006, 0xE007, 0xE008};
  ASSERT_TRUE(toolBar.SetButtons(ids, 8));
  toolBar.SetAllowCustomize(TRUE);
  toolBar.EnableDocking(CBRS_ALIGN_ANY);
  m_frame->FloatControlBar(&toolBar, CPoint(200, 200), CBRS_ALIGN_TOP);
  tktest::Pump();
  auto* frame = static_cast<CTkMiniDockFrameWnd*>(toolBar.GetParentFrame());
  ASSERT_TRUE(frame && frame->IsKindOf(RUNTIME_CLASS(CTkMiniDockFrameWnd)));
  CTkCaptionButton* expand = frame->FindButton(CTkCaptionButton::kExpand);
  ASSERT_NE(expand, nullptr);

  ASSERT_FALSE(expand->m_bClipped);
  CPoint on = expand->GetRect().CenterPoint();
  auto openPopup = [&]() -> HWND {
    frame->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(on.x, on.y));
    frame->SendMessage(WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(on.x, on.y));
    HWND popup = nullptr;
    for (HWND w = ::GetWindow(::GetDesktopWindow(), GW_CHILD); w;
         w = ::GetWindow(w, GW_HWNDNEXT)) {
      CWnd* object = CWnd::FromHandlePermanent(w);
      if (object && object->IsKindOf(RUNTIME_CLASS(CTkExpMenuWnd))) popup = w;
    }
    return popup;
  };
  // Closed by the user, by losing the activation, by the application losing it, one after the
  // other: the popup frees itself and the frame only hears of it (no second free, no read
  // of a freed popup when the button is pressed again).
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    HWND popup = openPopup();
    ASSERT_NE(popup, nullptr) << "the expand button opens the popup";
    ASSERT_NE(CTkExpMenuWnd::FromOpenWindow(popup), nullptr);
    EXPECT_EQ(openPopup(), popup) << "one popup at a time";
    if (round == 0) ::DestroyWindow(popup);
    if (round == 1) ::SendMessageA(popup, WM_ACTIVATE, WA_INACTIVE, 0);
    if (round == 2) ::SendMessageA(popup, WM_ACTIVATEAPP, FALSE, 0);
    tktest::Pump();
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_EQ(frame->FindButton(CTkCaptionButton::kExpand)->m_bHighlighted, 0);
  }
  // The frame goes with a popup open: the popup goes with it, once.
  HWND popup = openPopup();
  ASSERT_NE(popup, nullptr);
  frame->DestroyWindow();
  tktest::Pump();
  EXPECT_FALSE(::IsWindow(popup));
}

TEST_F(TkDockWindowTest, AFloatingToolbarsFrameSetsItsCaptionUpAgainWhenTheLookChanges) {
  CTkToolBar toolBar;
  ASSERT_TRUE(toolBar.CreateEx(m_frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE850));
  const UINT ids[] = {0xE001, 0xE002, 0xE003, 0xE004};
  ASSERT_TRUE(toolBar.SetButtons(ids, 4));
  toolBar.EnableDocking(CBRS_ALIGN_ANY);
  m_frame->FloatControlBar(&toolBar, CPoint(200, 200), CBRS_ALIGN_TOP);
  tktest::Pump();
  auto* frame = static_cast<CTkMiniDockFrameWnd*>(toolBar.GetParentFrame());
  ASSERT_TRUE(frame && frame->IsKindOf(RUNTIME_CLASS(CTkMiniDockFrameWnd)));
  EXPECT_EQ(frame->GetLookCode(), 2);
  {
    tktest::FlatLook flat(TRUE);
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(frame->GetLookCode(), 1);
    EXPECT_NE(frame->FindButton(CTkCaptionButton::kClose), nullptr);
  }
  frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_EQ(frame->GetLookCode(), 2);
  toolBar.DestroyWindow();
  if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
}

TEST_F(TkDockWindowTest, ShiftTurnsTheOutlineOnlyForABarThatMayLieAndStand) {
  CTkDockWindow* bar = Dock(0xE901, AFX_IDW_DOCKBAR_LEFT);
  ASSERT_NE(bar, nullptr);
  auto* context = static_cast<CTkDockContext*>(bar->m_pDockContext);
  struct Case {
    DWORD allowed;
    BOOL flipped;
  };
  const Case cases[] = {
      {CBRS_ALIGN_ANY, TRUE},
      {CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT, TRUE},
      {CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM, FALSE},
      {CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT, FALSE},
  };
  for (const Case& c : cases) {
    context->m_dwDockStyle = c.allowed;
    context->m_bFlip = context->m_bForceFrame = FALSE;
    context->OnKey(VK_SHIFT, TRUE);
    EXPECT_EQ(context->m_bFlip, c.flipped) << c.allowed;
    context->OnKey(VK_SHIFT, FALSE);
    EXPECT_FALSE(context->m_bFlip) << c.allowed;
    context->OnKey(VK_CONTROL, TRUE);
    EXPECT_TRUE(context->m_bForceFrame) << c.allowed;
    EXPECT_EQ(context->m_dwOverDockStyle, 0u) << "Ctrl keeps it floating";
    context->OnKey(VK_CONTROL, FALSE);
    EXPECT_FALSE(context->m_bForceFrame) << c.allowed;
  }
}
