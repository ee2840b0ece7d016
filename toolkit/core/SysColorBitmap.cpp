#include "toolkit/core/SysColorBitmap.h"

#include <cstring>
#include <vector>

const TkSysColorMapEntry kTkSysColorMap[4] = {
    {RGB(0x00, 0x00, 0x00), COLOR_BTNTEXT},
    {RGB(0x80, 0x80, 0x80), COLOR_BTNSHADOW},
    {RGB(0xC0, 0xC0, 0xC0), COLOR_BTNFACE},
    {RGB(0xFF, 0xFF, 0xFF), COLOR_BTNHIGHLIGHT},
};

namespace {

// The colour a map row turns into: the system colour, or in monochrome mode white for every row
// but black's.
COLORREF TargetOf(int row, BOOL bMono) {
  if (bMono) return row == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255);
  return ::GetSysColor(kTkSysColorMap[row].sysColor);
}

// A colour-table entry (blue, green, red) for a COLORREF (red, green, blue).
RGBQUAD ToQuad(COLORREF c) { return RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0}; }

bool SameQuad(const RGBQUAD& q, COLORREF c) {
  return q.rgbRed == GetRValue(c) && q.rgbGreen == GetGValue(c) && q.rgbBlue == GetBValue(c);
}

// Everything made along the way, freed on every way out.
struct Work {
  HDC screen = nullptr, mem = nullptr, maskDc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr;
  ~Work() {
    if (maskDc) ::DeleteDC(maskDc);
    if (mem) {
      if (oldBitmap) ::SelectObject(mem, oldBitmap);
      ::DeleteDC(mem);
    }
    if (bitmap) ::DeleteObject(bitmap);
    if (screen) ::ReleaseDC(nullptr, screen);
  }
};

// How the memory DC renders each source colour (a true-colour bitmap is matched by what the
// screen makes of the colours, not by the colours themselves).
bool RenderedSources(HDC mem, COLORREF rendered[4]) {
  struct {
    BITMAPINFOHEADER header;
  } info = {};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = 40;
  info.header.biHeight = 1;
  info.header.biPlanes = 1;
  info.header.biBitCount = 24;
  info.header.biCompression = BI_RGB;
  BYTE pixels[40 * 3] = {};
  for (int i = 0; i < 4; ++i) {
    COLORREF c = kTkSysColorMap[i].from;
    pixels[i * 3] = GetBValue(c);
    pixels[i * 3 + 1] = GetGValue(c);
    pixels[i * 3 + 2] = GetRValue(c);
  }
  if (::StretchDIBits(mem, 0, 0, 40, 1, 0, 0, 40, 1, pixels,
                      reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY) == 0)
    return false;
  for (int i = 0; i < 4; ++i) rendered[i] = ::GetPixel(mem, i, 0);
  return true;
}

// The one-bit mask of the pixels that show a rendered colour.
HBITMAP MaskOf(Work& w, int cx, int cy, COLORREF colour) {
  HBITMAP mask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
  if (!mask) return nullptr;
  HGDIOBJ old = ::SelectObject(w.maskDc, mask);
  ::SetBkColor(w.mem, colour);
  BOOL ok = ::BitBlt(w.maskDc, 0, 0, cx, cy, w.mem, 0, 0, SRCCOPY);
  ::SelectObject(w.maskDc, old);
  if (!ok) {
    ::DeleteObject(mask);
    return nullptr;
  }
  return mask;
}

// Clears the masked pixels, then paints them in the new colour.
bool PaintThroughMask(Work& w, int cx, int cy, HBITMAP mask, COLORREF to) {
  HGDIOBJ old = ::SelectObject(w.maskDc, mask);
  // A mask bit of 1 (the colour's pixels) comes out in the background colour, 0 in the text
  // colour: black over the colour's pixels clears them and white keeps the rest.
  ::SetBkColor(w.mem, RGB(0, 0, 0));
  ::SetTextColor(w.mem, RGB(255, 255, 255));
  bool ok = ::BitBlt(w.mem, 0, 0, cx, cy, w.maskDc, 0, 0, SRCAND) != FALSE;
  if (ok && to != RGB(0, 0, 0)) {
    ::SetBkColor(w.mem, to);
    ::SetTextColor(w.mem, RGB(0, 0, 0));
    ok = ::BitBlt(w.mem, 0, 0, cx, cy, w.maskDc, 0, 0, SRCPAINT) != FALSE;
  }
  ::SelectObject(w.maskDc, old);
  return ok;
}

}  // namespace

