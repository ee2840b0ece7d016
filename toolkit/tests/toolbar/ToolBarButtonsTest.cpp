// The toolkit toolbar's buttons on a live control: every field of a written record reaches the
// control, texts share the control's string pool, the style word's inverted enabled bit and the
// idle update's checks, the bitmap in the user's colours, the sizes and the height.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "framework/app/AfxResource.h"
#include "framework/frame/FrameWnd.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/bars/TkToolBarLayout.h"
#include "toolkit/tests/toolbar/ToolBarTestIds.h"

namespace {

// Answers the idle update of each command with the check and enable it is given.
class UpdatingFrame : public CFrameWnd {
 protected:
  void PostNcDestroy() override {}

 public:
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
    if (nCode == CN_UPDATE_COMMAND_UI) {
      auto* ui = static_cast<CCmdUI*>(pExtra);
      auto check = checks.find(nID);
      if (check != checks.end()) ui->SetCheck(check->second);
      auto enable = enables.find(nID);
      if (enable != enables.end()) ui->Enable(enable->second);
      return check != checks.end() || enable != enables.end();
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pInfo);
  }
  std::map<UINT, int> checks;
  std::map<UINT, BOOL> enables;
};

// Never asks before a Reset; shows the borders the height gave.
class OpenToolBar : public CTkToolBar {
 public:
  int TkMessageBox(UINT, UINT) override { return IDYES; }
  int TopBorder() const { return m_cyTopBorder; }
  int BottomBorder() const { return m_cyBottomBorder; }
};

class ToolBarButtonsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(frame_.Create(nullptr, "Toolbar buttons", WS_OVERLAPPEDWINDOW,
                              CRect(10, 10, 410, 210)));
    ASSERT_TRUE(bar_.CreateEx(&frame_, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP,
                              AFX_IDW_TOOLBAR));
    ASSERT_TRUE(bar_.LoadToolBar(IDR_TEST_BAR));
    frame_.ShowWindow(SW_SHOW);
    frame_.RecalcLayout();
    frame_.UpdateWindow();
  }
  void TearDown() override {
    if (frame_.m_hWnd) frame_.DestroyWindow();
  }
  TBBUTTON Read(int index) {
    TBBUTTON b = {};
    EXPECT_TRUE(bar_._GetButton(index, &b));
    std::memset(b.bReserved, 0, sizeof b.bReserved);
    return b;
  }
  // The next index the control's string pool would give: the number of strings in it.
  INT_PTR PoolSize() {
    static const char probe[] = "probe\0";
    INT_PTR next = bar_.SendMessage(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(probe));
    return next;
  }
  COLORREF PixelOfBitmap(int x, int y) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bar_.GetBitmap());
    COLORREF c = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return c;
  }
  int ImageCount() {
    auto list = reinterpret_cast<HIMAGELIST>(bar_.SendMessage(TB_GETIMAGELIST));
    return list ? ImageList_GetImageCount(list) : -1;
  }
  void Notify(UINT code) {
    NMTOOLBARA nm = {};
    nm.hdr.hwndFrom = bar_.m_hWnd;
    nm.hdr.idFrom = AFX_IDW_TOOLBAR;
    nm.hdr.code = code;
    frame_.SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&nm));
  }

  UpdatingFrame frame_;
  OpenToolBar bar_;
};

