// Resources of the widgets' test program itself.
#pragma once

#define IDR_TEST_BROWSE_MENU 9100  // a menu of two popups for the browse edit's popup kind
#define ID_TEST_FIRST_FIRST 9101
#define ID_TEST_SECOND_FIRST 9111
#define ID_TEST_SECOND_NEXT 9112
