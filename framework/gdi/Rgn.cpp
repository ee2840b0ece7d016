#include "framework/gdi/GdiObject.h"

CRgn* PASCAL CRgn::FromHandle(HRGN hRgn) {
  return static_cast<CRgn*>(CGdiObject::FromHandle(hRgn));
}

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) {
  return AttachNew(::CreateRectRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) {
  return AttachNew(::CreateRectRgnIndirect(lpRect));
}

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) {
  return AttachNew(::CreateEllipticRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT lpRect) {
  return AttachNew(::CreateEllipticRgnIndirect(lpRect));
}

BOOL CRgn::CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode) {
  return AttachNew(::CreatePolygonRgn(lpPoints, nCount, nMode));
}

BOOL CRgn::CreatePolyPolygonRgn(const POINT* lpPoints, const INT* lpPolyCounts, int nCount,
                                int nPolyFillMode) {
  return AttachNew(::CreatePolyPolygonRgn(lpPoints, lpPolyCounts, nCount, nPolyFillMode));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
  return AttachNew(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}

BOOL CRgn::CreateFromData(const XFORM* lpXForm, int nCount, const RGNDATA* pRgnData) {
  return AttachNew(::ExtCreateRegion(lpXForm, static_cast<DWORD>(nCount), pRgnData));
}

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2) {
  ::SetRectRgn(*this, x1, y1, x2, y2);
}

void CRgn::SetRectRgn(LPCRECT lpRect) {
  ::SetRectRgn(*this, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
  return ::CombineRgn(*this, pRgn1 != nullptr ? HRGN(*pRgn1) : nullptr,
                      pRgn2 != nullptr ? HRGN(*pRgn2) : nullptr, nCombineMode);
}

int CRgn::CopyRgn(const CRgn* pRgnSrc) {
  if (pRgnSrc == nullptr) return ERROR;
  return ::CombineRgn(*this, *pRgnSrc, nullptr, RGN_COPY);
}

BOOL CRgn::EqualRgn(const CRgn* pRgn) const {
  return pRgn != nullptr && ::EqualRgn(*this, *pRgn);
}

int CRgn::OffsetRgn(int x, int y) {
  return ::OffsetRgn(*this, x, y);
}

int CRgn::OffsetRgn(POINT point) {
  return OffsetRgn(point.x, point.y);
}

int CRgn::GetRgnBox(LPRECT lpRect) const {
  return ::GetRgnBox(*this, lpRect);
}

BOOL CRgn::PtInRegion(int x, int y) const {
  return ::PtInRegion(*this, x, y);
}

BOOL CRgn::PtInRegion(POINT point) const {
  return PtInRegion(point.x, point.y);
}

BOOL CRgn::RectInRegion(LPCRECT lpRect) const {
  return ::RectInRegion(*this, lpRect);
}

int CRgn::GetRegionData(LPRGNDATA lpRgnData, int nCount) const {
  return static_cast<int>(::GetRegionData(*this, static_cast<DWORD>(nCount), lpRgnData));
}
