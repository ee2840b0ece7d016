// Resource ids of the toolbar, rebar and dialog bar tests.
#pragma once

#define IDR_TEST_TOOLBAR 1400
#define IDR_TEST_TOOLBAR_SHORT 1401  // says it has more buttons than it holds
#define IDD_TEST_DIALOGBAR 1402
#define ID_TEST_TOOL_A 1408
#define ID_TEST_TOOL_B 1409
#define ID_TEST_TOOL_C 1410
#define ID_TEST_TOOL_PLACE 1411
#define ID_TEST_DLGBAR_BUTTON 1412
