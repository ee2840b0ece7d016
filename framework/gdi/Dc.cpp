// CDC's life, the objects selected into it, its attributes, mapping and clipping.
#include "framework/gdi/Dc.h"

#include <memory>

IMPLEMENT_DYNAMIC(CDC, CObject)

namespace {

// Never destroyed: wrappers that live until the process ends still find it.
CPermanentHandleMap<CDC, HDC>& Owners() {
  static auto* map = new CPermanentHandleMap<CDC, HDC>;
  return *map;
}

CTemporaryHandleMap<CDC, HDC>& Temporaries() {
  return CTemporaryHandleMap<CDC, HDC>::ForThisThread();
}

}  // namespace

CDC::~CDC() {
  DeleteDC();
}

CDC* PASCAL CDC::FromHandle(HDC hDC) {
  if (hDC == nullptr) return nullptr;
  if (CDC* pDC = Owners().Lookup(hDC)) return pDC;
  if (CDC* pDC = Temporaries().Lookup(hDC)) return pDC;
  auto pNew = std::make_unique<CDC>();
  pNew->m_hDC = pNew->m_hAttribDC = hDC;
  return Temporaries().Add(hDC, std::move(pNew));
}

void PASCAL CDC::DeleteTempMap() {
  Temporaries().DeleteAll();
}

BOOL CDC::Attach(HDC hDC) {
  if (hDC == nullptr) return FALSE;
  if (hDC == m_hDC) return TRUE;
  if (!Owners().Enter(hDC, this)) return FALSE;  // never two owners of one handle
  DeleteDC();
  m_hDC = m_hAttribDC = hDC;
  return TRUE;
}

HDC CDC::Detach() {
  HDC hDC = m_hDC;
  if (hDC != nullptr) Owners().Remove(hDC, this);
  ReleaseAttribDC();
  ReleaseOutputDC();
  return hDC;
}

void CDC::SetAttribDC(HDC hDC) {
  m_hAttribDC = hDC;
}

void CDC::SetOutputDC(HDC hDC) {
  m_hDC = hDC;
}

void CDC::ReleaseAttribDC() {
  m_hAttribDC = nullptr;
}

void CDC::ReleaseOutputDC() {
  m_hDC = nullptr;
}

BOOL CDC::CreateDC(LPCSTR lpszDriverName, LPCSTR lpszDeviceName, LPCSTR lpszOutput,
                   const void* lpInitData) {
  HDC hDC = ::CreateDCA(lpszDriverName, lpszDeviceName, lpszOutput,
                        static_cast<const DEVMODEA*>(lpInitData));
  return hDC != nullptr && Attach(hDC);
}

BOOL CDC::CreateIC(LPCSTR lpszDriverName, LPCSTR lpszDeviceName, LPCSTR lpszOutput,
                   const void* lpInitData) {
  HDC hDC = ::CreateICA(lpszDriverName, lpszDeviceName, lpszOutput,
                        static_cast<const DEVMODEA*>(lpInitData));
  return hDC != nullptr && Attach(hDC);
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
  HDC hDC = ::CreateCompatibleDC(pDC != nullptr ? pDC->m_hDC : nullptr);
  return hDC != nullptr && Attach(hDC);
}

BOOL CDC::DeleteDC() {
  if (m_hDC == nullptr) return FALSE;
  return ::DeleteDC(Detach());
}

int CDC::SaveDC() {
  return ::SaveDC(m_hDC);
}

BOOL CDC::RestoreDC(int nSavedDC) {
  return ::RestoreDC(m_hDC, nSavedDC);
}

int CDC::GetDeviceCaps(int nIndex) const {
  return ::GetDeviceCaps(m_hAttribDC, nIndex);
}

CPoint CDC::GetBrushOrg() const {
  CPoint point;
  ::GetBrushOrgEx(m_hDC, &point);
  return point;
}

CPoint CDC::SetBrushOrg(int x, int y) {
  CPoint point;
  ::SetBrushOrgEx(m_hDC, x, y, &point);
  return point;
}

CPoint CDC::SetBrushOrg(POINT point) {
  return SetBrushOrg(point.x, point.y);
}

HWND CDC::GetWindow() const {
  return ::WindowFromDC(m_hDC);
}

// Selection --------------------------------------------------------------------------------

