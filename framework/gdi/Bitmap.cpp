#include "framework/app/AfxResource.h"
#include "framework/gdi/Dc.h"
#include "framework/gdi/GdiObject.h"

CBitmap* PASCAL CBitmap::FromHandle(HBITMAP hBitmap) {
  return static_cast<CBitmap*>(CGdiObject::FromHandle(hBitmap));
}

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName) {
  return AttachNew(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
  return LoadBitmap(MAKEINTRESOURCEA(nIDResource));
}

BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap) {
  return AttachNew(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(nIDBitmap)));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount,
                           const void* lpBits) {
  return AttachNew(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) {
  return AttachNew(::CreateBitmapIndirect(lpBitmap));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  if (pDC == nullptr) return FALSE;
  return AttachNew(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

BOOL CBitmap::CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight) {
  return CreateCompatibleBitmap(pDC, nWidth, nHeight);
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const {
  return GetObject(sizeof(BITMAP), pBitMap);
}

DWORD CBitmap::SetBitmapBits(DWORD dwCount, const void* lpBits) {
  return static_cast<DWORD>(::SetBitmapBits(*this, dwCount, lpBits));
}

DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const {
  return static_cast<DWORD>(::GetBitmapBits(*this, static_cast<LONG>(dwCount), lpBits));
}

CSize CBitmap::GetBitmapDimension() const {
  CSize size;
  ::GetBitmapDimensionEx(*this, &size);
  return size;
}

CSize CBitmap::SetBitmapDimension(int nWidth, int nHeight) {
  CSize size;
  ::SetBitmapDimensionEx(*this, nWidth, nHeight, &size);
  return size;
}
