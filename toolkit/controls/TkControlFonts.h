// What the list, header and tab controls need of the toolkit's global data that it does not
// offer yet: the normal and bold control fonts, and how a font is handed to a control (posted on
// Windows 95, sent elsewhere). They belong with the global data and move there.
#pragma once
#include <windows.h>

HFONT TkGetNormalFont();
HFONT TkGetBoldFont();
// A vertical font for tabs on the left (reading upwards) or right (reading downwards).
HFONT TkGetVertFont(BOOL bRight, BOOL bBold);
void TkApplyFont(HWND hWnd, HFONT hFont, BOOL bRedraw);
