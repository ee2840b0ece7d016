#include "ui/sheets/options/RescaleToFont.h"

namespace {

int Scale(int value, int to, int from) { return from ? MulDiv(value, to, from) : value; }

// The children of the window itself, not their own children (a combo box's edit, say).
BOOL CALLBACK RescaleChild(HWND child, LPARAM lParam);

struct Ratio {
  HWND parent;
  HFONT font, oldFont;
  SIZE to, from;
};

BOOL CALLBACK RescaleChild(HWND child, LPARAM lParam) {
  const Ratio& r = *reinterpret_cast<const Ratio*>(lParam);
  if (::GetParent(child) != r.parent) return TRUE;
  // A child in a font of its own (a bold sample, say) keeps it; it is only moved.
  HFONT own = reinterpret_cast<HFONT>(::SendMessageA(child, WM_GETFONT, 0, 0));
  if (!own || own == r.oldFont) ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(r.font), FALSE);
  RECT rect = {};
  char className[32] = {};
  ::GetClassNameA(child, className, sizeof className);
  // A combo box's height is the height of its list dropped down, which is what the template gave.
  if (lstrcmpiA(className, "COMBOBOX") == 0) {
    ::SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rect));
  } else {
    ::GetWindowRect(child, &rect);
  }
  ::MapWindowPoints(nullptr, r.parent, reinterpret_cast<POINT*>(&rect), 2);
  rect.left = Scale(rect.left, r.to.cx, r.from.cx);
  rect.right = Scale(rect.right, r.to.cx, r.from.cx);
  rect.top = Scale(rect.top, r.to.cy, r.from.cy);
  rect.bottom = Scale(rect.bottom, r.to.cy, r.from.cy);
  ::MoveWindow(child, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  return TRUE;
}

}  // namespace

SIZE MeasureFont(HFONT font) {
  SIZE size = {0, 0};
  HDC dc = ::GetDC(nullptr);
  if (!dc) return size;
  HGDIOBJ old = ::SelectObject(dc, font ? font : ::GetStockObject(SYSTEM_FONT));
  TEXTMETRICA tm = {};
  if (::GetTextMetricsA(dc, &tm)) {
    size.cx = tm.tmAveCharWidth;
    size.cy = tm.tmHeight + tm.tmExternalLeading;
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  return size;
}

void RescaleToFont(HWND window, HFONT font, RescalePlacement placement) {
  if (!window || !font) return;
  HFONT oldFont = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
  Ratio ratio = {window, font, oldFont, MeasureFont(font), MeasureFont(oldFont)};
  if (ratio.from.cx <= 0 || ratio.from.cy <= 0 || ratio.to.cx <= 0 || ratio.to.cy <= 0) return;
  if (placement != RescalePlacement::None) {
    RECT outer = {}, client = {};
    ::GetWindowRect(window, &outer);
    ::GetClientRect(window, &client);
    int borderX = (outer.right - outer.left) - client.right;
    int borderY = (outer.bottom - outer.top) - client.bottom;
    int width = Scale(client.right, ratio.to.cx, ratio.from.cx) + borderX;
    int height = Scale(client.bottom, ratio.to.cy, ratio.from.cy) + borderY;
    POINT corner = {outer.left, outer.top};
    if (placement == RescalePlacement::Centred) {
      corner.x = (outer.left + outer.right) / 2 - width / 2;
      corner.y = (outer.top + outer.bottom) / 2 - height / 2;
    }
    if (HWND parent = ::GetParent(window); parent && (::GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD))
      ::ScreenToClient(parent, &corner);
    ::SetWindowPos(window, nullptr, corner.x, corner.y, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ::EnumChildWindows(window, RescaleChild, reinterpret_cast<LPARAM>(&ratio));
  ::InvalidateRect(window, nullptr, TRUE);
}
