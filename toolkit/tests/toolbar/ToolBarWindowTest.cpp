// The toolkit's toolbar on real windows under the X display: its buttons' commands reach the
// frame, drop-down buttons open their menu or tell the owner, no hot-tracking with the button
// held, and the buttons that go behind the chevron on the live control.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/app/AfxResource.h"
#include "framework/app/WinApp.h"
#include "framework/frame/FrameWnd.h"
#include "resources/ids/ToolkitToolbarIds.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/bars/TkToolBarLayout.h"
#include "toolkit/tests/toolbar/ToolBarTestIds.h"

namespace {

// Writes down the commands and the drop-down notices it gets. A member of the test, so it does
// not delete itself as frames do.
class RecordingFrame : public CFrameWnd {
 protected:
  void PostNcDestroy() override {}

 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
    if (message == WM_TK_COLORPOPUP_CLOSED || message == WM_TK_COLORPOPUP_CHOSEN)
      colourNotes.push_back({message, static_cast<COLORREF>(wParam), static_cast<UINT>(lParam)});
    if (message == WM_TK_TOOLBAR_DROPDOWN) {
      auto* nm = reinterpret_cast<NMTOOLBARA*>(wParam);
      dropNotices.push_back(static_cast<UINT>(nm->iItem));
      dropRect = *reinterpret_cast<RECT*>(lParam);
      return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
  struct ColourNote {
    UINT message;
    COLORREF colour;
    UINT command;
    bool operator==(const ColourNote&) const = default;
  };
  std::vector<UINT> commands;
  std::vector<ColourNote> colourNotes;
  std::vector<UINT> dropNotices;
  RECT dropRect = {};
};

// Opens no menu: keeps what it was given. The mouse button is whatever the test says.
class TestToolBar : public CTkToolBar {
 public:
  void TrackDropDownMenu(HMENU hPopup, const RECT& rcButton) override {
    tracked.push_back(::GetMenuItemID(hPopup, 0));
    trackedAt = rcButton;
  }
  BOOL IsLeftButtonDown() const override { return leftDown; }
  int TkMessageBox(UINT nIDText, UINT) override {
    asked.push_back(nIDText);
    return answer;
  }
  std::vector<UINT> asked;
  int answer = IDYES;
  std::vector<UINT> tracked;
  RECT trackedAt = {};
  BOOL leftDown = FALSE;
  BOOL Tracking() const { return m_bTrackingCapture; }
};

class ToolBarWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(frame_.Create(nullptr, "Toolbar test", WS_OVERLAPPEDWINDOW,
                              CRect(10, 10, 410, 210)));
    ASSERT_TRUE(bar_.CreateEx(&frame_, TBSTYLE_FLAT,
                              WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR));
    ASSERT_TRUE(bar_.LoadToolBar(IDR_TEST_BAR));
    frame_.ShowWindow(SW_SHOW);
    frame_.RecalcLayout();
    frame_.UpdateWindow();
  }
  void TearDown() override {
    if (frame_.m_hWnd) frame_.DestroyWindow();
  }
  // The notification as the control sends it to its parent, which reflects it to the bar.
  LRESULT Notify(UINT code, int item) {
    NMTOOLBARA nm = {};
    nm.hdr.hwndFrom = bar_.m_hWnd;
    nm.hdr.idFrom = AFX_IDW_TOOLBAR;
    nm.hdr.code = code;
    nm.iItem = item;
    return frame_.SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&nm));
  }
  LRESULT HotItemChange(int from, int to) {
    NMTBHOTITEM nm = {};
    nm.hdr.hwndFrom = bar_.m_hWnd;
    nm.hdr.idFrom = AFX_IDW_TOOLBAR;
    nm.hdr.code = TBN_HOTITEMCHANGE;
    nm.idOld = from;
    nm.idNew = to;
    return frame_.SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&nm));
  }
  std::vector<int> HiddenIndexes() {
    std::vector<int> out;
    for (int i = 0; i < bar_.GetCount(); ++i) {
      TBBUTTON b = {};
      bar_._GetButton(i, &b);
      if (b.fsState & TBSTATE_HIDDEN) out.push_back(i);
    }
    return out;
  }

  RecordingFrame frame_;
  TestToolBar bar_;
};

