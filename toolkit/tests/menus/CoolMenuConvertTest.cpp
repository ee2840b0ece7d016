// The owner-drawn menus without a frame: the image map, conversion of a popup and back, the
// records' life, measuring in the toolkit's fonts, the mnemonic lookup, hidden items with the
// chevron, and the recently used commands in the profile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/gdi/Dc.h"
#include "framework/wnd/Wnd.h"
#include "framework/app/AfxResource.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/menus/TkCoolMenu.h"
#include "toolkit/menus/TkMenuShared.h"
#include "toolkit/tests/menus/MenuTestSupport.h"
#include "toolkit/tests/menus/MenusTestIds.h"

using menutest::Item;
using menutest::ReadItem;

namespace {

// Sets the process-wide menu flags for one test and clears them after.
class MenuState {
 public:
  explicit MenuState(BOOL bToolkitTracking, BOOL bExpanded = FALSE) {
    TkMenuState().bToolkitTracking = bToolkitTracking;
    TkMenuState().bExpanded = bExpanded;
  }
  ~MenuState() {
    TkMenuState().bToolkitTracking = FALSE;
    TkMenuState().bExpanded = FALSE;
  }
};

// The test program's own resources (its toolbars and their bitmaps) stand in for the language
// module's while the object lives.
class ExeResources {
 public:
  ExeResources()
      : m_oldToolkit(ToolkitData().m_hResource), m_oldFramework(AfxGetResourceHandle()) {
    HINSTANCE exe = ::GetModuleHandleA(nullptr);
    ToolkitData().m_hResource = exe;
    AfxSetResourceHandle(exe);
  }
  ~ExeResources() {
    ToolkitData().m_hResource = m_oldToolkit;
    AfxSetResourceHandle(m_oldFramework);
  }

 private:
  HINSTANCE m_oldToolkit, m_oldFramework;
};

// A small icon of one colour for the image map.
HICON SolidIcon(COLORREF colour, int cx = 16, int cy = 15) {
  HDC screen = ::GetDC(nullptr);
  HBITMAP color = ::CreateCompatibleBitmap(screen, cx, cy);
  HBITMAP mask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, color);
  RECT all = {0, 0, cx, cy};
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &all, brush);
  ::SelectObject(dc, mask);
  ::PatBlt(dc, 0, 0, cx, cy, BLACKNESS);  // all opaque
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

// The colour at the centre of a command's image.
COLORREF ImageColour(const CTkCoolMenu& menu, UINT nCommand) {
  int index = menu.LookupImage(nCommand);
  if (index < 0) return CLR_INVALID;
  menutest::Dib dib(32, 32, RGB(1, 2, 3));
  ::ImageList_Draw(menu.GetImageList(), index, dib.Hdc(), 0, 0, ILD_NORMAL);
  return dib.At(8, 7);
}

class CoolMenuTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(menutest::PrepareToolkit()); }
  void SetUp() override { baseline_ = tk_test::GetMenuItemDataCounts(); }
  void TearDown() override {
    for (HMENU m : menus_) {
      if (::IsMenu(m)) ::DestroyMenu(m);
    }
  }
  HMENU Make(const std::vector<Item>& items) {
    HMENU m = menutest::MakeMenu(items);
    menus_.push_back(m);
    return m;
  }
  long Live() const { return tk_test::GetMenuItemDataCounts().nLive - baseline_.nLive; }
  long Refused() const {
    return tk_test::GetMenuItemDataCounts().nRefused - baseline_.nRefused;
  }

  tk_test::MenuItemDataCounts baseline_{};
  std::vector<HMENU> menus_;
};

// --- images ---

