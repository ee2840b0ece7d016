// Resources of the popup tests' own program.
#pragma once
#define IDR_POPUP_BAR 301
#define ID_POP_ONE 41001
#define ID_POP_TWO 41002
#define ID_POP_THREE 41003
#define ID_POP_FOUR 41004
#define ID_POP_FIVE 41005
#define ID_POP_SIX 41006
#define IDI_POP_ICON 310
