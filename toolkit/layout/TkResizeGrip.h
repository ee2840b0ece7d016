// CTkResizeGrip: the size box in the bottom-right corner of a resizable window. A press on it
// hands the drag to the system as if the window's own bottom-right border had been grabbed.
#pragma once
#include "framework/gdi/Gdi.h"
#include "framework/controls/Static.h"

class CTkResizeGrip : public CStatic {
 public:
  static const UINT kID = 0x7FFF;
  static const DWORD kStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_BITMAP;

  CTkResizeGrip();
  BOOL Create(CWnd* pParent);

  int OnCreate(LPCREATESTRUCT lpcs);
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnLButtonDown(UINT nFlags, CPoint point);

 protected:
  DECLARE_MESSAGE_MAP()
  HCURSOR m_hCursor;
  CBitmap m_bitmap;
};
