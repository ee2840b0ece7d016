// Docking with plain bars on a real frame under the X display: rows in the dock bars, floating
// and docking again, and the layout saved to the profile and read back (and refused when damaged).
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/app/WinApp.h"
#include "framework/docking/DockBar.h"
#include "framework/docking/DockContext.h"
#include "framework/docking/DockState.h"
#include "framework/docking/MiniDockFrameWnd.h"
#include "framework/docview/View.h"
#include "framework/splitter/SplitterWnd.h"

namespace {

constexpr UINT kBarA = 0xE810, kBarB = 0xE811;

// A bar of 100 x 24 lying down, 24 x 100 standing up.
class PlainBar : public CControlBar {
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
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

class MyFloatingFrame : public CMiniDockFrameWnd {
  DECLARE_DYNCREATE(MyFloatingFrame)
};
IMPLEMENT_DYNCREATE(MyFloatingFrame, CMiniDockFrameWnd)

class DockingTest : public ::testing::Test {
 public:
  void SetUp() override {
    m_app = std::make_unique<CWinApp>("FwDockTest");
    m_app->SetRegistryKey("ZBFrameworkTests");
    m_frame = new CFrameWnd;
    ASSERT_TRUE(m_frame->Create(nullptr, "dock", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                CRect(20, 20, 620, 420)));
    m_frame->EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_TRUE(m_a.Create(m_frame, kBarA));
    ASSERT_TRUE(m_b.Create(m_frame, kBarB));
    m_frame->DockControlBar(&m_a);
    m_frame->DockControlBar(&m_b);
  }
  void TearDown() override {
    if (::IsWindow(m_frame->m_hWnd)) m_frame->DestroyWindow();
    m_app->WriteProfileString("Layout-Summary", nullptr, nullptr);
    for (int i = 0; i < 8; ++i) {
      CString s;
      s.Format("Layout-Bar%d", i);
      m_app->WriteProfileString(s, nullptr, nullptr);
    }
    m_app.reset();
  }
  CDockBar* Dock(UINT id) { return static_cast<CDockBar*>(m_frame->GetControlBar(id)); }
  // The rows of a dock bar as "|A B|..." ("a" for a placeholder of A).
  std::string Rows(UINT id) {
    std::string out;
    CDockBar* dock = Dock(id);
    for (INT_PTR i = 0; i < dock->m_arrBars.GetSize(); ++i) {
      void* p = dock->m_arrBars[i];
      if (!p) out += "|";
      else if (p == &m_a) out += "A";
      else if (p == &m_b) out += "B";
      else if (reinterpret_cast<UINT_PTR>(p) == kBarA) out += "a";
      else if (reinterpret_cast<UINT_PTR>(p) == kBarB) out += "b";
      else out += "?";
    }
    return out;
  }
  CRect InDock(CControlBar* bar) {
    CRect r;
    bar->GetWindowRect(&r);
    ::MapWindowPoints(nullptr, ::GetParent(bar->m_hWnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  // A screen rectangle of a bar's size, offset from bar A's place.
  CRect BesideA(int dx, int dy) {
    CRect r;
    m_a.GetWindowRect(&r);
    r.OffsetRect(dx, dy);
    return r;
  }
  std::unique_ptr<CWinApp> m_app;
  CFrameWnd* m_frame = nullptr;
  PlainBar m_a, m_b;
};

TEST_F(DockingTest, DockedBarsTakeRowsAlongTheirEdge) {
  EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP), "|A|B|");
  CRect top;
  Dock(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&top);
  EXPECT_EQ(top.Height(), 48);
  EXPECT_EQ(InDock(&m_b), CRect(0, 24, 100, 48));

  struct Case {
    const char* name;
    std::function<void(DockingTest&)> drop;
    const char* top;
    const char* left;
  };
  const std::vector<Case> cases = {
      {"to the right of A, same row",
       [](DockingTest& t) { t.m_frame->DockControlBar(&t.m_b, AFX_IDW_DOCKBAR_TOP, t.BesideA(150, 0)); },
       "|AB|", "|"},
      {"to the left of A, same row",
       [](DockingTest& t) { t.m_frame->DockControlBar(&t.m_b, AFX_IDW_DOCKBAR_TOP, t.BesideA(-60, 0)); },
       "|BA|", "|"},
      {"above the first row",
       [](DockingTest& t) { t.m_frame->DockControlBar(&t.m_b, AFX_IDW_DOCKBAR_TOP, t.BesideA(0, -30)); },
       "|B|A|", "|"},
      {"on the left edge",
       [](DockingTest& t) { t.m_frame->DockControlBar(&t.m_b, AFX_IDW_DOCKBAR_LEFT); },
       "|A|", "|B|"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_frame->DockControlBar(&m_b, AFX_IDW_DOCKBAR_LEFT);
    m_frame->DockControlBar(&m_b, AFX_IDW_DOCKBAR_TOP);
    ASSERT_EQ(Rows(AFX_IDW_DOCKBAR_TOP), "|A|B|");
    c.drop(*this);
    EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP), c.top);
    EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_LEFT), c.left);
  }
  // A bar docked on the left stands up there.
  EXPECT_TRUE(m_b.IsVertDocked());
  EXPECT_EQ(InDock(&m_b), CRect(0, 0, 24, 100));
}

