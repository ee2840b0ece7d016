// The list of search terms in the main window: its strings, popup menu and commands.
#pragma once

#define IDS_TERMS_IMPORT_TITLE 138   // title of the import file dialog
#define IDS_TERMS_EXPORT_TITLE 139   // title of the export file dialog
#define IDS_TERMS_DELETE_ASK 140     // Yes/No before a term is deleted
#define IDS_TERMS_CLEAR_ASK 141      // Yes/No before every term is deleted
#define IDS_TERMS_COLUMN 166         // the list's one column header
#define IDS_TERMS_IMPORT_FAILED 7020 // (path) the file to import cannot be read
#define IDS_TERMS_EXPORT_FAILED 7021 // (path) the file to export to cannot be written
#define IDS_TERMS_EXPORT_REPLACE 7022 // (path) Yes/No: the file exists, replace it?
#define IDR_TERMS_POPUP 374          // the list's context menu (first submenu)

#define ID_TERM_ADD 32870
#define ID_TERM_EDIT 32871
#define ID_TERM_DELETE 32872
#define ID_TERM_MOVE_UP 32873
#define ID_TERM_MOVE_DOWN 32874
#define ID_TERM_IMPORT 32877
#define ID_TERM_PASTE 32878
#define ID_TERM_EXPORT 32879
#define ID_TERM_IMPORT_PAGE 32906
#define ID_TERM_CLEAR 32911
