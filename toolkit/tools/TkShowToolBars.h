// Pictures of the toolkit's toolbar docked at each edge of a frame and floating in the toolkit's
// small frame (TkShowToolBars.cpp); the picture program names them in its table.
#pragma once

// Four toolbars, one docked at each edge, in the plain look and in the flat look.
void ShowToolBarsDocked();
void ShowToolBarsFlat();
// A toolbar floating beside its frame, and a second one floating narrow, its buttons in rows.
void ShowToolBarsFloating();
