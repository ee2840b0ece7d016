// The arithmetic of a docking window, apart from its window: how long its gripper side must be,
// where its child, caption, grip lines and caption buttons go, and which of its kept sizes a
// layout request gets. The window asks these with its own state; tests ask them with tables.
#pragma once
#include <windows.h>

#include "framework/gdi/Gdi.h"

namespace tkdock {

// Where a docking window is: floating, in a lying row (top or bottom edge: the gripper runs down
// its left side) or in a standing row (left or right edge: the caption runs across its top).
enum class Side { Floating, Lying, Standing };

// The toolkit style bits of a docking window.
enum : DWORD {
  kGripper = 0x0001,       // a gripper or caption area; needed by kTitle, kTwoLines, kButtons
  kTitle = 0x0002,         // the window text in the gripper or caption
  kTwoLines = 0x0004,      // two grip lines instead of one
  kCaptionBar = 0x0008,    // a caption bar (the flat look gives one to any gripper)
  kGradient = 0x0010,      // the caption bar shades into the gradient colour
  kButtons = 0x0020,       // hide and expand buttons in the caption
  kFlatButtons = 0x0040,   // flat caption buttons
  kThinButtons = 0x0100,   // thin 3-D caption buttons (not in the flat look)
  kEdgeEtched = 0x0200,    // etched edge around the child
  kEdgeSunken = 0x0400,    // thin sunken edge around the child
  kEdgeRaised = 0x0800,    // raised edge around the child
  kNewlyDocked = 0x1000,   // the dock bar shares the row out again and clears it
};

// The room a docking window needs along its row at least: its gripper side.
int MinLength(Side side, DWORD tkStyle);

// The child's area in a client rectangle of size cx x cy.
CRect InsideRect(int cx, int cy, Side side, DWORD tkStyle, bool flatLook, bool tabBar);

// The expand button (the hide button lies 14 further along the caption), in a client area of
// size cx x cy.
CRect ExpandButtonRect(int cx, int cy, Side side, bool flatLook);
CRect HideButtonRect(int cx, int cy, Side side, bool flatLook);

// The first grip line.
CRect GripperRect(int cx, int cy, Side side, DWORD tkStyle);

// The gripper's full band: the grip line, its twin four pixels on, grown two pixels across.
CRect CaptionRect(int cx, int cy, Side side, DWORD tkStyle);

// A caption bar is drawn for kCaptionBar, and for any gripper in the flat look.
bool HasCaptionBar(DWORD tkStyle, bool flatLook);

// The sizes a docking window keeps; CalcDynamicLayout hands them out and takes new lengths.
struct Sizes {
  CSize vert, horz, floating, current;
};
// Returns the size for the layout mode; LM_HORZ or LM_HORZ|LM_LENGTHY alone set the current
// width or height (never below 50); LM_COMMIT keeps the current size as the floating one.
CSize CalcDynamicLayout(Sizes& sizes, int nLength, DWORD nMode);

// The state shown by the expand button of a docked window (1-4, 6, 8; it is also the glyph) and
// whether the button can be pressed: the only window of a row has nothing to expand over.
struct ExpandLook {
  int state;
  bool enabled;
  bool contract;  // the tip says the button restores the row
};
ExpandLook ExpandButtonLook(Side side, bool alone, bool expanded);

// One band of a gradient caption: each channel (start * (64 - i) + end * i) / 64.
COLORREF GradientBand(COLORREF start, COLORREF end, int i);

}  // namespace tkdock