TEST_F(CoolMenuTest, ACommandKeepsTheFirstImageItWasGiven) {
  CTkCoolMenu menu;
  menu.AddImage(10, SolidIcon(RGB(255, 0, 0)), 16, 15);
  menu.AddImage(11, SolidIcon(RGB(0, 0, 255)), 16, 15);
  menu.AddImage(10, SolidIcon(RGB(0, 255, 0)), 16, 15);
  EXPECT_EQ(menu.GetImageSize(), CSize(16, 15));
  EXPECT_EQ(::ImageList_GetImageCount(menu.GetImageList()), 2);
  EXPECT_EQ(ImageColour(menu, 10), RGB(255, 0, 0));
  EXPECT_EQ(ImageColour(menu, 11), RGB(0, 0, 255));
  EXPECT_EQ(menu.LookupImage(12), -1);
  // The disabled copy follows the images: made on demand, dropped when images are added.
  ASSERT_NE(menu.GetDisabledImageList(), nullptr);
  EXPECT_EQ(::ImageList_GetImageCount(menu.GetDisabledImageList()), 2);
  menu.AddImage(12, SolidIcon(RGB(9, 9, 9)), 16, 15);
  EXPECT_EQ(::ImageList_GetImageCount(menu.GetDisabledImageList()), 3);
  menu.Reset();
  EXPECT_EQ(menu.LookupImage(10), -1);
  EXPECT_EQ(menu.GetImageList(), nullptr);
}

// A strip's background is transparent in the menu whether it was drawn on the face colour or on
// magenta, as the program's own strips are; the picture itself stays.
TEST_F(CoolMenuTest, AStripsFaceOrMagentaBackgroundIsTransparent) {
  const COLORREF face = ToolkitData().m_clrFace;
  const COLORREF backgrounds[] = {RGB(255, 0, 255), face};
  HDC screen = ::GetDC(nullptr);
  HBITMAP strip = ::CreateCompatibleBitmap(screen, 32, 15);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, strip);
  for (int i = 0; i < 2; ++i) {
    RECT image = {16 * i, 0, 16 * i + 16, 15};
    HBRUSH brush = ::CreateSolidBrush(backgrounds[i]);
    ::FillRect(dc, &image, brush);
    ::DeleteObject(brush);
    RECT dot = {16 * i + 6, 5, 16 * i + 10, 9};
    brush = ::CreateSolidBrush(RGB(200, 0, 0));
    ::FillRect(dc, &dot, brush);
    ::DeleteObject(brush);
  }
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  CTkCoolMenu menu;
  const UINT ids[] = {21, 22};
  ASSERT_TRUE(menu.AddImagesFromBitmap(strip, ids, 2));
  ::DeleteObject(strip);
  for (UINT id : ids) {
    menutest::Dib dib(32, 32, RGB(1, 2, 3));
    ::ImageList_Draw(menu.GetImageList(), menu.LookupImage(id), dib.Hdc(), 0, 0, ILD_NORMAL);
    EXPECT_EQ(dib.At(1, 1), RGB(1, 2, 3)) << id << ": the background lets the menu through";
    EXPECT_EQ(dib.At(7, 6), RGB(200, 0, 0)) << id;
  }
}

TEST_F(CoolMenuTest, ToolbarsGiveTheirButtonImagesFirstLoadedFirst) {
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, "STATIC", "host", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  ExeResources resources;
  CTkCoolMenu menu;
  ASSERT_TRUE(menu.Install(host.m_hWnd));
  const UINT bars[] = {IDR_TEST_BAR_ONE, IDR_TEST_BAR_TWO};
  ASSERT_TRUE(menu.LoadToolbars(bars, 2));
  // The separator gives nothing: four commands, four images.
  EXPECT_EQ(::ImageList_GetImageCount(menu.GetImageList()), 4);
  struct Case {
    UINT nCommand;
    COLORREF colour;
    const char* why;
  } cases[] = {
      {ID_TEST_RED, RGB(255, 0, 0), "first bar, first button"},
      {ID_TEST_GREEN, RGB(0, 255, 0), "first bar, second button"},
      {ID_TEST_BLUE, RGB(0, 0, 255), "on both bars: the first bar's image stays"},
      // Magenta is the strips' background: a wholly magenta image shows the menu through.
      {ID_TEST_MAGENTA, RGB(1, 2, 3), "second bar only"},
  };
  for (const Case& c : cases) EXPECT_EQ(ImageColour(menu, c.nCommand), c.colour) << c.why;
  // A bar that does not exist stops the loading.
  const UINT missing[] = {IDR_TEST_BAR_ONE, 999, IDR_TEST_BAR_TWO};
  EXPECT_FALSE(menu.LoadToolbars(missing, 3));
  menu.HookWindow(static_cast<HWND>(nullptr));
  host.DestroyWindow();
}

