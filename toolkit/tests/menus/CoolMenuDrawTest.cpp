// Owner-drawn items painted into a DIB section and probed pixel by pixel: the image box, the
// check mark, separators, the chevron, the selection, and the flat look's column and border.
#include <gtest/gtest.h>

#include <vector>

#include "framework/bars/BarStyles.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/menus/TkCoolMenu.h"
#include "toolkit/menus/TkMenuShared.h"
#include "toolkit/services/OSVersion.h"
#include "toolkit/tests/menus/MenuTestSupport.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

HICON RedIcon() {
  HDC screen = ::GetDC(nullptr);
  HBITMAP color = ::CreateCompatibleBitmap(screen, 16, 15);
  HBITMAP mask = ::CreateBitmap(16, 15, 1, 1, nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, color);
  RECT all = {0, 0, 16, 15};
  HBRUSH brush = ::CreateSolidBrush(kRed);
  ::FillRect(dc, &all, brush);
  ::SelectObject(dc, mask);
  ::PatBlt(dc, 0, 0, 16, 15, BLACKNESS);
  ::SelectObject(dc, old);
  ::DeleteObject(brush);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  ICONINFO info = {TRUE, 0, 0, mask, color};
  HICON icon = ::CreateIconIndirect(&info);
  ::DeleteObject(color);
  ::DeleteObject(mask);
  return icon;
}

enum Pos { kOpen, kCheck, kSeparator, kMiddle, kChevron };

class CoolMenuDrawTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(menutest::PrepareToolkit()); }
  void SetUp() override {
    menu_.AddImage(1, RedIcon(), 16, 15);
    popup_ = menutest::MakeMenu({{1, "Open"}, {2, "Check", MFS_CHECKED}, {0, nullptr},
                                 {3, "Middle"}});
    ::AppendMenuA(popup_, MF_STRING, ID_TK_MENU_CHEVRON, kTkChevronText);
    menu_.ConvertMenu(popup_, TRUE);
  }
  void TearDown() override {
    menu_.ConvertMenu(popup_, FALSE);
    ::DestroyMenu(popup_);
    TkMenuState().dwTrackedDockSide = 0;
    TkMenuState().rcTrackedButton = RECT{0, 0, 0, 0};
  }
  // Draws the item into the picture at rcItem; the look's box size is set as a popup opening
  // sets it.
  void Draw(menutest::Dib& dib, int pos, UINT state, const RECT& rcItem) {
    menu_.UpdateBoxSize();
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemID = menutest::ReadItem(popup_, pos).nID;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hwndItem = reinterpret_cast<HWND>(popup_);
    dis.hDC = dib.Hdc();
    dis.rcItem = rcItem;
    dis.itemData = menutest::ReadItem(popup_, pos).data;
    ASSERT_TRUE(menu_.DrawItem(&dis));
  }

  CTkCoolMenu menu_;
  HMENU popup_ = nullptr;
};

// One probe: the item drawn in a state, the colour expected at a point relative to the item's
// top-left corner (negative x: from the right edge).
struct Probe {
  const char* what;
  BOOL bFlat;
  int pos;
  UINT state;
  int x, y;
  COLORREF (*colour)();
};

COLORREF Menu() { return ToolkitData().m_clrMenu; }
COLORREF Selection() { return ToolkitData().m_clrSelection; }
COLORREF Highlight() { return ToolkitData().m_clrHighlight; }
COLORREF Shadow() { return ToolkitData().m_clrShadow; }
COLORREF DarkShadow() { return ToolkitData().m_clrDarkShadow; }
COLORREF MenuText() { return ToolkitData().m_clrMenuText; }
COLORREF LightFace() { return ToolkitData().m_clrLightFace; }
COLORREF WindowTint() { return ToolkitData().m_clrWindowTint; }
COLORREF FaceTint() { return ToolkitData().m_clrFaceTint; }
COLORREF DarkFace() { return ToolkitData().m_clrDarkFace; }
COLORREF SelectionLight() { return ToolkitData().m_clrSelectionLight; }
COLORREF Red() { return kRed; }

