#include "toolkit/core/ToolkitData.h"

#include <cstring>
#include <shlwapi.h>

#include "framework/app/AfxResource.h"
#include "resources/ids/ToolkitFrameIds.h"
#include "toolkit/gdi/ColorValue.h"
#include "toolkit/services/OSVersion.h"

// The splitters' cursors (their resources come with the splitter's) sit among the bars'.
const UINT CTkToolkitData::kCursorIds[kCursorCount] = {
    IDC_TK_BAR_MOVE,     IDC_TK_BAR_SIZEHORZ, IDC_TK_BAR_SIZEVERT, IDC_TK_BAR_DROPBOX,
    IDC_TK_BAR_COPY,     kTkHSplitCursor,     kTkVSplitCursor};

namespace {

TkMessageBoxFn g_messageBox = nullptr;

int CALLBACK FindTahoma(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM found) {
  if (lstrcmpiA(lf->lfFaceName, "Tahoma") == 0) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
  }
  return 1;
}

bool TahomaInstalled() {
  bool found = false;
  HDC dc = ::GetDC(nullptr);
  LOGFONTA lf = {};
  lf.lfCharSet = DEFAULT_CHARSET;
  ::EnumFontFamiliesExA(dc, &lf, FindTahoma, reinterpret_cast<LPARAM>(&found), 0);
  ::ReleaseDC(nullptr, dc);
  return found;
}

HFONT MakeFont(LOGFONTA lf, LONG weight, BOOL underline, LONG angle) {
  lf.lfWeight = weight;
  lf.lfUnderline = static_cast<BYTE>(underline);
  lf.lfEscapement = angle;
  lf.lfOrientation = angle;
  return ::CreateFontIndirectA(&lf);
}

}  // namespace

CTkToolkitData& ToolkitData() {
  static CTkToolkitData data;
  return data;
}

void SetTkComCtlMessageBox(TkMessageBoxFn fn) { g_messageBox = fn; }

CTkToolkitData::CTkToolkitData() {
  const OSVERSIONINFOA& v = *GetOSVersionInfo();
  bool nine = v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
  bool nt = v.dwPlatformId == VER_PLATFORM_WIN32_NT;
  m_bWin95 = TkIsWindows95(v);
  m_bWin98 = nine && v.dwMajorVersion == 4 && v.dwMinorVersion == 10;
  m_bWinNT4 = nt && v.dwMajorVersion == 4 && v.dwMinorVersion == 0;
  m_bWin2000 = nt && v.dwMajorVersion == 5 && v.dwMinorVersion == 0;
  m_bWinXP = nt && v.dwMajorVersion == 5 && v.dwMinorVersion == 1;
}

CTkToolkitData::~CTkToolkitData() {
  DeleteFonts();
  DestroyCursors();
}

void CTkToolkitData::Initialize(HINSTANCE hModule) {
  m_hResource = hModule ? hModule : ::GetModuleHandleA(nullptr);
  ReloadColors();
  LoadMetrics();
  LoadFonts();
  LoadCursors();
  CheckComCtlVersion();
}

void CTkToolkitData::ReloadColors() {
  m_clrFace = ::GetSysColor(COLOR_BTNFACE);
  m_clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
  m_clrDarkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
  m_clrHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  m_clrBtnText = ::GetSysColor(COLOR_BTNTEXT);
  m_clrGrayText = ::GetSysColor(COLOR_GRAYTEXT);
  m_clrSelection = ::GetSysColor(COLOR_HIGHLIGHT);
  m_clrSelectionText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  m_clrMenu = ::GetSysColor(COLOR_MENU);
  m_clrMenuText = ::GetSysColor(COLOR_MENUTEXT);
  m_clrWindow = ::GetSysColor(COLOR_WINDOW);
  m_clrWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
  m_clrWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
  m_clrActiveCaption = ::GetSysColor(COLOR_ACTIVECAPTION);
  m_clrInactiveCaption = ::GetSysColor(COLOR_INACTIVECAPTION);
  m_clrActiveCaptionGradient = ::GetSysColor(COLOR_GRADIENTACTIVECAPTION);
  m_clrInactiveCaptionGradient = ::GetSysColor(COLOR_GRADIENTINACTIVECAPTION);
  m_clrCaptionText = ::GetSysColor(COLOR_CAPTIONTEXT);
  m_clrInactiveCaptionText = ::GetSysColor(COLOR_INACTIVECAPTIONTEXT);
  ComputeDerivedColors();
}

