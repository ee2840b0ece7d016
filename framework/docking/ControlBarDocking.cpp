// The control bar's side of docking: its dock context, the mouse on a dockable bar, its entry in
// a saved layout.
#include "framework/bars/ControlBar.h"
#include "framework/docking/DockBar.h"
#include "framework/docking/DockContext.h"
#include "framework/docking/DockState.h"
#include "framework/frame/FrameWnd.h"

void CControlBar::EnableDocking(DWORD dwDockStyle) {
  m_dwDockStyle = dwDockStyle;
  if (dwDockStyle && !m_pDockContext) m_pDockContext = new CDockContext(this);
}

void CControlBar::DetachFromDockBar() {
  if (m_pDockBar) m_pDockBar->RemoveControlBar(this);
  m_pDockBar = nullptr;
}

void CControlBar::OnLButtonDown(UINT nFlags, CPoint pt) {
  // A press on a dockable bar starts a drag; others behave as any window.
  if (m_pDockContext && m_pDockBar) {
    ClientToScreen(&pt);
    m_pDockContext->StartDrag(pt);
    return;
  }
  CWnd::OnLButtonDown(nFlags, pt);
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint pt) {
  if (m_pDockContext && m_pDockBar) {
    m_pDockContext->ToggleDocking();
    return;
  }
  CWnd::OnLButtonDblClk(nFlags, pt);
}

void CControlBar::GetBarInfo(CControlBarInfo* pInfo) {
  pInfo->m_pBar = this;
  pInfo->m_nBarID = static_cast<UINT>(GetDlgCtrlID());
  pInfo->m_bVisible = IsVisible();
  pInfo->m_bFloating = IsFloating();
  pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  if (IsFloating()) {
    CRect rect;
    CWnd* frame = GetParentFrame();
    (frame ? frame : this)->GetWindowRect(&rect);
    pInfo->m_pointPos = rect.TopLeft();
  }
  pInfo->m_bDocking = m_pDockContext != nullptr;
  if (m_pDockContext) {
    pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
    pInfo->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
    pInfo->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
    pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
  }
}

void CControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) {
  if (pInfo->m_bDocking && m_pDockContext) {
    m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
    m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
    m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
    m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
  }
  if (pInfo->m_bFloating)
    pFrameWnd->FloatControlBar(this, pInfo->m_pointPos,
                               pInfo->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
  pFrameWnd->ShowControlBar(this, pInfo->m_bVisible, FALSE);
}
