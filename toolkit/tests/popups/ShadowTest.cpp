// Popup drop shadows: where the shadow window and its two strips go, how much each pixel of the
// strips is darkened, a darkened picture read back from a DIB section, and a shadow window that
// follows its popup and goes with it.
#include <gtest/gtest.h>

#include <string>

#include "framework/tests/wnd/WndTestSupport.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/widgets/TkColorPickerPopup.h"
#include "toolkit/popups/TkPopupShadow.h"
#include "toolkit/popups/TkShadowWnd.h"
#include "toolkit/tests/popups/PopupsTestSupport.h"

namespace {

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The shadow reaches 4 beyond the popup; its strips leave 4 x 4 corners at the top right and
// bottom left, so it seems to start below and right of the popup's own corners.
TEST(ShadowGeometry, WindowAndStrips) {
  struct Case {
    const char* why;
    RECT popup, window, right, bottom;
  } cases[] = {
      {"a menu-sized popup", {100, 100, 258, 254}, {100, 100, 262, 258},
       {158, 4, 162, 158}, {4, 154, 158, 158}},
      {"a popup at the screen's corner", {0, 0, 10, 10}, {0, 0, 14, 14},
       {10, 4, 14, 14}, {4, 10, 10, 14}},
      {"negative coordinates on a left monitor", {-50, 20, -10, 60}, {-50, 20, -6, 64},
       {40, 4, 44, 44}, {4, 40, 40, 44}},
  };
  for (const Case& c : cases) {
    RECT window = TkShadowRectFor(c.popup);
    EXPECT_TRUE(SameRect(window, c.window)) << c.why;
    RECT client = {0, 0, window.right - window.left, window.bottom - window.top}, strips[2];
    TkShadowStrips(client, strips);
    EXPECT_TRUE(SameRect(strips[0], c.right)) << c.why;
    EXPECT_TRUE(SameRect(strips[1], c.bottom)) << c.why;
  }
}

// A 40 x 30 shadow rectangle: the column and row next to the popup get 60, the outer ones 15;
// near the outer corner the rings cut diagonally; outside the strips nothing.
TEST(ShadowGeometry, WeightsByRing) {
  struct Case {
    const char* why;
    int x, y, weight;
  } cases[] = {
      {"right strip, next to the popup", 36, 10, 60},
      {"right strip, second column", 37, 10, 45},
      {"right strip, third column", 38, 10, 30},
      {"right strip, outer column", 39, 10, 15},
      {"bottom strip, next to the popup", 10, 26, 60},
      {"bottom strip, outer row", 10, 29, 15},
      {"first row of the right strip is the outer ring", 37, 4, 45},
      {"outer corner, diagonal ring 3", 39, 29, 15},
      {"outer corner, diagonal ring 2", 38, 28, 30},
      {"outer corner, diagonal ring 1", 37, 27, 45},
      {"inner corner of the L", 36, 26, 60},
      {"top-right corner stays out", 38, 2, 0},
      {"bottom-left corner stays out", 2, 28, 0},
      {"under the popup", 20, 10, 0},
      {"just left of the right strip", 35, 10, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TkShadowWeight(c.x, c.y, 0, 0, 40, 30), c.weight) << c.why;
}

// Each channel loses weight * darkness / 100, clamped at 0; pixels outside the strips keep their
// colour.
TEST(ShadowPicture, DarkensTheStripsOfADibSection) {
  struct Case {
    const char* why;
    COLORREF fill;
    int darkness, x, y;
    COLORREF expected;
  } cases[] = {
      {"white under the inner column", RGB(255, 255, 255), 100, 36, 10, RGB(195, 195, 195)},
      {"white under the outer column", RGB(255, 255, 255), 100, 39, 10, RGB(240, 240, 240)},
      {"white under the inner row", RGB(255, 255, 255), 100, 10, 26, RGB(195, 195, 195)},
      {"white at the rounded corner", RGB(255, 255, 255), 100, 38, 28, RGB(225, 225, 225)},
      {"black stays black", RGB(0, 0, 0), 100, 36, 10, RGB(0, 0, 0)},
      {"dark channels clamp at 0", RGB(40, 100, 70), 100, 36, 10, RGB(0, 40, 10)},
      {"half darkness halves the weight", RGB(255, 255, 255), 50, 36, 10, RGB(225, 225, 225)},
      {"darkness 33 truncates 19.8 to 19", RGB(255, 255, 255), 33, 36, 10, RGB(236, 236, 236)},
      {"the popup's area is untouched", RGB(255, 255, 255), 100, 20, 10, RGB(255, 255, 255)},
      {"the top-right corner is untouched", RGB(255, 255, 255), 100, 38, 2, RGB(255, 255, 255)},
      {"the bottom-left corner is untouched", RGB(255, 255, 255), 100, 2, 28,
       RGB(255, 255, 255)},
  };
  for (const Case& c : cases) {
    TestDib dib(40, 30, c.fill);
    DarkenShadowEdges(dib.dc(), 0, 0, 40, 30, c.darkness);
    EXPECT_EQ(dib.At(c.x, c.y), c.expected) << c.why;
  }
}

// Darkening an offset rectangle touches only its own strips.
TEST(ShadowPicture, OffsetRectangleAndStripCopy) {
  TestDib dib(60, 50, RGB(255, 255, 255));
  DarkenShadowEdges(dib.dc(), 10, 5, 50, 35, 100);
  EXPECT_EQ(dib.At(46, 15), RGB(195, 195, 195));
  EXPECT_EQ(dib.At(50, 15), RGB(255, 255, 255)) << "right of the rectangle";
  EXPECT_EQ(dib.At(20, 35), RGB(255, 255, 255)) << "below the rectangle";

  // Only the strips come over from the picture.
  TestDib picture(40, 30, RGB(10, 20, 30));
  TestDib target(40, 30, RGB(255, 255, 255));
  RECT rect = {0, 0, 40, 30};
  CopyShadowStrips(target.dc(), rect, picture.dc(), POINT{0, 0});
  struct Probe { int x, y; bool copied; } probes[] = {
      {36, 4, true}, {39, 29, true}, {4, 26, true}, {35, 29, true},
      {36, 3, false}, {3, 29, false}, {20, 10, false},
  };
  for (const Probe& p : probes)
    EXPECT_EQ(target.At(p.x, p.y), p.copied ? RGB(10, 20, 30) : RGB(255, 255, 255))
        << p.x << "," << p.y;
}

// A popup of the kind the toolkit makes: a top-level WS_POPUP window.
HWND MakePopup(const RECT& rc, HWND parent = nullptr, DWORD style = WS_POPUP | WS_BORDER) {
  return ::CreateWindowExA(0, "STATIC", "", style, rc.left, rc.top, rc.right - rc.left,
                           rc.bottom - rc.top, parent, nullptr, nullptr, nullptr);
}

RECT WindowRect(HWND hWnd) {
  RECT rc = {};
  ::GetWindowRect(hWnd, &rc);
  return rc;
}

HWND FindShadowOf(const CTkPopupShadow* shadow) { return shadow->GetShadowWnd()->m_hWnd; }

TEST(ShadowWindow, FollowsItsPopupAndGoesWithIt) {
  HWND popup = MakePopup({100, 100, 258, 254});
  ASSERT_TRUE(popup);
  ::ShowWindow(popup, SW_SHOWNA);
  auto* shadow = new CTkPopupShadow(popup, TRUE, TRUE);  // the hook deletes it
  HWND shadowWnd = FindShadowOf(shadow);
  ASSERT_TRUE(::IsWindow(shadowWnd));
  char title[16] = {};
  ::GetWindowTextA(shadowWnd, title, sizeof(title));
  EXPECT_STREQ(title, "Shadow");
  EXPECT_TRUE(SameRect(WindowRect(shadowWnd), {100, 100, 262, 258}));
  EXPECT_TRUE(::IsWindowVisible(shadowWnd));
  EXPECT_EQ(::GetWindow(popup, GW_HWNDNEXT), shadowWnd) << "directly behind the popup";
  RECT box = {};
  EXPECT_EQ(::GetWindowRgnBox(shadowWnd, &box), COMPLEXREGION);
  EXPECT_TRUE(SameRect(box, {4, 4, 162, 158})) << "the L of the two strips";

  // Moved: the shadow goes along and shows again, to take the screen under its new place.
  ::SetWindowPos(popup, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpPending();
  EXPECT_TRUE(SameRect(WindowRect(shadowWnd), {300, 200, 462, 358}));
  EXPECT_TRUE(::IsWindowVisible(shadowWnd));
  EXPECT_EQ(shadow->GetShadowWnd()->GetMoveState(), 0);
  EXPECT_EQ(::GetWindow(popup, GW_HWNDNEXT), shadowWnd);

  // Sized: the strips follow the new size.
  ::SetWindowPos(popup, nullptr, 0, 0, 100, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(SameRect(WindowRect(shadowWnd), {300, 200, 404, 254}));
  ::GetWindowRgnBox(shadowWnd, &box);
  EXPECT_TRUE(SameRect(box, {4, 4, 104, 54}));

  // Hidden and shown with the popup, by either road.
  ::ShowWindow(popup, SW_HIDE);
  EXPECT_FALSE(::IsWindowVisible(shadowWnd));
  ::SetWindowPos(popup, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  EXPECT_TRUE(::IsWindowVisible(shadowWnd));

  // Destroyed with the popup, without a word from the popup's owner.
  ::DestroyWindow(popup);
  EXPECT_FALSE(::IsWindow(shadowWnd));
}

// A popup that is a child window casts a child shadow in its parent's client coordinates.
TEST(ShadowWindow, ChildPopupCastsAChildShadow) {
  CWnd host;
  ASSERT_TRUE(CreateTestWindow(host, "shadow host"));
  HWND child = MakePopup({20, 30, 120, 90}, host.m_hWnd, WS_CHILD | WS_VISIBLE | WS_BORDER);
  ASSERT_TRUE(child);
  auto* shadow = new CTkPopupShadow(child, TRUE, TRUE);
  HWND shadowWnd = FindShadowOf(shadow);
  EXPECT_TRUE(shadow->GetShadowWnd()->IsChild());
  EXPECT_EQ(::GetParent(shadowWnd), host.m_hWnd);
  RECT rc = WindowRect(shadowWnd);
  ::MapWindowPoints(nullptr, host.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
  EXPECT_TRUE(SameRect(rc, {20, 30, 124, 94}));
  ::MoveWindow(child, 50, 60, 100, 60, TRUE);
  rc = WindowRect(shadowWnd);
  ::MapWindowPoints(nullptr, host.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
  EXPECT_TRUE(SameRect(rc, {50, 60, 154, 124}));
  ::DestroyWindow(child);
  EXPECT_FALSE(::IsWindow(shadowWnd));
  host.DestroyWindow();
}

// Without the hook the user shows, hides and deletes the shadow (the owner-drawn menus).
TEST(ShadowWindow, UnhookedShadowIsDrivenByItsUser) {
  HWND popup = MakePopup({50, 50, 150, 120});
  ::ShowWindow(popup, SW_SHOWNA);
  {
    CTkPopupShadow shadow(popup, FALSE, FALSE);
    HWND shadowWnd = FindShadowOf(&shadow);
    EXPECT_TRUE(shadow.IsCreated());
    EXPECT_FALSE(::IsWindowVisible(shadowWnd)) << "not shown until asked";
    shadow.Show();
    EXPECT_TRUE(::IsWindowVisible(shadowWnd));
    shadow.Hide();
    EXPECT_FALSE(::IsWindowVisible(shadowWnd));
    shadow.Show();
  }
  // The popup lives on; its procedure is its own again.
  EXPECT_TRUE(::IsWindow(popup));
  ::SetWindowPos(popup, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::DestroyWindow(popup);
}

// The colour picker casts its shadow while the toolkit's menus do, and only then.
TEST(ShadowWindow, ColourPickerCastsOneWhileMenusDo) {
  CWnd host;
  ASSERT_TRUE(CreateTestWindow(host, "picker host"));
  host.ShowWindow(SW_SHOWNA);
  for (BOOL shadows : {TRUE, FALSE}) {
    ToolkitData().m_bMenuShadows = shadows;
    auto* picker = new CTkColorPickerPopup(TRUE, 7);
    CRect anchor(100, 100, 140, 120);
    ASSERT_TRUE(picker->Create(anchor, &host, 0, RGB(255, 0, 0), RGB(0, 0, 0)));
    HWND pickerWnd = picker->m_hWnd;
    HWND next = ::GetWindow(pickerWnd, GW_HWNDNEXT);
    char title[16] = {};
    ::GetWindowTextA(next, title, sizeof(title));
    EXPECT_EQ(std::string(title) == "Shadow", shadows != FALSE) << shadows;
    if (shadows) {
      RECT rc, popup;
      ::GetWindowRect(next, &rc);
      ::GetWindowRect(pickerWnd, &popup);
      EXPECT_TRUE(SameRect(rc, TkShadowRectFor(popup)));
    }
    picker->DestroyWindow();  // deletes itself
    if (shadows) {
      EXPECT_FALSE(::IsWindow(next)) << "the shadow goes with the picker";
    }
  }
  ToolkitData().m_bMenuShadows = TRUE;
  ::ReleaseCapture();
  host.DestroyWindow();
}

}  // namespace
