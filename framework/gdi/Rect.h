// CPoint, CSize and CRect: the Win32 POINT, SIZE and RECT with arithmetic. They derive from the
// plain structures, so a CRect goes wherever a RECT* is asked for and back without copying.
#pragma once
#include <windows.h>

class CSize;
class CRect;

class CPoint : public tagPOINT {
 public:
  CPoint() noexcept { x = y = 0; }
  CPoint(int initX, int initY) noexcept { x = initX, y = initY; }
  CPoint(POINT pt) noexcept { x = pt.x, y = pt.y; }
  inline CPoint(SIZE size) noexcept;
  // The x coordinate in the low word and y in the high one, both signed (as mouse messages carry).
  explicit CPoint(LPARAM dwPoint) noexcept {
    x = static_cast<short>(LOWORD(dwPoint)), y = static_cast<short>(HIWORD(dwPoint));
  }

  void Offset(int xOffset, int yOffset) noexcept { x += xOffset, y += yOffset; }
  void Offset(POINT pt) noexcept { Offset(pt.x, pt.y); }
  void Offset(SIZE size) noexcept { Offset(size.cx, size.cy); }
  void SetPoint(int X, int Y) noexcept { x = X, y = Y; }

  bool operator==(POINT pt) const noexcept { return x == pt.x && y == pt.y; }
  bool operator!=(POINT pt) const noexcept { return !(*this == pt); }
  void operator+=(SIZE size) noexcept { Offset(size); }
  void operator-=(SIZE size) noexcept { Offset(-size.cx, -size.cy); }
  void operator+=(POINT pt) noexcept { Offset(pt); }
  void operator-=(POINT pt) noexcept { Offset(-pt.x, -pt.y); }

  CPoint operator+(SIZE size) const noexcept { return CPoint(x + size.cx, y + size.cy); }
  CPoint operator-(SIZE size) const noexcept { return CPoint(x - size.cx, y - size.cy); }
  CPoint operator-() const noexcept { return CPoint(-x, -y); }
  CPoint operator+(POINT pt) const noexcept { return CPoint(x + pt.x, y + pt.y); }
  inline CSize operator-(POINT pt) const noexcept;
  inline CRect operator+(const RECT* lpRect) const noexcept;
  inline CRect operator-(const RECT* lpRect) const noexcept;
};

class CSize : public tagSIZE {
 public:
  CSize() noexcept { cx = cy = 0; }
  CSize(int initCX, int initCY) noexcept { cx = initCX, cy = initCY; }
  CSize(SIZE size) noexcept { cx = size.cx, cy = size.cy; }
  CSize(POINT pt) noexcept { cx = pt.x, cy = pt.y; }
  explicit CSize(DWORD dwSize) noexcept {
    cx = static_cast<short>(LOWORD(dwSize)), cy = static_cast<short>(HIWORD(dwSize));
  }

  void SetSize(int CX, int CY) noexcept { cx = CX, cy = CY; }
  bool operator==(SIZE size) const noexcept { return cx == size.cx && cy == size.cy; }
  bool operator!=(SIZE size) const noexcept { return !(*this == size); }
  void operator+=(SIZE size) noexcept { cx += size.cx, cy += size.cy; }
  void operator-=(SIZE size) noexcept { cx -= size.cx, cy -= size.cy; }

  CSize operator+(SIZE size) const noexcept { return CSize(cx + size.cx, cy + size.cy); }
  CSize operator-(SIZE size) const noexcept { return CSize(cx - size.cx, cy - size.cy); }
  CSize operator-() const noexcept { return CSize(-cx, -cy); }
  CPoint operator+(POINT pt) const noexcept { return CPoint(cx + pt.x, cy + pt.y); }
  CPoint operator-(POINT pt) const noexcept { return CPoint(cx - pt.x, cy - pt.y); }
  inline CRect operator+(const RECT* lpRect) const noexcept;
  inline CRect operator-(const RECT* lpRect) const noexcept;
};