TEST_F(CoolMenuDrawTest, ItemsShowTheirPartsWhereTheyBelong) {
  // Items 200 wide and 22 high (separators 10) at (20, 10); the plain box is 18 by 17, the
  // flat one 24 by 21, both centred vertically at the item's left.
  const int h = 22, sepH = 10;
  const int dx = ::GetSystemMetrics(SM_CXDLGFRAME);
  const Probe probes[] = {
      // Plain look.
      {"image at the box centre", FALSE, kOpen, 0, 1 + 8, 3 + 7, Red},
      {"menu colour beside the text", FALSE, kOpen, 0, -10, 2, Menu},
      {"selection right of the box", FALSE, kOpen, ODS_SELECTED, -10, 2, Selection},
      {"raised box when selected", FALSE, kOpen, ODS_SELECTED, 0, 2, Highlight},
      {"tick in the check box", FALSE, kCheck, ODS_CHECKED, 6 + 2, 1 + 6 + 4, DarkShadow},
      {"tick's highlight when selected", FALSE, kCheck, ODS_CHECKED | ODS_SELECTED, 6 + 2,
       1 + 6 + 4 + 2, Highlight},
      {"etched separator: shadow", FALSE, kSeparator, 0, 30, sepH / 2, Shadow},
      {"etched separator: highlight", FALSE, kSeparator, 0, 30, sepH / 2 + 1, Highlight},
      {"separator leaves its ends", FALSE, kSeparator, 0, 5, sepH / 2, Menu},
      {"chevron glyph", FALSE, kChevron, 0, (200 - 5) / 2, (h - 8) / 2, MenuText},
      {"chevron's second glyph", FALSE, kChevron, 0, (200 - 5) / 2 + 2, (h - 8) / 2 + 7,
       MenuText},
      {"selected chevron on light face", FALSE, kChevron, ODS_SELECTED, 3, 3, LightFace},
      // Flat look: the item reaches over the popup's frame by the dialog frame's width.
      {"flat border on the left", TRUE, kMiddle, 0, -dx, h / 2, []() {
         return ToolkitData().m_clrDarkShadowTint;
       }},
      {"image column", TRUE, kMiddle, 0, 3, 3, FaceTint},
      {"window tint beside the text", TRUE, kMiddle, 0, -10, 3, WindowTint},
      {"selection box frame", TRUE, kMiddle, ODS_SELECTED, -dx + 2, h / 2, Selection},
      {"selection box fill", TRUE, kMiddle, ODS_SELECTED, -10, 3, SelectionLight},
      {"no selection box when disabled", TRUE, kMiddle, ODS_SELECTED | ODS_GRAYED, -10, 3,
       WindowTint},
      {"flat separator line", TRUE, kSeparator, 0, 40, sepH / 2, DarkFace},
      {"flat separator keeps the column", TRUE, kSeparator, 0, 3, sepH / 2, FaceTint},
      {"flat image in place", TRUE, kOpen, 0, 4 + 8, 3 + 7 - 1 + 1, Red},
  };
  for (const Probe& p : probes) {
    menutest::Look look(p.bFlat);
    menutest::Dib dib(260, 50, RGB(1, 2, 3));
    const int height = p.pos == kSeparator ? sepH : h;
    RECT rc = {20, 10, 220, 10 + height};
    Draw(dib, p.pos, p.state, rc);
    int x = p.x >= 0 ? rc.left + p.x : rc.right + p.x;
    if (p.bFlat && p.x < 0 && p.x > -5) x = rc.left + p.x;  // a reach to the left of the item
    EXPECT_EQ(dib.At(x, rc.top + p.y), p.colour()) << p.what;
  }
}

TEST_F(CoolMenuDrawTest, AFlatPopupJoinsTheMenuBarButtonItCameFrom) {
  menutest::Look look(TRUE);
  // The first item of a popup under a bar docked at the top: its top border is open where the
  // 60-pixel button sits on it.
  menutest::RecordAt(popup_, kOpen)->dwDockSide = CBRS_ALIGN_TOP;
  TkMenuState().rcTrackedButton = RECT{100, 2, 160, 24};
  menutest::Dib dib(260, 50);
  RECT rc = {20, 10, 220, 32};
  Draw(dib, kOpen, 0, rc);
  const int left = rc.left - ::GetSystemMetrics(SM_CXDLGFRAME);
  EXPECT_EQ(dib.At(left + 30, rc.top), ToolkitData().m_clrFaceTint) << "under the button";
  EXPECT_EQ(dib.At(left + 100, rc.top), ToolkitData().m_clrDarkShadowTint) << "beyond it";
  EXPECT_EQ(dib.At(left, rc.top), ToolkitData().m_clrDarkShadowTint) << "the corner stays";
}

TEST_F(CoolMenuDrawTest, OnlyTheToolkitsOwnItemsAreDrawn) {
  menutest::Dib dib(100, 30);
  DRAWITEMSTRUCT dis = {};
  dis.CtlType = ODT_MENU;
  dis.hDC = dib.Hdc();
  dis.rcItem = RECT{0, 0, 100, 20};
  dis.itemData = 0x1234;
  EXPECT_FALSE(menu_.DrawItem(&dis));
  dis.CtlType = ODT_BUTTON;
  dis.itemData = menutest::ReadItem(popup_, 0).data;
  EXPECT_FALSE(menu_.DrawItem(&dis));
  EXPECT_EQ(dib.At(50, 10), RGB(1, 2, 3)) << "nothing painted";
}

}  // namespace

