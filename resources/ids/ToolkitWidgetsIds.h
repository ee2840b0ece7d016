// The toolkit's widgets and dialogs: splitter cursors, the browse edit's button and texts, the
// in-place editor, the folder browser and the tip of the day.
#pragma once

// Cursors over splitter bars
#define IDC_TK_HSPLITBAR 4512  // a bar dragged sideways (column bars)
#define IDC_TK_VSPLITBAR 4514  // a bar dragged up and down (row bars)

// Browse edit, its button and the in-place editor
#define IDB_TK_BUTTONIMAGES 4501   // strip of 11-pixel images; image 4 is the drop-down arrow
#define IDS_TK_BROWSE_BUTTON 4565  // text of the browse button
#define IDS_TK_BROWSE_DEFEXT 4567  // default extension of the file dialog
#define IDS_TK_BROWSE_FILTER 4568  // filter of the file dialog
#define IDS_TK_BROWSE_FOLDER 4569  // title of the browse edit's folder dialog
#define IDC_TK_BROWSE_BUTTON 5521  // control id of the browse button
#define IDC_TK_ITEM_EDIT 5503      // control id of the in-place editor

// Folder browse dialog
#define IDS_TK_FOLDER_TITLE 4555  // title line of the shell's folder browser

// Tip of the day
#define IDD_TK_TIPOFTHEDAY 4526   // the dialog
#define IDB_TK_TIP_LIGHT 4504     // the picture beside the heading
#define IDS_TK_TIP_HEADING 4641   // heading over the tip
#define IDS_TK_TIP_NOFILE 4642    // shown in place of a tip when the tips file is missing
#define IDS_TK_TIP_SEEKFAIL 4643  // the tips file cannot be positioned
#define IDC_TK_TIP_FRAME 5522     // static frame that marks the drawing area
#define IDC_TK_TIP_STARTUP 5523   // check box: show tips at start-up
#define IDC_TK_TIP_NEXT 5524      // button: next tip
