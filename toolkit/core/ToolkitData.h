// CTkToolkitData: the toolkit's one process-wide object of shared drawing state: the system
// colours and the colours derived from them, a few metrics, the toolkit's fonts and cursors, the
// operating-system flags, the look flags and the module the toolkit's resources come from. Every
// painter, bar and control reads it, so that nothing draws with a colour or font of its own.
// The application initialises it once, right after its language module is loaded.
#pragma once
#include <windows.h>

#include "framework/core/String.h"
#include "framework/gdi/Rect.h"

class CTkToolkitData {
 public:
  CTkToolkitData();
  ~CTkToolkitData();
  CTkToolkitData(const CTkToolkitData&) = delete;
  CTkToolkitData& operator=(const CTkToolkitData&) = delete;

  // Takes the module (null: the program's own file) as the source of the toolkit's resources,
  // loads colours, metrics, fonts and cursors, then checks the common-controls version.
  void Initialize(HINSTANCE hModule);
  // Re-reads the system colours and recomputes the derived ones (system colour or setting
  // changes).
  void ReloadColors();
  // The derived colours from the system colours held now.
  void ComputeDerivedColors();
  // Re-reads the system metrics the toolkit keeps.
  void LoadMetrics();
  // Remakes the eight fonts from the given font's LOGFONT, keeping its face.
  void SetFonts(HFONT hFont);
  // Builds the eight fonts from a menu font; with tahomaInstalled the horizontal ones use
  // Tahoma (unless the font's character set rules the enumeration out).
  void CreateFontsFrom(const LOGFONTA& menuFont, bool tahomaInstalled);
  // Major version in the high word, minor in the low; 0 while unknown.
  DWORD GetComCtlVersion();
  // Shows the abort box when the controls are older than 4.72; Abort posts WM_QUIT.
  void CheckComCtlVersion();
  // The cursor loaded for one of the toolkit's cursor ids (4509-4515), or null when the module
  // lacks it.
  HCURSOR GetCursor(UINT nID) const;
  HINSTANCE GetResourceHandle() const { return m_hResource; }
  // The font of bar texts and controls on bars: the toolkit's normal font, or the system's GUI
  // font while the toolkit has none.
  HFONT GetBarFont() const;

  // Oldest common controls the toolkit works with: 4.72.
  static constexpr DWORD kMinComCtlVersion = (4u << 16) | 72u;
  static constexpr int kCursorCount = 7;
  // The splitters' cursors: over column bars (dragged sideways) and over row bars.
  static constexpr UINT kTkHSplitCursor = 4512;
  static constexpr UINT kTkVSplitCursor = 4514;
  static const UINT kCursorIds[kCursorCount];

  // System colours, in the order they are read.
  COLORREF m_clrFace = 0, m_clrShadow = 0, m_clrDarkShadow = 0, m_clrHighlight = 0;
  COLORREF m_clrLightFace = 0;
  COLORREF m_clrBtnText = 0, m_clrGrayText = 0, m_clrSelection = 0, m_clrSelectionText = 0;
  COLORREF m_clrMenu = 0, m_clrMenuText = 0, m_clrWindow = 0, m_clrWindowFrame = 0;
  COLORREF m_clrWindowText = 0, m_clrActiveCaption = 0, m_clrInactiveCaption = 0;
  COLORREF m_clrActiveCaptionGradient = 0, m_clrInactiveCaptionGradient = 0;
  COLORREF m_clrCaptionText = 0, m_clrInactiveCaptionText = 0;
  // Derived colours of the flat painters and the owner-drawn menus.
  COLORREF m_clrWindowTint = 0, m_clrFaceTint = 0, m_clrFaceShade = 0, m_clrDarkFace = 0;
  COLORREF m_clrDarkShadowTint = 0, m_clrShadowTint = 0, m_clrSelectionLight = 0;
  COLORREF m_clrSelectionMix = 0, m_clrSelectionHalf = 0, m_clrBrightFace = 0;
  COLORREF m_clrSelectionHalfText = 0;  // text on the selection-half background

  HCURSOR m_hCursors[kCursorCount] = {};  // in the order of kCursorIds
  HCURSOR m_hcurSizeAll = nullptr;        // the system's, never destroyed

  int m_cxSmIcon = 0, m_cySmIcon = 0;
  int m_cxMdiButton = 18, m_cyMdiButton = 18;  // the menu bar's MDI caption buttons
  int m_cxHThumb = 0, m_cyVThumb = 0, m_cyMenu = 0;

  HFONT m_hFontNormal = nullptr, m_hFontBold = nullptr, m_hFontUnderline = nullptr;
  HFONT m_hFontNormal2 = nullptr;  // the second normal font (the status bar's)
  HFONT m_hFontVert = nullptr, m_hFontVertBold = nullptr;
  HFONT m_hFontVert270 = nullptr, m_hFontVert270Bold = nullptr;

  BYTE m_bWin95 = 0, m_bWin98 = 0, m_bWinNT4 = 0, m_bWin2000 = 0, m_bWinXP = 0;

  BOOL m_bFlatLook = FALSE;      // flat painters instead of three-dimensional edges
  BOOL m_bMenuShadows = TRUE;    // popup menus cast shadows
  BOOL m_bFullWindowDrag = TRUE; // bars are dragged whole, not as an outline
  DWORD m_dwSpare1 = 0, m_dwSpare2 = 0;  // kept for the colour pages; nothing here reads them

  // The open drop-down: the screen rectangle of the toolbar button that opened it, so that the
  // popup's border can be left open where the two touch, and the popup's window while it is open
  // (null when none is).
  CRect m_rcDropDownButton;
  HWND m_hDropDownPopup = nullptr;
  // The side (CBRS_ALIGN_* bits) the bar of that button is docked at, 0 while it floats.
  DWORD m_dwDropDownSide = 0;

  DWORD m_dwComCtlVersion = static_cast<DWORD>(-1);  // -1 until first asked
  CString m_strIniFile;  // when set, the toolkit's settings go to this INI file
  HINSTANCE m_hResource = nullptr;

 protected:
  void LoadFonts();
  void LoadCursors();
  void DeleteFonts();
  void DestroyCursors();
};

// The toolkit's global data.
CTkToolkitData& ToolkitData();

// The box of the common-controls check; a seam for tests (null: the system's MessageBox).
using TkMessageBoxFn = int (*)(LPCSTR text, LPCSTR caption, UINT type);
void SetTkComCtlMessageBox(TkMessageBoxFn fn);