TEST_F(CoolMenuTest, ToolbarButtonsWithoutImagesAddNothing) {
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, "STATIC", "host", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  HWND bar = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD, 0, 0, 100, 30, host.m_hWnd,
                               nullptr, nullptr, nullptr);
  ::SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  HIMAGELIST images = ::ImageList_Create(16, 15, ILC_COLOR32 | ILC_MASK, 2, 1);
  ::ImageList_AddIcon(images, SolidIcon(RGB(255, 0, 0)));
  ::SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  TBBUTTON buttons[3] = {};
  buttons[0] = {0, 501, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, -1};
  buttons[1] = {0, 0, 0, TBSTYLE_SEP, {}, 0, -1};
  buttons[2] = {I_IMAGENONE, 502, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, -1};
  ::SendMessageA(bar, TB_ADDBUTTONSA, 3, reinterpret_cast<LPARAM>(buttons));
  CTkCoolMenu menu;
  EXPECT_TRUE(menu.AddImagesFromToolbar(bar));
  EXPECT_EQ(menu.LookupImage(501), 0);
  EXPECT_EQ(menu.LookupImage(502), -1);
  EXPECT_EQ(menu.LookupImage(0), -1);
  EXPECT_EQ(::ImageList_GetImageCount(menu.GetImageList()), 1);
  // A toolbar without images gives nothing and says so.
  ::SendMessageA(bar, TB_SETIMAGELIST, 0, 0);
  EXPECT_FALSE(menu.AddImagesFromToolbar(bar));
  ::DestroyWindow(bar);
  ::ImageList_Destroy(images);
  host.DestroyWindow();
}

TEST_F(CoolMenuTest, BitmapStripsMapImageIToTheIthCommand) {
  ExeResources resources;
  CTkCoolMenu menu;
  const UINT ids[] = {601, 0, 603};
  EXPECT_TRUE(menu.AddImagesFromBitmapResource(IDR_TEST_BAR_ONE, ids, 3));
  EXPECT_EQ(ImageColour(menu, 601), RGB(255, 0, 0));
  EXPECT_EQ(ImageColour(menu, 603), RGB(0, 0, 255));
  EXPECT_EQ(::ImageList_GetImageCount(menu.GetImageList()), 2);
  EXPECT_FALSE(menu.AddImagesFromBitmap(nullptr, ids, 3));
  EXPECT_FALSE(menu.AddImagesFromBitmapResource(999, ids, 3));
}

// --- conversion ---

