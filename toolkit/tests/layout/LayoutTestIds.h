// Ids of the layout tests' own dialog templates and controls.
#pragma once
#define IDD_TEST_RESIZE_PAGE 400
#define IDC_TEST_LIST 4001
#define IDC_TEST_BUTTON 4002
#define IDC_TEST_GROUP 4003
