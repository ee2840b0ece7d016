// The scrolling text-lines control under the X display: line styles by their last character,
// ticks per line (never a division by a zero height), lines coming in and around again, picture
// lines, the stop line, gradients and the background picture. The timer is driven by sending
// its message, so every step is known.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "framework/app/AfxResource.h"
#include "ui/controls/ScrollingTextCtrl.h"

namespace {

constexpr int kWidth = 256;  // one pixel a gradient band
constexpr int kHeight = 80;

class ScrollingTextCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The picture lines' bitmaps are this program's own resources.
    AfxSetResourceHandle(::GetModuleHandleA(nullptr));
    RECT rect = {0, 0, kWidth, kHeight};
    ASSERT_TRUE(m_ctrl.Create(WS_POPUP | WS_VISIBLE, rect, nullptr, 0, "Scrolling text test"));
    m_ctrl.SetFontHeights(4, 4, 4, 4);
    m_ctrl.SetColours(RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 0), RGB(0, 255, 255),
                      RGB(255, 0, 255));
  }
  void TearDown() override {
    if (m_ctrl.m_hWnd) m_ctrl.DestroyWindow();
  }

  void Ticks(int n) {
    for (int i = 0; i < n; ++i) ::SendMessageA(m_ctrl.m_hWnd, WM_TIMER, ScrollingTextCtrl::kTimerId, 0);
  }
  COLORREF Pixel(int x, int y) {
    HDC dc = ::GetDC(m_ctrl.m_hWnd);
    COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(m_ctrl.m_hWnd, dc);
    return c;
  }
  std::vector<COLORREF> Snapshot() {
    std::vector<COLORREF> out;
    HDC dc = ::GetDC(m_ctrl.m_hWnd);
    for (int y = 0; y < kHeight; y += 2)
      for (int x = 0; x < kWidth; x += 2) out.push_back(::GetPixel(dc, x, y));
    ::ReleaseDC(m_ctrl.m_hWnd, dc);
    return out;
  }
  // Paints the window now, as a stopped control does on its own.
  void Repaint() {
    ::InvalidateRect(m_ctrl.m_hWnd, nullptr, FALSE);
    ::UpdateWindow(m_ctrl.m_hWnd);
  }

  ScrollingTextCtrl m_ctrl;
};

TEST_F(ScrollingTextCtrlTest, TheLastCharacterChoosesTheStyle) {
  m_ctrl.SetFontHeights(14, 30, 24, -18);
  struct Case {
    const char* line;
    BOOL fullRepaint;
    ScrollingTextCtrl::Style style;
    const char* face;
    int height;
    int weight;
    COLORREF colour;
    const char* text;
  } cases[] = {
      {"Title^", FALSE, ScrollingTextCtrl::kStyle1, "Verdana", 30, 700, RGB(255, 255, 0), "Title"},
      // The second style changes face between scrolling and the full repaint.
      {"Cast~", FALSE, ScrollingTextCtrl::kStyle2, "Verdana", 24, 700, RGB(0, 255, 255), "Cast"},
      {"Cast~", TRUE, ScrollingTextCtrl::kStyle2, "Arial", 24, 700, RGB(0, 255, 255), "Cast"},
      {"Thanks_", TRUE, ScrollingTextCtrl::kStyle3, "Verdana", -18, 700, RGB(255, 0, 255), "Thanks"},
      {"SCROLLPIC#", FALSE, ScrollingTextCtrl::kPicture, "", 0, 0, RGB(255, 255, 255), "SCROLLPIC"},
      {"plain words", FALSE, ScrollingTextCtrl::kPlain, "Verdana", 14, 100, RGB(255, 255, 255), "plain words"},
      {"", FALSE, ScrollingTextCtrl::kPlain, "Verdana", 14, 100, RGB(255, 255, 255), ""},
  };
  for (const Case& c : cases) {
    ScrollingTextCtrl::LineStyle s = m_ctrl.GetLineStyle(c.line, c.fullRepaint);
    EXPECT_EQ(s.style, c.style) << c.line;
    EXPECT_STREQ(s.face, c.face) << c.line;
    EXPECT_EQ(s.height, c.height) << c.line;
    EXPECT_EQ(s.weight, c.weight) << c.line;
    EXPECT_EQ(s.colour, c.colour) << c.line;
    EXPECT_STREQ(static_cast<LPCSTR>(s.text), c.text) << c.line;
  }
  // Markers of one's own.
  m_ctrl.SetMarkers('1', '2', '3', '@');
  EXPECT_EQ(m_ctrl.GetLineStyle("Title^", FALSE).style, ScrollingTextCtrl::kPlain);
  EXPECT_EQ(m_ctrl.GetLineStyle("Title1", FALSE).style, ScrollingTextCtrl::kStyle1);
  EXPECT_EQ(m_ctrl.GetLineStyle("901@", FALSE).style, ScrollingTextCtrl::kPicture);
}