TEST_F(CoolMenuTest, ConversionRoundTripKeepsEveryItemAsItWas) {
  CTkCoolMenu menu;
  menu.AddImage(701, SolidIcon(RGB(255, 0, 0)), 16, 15);
  HMENU popup = Make({{701, "&Open\tCtrl+O"},
                      {0, nullptr},
                      {710, "&Recent", 0, true},
                      {702, "&Check", MFS_CHECKED},
                      {703, "&Default", MFS_DEFAULT},
                      {704, "&Greyed", MFS_GRAYED}});
  // Somebody else's item: data the toolkit did not make, pointing nowhere it could read.
  ::AppendMenuA(popup, MF_STRING, 705, "&Theirs");
  MENUITEMINFOA foreign = {};
  foreign.cbSize = sizeof foreign;
  foreign.fMask = MIIM_DATA;
  foreign.dwItemData = 0x1234;
  ::SetMenuItemInfoA(popup, 6, TRUE, &foreign);

  std::vector<menutest::ItemView> before;
  for (int i = 0; i < ::GetMenuItemCount(popup); ++i) before.push_back(ReadItem(popup, i));

  menu.ConvertMenu(popup, TRUE);
  EXPECT_EQ(Live(), 6);
  ASSERT_EQ(menu.GetConvertedMenus().size(), 1u);
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(before[i].text);
    menutest::ItemView now = ReadItem(popup, i);
    EXPECT_TRUE(now.fType & MFT_OWNERDRAW);
    MenuItemData* rec = TkMenuItemDataFrom(now.data);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(std::string(rec->strText.GetString()), before[i].text);
    EXPECT_EQ(rec->nPosition, i);
    EXPECT_EQ(rec->nCommand, before[i].nID);
    EXPECT_EQ(rec->hMenu, popup);
    EXPECT_EQ(rec->hSubMenu, before[i].hSubMenu);
    EXPECT_EQ(rec->fState, before[i].fState);
    EXPECT_EQ(rec->nImage, i == 0 ? 0 : -1);
    EXPECT_EQ(rec->dwFlags, 0u) << "nothing hides while no toolkit popup is tracked";
  }
  menutest::ItemView theirs = ReadItem(popup, 6);
  EXPECT_FALSE(theirs.fType & MFT_OWNERDRAW);
  EXPECT_EQ(theirs.data, 0x1234u);

  // Converting again makes no second record and lists the popup once.
  menu.ConvertMenu(popup, TRUE);
  EXPECT_EQ(Live(), 6);
  EXPECT_EQ(menu.GetConvertedMenus().size(), 1u);

  menu.ConvertMenu(popup, FALSE);
  for (size_t i = 0; i < before.size(); ++i) {
    SCOPED_TRACE(before[i].text);
    menutest::ItemView now = ReadItem(popup, static_cast<int>(i));
    EXPECT_EQ(now.fType, before[i].fType);
    EXPECT_EQ(now.fState, before[i].fState);
    EXPECT_EQ(now.text, before[i].text);
    EXPECT_EQ(now.data, before[i].data);
    EXPECT_EQ(now.hSubMenu, before[i].hSubMenu);
  }
  EXPECT_EQ(Live(), 0);
  EXPECT_TRUE(menu.GetRecords().empty());
  EXPECT_EQ(Refused(), 0);
}

TEST_F(CoolMenuTest, FirstAndLastItemsAreFoundByRecordedPosition) {
  CTkCoolMenu menu;
  HMENU popup = Make({{801, "One"}, {802, "Two"}, {803, "Three"}});
  menu.ConvertMenu(popup, TRUE);
  EXPECT_TRUE(menu.IsFirstItem(popup, 0));
  EXPECT_FALSE(menu.IsFirstItem(popup, 1));
  EXPECT_TRUE(menu.IsLastItem(popup, 2, 803));
  EXPECT_FALSE(menu.IsLastItem(popup, 1, 802));
  EXPECT_EQ(menu.FindItemPos(popup, 802), 1);
  EXPECT_EQ(menu.FindItemPos(popup, 999), -1);
  // With a chevron at the end, the chevron is the last item and nothing else is.
  ::AppendMenuA(popup, MF_STRING, ID_TK_MENU_CHEVRON, kTkChevronText);
  EXPECT_FALSE(menu.IsLastItem(popup, 3, 803));
  EXPECT_TRUE(menu.IsLastItem(popup, 3, ID_TK_MENU_CHEVRON));
  menu.ConvertMenu(popup, FALSE);
}

// --- the records' life ---

