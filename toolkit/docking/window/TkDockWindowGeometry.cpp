#include "toolkit/docking/window/TkDockWindowGeometry.h"

#include <algorithm>

#include "framework/bars/BarStyles.h"

namespace tkdock {

int MinLength(Side side, DWORD tkStyle) {
  if (!(tkStyle & kGripper)) return 5;
  return side == Side::Lying ? 18 : 24;
}

CRect InsideRect(int cx, int cy, Side side, DWORD tkStyle, bool flatLook, bool tabBar) {
  CRect rect(0, 0, cx, cy);
  if (side == Side::Floating) {
    rect.DeflateRect(3, 3);
  } else {
    int min = MinLength(side, tkStyle);
    rect.DeflateRect(3, 6);
    if (side == Side::Lying)
      rect.left += min - 3;
    else
      rect.top += min - 3;
    if (rect.left > rect.right || rect.top > rect.bottom) rect.SetRectEmpty();
    if (!rect.IsRectEmpty()) {
      // Standing, the caption already keeps the child clear of the top.
      if (side == Side::Standing) rect.top -= 5;
    } else if (side == Side::Lying) {
      rect.OffsetRect(min + 2, 0);
    } else {
      rect.OffsetRect(0, min + 2);
    }
    if (flatLook) {
      if (side == Side::Lying)
        rect.InflateRect(0, 3);
      else
        rect.InflateRect(4, 0);
    }
  }
  if (flatLook && tabBar) rect.bottom += 5;
  return rect;
}

CRect ExpandButtonRect(int cx, int, Side side, bool flatLook) {
  if (side == Side::Standing) {
    CRect rect(cx - 29, 6, cx - 17, 18);
    if (flatLook) rect.OffsetRect(-2, 0);
    return rect;
  }
  CRect rect(3, 3, 15, 15);
  if (flatLook) rect.OffsetRect(0, 2);
  return rect;
}

CRect HideButtonRect(int cx, int cy, Side side, bool flatLook) {
  CRect rect = ExpandButtonRect(cx, cy, side, flatLook);
  if (side == Side::Standing)
    rect.OffsetRect(14, 0);
  else
    rect.OffsetRect(0, 14);
  return rect;
}

CRect GripperRect(int cx, int cy, Side side, DWORD tkStyle) {
  bool buttons = (tkStyle & kButtons) != 0;
  if (side == Side::Standing) return CRect(4, 8, cx - 4 - (buttons ? 30 : 2), 11);
  return CRect(5, 3 + (buttons ? 30 : 1), 8, cy - 4);
}

CRect CaptionRect(int cx, int cy, Side side, DWORD tkStyle) {
  CRect r = GripperRect(cx, cy, side, tkStyle);
  CRect r2 = r;
  if (side == Side::Standing) {
    r2.OffsetRect(0, 4);
    return CRect(r.left, r.top - 2, r2.right, r2.bottom + 2);
  }
  r2.OffsetRect(4, 0);
  return CRect(r.left - 2, r.top, r2.right + 2, r2.bottom);
}

bool HasCaptionBar(DWORD tkStyle, bool flatLook) {
  return (tkStyle & kCaptionBar) || ((tkStyle & kGripper) && flatLook);
}

CSize CalcDynamicLayout(Sizes& sizes, int nLength, DWORD nMode) {
  CSize result;
  if (nMode & LM_HORZDOCK) {
    result = sizes.horz;
  } else if (nMode & LM_VERTDOCK) {
    result = sizes.vert;
  } else if (nMode & LM_MRUWIDTH) {
    result = sizes.floating;
  } else {
    // Only a plain request for a width or a height resizes; a commit never carries a length.
    if (nMode == LM_HORZ) sizes.current.cx = std::max(nLength, 50);
    if (nMode == (LM_HORZ | LM_LENGTHY)) sizes.current.cy = std::max(nLength, 50);
    result = sizes.current;
  }
  if (nMode & LM_COMMIT) sizes.floating = sizes.current;
  return result;
}

ExpandLook ExpandButtonLook(Side side, bool alone, bool expanded) {
  int base = side == Side::Lying ? 1 : 3;
  if (alone) return {base, false, false};
  if (expanded) return {side == Side::Lying ? 6 : 8, true, true};
  return {base + 1, true, false};
}

COLORREF GradientBand(COLORREF start, COLORREF end, int i) {
  auto mix = [i](int a, int b) { return (a * (64 - i) + b * i) >> 6; };
  return RGB(mix(GetRValue(start), GetRValue(end)), mix(GetGValue(start), GetGValue(end)),
             mix(GetBValue(start), GetBValue(end)));
}

}  // namespace tkdock