void CTkToolkitData::ComputeDerivedColors() {
  // Each derivation starts from a copy: Blend and + change the value they are called on.
  auto blend = [](COLORREF a, COLORREF b, int p) { return ColorValue(a).Blend(b, p); };
  auto lighten = [](COLORREF c, int n) { return ColorValue(c) + n; };
  const ColorValue black = ColorValue::Black;
  m_clrLightFace = lighten(m_clrFace, 18);
  m_clrWindowTint = blend(m_clrWindow, m_clrFace, 14);
  m_clrFaceTint = blend(m_clrFace, m_clrWindow, 17);
  m_clrFaceShade = blend(m_clrFace, m_clrShadow, 10);
  m_clrDarkFace = blend(blend(m_clrFace, black, 33), m_clrWindow, 30);
  m_clrDarkShadowTint = blend(m_clrShadow, black, 20);
  m_clrShadowTint = blend(m_clrShadow, m_clrWindow, 25);
  m_clrSelectionLight = blend(m_clrWindow, m_clrSelection, 30);
  m_clrSelectionMix = blend(blend(m_clrLightFace, m_clrSelection, 20), m_clrWindow, 39);
  m_clrSelectionHalf = blend(m_clrWindow, m_clrSelection, 50);
  m_clrBrightFace = lighten(m_clrFace, 30);
  // Dark text on a light background, light text on a dark one.
  m_clrSelectionHalfText =
      ColorValue(m_clrSelectionHalf).GetGreyLevel() > 148 ? m_clrMenuText : m_clrSelectionText;
}

void CTkToolkitData::LoadMetrics() {
  m_cxSmIcon = ::GetSystemMetrics(SM_CXSMICON);
  m_cySmIcon = ::GetSystemMetrics(SM_CYSMICON);
  m_cxMdiButton = 18;
  m_cyMdiButton = 18;
  m_cxHThumb = ::GetSystemMetrics(SM_CXHTHUMB);
  m_cyVThumb = ::GetSystemMetrics(SM_CYVTHUMB);
  m_cyMenu = ::GetSystemMetrics(SM_CYMENU);
}

void CTkToolkitData::DeleteFonts() {
  for (HFONT* font : {&m_hFontNormal, &m_hFontBold, &m_hFontUnderline, &m_hFontNormal2,
                      &m_hFontVert, &m_hFontVertBold, &m_hFontVert270, &m_hFontVert270Bold}) {
    if (*font) ::DeleteObject(*font);
    *font = nullptr;
  }
}

void CTkToolkitData::LoadFonts() {
  NONCLIENTMETRICSA ncm = {};
  // The layout without the padded border width, which every version of the system knows.
  ncm.cbSize = 340;
  if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) {
    DeleteFonts();
    return;
  }
  bool tahoma = !(ncm.lfMenuFont.lfCharSet & 2) && TahomaInstalled();
  CreateFontsFrom(ncm.lfMenuFont, tahoma);
}

void CTkToolkitData::CreateFontsFrom(const LOGFONTA& menuFont, bool tahomaInstalled) {
  DeleteFonts();
  LOGFONTA lf = menuFont;
  if (tahomaInstalled && !(lf.lfCharSet & 2)) lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
  m_hFontBold = MakeFont(lf, FW_BOLD, FALSE, 0);
  m_hFontNormal = MakeFont(lf, FW_NORMAL, FALSE, 0);
  m_hFontUnderline = MakeFont(lf, FW_NORMAL, TRUE, 0);
  // Vertical text needs a face that turns well; Tahoma does, else Arial.
  if (lstrcmpiA(lf.lfFaceName, "Tahoma") != 0) lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
  m_hFontNormal2 = MakeFont(lf, FW_NORMAL, FALSE, 0);
  m_hFontVert = MakeFont(lf, FW_NORMAL, FALSE, 900);
  m_hFontVertBold = MakeFont(lf, FW_BOLD, FALSE, 900);
  m_hFontVert270 = MakeFont(lf, FW_NORMAL, FALSE, 2700);
  m_hFontVert270Bold = MakeFont(lf, FW_BOLD, FALSE, 2700);
}