TEST_F(CoolMenuTest, RecordsAreFreedOnceWhicheverWayTheMenuEnds) {
  struct Case {
    const char* how;
    bool bHide;         // rarely used items (one with a popup) are taken out first
    bool bDestroyMenu;  // the popup is destroyed while it is open
    bool bCloseByFrame; // the cool menu itself goes (the frame closes) instead of the menu
  } cases[] = {
      {"menu closes", false, false, false},
      {"menu closes with items hidden", true, false, false},
      {"popup destroyed while open", false, true, false},
      {"popup destroyed while open with items hidden", true, true, false},
      {"frame goes with the menu open", false, false, true},
      {"frame goes with the menu open and items hidden", true, false, true},
      {"frame goes after the popup was destroyed", true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    MenuState state(c.bHide);
    HMENU popup = Make({{901, "Keep"}, {902, "Hide", 0, true}, {903, "Hide too"}, {904, "Keep"}});
    HMENU sub = ReadItem(popup, 1).hSubMenu;
    tk_test::MenuItemDataCounts start = tk_test::GetMenuItemDataCounts();
    {
      CTkCoolMenu menu;
      const UINT hideable[] = {903};
      menu.AddHideableCommands(hideable, 1);
      // The popup item's id is its menu handle: marked hideable by that.
      menu.AddHideableCommand(ReadItem(popup, 1).nID);
      menu.ConvertMenu(popup, TRUE);
      if (c.bHide) {
        menu.HideRarelyUsed(popup);
        EXPECT_EQ(::GetMenuItemCount(popup), 3) << "Keep, Keep and the chevron";
      }
      if (c.bDestroyMenu) ::DestroyMenu(popup);
      if (!c.bCloseByFrame) {
        menu.OnMenuSelect(0, 0xFFFF, nullptr);
        EXPECT_TRUE(menu.GetRecords().empty());
        EXPECT_TRUE(menu.GetConvertedMenus().empty());
      }
    }
    tk_test::MenuItemDataCounts end = tk_test::GetMenuItemDataCounts();
    EXPECT_EQ(end.nLive, start.nLive) << "every record freed";
    EXPECT_EQ(end.nRefused, start.nRefused) << "none freed twice";
    EXPECT_EQ(end.nCreated - start.nCreated, end.nDeleted - start.nDeleted);
    if (!c.bDestroyMenu) {
      // The popup lives on with its former items and no owner-drawn item is left behind.
      ASSERT_EQ(::GetMenuItemCount(popup), 4);
      for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(ReadItem(popup, i).fType & MFT_OWNERDRAW);
        EXPECT_EQ(ReadItem(popup, i).data, 0u);
      }
      EXPECT_EQ(ReadItem(popup, 1).hSubMenu, sub);
    } else {
      // The popup taken out as hidden belonged to nobody once its menu was gone: freed too.
      EXPECT_FALSE(::IsMenu(sub) && c.bHide);
    }
  }
}

TEST_F(CoolMenuTest, ARecordCannotBeFreedTwiceNorForeignDataTakenForOne) {
  auto* rec = new MenuItemData;
  EXPECT_EQ(TkMenuItemDataFrom(reinterpret_cast<ULONG_PTR>(rec)), rec);
  TkDeleteMenuItemData(rec);
  EXPECT_EQ(Refused(), 0);
  EXPECT_EQ(TkMenuItemDataFrom(reinterpret_cast<ULONG_PTR>(rec)), nullptr);
  TkDeleteMenuItemData(rec);  // a second free is refused, not done
  EXPECT_EQ(Refused(), 1);
  // Data that merely looks like a record is not one.
  struct Fake {
    void* vtable;
    char text[64];
  } fake = {};
  EXPECT_EQ(TkMenuItemDataFrom(reinterpret_cast<ULONG_PTR>(&fake)), nullptr);
  EXPECT_EQ(TkMenuItemDataFrom(0x10), nullptr);
  EXPECT_EQ(Live(), 0);
}

// --- mnemonics ---

