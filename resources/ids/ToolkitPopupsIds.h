// The toolkit's popups and small controls: the browse edits and their directory dialog.
#pragma once

#define IDS_WG_DIRSELECT_NAME 20624  // file name the folder-only file dialog accepts with OK
#define IDS_WG_BROWSE_DIR_TITLE 20625   // title of a folder edit's dialog
#define IDS_WG_BROWSE_FILE_TITLE 20626  // title of a file edit's dialog
