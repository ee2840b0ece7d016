// CTkBarMemDC: an off-screen device context for the bars' painting: drawing goes into a bitmap
// over the rectangle (filled with a colour first) and is copied to the target in one go when the
// object goes, so that bars never flicker. The toolkit's general memory DC takes its place once
// it joins the toolkit.
#pragma once
#include <windows.h>

class CTkBarMemDC {
 public:
  CTkBarMemDC(HDC hTarget, const RECT& rect, COLORREF fill);
  ~CTkBarMemDC();
  CTkBarMemDC(const CTkBarMemDC&) = delete;
  CTkBarMemDC& operator=(const CTkBarMemDC&) = delete;

  // The DC to draw into: the memory one, or the target itself when none could be made.
  HDC GetSafeHdc() const { return m_hMem ? m_hMem : m_hTarget; }

 private:
  HDC m_hTarget;
  RECT m_rect;
  HDC m_hMem = nullptr;
  HBITMAP m_hBitmap = nullptr;
  HGDIOBJ m_hOldBitmap = nullptr;
};
