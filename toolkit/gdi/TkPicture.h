// CTkPicture: a bitmap kept selected into a memory device context of its own — what a control
// draws once and copies on every paint (the colour hexagon, the hue field, the picker popup).
#pragma once
#include <windows.h>

class CTkPicture {
 public:
  CTkPicture() = default;
  ~CTkPicture() { Free(); }
  CTkPicture(const CTkPicture&) = delete;
  CTkPicture& operator=(const CTkPicture&) = delete;

  // Takes the bitmap (it goes with the picture) into a new context compatible with hdc; false,
  // the bitmap freed, when no context can be made.
  bool Attach(HDC hdc, HBITMAP bitmap) {
    Free();
    if (!bitmap) return false;
    m_hDC = ::CreateCompatibleDC(hdc);
    if (!m_hDC) {
      ::DeleteObject(bitmap);
      return false;
    }
    m_hBitmap = bitmap;
    m_hOld = ::SelectObject(m_hDC, m_hBitmap);
    return true;
  }
  void Free() {
    if (m_hDC) {
      ::SelectObject(m_hDC, m_hOld);
      ::DeleteDC(m_hDC);
    }
    if (m_hBitmap) ::DeleteObject(m_hBitmap);
    m_hDC = nullptr;
    m_hBitmap = nullptr;
    m_hOld = nullptr;
  }
  bool IsReady() const { return m_hDC != nullptr; }
  HDC GetDC() const { return m_hDC; }

 private:
  HDC m_hDC = nullptr;
  HBITMAP m_hBitmap = nullptr;
  HGDIOBJ m_hOld = nullptr;
};