TEST_F(CoolMenuTest, MnemonicsSelectOrExecuteAsTheSystemWould) {
  CTkCoolMenu menu;
  HMENU popup = Make({{1, "&Open"}, {2, "&Options"}, {3, "&Save"}, {4, "E&xit"},
                      {5, "Fish && &Chips"}, {6, "&Other"}});
  menu.ConvertMenu(popup, TRUE);
  auto Hilite = [&](int pos) {
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
      MENUITEMINFOA info = {};
      info.cbSize = sizeof info;
      info.fMask = MIIM_STATE;
      info.fState = i == pos ? MFS_HILITE : 0;
      ::SetMenuItemInfoA(popup, i, TRUE, &info);
    }
  };
  struct Case {
    char key;
    int hilite;
    LRESULT expected;
    const char* why;
  } cases[] = {
      {'x', -1, MAKELRESULT(3, MNC_EXECUTE), "one match runs it"},
      {'X', -1, MAKELRESULT(3, MNC_EXECUTE), "case does not matter"},
      {'c', -1, MAKELRESULT(4, MNC_EXECUTE), "a doubled ampersand is no mnemonic"},
      {'f', -1, 0, "nor is the letter after it"},
      {'o', -1, MAKELRESULT(0, MNC_SELECT), "several: the first without a highlight"},
      {'o', 0, MAKELRESULT(1, MNC_SELECT), "several: the next after the highlighted one"},
      {'o', 1, MAKELRESULT(5, MNC_SELECT), "skipping items with other letters"},
      {'o', 5, MAKELRESULT(0, MNC_SELECT), "from the last match back to the first"},
      {'z', -1, 0, "no match: the system beeps"},
  };
  for (const Case& c : cases) {
    Hilite(c.hilite);
    EXPECT_EQ(menu.OnMenuChar(static_cast<UINT>(c.key), MF_POPUP, popup), c.expected)
        << c.key << ": " << c.why;
  }
  menu.ConvertMenu(popup, FALSE);
  EXPECT_EQ(menu.OnMenuChar('x', MF_POPUP, popup), 0) << "plain items are the system's";
}

// --- measuring ---

int TextWidth(const char* text, HFONT font) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, font);
  SIZE size = {};
  ::GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return size.cx;
}

MEASUREITEMSTRUCT Measure(CTkCoolMenu& menu, HMENU popup, int pos) {
  MEASUREITEMSTRUCT mis = {};
  mis.CtlType = ODT_MENU;
  mis.itemID = ReadItem(popup, pos).nID;
  mis.itemData = ReadItem(popup, pos).data;
  EXPECT_TRUE(menu.MeasureItem(&mis));
  return mis;
}

TEST_F(CoolMenuTest, ItemsAreMeasuredInTheToolkitsFonts) {
  const CTkToolkitData& data = ToolkitData();
  ASSERT_NE(data.m_hFontNormal, nullptr);
  const int cyMenu = data.m_cyMenu;
  const char* longText = "A rather long command name for measuring";
  CTkCoolMenu menu;
  HMENU popup = Make({{1, "&Open\tCtrl+O"},
                      {0, nullptr},
                      {2, ""},
                      {3, longText},
                      {4, longText, MFS_DEFAULT},
                      {5, "Last"}});
  menu.ConvertMenu(popup, TRUE);
  const int imageW = menu.GetImageSize().cx, imageH = menu.GetImageSize().cy;
  const int openW = TextWidth("&OpenXXXCtrl+O", data.m_hFontNormal);
  const int longW = TextWidth(longText, data.m_hFontNormal);
  const int boldW = TextWidth(longText, data.m_hFontBold);
  const int dlg = ::GetSystemMetrics(SM_CYDLGFRAME);
  struct Case {
    BOOL bFlat;
    int pos;
    UINT cx, cy;
    const char* why;
  } cases[] = {
      {FALSE, 0, static_cast<UINT>(std::max(100, 2 * imageW + 2 + openW)),
       static_cast<UINT>(std::max(imageH + 4, cyMenu)), "a tab is measured as XXX"},
      {FALSE, 1, 0, static_cast<UINT>(cyMenu / 2), "separator: half a menu line"},
      {FALSE, 2, 100, static_cast<UINT>(cyMenu), "no text"},
      {FALSE, 3, static_cast<UINT>(2 * imageW + 2 + longW),
       static_cast<UINT>(std::max(imageH + 4, cyMenu)), "plain look: two image widths"},
      {FALSE, 4, static_cast<UINT>(2 * imageW + 2 + boldW),
       static_cast<UINT>(std::max(imageH + 4, cyMenu)), "the default item is bold"},
      {TRUE, 3, static_cast<UINT>(imageW + 28 + longW),
       static_cast<UINT>(std::max(imageH + 6, cyMenu)), "flat look: one image width and 28"},
      {TRUE, 0, static_cast<UINT>(std::max(100, imageW + 28 + openW)),
       static_cast<UINT>(std::max(imageH + 6, cyMenu) + 2), "flat look: the first item has the top border"},
      {TRUE, 5, 100, static_cast<UINT>(std::max(imageH + 6, cyMenu) + 2 - 2 * dlg),
       "flat look: the last item has the bottom border"},
  };
  for (const Case& c : cases) {
    menutest::Look look(c.bFlat);
    MEASUREITEMSTRUCT mis = Measure(menu, popup, c.pos);
    EXPECT_EQ(mis.itemWidth, c.cx) << c.why;
    EXPECT_EQ(mis.itemHeight, c.cy) << c.why;
  }
  EXPECT_GT(boldW, longW);
  // An item that is not the toolkit's is not measured here.
  MEASUREITEMSTRUCT other = {};
  other.CtlType = ODT_MENU;
  other.itemData = 0x1234;
  EXPECT_FALSE(menu.MeasureItem(&other));
  other.CtlType = ODT_LISTBOX;
  other.itemData = ReadItem(popup, 0).data;
  EXPECT_FALSE(menu.MeasureItem(&other));
  menu.ConvertMenu(popup, FALSE);
}

