// Ids of the toolkit's frame, bars and global data: its cursors and texts.
#pragma once

// Cursors of the bars, loaded by the toolkit's global data with the splitters' two (4512 and
// 4514, which come with the splitter's resources).
#define IDC_TK_BAR_MOVE 4509       // a bar dragged to a new place
#define IDC_TK_BAR_SIZEHORZ 4510   // a bar's edge dragged sideways
#define IDC_TK_BAR_DROPBOX 4511    // a bar dragged into a floating box
#define IDC_TK_BAR_SIZEVERT 4513   // a bar's edge dragged up and down
#define IDC_TK_BAR_COPY 4515       // a bar dragged with its copy

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
#define IDS_TK_COMCTL_CAPTION 4696
#define IDS_TK_COMCTL_TEXT 4697