TEST_F(ToolBarWindowTest, AClickedButtonsCommandReachesTheFrame) {
  CRect rect;
  bar_.GetItemRect(bar_.CommandToIndex(ID_TEST_SECOND), &rect);
  LPARAM at = MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y);
  bar_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  bar_.SendMessage(WM_LBUTTONUP, 0, at);
  EXPECT_EQ(frame_.commands, std::vector<UINT>{ID_TEST_SECOND});
}

// A resource of 16 x 15 images gives 23 x 22 buttons, and the bitmap of the same id their
// images; a disabled button reads with the "disabled" bit set in its record and style word, and
// a record written back unchanged leaves the control as it was.
TEST_F(ToolBarWindowTest, LoadedSizesAndTheInvertedEnabledBit) {
  DWORD size = static_cast<DWORD>(bar_.SendMessage(TB_GETBUTTONSIZE));
  EXPECT_EQ(LOWORD(size), 23);
  EXPECT_EQ(HIWORD(size), 22);
  EXPECT_NE(bar_.GetBitmap(), nullptr) << "the toolbar's own bitmap";
  EXPECT_NE(bar_.SendMessage(TB_GETIMAGELIST), 0);
  bar_.SendMessage(TB_ENABLEBUTTON, ID_TEST_SECOND, MAKELPARAM(FALSE, 0));
  TBBUTTON b = {};
  ASSERT_TRUE(bar_._GetButton(1, &b));
  EXPECT_NE(b.fsState & TBSTATE_ENABLED, 0) << "the bit means disabled here";
  EXPECT_NE(TkButtonStyleWord(b) & 0x40000, 0u);
  ASSERT_TRUE(bar_._SetButton(1, &b));
  EXPECT_FALSE(bar_.SendMessage(TB_ISBUTTONENABLED, ID_TEST_SECOND));
  b.fsState &= ~TBSTATE_ENABLED;  // enabled again, in the toolkit's form
  ASSERT_TRUE(bar_._SetButton(1, &b));
  EXPECT_TRUE(bar_.SendMessage(TB_ISBUTTONENABLED, ID_TEST_SECOND));
}

// The record keeps the menu; the live button gets the drop-down style, and the arrow only when
// asked for; a command without a button has none.
TEST_F(ToolBarWindowTest, DropDownButtonsOpenTheirMenuOrTellTheOwner) {
  EXPECT_FALSE(bar_.AddDropDownButton(ID_TEST_DROPPED, IDR_TEST_DROP, TRUE));
  EXPECT_EQ(bar_.SendMessage(TB_GETEXTENDEDSTYLE) & TBSTYLE_EX_DRAWDDARROWS, 0);
  ASSERT_TRUE(bar_.AddDropDownButton(ID_TEST_FIRST, IDR_TEST_DROP, TRUE));
  ASSERT_TRUE(bar_.AddDropDownButton(ID_TEST_THIRD, 0, FALSE));
  EXPECT_NE(bar_.SendMessage(TB_GETEXTENDEDSTYLE) & TBSTYLE_EX_DRAWDDARROWS, 0);
  EXPECT_NE(bar_.GetButtonStyle(0) & TBSTYLE_DROPDOWN, 0u);
  EXPECT_EQ(bar_.GetDropDownMenu(ID_TEST_FIRST), static_cast<UINT>(IDR_TEST_DROP));
  EXPECT_EQ(bar_.FindDropDown(ID_TEST_SECOND), nullptr);

  // The menu's first popup, at the button's place on the screen.
  EXPECT_EQ(Notify(TBN_DROPDOWN, ID_TEST_FIRST), TBDDRET_DEFAULT);
  EXPECT_EQ(bar_.tracked, std::vector<UINT>{ID_TEST_DROPPED});
  CRect item;
  bar_.GetItemRect(0, &item);
  bar_.ClientToScreen(&item);
  EXPECT_EQ(bar_.trackedAt.left, item.left);
  EXPECT_EQ(bar_.trackedAt.bottom, item.bottom);
  EXPECT_TRUE(frame_.dropNotices.empty());

  // Without a menu the owner hears of it, with the button's screen rectangle; the mouse stays
  // captured until the button comes up.
  bar_.leftDown = TRUE;
  Notify(TBN_DROPDOWN, ID_TEST_THIRD);
  EXPECT_EQ(frame_.dropNotices, std::vector<UINT>{ID_TEST_THIRD});
  bar_.GetItemRect(bar_.CommandToIndex(ID_TEST_THIRD), &item);
  bar_.ClientToScreen(&item);
  EXPECT_EQ(CRect(frame_.dropRect), item);
  EXPECT_TRUE(bar_.Tracking());
  EXPECT_EQ(::GetCapture(), bar_.m_hWnd);
  bar_.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(-50, -50));
  EXPECT_FALSE(bar_.Tracking());
  EXPECT_NE(::GetCapture(), bar_.m_hWnd);

  // A button the bar knows no drop-down for gets no default handling.
  EXPECT_EQ(Notify(TBN_DROPDOWN, ID_TEST_SECOND), TBDDRET_NODEFAULT);
}

