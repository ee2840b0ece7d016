// Resource ids of the form view tests.
#pragma once

#define IDD_TEST_FORM 400
#define IDC_TEST_NAME 401
#define IDC_TEST_NOTE 402
#define IDD_TEST_MISSING 499  // no template of this id exists
