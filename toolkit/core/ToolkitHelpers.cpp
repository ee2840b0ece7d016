#include "toolkit/core/ToolkitHelpers.h"

#include "framework/app/AfxResource.h"
#include "framework/app/WinApp.h"
#include "framework/wnd/Wnd.h"
#include "toolkit/core/ToolkitData.h"

ResourceScope::ResourceScope(BOOL bSetInstance)
    : m_hOldResource(AfxGetResourceHandle()), m_bInstance(bSetInstance) {
  AfxSetResourceHandle(TkResourceModule());
  CWinApp* app = AfxGetApp();
  if (m_bInstance && app) {
    m_hOldInstance = app->m_hInstance;
    if (!app->m_hInstance) app->m_hInstance = TkResourceModule();
  }
}

ResourceScope::~ResourceScope() {
  AfxSetResourceHandle(m_hOldResource);
  CWinApp* app = AfxGetApp();
  if (m_bInstance && app) app->m_hInstance = m_hOldInstance;
}

HINSTANCE TkResourceModule() {
  HINSTANCE module = ToolkitData().GetResourceHandle();
  return module ? module : AfxGetResourceHandle();
}

CString TkLoadString(UINT nID) {
  char text[1024] = "";
  ::LoadStringA(TkResourceModule(), nID, text, sizeof text);
  return CString(text);
}

namespace {
struct ToolkitCursor {
  HINSTANCE module = nullptr;
  HCURSOR cursor = nullptr;
};

// Loaded once per resource module: a cursor of a module loaded as data is a new object on
// every load, and the splitter asks on every mouse move.
HCURSOR LoadToolkitCursor(ToolkitCursor& cache, UINT id, LPCSTR fallback) {
  if (HCURSOR loaded = ToolkitData().GetCursor(id)) return loaded;
  HINSTANCE module = TkResourceModule();
  if (!cache.cursor || cache.module != module) {
    cache.module = module;
    cache.cursor = ::LoadCursorA(module, MAKEINTRESOURCEA(id));
  }
  return cache.cursor ? cache.cursor : ::LoadCursorA(nullptr, fallback);
}
}  // namespace

HCURSOR TkVSplitCursor() {
  static ToolkitCursor cache;
  return LoadToolkitCursor(cache, CTkToolkitData::kTkVSplitCursor, IDC_SIZENS);
}

HCURSOR TkHSplitCursor() {
  static ToolkitCursor cache;
  return LoadToolkitCursor(cache, CTkToolkitData::kTkHSplitCursor, IDC_SIZEWE);
}

void TkSetResourceModule(HINSTANCE hModule) {
  ToolkitData().m_hResource = hModule;
  AfxSetResourceHandle(hModule);
  CWinApp* app = AfxGetApp();
  if (app && !app->m_hInstance) app->m_hInstance = hModule;
}

CString StripMnemonics(const CString& text) {
  // "&&" is a real ampersand: set it aside, drop the single ones, put it back.
  CString out = text;
  out.Replace("&&", "\x01");
  out.Remove('&');
  out.Replace("\x01", "&&");
  return out;
}

BOOL FileExists(LPCSTR lpszPath) {
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA(lpszPath, &data);
  if (find == INVALID_HANDLE_VALUE) return FALSE;
  ::FindClose(find);
  return TRUE;
}

