// Shared by the popup tests: a DIB section to draw into and read back.
#pragma once
#include <windows.h>

// A 32-bit DIB section of one colour.
class TestDib {
 public:
  TestDib(int cx, int cy, COLORREF fill) : cx_(cx), cy_(cy) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = cx;
    bi.bmiHeader.biHeight = -cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    dc_ = ::CreateCompatibleDC(nullptr);
    bitmap_ = ::CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                 nullptr, 0);
    old_ = ::SelectObject(dc_, bitmap_);
    HBRUSH brush = ::CreateSolidBrush(fill);
    RECT all = {0, 0, cx, cy};
    ::FillRect(dc_, &all, brush);
    ::DeleteObject(brush);
  }
  ~TestDib() {
    ::SelectObject(dc_, old_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
  }
  TestDib(const TestDib&) = delete;
  TestDib& operator=(const TestDib&) = delete;
  HDC dc() const { return dc_; }
  // Straight from the bits, not through the DC, so a fault in GetPixel cannot hide one here.
  COLORREF At(int x, int y) const {
    ::GdiFlush();
    DWORD v = bits_[y * cx_ + x];
    return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
  }
  // Whether any pixel has the colour.
  bool Holds(COLORREF color) const {
    for (int y = 0; y < cy_; ++y)
      for (int x = 0; x < cx_; ++x)
        if (At(x, y) == color) return true;
    return false;
  }

 private:
  int cx_, cy_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  DWORD* bits_ = nullptr;
};
