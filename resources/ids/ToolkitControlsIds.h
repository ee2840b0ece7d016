// The toolkit's check list box and user tools: check images, the tools dialog and its texts.
#pragma once

// Check list box: unchecked, checked and indeterminate images side by side
#define IDB_TK_CHECKBOXES 4507

// User tools dialog
#define IDD_WG_USERTOOLS 20512
#define IDC_WG_TOOL_LIST 43078
#define IDC_WG_TOOL_NEW 43079
#define IDC_WG_TOOL_REMOVE 43080
#define IDC_WG_TOOL_UP 43081
#define IDC_WG_TOOL_DOWN 43082
#define IDC_WG_TOOL_COMMAND 43083
#define IDC_WG_TOOL_COMMAND_LABEL 43084
#define IDC_WG_TOOL_MENUTEXT 43085
#define IDC_WG_TOOL_ARGUMENTS 43086
#define IDC_WG_TOOL_FOLDER 43087
#define IDC_WG_TOOL_MENUTEXT_LABEL 43088
#define IDC_WG_TOOL_ARGUMENTS_LABEL 43089
#define IDC_WG_TOOL_FOLDER_LABEL 43090
#define IDS_WG_TOOL_BROWSE_TITLE 20680   // title of the program file dialog
#define IDS_WG_TOOL_BROWSE_FILTER 20681  // its filter
#define IDS_WG_TOOL_FOLDER_TITLE 20682   // title of the initial folder dialog
#define IDS_WG_TOOL_NEW_TEXT 20683       // menu text of a new tool
#define IDS_WG_TOOL_EMPTY_TEXT 20684     // a tool needs a menu text
#define IDS_WG_TOOLS_DAMAGED 20685       // the tools file could not be read whole
#define IDS_WG_TOOLS_NOT_SAVED 20686     // the tools file could not be written
