// Resources of the rebar tests' own program.
#pragma once
#define IDR_REBAR_TEST_BAR 301
#define ID_RB_NEW 41001
#define ID_RB_OPEN 41002
#define ID_RB_SAVE 41003
#define ID_RB_CUT 41004
#define ID_RB_COPY 41005
#define ID_RB_PASTE 41006
#define ID_RB_PRINT 41007