// A colour button opens the colour popup under itself; a second press leaves it open. The
// popup's choice becomes the button's colour and reaches the owner, and so does its closing,
// with the button's command.
TEST_F(ToolBarWindowTest, AColourButtonOpensThePopupAndPassesItsChoiceOn) {
  const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0);
  ASSERT_TRUE(bar_.AddDropDownButton(ID_TEST_SECOND, red, RGB(0, 0, 0), 0, TRUE, TRUE));
  Notify(TBN_DROPDOWN, ID_TEST_SECOND);
  HWND popup = bar_.GetColorPopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(::IsWindow(popup));
  EXPECT_EQ(bar_.GetColorPopupCommand(), ID_TEST_SECOND);
  CRect item;
  bar_.GetItemRect(bar_.CommandToIndex(ID_TEST_SECOND), &item);
  bar_.ClientToScreen(&item);
  EXPECT_EQ(ToolkitData().m_rcDropDownButton, item) << "published for the popup's border";
  Notify(TBN_DROPDOWN, ID_TEST_SECOND);
  EXPECT_EQ(bar_.GetColorPopup(), popup) << "the same popup stays";

  ::SendMessageA(bar_.m_hWnd, WM_TK_COLORPOPUP_CHOSEN, green, ID_TEST_SECOND);
  EXPECT_EQ(bar_.FindDropDown(ID_TEST_SECOND)->clrCurrent, green);
  ::DestroyWindow(popup);
  EXPECT_EQ(bar_.GetColorPopup(), nullptr);
  EXPECT_EQ(bar_.GetColorPopupCommand(), -1);
  using Note = RecordingFrame::ColourNote;
  ASSERT_EQ(frame_.colourNotes.size(), 2u);
  EXPECT_EQ(frame_.colourNotes[0], (Note{WM_TK_COLORPOPUP_CHOSEN, green, ID_TEST_SECOND}));
  EXPECT_EQ(frame_.colourNotes[1].message, static_cast<UINT>(WM_TK_COLORPOPUP_CLOSED));
  EXPECT_EQ(frame_.colourNotes[1].command, static_cast<UINT>(ID_TEST_SECOND));
}

