#include "toolkit/gdi/TkMemDC.h"

IMPLEMENT_DYNAMIC(CTkMemDC, CDC)

CTkMemDC::CTkMemDC(CDC* pDC, const CRect& rect, COLORREF clrFill) : m_pDC(pDC), m_rect(rect) {
  if (m_rect.IsRectEmpty()) pDC->GetClipBox(&m_rect);
  if (!CreateCompatibleDC(pDC)) return;
  SetMapMode(pDC->GetMapMode());
  // Without its picture the context would copy whatever it holds over the window.
  if (!m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height())) return;
  m_hOldBitmap = SelectObject(m_bitmap.m_hObject);
  if (clrFill != 0xFFFFFFFF) FillSolidRect(0, 0, m_rect.Width(), m_rect.Height(), clrFill);
  m_bValid = TRUE;
}

CTkMemDC::~CTkMemDC() {
  if (m_bValid) {
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, 0, 0, SRCCOPY);
  }
  if (m_hOldBitmap) {
    SelectObject(m_hOldBitmap);
    m_bitmap.DeleteObject();
  }
  DeleteDC();
}
