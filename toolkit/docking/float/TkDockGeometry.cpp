#include "toolkit/docking/float/TkDockGeometry.h"

#include "framework/bars/BarStyles.h"

namespace tkdrag {

CRect MoveToContain(CRect rect, CPoint pt) {
  int dx = 0, dy = 0;
  if (pt.x < rect.left) dx = pt.x - rect.left;
  else if (pt.x > rect.right) dx = pt.x - rect.right;
  if (pt.y < rect.top) dy = pt.y - rect.top;
  else if (pt.y > rect.bottom) dy = pt.y - rect.bottom;
  rect.OffsetRect(dx, dy);
  return rect;
}

DragRects StartRects(const DragStart& s) {
  DragRects r;
  CPoint corner = s.bar.TopLeft();
  if (s.barStyle & CBRS_SIZE_DYNAMIC) {
    r.horz = CRect(corner, s.horz);
    r.vert = CRect(corner, s.vert);
    r.frameHorz = r.frameVert = CRect(corner, s.floating);
  } else if (s.barStyle & CBRS_SIZE_FIXED) {
    r.horz = r.frameHorz = CRect(corner, s.horz);
    r.vert = r.frameVert = CRect(corner, s.vert);
  } else if (s.barStyle & CBRS_ORIENT_HORZ) {
    r.horz = s.bar;
    r.vert = CRect(CPoint(s.pt.x - s.bar.Height() / 2, s.bar.top), s.vert);
    r.frameHorz = r.horz;
    r.frameVert = r.vert;
  } else {
    r.vert = s.bar;
    r.horz = CRect(CPoint(s.bar.left, s.pt.y - s.bar.Width() / 2), s.horz);
    r.frameHorz = r.horz;
    r.frameVert = r.vert;
  }
  for (CRect* frame : {&r.frameHorz, &r.frameVert}) {
    frame->left -= s.frameBorders.left;
    frame->top -= s.frameBorders.top;
    frame->right += s.frameBorders.right;
    frame->bottom += s.frameBorders.bottom;
    frame->DeflateRect(s.border2.cx, s.border2.cy);
  }
  for (CRect* rect : {&r.horz, &r.vert, &r.frameHorz, &r.frameVert})
    *rect = MoveToContain(*rect, s.pt);
  return r;
}

CRect StretchedFrame(int nHitTest, const CRect& actual, CSize size, CSize borders) {
  int cx = size.cx + borders.cx, cy = size.cy + borders.cy;
  CRect r = actual;
  switch (nHitTest) {
    case HTLEFT:
    case HTTOP:
    case HTTOPLEFT:
      r.left = actual.right - cx;
      r.top = actual.bottom - cy;
      break;
    case HTTOPRIGHT:
      r.top = actual.bottom - cy;
      r.right = actual.left + cx;
      break;
    case HTBOTTOMLEFT:
      r.left = actual.right - cx;
      r.bottom = actual.top + cy;
      break;
    default:
      r.right = actual.left + cx;
      r.bottom = actual.top + cy;
      break;
  }
  return r;
}

}  // namespace tkdrag
