// LoadSysColorBitmap: loads a bitmap drawn in the four standard greys and gives it the user's
// current system colours, so that toolbar and menu images follow the colour scheme.
#pragma once
#include <windows.h>

// The source colours and the system colours that replace them, in the order they are tried.
struct TkSysColorMapEntry {
  COLORREF from;  // as drawn in the bitmap
  int sysColor;   // the GetSysColor index that replaces it
};
extern const TkSysColorMapEntry kTkSysColorMap[4];

// hRsrc is a bitmap resource found in hInst. In monochrome mode every grey becomes white and
// black stays black. A new device-dependent bitmap the caller owns, or null on any failure.
HBITMAP LoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono = FALSE);

// The program's image strips are drawn on magenta: it becomes the given face colour, which the
// masks of toolbars and menus take as transparent.
void TkMagentaToFace(HBITMAP bitmap, COLORREF face);
