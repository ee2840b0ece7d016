// Resource ids of the window tests' dialog templates (FrameworkTest.rc).
#pragma once
#define IDD_TEST_FORM 2001
#define IDD_TEST_PAGE1 2002
#define IDD_TEST_PAGE2 2003
#define IDC_TEST_NUMBER 2101
#define IDC_TEST_NAME 2102
#define IDC_TEST_CHECK 2103
#define IDC_TEST_RADIO1 2104
#define IDC_TEST_RADIO2 2105
#define IDC_TEST_RADIO3 2106
#define IDC_TEST_COMBO 2107
