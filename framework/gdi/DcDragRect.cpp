// CDC's drag outline and the halftone brush it is drawn with.
#include <mutex>

#include "framework/gdi/Dc.h"

namespace {

// The frame of thickness size inside rect, in device units (clipping regions are), so a
// context with a mapping mode or origin draws it where its logical rectangle lies.
void MakeFrameRegion(HDC hDC, CRgn& rgn, LPCRECT lpRect, SIZE size) {
  rgn.CreateRectRgn(0, 0, 0, 0);
  if (lpRect == nullptr || (size.cx == 0 && size.cy == 0)) return;
  CRect outer(lpRect), inner(lpRect);
  inner.DeflateRect(size.cx, size.cy);
  ::LPtoDP(hDC, reinterpret_cast<LPPOINT>(&outer), 2);
  ::LPtoDP(hDC, reinterpret_cast<LPPOINT>(&inner), 2);
  outer.NormalizeRect();
  inner.NormalizeRect();
  CRgn rgnOuter, rgnInner;
  rgnOuter.CreateRectRgnIndirect(outer);
  rgnInner.CreateRectRgnIndirect(inner);
  rgn.CombineRgn(&rgnOuter, &rgnInner, inner.IsRectEmpty() ? RGN_COPY : RGN_DIFF);
}

// Inverts the region with the brush, inside whatever clipping the caller had, and leaves the
// context's clipping and brush as they were.
void InvertRegion(CDC& dc, CRgn& rgn, CBrush* pBrush, LPCRECT lpBox) {
  CRect box;
  if (rgn.GetRgnBox(box) == NULLREGION) return;
  int saved = dc.SaveDC();
  dc.SelectClipRgn(&rgn, RGN_AND);
  dc.SelectObject(pBrush);
  dc.PatBlt(lpBox->left, lpBox->top, lpBox->right - lpBox->left, lpBox->bottom - lpBox->top,
            PATINVERT);
  dc.RestoreDC(saved);
}

CRect LogicalBox(LPCRECT lpRect, LPCRECT lpRectLast) {
  CRect box;
  if (lpRect != nullptr) box = CRect(lpRect);
  if (lpRectLast != nullptr) box = box.IsRectEmpty() ? CRect(lpRectLast) : box | *lpRectLast;
  box.NormalizeRect();
  return box;
}

}  // namespace

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush,
                       CBrush* pBrushLast) {
  if (m_hDC == nullptr) return;
  if (pBrush == nullptr) pBrush = GetHalftoneBrush();
  if (pBrushLast == nullptr) pBrushLast = pBrush;
  CRgn rgnNew, rgnLast;
  MakeFrameRegion(m_hDC, rgnNew, lpRect, size);
  MakeFrameRegion(m_hDC, rgnLast, lpRectLast, sizeLast);
  CRect box = LogicalBox(lpRect, lpRectLast);
  if (pBrush->m_hObject == pBrushLast->m_hObject) {
    // Inverting twice restores: only where the old and the new outline differ changes.
    rgnNew.CombineRgn(&rgnNew, &rgnLast, RGN_XOR);
    InvertRegion(*this, rgnNew, pBrush, box);
  } else {
    InvertRegion(*this, rgnLast, pBrushLast, box);
    InvertRegion(*this, rgnNew, pBrush, box);
  }
}

// Made once and kept for the life of the process: outlines are drawn with it from any thread.
CBrush* PASCAL CDC::GetHalftoneBrush() {
  static CBrush* pBrush = nullptr;
  static std::once_flag once;
  std::call_once(once, [] {
    static const WORD kPattern[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA,
                                     0x5555, 0xAAAA, 0x5555, 0xAAAA};
    CBitmap bitmap;
    bitmap.CreateBitmap(8, 8, 1, 1, kPattern);
    pBrush = new CBrush;
    pBrush->CreatePatternBrush(&bitmap);
  });
  return pBrush;
}