namespace {

// Lets a test say whether the system underlines mnemonics on its own.
class CuesMenu : public CTkCoolMenu {
 public:
  void SetKeyboardCues(BOOL bCues) { m_bKeyboardCues = bCues; }
};

// Draws the item's text as given into a fresh picture; the picture's bytes to compare.
std::vector<COLORREF> Picture(CTkCoolMenu& menu, HMENU popup, int pos, const char* text) {
  menutest::RecordAt(popup, pos)->strText = text;
  menutest::Dib dib(120, 24, RGB(1, 2, 3));
  DRAWITEMSTRUCT dis = {};
  dis.CtlType = ODT_MENU;
  dis.hDC = dib.Hdc();
  dis.rcItem = RECT{0, 0, 120, 24};
  dis.itemData = menutest::ReadItem(popup, pos).data;
  menu.UpdateBoxSize();
  menu.DrawItem(&dis);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 120; ++x) pixels.push_back(dib.At(x, y));
  }
  return pixels;
}

TEST(CoolMenuMnemonicsTest, MnemonicsAreUnderlinedOnlyWhenTheyAreToShow) {
  ASSERT_TRUE(menutest::PrepareToolkit());
  const OSVERSIONINFOA* os = GetOSVersionInfo();
  if (os->dwPlatformId != VER_PLATFORM_WIN32_NT || os->dwMajorVersion < 5) {
    GTEST_SKIP() << "keyboard cues came with Windows 2000";
  }
  menutest::Look look(FALSE);
  CuesMenu menu;
  HMENU popup = menutest::MakeMenu({{1, "&Open"}});
  menu.ConvertMenu(popup, TRUE);
  struct Case {
    BOOL bCues;
    BOOL bShowMnemonics;
    bool bUnderlined;
  } cases[] = {
      {FALSE, FALSE, false},  // no cues, no Alt pressed: the letters stay plain
      {FALSE, TRUE, true},    // the menu bar was opened from the keyboard
      {TRUE, FALSE, true},    // the system always shows them
  };
  for (const Case& c : cases) {
    menu.SetKeyboardCues(c.bCues);
    TkMenuState().bShowMnemonics = c.bShowMnemonics;
    std::vector<COLORREF> withMnemonic = Picture(menu, popup, 0, "&Open");
    std::vector<COLORREF> plain = Picture(menu, popup, 0, "Open");
    EXPECT_EQ(withMnemonic != plain, c.bUnderlined) << c.bCues << " " << c.bShowMnemonics;
  }
  TkMenuState().bShowMnemonics = FALSE;
  menu.ConvertMenu(popup, FALSE);
  ::DestroyMenu(popup);
}

TEST(CoolMenuBulletTest, AnItemWithItsOwnCheckBitmapGetsABullet) {
  ASSERT_TRUE(menutest::PrepareToolkit());
  menutest::Look look(FALSE);
  CTkCoolMenu menu;
  HMENU popup = menutest::MakeMenu({{1, "Radio", MFS_CHECKED}, {2, "Tick", MFS_CHECKED}});
  HBITMAP dot = ::CreateBitmap(13, 13, 1, 1, nullptr);
  ::SetMenuItemBitmaps(popup, 0, MF_BYPOSITION, nullptr, dot);
  menu.ConvertMenu(popup, TRUE);
  menu.UpdateBoxSize();
  struct Case {
    int pos;
    int x, y;  // in the check box, which starts one pixel above the image box
    bool bGlyph;
    const char* why;
  } cases[] = {
      {0, 7 + 1, 8 + 4, true, "the bullet's bottom row"},
      {0, 6 + 6, 6 + 0, false, "where a tick would rise"},
      {1, 6 + 6, 6 + 0, true, "the tick's rising end"},
      {1, 7 + 1, 8 + 4, false, "a tick has no dot there"},
  };
  for (const Case& c : cases) {
    menutest::Dib dib(120, 24);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemState = ODS_CHECKED;
    dis.hDC = dib.Hdc();
    dis.rcItem = RECT{0, 0, 120, 24};
    dis.itemData = menutest::ReadItem(popup, c.pos).data;
    ASSERT_TRUE(menu.DrawItem(&dis));
    const int boxTop = (24 - menu.GetBoxSize().cy) / 2 - 1;
    EXPECT_EQ(dib.At(c.x, boxTop + c.y) == ToolkitData().m_clrDarkShadow, c.bGlyph) << c.why;
  }
  menu.ConvertMenu(popup, FALSE);
  ::DestroyMenu(popup);
  ::DeleteObject(dot);
}

}  // namespace
