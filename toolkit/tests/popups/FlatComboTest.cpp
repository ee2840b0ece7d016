// The flat combo box: its edge by state read back from a DIB section, the mouse and focus that
// raise it and the timer step that lowers it, and completion of typed text from the list.
#include <gtest/gtest.h>

#include <string>

#include "framework/tests/wnd/WndTestSupport.h"
#include "toolkit/controls/TkFlatComboBox.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/tests/popups/PopupsTestSupport.h"

namespace {

class TestCombo : public CTkFlatComboBox {
 public:
  BOOL IsMouseOver() const override { return over; }
  BOOL over = FALSE;
};

class FlatComboTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ToolkitData().m_bFlatLook = FALSE;  // the plain look draws the edge itself
    ToolkitData().ReloadColors();
    ToolkitData().LoadMetrics();
    ASSERT_TRUE(CreateTestWindow(host_, "flat combo host"));
    host_.ShowWindow(SW_SHOW);
  }
  void TearDown() override { host_.DestroyWindow(); }
  void Make(DWORD style) {
    ASSERT_TRUE(combo_.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, CRect(10, 10, 160, 200),
                              &host_, 201));
    for (LPCSTR item : {"Alpha", "Alpine", "Beta"}) combo_.AddString(item);
  }
  // What the parent tells the combo, as the system would.
  void Notify(UINT code) {
    host_.SendMessage(WM_COMMAND, MAKEWPARAM(201, code), reinterpret_cast<LPARAM>(combo_.m_hWnd));
  }
  std::string Text() {
    CString text;
    combo_.GetWindowText(text);
    return std::string(text);
  }
  HWND Edit() { return ::GetWindow(combo_.m_hWnd, GW_CHILD); }
  void Type(const char* keys) {
    for (const char* k = keys; *k; ++k) ::SendMessageA(Edit(), WM_CHAR, static_cast<BYTE>(*k), 1);
  }

  CWnd host_;
  TestCombo combo_;
};

// The outer ring in the given colours, the inner ring in face (highlight when disabled), and
// the drop button's edge by state; a disabled combo has none.
TEST_F(FlatComboTest, EdgeByState) {
  Make(CBS_DROPDOWNLIST);
  const CTkToolkitData& d = ToolkitData();
  CRect client;
  combo_.GetClientRect(&client);
  int w = client.Width(), h = client.Height();
  int thumb = d.m_cxHThumb ? d.m_cxHThumb : ::GetSystemMetrics(SM_CXHTHUMB);
  int bx = w - 2 - thumb;  // the drop button's left edge
  COLORREF marker = RGB(1, 2, 3);
  struct Case {
    const char* why;
    BOOL enabled;
    int state;
    COLORREF buttonTopLeft, beforeButton, buttonBottomRight, inner;
  } cases[] = {
      {"flat: highlight twice, a pixel wider", TRUE, kTkComboFlat, d.m_clrHighlight,
       d.m_clrHighlight, d.m_clrHighlight, d.m_clrFace},
      {"raised: highlight over shadow", TRUE, kTkComboRaised, d.m_clrHighlight, marker,
       d.m_clrShadow, d.m_clrFace},
      {"disabled: highlight inner ring, no button edge", FALSE, kTkComboRaised, d.m_clrFace,
       marker, d.m_clrFace, d.m_clrHighlight},
  };
  for (const Case& c : cases) {
    combo_.EnableWindow(c.enabled);
    TestDib dib(w, h, marker);
    combo_.DrawCombo(dib.dc(), c.state, RGB(10, 10, 10), RGB(20, 20, 20));
    EXPECT_EQ(dib.At(0, 0), RGB(10, 10, 10)) << c.why;
    EXPECT_EQ(dib.At(w - 1, h - 1), RGB(20, 20, 20)) << c.why;
    EXPECT_EQ(dib.At(1, 1), c.inner) << c.why;
    EXPECT_EQ(dib.At(bx, 2), c.buttonTopLeft) << c.why;
    EXPECT_EQ(dib.At(bx - 1, h / 2), c.beforeButton) << c.why;
    EXPECT_EQ(dib.At(w - 3, h - 3), c.buttonBottomRight) << c.why;
  }
  // Pressed: the sunken edge one pixel right and down.
  combo_.EnableWindow(TRUE);
  TestDib dib(w, h, marker);
  combo_.DrawCombo(dib.dc(), kTkComboPressed, RGB(10, 10, 10), RGB(20, 20, 20));
  EXPECT_EQ(dib.At(bx + 1, 3), d.m_clrShadow);
}