// A line takes as many ticks as its font is high, counted from the absolute height and never
// below 1: a zero or negative height must not stop (or crash) the scrolling.
TEST_F(ScrollingTextCtrlTest, TicksPerLineComeFromTheAbsoluteFontHeight) {
  m_ctrl.SetFontHeights(0, -12, 7, -1);
  EXPECT_EQ(m_ctrl.GetLineTicks(ScrollingTextCtrl::kPlain), 1);
  EXPECT_EQ(m_ctrl.GetLineTicks(ScrollingTextCtrl::kStyle1), 12);
  EXPECT_EQ(m_ctrl.GetLineTicks(ScrollingTextCtrl::kStyle2), 7);
  EXPECT_EQ(m_ctrl.GetLineTicks(ScrollingTextCtrl::kStyle3), 1);

  m_ctrl.AddLine("zero height");
  m_ctrl.AddLine("negative height^");
  m_ctrl.Start(10000);
  Ticks(1);  // the plain height 0 counts as 1: the first line comes in at once
  EXPECT_STREQ(m_ctrl.GetCurrentLine(), "zero height");
  Ticks(1);
  EXPECT_STREQ(m_ctrl.GetCurrentLine(), "negative height^");
  Ticks(11);
  EXPECT_STREQ(m_ctrl.GetCurrentLine(), "negative height^");
  Ticks(1);
  EXPECT_STREQ(m_ctrl.GetCurrentLine(), "zero height");
}

TEST_F(ScrollingTextCtrlTest, LinesComeInOneAfterAnotherAndAroundAgain) {
  for (const char* line : {"first", "second", "third"}) m_ctrl.AddLine(line);
  m_ctrl.Start(10000);
  EXPECT_TRUE(m_ctrl.IsRunning());
  struct Step {
    int ticks;
    const char* current;
    int position;
    BOOL firstPass;
  } steps[] = {
      {3, "", 0, TRUE},  // nothing yet: the empty line takes its 4 ticks
      {1, "first", 1, TRUE},
      {4, "second", 2, TRUE},
      {4, "third", 0, FALSE},  // the end of the list: back to its start
      {4, "first", 1, FALSE},
  };
  for (const Step& s : steps) {
    Ticks(s.ticks);
    EXPECT_STREQ(m_ctrl.GetCurrentLine(), s.current);
    EXPECT_EQ(m_ctrl.GetPosition(), s.position) << s.current;
    EXPECT_EQ(m_ctrl.IsFirstPass(), s.firstPass) << s.current;
  }
  // The band grew to the widest text so far, within the window.
  EXPECT_GT(m_ctrl.GetBandWidth(), 0);
  EXPECT_LE(m_ctrl.GetBandWidth(), kWidth);
  // Text has scrolled in over the black background.
  bool drawn = false;
  for (COLORREF c : Snapshot()) drawn = drawn || c != RGB(0, 0, 0);
  EXPECT_TRUE(drawn);
}

