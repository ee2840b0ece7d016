// CMenu over real menus: loading from the resource handle, items, states, popups as temporary
// wrappers, and menus destroyed exactly once.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/gdi/Gdi.h"
#include "framework/core/String.h"

namespace {

TEST(MenuTest, LoadsFromTheResourceHandleAndReadsItems) {
  CMenu bar;
  ASSERT_TRUE(bar.LoadMenu(107));
  EXPECT_EQ(bar.GetMenuItemCount(), 2);
  CMenu* file = bar.GetSubMenu(0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(bar.GetSubMenu(0), file);     // the same wrapper until idle time
  EXPECT_EQ(bar.GetSubMenu(1), nullptr);  // a command, not a popup
  EXPECT_EQ(file->GetMenuItemCount(), 3);

  struct Item {
    int pos;
    UINT id;
    const char* text;
  } items[] = {{0, 101, "&Open...\tCtrl+O"}, {1, 0, ""}, {2, 102, "E&xit"}};
  for (const auto& item : items) {
    SCOPED_TRACE(item.pos);
    EXPECT_EQ(file->GetMenuItemID(item.pos), item.id);
    CString text;
    file->GetMenuString(item.pos, text, MF_BYPOSITION);
    EXPECT_STREQ(text, item.text);
  }
  EXPECT_EQ(bar.GetMenuItemID(0), static_cast<UINT>(-1));  // a popup has no command
  EXPECT_EQ(file->GetMenuItemID(7), static_cast<UINT>(-1));
  CString missing = "old";
  EXPECT_EQ(file->GetMenuString(999, missing, MF_BYCOMMAND), 0);
  EXPECT_TRUE(missing.IsEmpty());
  CMenu none;
  EXPECT_FALSE(none.LoadMenu(9999));
  EXPECT_EQ(none.m_hMenu, nullptr);
  AfxDeleteTempGdiMaps();
  EXPECT_TRUE(IsMenu(bar.GetSubMenu(0)->m_hMenu));  // cleaning wrappers leaves the popup
  AfxDeleteTempGdiMaps();
}

TEST(MenuTest, LongItemTextsAreReadWhole) {
  CMenu popup;
  ASSERT_TRUE(popup.CreatePopupMenu());
  std::string longText(600, 'x');
  ASSERT_TRUE(popup.AppendMenu(MF_STRING, 1, longText.c_str()));
  CString text;
  EXPECT_EQ(popup.GetMenuString(1, text, MF_BYCOMMAND), 600);
  EXPECT_EQ(std::string(text), longText);
}

TEST(MenuTest, StatesChangeAndReportThePreviousOne) {
  CMenu popup;
  ASSERT_TRUE(popup.CreatePopupMenu());
  for (UINT id = 10; id <= 13; ++id) popup.AppendMenu(MF_STRING, id, "item");
  popup.InsertMenu(0, MF_BYPOSITION | MF_STRING, 9, "first");
  popup.ModifyMenu(13, MF_BYCOMMAND | MF_STRING, 14, "renamed");
  EXPECT_EQ(popup.GetMenuItemID(0), 9u);
  EXPECT_EQ(popup.GetMenuItemID(4), 14u);

  struct Case {
    const char* what;
    UINT (*change)(CMenu&);
    UINT expected;
  } cases[] = {
      {"first grey", [](CMenu& m) { return m.EnableMenuItem(10, MF_GRAYED); }, MF_ENABLED},
      {"grey again", [](CMenu& m) { return m.EnableMenuItem(10, MF_ENABLED); }, MF_GRAYED},
      {"missing item", [](CMenu& m) { return m.EnableMenuItem(99, MF_GRAYED); }, UINT(-1)},
      {"first check", [](CMenu& m) { return m.CheckMenuItem(11, MF_CHECKED); }, MF_UNCHECKED},
      {"uncheck", [](CMenu& m) { return m.CheckMenuItem(11, MF_UNCHECKED); }, MF_CHECKED},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.change(popup), c.expected);
  }
  ASSERT_TRUE(popup.CheckMenuRadioItem(10, 12, 12, MF_BYCOMMAND));
  EXPECT_TRUE(popup.GetMenuState(12, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(popup.GetMenuState(10, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(popup.GetMenuState(99, MF_BYCOMMAND), UINT(-1));

  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_STATE;
  ASSERT_TRUE(popup.GetMenuItemInfo(12, &info));
  EXPECT_EQ(info.wID, 12u);
  info.fMask = MIIM_ID;
  info.wID = 20;
  ASSERT_TRUE(popup.SetMenuItemInfo(1, &info, TRUE));
  EXPECT_EQ(popup.GetMenuItemID(1), 20u);
  EXPECT_TRUE(popup.DeleteMenu(20, MF_BYCOMMAND));
  EXPECT_EQ(popup.GetMenuItemCount(), 4);
}

// Removing a popup's item hands the popup back alive; deleting it destroys the popup.
TEST(MenuTest, RemoveKeepsAPopupAndDeleteDestroysIt) {
  CMenu bar;
  ASSERT_TRUE(bar.CreateMenu());
  HMENU kept = CreatePopupMenu(), gone = CreatePopupMenu();
  bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(kept), "Kept");
  bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(gone), "Gone");
  EXPECT_TRUE(bar.RemoveMenu(0, MF_BYPOSITION));
  EXPECT_TRUE(bar.DeleteMenu(0, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(kept));
  EXPECT_FALSE(IsMenu(gone));
  DestroyMenu(kept);
}

// A popup owned by its own CMenu and also placed in a bar is destroyed with the bar; its owner
// then only forgets the handle instead of destroying it a second time.
TEST(MenuTest, AMenuIsDestroyedOnce) {
  auto popup = std::make_unique<CMenu>();
  HMENU hPopup;
  {
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    ASSERT_TRUE(popup->CreatePopupMenu());
    hPopup = popup->m_hMenu;
    bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), "Popup");
  }
  EXPECT_FALSE(IsMenu(hPopup));
  EXPECT_FALSE(popup->DestroyMenu());
  EXPECT_EQ(popup->m_hMenu, nullptr);
  popup.reset();

  HMENU raw = CreatePopupMenu();
  {
    CMenu owner, second;
    ASSERT_TRUE(owner.Attach(raw));
    EXPECT_FALSE(second.Attach(raw));
    EXPECT_FALSE(second.Attach(reinterpret_cast<HMENU>(0x1234)));  // not a menu
    CMenu* temp = CMenu::FromHandle(raw);
    EXPECT_EQ(temp, &owner);
  }
  EXPECT_FALSE(IsMenu(raw));
  HMENU detached;
  {
    CMenu m;
    m.CreatePopupMenu();
    detached = m.Detach();
  }
  EXPECT_TRUE(IsMenu(detached));
  DestroyMenu(detached);

  CMenu recreated;
  recreated.CreatePopupMenu();
  HMENU first = recreated.m_hMenu;
  ASSERT_TRUE(recreated.CreatePopupMenu());
  EXPECT_FALSE(IsMenu(first));  // the menu held before is not left behind
}

// A class that draws its own items gets them through the virtual members.
class OwnerDrawMenu : public CMenu {
 public:
  int measured = 0;
  void MeasureItem(LPMEASUREITEMSTRUCT mis) override {
    mis->itemWidth = 50;
    mis->itemHeight = 20;
    ++measured;
  }
};

TEST(MenuTest, OwnerDrawHooksAreVirtual) {
  OwnerDrawMenu menu;
  CMenu* base = &menu;
  MEASUREITEMSTRUCT mis{};
  base->MeasureItem(&mis);
  EXPECT_EQ(menu.measured, 1);
  EXPECT_EQ(mis.itemHeight, 20u);
  DRAWITEMSTRUCT dis{};
  CMenu plain;
  plain.DrawItem(&dis);  // the base draws nothing and does not fail
}

}  // namespace
