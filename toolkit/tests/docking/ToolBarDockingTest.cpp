// The toolkit toolbar in a frame's dock bars: one row along the top and bottom, a column at the
// sides, rows of the width the user leaves it at while floating; its borders and gripper around
// the buttons; and a shown frame that paints and runs the idle update.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "resources/resource.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/tests/docking/DockFrameFixture.h"

namespace {

class ToolBarDockingTest : public docktest::DockFrameTest {
 protected:
  std::unique_ptr<CTkToolBar> MakeBar(UINT nID, DWORD extra = 0) {
    auto bar = std::make_unique<CTkToolBar>();
    EXPECT_TRUE(bar->CreateEx(m_frame, TBSTYLE_FLAT,
                              WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | extra, nID));
    EXPECT_TRUE(bar->LoadToolBar(IDR_MAINFRAME));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    return bar;
  }
  // The visible buttons' item rectangles (separators left out).
  static std::vector<CRect> Buttons(CTkToolBar& bar) {
    std::vector<CRect> items;
    for (int i = 0; i < bar.GetCount(); ++i) {
      UINT id = 0, style = 0;
      int image = 0;
      bar.GetButtonInfo(i, id, style, image);
      if ((style & TBSTYLE_SEP) || (HIWORD(style) & TBSTATE_HIDDEN)) continue;
      CRect item;
      bar.GetItemRect(i, &item);
      items.push_back(item);
    }
    return items;
  }
  static void Pump() {
    MSG msg;
    for (int i = 0; i < 200 && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
};

// Along the top and bottom the buttons make one row; at the sides they stand in a column as wide
// as the widest button. Either way every button lies inside the bar's client area, which the
// borders and the gripper (across the top of a column, down the left of a row) leave.
TEST_F(ToolBarDockingTest, OneRowAlongTheTopAndBottomAColumnAtTheSides) {
  const struct {
    const char* side;
    UINT dock;
    bool column;
  } sides[] = {{"top", AFX_IDW_DOCKBAR_TOP, false},
               {"left", AFX_IDW_DOCKBAR_LEFT, true},
               {"right", AFX_IDW_DOCKBAR_RIGHT, true},
               {"bottom", AFX_IDW_DOCKBAR_BOTTOM, false}};
  std::vector<std::unique_ptr<CTkToolBar>> bars;
  for (const auto& s : sides) {
    bars.push_back(MakeBar(0xE860 + static_cast<UINT>(bars.size()), CBRS_SIZE_DYNAMIC));
    m_frame->DockControlBar(bars.back().get(), s.dock);
  }
  Layout();
  for (size_t i = 0; i < bars.size(); ++i) {
    SCOPED_TRACE(sides[i].side);
    CTkToolBar& bar = *bars[i];
    std::vector<CRect> items = Buttons(bar);
    ASSERT_GE(items.size(), 3u);
    CRect client, window;
    bar.GetClientRect(&client);
    bar.GetWindowRect(&window);
    for (const CRect& item : items) {
      if (sides[i].column) {
        EXPECT_EQ(item.left, items[0].left) << "one column";
      } else {
        EXPECT_EQ(item.top, items[0].top) << "one row";
      }
      CRect inside;
      inside.IntersectRect(&item, &client);
      EXPECT_EQ(inside, item) << "a button lies outside the bar";
    }
    EXPECT_EQ(window.Height() > window.Width(), sides[i].column);
    // The gripper's room and the borders: 6 along the bar's ends, 3 across, 7 for the gripper.
    CRect inset(0, 0, 0, 0);
    bar.CalcInsideRect(inset, !sides[i].column);
    EXPECT_EQ(window.Width() - client.Width(), -inset.Width());
    EXPECT_EQ(window.Height() - client.Height(), -inset.Height());
    EXPECT_GE(-(sides[i].column ? inset.Height() : inset.Width()), 6 + 6 + 7);
    EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(window.left, window.top)), HTCLIENT);
  }
}

// Dragged to a width afloat, the buttons wrap into rows no wider than it; the bar keeps that
// width, and asks for the same size when the floating frame lays itself out again.
TEST_F(ToolBarDockingTest, AfloatTheRowsFollowTheWidthTheUserLeaves) {
  std::unique_ptr<CTkToolBar> bar = MakeBar(0xE860, CBRS_SIZE_DYNAMIC);
  m_frame->DockControlBar(bar.get(), AFX_IDW_DOCKBAR_TOP);
  Layout();
  m_frame->FloatControlBar(bar.get(), CPoint(100, 100), CBRS_ALIGN_TOP);
  ASSERT_TRUE(bar->IsFloating());
  std::vector<CRect> one = Buttons(*bar);
  ASSERT_GE(one.size(), 4u);
  EXPECT_EQ(one.front().top, one.back().top) << "one row at first";

  CSize narrow = bar->CalcDynamicLayout(120, LM_HORZ | LM_COMMIT);
  std::vector<CRect> rows = Buttons(*bar);
  EXPECT_GT(rows.back().top, rows.front().top) << "wrapped";
  EXPECT_LE(narrow.cx, 120);
  CRect inset(0, 0, 0, 0);
  bar->CalcInsideRect(inset, TRUE);
  for (const CRect& item : rows) EXPECT_LE(item.right, 120 + inset.Width());
  EXPECT_EQ(bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH), narrow);
}

