// Ids of the layout tests' own dialog templates and controls.
#pragma once
#define IDD_TEST_RESIZE_PAGE 400
#define IDC_TEST_LIST 4001
#define IDC_TEST_BUTTON 4002
#define IDC_TEST_GROUP 4003
#define IDR_TEST_SHORTCUTS 410
#define ID_TEST_FILE_OPEN 4101
#define ID_TEST_FILE_SAVE 4102
#define ID_TEST_RECENT_ONE 4103
#define ID_TEST_EDIT_COPY 4110
