#include "framework/gdi/Dc.h"
#include "framework/gdi/GdiObject.h"

CPalette* PASCAL CPalette::FromHandle(HPALETTE hPalette) {
  return static_cast<CPalette*>(CGdiObject::FromHandle(hPalette));
}

BOOL CPalette::CreatePalette(LPLOGPALETTE lpLogPalette) {
  return AttachNew(::CreatePalette(lpLogPalette));
}

BOOL CPalette::CreateHalftonePalette(CDC* pDC) {
  if (pDC == nullptr) return FALSE;
  return AttachNew(::CreateHalftonePalette(pDC->m_hDC));
}

int CPalette::GetEntryCount() const {
  WORD nEntries = 0;
  if (m_hObject == nullptr || GetObject(sizeof(WORD), &nEntries) == 0) return 0;
  return nEntries;
}

UINT CPalette::GetPaletteEntries(UINT nStartIndex, UINT nNumEntries,
                                 LPPALETTEENTRY lpPaletteColors) const {
  return ::GetPaletteEntries(*this, nStartIndex, nNumEntries, lpPaletteColors);
}

UINT CPalette::SetPaletteEntries(UINT nStartIndex, UINT nNumEntries,
                                 LPPALETTEENTRY lpPaletteColors) {
  return ::SetPaletteEntries(*this, nStartIndex, nNumEntries, lpPaletteColors);
}

void CPalette::AnimatePalette(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) {
  ::AnimatePalette(*this, nStartIndex, nNumEntries, lpPaletteColors);
}

UINT CPalette::GetNearestPaletteIndex(COLORREF crColor) const {
  return ::GetNearestPaletteIndex(*this, crColor);
}

BOOL CPalette::ResizePalette(UINT nNumEntries) {
  return ::ResizePalette(*this, nNumEntries);
}
