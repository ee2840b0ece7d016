// CImageList: a common-controls image list. The one that created or attached its list destroys
// it; lists from FromHandle (and the drag image) are temporary wrappers that never do.
#pragma once
#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include "framework/core/Object.h"
#include "framework/gdi/HandleMap.h"
#include "framework/gdi/Rect.h"

class CBitmap;
class CDC;

class CImageList : public CObject {
  DECLARE_DYNAMIC(CImageList)

 public:
  HIMAGELIST m_hImageList = nullptr;

  CImageList() = default;
  ~CImageList() override;
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  operator HIMAGELIST() const { return m_hImageList; }
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }

  static CImageList* PASCAL FromHandle(HIMAGELIST hImageList);
  static void PASCAL DeleteTempMap();
  // Takes ownership; fails for a null handle and for one another CImageList owns.
  // A list held before is destroyed first.
  BOOL Attach(HIMAGELIST hImageList);
  HIMAGELIST Detach();
  BOOL DeleteImageList();

  // nFlags: ILC_COLOR... and ILC_MASK. nGrow: images added at a time when the list is full.
  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
  // Images of width cx cut from a bitmap of the current resource handle; pixels of crMask are
  // transparent (CLR_NONE: none are).
  BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
  BOOL Create(LPCSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
  // One image: image 2 drawn over image 1, shifted by (dx, dy).
  BOOL Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx,
              int dy);
  BOOL Create(CImageList* pImageList);  // a copy of another list

  int GetImageCount() const;
  BOOL SetImageCount(UINT uNewCount);
  BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;
  BOOL GetIconSize(int* cx, int* cy) const;
  COLORREF SetBkColor(COLORREF cr);
  COLORREF GetBkColor() const;

  // The index of the first new image, or -1.
  int Add(CBitmap* pbmImage, CBitmap* pbmMask);
  int Add(CBitmap* pbmImage, COLORREF crMask);
  int Add(HICON hIcon);
  BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
  int Replace(int nImage, HICON hIcon);
  BOOL Remove(int nImage);  // -1 removes all
  BOOL Copy(int iDst, int iSrc, UINT uFlags = ILCF_MOVE);
  BOOL Copy(int iDst, CImageList* pSrc, int iSrc, UINT uFlags = ILCF_MOVE);
  // A new icon the caller destroys (DestroyIcon); null on failure.
  HICON ExtractIcon(int nImage);
  BOOL SetOverlayImage(int nImage, int nOverlay);

  BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
  BOOL DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle);
  BOOL DrawIndirect(IMAGELISTDRAWPARAMS* pimldp);
  BOOL DrawIndirect(CDC* pDC, int nImage, POINT pt, SIZE sz, POINT ptOrigin,
                    UINT fStyle = ILD_NORMAL, DWORD dwRop = SRCCOPY, COLORREF rgbBack = CLR_DEFAULT,
                    COLORREF rgbFore = CLR_DEFAULT);

  // Dragging.
  BOOL BeginDrag(int nImage, CPoint ptHotSpot);
  static void PASCAL EndDrag();
  static BOOL PASCAL DragMove(CPoint pt);
  BOOL SetDragCursorImage(int nDrag, CPoint ptHotSpot);
  static BOOL PASCAL DragShowNolock(BOOL bShow);
  static CImageList* PASCAL GetDragImage(LPPOINT lpPoint, LPPOINT lpPointHotSpot);
  static BOOL PASCAL DragEnter(HWND hWndLock, CPoint point);
  static BOOL PASCAL DragLeave(HWND hWndLock);
  // The same for a window object (CWnd*, or null).
  template <class Wnd>
  static BOOL DragEnter(Wnd* pWndLock, CPoint point) {
    return DragEnter(pWndLock ? pWndLock->m_hWnd : HWND{}, point);
  }
  template <class Wnd>
  static BOOL DragLeave(Wnd* pWndLock) {
    return DragLeave(pWndLock ? pWndLock->m_hWnd : HWND{});
  }

 private:
  friend class CTemporaryHandleMap<CImageList, HIMAGELIST>;
  void ReleaseTemporaryHandle() { m_hImageList = nullptr; }
};
