#pragma once
#define IDR_MB_MAIN 8101
#define IDR_MB_OTHER 8102
#define ID_MB_OPEN 8111
#define ID_MB_CLOSE 8112
#define ID_MB_CUT 8113
#define ID_MB_DEEP 8114
#define ID_MB_GO 8115
#define ID_MB_CASCADE 8116
#define ID_MB_TILE 8117
#define ID_MB_HELP 8118