class CRect : public tagRECT {
 public:
  CRect() noexcept { left = top = right = bottom = 0; }
  CRect(int l, int t, int r, int b) noexcept { left = l, top = t, right = r, bottom = b; }
  CRect(const RECT& src) noexcept { CopyRect(&src); }
  CRect(const RECT* lpSrc) noexcept { CopyRect(lpSrc); }
  CRect(POINT point, SIZE size) noexcept {
    left = point.x, top = point.y, right = point.x + size.cx, bottom = point.y + size.cy;
  }
  CRect(POINT topLeft, POINT bottomRight) noexcept {
    left = topLeft.x, top = topLeft.y, right = bottomRight.x, bottom = bottomRight.y;
  }

  int Width() const noexcept { return right - left; }
  int Height() const noexcept { return bottom - top; }
  CSize Size() const noexcept { return CSize(Width(), Height()); }
  // References into the rectangle itself, so rc.TopLeft() = pt moves the corner.
  CPoint& TopLeft() noexcept { return *reinterpret_cast<CPoint*>(&left); }
  CPoint& BottomRight() noexcept { return *reinterpret_cast<CPoint*>(&right); }
  const CPoint& TopLeft() const noexcept { return *reinterpret_cast<const CPoint*>(&left); }
  const CPoint& BottomRight() const noexcept { return *reinterpret_cast<const CPoint*>(&right); }
  CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }
  void SwapLeftRight() noexcept { SwapLeftRight(this); }
  static void SwapLeftRight(LPRECT lpRect) noexcept {
    LONG t = lpRect->left;
    lpRect->left = lpRect->right, lpRect->right = t;
  }

  operator LPRECT() noexcept { return this; }
  operator LPCRECT() const noexcept { return this; }

  // Empty: no area (width or height zero or negative). Null: all four edges zero.
  BOOL IsRectEmpty() const noexcept { return ::IsRectEmpty(this); }
  BOOL IsRectNull() const noexcept { return left == 0 && right == 0 && top == 0 && bottom == 0; }
  BOOL PtInRect(POINT point) const noexcept { return ::PtInRect(this, point); }

  void SetRect(int x1, int y1, int x2, int y2) noexcept { ::SetRect(this, x1, y1, x2, y2); }
  void SetRect(POINT topLeft, POINT bottomRight) noexcept {
    SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
  }
  void SetRectEmpty() noexcept { ::SetRectEmpty(this); }
  void CopyRect(LPCRECT lpSrc) noexcept { ::CopyRect(this, lpSrc); }
  BOOL EqualRect(LPCRECT lpRect) const noexcept { return ::EqualRect(this, lpRect); }

  void InflateRect(int x, int y) noexcept { ::InflateRect(this, x, y); }
  void InflateRect(SIZE size) noexcept { InflateRect(size.cx, size.cy); }
  void InflateRect(LPCRECT lpRect) noexcept {
    left -= lpRect->left, top -= lpRect->top, right += lpRect->right, bottom += lpRect->bottom;
  }
  void InflateRect(int l, int t, int r, int b) noexcept {
    left -= l, top -= t, right += r, bottom += b;
  }
  void DeflateRect(int x, int y) noexcept { ::InflateRect(this, -x, -y); }
  void DeflateRect(SIZE size) noexcept { DeflateRect(size.cx, size.cy); }
  void DeflateRect(LPCRECT lpRect) noexcept {
    left += lpRect->left, top += lpRect->top, right -= lpRect->right, bottom -= lpRect->bottom;
  }
  void DeflateRect(int l, int t, int r, int b) noexcept {
    left += l, top += t, right -= r, bottom -= b;
  }

  void OffsetRect(int x, int y) noexcept { ::OffsetRect(this, x, y); }
  void OffsetRect(POINT point) noexcept { OffsetRect(point.x, point.y); }
  void OffsetRect(SIZE size) noexcept { OffsetRect(size.cx, size.cy); }
  void MoveToY(int y) noexcept { bottom = Height() + y, top = y; }
  void MoveToX(int x) noexcept { right = Width() + x, left = x; }
  void MoveToXY(int x, int y) noexcept { MoveToX(x), MoveToY(y); }
  void MoveToXY(POINT point) noexcept { MoveToXY(point.x, point.y); }
  // Swaps edges so that left <= right and top <= bottom.
  void NormalizeRect() noexcept {
    if (left > right) SwapLeftRight();
    if (top > bottom) {
      LONG t = top;
      top = bottom, bottom = t;
    }
  }

  // The set operations leave an empty (all-zero) rectangle when there is nothing in common.
  BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept {
    return ::IntersectRect(this, lpRect1, lpRect2);
  }
  BOOL UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept {
    return ::UnionRect(this, lpRect1, lpRect2);
  }
  BOOL SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2) noexcept {
    return ::SubtractRect(this, lpRectSrc1, lpRectSrc2);
  }

  CRect& operator=(const RECT& srcRect) noexcept {
    CopyRect(&srcRect);
    return *this;
  }
  bool operator==(const RECT& rect) const noexcept { return ::EqualRect(this, &rect) != 0; }
  bool operator!=(const RECT& rect) const noexcept { return !(*this == rect); }
  void operator+=(POINT point) noexcept { OffsetRect(point); }
  void operator+=(SIZE size) noexcept { OffsetRect(size); }
  void operator+=(LPCRECT lpRect) noexcept { InflateRect(lpRect); }
  void operator-=(POINT point) noexcept { OffsetRect(-point.x, -point.y); }
  void operator-=(SIZE size) noexcept { OffsetRect(-size.cx, -size.cy); }
  void operator-=(LPCRECT lpRect) noexcept { DeflateRect(lpRect); }
  // Margins given as a rectangle (rather than through a pointer) pick these forms directly.
  void operator+=(const RECT& margins) noexcept { InflateRect(&margins); }
  void operator-=(const RECT& margins) noexcept { DeflateRect(&margins); }
  CRect operator+(const RECT& margins) const noexcept { return *this + &margins; }
  CRect operator-(const RECT& margins) const noexcept { return *this - &margins; }
  void operator&=(const RECT& rect) noexcept { ::IntersectRect(this, this, &rect); }
  void operator|=(const RECT& rect) noexcept { ::UnionRect(this, this, &rect); }

  CRect operator+(POINT pt) const noexcept { return Moved(pt.x, pt.y); }
  CRect operator-(POINT pt) const noexcept { return Moved(-pt.x, -pt.y); }
  CRect operator+(SIZE size) const noexcept { return Moved(size.cx, size.cy); }
  CRect operator-(SIZE size) const noexcept { return Moved(-size.cx, -size.cy); }
  CRect operator+(LPCRECT lpRect) const noexcept {
    CRect rect(*this);
    rect.InflateRect(lpRect);
    return rect;
  }
  CRect operator-(LPCRECT lpRect) const noexcept {
    CRect rect(*this);
    rect.DeflateRect(lpRect);
    return rect;
  }
  CRect operator&(const RECT& rect2) const noexcept {
    CRect rect;
    ::IntersectRect(&rect, this, &rect2);
    return rect;
  }
  CRect operator|(const RECT& rect2) const noexcept {
    CRect rect;
    ::UnionRect(&rect, this, &rect2);
    return rect;
  }
  CRect MulDiv(int nMultiplier, int nDivisor) const noexcept {
    return CRect(::MulDiv(left, nMultiplier, nDivisor), ::MulDiv(top, nMultiplier, nDivisor),
                 ::MulDiv(right, nMultiplier, nDivisor), ::MulDiv(bottom, nMultiplier, nDivisor));
  }

 private:
  CRect Moved(int dx, int dy) const noexcept {
    return CRect(left + dx, top + dy, right + dx, bottom + dy);
  }
};

inline CPoint::CPoint(SIZE size) noexcept {
  x = size.cx, y = size.cy;
}
inline CSize CPoint::operator-(POINT pt) const noexcept {
  return CSize(x - pt.x, y - pt.y);
}
inline CRect CPoint::operator+(const RECT* lpRect) const noexcept {
  return CRect(lpRect) + *this;
}
inline CRect CPoint::operator-(const RECT* lpRect) const noexcept {
  return CRect(lpRect) - *this;
}
inline CRect CSize::operator+(const RECT* lpRect) const noexcept {
  return CRect(lpRect) + *this;
}
inline CRect CSize::operator-(const RECT* lpRect) const noexcept {
  return CRect(lpRect) - *this;
}