// Each line takes its own height in ticks, whatever came before it: a line that started before
// the one above had come in whole would cut that one off and overlap it.
TEST_F(ScrollingTextCtrlTest, EachLineTakesItsOwnHeightInTicks) {
  m_ctrl.SetFontHeights(4, 6, 4, 4);
  for (const char* line : {"short", "tall^", "after"}) m_ctrl.AddLine(line);
  m_ctrl.Start(10000);
  Ticks(8);
  ASSERT_STREQ(m_ctrl.GetCurrentLine(), "tall^");
  Ticks(5);
  EXPECT_STREQ(m_ctrl.GetCurrentLine(), "tall^");
  Ticks(1);
  EXPECT_STREQ(m_ctrl.GetCurrentLine(), "after");
}

TEST_F(ScrollingTextCtrlTest, AStopLineStopsAndLeavesTheDisplayAsItWas) {
  m_ctrl.AddLine("before the stop^");
  m_ctrl.AddLine("<STOP>");
  m_ctrl.Start(10000);
  Ticks(4 + 3);  // the first line in and scrolled up
  ASSERT_STREQ(m_ctrl.GetCurrentLine(), "before the stop^");
  std::vector<COLORREF> before = Snapshot();
  Ticks(1);
  EXPECT_STREQ(m_ctrl.GetCurrentLine(), "<STOP>");
  EXPECT_FALSE(m_ctrl.IsRunning());
  EXPECT_FALSE(::KillTimer(m_ctrl.m_hWnd, ScrollingTextCtrl::kTimerId));  // already gone
  EXPECT_EQ(Snapshot(), before);
}

// A picture line at the end of the list scrolls its picture in (grey is see-through), then the
// list starts again from its first line. The picture is named by number and by name.
TEST_F(ScrollingTextCtrlTest, APictureLineAtTheEndThenTheFirstLineAgain) {
  for (const char* name : {"901#", "SCROLLPIC#"}) {
    ScrollingTextCtrl ctrl;
    RECT rect = {0, 0, kWidth, kHeight};
    ASSERT_TRUE(ctrl.Create(WS_POPUP | WS_VISIBLE, rect, nullptr));
    ctrl.SetFontHeights(4, 4, 4, 4);
    ctrl.SetColours(RGB(0, 0, 128), RGB(255, 255, 255), RGB(255, 255, 0), RGB(0, 255, 255),
                    RGB(255, 0, 255));
    ctrl.AddLine("");  // an empty text line: only background
    ctrl.AddLine(name);
    ctrl.Start(10000);
    auto ticks = [&](int n) {
      for (int i = 0; i < n; ++i) ::SendMessageA(ctrl.m_hWnd, WM_TIMER, ScrollingTextCtrl::kTimerId, 0);
    };
    ticks(8);  // the empty line at tick 4, the picture line at tick 8
    ASSERT_TRUE(ctrl.IsPictureScrolling()) << name;
    EXPECT_STREQ(ctrl.GetCurrentLine(), name);
    EXPECT_FALSE(ctrl.IsFirstPass()) << name;  // it was the last line
    ticks(5);  // 6 rows at one pixel a tick: now wholly in, at the bottom, centred
    EXPECT_FALSE(ctrl.IsPictureScrolling()) << name;
    EXPECT_STREQ(ctrl.GetCurrentLine(), "") << name;
    HDC dc = ::GetDC(ctrl.m_hWnd);
    const int left = (kWidth - 10) / 2;
    EXPECT_EQ(::GetPixel(dc, left + 5, kHeight - 3), RGB(255, 0, 0)) << name;
    EXPECT_EQ(::GetPixel(dc, left, kHeight - 3), RGB(0, 0, 128)) << name;  // its grey is see-through
    EXPECT_EQ(::GetPixel(dc, left + 5, kHeight - 7), RGB(0, 0, 128)) << name;
    ::ReleaseDC(ctrl.m_hWnd, dc);
    // The counter restarted at 1: the third tick from here brings the first line again.
    EXPECT_EQ(ctrl.GetPosition(), 0) << name;
    ticks(2);
    EXPECT_EQ(ctrl.GetPosition(), 0) << name;
    ticks(1);
    EXPECT_EQ(ctrl.GetPosition(), 1) << name;
  }
}

