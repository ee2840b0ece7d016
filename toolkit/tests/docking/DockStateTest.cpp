// The bar layout kept across runs: the stored format written and read back, positions scaled to
// another screen size, damaged layouts refused as a whole, and a test frame that closes and
// comes back with its bars where they were.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "toolkit/docking/TkDockState.h"
#include "toolkit/docking/TkDocking.h"
#include "toolkit/services/TkProfileStore.h"
#include "toolkit/tests/docking/DockFrameFixture.h"
#include "toolkit/tests/docking/DockTestBars.h"
#include "toolkit/tests/frame/FrameTestSupport.h"

using docktest::FixedBar;
using docktest::SizingPane;

namespace {

const char kProfile[] = "DockStateTest";

CString Section(int n) {
  CString s;
  if (n < 0)
    s.Format("%s-Summary", kProfile);
  else
    s.Format("%s-Bar%d", kProfile, n);
  return s;
}

// A stored value, or "-" when it is not there.
std::string Stored(int section, LPCSTR entry) {
  const int missing = -123456;
  int v = static_cast<int>(
      CTkProfileStore(HKEY_CURRENT_USER).GetProfileInt(Section(section), entry, missing));
  return v == missing ? "-" : std::to_string(v);
}

void Store(int section, LPCSTR entry, int value) {
  CTkProfileStore(HKEY_CURRENT_USER).WriteProfileInt(Section(section), entry, value);
}

void Remove(int section, LPCSTR entry) {
  CTkProfileStore(HKEY_CURRENT_USER).WriteProfileString(Section(section), entry, nullptr);
}

CControlBarInfo* AddInfo(CDockState& state, UINT id) {
  auto* info = new CControlBarInfo;
  info->m_nBarID = id;
  state.m_arrBarInfo.Add(info);
  return info;
}

void AddIds(CControlBarInfo* info, std::initializer_list<UINT_PTR> ids) {
  for (UINT_PTR id : ids) info->m_arrBarID.Add(reinterpret_cast<void*>(id));
}

CControlBarInfo* Info(CDockState& state, int i) {
  return static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
}

class DockStateFormatTest : public ::testing::Test {
 protected:
  void SetUp() override { m_app = std::make_unique<tktest::ScratchApp>(); }
  void TearDown() override { m_app.reset(); }

  // A layout of four records: an empty dock bar (not written), the top dock bar with two rows
  // and a placeholder, a docked bar that knows its last places, and a hidden floating bar.
  static void FillLayout(CTkDockState& state) {
    CControlBarInfo* empty = AddInfo(state, AFX_IDW_DOCKBAR_LEFT);
    empty->m_bDockBar = TRUE;
    AddIds(empty, {0});
    CControlBarInfo* top = AddInfo(state, AFX_IDW_DOCKBAR_TOP);
    top->m_bDockBar = TRUE;
    AddIds(top, {0, 0xE860, 0xE861, 0, 0x1E862, 0});
    CControlBarInfo* docked = AddInfo(state, 0xE860);
    docked->m_bDocking = TRUE;
    docked->m_uMRUDockID = AFX_IDW_DOCKBAR_TOP;
    docked->m_rectMRUDockPos = CRect(10, 0, 110, 24);
    docked->m_dwMRUFloatStyle = 0x2000;
    docked->m_ptMRUFloatPos = CPoint(200, 150);
    CControlBarInfo* floating = AddInfo(state, 0xE862);
    floating->m_bVisible = FALSE;
    floating->m_bFloating = TRUE;
    floating->m_bHorz = FALSE;
    floating->m_pointPos = CPoint(300, 200);
    floating->m_nMRUWidth = 120;
  }

