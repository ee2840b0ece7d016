// The toolkit's list, header and shortcut resources: the list's width storage names, the header's
// sort menu and its images, the shortcut sheet's caption, pages, columns and question.
#pragma once

#define IDS_TK_COLUMN_SECTION 4536  // section of stored column widths
#define IDS_TK_COLUMN_ENTRY 4542    // entry of stored column widths
#define IDR_TK_HEADER_MENU 4519     // header context menu (sub-menu 2: sort and alignment)
#define IDR_TK_HEADER_IMAGES 4520   // images of the header menu's commands

#define IDS_TK_ACCEL_SHEET 4654     // shortcut sheet caption
#define IDD_TK_ACCEL_PAGE1 4654     // commands with their shortcuts
#define IDD_TK_ACCEL_PAGE2 4655     // assigning shortcuts
#define IDS_TK_ACCEL_COL_COMMAND 4655
#define IDS_TK_ACCEL_COL_KEYS 4656
#define IDS_TK_ACCEL_COL_DESCRIPTION 4657
#define IDS_TK_ACCEL_ALL 4658       // the all-categories entry
#define IDS_TK_ACCEL_TAKE_ASK 4659  // (command name) Yes/No before a shortcut changes owner

#define IDC_TK_ACCEL_COMMANDS 5561
#define IDC_TK_ACCEL_KEYS 5562
#define IDC_TK_ACCEL_LIST 5563
#define IDC_TK_ACCEL_EDIT 5564
#define IDC_TK_ACCEL_CATEGORY 5565
#define IDC_TK_ACCEL_ASSIGN 5566
#define IDC_TK_ACCEL_RESET 5567
#define IDC_TK_ACCEL_REMOVE 5568
#define IDC_TK_ACCEL_EXTRA 5569
#define IDC_TK_ACCEL_KEYS_LABEL 5570  // labels on the right of page 2
#define IDC_TK_ACCEL_EDIT_LABEL 5571
#define IDC_TK_ACCEL_TITLE 5572
#define IDC_TK_ACCEL_DESCRIPTION 5573
#define IDC_TK_ACCEL_DESCRIPTION_LABEL 5574

#define ID_TK_HEADER_SORT_ASC 52773
#define ID_TK_HEADER_SORT_DESC 52774
#define ID_TK_HEADER_ALIGN_LEFT 52775
#define ID_TK_HEADER_ALIGN_CENTER 52776
#define ID_TK_HEADER_ALIGN_RIGHT 52777