TEST_F(DockingTest, AFloatedBarDocksBackToItsPlace) {
  m_frame->m_pFloatingFrameClass = RUNTIME_CLASS(MyFloatingFrame);
  m_frame->FloatControlBar(&m_a, CPoint(300, 300));
  ASSERT_TRUE(m_a.IsFloating());
  CWnd* mini = m_a.GetParentFrame();
  ASSERT_NE(mini, nullptr);
  EXPECT_TRUE(mini->IsKindOf(RUNTIME_CLASS(MyFloatingFrame)));
  HWND hMini = mini->m_hWnd;
  CRect miniRect;
  mini->GetWindowRect(&miniRect);
  EXPECT_EQ(miniRect.TopLeft(), CPoint(300, 300));
  // A placeholder keeps A's row; the dock bar shrinks to B's row.
  EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP), "|a|B|");
  EXPECT_EQ(InDock(&m_b), CRect(0, 0, 100, 24));

  m_a.m_pDockContext->ToggleDocking();
  EXPECT_FALSE(m_a.IsFloating());
  EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP), "|A|B|");
  EXPECT_FALSE(::IsWindow(hMini));

  // And floats again where it floated last.
  m_a.m_pDockContext->ToggleDocking();
  ASSERT_TRUE(m_a.IsFloating());
  m_a.GetParentFrame()->GetWindowRect(&miniRect);
  EXPECT_EQ(miniRect.TopLeft(), CPoint(300, 300));
}

TEST_F(DockingTest, ADragEndsDockedOrFloating) {
  CDockContext& ctx = *m_b.m_pDockContext;
  CRect start;
  m_b.GetWindowRect(&start);
  ctx.InitLoop();
  ctx.m_rectDragHorz = ctx.m_rectFrameDragHorz = start;
  ctx.m_ptLast = start.TopLeft();
  ctx.Move(CPoint(start.left + 150, start.top - 24));  // onto A's row, right of it
  EXPECT_EQ(ctx.m_dwOverDockStyle, static_cast<DWORD>(CBRS_ALIGN_TOP));
  ctx.EndDrag();
  EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP), "|AB|");

  m_b.GetWindowRect(&start);
  ctx.InitLoop();
  ctx.m_rectDragHorz = ctx.m_rectFrameDragHorz = start;
  ctx.m_ptLast = start.TopLeft();
  ctx.Move(CPoint(start.left + 200, start.top + 200));  // over the middle of the frame
  EXPECT_EQ(ctx.m_dwOverDockStyle, 0u);
  ctx.EndDrag();
  EXPECT_TRUE(m_b.IsFloating());
  EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP), "|Ab|");
}

TEST_F(DockingTest, SavedLayoutComesBack) {
  m_frame->DockControlBar(&m_b, AFX_IDW_DOCKBAR_TOP, BesideA(150, 0));
  m_frame->FloatControlBar(&m_b, CPoint(250, 260));
  m_frame->ShowControlBar(&m_a, FALSE, FALSE);
  m_frame->SaveBarState("Layout");

  // Move everything elsewhere, then read the layout back.
  m_frame->ShowControlBar(&m_a, TRUE, FALSE);
  m_frame->DockControlBar(&m_b, AFX_IDW_DOCKBAR_LEFT);
  m_frame->DockControlBar(&m_a, AFX_IDW_DOCKBAR_BOTTOM);
  ASSERT_TRUE(m_frame->LoadBarState("Layout"));

  EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP), "|Ab|");
  EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_LEFT), "|");
  EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_BOTTOM), "|");
  EXPECT_FALSE(m_a.IsVisible());
  ASSERT_TRUE(m_b.IsFloating());
  CRect mini;
  m_b.GetParentFrame()->GetWindowRect(&mini);
  EXPECT_EQ(mini.TopLeft(), CPoint(250, 260));
  // The floated bar still goes back beside A.
  m_b.m_pDockContext->ToggleDocking();
  EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP), "|AB|");
}

