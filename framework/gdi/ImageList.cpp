#include "framework/gdi/ImageList.h"

#include <memory>

#include "framework/app/AfxResource.h"
#include "framework/gdi/Dc.h"
#include "framework/gdi/GdiObject.h"

IMPLEMENT_DYNAMIC(CImageList, CObject)

namespace {

// Never destroyed: wrappers that live until the process ends still find it.
CPermanentHandleMap<CImageList, HIMAGELIST>& Owners() {
  static auto* map = new CPermanentHandleMap<CImageList, HIMAGELIST>;
  return *map;
}

CTemporaryHandleMap<CImageList, HIMAGELIST>& Temporaries() {
  return CTemporaryHandleMap<CImageList, HIMAGELIST>::ForThisThread();
}

HBITMAP BitmapHandle(const CBitmap* pBmp) {
  return pBmp != nullptr ? static_cast<HBITMAP>(pBmp->m_hObject) : nullptr;
}

HDC DcHandle(const CDC* pDC) {
  return pDC != nullptr ? pDC->m_hDC : nullptr;
}

}  // namespace

CImageList::~CImageList() {
  DeleteImageList();
}

CImageList* PASCAL CImageList::FromHandle(HIMAGELIST hImageList) {
  if (hImageList == nullptr) return nullptr;
  if (CImageList* pList = Owners().Lookup(hImageList)) return pList;
  if (CImageList* pList = Temporaries().Lookup(hImageList)) return pList;
  auto pNew = std::make_unique<CImageList>();
  pNew->m_hImageList = hImageList;
  return Temporaries().Add(hImageList, std::move(pNew));
}

void PASCAL CImageList::DeleteTempMap() {
  Temporaries().DeleteAll();
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
  if (hImageList == nullptr) return FALSE;
  if (hImageList == m_hImageList) return TRUE;
  if (!Owners().Enter(hImageList, this)) return FALSE;  // never two owners of one handle
  DeleteImageList();
  m_hImageList = hImageList;
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST hImageList = m_hImageList;
  if (hImageList != nullptr) Owners().Remove(hImageList, this);
  m_hImageList = nullptr;
  return hImageList;
}

BOOL CImageList::DeleteImageList() {
  if (m_hImageList == nullptr) return FALSE;
  return ImageList_Destroy(Detach());
}

