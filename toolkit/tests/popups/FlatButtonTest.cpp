// The flat button: its frame by look and state read back from a DIB section, hover tracking and
// the press that stops it, clicks and double clicks reaching the parent, where its image goes,
// the deferred set-up, and colours across a system colour change.
#include <gtest/gtest.h>

#include <vector>

#include "framework/tests/wnd/WndTestSupport.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/tests/popups/PopupsTestSupport.h"
#include "toolkit/widgets/TkButton.h"

namespace {

// A button whose mouse position the test decides.
class TestButton : public CTkButton {
 public:
  void SetHot(BOOL hot) { m_bHot = hot; }
  BOOL IsCursorOver() const override { return over; }
  BOOL over = FALSE;
};

// A parent that writes down its buttons' clicks.
class ClickHost : public CWnd {
 public:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (HIWORD(wParam) == BN_CLICKED) ++clicks;
    return CWnd::OnCommand(wParam, lParam);
  }
  int clicks = 0;
};

class FlatButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ToolkitData().ReloadColors();
    ToolkitData().ComputeDerivedColors();
    ASSERT_TRUE(CreateTestWindow(host_, "flat button host"));
    ASSERT_TRUE(button_.Create("", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 70, 34),
                               &host_, 101));
    PumpPending();
  }
  void TearDown() override { host_.DestroyWindow(); }
  // Draws the button as the parent's owner-draw would, into a fresh picture.
  void Draw(TestDib& dib, UINT state) {
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.hwndItem = button_.m_hWnd;
    dis.hDC = dib.dc();
    dis.rcItem = {0, 0, 60, 24};
    dis.itemState = state;
    button_.DrawItem(&dis);
  }

  ClickHost host_;
  TestButton button_;
};

// Corners of the frame: outer top-left, outer bottom-right, inner top-left, and the middle.
TEST_F(FlatButtonTest, FrameByLookAndState) {
  const CTkToolkitData& d = ToolkitData();
  COLORREF face = ::GetSysColor(COLOR_BTNFACE), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
  struct Case {
    const char* why;
    DWORD style;
    BOOL hot;
    UINT state;
    COLORREF topLeft, bottomRight, inner, middle;
  } cases[] = {
      {"plain 3D, two levels at rest", 0, FALSE, 0, light, d.m_clrDarkShadow, face, face},
      {"plain 3D pressed: both swapped", 0, FALSE, ODS_SELECTED, d.m_clrDarkShadow, light,
       shadow, face},
      {"flat at rest: no frame", TKBS_FLAT, FALSE, 0, face, face, face, face},
      {"flat hovered: raised", TKBS_FLAT, TRUE, 0, light, shadow, face, face},
      {"flat pressed: sunken", TKBS_FLAT, FALSE, ODS_SELECTED, shadow, light, face, face},
      {"thin 3D at rest", TKBS_THIN3D, FALSE, 0, d.m_clrHighlight, d.m_clrShadow, face, face},
      {"thin 3D pressed", TKBS_THIN3D, FALSE, ODS_SELECTED, d.m_clrShadow, d.m_clrHighlight,
       face, face},
      {"hot fill at rest: nothing", TKBS_HOTFILL, FALSE, 0, face, face, face, face},
      {"hot fill hovered", TKBS_HOTFILL, TRUE, 0, d.m_clrSelection, d.m_clrSelection,
       d.m_clrSelectionLight, d.m_clrSelectionLight},
      {"hot fill pressed", TKBS_HOTFILL, FALSE, ODS_SELECTED, d.m_clrSelection, d.m_clrSelection,
       d.m_clrSelectionHalf, d.m_clrSelectionHalf},
      {"flat wins over hot fill", TKBS_FLAT | TKBS_HOTFILL, TRUE, 0, light, shadow, face, face},
  };
  for (const Case& c : cases) {
    button_.SetXButtonStyle(c.style, FALSE);
    button_.SetHot(c.hot);
    TestDib dib(60, 24, RGB(1, 2, 3));
    Draw(dib, c.state);
    EXPECT_EQ(dib.At(0, 0), c.topLeft) << c.why;
    EXPECT_EQ(dib.At(59, 23), c.bottomRight) << c.why;
    EXPECT_EQ(dib.At(1, 1), c.inner) << c.why;
    EXPECT_EQ(dib.At(30, 12), c.middle) << c.why;
  }
}