TEST_F(DockingTest, DamagedLayoutIsIgnored) {
  // Sections as written for: top dock bar "|AB|" (section 0 lists it first? found by id).
  struct Damage {
    const char* name;
    std::function<void(CWinApp&)> apply;
  };
  auto barSection = [](CWinApp& app, UINT id) {
    for (int i = 0; i < 8; ++i) {
      CString s;
      s.Format("Layout-Bar%d", i);
      if (app.GetProfileInt(s, "BarID", 0) == id) return s;
    }
    return CString();
  };
  const std::vector<Damage> damages = {
      {"unknown bar id", [&](CWinApp& app) { app.WriteProfileInt(barSection(app, kBarB), "BarID", 0xE8AA); }},
      {"bar count beyond bounds", [](CWinApp& app) { app.WriteProfileInt("Layout-Summary", "Bars", 100000); }},
      {"row list beyond bounds",
       [&](CWinApp& app) { app.WriteProfileInt(barSection(app, AFX_IDW_DOCKBAR_TOP), "Bars", 5000); }},
      {"row names an unknown bar",
       [&](CWinApp& app) { app.WriteProfileInt(barSection(app, AFX_IDW_DOCKBAR_TOP), "Bar#0", 0x1234); }},
      {"a bar in the rows twice",
       [&](CWinApp& app) { app.WriteProfileInt(barSection(app, AFX_IDW_DOCKBAR_TOP), "Bar#1", kBarA); }},
      {"docked bar in no row",
       [&](CWinApp& app) { app.WriteProfileInt(barSection(app, AFX_IDW_DOCKBAR_TOP), "Bar#1", 0); }},
      {"a plain bar where a dock bar was",
       [&](CWinApp& app) { app.WriteProfileInt(barSection(app, AFX_IDW_DOCKBAR_TOP), "BarID", kBarB); }},
      {"floating far off the screen",
       [&](CWinApp& app) {
         CString s = barSection(app, kBarB);
         app.WriteProfileInt(s, "Floating", 1);
         app.WriteProfileInt(s, "XPos", 100000);
       }},
      {"docking rectangle inside out",
       [&](CWinApp& app) { app.WriteProfileInt(barSection(app, kBarA), "MRUDockRightPos", -500); }},
      {"docking rectangle huge",
       [&](CWinApp& app) { app.WriteProfileInt(barSection(app, kBarA), "MRUDockBottomPos", 1 << 30); }},
  };
  for (const auto& d : damages) {
    SCOPED_TRACE(d.name);
    m_frame->DockControlBar(&m_b, AFX_IDW_DOCKBAR_LEFT);
    m_frame->DockControlBar(&m_b, AFX_IDW_DOCKBAR_TOP, BesideA(150, 0));
    ASSERT_EQ(Rows(AFX_IDW_DOCKBAR_TOP), "|AB|");
    m_frame->SaveBarState("Layout");
    d.apply(*m_app);
    // Something else on screen; a refused layout leaves it as it is.
    m_frame->DockControlBar(&m_b, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_FALSE(m_frame->LoadBarState("Layout"));
    EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP), "|A|");
    EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_LEFT), "|B|");
    EXPECT_TRUE(m_a.IsVisible());
  }
}

class PaneView : public CView {
  DECLARE_DYNCREATE(PaneView)
 public:
  void OnDraw(CDC* pDC) override {
    CRect r;
    GetClientRect(&r);
    pDC->FillSolidRect(&r, RGB(255, 255, 255));
  }
};
IMPLEMENT_DYNCREATE(PaneView, CView)

TEST_F(DockingTest, ASplitterTakesTheRoomTheDockBarsLeave) {
  m_frame->DockControlBar(&m_b, AFX_IDW_DOCKBAR_LEFT);
  auto* split = new CSplitterWnd;
  ASSERT_TRUE(split->CreateStatic(m_frame, 1, 2));
  ASSERT_TRUE(split->CreateView(0, 0, RUNTIME_CLASS(PaneView), CSize(150, 0), nullptr));
  ASSERT_TRUE(split->CreateView(0, 1, RUNTIME_CLASS(PaneView), CSize(0, 0), nullptr));
  m_frame->RecalcLayout();
  CRect client, pane;
  m_frame->GetClientRect(&client);
  split->GetWindowRect(&pane);
  m_frame->ScreenToClient(&pane);
  EXPECT_EQ(pane, CRect(24, 24, client.right, client.bottom));
  // A hold for looking at the window (scripts take a picture meanwhile).
  if (const char* ms = std::getenv("ZB_TEST_HOLD_MS")) {
    DWORD until = ::GetTickCount() + static_cast<DWORD>(std::atoi(ms));
    MSG msg;
    while (::GetTickCount() < until) {
      while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
      ::Sleep(20);
    }
  }
  split->DestroyWindow();
  delete split;
}

}  // namespace
