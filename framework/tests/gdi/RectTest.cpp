// CPoint, CSize and CRect arithmetic, checked against rectangles worked out by hand.
#include <gtest/gtest.h>

#include "framework/gdi/Rect.h"

namespace {

void ExpectRect(const RECT& r, int l, int t, int rr, int b) {
  EXPECT_EQ(r.left, l);
  EXPECT_EQ(r.top, t);
  EXPECT_EQ(r.right, rr);
  EXPECT_EQ(r.bottom, b);
}

struct RectOpCase {
  const char* what;
  CRect (*op)();
  RECT expected;
};

const RectOpCase kRectOps[] = {
    {"offset by a point", [] { return CRect(1, 2, 11, 22) + CPoint(5, -2); }, {6, 0, 16, 20}},
    {"offset back by a size", [] { return CRect(1, 2, 11, 22) - CSize(1, 2); }, {0, 0, 10, 20}},
    {"inflate by x and y",
     [] {
       CRect r(10, 10, 20, 20);
       r.InflateRect(2, 3);
       return r;
     },
     {8, 7, 22, 23}},
    {"deflate each side on its own",
     [] {
       CRect r(10, 10, 20, 20);
       r.DeflateRect(1, 2, 3, 4);
       return r;
     },
     {11, 12, 17, 16}},
    {"inflate by a rectangle of margins",
     [] { return CRect(10, 10, 20, 20) + CRect(1, 2, 3, 4); },
     {9, 8, 23, 24}},
    {"deflate by a rectangle of margins",
     [] { return CRect(10, 10, 20, 20) - CRect(1, 2, 3, 4); },
     {11, 12, 17, 16}},
    {"intersection of overlapping rectangles",
     [] { return CRect(0, 0, 10, 10) & CRect(5, 5, 15, 15); },
     {5, 5, 10, 10}},
    // Nothing in common: the result is empty and all zero, not a negative rectangle.
    {"intersection of apart rectangles",
     [] { return CRect(0, 0, 10, 10) & CRect(20, 20, 30, 30); },
     {0, 0, 0, 0}},
    {"union spans both", [] { return CRect(0, 0, 10, 10) | CRect(20, 5, 30, 30); }, {0, 0, 30, 30}},
    // An empty rectangle adds nothing to a union.
    {"union with an empty rectangle",
     [] { return CRect(2, 2, 4, 4) | CRect(50, 50, 50, 60); },
     {2, 2, 4, 4}},
    {"normalize swaps both pairs",
     [] {
       CRect r(10, 20, 0, 5);
       r.NormalizeRect();
       return r;
     },
     {0, 5, 10, 20}},
    {"move keeps the size",
     [] {
       CRect r(10, 20, 15, 30);
       r.MoveToXY(0, 1);
       return r;
     },
     {0, 1, 5, 11}},
    {"from a point and a size", [] { return CRect(CPoint(3, 4), CSize(5, 6)); }, {3, 4, 8, 10}},
    {"corner references write through",
     [] {
       CRect r(0, 0, 10, 10);
       r.TopLeft() = CPoint(2, 3);
       r.BottomRight() += CSize(1, 1);
       return r;
     },
     {2, 3, 11, 11}},
    {"in-place intersection",
     [] {
       CRect r(0, 0, 10, 10);
       r &= CRect(-5, 2, 4, 20);
       return r;
     },
     {0, 2, 4, 10}},
};

TEST(RectTest, OperatorsGiveTheRectangleWorkedOutByHand) {
  for (const auto& c : kRectOps) {
    SCOPED_TRACE(c.what);
    CRect r = c.op();
    ExpectRect(r, c.expected.left, c.expected.top, c.expected.right, c.expected.bottom);
  }
}

TEST(RectTest, MeasuresAndTests) {
  CRect r(10, 20, 40, 80);
  EXPECT_EQ(r.Width(), 30);
  EXPECT_EQ(r.Height(), 60);
  EXPECT_EQ(r.Size(), CSize(30, 60));
  EXPECT_EQ(r.CenterPoint(), CPoint(25, 50));
  // The right and bottom edges lie outside the rectangle.
  EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
  EXPECT_FALSE(r.PtInRect(CPoint(40, 50)));
  EXPECT_FALSE(r.PtInRect(CPoint(20, 80)));
  EXPECT_FALSE(r.IsRectEmpty());
  EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
  EXPECT_TRUE(CRect(5, 9, 8, 2).IsRectEmpty());  // upside down has no area
  EXPECT_FALSE(CRect(5, 5, 5, 9).IsRectNull());
  EXPECT_TRUE(CRect().IsRectNull());
  EXPECT_TRUE(r == CRect(10, 20, 40, 80));
  EXPECT_TRUE(r != CRect(10, 20, 40, 81));
}

TEST(RectTest, PassesAsAWin32RectangleWithoutCopying) {
  CRect r(1, 2, 3, 4);
  LPRECT p = r;
  ::OffsetRect(p, 10, 10);
  ExpectRect(r, 11, 12, 13, 14);
  const CRect& cr = r;
  LPCRECT cp = cr;
  EXPECT_EQ(cp, static_cast<const RECT*>(&r));
  RECT plain = {0, 0, 2, 2};
  CRect copy(plain);
  ::InflateRect(copy, 1, 1);
  ExpectRect(plain, 0, 0, 2, 2);
}

TEST(RectTest, PointsAndSizes) {
  CPoint p(3, 4);
  EXPECT_EQ(p + CSize(1, 1), CPoint(4, 5));
  EXPECT_EQ(p - CPoint(1, 1), CSize(2, 3));  // two points differ by a size
  EXPECT_EQ(-p, CPoint(-3, -4));
  p += CSize(-3, -4);
  EXPECT_EQ(p, CPoint(0, 0));
  EXPECT_EQ(CSize(2, 3) + CSize(1, 1), CSize(3, 4));
  // Mouse messages pack signed coordinates: a point left of or above a window is negative.
  EXPECT_EQ(CPoint(MAKELPARAM(-5, -7)), CPoint(-5, -7));
  EXPECT_EQ(CPoint(MAKELPARAM(300, 200)), CPoint(300, 200));
}

}  // namespace
