// The row steps a docking window asks of the dock bar that holds it: take the whole row (the
// other docking windows of the row shrink to their gripper) and give it back (every docking
// window of the row returns to its docked length). They work on any dock bar through its rows of
// bars; a dock bar that lays rows out by itself does the same with its own measures.
#pragma once

class CTkDockWindow;
class CDockBar;

// Expands the window over its row: its neighbours keep only their minimum length and it gets the
// rest of the dock bar's length. Nothing happens while it floats.
void TkExpandWindowInRow(CTkDockWindow* pWnd);
// Restores every docking window of the window's row to its docked length.
void TkRestoreRowOf(CTkDockWindow* pWnd);
// The length the row can give out: the dock bar's width (lying rows) or height (standing rows).
int TkRowLength(CDockBar* pDockBar, bool bLying);