// --- hidden items and the chevron ---

class HiddenItemsTest : public CoolMenuTest {
 protected:
  void SetUp() override {
    CoolMenuTest::SetUp();
    profile_ = std::make_unique<menutest::ScratchProfile>();
    const UINT hideable[] = {12, 13, 15};
    menu_.AddHideableCommands(hideable, 3);
    menu_.ResetUsage();
  }
  void TearDown() override {
    menu_.ResetUsage();
    profile_.reset();
    CoolMenuTest::TearDown();
  }
  // A, B(h), C(h), -, D(h)... as the tests name them.
  HMENU Standard() {
    return Make({{11, "Alpha"}, {12, "Beta"}, {13, "Gamma"}, {0, nullptr}, {15, "Epsilon"},
                 {0, nullptr}, {17, "Eta"}});
  }
  std::unique_ptr<menutest::ScratchProfile> profile_;
  CTkCoolMenu menu_;
};

TEST_F(HiddenItemsTest, RarelyUsedItemsHideBehindAChevronAndComeBack) {
  struct Case {
    const char* why;
    std::vector<UINT> used;      // recently used, oldest first
    BOOL bExpanded;
    std::vector<UINT> shown;     // the popup while open
    BOOL bHidingShown;           // rarely used items are on show (the popup is expanded)
  } cases[] = {
      {"hideable items go; the separators that meet become one", {}, FALSE,
       {11, 0, 17, ID_TK_MENU_CHEVRON}, FALSE},
      {"a recently used command stays", {13}, FALSE, {11, 13, 0, 17, ID_TK_MENU_CHEVRON}, FALSE},
      {"all used recently: no chevron", {12, 13, 15}, FALSE, {11, 12, 13, 0, 15, 0, 17}, FALSE},
      {"an expanded popup shows everything", {}, TRUE, {11, 12, 13, 0, 15, 0, 17}, TRUE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    menu_.ResetUsage();
    for (UINT id : c.used) menu_.RecordCommand(id);
    MenuState state(TRUE, c.bExpanded);
    HMENU popup = Standard();
    std::vector<UINT> all = menutest::Commands(popup);
    menu_.ConvertMenu(popup, TRUE);
    menu_.HideRarelyUsed(popup);
    EXPECT_EQ(menutest::Commands(popup), c.shown);
    EXPECT_EQ(menu_.HasHiddenItems(popup), c.bHidingShown);
    // The menu closes: everything back in its place, plain again, records gone.
    menu_.OnMenuSelect(0, 0xFFFF, nullptr);
    EXPECT_EQ(menutest::Commands(popup), all);
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
      EXPECT_FALSE(ReadItem(popup, i).fType & MFT_OWNERDRAW);
    }
    EXPECT_EQ(ReadItem(popup, 2).text, "Gamma");
    EXPECT_EQ(Live(), 0);
  }
}