HGDIOBJ CDC::SelectHandle(HGDIOBJ hObject) {
  if (m_hDC == nullptr || hObject == nullptr) return nullptr;
  HGDIOBJ hOld = ::SelectObject(m_hDC, hObject);
  return hOld == HGDI_ERROR ? nullptr : hOld;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
  return SelectHandle(hObject);
}

CPen* CDC::SelectObject(CPen* pPen) {
  return CPen::FromHandle(static_cast<HPEN>(SelectHandle(pPen ? pPen->m_hObject : nullptr)));
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
  return CBrush::FromHandle(
      static_cast<HBRUSH>(SelectHandle(pBrush ? pBrush->m_hObject : nullptr)));
}

CFont* CDC::SelectObject(CFont* pFont) {
  return CFont::FromHandle(static_cast<HFONT>(SelectHandle(pFont ? pFont->m_hObject : nullptr)));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  return CBitmap::FromHandle(
      static_cast<HBITMAP>(SelectHandle(pBitmap ? pBitmap->m_hObject : nullptr)));
}

// A region is copied into the context as its clipping region; the result is the kind of the
// new clipping region.
int CDC::SelectObject(CRgn* pRgn) {
  if (m_hDC == nullptr || pRgn == nullptr || pRgn->m_hObject == nullptr) return ERROR;
  return static_cast<int>(reinterpret_cast<INT_PTR>(::SelectObject(m_hDC, pRgn->m_hObject)));
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
  if (pObject != nullptr && pObject->GetObjectType() == OBJ_REGION) return nullptr;
  return CGdiObject::FromHandle(SelectHandle(pObject ? pObject->m_hObject : nullptr));
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
  return CGdiObject::FromHandle(SelectHandle(::GetStockObject(nIndex)));
}

CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
  if (m_hDC == nullptr || pPalette == nullptr) return nullptr;
  return CPalette::FromHandle(::SelectPalette(m_hDC, *pPalette, bForceBackground));
}

UINT CDC::RealizePalette() {
  return ::RealizePalette(m_hDC);
}

CPen* CDC::GetCurrentPen() const {
  return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN)));
}

CBrush* CDC::GetCurrentBrush() const {
  return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}

CFont* CDC::GetCurrentFont() const {
  return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

CBitmap* CDC::GetCurrentBitmap() const {
  return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

CPalette* CDC::GetCurrentPalette() const {
  return CPalette::FromHandle(static_cast<HPALETTE>(::GetCurrentObject(m_hDC, OBJ_PAL)));
}

// Colours and modes ------------------------------------------------------------------------

COLORREF CDC::GetBkColor() const {
  return ::GetBkColor(m_hAttribDC);
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
  return ::SetBkColor(m_hDC, crColor);
}

int CDC::GetBkMode() const {
  return ::GetBkMode(m_hAttribDC);
}

int CDC::SetBkMode(int nBkMode) {
  return ::SetBkMode(m_hDC, nBkMode);
}

COLORREF CDC::GetTextColor() const {
  return ::GetTextColor(m_hAttribDC);
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
  return ::SetTextColor(m_hDC, crColor);
}

int CDC::GetROP2() const {
  return ::GetROP2(m_hAttribDC);
}

int CDC::SetROP2(int nDrawMode) {
  return ::SetROP2(m_hDC, nDrawMode);
}

int CDC::GetPolyFillMode() const {
  return ::GetPolyFillMode(m_hAttribDC);
}

int CDC::SetPolyFillMode(int nPolyFillMode) {
  return ::SetPolyFillMode(m_hDC, nPolyFillMode);
}

int CDC::GetStretchBltMode() const {
  return ::GetStretchBltMode(m_hAttribDC);
}

int CDC::SetStretchBltMode(int nStretchMode) {
  return ::SetStretchBltMode(m_hDC, nStretchMode);
}

COLORREF CDC::GetNearestColor(COLORREF crColor) const {
  return ::GetNearestColor(m_hAttribDC, crColor);
}

COLORREF CDC::GetPixel(int x, int y) const {
  return ::GetPixel(m_hDC, x, y);
}

COLORREF CDC::GetPixel(POINT point) const {
  return GetPixel(point.x, point.y);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) {
  return ::SetPixel(m_hDC, x, y, crColor);
}

COLORREF CDC::SetPixel(POINT point, COLORREF crColor) {
  return SetPixel(point.x, point.y, crColor);
}

BOOL CDC::SetPixelV(int x, int y, COLORREF crColor) {
  return ::SetPixelV(m_hDC, x, y, crColor);
}
