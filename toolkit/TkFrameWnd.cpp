#include "toolkit/TkFrameWnd.h"

IMPLEMENT_DYNCREATE(CTkFrameWnd, CFrameWnd)
