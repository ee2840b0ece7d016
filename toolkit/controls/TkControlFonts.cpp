#include "toolkit/controls/TkControlFonts.h"

#include "toolkit/ToolkitData.h"
#include "toolkit/services/OSVersion.h"

namespace {

HFONT MakeFont(LONG weight, LONG escapement) {
  LOGFONTA lf = {};
  ::GetObjectA(ToolkitData().GetBarFont(), sizeof lf, &lf);
  lf.lfWeight = weight;
  lf.lfEscapement = lf.lfOrientation = escapement;
  return ::CreateFontIndirectA(&lf);
}

}  // namespace

// Made once and kept for the life of the process, as the global data keeps its fonts.
HFONT TkGetNormalFont() {
  return ToolkitData().GetBarFont();
}

HFONT TkGetBoldFont() {
  static HFONT hFont = MakeFont(FW_BOLD, 0);
  return hFont;
}

HFONT TkGetVertFont(BOOL bRight, BOOL bBold) {
  static HFONT fonts[2][2] = {{MakeFont(FW_NORMAL, 900), MakeFont(FW_BOLD, 900)},
                              {MakeFont(FW_NORMAL, 2700), MakeFont(FW_BOLD, 2700)}};
  return fonts[bRight ? 1 : 0][bBold ? 1 : 0];
}

void TkApplyFont(HWND hWnd, HFONT hFont, BOOL bRedraw) {
  const OSVERSIONINFOA* info = GetOSVersionInfo();
  // Windows 95 controls may be asked for the font before they can take it.
  if (info && TkIsWindows95(*info)) {
    ::PostMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw);
  } else {
    ::SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw);
  }
}
