// The colour well's arithmetic without a window: its size, where cells lie, what the mouse hits,
// how the arrow keys move the selection and where the drop-down opens.
#include <gtest/gtest.h>

#include "toolkit/widgets/WgColorWell.h"

namespace {

WgColorWellGeometry Grid(int columns, int rows, bool other = false, bool custom = false) {
  WgColorWellGeometry geo;
  geo.columns = columns;
  geo.rows = rows;
  geo.cellWidth = 15;
  geo.cellHeight = 12;
  geo.margin = 2;
  geo.other = other;
  geo.customShown = custom;
  return geo;
}

TEST(ColorWellGeometry, SizeFollowsColumnsRowsMarginAndOtherRow) {
  struct Case { int columns, rows, margin; bool other; int width, height; } cases[] = {
      // margin + n * cell + (margin + n) * 2 - 2; the Other row adds cell height + 2 + 6.
      {4, 5, 2, false, 2 + 60 + 12 - 2, 2 + 60 + 14 - 2},
      {4, 5, 2, true, 72, 74 + 12 + 8},
      {3, 7, 5, false, 5 + 45 + 16 - 2, 5 + 84 + 24 - 2},
      {1, 1, 2, false, 2 + 15 + 6 - 2, 2 + 12 + 6 - 2},
  };
  for (const auto& c : cases) {
    WgColorWellGeometry geo = Grid(c.columns, c.rows, c.other);
    geo.margin = c.margin;
    CSize size = geo.WindowSize();
    EXPECT_EQ(size.cx, c.width) << c.columns << "x" << c.rows;
    EXPECT_EQ(size.cy, c.height) << c.columns << "x" << c.rows;
  }
  EXPECT_EQ(WgColorWellGeometry::MarginFor(false, false), 2);
  EXPECT_EQ(WgColorWellGeometry::MarginFor(true, false), 4);
  EXPECT_EQ(WgColorWellGeometry::MarginFor(true, true), 5);
}

TEST(ColorWellGeometry, CellsSitTwoPixelsApartAndHitTestFindsThem) {
  WgColorWellGeometry geo = Grid(4, 5, true, true);
  EXPECT_EQ(geo.CellRect(0, 0), CRect(2, 2, 17, 14));
  EXPECT_EQ(geo.CellRect(3, 4), CRect(2 + 3 * 17, 2 + 4 * 14, 2 + 3 * 17 + 15, 2 + 4 * 14 + 12));
  // Every cell's own middle hits it; the gaps between cells hit nothing.
  for (int r = 0; r < geo.rows; ++r)
    for (int c = 0; c < geo.columns; ++c) {
      CRect cell = geo.CellRect(c, r);
      int column = -1, row = -1;
      ASSERT_TRUE(geo.HitTest(CPoint(cell.left + 3, cell.top + 3), column, row));
      EXPECT_EQ(column, c);
      EXPECT_EQ(row, r);
      EXPECT_FALSE(geo.HitTest(CPoint(cell.right, cell.top + 3), column, row));
    }
  // The custom cell lies below the separator, and the Other button gives way to it.
  CRect custom = geo.CustomRect();
  EXPECT_GT(custom.top, geo.SeparatorY());
  int column = -1, row = -1;
  ASSERT_TRUE(geo.HitTest(custom.CenterPoint(), column, row));
  EXPECT_EQ(row, geo.rows);
  EXPECT_EQ(geo.OtherButtonRect().left, custom.right + 2);
  WgColorWellGeometry hidden = Grid(4, 5, true, false);
  EXPECT_EQ(hidden.OtherButtonRect().left, 2);
  EXPECT_FALSE(hidden.HitTest(hidden.CustomRect().CenterPoint(), column, row));
}

TEST(ColorWellGeometry, ArrowKeysMoveAndWrap) {
  struct Case {
    bool custom;
    UINT key;
    int column, row, toColumn, toRow;
  } cases[] = {
      {false, VK_RIGHT, 0, 0, 1, 0},
      {false, VK_RIGHT, 3, 0, 0, 1},   // end of a row: start of the next
      {false, VK_RIGHT, 3, 4, 0, 0},   // last cell: around to the first
      {true, VK_RIGHT, 3, 4, 0, 5},    // ... or to the custom cell when shown
      {true, VK_RIGHT, 0, 5, 0, 0},    // custom cell: on to the first
      {false, VK_LEFT, 0, 1, 3, 0},    // start of a row: end of the previous
      {false, VK_LEFT, 0, 0, 3, 4},    // first cell: around to the last
      {true, VK_LEFT, 0, 0, 0, 5},
      {true, VK_LEFT, 0, 5, 3, 4},
      {false, VK_DOWN, 2, 3, 2, 4},
      {false, VK_DOWN, 2, 4, 2, 4},    // bottom row stays without a custom cell
      {true, VK_DOWN, 2, 4, 0, 5},
      {false, VK_UP, 2, 1, 2, 0},
      {false, VK_UP, 2, 0, 2, 0},
      {true, VK_UP, 0, 5, 0, 4},
      {false, VK_RIGHT, -1, -1, 0, 0},  // nothing selected yet: the first cell
  };
  for (const auto& c : cases) {
    WgColorWellGeometry geo = Grid(4, 5, true, c.custom);
    int column = c.column, row = c.row;
    geo.Move(c.key, column, row);
    EXPECT_EQ(column, c.toColumn) << "key " << c.key << " from " << c.column << "," << c.row;
    EXPECT_EQ(row, c.toRow) << "key " << c.key << " from " << c.column << "," << c.row;
  }
}

TEST(ColorWellGeometry, DropDownOpensBelowElseRightAlignedOrAbove) {
  CSize screen(800, 600);
  CSize size(72, 94);
  struct Case { CRect below; CPoint at; } cases[] = {
      {CRect(100, 100, 160, 122), CPoint(100, 122)},
      {CRect(740, 100, 790, 122), CPoint(790 - 72, 122)},   // would reach the right edge
      {CRect(100, 500, 160, 522), CPoint(100, 500 - 94)},   // would reach the bottom
      {CRect(750, 520, 790, 540), CPoint(790 - 72, 520 - 94)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CWgPopupColorWell::PlaceBelow(c.below, size, screen), c.at) << c.below.left;
}

TEST(ColorWellGeometry, GridColoursComeFromTheDefaultPalette) {
  COLORREF colors[20];
  EXPECT_EQ(CWgColorWell::LoadGridColors(colors, 20), 20);
  EXPECT_EQ(colors[0], RGB(0, 0, 0));
  EXPECT_EQ(colors[19], RGB(255, 255, 255));
}

}  // namespace
