// Resource ids of the frame tests.
#pragma once

#define IDR_TEST_FRAME 300
#define ID_TEST_ACTION 310
#define ID_TEST_NOHANDLER 311
#define ID_INDICATOR_TEST_CAPS 320
#define ID_INDICATOR_TEST_MODE 321
#define IDW_TEST_TOPBAR 0xE810