  std::unique_ptr<tktest::ScratchApp> m_app;
};

TEST_F(DockStateFormatTest, EachValueIsWrittenOnlyWhenALoadCouldNotAssumeIt) {
  CTkDockState state;
  FillLayout(state);
  state.SetScreenSize(CSize(1280, 1024));
  state.SaveState(kProfile);
  struct Case {
    int section;
    LPCSTR entry;
    std::string value;
  };
  const Case cases[] = {
      // The empty dock bar is left out; the sections follow on without a gap.
      {-1, "Bars", "3"},
      {-1, "ScreenCX", "1280"},
      {-1, "ScreenCY", "1024"},
      {0, "BarID", std::to_string(AFX_IDW_DOCKBAR_TOP)},
      {0, "Bars", "6"},
      {0, "Bar#0", "0"},
      {0, "Bar#1", std::to_string(0xE860)},
      {0, "Bar#4", std::to_string(0x1E862)},
      {0, "Visible", "-"},
      {0, "Floating", "-"},
      {0, "Docking", "-"},
      // A visible docked bar: no visibility, orientation or floating values.
      {1, "BarID", std::to_string(0xE860)},
      {1, "Visible", "-"},
      {1, "Horz", "-"},
      {1, "Floating", "-"},
      {1, "XPos", "-"},
      {1, "MRUWidth", "-"},
      {1, "Docking", "1"},
      {1, "MRUDockID", std::to_string(AFX_IDW_DOCKBAR_TOP)},
      {1, "MRUDockRightPos", "110"},
      {1, "MRUDockBottomPos", "24"},
      {1, "MRUFloatStyle", std::to_string(0x2000)},
      {1, "MRUFloatXPos", "200"},
      {1, "Bars", "-"},
      // A hidden floating bar.
      {2, "Visible", "0"},
      {2, "Horz", "0"},
      {2, "Floating", "1"},
      {2, "XPos", "300"},
      {2, "YPos", "200"},
      {2, "MRUWidth", "120"},
      {2, "Docking", "-"},
      {2, "MRUDockID", "-"},
      {3, "BarID", "-"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Stored(c.section, c.entry), c.value) << c.section << " " << c.entry;

  CTkDockState loaded;
  ASSERT_TRUE(loaded.LoadState(kProfile));
  ASSERT_EQ(loaded.m_arrBarInfo.GetSize(), 3);
  CControlBarInfo* top = Info(loaded, 0);
  EXPECT_EQ(top->m_nBarID, static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
  ASSERT_EQ(top->m_arrBarID.GetSize(), 6);
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(top->m_arrBarID[4]), 0x1E862u);
  CControlBarInfo* docked = Info(loaded, 1);
  EXPECT_TRUE(docked->m_bVisible);
  EXPECT_FALSE(docked->m_bFloating);
  EXPECT_EQ(docked->m_uMRUDockID, static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
  EXPECT_EQ(docked->m_rectMRUDockPos, CRect(10, 0, 110, 24));
  EXPECT_EQ(docked->m_dwMRUFloatStyle, 0x2000u);
  EXPECT_EQ(docked->m_ptMRUFloatPos, CPoint(200, 150));
  CControlBarInfo* floating = Info(loaded, 2);
  EXPECT_FALSE(floating->m_bVisible);
  EXPECT_TRUE(floating->m_bFloating);
  EXPECT_FALSE(floating->m_bHorz);
  EXPECT_EQ(floating->m_pointPos, CPoint(300, 200));
  EXPECT_EQ(floating->m_nMRUWidth, 120);
}

TEST_F(DockStateFormatTest, ALayoutNeverSavedLoadsNoBars) {
  CTkDockState state;
  EXPECT_TRUE(state.LoadState(kProfile));
  EXPECT_EQ(state.m_arrBarInfo.GetSize(), 0);
}

TEST_F(DockStateFormatTest, PlacesSavedOnAnotherScreenSizeAreScaledToThisOne) {
  CTkDockState state;
  CControlBarInfo* floating = AddInfo(state, 0xE862);
  floating->m_bFloating = TRUE;
  floating->m_pointPos = CPoint(100, 60);
  floating->m_bDocking = TRUE;
  floating->m_rectMRUDockPos = CRect(50, 20, 150, 44);
  floating->m_ptMRUFloatPos = CPoint(160, 128);
  // Saved on a screen half as wide and half as high as this one.
  const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
  state.SetScreenSize(CSize(cx / 2, cy / 2));
  state.SaveState(kProfile);

  CTkDockState loaded;
  ASSERT_TRUE(loaded.LoadState(kProfile));
  CControlBarInfo* info = Info(loaded, 0);
  EXPECT_EQ(info->m_pointPos, CPoint(MulDiv(100, cx, cx / 2), MulDiv(60, cy, cy / 2)));
  EXPECT_EQ(info->m_ptMRUFloatPos, CPoint(MulDiv(160, cx, cx / 2), MulDiv(128, cy, cy / 2)));
  // The last docked place moves; its size stays.
  EXPECT_EQ(info->m_rectMRUDockPos.TopLeft(),
            CPoint(MulDiv(50, cx, cx / 2), MulDiv(20, cy, cy / 2)));
  EXPECT_EQ(info->m_rectMRUDockPos.Size(), CSize(100, 24));
}

TEST_F(DockStateFormatTest, LastPlacesAreReadOnlyForABarThatCouldDock) {
  CTkDockState state;
  AddInfo(state, 0xE860);
  state.SaveState(kProfile);
  Store(0, "MRUDockID", AFX_IDW_DOCKBAR_LEFT);
  Store(0, "MRUDockRightPos", 80);
  Store(0, "MRUFloatXPos", 90);
  CTkDockState loaded;
  ASSERT_TRUE(loaded.LoadState(kProfile));
  EXPECT_EQ(Info(loaded, 0)->m_uMRUDockID, 0u);
  EXPECT_TRUE(Info(loaded, 0)->m_rectMRUDockPos.IsRectNull());
  EXPECT_EQ(Info(loaded, 0)->m_ptMRUFloatPos, CPoint(0, 0));
}

// A damaged layout is refused whole: no record is kept, so the frame keeps its own layout.
TEST_F(DockStateFormatTest, ADamagedLayoutIsRefusedWhole) {
  struct Case {
    const char* why;
    std::function<void()> damage;
  };
  const Case cases[] = {
      {"more sections than any layout has", [] { Store(-1, "Bars", 100000); }},
      {"a negative section count", [] { Store(-1, "Bars", -1); }},
      {"the summary counts a section that is not there", [] { Store(-1, "Bars", 4); }},
      {"a section without its bar id", [] { Remove(1, "BarID"); }},
      {"a row list counting more entries than it has", [] { Store(0, "Bars", 9); }},
      {"a row list longer than any layout has", [] { Store(0, "Bars", 5000); }},
      {"a bar id beyond the control ids", [] { Store(1, "BarID", 0x12345); }},
      {"a row entry that is neither a bar nor a placeholder", [] { Store(0, "Bar#2", 0x30000); }},
      {"a last dock bar that is no dock bar", [] { Store(1, "MRUDockID", 5); }},
      {"a floating bar far off every screen", [] { Store(2, "XPos", 90000); }},
      {"a last floating place off every screen", [] { Store(1, "MRUFloatXPos", -20000); }},
      {"an upside-down last docked place", [] { Store(1, "MRUDockBottomPos", -50); }},
      {"a last docked place larger than the screen", [] { Store(1, "MRUDockRightPos", 70000); }},
      {"a negative screen size", [] { Store(-1, "ScreenCX", -1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CTkDockState state;
    FillLayout(state);
    state.SaveState(kProfile);
    {
      CTkDockState sound;
      ASSERT_TRUE(sound.LoadState(kProfile));
    }
    c.damage();
    CTkDockState loaded;
    EXPECT_FALSE(loaded.LoadState(kProfile));
    EXPECT_EQ(loaded.m_arrBarInfo.GetSize(), 0);
  }
}

class DockStateFrameTest : public docktest::DockFrameTest {
 protected:
  void SetUp() override {
    m_app = std::make_unique<tktest::ScratchApp>();
    DockFrameTest::SetUp();
  }
  void TearDown() override {
    DockFrameTest::TearDown();
    m_app.reset();
  }
  // The test frame's bars, made anew for every frame: three fixed bars and a pane, all docked
  // on top in rows of their own (the default layout).
  struct Bars {
    FixedBar a{100, 24}, b{80, 24}, c{60, 24};
    SizingPane pane{CSize(150, 100), CSize(40, 20)};
    explicit Bars(CFrameWnd* frame) {
      a.Create(frame, 0xE860, CBRS_TOP);
      b.Create(frame, 0xE861, CBRS_TOP);
      c.Create(frame, 0xE862, CBRS_TOP);
      pane.Create(frame, 0xE863, CBRS_TOP);
      for (CControlBar* bar : {static_cast<CControlBar*>(&a), static_cast<CControlBar*>(&b),
                               static_cast<CControlBar*>(&c), static_cast<CControlBar*>(&pane)}) {
        bar->EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
      }
    }
  };
  using Ids = std::vector<std::vector<UINT>>;
  std::unique_ptr<tktest::ScratchApp> m_app;
};

TEST_F(DockStateFrameTest, TheLayoutComesBackWhenTheFrameIsMadeAgain) {
  {
    Bars bars(m_frame);
    Arrange(AFX_IDW_DOCKBAR_TOP, {{&bars.a, &bars.b}});
    Arrange(AFX_IDW_DOCKBAR_LEFT, {{&bars.pane}});
    Arrange(AFX_IDW_DOCKBAR_BOTTOM, {{&bars.c}});
    m_frame->ShowControlBar(&bars.b, FALSE, FALSE);
    // The user made the column wider.
    Dock(AFX_IDW_DOCKBAR_LEFT)->SetRowThickness(1, 190);
    Layout();
    TkSaveBarState(m_frame, kProfile);
    // The frame closes; the profile stays for the next one.
    DockFrameTest::TearDown();
  }
  DockFrameTest::SetUp();
  Bars bars(m_frame);
  Layout();
  ASSERT_EQ(RowIds(Dock(AFX_IDW_DOCKBAR_TOP)), (Ids{{0xE860}, {0xE861}, {0xE862}, {0xE863}}));
  ASSERT_TRUE(TkLoadBarState(m_frame, kProfile));
  Layout();
  EXPECT_EQ(RowIds(Dock(AFX_IDW_DOCKBAR_TOP)), (Ids{{0xE860, 0xE861}}));
  EXPECT_EQ(RowIds(Dock(AFX_IDW_DOCKBAR_LEFT)), (Ids{{0xE863}}));
  EXPECT_EQ(RowIds(Dock(AFX_IDW_DOCKBAR_BOTTOM)), (Ids{{0xE862}}));
  EXPECT_FALSE(bars.b.IsWindowVisible());
  EXPECT_TRUE(bars.a.IsWindowVisible());
  EXPECT_EQ(bars.pane.GetParent(), Dock(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(Placed(&bars.pane).Width(), 190) << "the pane read its own section";
}

TEST_F(DockStateFrameTest, ADamagedOrForeignLayoutLeavesTheDefaultLayout) {
  struct Case {
    const char* why;
    std::function<void()> damage;
  };
  const Case cases[] = {
      {"a row entry out of range", [] { Store(0, "Bar#1", 0x70000); }},
      {"a bar this frame does not have", [] { Store(0, "Bar#1", 0xE870); }},
      {"a section cut short", [] { Store(-1, "Bars", 9); }},
  };
  Bars bars(m_frame);
  auto saveArranged = [&] {
    Arrange(AFX_IDW_DOCKBAR_TOP, {{&bars.a, &bars.b, &bars.c}});
    Arrange(AFX_IDW_DOCKBAR_LEFT, {{&bars.pane}});
    TkSaveBarState(m_frame, kProfile);
    // Back to the default layout, which a refused load must leave alone.
    Arrange(AFX_IDW_DOCKBAR_TOP, {{&bars.a}, {&bars.b}, {&bars.c}, {&bars.pane}});
  };
  saveArranged();
  ASSERT_TRUE(TkLoadBarState(m_frame, kProfile)) << "the sound layout loads";
  Layout();
  ASSERT_EQ(RowIds(Dock(AFX_IDW_DOCKBAR_TOP)), (Ids{{0xE860, 0xE861, 0xE862}}));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    saveArranged();
    c.damage();
    EXPECT_FALSE(TkLoadBarState(m_frame, kProfile));
    Layout();
    EXPECT_EQ(RowIds(Dock(AFX_IDW_DOCKBAR_TOP)), (Ids{{0xE860}, {0xE861}, {0xE862}, {0xE863}}));
    EXPECT_TRUE(bars.pane.IsWindowVisible());
  }
}

}  // namespace
