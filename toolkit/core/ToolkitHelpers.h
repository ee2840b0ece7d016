// The toolkit's small shared routines: resource-handle scopes, mnemonic stripping, a file test,
// embossed and dithered drawing, scaling a dialog to a new font and finding a child at a point.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "framework/core/String.h"

class CWnd;

// Makes the toolkit's resource module current for the life of the object (dialog templates and
// strings of the toolkit load inside one), then puts the previous handle back. With
// bSetInstance, an application without an instance handle gets the module as that too.
class ResourceScope {
 public:
  explicit ResourceScope(BOOL bSetInstance = FALSE);
  ~ResourceScope();
  ResourceScope(const ResourceScope&) = delete;
  ResourceScope& operator=(const ResourceScope&) = delete;

 private:
  HINSTANCE m_hOldResource;
  HINSTANCE m_hOldInstance = nullptr;
  BOOL m_bInstance;
};

// The module the toolkit's resources come from: the global data's, or the framework's resource
// handle while the global data has none yet.
HINSTANCE TkResourceModule();
// A string of the toolkit's resource module; empty when it is missing.
CString TkLoadString(UINT nID);

// The splitters' cursors over a bar dragged up and down (row bars) and over one dragged sideways
// (column bars): the global data's, else the resource module's, else the system's sizing cursors.
HCURSOR TkVSplitCursor();
HCURSOR TkHSplitCursor();

// Width of the toolkit's small buttons, such as the browse edit's.
constexpr int kTkSmallButtonWidth = 18;

// Makes the module the toolkit's resource module and the framework's resource handle for good,
// and the application's instance handle when it has none.
void TkSetResourceModule(HINSTANCE hModule);

// Removes the mnemonic ampersands of a menu or button text; a doubled one stays doubled.
CString StripMnemonics(const CString& text);
BOOL FileExists(LPCSTR lpszPath);

// Draws image nIndex of the list embossed (highlight below right, shadow over it), as the
// system draws disabled images.
void DrawDisabledImage(HDC hdc, HIMAGELIST hImages, int nIndex, int x, int y, BOOL bColor);
// Fills the rectangle with the face and highlight checkerboard of pressed and checked items.
void FillDitheredRect(HDC hdc, const RECT& rect);

// Resizes a dialog-like window and its children in proportion to a new font and sets the font
// on every child.
void ScaleWindowToFont(CWnd* pWnd, HFONT hFont);
// The first visible child (z-order) with an id other than 0xFFFF whose window holds the client
// point; null when none does.
HWND FindChildAtPoint(HWND hWnd, int x, int y);
