#include "toolkit/bars/TkBarMemDC.h"

CTkBarMemDC::CTkBarMemDC(HDC hTarget, const RECT& rect, COLORREF fill)
    : m_hTarget(hTarget), m_rect(rect) {
  int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
  if (cx > 0 && cy > 0) {
    m_hMem = ::CreateCompatibleDC(hTarget);
    m_hBitmap = m_hMem ? ::CreateCompatibleBitmap(hTarget, cx, cy) : nullptr;
    if (!m_hBitmap && m_hMem) {
      ::DeleteDC(m_hMem);
      m_hMem = nullptr;
    }
  }
  if (m_hMem) {
    m_hOldBitmap = ::SelectObject(m_hMem, m_hBitmap);
    // The memory DC draws in the target's co-ordinates.
    ::SetWindowOrgEx(m_hMem, rect.left, rect.top, nullptr);
  }
  if (fill != static_cast<COLORREF>(-1)) {
    HBRUSH brush = ::CreateSolidBrush(fill);
    ::FillRect(GetSafeHdc(), &m_rect, brush);
    ::DeleteObject(brush);
  }
}

CTkBarMemDC::~CTkBarMemDC() {
  if (!m_hMem) return;
  ::BitBlt(m_hTarget, m_rect.left, m_rect.top, m_rect.right - m_rect.left,
           m_rect.bottom - m_rect.top, m_hMem, m_rect.left, m_rect.top, SRCCOPY);
  ::SelectObject(m_hMem, m_hOldBitmap);
  ::DeleteObject(m_hBitmap);
  ::DeleteDC(m_hMem);
}