// A bar that goes while its colour popup is open takes the popup with it: the popup reports to
// the bar.
TEST_F(ToolBarWindowTest, AColourPopupGoesWithItsBar) {
  auto bar = std::make_unique<CTkToolBar>();
  ASSERT_TRUE(bar->CreateEx(&frame_, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE8F1));
  ASSERT_TRUE(bar->LoadToolBar(IDR_TEST_BAR));
  ASSERT_TRUE(bar->AddDropDownButton(ID_TEST_FIRST, RGB(1, 2, 3), RGB(0, 0, 0), 0, FALSE, TRUE));
  NMTOOLBARA nm = {};
  nm.hdr.hwndFrom = bar->m_hWnd;
  nm.hdr.idFrom = 0xE8F1;
  nm.hdr.code = TBN_DROPDOWN;
  nm.iItem = ID_TEST_FIRST;
  frame_.SendMessage(WM_NOTIFY, 0xE8F1, reinterpret_cast<LPARAM>(&nm));
  HWND popup = bar->GetColorPopup();
  ASSERT_TRUE(popup && ::IsWindow(popup));
  bar->DestroyWindow();
  bar.reset();
  EXPECT_FALSE(::IsWindow(popup));
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

// The bar draws into the picture the control paints: a plain separator's etched line, and a
// colour button's bar of its colour under the image.
TEST_F(ToolBarWindowTest, SeparatorsAndColourBarsAreDrawnByTheBar) {
  const COLORREF blue = RGB(0, 0, 255);
  ASSERT_TRUE(bar_.AddDropDownButton(ID_TEST_FIRST, blue, RGB(0, 0, 0), 0, TRUE, FALSE));
  CRect client;
  bar_.GetClientRect(&client);
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.Width(), client.Height());
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  bar_.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  CRect separator, button;
  bar_.GetItemRect(2, &separator);
  bar_.GetItemRect(0, &button);
  COLORREF line = ::GetPixel(dc, separator.left + 2, (separator.top + separator.bottom) / 2);
  COLORREF colourBar = ::GetPixel(dc, button.left + 6, button.bottom - 5);
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  EXPECT_EQ(line, ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(colourBar, blue);
}

// The buttons behind the chevron go into the popup's toolbar in rows of the width given, with
// their texts and drop-downs; a separator neither leads nor ends the copy.
TEST_F(ToolBarWindowTest, HiddenButtonsAreCopiedInRowsWithTheirTextsAndDropDowns) {
  ASSERT_TRUE(bar_.SetButtonText(bar_.CommandToIndex(ID_TEST_THIRD), "Third"));
  ASSERT_TRUE(bar_.AddDropDownButton(ID_TEST_FOURTH, IDR_TEST_DROP, TRUE));
  ASSERT_TRUE(bar_.HideButtonsToFit(1));
  CTkToolBar target;
  ASSERT_TRUE(target.CreateEx(&frame_, TBSTYLE_FLAT, WS_CHILD | CBRS_TOP, 0xE8F0));
  // Rows no wider than one button: each copy after the first starts a row of its own.
  EXPECT_EQ(bar_.CopyHiddenButtons(&target, 1), 4);
  std::vector<UINT> ids;
  for (int i = 0; i < target.GetCount(); ++i) {
    TBBUTTON b = {};
    target._GetButton(i, &b);
    ids.push_back((b.fsStyle & TBSTYLE_SEP) ? ((b.fsState & TBSTATE_WRAP) ? 1u : 0u)
                                            : static_cast<UINT>(b.idCommand));
    EXPECT_FALSE(b.fsState & TBSTATE_HIDDEN);
  }
  // 1: a wrapping separator between rows; 0 the group's own separator.
  EXPECT_EQ(ids, (std::vector<UINT>{ID_TEST_SECOND, 0, 1, ID_TEST_THIRD, 1, ID_TEST_FOURTH}));
  EXPECT_EQ(target.GetButtonText(target.CommandToIndex(ID_TEST_THIRD)), "Third");
  ASSERT_NE(target.FindDropDown(ID_TEST_FOURTH), nullptr);
  EXPECT_EQ(target.FindDropDown(ID_TEST_FOURTH)->nMenuID, static_cast<UINT>(IDR_TEST_DROP));
  EXPECT_EQ(CTkToolBar().CopyHiddenButtons(&target, 100), 0) << "no window, nothing hidden";
  target.DestroyWindow();
}

TEST_F(ToolBarWindowTest, NoHotTrackingWhileTheButtonIsHeld) {
  EXPECT_EQ(HotItemChange(ID_TEST_FIRST, ID_TEST_SECOND), 0);
  bar_.leftDown = TRUE;
  EXPECT_EQ(HotItemChange(ID_TEST_FIRST, ID_TEST_SECOND), 1);
}

// On the live control: buttons go from the end, the separator like a button, and come back in
// order as the bar grows; the control's own hidden states follow.
TEST_F(ToolBarWindowTest, ButtonsGoBehindTheChevronAndComeBack) {
  int full = bar_.GetRowLength();
  ASSERT_GT(full, 0);
  EXPECT_FALSE(bar_.HideButtonsToFit(full)) << "everything fits";
  EXPECT_TRUE(HiddenIndexes().empty());

  ASSERT_TRUE(bar_.HideButtonsToFit(1));
  EXPECT_EQ(HiddenIndexes(), (std::vector<int>{1, 2, 3, 4})) << "one button stays";
  EXPECT_EQ(bar_.GetHiddenButtons().size(), 4u);
  EXPECT_TRUE(::SendMessageA(bar_.m_hWnd, TB_ISBUTTONHIDDEN, ID_TEST_FOURTH, 0));
  EXPECT_FALSE(::SendMessageA(bar_.m_hWnd, TB_ISBUTTONHIDDEN, ID_TEST_FIRST, 0));

  EXPECT_TRUE(bar_.ShowButtonsThatFit(full + 100));
  EXPECT_TRUE(HiddenIndexes().empty());
  EXPECT_TRUE(bar_.GetHiddenButtons().empty());
  EXPECT_EQ(bar_.GetRowLength(), full) << "the widths came back with the buttons";

  bar_.HideButtonsToFit(1);
  bar_.ShowHiddenButtons();
  EXPECT_TRUE(HiddenIndexes().empty());
  EXPECT_TRUE(bar_.GetHiddenButtons().empty());
}

// The language module for the toolkit's texts, and an application whose registry key is the
// test's own, removed afterwards.
class ToolBarCustomizeTest : public ToolBarWindowTest {
 protected:
  static void SetUpTestSuite() {
    HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
    if (language) ToolkitData().m_hResource = language;
  }
  void SetUp() override {
    ASSERT_NE(ToolkitData().m_hResource, nullptr);
    company_.Format("ZBToolbarTest-%lu", ::GetCurrentProcessId());
    app_ = std::make_unique<CWinApp>("TbTest");
    app_->SetRegistryKey(company_);
    ToolBarWindowTest::SetUp();
    bar_.SetButtonText(0, "First");
  }
  void TearDown() override {
    ToolBarWindowTest::TearDown();
    app_.reset();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + company_);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, CString("Software\\") + company_);
  }
  std::vector<UINT> Ids() {
    std::vector<UINT> ids;
    for (int i = 0; i < bar_.GetCount(); ++i) ids.push_back(bar_.GetItemID(i));
    return ids;
  }
  LRESULT ButtonInfo(int item, std::string* text) {
    char buffer[64] = {};
    NMTOOLBARA nm = {};
    nm.hdr.hwndFrom = bar_.m_hWnd;
    nm.hdr.idFrom = AFX_IDW_TOOLBAR;
    nm.hdr.code = TBN_GETBUTTONINFOA;
    nm.iItem = item;
    nm.pszText = buffer;
    nm.cchText = sizeof buffer;
    LRESULT result = frame_.SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&nm));
    *text = buffer;
    info_ = nm.tbButton;
    return result;
  }
  CString company_;
  std::unique_ptr<CWinApp> app_;
  TBBUTTON info_ = {};
};