TEST_F(ScrollingTextCtrlTest, GradientsRunAcrossTheWidth) {
  const COLORREF c = RGB(200, 100, 50);
  struct Case {
    int mode;
    COLORREF left, right;
  } cases[] = {
      {1, c, RGB(0, 0, 0)},
      {2, c, RGB(255, 255, 255)},
      {3, RGB(0, 0, 0), c},
      {4, RGB(255, 255, 255), c},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(GradientBandColour(k.mode, c, 0), k.left) << k.mode;
    EXPECT_EQ(GradientBandColour(k.mode, c, 255), k.right) << k.mode;
    // Half way: the channels move by i x c / 255 in whole numbers.
    EXPECT_EQ(GetRValue(GradientBandColour(k.mode, c, 128)),
              k.mode == 1 ? 200 - 128 * 200 / 255 : k.mode == 2 ? 200 + 128 * 55 / 255
                                                  : k.mode == 3 ? 128 * 200 / 255
                                                                : 255 - 128 * 55 / 255);
    // On the window, in a full repaint of a stopped control.
    m_ctrl.SetColours(c, RGB(255, 255, 255), RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255));
    m_ctrl.SetGradient(k.mode);
    Repaint();
    EXPECT_EQ(Pixel(0, kHeight / 2), k.left) << k.mode;
    EXPECT_EQ(Pixel(kWidth - 1, kHeight / 2), k.right) << k.mode;
  }
}

TEST_F(ScrollingTextCtrlTest, ABackgroundPictureShowsThroughTheTextLayer) {
  HDC screen = ::GetDC(nullptr);
  HBITMAP tile = ::CreateCompatibleBitmap(screen, 8, 8);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, tile);
  RECT all = {0, 0, 8, 8};
  HBRUSH blue = ::CreateSolidBrush(RGB(0, 0, 255));
  ::FillRect(dc, &all, blue);
  ::SetPixel(dc, 0, 0, RGB(0, 255, 0));  // one green pixel a tile, so the tiling shows
  ::DeleteObject(blue);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);

  m_ctrl.SetFontHeights(16, 16, 16, 16);
  for (BOOL grey : {TRUE, FALSE}) {
    m_ctrl.SetBackgroundPicture(tile, grey);
    m_ctrl.AddLine("Over the picture^");
    Repaint();
    EXPECT_EQ(Pixel(1, kHeight - 2), RGB(0, 0, 255)) << grey;
    EXPECT_EQ(Pixel(8, kHeight - 8), RGB(0, 255, 0)) << grey;
    EXPECT_EQ(Pixel(16, 32), RGB(0, 255, 0)) << grey;
    // The text itself covers the picture somewhere in its line.
    bool text = false;
    for (int x = 0; x < kWidth; ++x)
      for (int y = 0; y < 16; ++y) text = text || Pixel(x, y) == RGB(255, 255, 0);
    EXPECT_TRUE(text) << grey;
    m_ctrl.RemoveAllLines();
  }
  m_ctrl.SetBackgroundPicture(nullptr, FALSE);
  ::DeleteObject(tile);
}

TEST_F(ScrollingTextCtrlTest, DestructionRemovesTheLinesAndStops) {
  m_ctrl.AddLine("one");
  m_ctrl.AddLine("two");
  m_ctrl.Start(10000);
  m_ctrl.DestroyWindow();
  EXPECT_EQ(m_ctrl.GetLineCount(), 0);
  EXPECT_FALSE(m_ctrl.IsRunning());
}

}  // namespace
