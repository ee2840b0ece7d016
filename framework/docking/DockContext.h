// CDockContext: what a dockable bar does when the user drags it, double-clicks it or lets it
// float: follows the mouse with an outline, then docks it where the outline touches a dock bar
// or puts it in a floating frame. Remembers the last docked and floating places for the toggle.
#pragma once
#include "framework/gdi/Gdi.h"
#include "framework/bars/BarStyles.h"

class CControlBar;
class CDockBar;
class CFrameWnd;

class CDockContext {
 public:
  explicit CDockContext(CControlBar* pBar);
  virtual ~CDockContext();
  CDockContext(const CDockContext&) = delete;
  CDockContext& operator=(const CDockContext&) = delete;

  // Runs the drag from the screen point until the button is released or the drag cancelled.
  virtual void StartDrag(CPoint pt);
  virtual void StartResize(int nHitTest, CPoint pt);
  // Floats a docked bar at its last floating place, docks a floating one where it was docked.
  virtual void ToggleDocking();

  // The loop's steps (the loop itself only feeds them mouse and key input).
  void InitLoop();
  void CancelLoop();
  BOOL Track();
  void Move(CPoint pt);
  void EndDrag();
  DWORD CanDock();
  CDockBar* GetDockBar(DWORD dwOverDockStyle);
  void DrawFocusRect(BOOL bRemoveRect = FALSE);

  CPoint m_ptLast;
  CRect m_rectLast;
  CSize m_sizeLast;
  BOOL m_bDitherLast = FALSE;
  CRect m_rectDragHorz, m_rectDragVert;
  CRect m_rectFrameDragHorz, m_rectFrameDragVert;
  CControlBar* m_pBar;
  CFrameWnd* m_pDockSite;
  DWORD m_dwDockStyle = 0;      // where the bar may dock
  DWORD m_dwOverDockStyle = 0;  // where it would land now (0: floating)
  DWORD m_dwStyle = 0;          // its orientation
  BOOL m_bFlip = FALSE, m_bForceFrame = FALSE;
  CDC* m_pDC = nullptr;
  BOOL m_bDragging = FALSE;
  int m_nHitTest = 0;
  UINT m_uMRUDockID = 0;
  CRect m_rectMRUDockPos;
  DWORD m_dwMRUFloatStyle = 0;
  CPoint m_ptMRUFloatPos;
};
