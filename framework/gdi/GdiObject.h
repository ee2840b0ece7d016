// CGdiObject and its kinds (CPen, CBrush, CFont, CBitmap, CRgn, CPalette): owners of one GDI
// handle each. A wrapper that created or attached a handle deletes it exactly once, when it is
// destroyed or told to; temporary wrappers from FromHandle only borrow theirs.
#pragma once
#include <windows.h>

#include "framework/core/Object.h"
#include "framework/gdi/HandleMap.h"
#include "framework/gdi/Rect.h"

class CGdiObject : public CObject {
  DECLARE_DYNAMIC(CGdiObject)

 public:
  HGDIOBJ m_hObject = nullptr;

  CGdiObject() = default;
  ~CGdiObject() override;
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  operator HGDIOBJ() const { return m_hObject; }
  HGDIOBJ GetSafeHandle() const { return m_hObject; }

  // The object that owns hObject, else a temporary wrapper of the handle's kind (a CPen for a
  // pen, ...), valid on the calling thread until its next idle time. Null for a null handle.
  static CGdiObject* PASCAL FromHandle(HGDIOBJ hObject);
  // Frees this thread's temporary wrappers (not their handles); the idle loop calls it.
  static void PASCAL DeleteTempMap();

  // Takes ownership of hObject. A handle held before is deleted first. Fails for a null handle
  // and for one that another wrapper already owns (it would be deleted twice).
  BOOL Attach(HGDIOBJ hObject);
  // Gives the handle up without deleting it.
  HGDIOBJ Detach();
  // Deletes the handle (when there is one) and empties the wrapper.
  BOOL DeleteObject();

  int GetObject(int nCount, LPVOID lpObject) const;
  UINT GetObjectType() const;
  // Stock objects belong to the system: held, never deleted.
  BOOL CreateStockObject(int nIndex);
  BOOL UnrealizeObject();
  bool operator==(const CGdiObject& obj) const { return m_hObject == obj.m_hObject; }
  bool operator!=(const CGdiObject& obj) const { return m_hObject != obj.m_hObject; }

 protected:
  // Stores a newly created handle; false (and nothing stored) when creation failed.
  BOOL AttachNew(HGDIOBJ hObject) { return hObject != nullptr && Attach(hObject); }
  // Holds a handle the system owns (stock objects, system colour brushes): any number of
  // wrappers may hold it, and none deletes it.
  BOOL AttachShared(HGDIOBJ hObject);

 private:
  friend class CTemporaryHandleMap<CGdiObject, HGDIOBJ>;
  bool m_bShared = false;
  void ReleaseTemporaryHandle() { m_hObject = nullptr; }
};

class CPen : public CGdiObject {
  DECLARE_DYNAMIC(CPen)

 public:
  CPen() = default;
  CPen(int nPenStyle, int nWidth, COLORREF crColor);
  // The style count is not optional here, so that CPen(style, width, 0) means colour black.
  CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount,
       const DWORD* lpStyle = nullptr);
  static CPen* PASCAL FromHandle(HPEN hPen);
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }

  BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
  BOOL CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount,
                 const DWORD* lpStyle = nullptr);
  BOOL CreatePenIndirect(LPLOGPEN lpLogPen);
  int GetLogPen(LOGPEN* pLogPen) const;
  int GetExtLogPen(EXTLOGPEN* pLogPen) const;
};

class CBitmap;

class CBrush : public CGdiObject {
  DECLARE_DYNAMIC(CBrush)

 public:
  CBrush() = default;
  explicit CBrush(COLORREF crColor);
  CBrush(int nIndex, COLORREF crColor);
  explicit CBrush(CBitmap* pBitmap);
  static CBrush* PASCAL FromHandle(HBRUSH hBrush);
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }

  BOOL CreateSolidBrush(COLORREF crColor);
  BOOL CreateHatchBrush(int nIndex, COLORREF crColor);
  BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush);
  BOOL CreatePatternBrush(CBitmap* pBitmap);
  BOOL CreateDIBPatternBrush(const void* lpPackedDIB, UINT nUsage);
  BOOL CreateSysColorBrush(int nIndex);
  int GetLogBrush(LOGBRUSH* pLogBrush) const;
};

class CDC;

class CFont : public CGdiObject {
  DECLARE_DYNAMIC(CFont)

 public:
  static CFont* PASCAL FromHandle(HFONT hFont);
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }

  BOOL CreateFontIndirect(const LOGFONTA* lpLogFont);
  BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                  BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
                  BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, LPCSTR lpszFacename);
  // Height in tenths of a point, converted for pDC (the screen when null).
  BOOL CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC = nullptr);
  BOOL CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC = nullptr);
  int GetLogFont(LOGFONTA* pLogFont) const;
};

class CBitmap : public CGdiObject {
  DECLARE_DYNAMIC(CBitmap)

 public:
  static CBitmap* PASCAL FromHandle(HBITMAP hBitmap);
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }

  // From the current resource handle (the language module).
  BOOL LoadBitmap(LPCSTR lpszResourceName);
  BOOL LoadBitmap(UINT nIDResource);
  BOOL LoadOEMBitmap(UINT nIDBitmap);
  BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
  BOOL CreateBitmapIndirect(LPBITMAP lpBitmap);
  BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
  BOOL CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight);
  int GetBitmap(BITMAP* pBitMap) const;
  DWORD SetBitmapBits(DWORD dwCount, const void* lpBits);
  DWORD GetBitmapBits(DWORD dwCount, LPVOID lpBits) const;
  CSize GetBitmapDimension() const;
  CSize SetBitmapDimension(int nWidth, int nHeight);
};

class CRgn : public CGdiObject {
  DECLARE_DYNAMIC(CRgn)

 public:
  static CRgn* PASCAL FromHandle(HRGN hRgn);
  operator HRGN() const { return static_cast<HRGN>(m_hObject); }

  BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
  BOOL CreateRectRgnIndirect(LPCRECT lpRect);
  BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2);
  BOOL CreateEllipticRgnIndirect(LPCRECT lpRect);
  BOOL CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode);
  BOOL CreatePolyPolygonRgn(const POINT* lpPoints, const INT* lpPolyCounts, int nCount,
                            int nPolyFillMode);
  BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3);
  BOOL CreateFromData(const XFORM* lpXForm, int nCount, const RGNDATA* pRgnData);

  void SetRectRgn(int x1, int y1, int x2, int y2);
  void SetRectRgn(LPCRECT lpRect);
  // The result goes into this region, which must exist already (e.g. CreateRectRgn(0,0,0,0)).
  int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode);
  int CopyRgn(const CRgn* pRgnSrc);
  BOOL EqualRgn(const CRgn* pRgn) const;
  int OffsetRgn(int x, int y);
  int OffsetRgn(POINT point);
  int GetRgnBox(LPRECT lpRect) const;
  BOOL PtInRegion(int x, int y) const;
  BOOL PtInRegion(POINT point) const;
  BOOL RectInRegion(LPCRECT lpRect) const;
  int GetRegionData(LPRGNDATA lpRgnData, int nCount) const;
};

class CPalette : public CGdiObject {
  DECLARE_DYNAMIC(CPalette)

 public:
  static CPalette* PASCAL FromHandle(HPALETTE hPalette);
  operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }

  BOOL CreatePalette(LPLOGPALETTE lpLogPalette);
  BOOL CreateHalftonePalette(CDC* pDC);
  int GetEntryCount() const;
  UINT GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) const;
  UINT SetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors);
  void AnimatePalette(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors);
  UINT GetNearestPaletteIndex(COLORREF crColor) const;
  BOOL ResizePalette(UINT nNumEntries);
};
