// Ids of the toolkit's frame, bars and global data: its cursors and texts.
#pragma once

// Cursors of the bars and splitters, loaded by the toolkit's global data.
#define IDC_TK_CURSOR_4509 4509  // bar drag: move
#define IDC_TK_CURSOR_4510 4510  // bar drag: size across
#define IDC_TK_CURSOR_4511 4511  // bar drag: into a box
#define IDC_TK_CURSOR_4512 4512  // split left and right (column bars)
#define IDC_TK_CURSOR_4513 4513  // bar drag: size along
#define IDC_TK_CURSOR_4514 4514  // split up and down (row bars)
#define IDC_TK_CURSOR_4515 4515  // bar drag: copy

// Window placement in the profile: the section and the entry used when a window gives none.
#define IDS_TK_PLACEMENT_SECTION 4536
#define IDS_TK_PLACEMENT_ENTRY 4538

// The bar context menu: the customise command and the titles of bars without a window text.
#define IDS_TK_CUSTOMIZE 4550
#define IDS_TK_DOCKWINDOW_TITLE 4556
#define IDS_TK_TOOLBAR_TITLE 4558
#define IDS_TK_STATUSBAR_TITLE 4560
#define IDS_TK_BAR_TITLE 4645

// The common-controls check at start-up.
#define IDS_TK_COMCTL_CAPTION 4590
#define IDS_TK_COMCTL_TEXT 4591
