// The toolbar's layout arithmetic without a window: the style word, where rows break, the size
// of the rows, the narrowest wrap for a length, and which buttons go behind the chevron.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/bars/TkToolBarLayout.h"

namespace {

// A bar written as a string: 'b' a 23-pixel button, 's' a 6-pixel separator, 'c' a 40-pixel
// placeholder holding a control, 'h' a hidden button. Buttons are 22 high.
struct Bar {
  std::vector<TBBUTTON> buttons;
  std::vector<SIZE> sizes;
  explicit Bar(const std::string& shape) {
    int id = 100;
    for (char c : shape) {
      TBBUTTON b = {};
      SIZE s = {23, 22};
      switch (c) {
        case 's': b.fsStyle = TBSTYLE_SEP; b.iBitmap = 6; s.cx = 6; break;
        case 'c': b.fsStyle = TBSTYLE_SEP; b.idCommand = id++; b.iBitmap = 40; s.cx = 40; break;
        case 'h': b.idCommand = id++; b.fsState = TBSTATE_HIDDEN; break;
        default: b.idCommand = id++; break;
      }
      buttons.push_back(b);
      sizes.push_back(s);
    }
  }
  int Count() const { return static_cast<int>(buttons.size()); }
  int Wrap(int width) { return TkWrapToolBar(buttons.data(), sizes.data(), Count(), width); }
  SIZE Size() const { return TkCalcSize(buttons.data(), sizes.data(), Count()); }
  // The indexes that end a row.
  std::vector<int> Wraps() const {
    std::vector<int> out;
    for (int i = 0; i < Count(); ++i)
      if (buttons[i].fsState & TBSTATE_WRAP) out.push_back(i);
    return out;
  }
  std::vector<int> Hidden() const {
    std::vector<int> out;
    for (int i = 0; i < Count(); ++i)
      if (buttons[i].fsState & TBSTATE_HIDDEN) out.push_back(i);
    return out;
  }
};

TEST(ToolBarStyleWord, StateGoesHighWithEnabledMeaningDisabled) {
  TBBUTTON b = {};
  b.fsStyle = TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE;
  b.fsState = TBSTATE_ENABLED | TBSTATE_CHECKED;
  TkInvertEnabled(b);  // as read from the control
  EXPECT_EQ(TkButtonStyleWord(b), MAKELONG(0x18, 0x01u));
  TkSetButtonStyleWord(b, MAKELONG(TBSTYLE_CHECK, 0x04 | 0x20));  // disabled, wrap
  TkInvertEnabled(b);  // as written to the control
  EXPECT_EQ(b.fsStyle, TBSTYLE_CHECK);
  EXPECT_EQ(b.fsState, TBSTATE_WRAP);
}

// Rows break at the last plain separator in the row; without one before the last button that
// may end a row, never at a control's placeholder; a button wider than the width stays alone.
TEST(ToolBarWrap, RowsBreakAtTheRightButton) {
  struct Case {
    const char* shape;
    int width;
    int rows;
    std::vector<int> wraps;
  } cases[] = {
      {"bbbb", 92, 1, {}},             // exactly fits
      {"bbbb", 91, 2, {2}},            // no separator: the button before the overflowing one
      {"bbsbb", 80, 2, {2}},           // the separator, although a button would still fit
      {"bbsbsbb", 90, 2, {4}},         // the last separator at or before the overflow
      {"bbcb", 100, 2, {1}},           // the placeholder is passed over
      {"bbbbbb", 46, 3, {1, 3}},       // two per row
      {"bbb", 10, 3, {0, 1}},          // each alone; the last row holds the last button
      {"bhbb", 50, 2, {2}},            // hidden buttons take no room
      {"bbbbb", kTkNoWrap, 1, {}},
  };
  for (const Case& c : cases) {
    Bar bar(c.shape);
    EXPECT_EQ(bar.Wrap(c.width), c.rows) << c.shape << " at " << c.width;
    EXPECT_EQ(bar.Wraps(), c.wraps) << c.shape << " at " << c.width;
  }
}

// A wrapping separator takes no width and its width becomes a gap between rows.
TEST(ToolBarWrap, SizesOfWrappedRows) {
  struct Case {
    const char* shape;
    int width;
    SIZE size;
  } cases[] = {
      {"bbbb", kTkNoWrap, {92, 22}},
      {"bbsbb", 80, {46, 22 + 6 + 22}},  // separator wraps: its 6 pixels below the first row
      {"bbbb", 46, {46, 44}},            // a button wraps: rows touch
      {"bhb", kTkNoWrap, {46, 22}},
      {"", kTkNoWrap, {0, 0}},
  };
  for (const Case& c : cases) {
    Bar bar(c.shape);
    bar.Wrap(c.width);
    SIZE size = bar.Size();
    EXPECT_EQ(size.cx, c.size.cx) << c.shape;
    EXPECT_EQ(size.cy, c.size.cy) << c.shape;
  }
}

// The horizontal sizing keeps the rows the length gives but makes them as even as it can.
TEST(ToolBarSize, HorizontalFindsTheNarrowestWrap) {
  struct Case {
    const char* shape;
    int length;
    SIZE size;
  } cases[] = {
      {"bbbbbb", kTkNoWrap, {138, 22}},  // one row, no bisection
      {"bbbbbb", 100, {69, 44}},          // 4+2 at 100 becomes 3+3
      {"bbbbbb", 138, {138, 22}},
      {"bbbbb", 50, {46, 66}},            // 2+2+1
  };
  for (const Case& c : cases) {
    Bar bar(c.shape);
    TkSizeToolBar(bar.buttons.data(), bar.sizes.data(), bar.Count(), c.length, false);
    SIZE size = bar.Size();
    EXPECT_EQ(size.cx, c.size.cx) << c.shape << " at " << c.length;
    EXPECT_EQ(size.cy, c.size.cy) << c.shape << " at " << c.length;
  }
}

// The vertical sizing looks for the rows whose height meets the length.
TEST(ToolBarSize, VerticalMeetsTheLength) {
  struct Case {
    int length;
    SIZE size;
  } cases[] = {
      {132, {23, 132}},  // one column of six
      {66, {46, 66}},    // three rows of two
      {44, {69, 44}},    // two rows of three
      {22, {138, 22}},
  };
  for (const Case& c : cases) {
    Bar bar("bbbbbb");
    TkSizeToolBar(bar.buttons.data(), bar.sizes.data(), bar.Count(), c.length, true);
    SIZE size = bar.Size();
    EXPECT_EQ(size.cx, c.size.cx) << c.length;
    EXPECT_EQ(size.cy, c.size.cy) << c.length;
  }
}

// The length of a horizontal bar on one row, with the chevron's room while buttons are hidden.
int MeasureRow(const TBBUTTON* buttons, const SIZE* sizes, int count, void*) {
  std::vector<TBBUTTON> copy(buttons, buttons + count);
  TkWrapToolBar(copy.data(), sizes, count, kTkNoWrap);
  int length = TkCalcSize(copy.data(), sizes, count).cx;
  for (int i = 0; i < count; ++i)
    if (buttons[i].fsState & TBSTATE_HIDDEN) return length + kTkChevronAllowance;
  return length;
}

// Buttons go from the end until the rest fits beside the chevron; one always stays.
TEST(ToolBarChevron, HidesFromTheEndUntilTheRestFits) {
  struct Case {
    const char* shape;
    int oldLength, newLength;
    std::vector<int> hidden;
  } cases[] = {
      {"bbbb", 92, 92, {}},          // fits, not shorter: nothing
      {"bbbb", 100, 95, {}},         // shorter but still fits: nothing
      {"bbbb", 92, 80, {2, 3}},      // 69 + 13 > 80 - 13; 46 + 13 fits
      {"bbsbb", 98, 90, {3, 4}},
      {"bbsbb", 98, 75, {2, 3, 4}},  // the separator goes like a button
      {"bbbb", 92, 5, {1, 2, 3}},    // at least one button stays
  };
  for (const Case& c : cases) {
    Bar bar(c.shape);
    std::map<int, int> hidden;
    TkHideButtonsToFit(bar.buttons.data(), bar.sizes.data(), bar.Count(), c.oldLength,
                       c.newLength, hidden, MeasureRow, nullptr);
    EXPECT_EQ(bar.Hidden(), c.hidden) << c.shape << " to " << c.newLength;
    for (int i : c.hidden) EXPECT_EQ(hidden[i], bar.sizes[i].cx) << i;
  }
}

// Growing the bar brings the buttons back in order while they fit; when all are back the bar is
// as long as they need.
TEST(ToolBarChevron, ShowsButtonsBackAsTheBarGrows) {
  struct Case {
    int grownTo;
    std::vector<int> stillHidden;
    int result;
  } cases[] = {
      {60, {1, 2, 3}, 60},
      {82, {2, 3}, 82},  // 46 + 13 fits the 82 - 13 available
      {95, {3}, 95},     // 69 + 13 fits 82; all four (92) do not
      {200, {}, 92},
  };
  for (const Case& c : cases) {
    Bar bar("bbbb");
    std::map<int, int> hidden;
    TkHideButtonsToFit(bar.buttons.data(), bar.sizes.data(), bar.Count(), 92, 5, hidden,
                       MeasureRow, nullptr);
    int result = TkShowButtonsThatFit(bar.buttons.data(), bar.sizes.data(), bar.Count(), 5,
                                      c.grownTo, hidden, MeasureRow, nullptr);
    EXPECT_EQ(bar.Hidden(), c.stillHidden) << c.grownTo;
    EXPECT_EQ(result, c.result) << c.grownTo;
    EXPECT_EQ(hidden.size(), c.stillHidden.size()) << c.grownTo;
  }
}

}  // namespace
