// The arithmetic of dragging and resizing a bar, apart from any window: where the outlines of
// the docked and floating places start when a drag begins, and the frame a resize asks for.
#pragma once
#include <windows.h>

#include "framework/gdi/Gdi.h"

namespace tkdrag {

// Moves the rectangle the least distance that puts the point inside it.
CRect MoveToContain(CRect rect, CPoint pt);

// What a drag starts from: the bar's window rectangle (screen), the press point, the bar's
// style, its sizes for the three places (as its layout gives them for the style's size kind),
// the borders a mini frame puts around a bar and the framework's doubled border.
struct DragStart {
  CRect bar;
  CPoint pt;
  DWORD barStyle;
  CSize horz, vert, floating;
  CRect frameBorders;  // left, top, right, bottom thickness of a mini frame's border
  CSize border2;
};
struct DragRects {
  CRect horz, vert, frameHorz, frameVert;
};
DragRects StartRects(const DragStart& start);

// The frame rectangle a resize by the hit-test asks for: the actual frame given the new size
// plus the frame borders, anchored at the corner opposite the grabbed edges.
CRect StretchedFrame(int nHitTest, const CRect& actualFrame, CSize size, CSize borders);

}  // namespace tkdrag
