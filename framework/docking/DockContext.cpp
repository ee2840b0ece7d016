#include "framework/docking/DockContext.h"

#include "framework/docking/DockBar.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/WindowDc.h"

namespace {
// The dock bars in the order the frame offers them.
const UINT kDockBarIds[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                            AFX_IDW_DOCKBAR_RIGHT};
}  // namespace

CDockContext::CDockContext(CControlBar* pBar)
    : m_pBar(pBar), m_pDockSite(pBar->GetDockingFrame()) {}

CDockContext::~CDockContext() { delete m_pDC; }

void CDockContext::InitLoop() {
  m_dwDockStyle = m_pBar->m_dwDockStyle;
  m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
  m_dwOverDockStyle = 0;
  m_rectLast.SetRectEmpty();
  m_sizeLast = CSize(0, 0);
  m_bDitherLast = m_bFlip = m_bForceFrame = FALSE;
  if (!m_pDC) m_pDC = new CClientDC(nullptr);
}

void CDockContext::CancelLoop() {
  DrawFocusRect(TRUE);
  if (::GetCapture() == m_pBar->m_hWnd) ::ReleaseCapture();
  delete m_pDC;
  m_pDC = nullptr;
}

void CDockContext::StartDrag(CPoint pt) {
  if (!m_pDockSite) m_pDockSite = m_pBar->GetDockingFrame();
  InitLoop();
  m_bDragging = TRUE;
  CRect rect;
  m_pBar->GetWindowRect(&rect);
  m_ptLast = pt;
  m_rectDragHorz = m_rectDragVert = m_rectFrameDragHorz = m_rectFrameDragVert = rect;
  Track();
}

void CDockContext::StartResize(int nHitTest, CPoint pt) {
  // Floating frames size themselves to their bar; only the request is kept.
  m_nHitTest = nHitTest;
  m_ptLast = pt;
}

BOOL CDockContext::Track() {
  ::SetCapture(m_pBar->m_hWnd);
  DrawFocusRect();
  MSG msg;
  while (::GetCapture() == m_pBar->m_hWnd && ::GetMessageA(&msg, nullptr, 0, 0)) {
    switch (msg.message) {
      case WM_MOUSEMOVE: {
        CPoint pt;
        ::GetCursorPos(&pt);
        Move(pt);
        break;
      }
      case WM_LBUTTONUP:
        EndDrag();
        return TRUE;
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) {
          CancelLoop();
          return FALSE;
        }
        break;
      case WM_RBUTTONDOWN:
        CancelLoop();
        return FALSE;
      default:
        ::DispatchMessageA(&msg);
    }
  }
  CancelLoop();
  return FALSE;
}

void CDockContext::Move(CPoint pt) {
  CPoint offset(pt.x - m_ptLast.x, pt.y - m_ptLast.y);
  m_rectDragHorz.OffsetRect(offset);
  m_rectDragVert.OffsetRect(offset);
  m_rectFrameDragHorz.OffsetRect(offset);
  m_rectFrameDragVert.OffsetRect(offset);
  m_ptLast = pt;
  m_bForceFrame = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
  m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
  DrawFocusRect();
}

DWORD CDockContext::CanDock() {
  if (!m_pDockSite) return 0;
  return m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & CBRS_ALIGN_ANY);
}

CDockBar* CDockContext::GetDockBar(DWORD dwOverDockStyle) {
  CDockBar* pDockBar = nullptr;
  if (m_pDockSite) m_pDockSite->CanDock(m_rectDragHorz, dwOverDockStyle, &pDockBar);
  return pDockBar;
}

void CDockContext::EndDrag() {
  CancelLoop();
  if (!m_pDockSite) return;
  if (m_dwOverDockStyle) {
    CDockBar* pDockBar = GetDockBar(m_dwOverDockStyle);
    if (pDockBar) m_pDockSite->DockControlBar(m_pBar, pDockBar, &m_rectDragHorz);
  } else {
    m_ptMRUFloatPos = m_rectFrameDragHorz.TopLeft();
    m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle ? m_dwMRUFloatStyle
                                                                            : CBRS_ALIGN_TOP);
  }
  m_bDragging = FALSE;
}

void CDockContext::ToggleDocking() {
  if (!m_pDockSite) m_pDockSite = m_pBar->GetDockingFrame();
  if (!m_pDockSite) return;
  if (m_pBar->IsFloating()) {
    CDockBar* pDockBar = nullptr;
    if (m_uMRUDockID) pDockBar = static_cast<CDockBar*>(m_pDockSite->GetControlBar(m_uMRUDockID));
    for (UINT id : kDockBarIds) {
      if (pDockBar) break;
      auto* candidate = static_cast<CDockBar*>(m_pDockSite->GetControlBar(id));
      if (candidate && (candidate->m_dwStyle & m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
        pDockBar = candidate;
    }
    if (pDockBar) m_pDockSite->ReDockControlBar(m_pBar, pDockBar);
    return;
  }
  if (m_pBar->m_pDockBar) m_uMRUDockID = static_cast<UINT>(m_pBar->m_pDockBar->GetDlgCtrlID());
  CPoint pt = m_ptMRUFloatPos;
  if (pt == CPoint(0, 0)) {
    // Never floated: float where the bar is now.
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    pt = rect.TopLeft();
  }
  m_pDockSite->FloatControlBar(m_pBar, pt, m_dwMRUFloatStyle ? m_dwMRUFloatStyle : CBRS_ALIGN_TOP);
}

void CDockContext::DrawFocusRect(BOOL bRemoveRect) {
  if (!m_pDC) return;
  CRect rect = bRemoveRect ? CRect(0, 0, 0, 0) : m_rectDragHorz;
  // Thick outline where it would float, thin where it would dock.
  CSize size = m_dwOverDockStyle ? CSize(1, 1) : CSize(3, 3);
  if (bRemoveRect) size = CSize(0, 0);
  m_pDC->DrawDragRect(&rect, size, m_rectLast.IsRectEmpty() ? nullptr : &m_rectLast, m_sizeLast);
  m_rectLast = rect;
  m_sizeLast = size;
}