// A control on a placeholder button moves with its button when the layout moves it.
TEST_F(ToolBarDockingTest, AControlFollowsItsButtonIntoTheColumn) {
  std::unique_ptr<CTkToolBar> bar = MakeBar(0xE860, CBRS_SIZE_DYNAMIC);
  int index = 4;
  UINT id = bar->GetItemID(index);
  ASSERT_NE(id, 0u);
  CWnd edit;
  ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20),
                            bar.get(), id));
  ASSERT_TRUE(bar->PlaceControl(index, &edit, 40));
  for (UINT dock : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT}) {
    m_frame->DockControlBar(bar.get(), dock);
    Layout();
    CRect item, place;
    bar->GetItemRect(index, &item);
    edit.GetWindowRect(&place);
    bar->ScreenToClient(&place);
    EXPECT_EQ(place.left, item.left) << dock;
    EXPECT_GE(place.top, item.top) << dock;
    EXPECT_TRUE(edit.IsWindowVisible());
  }
}

// Shown, the bars paint (borders, gripper, the buttons through the off-screen picture) and
// take the idle update a layout asks for; without handlers their buttons go grey.
TEST_F(ToolBarDockingTest, AShownFramePaintsItsBarsAndRunsTheirIdleUpdate) {
  std::vector<std::unique_ptr<CTkToolBar>> bars;
  for (UINT dock : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT,
                    AFX_IDW_DOCKBAR_BOTTOM}) {
    bars.push_back(MakeBar(0xE860 + static_cast<UINT>(bars.size()),
                           CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS | CBRS_FLYBY));
    m_frame->DockControlBar(bars.back().get(), dock);
  }
  Layout();
  m_frame->ShowWindow(SW_SHOWNA);
  m_frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  m_frame->UpdateWindow();
  for (auto& bar : bars) bar->PostMessage(WM_IDLEUPDATECMDUI, TRUE);
  Pump();
  // The mouse passes over each bar's buttons: they light up and the prompt shows.
  for (auto& bar : bars) {
    for (const CRect& item : Buttons(*bar)) {
      CPoint centre = item.CenterPoint();
      bar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
      Pump();
      bar->UpdateWindow();
    }
  }
  for (auto& bar : bars) {
    bar->UpdateWindow();
    EXPECT_FALSE(bar->SendMessage(TB_ISBUTTONENABLED, bar->GetItemID(0))) << "no handler";
  }
  m_frame->ShowWindow(SW_HIDE);
}

}  // namespace

namespace {

// The system's colour change reaches only top-level windows: the bar hears of it through its
// frame and takes its bitmap in the new colours, also once it floats in a frame of its own.
TEST_F(ToolBarDockingTest, TheFrameTellsTheBarOfNewSystemColoursWhereverItLives) {
  std::unique_ptr<CTkToolBar> bar = MakeBar(0xE860, CBRS_SIZE_DYNAMIC);
  ASSERT_TRUE(bar->LoadBitmap(IDB_MAINBAR));
  m_frame->DockControlBar(bar.get(), AFX_IDW_DOCKBAR_TOP);
  Layout();
  HBITMAP before = bar->GetBitmap();
  m_frame->SendMessage(WM_SYSCOLORCHANGE);
  HBITMAP docked = bar->GetBitmap();
  EXPECT_NE(docked, before) << "reloaded";

  m_frame->FloatControlBar(bar.get(), CPoint(100, 100), CBRS_ALIGN_TOP);
  bar->SendMessage(TKM_FRAMECHANGED);
  CWnd* floating = bar->GetParentFrame();
  ASSERT_NE(floating, nullptr);
  ASSERT_NE(floating, m_frame);
  floating->SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_NE(bar->GetBitmap(), docked) << "the floating frame tells it too";
}

// A change of the bar's toolkit style is passed on to the toolkit dock bar that holds it.
TEST_F(ToolBarDockingTest, TheDockBarTakesTheBarsStyleChange) {
  std::unique_ptr<CTkToolBar> bar = MakeBar(0xE860);
  m_frame->DockControlBar(bar.get(), AFX_IDW_DOCKBAR_LEFT);
  Layout();
  CTkDockBar* dock = Dock(AFX_IDW_DOCKBAR_LEFT);
  dock->SetDockBarStyle(TKDS_NO_OUTER_EDGE);
  ASSERT_TRUE(bar->ModifyTkBarStyle(TKDS_NO_OUTER_EDGE, TKDS_FLAT, FALSE));
  EXPECT_EQ(dock->GetDockBarStyle(), static_cast<DWORD>(TKDS_FLAT));
  EXPECT_EQ(bar->GetTkBarStyle() & TKDS_FLAT, static_cast<DWORD>(TKDS_FLAT));
}

}  // namespace