TEST_F(FlatButtonTest, OwnHotColoursAndPatternLook) {
  button_.SetXButtonStyle(TKBS_HOTFILL, FALSE);
  button_.SetHotColors(RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200));
  button_.SetHot(TRUE);
  TestDib hot(60, 24, RGB(1, 2, 3));
  Draw(hot, 0);
  EXPECT_EQ(hot.At(0, 0), RGB(200, 0, 0));
  EXPECT_EQ(hot.At(30, 12), RGB(0, 200, 0));
  TestDib pressed(60, 24, RGB(1, 2, 3));
  Draw(pressed, ODS_SELECTED);
  EXPECT_EQ(pressed.At(30, 12), RGB(0, 0, 200));

  // The pattern look fills a pressed button with the face and highlight checkerboard.
  button_.SetXButtonStyle(TKBS_FLAT | TKBS_PATTERN, FALSE);
  button_.SetHot(FALSE);
  TestDib pattern(60, 24, RGB(1, 2, 3));
  Draw(pattern, ODS_SELECTED);
  EXPECT_NE(pattern.At(30, 12), pattern.At(31, 12)) << "neighbours differ in a checkerboard";
}

TEST_F(FlatButtonTest, TextColourFollowsTheEnabledState) {
  button_.SetWindowText("Wide text");
  button_.SetBtnTextColor(RGB(0, 0, 128));
  struct Case { UINT state; COLORREF present, absent; } cases[] = {
      {0, RGB(0, 0, 128), ToolkitData().m_clrGrayText},
      {ODS_DISABLED, ToolkitData().m_clrGrayText, RGB(0, 0, 128)},
  };
  for (const Case& c : cases) {
    button_.SetXButtonStyle(TKBS_FLAT, FALSE);
    TestDib dib(60, 24, RGB(1, 2, 3));
    Draw(dib, c.state);
    EXPECT_TRUE(dib.Holds(c.present)) << c.state;
    EXPECT_FALSE(dib.Holds(c.absent)) << c.state;
  }
}

TEST_F(FlatButtonTest, HoverTrackingAndThePressThatStopsIt) {
  button_.SetXButtonStyle(TKBS_FLAT, FALSE);
  button_.over = TRUE;
  button_.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(button_.IsHot());
  EXPECT_TRUE(button_.IsTracking());

  button_.over = FALSE;  // the mouse left: the next timer step ends the hover
  button_.SendMessage(WM_TIMER, 1);
  EXPECT_FALSE(button_.IsHot());
  EXPECT_FALSE(button_.IsTracking());

  button_.over = TRUE;
  button_.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  button_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(button_.IsPressed());
  button_.SendMessage(WM_TIMER, 1);
  EXPECT_FALSE(button_.IsHot()) << "a press stops the hover";
  button_.over = FALSE;
  button_.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(500, 500));
  EXPECT_FALSE(button_.IsPressed());
  EXPECT_FALSE(button_.IsHot()) << "released outside: not hot";

  // Without a tracking look the mouse changes nothing.
  button_.SetXButtonStyle(0, FALSE);
  button_.over = TRUE;
  button_.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(button_.IsHot());
}

TEST_F(FlatButtonTest, ClicksAndDoubleClicksReachTheParent) {
  LPARAM inside = MAKELPARAM(10, 10);
  button_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inside);
  button_.SendMessage(WM_LBUTTONUP, 0, inside);
  EXPECT_EQ(host_.clicks, 1);
  // The second press of a double click comes as WM_LBUTTONDBLCLK: it is a click too.
  button_.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, inside);
  button_.SendMessage(WM_LBUTTONUP, 0, inside);
  EXPECT_EQ(host_.clicks, 2);
}

