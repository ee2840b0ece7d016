// The project's properties sheet and the submission field editors: their dialogs, controls,
// texts and clip. The labels and descriptions of the site-profile fields are strings by the
// numbers the field table gives (3199-3503).
#pragma once

// The sheet and its pages.
#define IDS_PROJECT_SHEET_CAPTION 124  // the sheet's caption before the project's title replaces it
// The options sheet asks the same question about its report folder: one text for both.
#define IDS_PROJECT_CREATE_FOLDER 225  // Yes/No: the report folder is missing, make it?
#define IDS_PROJECT_FOLDER_FAILED 3600  // %s: the report folder that could not be made
#define IDS_PROJECT_LIMIT_ENTRIES 3601  // the resubmission intervals, one a line, in index order
#define IDD_PROJECT_FIELDS 153
#define IDD_PROJECT_RULES 156
#define IDD_PROJECT_MAIL 132
#define IDD_PROJECT_OUTPUT 134

// The site-fields page.
#define IDC_FIELDS_TREE 1123
#define IDC_FIELDS_EDIT 1106
#define IDC_FIELDS_IMPORT 1199

// The resubmission rules page.
#define IDC_RULES_AUTO 1108
#define IDC_RULES_WHEN_RANK 1113
#define IDC_RULES_WHEN_PAGE 1114
#define IDC_RULES_RANKING 1115
#define IDC_RULES_PAGENO 1116
#define IDC_RULES_NOTLISTED 1121
#define IDC_RULES_LIMIT 1259

// The report mail page.
#define IDC_MAIL_TO 1074
#define IDC_MAIL_CC 1047
#define IDC_MAIL_FROM 1075
#define IDC_MAIL_SUBJECT 1076
#define IDC_MAIL_BODY 1077

// The output page.
#define IDC_OUTPUT_FOLDER 1087

// The field editor.
#define IDD_MODIFY_NV 155
#define IDC_NV_LABEL 1118
#define IDC_NV_EDIT 1119
#define IDC_NV_DESCRIPTION 1122
#define IDC_NV_LIST 1126
#define IDC_NV_MULTIEDIT 1127
#define IDC_NV_TRANSLATE 1194
#define IDC_NV_ANIMATION 1195
#define IDC_NV_NO 1196
#define IDC_NV_YES 1197

// The category editor.
#define IDD_MODIFY_CATEGORY 3109
#define IDC_CATEGORY_TREE 1225

// The missing-fields dialog.
#define IDD_MISSING_INFO 159
#define IDC_MISSING_LIST 1145
#define IDC_MISSING_FILL 1146

// The clip the editors play while they wait for the network (type AVI).
#define IDR_FIELDS_CLIP 339