// Each Create leaves the wrapper as it was when the new list cannot be made.
static BOOL AttachNew(CImageList* pList, HIMAGELIST hNew) {
  if (hNew == nullptr) return FALSE;
  if (pList->Attach(hNew)) return TRUE;
  ImageList_Destroy(hNew);
  return FALSE;
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  return AttachNew(this, ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
  return Create(MAKEINTRESOURCEA(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(LPCSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask) {
  return AttachNew(this, ImageList_LoadImageA(AfxGetResourceHandle(), lpszBitmapID, cx, nGrow,
                                              crMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

BOOL CImageList::Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2,
                        int dx, int dy) {
  return AttachNew(this, ImageList_Merge(imagelist1, nImage1, imagelist2, nImage2, dx, dy));
}

BOOL CImageList::Create(CImageList* pImageList) {
  if (pImageList == nullptr || pImageList->m_hImageList == nullptr) return FALSE;
  return AttachNew(this, ImageList_Duplicate(*pImageList));
}

int CImageList::GetImageCount() const {
  return m_hImageList == nullptr ? 0 : ImageList_GetImageCount(m_hImageList);
}

BOOL CImageList::SetImageCount(UINT uNewCount) {
  return ImageList_SetImageCount(m_hImageList, uNewCount);
}

BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const {
  return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
}

BOOL CImageList::GetIconSize(int* cx, int* cy) const {
  return ImageList_GetIconSize(m_hImageList, cx, cy);
}

COLORREF CImageList::SetBkColor(COLORREF cr) {
  return ImageList_SetBkColor(m_hImageList, cr);
}

COLORREF CImageList::GetBkColor() const {
  return ImageList_GetBkColor(m_hImageList);
}

// The list copies the bitmaps; the caller keeps and frees its own.
int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask) {
  return ImageList_Add(m_hImageList, BitmapHandle(pbmImage), BitmapHandle(pbmMask));
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
  return ImageList_AddMasked(m_hImageList, BitmapHandle(pbmImage), crMask);
}

int CImageList::Add(HICON hIcon) {
  return ImageList_AddIcon(m_hImageList, hIcon);
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask) {
  return ImageList_Replace(m_hImageList, nImage, BitmapHandle(pbmImage), BitmapHandle(pbmMask));
}

int CImageList::Replace(int nImage, HICON hIcon) {
  return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon);
}

BOOL CImageList::Remove(int nImage) {
  return ImageList_Remove(m_hImageList, nImage);
}

BOOL CImageList::Copy(int iDst, int iSrc, UINT uFlags) {
  return ImageList_Copy(m_hImageList, iDst, m_hImageList, iSrc, uFlags);
}

BOOL CImageList::Copy(int iDst, CImageList* pSrc, int iSrc, UINT uFlags) {
  if (pSrc == nullptr) return FALSE;
  return ImageList_Copy(m_hImageList, iDst, *pSrc, iSrc, uFlags);
}

HICON CImageList::ExtractIcon(int nImage) {
  return ImageList_GetIcon(m_hImageList, nImage, 0);
}

BOOL CImageList::SetOverlayImage(int nImage, int nOverlay) {
  return ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
  return ImageList_Draw(m_hImageList, nImage, DcHandle(pDC), pt.x, pt.y, nStyle);
}

BOOL CImageList::DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg,
                        UINT nStyle) {
  return ImageList_DrawEx(m_hImageList, nImage, DcHandle(pDC), pt.x, pt.y, sz.cx, sz.cy, clrBk,
                          clrFg, nStyle);
}

BOOL CImageList::DrawIndirect(IMAGELISTDRAWPARAMS* pimldp) {
  if (pimldp == nullptr) return FALSE;
  if (pimldp->himl == nullptr) pimldp->himl = m_hImageList;
  return ImageList_DrawIndirect(pimldp);
}

BOOL CImageList::DrawIndirect(CDC* pDC, int nImage, POINT pt, SIZE sz, POINT ptOrigin, UINT fStyle,
                              DWORD dwRop, COLORREF rgbBack, COLORREF rgbFore) {
  IMAGELISTDRAWPARAMS params{};
  params.cbSize = sizeof(params);
  params.himl = m_hImageList;
  params.i = nImage;
  params.hdcDst = DcHandle(pDC);
  params.x = pt.x, params.y = pt.y;
  params.cx = sz.cx, params.cy = sz.cy;
  params.xBitmap = ptOrigin.x, params.yBitmap = ptOrigin.y;
  params.rgbBk = rgbBack, params.rgbFg = rgbFore;
  params.fStyle = fStyle;
  params.dwRop = dwRop;
  return ImageList_DrawIndirect(&params);
}

BOOL CImageList::BeginDrag(int nImage, CPoint ptHotSpot) {
  return ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
}

void PASCAL CImageList::EndDrag() {
  ImageList_EndDrag();
}

BOOL PASCAL CImageList::DragMove(CPoint pt) {
  return ImageList_DragMove(pt.x, pt.y);
}

BOOL CImageList::SetDragCursorImage(int nDrag, CPoint ptHotSpot) {
  return ImageList_SetDragCursorImage(m_hImageList, nDrag, ptHotSpot.x, ptHotSpot.y);
}

BOOL PASCAL CImageList::DragShowNolock(BOOL bShow) {
  return ImageList_DragShowNolock(bShow);
}

// The drag image belongs to the drag: a temporary wrapper, never destroyed by its holder.
CImageList* PASCAL CImageList::GetDragImage(LPPOINT lpPoint, LPPOINT lpPointHotSpot) {
  return FromHandle(ImageList_GetDragImage(lpPoint, lpPointHotSpot));
}

BOOL PASCAL CImageList::DragEnter(HWND hWndLock, CPoint point) {
  return ImageList_DragEnter(hWndLock, point.x, point.y);
}

BOOL PASCAL CImageList::DragLeave(HWND hWndLock) {
  return ImageList_DragLeave(hWndLock);
}