void CTkToolkitData::SetFonts(HFONT hFont) {
  LOGFONTA lf = {};
  if (!hFont || !::GetObjectA(hFont, sizeof lf, &lf)) return;
  DeleteFonts();
  m_hFontBold = MakeFont(lf, FW_BOLD, FALSE, 0);
  m_hFontNormal = MakeFont(lf, FW_NORMAL, FALSE, 0);
  m_hFontUnderline = MakeFont(lf, FW_NORMAL, TRUE, 0);
  m_hFontNormal2 = MakeFont(lf, FW_NORMAL, FALSE, 0);
  m_hFontVert = MakeFont(lf, FW_NORMAL, FALSE, 900);
  m_hFontVertBold = MakeFont(lf, FW_BOLD, FALSE, 900);
  m_hFontVert270 = MakeFont(lf, FW_NORMAL, FALSE, 2700);
  m_hFontVert270Bold = MakeFont(lf, FW_BOLD, FALSE, 2700);
}

HFONT CTkToolkitData::GetBarFont() const {
  return m_hFontNormal ? m_hFontNormal : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void CTkToolkitData::DestroyCursors() {
  for (HCURSOR& cursor : m_hCursors) {
    if (cursor) ::DestroyCursor(cursor);
    cursor = nullptr;
  }
}

void CTkToolkitData::LoadCursors() {
  DestroyCursors();
  for (int i = 0; i < kCursorCount; ++i)
    m_hCursors[i] = ::LoadCursorA(m_hResource, MAKEINTRESOURCEA(kCursorIds[i]));
  m_hcurSizeAll = ::LoadCursor(nullptr, IDC_SIZEALL);
}

HCURSOR CTkToolkitData::GetCursor(UINT nID) const {
  for (int i = 0; i < kCursorCount; ++i)
    if (kCursorIds[i] == nID) return m_hCursors[i];
  return nullptr;
}

DWORD CTkToolkitData::GetComCtlVersion() {
  if (m_dwComCtlVersion != static_cast<DWORD>(-1)) return m_dwComCtlVersion;
  HMODULE lib = ::LoadLibraryA("COMCTL32.DLL");
  if (!lib) return 0;
  auto get = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void*>(::GetProcAddress(lib, "DllGetVersion")));
  if (get) {
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof info;  // the 20-byte first form
    if (SUCCEEDED(get(&info))) m_dwComCtlVersion = (info.dwMajorVersion << 16) | info.dwMinorVersion;
  }
  ::FreeLibrary(lib);
  return m_dwComCtlVersion == static_cast<DWORD>(-1) ? 0 : m_dwComCtlVersion;
}

void CTkToolkitData::CheckComCtlVersion() {
  if (GetComCtlVersion() >= kMinComCtlVersion) return;
  CString caption, text;
  HINSTANCE previous = AfxGetResourceHandle();
  AfxSetResourceHandle(m_hResource);
  caption.LoadString(IDS_TK_COMCTL_CAPTION);
  text.LoadString(IDS_TK_COMCTL_TEXT);
  AfxSetResourceHandle(previous);
  UINT type = MB_ABORTRETRYIGNORE | MB_ICONHAND;
  int answer = g_messageBox ? g_messageBox(text, caption, type)
                            : ::MessageBoxA(nullptr, text, caption, type);
  // Retry and Ignore go on with the older controls; only Abort ends the program.
  if (answer == IDABORT) ::PostQuitMessage(0);
}