HBITMAP LoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono) {
  if (!hInst || !hRsrc) return nullptr;
  HGLOBAL global = ::LoadResource(hInst, hRsrc);
  const auto* header = global ? static_cast<const BITMAPINFOHEADER*>(::LockResource(global)) : nullptr;
  DWORD size = ::SizeofResource(hInst, hRsrc);
  if (!header || size < sizeof(BITMAPINFOHEADER) || header->biSize < sizeof(BITMAPINFOHEADER) ||
      header->biSize > size)
    return nullptr;
  int colours = header->biBitCount <= 8 ? (1 << header->biBitCount) : 0;
  if (header->biClrUsed && colours) colours = static_cast<int>(header->biClrUsed) < colours
                                                  ? static_cast<int>(header->biClrUsed) : colours;
  size_t tableBytes = static_cast<size_t>(colours) * sizeof(RGBQUAD);
  // A resource too short for its own header and table is damaged.
  if (header->biSize + tableBytes > size) return nullptr;
  int cx = header->biWidth, cy = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  if (cx <= 0 || cy <= 0) return nullptr;

  std::vector<BYTE> info(header->biSize + tableBytes);
  std::memcpy(info.data(), header, info.size());
  auto* table = reinterpret_cast<RGBQUAD*>(info.data() + header->biSize);
  for (int i = 0; i < colours; ++i) {
    for (int row = 0; row < 4; ++row) {
      if (!SameQuad(table[i], kTkSysColorMap[row].from)) continue;
      table[i] = ToQuad(TargetOf(row, bMono));
      break;
    }
  }
  const BYTE* bits = reinterpret_cast<const BYTE*>(header) + header->biSize + tableBytes;

  Work w;
  w.screen = ::GetDC(nullptr);
  w.mem = w.screen ? ::CreateCompatibleDC(w.screen) : nullptr;
  w.bitmap = w.screen ? ::CreateCompatibleBitmap(w.screen, cx, cy) : nullptr;
  if (!w.mem || !w.bitmap) return nullptr;
  w.oldBitmap = ::SelectObject(w.mem, w.bitmap);

  COLORREF rendered[4] = {};
  if (!colours && !RenderedSources(w.mem, rendered)) return nullptr;
  if (::StretchDIBits(w.mem, 0, 0, cx, cy, 0, 0, cx, cy, bits,
                      reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY) == 0)
    return nullptr;
  if (!colours) {
    // Every mask is taken from the bitmap as loaded, so that a colour just painted in is never
    // taken for a source colour of a later row.
    w.maskDc = ::CreateCompatibleDC(w.screen);
    if (!w.maskDc) return nullptr;
    HBITMAP masks[4] = {};
    bool ok = true;
    for (int row = 0; row < 4 && ok; ++row) {
      if (rendered[row] == TargetOf(row, bMono)) continue;
      masks[row] = MaskOf(w, cx, cy, rendered[row]);
      ok = masks[row] != nullptr;
    }
    for (int row = 0; row < 4 && ok; ++row)
      if (masks[row]) ok = PaintThroughMask(w, cx, cy, masks[row], TargetOf(row, bMono));
    for (HBITMAP mask : masks)
      if (mask) ::DeleteObject(mask);
    if (!ok) return nullptr;
  }
  ::SelectObject(w.mem, w.oldBitmap);
  w.oldBitmap = nullptr;
  HBITMAP result = w.bitmap;
  w.bitmap = nullptr;
  return result;
}

// The program's image strips are drawn on magenta, the colour their own image lists take as
// transparent; the system-colour loader knows only the four greys. Magenta becomes the face
// colour here, so that the one mask on the face colour clears either background.
void TkMagentaToFace(HBITMAP bitmap, COLORREF face) {
  BITMAP bm = {};
  if (!::GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = bm.bmWidth;
  info.bmiHeader.biHeight = -bm.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
  HDC screen = ::GetDC(nullptr);
  if (::GetDIBits(screen, bitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS) ==
      bm.bmHeight) {
    // Pixels are blue, green, red from the low byte up.
    const DWORD magenta = 0xFF00FF;
    const DWORD target = (static_cast<DWORD>(GetRValue(face)) << 16) |
                         (static_cast<DWORD>(GetGValue(face)) << 8) | GetBValue(face);
    bool changed = false;
    for (DWORD& pixel : pixels) {
      if ((pixel & 0xFFFFFF) != magenta) continue;
      pixel = target;
      changed = true;
    }
    if (changed)
      ::SetDIBits(screen, bitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
  }
  ::ReleaseDC(nullptr, screen);
}
