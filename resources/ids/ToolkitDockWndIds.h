// The toolkit's docking windows and floating frames: caption-button commands, their tips, the
// name a docking window's sizes are saved under, and the glyphs of the caption buttons.
#pragma once

#define IDS_TK_DOCKWND_STATE 4537     // registry value of a docking window's sizes
#define IDS_TK_DOCKWND_CONTRACT 4545  // tip of the expand button of an expanded window
#define IDS_TK_FLOAT_CLOSE 4585       // tip of a floating toolbar's close button
#define IDS_TK_FLOAT_EXPAND 4663      // tip of a floating toolbar's expand button
#define ID_TK_DOCKWND_HIDE 5511       // caption button: hide the docking window (and its tip)
#define ID_TK_DOCKWND_EXPAND 5512     // caption button: expand over the row (and its tip)
#define IDB_TK_DOCKWND_GLYPHS 4500    // 10-pixel glyphs of the docking window's caption buttons
#define IDB_TK_FLOAT_GLYPHS 4656      // 10-pixel glyphs of the floating frame's caption buttons
