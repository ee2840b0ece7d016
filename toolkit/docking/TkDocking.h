// The toolkit's docking as a frame takes it up: dock bars of the toolkit's kind along the
// frame's edges, and the bar layout kept in the toolkit's profile store across runs.
#pragma once
#include <windows.h>

class CFrameWnd;

// Makes a CTkDockBar for each edge in dwDockStyle (CBRS_ALIGN_*) that has none yet, each given
// the toolkit dock-site style (TKDS_*), then lets the frame finish its own docking set-up. FALSE
// when a dock bar could not be made.
BOOL TkEnableDocking(CFrameWnd* pFrame, DWORD dwDockStyle, DWORD dwDockBarStyle = 0);

// Reads the layout saved under the profile name and applies it when it is sound and names only
// bars the frame has; otherwise the frame keeps the layout it has (FALSE).
BOOL TkLoadBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName);
// Collects the frame's layout and writes it under the profile name.
void TkSaveBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName);
