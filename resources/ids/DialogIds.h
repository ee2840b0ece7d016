// Ids of the splash screen, the engine-selection template dialogs, the small dialogs of the
// main program and the language name table.
#pragma once

// Splash screen
#define IDD_SPLASH 3106
#define IDC_SPLASH_PROGRESS 3107  // moved by the engine database's loader
#define IDC_SPLASH_PICTURE 400
#define IDB_SPLASH 401            // the picture
#define IDS_SPLASH_TITLE 154      // the window title (never the main window's, which the update program looks for)

// Engine-selection templates
#define IDD_SAVE_TEMPLATE 372
#define IDC_TEMPLATE_NAME 1182
#define IDD_SELECT_BY 333
#define IDC_SELECTBY_CATEGORY 1161
#define IDC_SELECTBY_LANGUAGE 1162  // the engine list's column 2
#define IDC_SELECTBY_COUNTRY 1163   // the engine list's column 1
#define IDC_SELECTBY_MARK 1164      // the engine list's column 3
#define IDC_SELECTBY_ONLY 1181      // radio group: 0 check only the matching engines,
#define IDC_SELECTBY_ADD 1182       //              1 add them to the engines checked

// About box
#define IDD_ABOUTBOX 341
#define IDC_ABOUT_VERSION 1238
#define IDC_ABOUT_TITLE 1239
#define IDC_ABOUT_PRODUCT 1245
#define IDC_ABOUT_LINK 1246
#define IDS_ABOUT_VERSION 322   // before the program's version
#define IDS_PRODUCT_NAME 199    // the product text is these two joined
#define IDS_PRODUCT_EDITION 200

// Update notice
#define IDD_INSTANT_UPDATE 162
#define IDD_CHECKING_FOR_UPDATE 361  // the modeless notice while the update check runs
#define IDC_UPDATE_LINK 1158
#define IDC_UPDATE_TITLE 1215

// Report header and footer editor
#define IDD_EDIT_REPORT_HEADER 375
#define IDC_REPORT_HEADER_TEXT 1256
#define IDS_REPORT_FOOTER_CAPTION 167  // the caption in footer mode

// CSV export
#define IDD_EXPORT_CSV 152
#define IDC_CSV_HEADER 1098
#define IDC_CSV_FOLDER 1099
#define IDC_CSV_FILE_NAME 1100
#define IDC_CSV_APPEND 1101
#define IDC_CSV_PREVIOUS 1261

// Language names: the localized name of each row of the table, 22200 (enu) to 22238 (trk)
#define IDS_LANGUAGE_FIRST 22200
#define IDS_LANGUAGE_LAST 22238

// Refusals of the dialogs' OK
#define IDS_TEMPLATE_NAME_EMPTY 22240
#define IDS_CSV_NAME_MISSING 22241
#define IDS_CSV_NAME_INVALID 22242
#define IDS_CSV_CREATE_FOLDER 22243  // %s: the folder
#define IDS_CSV_FOLDER_FAILED 22244  // %s: the folder
#define IDS_SUBMIT_FIELDS_EMPTY 22246  // %s: the empty fields, one per line