TEST_F(FlatButtonTest, DeferredSetUpMakesItOwnerDrawnWithTheToolkitFont) {
  EXPECT_EQ(button_.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  EXPECT_EQ(reinterpret_cast<HFONT>(button_.SendMessage(WM_GETFONT)), ToolkitData().GetBarFont());
  // A stale request (an older counter) changes nothing.
  button_.ModifyStyle(BS_TYPEMASK, BS_PUSHBUTTON);
  button_.SendMessage(WM_TK_FINISH_SETUP, 0, 2);
  EXPECT_EQ(button_.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
}

// Icon-only buttons: centred with BS_CENTER | BS_VCENTER, else at the margin; pressed moves the
// image one pixel unless the caller forbids it (a pushed icon of its own).
TEST_F(FlatButtonTest, ImagePosition) {
  button_.SetIcon(CSize(16, 16), ::CopyIcon(::LoadIconA(nullptr, IDI_APPLICATION)), nullptr,
                  FALSE);
  const CRect rc(0, 0, 60, 40);
  struct Case {
    const char* why;
    DWORD align;
    UINT state;
    BOOL allowShift;
    POINT at;
  } cases[] = {
      {"centred both ways", BS_CENTER | BS_VCENTER, 0, TRUE, {22, 12}},
      {"centred, pressed, shifts", BS_CENTER | BS_VCENTER, ODS_SELECTED, TRUE, {23, 13}},
      {"centred, pressed, pushed icon: no shift", BS_CENTER | BS_VCENTER, ODS_SELECTED, FALSE,
       {22, 12}},
      {"left: the margin", BS_LEFT, 0, TRUE, {4, 12}},
  };
  for (const Case& c : cases) {
    button_.ModifyStyle(BS_CENTER | BS_VCENTER, c.align);
    TestDib dib(60, 40, RGB(0, 0, 0));
    CPoint at = button_.GetImagePos(dib.dc(), c.state, rc, c.allowShift);
    EXPECT_EQ(at.x, c.at.x) << c.why;
    EXPECT_EQ(at.y, c.at.y) << c.why;
  }
  button_.SetTextAndImagePos(CPoint(7, 9), CPoint(30, 9), FALSE);
  TestDib dib(60, 40, RGB(0, 0, 0));
  CPoint at = button_.GetImagePos(dib.dc(), 0, rc, TRUE);
  EXPECT_EQ(at.x, 7);
  EXPECT_EQ(at.y, 9);
  button_.ResetImage();
  EXPECT_EQ(button_.GetImageSize().cx, 0);
}

TEST_F(FlatButtonTest, OwnColoursSurviveASystemColourChange) {
  COLORREF system = ::GetSysColor(COLOR_BTNFACE);
  TestButton plain;
  ASSERT_TRUE(plain.Create("", WS_CHILD | BS_PUSHBUTTON, CRect(0, 0, 10, 10), &host_, 102));
  plain.SetBtnFaceColor(RGB(9, 9, 9));  // one colour alone does not make the set custom
  plain.SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_EQ(plain.GetBtnFaceColor(), system);

  button_.SetColors(RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4));
  button_.SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_EQ(button_.GetBtnFaceColor(), RGB(1, 1, 1));
}

TEST(FlatButtonText, StripsSingleAmpersandsOnly) {
  CWnd host;
  ASSERT_TRUE(CreateTestWindow(host, "text host"));
  CTkButton button;
  ASSERT_TRUE(button.Create("", WS_CHILD, CRect(0, 0, 10, 10), &host, 1));
  struct Case { LPCSTR text, stripped; } cases[] = {
      {"&Open", "Open"}, {"Save && Close", "Save && Close"}, {"Plain", "Plain"}};
  for (const Case& c : cases) {
    button.SetWindowText(c.text);
    EXPECT_STREQ(button.GetButtonText(TRUE), c.stripped);
    EXPECT_STREQ(button.GetButtonText(FALSE), c.text);
  }
  host.DestroyWindow();
}

}  // namespace