const std::vector<UINT> kLoaded = {ID_TEST_FIRST, ID_TEST_SECOND, 0, ID_TEST_THIRD,
                                   ID_TEST_FOURTH};

// The user's arrangement is kept under the application's key when the dialog ends, comes back
// from there, and Reset puts the buttons back as loaded (with their texts).
TEST_F(ToolBarCustomizeTest, TheArrangementIsSavedRestoredAndReset) {
  EXPECT_EQ(std::string(bar_.GetRegistryKeyName()),
            std::string("Software\\") + static_cast<LPCSTR>(company_) + "\\TbTest\\Toolbars");
  EXPECT_EQ(std::string(bar_.GetRegistryValueName()), "TbTest-Bar59392");
  ASSERT_EQ(Ids(), kLoaded);

  bar_.HideButtonsToFit(1);
  Notify(TBN_BEGINADJUST, -1);
  EXPECT_TRUE(bar_.IsCustomizing());
  EXPECT_TRUE(bar_.GetHiddenButtons().empty()) << "the chevron's buttons take part";
  // The user takes the second button and the separator away.
  bar_.SendMessage(TB_DELETEBUTTON, 1);
  bar_.SendMessage(TB_DELETEBUTTON, 1);
  Notify(TBN_TOOLBARCHANGE, -1);
  Notify(TBN_ENDADJUST, -1);
  EXPECT_FALSE(bar_.IsCustomizing());
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, bar_.GetRegistryKeyName(), 0, KEY_READ, &key),
            ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(::RegQueryValueExA(key, bar_.GetRegistryValueName(), nullptr, nullptr, nullptr,
                               &size),
            ERROR_SUCCESS);
  EXPECT_GT(size, 0u);
  ::RegCloseKey(key);

  // Reset, asked first; No changes nothing.
  bar_.answer = IDNO;
  EXPECT_EQ(Notify(TBN_RESET, -1), 1);
  EXPECT_EQ(Ids(), (std::vector<UINT>{ID_TEST_FIRST, ID_TEST_THIRD, ID_TEST_FOURTH}));
  bar_.answer = IDYES;
  Notify(TBN_RESET, -1);
  EXPECT_EQ(bar_.asked, (std::vector<UINT>{IDS_TK_TOOLBAR_RESET, IDS_TK_TOOLBAR_RESET}));
  EXPECT_EQ(Ids(), kLoaded);
  EXPECT_EQ(std::string(bar_.GetButtonText(0)), "First");

  // The saved arrangement comes back.
  EXPECT_TRUE(bar_.RestoreState());
  EXPECT_EQ(Ids(), (std::vector<UINT>{ID_TEST_FIRST, ID_TEST_THIRD, ID_TEST_FOURTH}));
}

