#include "framework/gdi/GdiObject.h"

CBrush::CBrush(COLORREF crColor) {
  CreateSolidBrush(crColor);
}

CBrush::CBrush(int nIndex, COLORREF crColor) {
  CreateHatchBrush(nIndex, crColor);
}

CBrush::CBrush(CBitmap* pBitmap) {
  CreatePatternBrush(pBitmap);
}

CBrush* PASCAL CBrush::FromHandle(HBRUSH hBrush) {
  return static_cast<CBrush*>(CGdiObject::FromHandle(hBrush));
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
  return AttachNew(::CreateSolidBrush(crColor));
}

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) {
  return AttachNew(::CreateHatchBrush(nIndex, crColor));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) {
  return AttachNew(::CreateBrushIndirect(lpLogBrush));
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
  if (pBitmap == nullptr || pBitmap->m_hObject == nullptr) return FALSE;
  return AttachNew(::CreatePatternBrush(*pBitmap));
}

BOOL CBrush::CreateDIBPatternBrush(const void* lpPackedDIB, UINT nUsage) {
  return AttachNew(::CreateDIBPatternBrushPt(lpPackedDIB, nUsage));
}

BOOL CBrush::CreateSysColorBrush(int nIndex) {
  return AttachShared(::GetSysColorBrush(nIndex));
}

int CBrush::GetLogBrush(LOGBRUSH* pLogBrush) const {
  return GetObject(sizeof(LOGBRUSH), pLogBrush);
}
