// CTkResizeRect and CTkResizePoint: the fractional numbers of the resize engine. The same four
// floats serve as a child's resize factors (how much of the parent's width or height change each
// edge follows) and as its current rectangle, which keeps fractions so that many small changes
// add up instead of being lost to rounding at every step.
#pragma once
#include <windows.h>

class CTkResizeRect {
 public:
  CTkResizeRect() = default;
  CTkResizeRect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}
  explicit CTkResizeRect(const RECT& rc)
      : left(static_cast<float>(rc.left)), top(static_cast<float>(rc.top)),
        right(static_cast<float>(rc.right)), bottom(static_cast<float>(rc.bottom)) {}

  CTkResizeRect& operator=(const RECT& rc) { return *this = CTkResizeRect(rc); }
  CTkResizeRect& operator+=(const CTkResizeRect& o) {
    left += o.left;
    top += o.top;
    right += o.right;
    bottom += o.bottom;
    return *this;
  }
  // Pixels: each coordinate truncated toward zero.
  RECT ToRect() const {
    return RECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right),
                static_cast<LONG>(bottom)};
  }
  operator RECT() const { return ToRect(); }  // NOLINT
  double Width() const { return static_cast<double>(right) - left; }
  double Height() const { return static_cast<double>(bottom) - top; }
  bool operator==(const CTkResizeRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const CTkResizeRect& o) const { return !(*this == o); }
  bool IsValid() const { return left <= right && top <= bottom; }
  // The common part; (0, 0, 0, 0) when the two do not overlap.
  CTkResizeRect Intersect(const CTkResizeRect& o) const {
    CTkResizeRect r(left > o.left ? left : o.left, top > o.top ? top : o.top,
                    right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom);
    return r.IsValid() ? r : CTkResizeRect();
  }

  float left = 0, top = 0, right = 0, bottom = 0;
};

// The factors of one corner.
struct CTkResizePoint {
  float x = 0;
  float y = 0;
};

// One line of a table of registrations: a child's id and its four factors.
struct CTkResizeEntry {
  UINT nID;
  float left, top, right, bottom;
};