TEST_F(HiddenItemsTest, TheChevronCommandBringsHiddenItemsBackInPlace) {
  MenuState state(TRUE);
  HMENU popup = Standard();
  menu_.ConvertMenu(popup, TRUE);
  menu_.HideRarelyUsed(popup);
  ASSERT_EQ(menutest::Commands(popup).back(), ID_TK_MENU_CHEVRON);
  // The group flags mark where a hidden run starts and ends.
  TkMenuState().bExpanded = TRUE;
  EXPECT_TRUE(menu_.RestoreHidden(popup));
  EXPECT_EQ(menutest::Commands(popup), (std::vector<UINT>{11, 12, 13, 0, 15, 0, 17}));
  EXPECT_EQ(menutest::RecordAt(popup, 1)->dwFlags, kTkItemHideable | kTkItemFirstHidden);
  EXPECT_EQ(menutest::RecordAt(popup, 2)->dwFlags, kTkItemHideable | kTkItemLastHidden);
  EXPECT_EQ(menutest::RecordAt(popup, 4)->dwFlags,
            kTkItemHideable | kTkItemFirstHidden | kTkItemLastHidden);
  // Every item is the toolkit's again and owner-drawn, with its record.
  for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
    EXPECT_TRUE(ReadItem(popup, i).fType & MFT_OWNERDRAW);
    EXPECT_NE(menutest::RecordAt(popup, i), nullptr);
  }
  EXPECT_FALSE(menu_.RestoreHidden(popup)) << "nothing more to bring back";
  menu_.OnMenuSelect(0, 0xFFFF, nullptr);
  EXPECT_EQ(Live(), 0);
}

TEST_F(HiddenItemsTest, RecentlyUsedCommandsAreKeptNewestFirstAndSurviveARestart) {
  menu_.SetRecentCount(5);
  // Not hideable and not used: not recorded.
  EXPECT_FALSE(menu_.RecordCommand(99));
  const UINT more[] = {21, 22, 23, 24, 25, 26};
  menu_.AddHideableCommands(more, 6);
  for (UINT id : {21u, 22u, 23u, 24u, 25u}) EXPECT_TRUE(menu_.RecordCommand(id));
  EXPECT_TRUE(menu_.IsRecentlyUsed(21));
  EXPECT_TRUE(menu_.RecordCommand(26));  // the sixth drops the oldest
  EXPECT_FALSE(menu_.IsRecentlyUsed(21));
  EXPECT_TRUE(menu_.RecordCommand(22));  // used again: to the head, nothing dropped
  struct Case {
    UINT id;
    BOOL bRecent;
  } cases[] = {{21, FALSE}, {22, TRUE}, {23, TRUE}, {24, TRUE}, {25, TRUE}, {26, TRUE}};
  {
    CTkCoolMenu restarted;  // a new program run reads the same profile
    restarted.AddHideableCommands(more, 6);
    for (const Case& c : cases) EXPECT_EQ(restarted.IsRecentlyUsed(c.id), c.bRecent) << c.id;
    EXPECT_FALSE(restarted.IsHideable(22));
    EXPECT_TRUE(restarted.IsHideable(21));
    // 23 is the oldest now: one more command drops it, not 22.
    EXPECT_TRUE(restarted.RecordCommand(21));
    EXPECT_FALSE(restarted.IsRecentlyUsed(23));
    EXPECT_TRUE(restarted.IsRecentlyUsed(22));
    restarted.ResetUsage();
    for (const Case& c : cases) EXPECT_FALSE(restarted.IsRecentlyUsed(c.id)) << c.id;
  }
}

}  // namespace
