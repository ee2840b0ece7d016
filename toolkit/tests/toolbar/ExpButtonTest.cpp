// The chevron button: where its images go, when it is enabled, and that its popup opens once and
// releases the button when it closes.
#include <gtest/gtest.h>

#include "framework/frame/FrameWnd.h"
#include "toolkit/bars/TkExpButton.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/bars/TkToolBarLayout.h"
#include "toolkit/tests/toolbar/ToolBarTestIds.h"

namespace {

// A white bitmap to draw into and read back.
class WhiteCanvas {
 public:
  WhiteCanvas(int cx, int cy) {
    HDC screen = ::GetDC(nullptr);
    dc = ::CreateCompatibleDC(screen);
    bitmap = ::CreateCompatibleBitmap(screen, cx, cy);
    ::ReleaseDC(nullptr, screen);
    old = ::SelectObject(dc, bitmap);
    RECT all = {0, 0, cx, cy};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  ~WhiteCanvas() {
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
  }
  bool Black(int x, int y) const { return ::GetPixel(dc, x, y) == RGB(0, 0, 0); }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
};

// Each image's first row, checked at a drawn pixel and at the blank one beside it: the chevron
// 2 below the top (or 2 in from the right), the arrow 2 above the bottom (or 2 in from the left),
// both centred the other way and one pixel along when pressed.
TEST(TkExpButtonTest, ImagesSitWhereTheBarsOrientationPutsThem) {
  struct Case {
    const char* why;
    int cx, cy;
    BOOL horz, chevron, arrow, pressed;
    POINT black, white;
  } cases[] = {
      {"chevron lying down", 12, 22, TRUE, TRUE, FALSE, FALSE, {3, 2}, {4, 2}},
      {"pressed", 12, 22, TRUE, TRUE, FALSE, TRUE, {4, 3}, {3, 2}},
      {"arrow lying down", 12, 22, TRUE, FALSE, TRUE, FALSE, {7, 17}, {8, 17}},
      {"chevron standing", 22, 12, FALSE, TRUE, FALSE, FALSE, {15, 3}, {16, 3}},
      {"arrow standing", 22, 12, FALSE, FALSE, TRUE, FALSE, {4, 3}, {3, 3}},
      {"nothing to show", 12, 22, TRUE, FALSE, FALSE, FALSE, {3, 2}, {3, 2}},
  };
  for (const Case& c : cases) {
    WhiteCanvas canvas(c.cx, c.cy);
    RECT rect = {0, 0, c.cx, c.cy};
    CTkExpButton::DrawArrows(canvas.dc, rect, c.horz, c.chevron, c.arrow, FALSE, c.pressed);
    EXPECT_EQ(canvas.Black(c.black.x, c.black.y), c.chevron || c.arrow) << c.why;
    EXPECT_FALSE(canvas.Black(c.white.x, c.white.y)) << c.why;
  }
}

// A popup that "opens" and counts.
class CountingExpButton : public CTkExpButton {
 public:
  BOOL OpenPopup(const RECT& rc) override {
    ++opened;
    area = rc;
    return TRUE;
  }
  int opened = 0;
  RECT area = {};
};

// On the stack, so it does not delete itself as frames do.
class StackFrame : public CFrameWnd {
 protected:
  void PostNcDestroy() override {}
};

TEST(TkExpButtonTest, EnabledWithHiddenButtonsOrCustomisingAndOnePopupAtATime) {
  StackFrame frame;
  ASSERT_TRUE(frame.Create(nullptr, "Chevron test", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
  CTkToolBar bar;
  ASSERT_TRUE(bar.CreateEx(&frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP));
  ASSERT_TRUE(bar.LoadToolBar(IDR_TEST_BAR));
  CountingExpButton chevron;
  ASSERT_TRUE(chevron.Create(&bar, kTkChevronId));
  EXPECT_EQ(chevron.GetDlgCtrlID(), static_cast<int>(kTkChevronId));
  EXPECT_FALSE(chevron.IsWindowVisible());
  EXPECT_NE(chevron.GetStyle() & BS_OWNERDRAW, 0u);

  EXPECT_FALSE(chevron.ShouldBeEnabled()) << "all buttons fit, no customising";
  bar.HideButtonsToFit(1);
  EXPECT_TRUE(chevron.ShouldBeEnabled());
  bar.ShowHiddenButtons();
  bar.SetAllowCustomize(TRUE);
  EXPECT_TRUE(chevron.ShouldBeEnabled());

  frame.ShowWindow(SW_SHOW);
  frame.RecalcLayout();
  chevron.MoveWindow(CRect(100, 2, 112, 22));
  chevron.ShowWindow(SW_SHOWNA);
  chevron.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(chevron.opened, 1);
  CRect screen(0, 0, 12, 20);
  chevron.ClientToScreen(&screen);
  EXPECT_EQ(chevron.area.left, screen.left);
  EXPECT_EQ(chevron.area.top, screen.top);
  EXPECT_EQ(chevron.area.right, screen.right);
  EXPECT_EQ(chevron.area.bottom, screen.bottom - 1) << "a pixel off the bottom";
  chevron.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(chevron.opened, 1) << "no second popup";
  chevron.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_NE(chevron.GetState() & BST_PUSHED, 0u) << "held while the popup is open";
  chevron.SendMessage(WM_TK_EXPPOPUP_CLOSED);
  EXPECT_FALSE(chevron.IsPopupOpen());
  EXPECT_EQ(chevron.GetState() & BST_PUSHED, 0u);
  frame.DestroyWindow();
}

}  // namespace