// Each field of a record, changed alone, reads back as written; the other fields stay.
TEST_F(ToolBarButtonsTest, WritingARecordKeepsEveryFieldGiven) {
  INT_PTR text = bar_.SendMessage(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>("Text\0"));
  ASSERT_GE(text, 0);
  struct Case {
    const char* what;
    int index;
    void (*change)(TBBUTTON&, INT_PTR);
  } cases[] = {
      {"command id", 1, [](TBBUTTON& b, INT_PTR) { b.idCommand = ID_TEST_DROPPED; }},
      {"image", 0, [](TBBUTTON& b, INT_PTR) { b.iBitmap = 3; }},
      {"style", 3, [](TBBUTTON& b, INT_PTR) { b.fsStyle |= TBSTYLE_CHECK; }},
      {"disabled and checked", 4,
       [](TBBUTTON& b, INT_PTR) { b.fsState |= TBSTATE_ENABLED | TBSTATE_CHECKED; }},
      {"item data", 0, [](TBBUTTON& b, INT_PTR) { b.dwData = 0x1234; }},
      {"string index", 1, [](TBBUTTON& b, INT_PTR s) { b.iString = s; }},
      {"separator width", 2, [](TBBUTTON& b, INT_PTR) { b.iBitmap = 30; }},
      {"button to separator", 4,
       [](TBBUTTON& b, INT_PTR) {
         b.fsStyle = TBSTYLE_SEP;
         b.idCommand = 0;
         b.iBitmap = 12;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int count = bar_.GetCount();
    TBBUTTON wanted = Read(c.index);
    c.change(wanted, text);
    ASSERT_TRUE(bar_._SetButton(c.index, &wanted));
    TBBUTTON now = Read(c.index);
    EXPECT_EQ(now.idCommand, wanted.idCommand);
    EXPECT_EQ(now.iBitmap, wanted.iBitmap);
    EXPECT_EQ(now.fsStyle, wanted.fsStyle);
    EXPECT_EQ(now.fsState, wanted.fsState);
    EXPECT_EQ(now.dwData, wanted.dwData);
    EXPECT_EQ(now.iString, wanted.iString);
    EXPECT_EQ(bar_.GetCount(), count);
  }
  // The separator's new width is the room it takes.
  RECT sep = {};
  bar_.SendMessage(TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&sep));
  EXPECT_EQ(sep.right - sep.left, 30);
}

// A record as the control has it changes nothing; a new state or image repaints the button; a
// separator of a new width, or a button that takes another size, repaints the bar (the buttons
// after it moved).
TEST_F(ToolBarButtonsTest, WritingInvalidatesWhatChanged) {
  struct Case {
    const char* what;
    int index;
    void (*change)(TBBUTTON&);
    BOOL invalidated;
    BOOL wholeBar;
  } cases[] = {
      {"unchanged", 1, [](TBBUTTON&) {}, FALSE, FALSE},
      {"checked", 1, [](TBBUTTON& b) { b.fsState |= TBSTATE_CHECKED; }, TRUE, FALSE},
      {"separator wider", 2, [](TBBUTTON& b) { b.iBitmap = 40; }, TRUE, TRUE},
      {"another image", 1, [](TBBUTTON& b) { b.iBitmap = 0; }, TRUE, FALSE},
      {"sized by its text", 1,
       [](TBBUTTON& b) {
         b.fsStyle |= TBSTYLE_AUTOSIZE;
         b.iString = reinterpret_cast<INT_PTR>("A much longer text");
       },
       TRUE, TRUE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    bar_.UpdateWindow();
    bar_.ValidateRect(nullptr);
    TBBUTTON b = Read(c.index);
    c.change(b);
    ASSERT_TRUE(bar_._SetButton(c.index, &b));
    RECT update = {};
    EXPECT_EQ(::GetUpdateRect(bar_.m_hWnd, &update, FALSE) != 0, c.invalidated != 0);
    if (!c.invalidated) continue;
    RECT client = {}, item = {};
    bar_.GetClientRect(&client);
    bar_.SendMessage(TB_GETITEMRECT, c.index, reinterpret_cast<LPARAM>(&item));
    if (c.wholeBar) {
      EXPECT_EQ(update.right - update.left, client.right - client.left);
    } else {
      EXPECT_EQ(update.left, item.left);
      EXPECT_EQ(update.right, item.right);
    }
  }
  TBBUTTON any = Read(0);
  EXPECT_FALSE(bar_._SetButton(99, &any)) << "no button there";
}

// A text set on several buttons, set again and put back by a Reset goes into the pool once.
TEST_F(ToolBarButtonsTest, ATextGoesIntoTheStringPoolOnce) {
  struct Step {
    int index;
    const char* text;
  } steps[] = {{0, "Open"}, {1, "Open"}, {0, "Open"}, {3, "Save"}, {1, "Open"}};
  for (const Step& s : steps) ASSERT_TRUE(bar_.SetButtonText(s.index, s.text)) << s.index;
  EXPECT_EQ(Read(0).iString, Read(1).iString);
  EXPECT_NE(Read(0).iString, Read(3).iString);
  EXPECT_EQ(bar_.GetButtonText(1), CString("Open"));
  EXPECT_EQ(bar_.GetButtonText(3), CString("Save"));
  EXPECT_FALSE(bar_.SetButtonText(2, "Separator")) << "a separator has no text";

  Notify(TBN_RESET);
  Notify(TBN_RESET);
  EXPECT_EQ(bar_.GetButtonText(0), CString("Open"));
  EXPECT_EQ(bar_.GetButtonText(3), CString("Save"));
  EXPECT_EQ(PoolSize(), 2) << "two texts, each once";
}

// The style word reads a disabled button with 0x40000 set and writes it back the same way; the
// idle update checks, clears and makes indeterminate, and disabling lets go of a pressed button.
TEST_F(ToolBarButtonsTest, StyleWordAndTheIdleUpdate) {
  bar_.SendMessage(TB_ENABLEBUTTON, ID_TEST_SECOND, MAKELPARAM(FALSE, 0));
  UINT style = bar_.GetButtonStyle(1);
  EXPECT_NE(style & 0x40000, 0u);
  bar_.SetButtonStyle(1, style & ~0x40000u);
  EXPECT_TRUE(bar_.SendMessage(TB_ISBUTTONENABLED, ID_TEST_SECOND));
  EXPECT_EQ(bar_.GetButtonStyle(1) & 0x40000, 0u);

  struct Case {
    int check;
    BOOL checked, indeterminate;
  } cases[] = {{1, TRUE, FALSE}, {2, FALSE, TRUE}, {0, FALSE, FALSE}, {1, TRUE, FALSE}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.check);
    frame_.checks[ID_TEST_FIRST] = c.check;
    bar_.OnUpdateCmdUI(&frame_, FALSE);
    EXPECT_EQ(bar_.SendMessage(TB_ISBUTTONCHECKED, ID_TEST_FIRST) != 0, c.checked != 0);
    EXPECT_EQ(bar_.SendMessage(TB_ISBUTTONINDETERMINATE, ID_TEST_FIRST) != 0,
              c.indeterminate != 0);
    EXPECT_NE(bar_.GetButtonStyle(0) & TBSTYLE_CHECK, 0u);
  }

  bar_.SendMessage(TB_PRESSBUTTON, ID_TEST_THIRD, MAKELPARAM(TRUE, 0));
  frame_.enables[ID_TEST_THIRD] = FALSE;
  bar_.OnUpdateCmdUI(&frame_, FALSE);
  EXPECT_FALSE(bar_.SendMessage(TB_ISBUTTONENABLED, ID_TEST_THIRD));
  EXPECT_FALSE(bar_.SendMessage(TB_ISBUTTONPRESSED, ID_TEST_THIRD));
  frame_.enables[ID_TEST_THIRD] = TRUE;
  bar_.OnUpdateCmdUI(&frame_, FALSE);
  EXPECT_TRUE(bar_.SendMessage(TB_ISBUTTONENABLED, ID_TEST_THIRD));
}

// A bitmap resource comes in the user's colours and is loaded again when they change;
// a bitmap given by handle replaces it in place and stays as given.
TEST_F(ToolBarButtonsTest, TheBitmapFollowsTheSystemColours) {
  ASSERT_TRUE(bar_.LoadBitmap(IDR_TEST_BAR));
  HBITMAP loaded = bar_.GetBitmap();
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(ImageCount(), 4);
  struct Pixel {
    int x, sysColor;
  } pixels[] = {{0, COLOR_BTNSHADOW}, {7, COLOR_BTNFACE}, {15, COLOR_BTNTEXT}};
  for (const Pixel& p : pixels) EXPECT_EQ(PixelOfBitmap(p.x, 3), ::GetSysColor(p.sysColor)) << p.x;

  bar_.SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_NE(bar_.GetBitmap(), loaded) << "loaded again";

  // A strip drawn on magenta has the face colour there, which the control's mask clears.
  ASSERT_TRUE(bar_.LoadBitmap(IDB_TEST_MAGENTA));
  EXPECT_EQ(PixelOfBitmap(0, 0), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(PixelOfBitmap(4, 4), RGB(0, 0, 0));
  ASSERT_TRUE(bar_.LoadBitmap(IDR_TEST_BAR));
  loaded = bar_.GetBitmap();
  bar_.SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_EQ(::GetObjectType(loaded), 0u) << "the old one is freed";
  EXPECT_EQ(ImageCount(), 4) << "replaced, not added";

  EXPECT_FALSE(bar_.LoadBitmap(4242));
  HBITMAP reloaded = bar_.GetBitmap();
  EXPECT_NE(::GetObjectType(reloaded), 0u) << "a missing resource changes nothing";

  HDC screen = ::GetDC(nullptr);
  HBITMAP given = ::CreateCompatibleBitmap(screen, 64, 15);
  ::ReleaseDC(nullptr, screen);
  ASSERT_TRUE(bar_.SetBitmap(given));
  EXPECT_EQ(bar_.GetBitmap(), given);
  EXPECT_EQ(::GetObjectType(reloaded), 0u);
  EXPECT_EQ(ImageCount(), 4);
  bar_.SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_EQ(bar_.GetBitmap(), given) << "nothing to load it again from";
}

// The sizes the control accepts are the bar's; the height less the bar's bottom border (2) is
// shared between the margins, the top one taking the odd pixel and never going below nothing.
TEST_F(ToolBarButtonsTest, SizesAndHeight) {
  EXPECT_EQ(bar_.GetButtonSize().cx, 23);
  EXPECT_EQ(bar_.GetImageSize().cy, 15);
  bar_.SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(20, 18));
  bar_.SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(28, 26));
  EXPECT_EQ(bar_.GetImageSize().cx, 20);
  EXPECT_EQ(bar_.GetImageSize().cy, 18);
  EXPECT_EQ(bar_.GetButtonSize().cx, 28);
  EXPECT_EQ(bar_.GetButtonSize().cy, 26);
  EXPECT_EQ(bar_.GetStyle() & (TBSTYLE_FLAT | TBSTYLE_TRANSPARENT), static_cast<DWORD>(TBSTYLE_FLAT))
      << "the measuring styles are put back";

  struct Case {
    int height, top, bottom;
  } cases[] = {{28, 0, 0}, {38, 5, 5}, {39, 6, 5}, {22, 0, -6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    bar_.SetHeight(c.height);
    EXPECT_EQ(bar_.TopBorder(), c.top);
    EXPECT_EQ(bar_.BottomBorder(), c.bottom);
  }
}

}  // namespace
