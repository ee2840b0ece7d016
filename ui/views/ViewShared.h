// Pane switching that the three panes of the main window share. The panes sit in the frame's
// splitters: the search form above, the search-term view and the engine view side by side below.
#pragma once

class CWnd;

// The pane at (row, column) of the splitter `levels` steps above the view (0: the view's own
// splitter); null when the view is not in such a splitter or the pane is missing.
CWnd* SplitterPane(CWnd* view, int levels, int row, int column);
// Makes the pane the frame's active view and gives it the focus; a null pane does nothing.
void ActivatePane(CWnd* pane);
// The pane is there and shown.
bool IsPaneShown(CWnd* pane);
// Shows the first popup of the menu resource at the point (from the keyboard, (-1, -1): just
// inside the view); its commands go to the view's top-level window, as a menu bar's would.
void TrackViewContextMenu(CWnd* view, unsigned menuId, int x, int y);