void DrawDisabledImage(HDC hdc, HIMAGELIST hImages, int nIndex, int x, int y, BOOL bColor) {
  int cx = 0, cy = 0;
  if (!hImages || !::ImageList_GetIconSize(hImages, &cx, &cy)) return;
  HDC mem = ::CreateCompatibleDC(hdc);
  HBITMAP bitmap = bColor ? ::CreateCompatibleBitmap(hdc, cx, cy)
                          : ::CreateBitmap(cx, cy, 1, 1, nullptr);
  if (!mem || !bitmap) {
    if (bitmap) ::DeleteObject(bitmap);
    if (mem) ::DeleteDC(mem);
    return;
  }
  HGDIOBJ oldBitmap = ::SelectObject(mem, bitmap);
  RECT all = {0, 0, cx, cy};
  ::FillRect(mem, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::ImageList_Draw(hImages, nIndex, mem, 0, 0, ILD_TRANSPARENT);
  COLORREF oldBk = ::SetBkColor(hdc, RGB(255, 255, 255));
  COLORREF oldText = ::SetTextColor(hdc, RGB(0, 0, 0));
  // 0xB8074A: where the mask is black the brush shows, elsewhere the target stays.
  const DWORD kRop = 0x00B8074A;
  const CTkToolkitData& data = ToolkitData();
  struct Pass {
    COLORREF colour;
    int dx;
  };
  for (const Pass& pass : {Pass{data.m_clrHighlight, 1}, Pass{data.m_clrShadow, 0}}) {
    HBRUSH brush = ::CreateSolidBrush(pass.colour);
    HGDIOBJ oldBrush = ::SelectObject(hdc, brush);
    ::BitBlt(hdc, x + pass.dx, y + pass.dx, cx, cy, mem, 0, 0, kRop);
    ::SelectObject(hdc, oldBrush);
    ::DeleteObject(brush);
  }
  ::SetBkColor(hdc, oldBk);
  ::SetTextColor(hdc, oldText);
  ::SelectObject(mem, oldBitmap);
  ::DeleteObject(bitmap);
  ::DeleteDC(mem);
}

void FillDitheredRect(HDC hdc, const RECT& rect) {
  const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP bits = ::CreateBitmap(8, 8, 1, 1, pattern);
  if (!bits) return;
  HBRUSH brush = ::CreatePatternBrush(bits);
  ::DeleteObject(bits);
  if (!brush) return;
  // A monochrome pattern takes the text colour for 0 bits and the background colour for 1 bits.
  COLORREF oldText = ::SetTextColor(hdc, ToolkitData().m_clrFace);
  COLORREF oldBk = ::SetBkColor(hdc, ToolkitData().m_clrHighlight);
  HGDIOBJ oldBrush = ::SelectObject(hdc, brush);
  ::PatBlt(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, PATCOPY);
  ::SelectObject(hdc, oldBrush);
  ::SetTextColor(hdc, oldText);
  ::SetBkColor(hdc, oldBk);
  ::DeleteObject(brush);
}

namespace {

struct FontScale {
  int avgWidth;
  int height;
};

FontScale MeasureFont(HWND hwnd, HFONT font) {
  HDC dc = ::GetDC(hwnd);
  HGDIOBJ old = ::SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
  TEXTMETRICA tm = {};
  ::GetTextMetricsA(dc, &tm);
  ::SelectObject(dc, old);
  ::ReleaseDC(hwnd, dc);
  return {tm.tmAveCharWidth, tm.tmHeight + tm.tmExternalLeading};
}

int Scale(int v, int num, int den) { return den ? ::MulDiv(v, num, den) : v; }

}  // namespace

void ScaleWindowToFont(CWnd* pWnd, HFONT hFont) {
  if (!pWnd || !pWnd->m_hWnd || !hFont) return;
  HWND hwnd = pWnd->m_hWnd;
  FontScale oldScale = MeasureFont(hwnd, reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0)));
  FontScale newScale = MeasureFont(hwnd, hFont);
  auto sx = [&](int v) { return Scale(v, newScale.avgWidth, oldScale.avgWidth); };
  auto sy = [&](int v) { return Scale(v, newScale.height, oldScale.height); };

  // The client area grows or shrinks about its centre.
  RECT window, client;
  ::GetWindowRect(hwnd, &window);
  ::GetClientRect(hwnd, &client);
  int dx = sx(client.right) - client.right, dy = sy(client.bottom) - client.bottom;
  RECT placed = window;
  HWND parent = ::GetParent(hwnd);
  if (parent && (::GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD))
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&placed), 2);
  ::SetWindowPos(hwnd, nullptr, placed.left - dx / 2, placed.top - dy / 2,
                 window.right - window.left + dx, window.bottom - window.top + dy,
                 SWP_NOZORDER | SWP_NOACTIVATE);

  for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    char cls[16] = {};
    ::GetClassNameA(child, cls, sizeof cls);
    // A combo box's window is only its closed part; its list's height must scale too.
    if (lstrcmpiA(cls, "COMBOBOX") == 0)
      ::SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    else
      ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<LPPOINT>(&r), 2);
    ::SetWindowPos(child, nullptr, sx(r.left), sy(r.top), sx(r.right) - sx(r.left),
                   sy(r.bottom) - sy(r.top), SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
  }
}

HWND FindChildAtPoint(HWND hWnd, int x, int y) {
  POINT pt = {x, y};
  ::ClientToScreen(hWnd, &pt);
  for (HWND child = ::GetWindow(hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child) || ::GetDlgCtrlID(child) == 0xFFFF) continue;
    RECT r;
    ::GetWindowRect(child, &r);
    if (::PtInRect(&r, pt)) return child;
  }
  return nullptr;
}
