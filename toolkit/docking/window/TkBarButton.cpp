#include "toolkit/docking/window/TkBarButton.h"

#include <algorithm>

#include "framework/gdi/Dc.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/docking/window/TkDockWindow.h"

IMPLEMENT_DYNAMIC(CTkBarButton, CWnd)

CTkBarButton::CTkBarButton(CTkDockWindow* pDockWnd) : m_pDockWnd(pDockWnd) {}

CTkBarButton::~CTkBarButton() {
  // The icons are the docking window's, which destroys them itself: the button lets go of them
  // first, so that neither this nor the flat button's destructor can destroy a glyph twice.
  m_hIcon = m_hPushedIcon = nullptr;
  CleanUpImages();
}

BOOL CTkBarButton::SetIcon(CSize size, HICON hIcon, HICON hIconPushed, BOOL bRedraw) {
  m_hIcon = hIcon;
  m_hPushedIcon = hIconPushed;
  m_sizeImage = size;
  if (bRedraw && m_hWnd) Invalidate();
  return TRUE;
}

void CTkBarButton::SetBitmaps(HBITMAP hBitmap, HBITMAP hDisabled, CSize size, BOOL bRedraw) {
  CleanUpImages();
  m_hBitmap = hBitmap;
  m_hDisabledBitmap = hDisabled;
  m_sizeImage = size;
  if (bRedraw && m_hWnd) Invalidate();
}

void CTkBarButton::CleanUpImages() {
  for (HBITMAP* bitmap : {&m_hBitmap, &m_hDisabledBitmap}) {
    if (*bitmap) ::DeleteObject(*bitmap);
    *bitmap = nullptr;
  }
}

COLORREF CTkBarButton::FaceColor() const {
  const CTkToolkitData& data = ToolkitData();
  if (data.m_bFlatLook && m_pDockWnd && m_pDockWnd->IsActive()) return data.m_clrActiveCaption;
  return data.m_clrFace;
}

void CTkBarButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  CRect rect(lpDIS->rcItem);
  const CTkToolkitData& data = ToolkitData();
  BOOL selected = (lpDIS->itemState & ODS_SELECTED) != 0;
  int saved = pDC->SaveDC();
  COLORREF face = FaceColor();
  pDC->FillSolidRect(&rect, face);
  ::SetBkColor(lpDIS->hDC, face);
  if (m_dwXStyle & TKBB_FLAT) {
    if (m_bHot || selected)
      pDC->Draw3dRect(&rect, selected ? data.m_clrShadow : data.m_clrHighlight,
                      selected ? data.m_clrHighlight : data.m_clrShadow);
  } else if (m_dwXStyle & TKBB_THIN3D) {
    pDC->Draw3dRect(&rect, selected ? data.m_clrShadow : data.m_clrHighlight,
                    selected ? data.m_clrHighlight : data.m_clrShadow);
  } else {
    pDC->Draw3dRect(&rect, selected ? data.m_clrDarkShadow : data.m_clrHighlight,
                    selected ? data.m_clrHighlight : data.m_clrDarkShadow);
    CRect inner = rect;
    inner.DeflateRect(1, 1);
    pDC->Draw3dRect(&inner, selected ? data.m_clrShadow : face,
                    selected ? face : data.m_clrShadow);
  }
  ::SetBkMode(lpDIS->hDC, TRANSPARENT);
  DrawIcon(lpDIS->hDC, lpDIS->itemState, rect);
  if (!m_hIcon && (m_hBitmap || m_hDisabledBitmap)) {
    HBITMAP bitmap = (lpDIS->itemState & ODS_DISABLED) && m_hDisabledBitmap ? m_hDisabledBitmap
                                                                           : m_hBitmap;
    int x = rect.left + (rect.Width() - m_sizeImage.cx) / 2;
    int y = rect.top + (rect.Height() - m_sizeImage.cy) / 2;
    ::DrawStateA(lpDIS->hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, x, y,
                 m_sizeImage.cx, m_sizeImage.cy,
                 DST_BITMAP | ((lpDIS->itemState & ODS_DISABLED) ? DSS_DISABLED : 0));
  }
  pDC->RestoreDC(saved);
}

void CTkBarButton::DrawIcon(HDC hdc, UINT nState, const CRect& rect) {
  if (!m_hIcon) return;
  BOOL selected = (nState & ODS_SELECTED) != 0;
  BOOL disabled = (nState & ODS_DISABLED) != 0;
  HICON icon = selected && m_hPushedIcon ? m_hPushedIcon : m_hIcon;
  int x = rect.left + std::max(0, (rect.Width() - static_cast<int>(m_sizeImage.cx)) / 2);
  int y = rect.top + std::max(0, (rect.Height() - static_cast<int>(m_sizeImage.cy)) / 2);
  // Without a pushed icon the press shows as the glyph moving a pixel down and right.
  if (selected && !m_hPushedIcon) {
    ++x;
    ++y;
  }
  const CTkToolkitData& data = ToolkitData();
  UINT flags = DST_ICON;
  HBRUSH brush = nullptr;
  if (data.m_bFlatLook && m_pDockWnd && m_pDockWnd->IsActive() && !disabled) {
    // On the active caption's colour the glyph is white.
    flags |= DSS_MONO;
    brush = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  } else if (disabled) {
    flags |= DSS_DISABLED;
  }
  ::DrawStateA(hdc, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y,
               m_sizeImage.cx, m_sizeImage.cy, flags);
}