// The dialog's list is the buttons as loaded; what may be removed and moved; its Help.
TEST_F(ToolBarCustomizeTest, TheDialogsQuestionsAreAnswered) {
  std::string text;
  EXPECT_EQ(ButtonInfo(0, &text), 1);
  EXPECT_EQ(info_.idCommand, ID_TEST_FIRST);
  EXPECT_EQ(text, "First") << "the text set on the bar";
  EXPECT_EQ(ButtonInfo(2, &text), 1);
  EXPECT_NE(info_.fsStyle & TBSTYLE_SEP, 0);
  EXPECT_EQ(ButtonInfo(5, &text), 0) << "past the list";
  EXPECT_EQ(ButtonInfo(-1, &text), 0);

  NMTOOLBARA nm = {};
  nm.hdr.hwndFrom = bar_.m_hWnd;
  nm.hdr.idFrom = AFX_IDW_TOOLBAR;
  auto send = [&](UINT code, int id, BYTE state) {
    nm.hdr.code = code;
    nm.tbButton.idCommand = id;
    nm.tbButton.fsState = state;
    return frame_.SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&nm));
  };
  EXPECT_EQ(send(TBN_QUERYDELETE, ID_TEST_FIRST, TBSTATE_ENABLED), 1);
  EXPECT_EQ(send(TBN_QUERYDELETE, ID_TEST_FIRST, TBSTATE_HIDDEN), 0) << "a hidden button";
  EXPECT_EQ(send(TBN_QUERYDELETE, 0, TBSTATE_HIDDEN), 1) << "a separator may go";
  EXPECT_EQ(send(TBN_QUERYINSERT, 0, 0), 1);
  EXPECT_EQ(send(TBN_BEGINDRAG, ID_TEST_FIRST, 0), 1);
  EXPECT_EQ(send(TBN_ENDDRAG, ID_TEST_FIRST, 0), 1);
  send(TBN_CUSTHELP, 0, 0);
  EXPECT_EQ(bar_.asked, std::vector<UINT>{IDS_TK_TOOLBAR_NOHELP});
  char help[64] = {};
  ::LoadStringA(ToolkitData().m_hResource, IDS_TK_TOOLBAR_NOHELP, help, sizeof help);
  EXPECT_STREQ(help, "Help not implemented!");
}

// A button the program removes after loading stays away after a Reset.
TEST_F(ToolBarCustomizeTest, AButtonDeletedByTheProgramStaysAwayAfterReset) {
  ASSERT_TRUE(bar_.DeleteButton(1));
  ASSERT_TRUE(bar_.DeleteButton(1));  // and the separator after it
  EXPECT_EQ(bar_.GetInitialButtonCount(), 3);
  Notify(TBN_RESET, -1);
  EXPECT_EQ(Ids(), (std::vector<UINT>{ID_TEST_FIRST, ID_TEST_THIRD, ID_TEST_FOURTH}));
}

}  // namespace
