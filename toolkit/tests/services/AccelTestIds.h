// Ids of the accelerator manager's test menu and table.
#pragma once
#define IDR_TEST_ACCEL 300
#define IDR_TEST_NO_ACCEL 301
#define ID_TEST_OPEN 3001
#define ID_TEST_RECENT_ONE 3002
#define ID_TEST_EXIT 3003
#define ID_TEST_COPY 3010
#define ID_TEST_PLACEHOLDER 3011
#define ID_TEST_HIDDEN 3012
#define ID_TEST_HELP 3020