TEST_F(FlatComboTest, MouseAndFocusRaiseItAndTheTimerLowersIt) {
  Make(CBS_DROPDOWNLIST);
  LPARAM moving = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  combo_.over = TRUE;
  combo_.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(combo_.m_hWnd), moving);
  EXPECT_TRUE(combo_.IsRaised());
  combo_.over = FALSE;
  combo_.SendMessage(WM_TIMER, 1);
  EXPECT_FALSE(combo_.IsRaised()) << "flat again one timer step after the mouse left";

  Notify(CBN_SETFOCUS);
  EXPECT_TRUE(combo_.IsFocused());
  combo_.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(combo_.m_hWnd), moving);
  combo_.SendMessage(WM_TIMER, 1);
  EXPECT_TRUE(combo_.IsRaised()) << "a focused combo keeps its edge";
  Notify(CBN_KILLFOCUS);
  EXPECT_FALSE(combo_.IsFocused());
  combo_.SendMessage(WM_TIMER, 1);
  EXPECT_FALSE(combo_.IsRaised());

  // A press ends the raised edge; the release ends the press.
  combo_.over = TRUE;
  combo_.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(combo_.m_hWnd), moving);
  combo_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(combo_.IsPressed());
  combo_.SendMessage(WM_TIMER, 1);
  EXPECT_FALSE(combo_.IsRaised());
  combo_.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(combo_.IsPressed());
  combo_.ShowDropDown(FALSE);
  ::ReleaseCapture();

  // The normal look: the mouse leaves it alone.
  combo_.m_bFlatLook = FALSE;
  combo_.over = TRUE;
  combo_.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(combo_.m_hWnd), moving);
  EXPECT_FALSE(combo_.IsRaised());
}

TEST_F(FlatComboTest, CompletesTypedTextFromTheList) {
  Make(CBS_DROPDOWN | CBS_AUTOHSCROLL);
  combo_.SetAutoComplete(TRUE);
  ASSERT_NE(Edit(), nullptr);
  struct Case {
    const char* why;
    const char* typed;
    const char* shown;
    int selStart, selEnd;
  } cases[] = {
      {"the first item that begins with the letters, its tail selected", "Alp", "Alpha", 3, 5},
      {"typing on replaces the tail", "Alpi", "Alpine", 4, 6},
      {"no item matches: the text as typed, the caret after it", "Zed", "Zed", 3, 3},
  };
  for (const Case& c : cases) {
    combo_.SetWindowText("");
    combo_.SetCurSel(-1);
    Type(c.typed);
    EXPECT_EQ(Text(), c.shown) << c.why;
    DWORD sel = combo_.GetEditSel();
    EXPECT_EQ(static_cast<int>(LOWORD(sel)), c.selStart) << c.why;
    EXPECT_EQ(static_cast<int>(HIWORD(sel)), c.selEnd) << c.why;
  }

  // Backspace takes the selected tail away and does not complete again.
  combo_.SetWindowText("");
  combo_.SetCurSel(-1);
  Type("Bet");
  ASSERT_EQ(Text(), "Beta");
  MSG down = {Edit(), WM_KEYDOWN, VK_BACK, 1, 0, {0, 0}};
  EXPECT_TRUE(combo_.PreTranslateMessage(&down)) << "keys of the field stay in the field";
  EXPECT_TRUE(combo_.IsDeleting());
  Type("\b");
  EXPECT_EQ(Text(), "Bet");
  MSG up = {Edit(), WM_KEYUP, VK_BACK, 1, 0, {0, 0}};
  combo_.PreTranslateMessage(&up);
  EXPECT_FALSE(combo_.IsDeleting());

  // Switched off, nothing is completed.
  combo_.SetAutoComplete(FALSE);
  combo_.SetWindowText("");
  Type("Al");
  EXPECT_EQ(Text(), "Al");
}

}  // namespace
