// CTkMemDC: an off-screen picture for flicker-free painting. A paint handler makes one over its
// device context, draws everything into it (coordinates relative to the target rectangle's
// top-left corner) and lets its destruction copy the finished picture to the target in one
// bit-block transfer.
#pragma once
#include <windows.h>

#include "framework/gdi/Gdi.h"

class CTkMemDC : public CDC {
  DECLARE_DYNAMIC(CTkMemDC)

 public:
  // An empty rectangle covers the target's clip box. A fill colour other than -1 paints the
  // whole picture first, which spares the caller a separate background erase.
  CTkMemDC(CDC* pDC, const CRect& rect = CRect(0, 0, 0, 0), COLORREF clrFill = 0xFFFFFFFF);
  ~CTkMemDC() override;
  CTkMemDC(const CTkMemDC&) = delete;
  CTkMemDC& operator=(const CTkMemDC&) = delete;

  // The picture is kept rather than shown: destruction copies nothing back.
  void Discard() { m_bValid = FALSE; }
  BOOL IsValid() const { return m_bValid; }
  const CRect& GetTargetRect() const { return m_rect; }

 private:
  CDC* m_pDC;  // not owned
  CRect m_rect;
  CBitmap m_bitmap;
  HGDIOBJ m_hOldBitmap = nullptr;
  // When the memory context or its picture could not be made, nothing is copied: the window keeps its
  // previous picture for this paint.
  BOOL m_bValid = FALSE;
};
