// The search form at the top of the main window: its template, fields, labels and the commands
// it answers.
#pragma once

#define IDD_SEARCH_FORM 7000      // the form's template (child dialog)
#define IDC_FORM_SITE_URL 7003    // the site's address
#define IDC_FORM_SEARCH_TERM 7004 // the current search term
#define IDS_FORM_SITE_LABEL 153   // label of the first row
#define IDS_FORM_TERM_LABEL 190   // label of the second row
#define IDR_FORM_TERM_MENU 373    // the search-term field's drop-down menu (its button)
#define IDC_BANNER_HAND 103       // the cursor over the banner: a click opens its address

#define ID_NEXT_PANE_CMD 32897    // the keyboard focus to the next pane
#define ID_PREV_PANE_CMD 57664    // and to the previous one

// The framework's edit commands, as menus and accelerators send them.
#ifndef ID_EDIT_COPY
#define ID_EDIT_COPY 0xE122
#endif
#ifndef ID_EDIT_CUT
#define ID_EDIT_CUT 0xE123
#endif
#ifndef ID_EDIT_PASTE
#define ID_EDIT_PASTE 0xE125
#endif
#ifndef ID_EDIT_SELECT_ALL
#define ID_EDIT_SELECT_ALL 0xE12A
#endif
