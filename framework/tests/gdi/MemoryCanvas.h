// A memory device context drawing into a 32-bit bitmap of known size, cleared to white, whose
// pixels the tests read back.
#pragma once
#include "framework/gdi/Gdi.h"

class MemoryCanvas {
 public:
  MemoryCanvas(int cx, int cy) {
    m_dc.CreateCompatibleDC(nullptr);
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    m_bitmap.Attach(CreateDIBSection(m_dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_old = m_dc.SelectObject(&m_bitmap);
    m_dc.FillSolidRect(0, 0, cx, cy, RGB(255, 255, 255));
  }
  ~MemoryCanvas() { m_dc.SelectObject(m_old); }

  CDC& dc() { return m_dc; }
  COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }

 private:
  CDC m_dc;
  CBitmap m_bitmap;
  CBitmap* m_old = nullptr;
};
