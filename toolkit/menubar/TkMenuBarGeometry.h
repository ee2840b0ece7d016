// The menu bar's arithmetic, kept apart from the window so that it can be checked without one:
// the size of the bar on one row, the rectangles of a maximised MDI child's icon and caption
// buttons, the client room they leave, which of them holds a point, and where a button's popup
// opens.
#pragma once
#include <windows.h>

// The system sizes the bar is measured with (a test gives its own).
struct TkMenuBarMetrics {
  int cxEdge = 2, cyEdge = 2;
  int cySmCaption = 15;
  int cxSmIcon = 16, cySmIcon = 16;
  int cxMdiButton = 18, cyMdiButton = 18;
  bool flat = false;  // the flat look shifts the caption buttons one pixel further in
};

// The metrics of this system and of the toolkit's global data.
TkMenuBarMetrics TkMenuBarSystemMetrics();

// One row: the edges, the buttons' widths and, for a maximised MDI child, its icon and three
// caption buttons.
SIZE TkCalcMenuBarSize(const int* buttonWidths, int count, bool mdiMaximized,
                       const TkMenuBarMetrics& m);

// The client rectangle less the MDI child's icon and caption buttons; the room along the bar
// never falls below the buttons' extent.
void TkAdjustForMDIButtons(RECT& rect, int buttonExtent, bool horizontal,
                           const TkMenuBarMetrics& m);

// The icon, minimise, restore and close rectangles (in that order, window coordinates) around
// the client rectangle that TkAdjustForMDIButtons left (also in window coordinates).
void TkCalcMDIButtonRects(const RECT& client, int buttonExtent, bool horizontal,
                          bool dockedRight, const TkMenuBarMetrics& m, RECT out[4]);

// The first of the four rectangles that holds the point, else -1.
int TkHitTestMDIButton(const RECT rects[4], POINT point);

// Where the popup of a button (screen rectangle) opens, by the bar's dock side (its
// CBRS_ALIGN_* bits; 0 while floating): beside a bar docked left, above one docked right or
// at the bottom (the popup's exclusion rectangle pushes it clear), below otherwise. The
// parameters exclude the button so that the popup never covers it, also at a screen edge.
POINT TkComputeTrackPoint(DWORD dwDockSide, const RECT& rcButton, TPMPARAMS& params);
