#include "toolkit/docking/float/TkDockContext.h"

#include <windowsx.h>

#include "framework/threads/WinThread.h"
#include "framework/docking/DockBar.h"
#include "framework/docking/MiniDockFrameWnd.h"
#include "framework/docview/View.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/WindowDc.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkTheme.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/docking/float/TkDockGeometry.h"
#include "toolkit/docking/window/TkDockWindow.h"

namespace {

CTkDockWindow* AsDockWindow(CControlBar* bar) {
  return bar && bar->IsKindOf(RUNTIME_CLASS(CTkDockWindow)) ? static_cast<CTkDockWindow*>(bar)
                                                              : nullptr;
}

CFrameWnd* ParentFrameOf(CWnd* wnd) {
  CWnd* frame = wnd && wnd->m_hWnd ? wnd->GetParentFrame() : nullptr;
  return frame && frame->IsFrameWnd() ? static_cast<CFrameWnd*>(frame) : nullptr;
}

// Locks the window's updates while it lives, when asked to.
class CUpdateLock {
 public:
  CUpdateLock(CWnd* pWnd, bool bLock) : m_bLocked(bLock && pWnd && pWnd->m_hWnd) {
    if (m_bLocked) m_bLocked = ::LockWindowUpdate(pWnd->m_hWnd);
  }
  ~CUpdateLock() {
    if (m_bLocked) ::LockWindowUpdate(nullptr);
  }
  CUpdateLock(const CUpdateLock&) = delete;
  CUpdateLock& operator=(const CUpdateLock&) = delete;

 private:
  BOOL m_bLocked;
};

// Whether the bar may dock into a frame other than its own. No bar of the toolkit does yet; a
// bar that should would answer here.
BOOL TkBarAcceptsFrame(CTkControlBar*, CFrameWnd*) { return FALSE; }

// The borders a mini frame puts around its bar.
CRect MiniFrameBorders() {
  CRect rect(0, 0, 0, 0);
  ::AdjustWindowRectEx(&rect, WS_THICKFRAME | WS_CAPTION, FALSE, 0);
  return CRect(-rect.left, -rect.top, rect.right, rect.bottom);
}

CSize DoubleBorder() {
  return CSize(::GetSystemMetrics(SM_CXBORDER) * 2, ::GetSystemMetrics(SM_CYBORDER) * 2);
}

}  // namespace

// --- the active view's keeper ---

CTkActiveViewKeeper::CTkActiveViewKeeper(CControlBar* pBar, BOOL bRestoreOnDestroy)
    : m_pBar(pBar), m_bRestore(bRestoreOnDestroy) {
  m_bWasFloating = pBar->IsFloating();
  CFrameWnd* frame = ParentFrameOf(pBar);
  CView* view = frame ? frame->GetActiveView() : nullptr;
  if (view && view->m_hWnd && ::IsChild(pBar->m_hWnd, view->m_hWnd)) {
    m_pFrame = frame;
    m_pView = view;
    m_bActive = TRUE;
  }
}

CTkActiveViewKeeper::~CTkActiveViewKeeper() {
  if (m_bRestore) Restore();
}

void CTkActiveViewKeeper::Restore() {
  BOOL active = m_bActive;
  BOOL wasFloating = m_bWasFloating;
  m_bActive = m_bRestore = m_bWasFloating = FALSE;
  if (!active) return;
  CFrameWnd* now = ParentFrameOf(m_pBar);
  if (now == m_pFrame) return;
  // The view went with the bar: the old frame must not keep pointing at it, the new one takes it.
  if (!wasFloating && m_pFrame && ::IsWindow(m_pFrame->m_hWnd)) {
    CView* old = m_pFrame->GetActiveView();
    if (old && old->m_hWnd && ::IsChild(m_pBar->m_hWnd, old->m_hWnd))
      m_pFrame->SetActiveView(nullptr, FALSE);
  }
  if (now && m_pView && ::IsWindow(m_pView->m_hWnd))
    now->SetActiveView(static_cast<CView*>(m_pView), TRUE);
}

// --- the dock context ---

CTkDockContext::CTkDockContext(CControlBar* pBar) : CDockContext(pBar) {
  m_bDragging = FALSE;
  // No floating place yet: a first toggle floats the bar where it is docked.
  m_ptMRUFloatPos = CPoint(-1, -1);
}

void CTkDockContext::NoteDockPlace() {
  CDockBar* dock = m_pBar->m_pDockBar;
  if (!dock || dock->m_bFloating || !dock->m_hWnd) return;
  m_uMRUDockID = static_cast<UINT>(dock->GetDlgCtrlID()) & 0xFFFF;
  CRect rect;
  m_pBar->GetWindowRect(&rect);
  dock->ScreenToClient(&rect);
  m_rectMRUDockPos = rect;
}

CTkDockContext::~CTkDockContext() = default;

void CTkDockContext::InitLoop() {
  if (!m_pDockSite) m_pDockSite = m_pBar->GetDockingFrame();
  m_bFullWindowDrag = ToolkitData().m_bFullWindowDrag &&
                      m_pBar->SendMessage(TKM_FULLWINDOWDRAG, 0, 0) != 0;
  if (!m_bFullWindowDrag) {
    CDockContext::InitLoop();
    return;
  }
  m_dwDockStyle = m_pBar->m_dwDockStyle;
  m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
  m_rectLast.SetRectEmpty();
  m_sizeLast = CSize(0, 0);
  m_bDitherLast = m_bFlip = m_bForceFrame = FALSE;
  delete m_pDC;
  m_pDC = nullptr;
}

void CTkDockContext::StartDrag(CPoint pt) {
  CTkActiveViewKeeper keeper(m_pBar, FALSE);
  m_bDragging = TRUE;
  BOOL wasFloating = m_pBar->IsFloating();
  // Where a docked bar starts is where a toggle brings it back.
  if (!wasFloating) NoteDockPlace();
  UINT savedDockId = m_uMRUDockID;
  CRect savedDockPos = m_rectMRUDockPos;
  DWORD savedFloatStyle = m_dwMRUFloatStyle;
  CPoint savedFloatPos = m_ptMRUFloatPos;
  InitLoop();

  tkdrag::DragStart start;
  m_pBar->GetWindowRect(&start.bar);
  start.pt = pt;
  start.barStyle = m_pBar->m_dwStyle;
  if (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
    start.horz = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK);
    start.vert = m_pBar->CalcDynamicLayout(0, LM_VERTDOCK);
    start.floating = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
  } else {
    start.horz = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    start.vert = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
  }
  start.frameBorders = MiniFrameBorders();
  start.border2 = DoubleBorder();
  tkdrag::DragRects rects = tkdrag::StartRects(start);
  m_ptLast = pt;
  m_rectDragHorz = rects.horz;
  m_rectDragVert = rects.vert;
  m_rectFrameDragHorz = rects.frameHorz;
  m_rectFrameDragVert = rects.frameVert;

  // A bar may hold its floating frame at a place of its own rather than where it was grabbed.
  if (!wasFloating) {
    CSize grab = m_rectFrameDragHorz.Size();
    if (m_pBar->SendMessage(TKM_FLOATDRAGSIZE, 0, reinterpret_cast<LPARAM>(&grab)))
      m_rectFrameDragHorz.OffsetRect(pt.x - (m_rectFrameDragHorz.left + grab.cx),
                                     pt.y - (m_rectFrameDragHorz.top + grab.cy));
  }
  m_dwOverDockStyle = CanDock();
  const CRect savedHorz = m_rectDragHorz, savedVert = m_rectDragVert;
  const CRect savedFrameHorz = m_rectFrameDragHorz, savedFrameVert = m_rectFrameDragVert;
  const DWORD savedOverDock = m_dwOverDockStyle;
  CDockBar* startDockBar = m_pBar->m_pDockBar;

  m_pBar->PostMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_pBar->m_hWnd), 0);
  Move(pt);
  BOOL dropped = Track();
  if (!dropped && m_bFullWindowDrag) {
    // Cancelled after live moves: the bar goes back where it started.
    m_rectDragHorz = savedHorz;
    m_rectDragVert = savedVert;
    m_rectFrameDragHorz = savedFrameHorz;
    m_rectFrameDragVert = savedFrameVert;
    if (!wasFloating && startDockBar && ::IsWindow(startDockBar->m_hWnd)) {
      m_dwOverDockStyle = savedOverDock;
      startDockBar->CDockBar::DockControlBar(
          m_pBar, (savedOverDock & CBRS_ORIENT_VERT) ? &m_rectDragVert : &m_rectDragHorz);
    } else if (wasFloating) {
      m_dwOverDockStyle = 0;
      EndDrag();
    }
    if (m_pDockSite) m_pDockSite->RecalcLayout(TRUE);
  } else if (dropped) {
    // A toggle returns the bar to where it was before this drag.
    if (m_pBar->IsFloating() && !wasFloating) {
      m_uMRUDockID = savedDockId;
      m_rectMRUDockPos = savedDockPos;
    } else if (!m_pBar->IsFloating() && wasFloating) {
      m_dwMRUFloatStyle = savedFloatStyle;
      m_ptMRUFloatPos = savedFloatPos;
    }
    keeper.Restore();
  }
  m_bDragging = FALSE;
}

void CTkDockContext::EndLoop(HWND hWndFocus) {
  m_pBar->SendMessage(TKM_FRAMECHANGED, 0, 0);
  if (m_bFullWindowDrag) {
    if (::GetCapture() == m_pBar->m_hWnd) ::ReleaseCapture();
  } else {
    // The outline goes with the brush it was drawn with; the framework's clean-up then has
    // nothing left to erase.
    DrawFocusRect(TRUE);
    CDockContext::CancelLoop();
  }
  if (m_pDockSite) m_pDockSite->RecalcLayout(TRUE);
  GetCurrentTheme().SetDragRunning(FALSE);
  if (hWndFocus && ::IsWindow(hWndFocus)) ::SetFocus(hWndFocus);
}

void CTkDockContext::RunDelayedLayouts() {
  if (m_pDockSite && m_pDockSite->IsLayoutDelayed()) m_pDockSite->RecalcLayout(FALSE);
  for (INT_PTR i = 0; i < m_arrOtherFrames.GetSize(); ++i) {
    auto* frame = static_cast<CFrameWnd*>(m_arrOtherFrames[i]);
    if (frame && ::IsWindow(frame->m_hWnd) && frame->IsLayoutDelayed()) frame->RecalcLayout(FALSE);
  }
  m_arrOtherFrames.RemoveAll();
}

BOOL CTkDockContext::Track() {
  HWND focus = ::GetFocus();
  GetCurrentTheme().SetDragRunning(TRUE);
  if (focus) ::SetFocus(m_pBar->m_hWnd);
  struct Guard {
    CTkDockContext* context;
    HWND focus;
    ~Guard() { context->EndLoop(focus); }
  } guard{this, focus};
  if (::GetCapture() != nullptr && ::GetCapture() != m_pBar->m_hWnd) return FALSE;
  ::SetCapture(m_pBar->m_hWnd);
  POINT lastMove = {};
  bool haveLastMove = false;
  while (::GetCapture() == m_pBar->m_hWnd) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageA(&msg);
    if (!::GetMessageA(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return FALSE;
    }
    if (::GetCapture() != m_pBar->m_hWnd) return FALSE;
    if (msg.message == WM_MOUSEMOVE) {
      if (!(msg.wParam & MK_LBUTTON)) return FALSE;
      // Wine and Windows repeat a move at the same place; it changes nothing.
      if (haveLastMove && msg.pt.x == lastMove.x && msg.pt.y == lastMove.y) continue;
      lastMove = msg.pt;
      haveLastMove = true;
    } else {
      haveLastMove = false;
    }
    {
      CUpdateLock lock(m_pDockSite, m_bFullWindowDrag && !m_pBar->IsFloating());
      switch (msg.message) {
        case WM_MOUSEMOVE:
          if (m_bDragging)
            Move(msg.pt);
          else
            Stretch(msg.pt);
          break;
        case WM_KEYDOWN:
          if (msg.wParam == VK_ESCAPE) return FALSE;
          if (m_bDragging) OnKey(static_cast<int>(msg.wParam), TRUE);
          break;
        case WM_KEYUP:
          if (m_bDragging) OnKey(static_cast<int>(msg.wParam), FALSE);
          break;
        case WM_LBUTTONUP:
          // The outline leaves the screen before windows move under it.
          DrawFocusRect(TRUE);
          if (m_bDragging)
            EndDrag();
          else
            EndResize();
          return TRUE;
        case WM_RBUTTONDOWN:
          return FALSE;
        default:
          ::DispatchMessageA(&msg);
          break;
      }
      RunDelayedLayouts();
    }
  }
  return FALSE;
}

void CTkDockContext::Move(CPoint pt) {
  CPoint offset(pt.x - m_ptLast.x, pt.y - m_ptLast.y);
  if (offset == CPoint(0, 0)) return;
  m_rectDragHorz.OffsetRect(offset);
  m_rectDragVert.OffsetRect(offset);
  m_rectFrameDragHorz.OffsetRect(offset);
  m_rectFrameDragVert.OffsetRect(offset);
  m_ptLast = pt;
  m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
  DrawFocusRect(FALSE);
}

void CTkDockContext::DrawFocusRect(BOOL bRemoveRect) {
  if (m_bFullWindowDrag) {
    if (bRemoveRect) return;
    if (m_bDragging)
      EndDrag();
    else
      EndResize();
    return;
  }
  if (!m_pDC) return;
  CSize size(1, 1);
  CBrush white(RGB(255, 255, 255));
  CBrush* brush = &white;
  CRect rect;
  BOOL dither = FALSE;
  if (m_dwOverDockStyle & (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)) {
    BOOL horz = (m_dwOverDockStyle & CBRS_ORIENT_HORZ) != 0;
    rect = horz ? m_rectDragHorz : m_rectDragVert;
    if (AsDockWindow(m_pBar)) {
      // A docking window joins a whole row: outside its dock bar it shows the row's extent.
      CDockBar* dock = nullptr;
      CanDockRect(rect, m_dwOverDockStyle, &dock);
      if (dock && dock->m_hWnd) {
        CRect dockRect;
        dock->GetWindowRect(&dockRect);
        if (!dockRect.PtInRect(rect.CenterPoint())) {
          if (horz) {
            rect.left = dockRect.left;
            rect.right = dockRect.right;
          } else {
            rect.top = dockRect.top;
            rect.bottom = dockRect.bottom;
          }
        }
      }
    }
    rect.DeflateRect(1, 1);
  } else {
    size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
    brush = CDC::GetHalftoneBrush();
    dither = TRUE;
    BOOL horzStyle = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    BOOL vertStyle = (m_dwStyle & CBRS_ORIENT_VERT) != 0;
    rect = ((horzStyle && !m_bFlip) || (vertStyle && m_bFlip)) ? m_rectFrameDragHorz
                                                                : m_rectFrameDragVert;
  }
  if (bRemoveRect) size = CSize(0, 0);
  CBrush* last = m_bDitherLast ? CDC::GetHalftoneBrush() : &white;
  m_pDC->DrawDragRect(&rect, size, m_rectLast.IsRectEmpty() ? nullptr : &m_rectLast, m_sizeLast,
                      brush, last);
  m_rectLast = rect;
  m_sizeLast = size;
  m_bDitherLast = dither;
}

DWORD CTkDockContext::CanDock() {
  BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  if (m_bFlip) horz = !horz;
  DWORD result = 0;
  if (horz && (m_dwDockStyle & CBRS_ORIENT_HORZ))
    result = CanDockRect(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
  else if (m_dwDockStyle & CBRS_ORIENT_VERT)
    result = CanDockRect(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
  if (m_bFlip) return result;
  if (!result && (m_dwDockStyle & CBRS_ORIENT_HORZ)) {
    DWORD a = CanDockRect(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
    DWORD b = CanDockRect(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_VERT);
    if (a == b) result = a;
  }
  if (!result && (m_dwDockStyle & CBRS_ORIENT_VERT)) {
    DWORD a = CanDockRect(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
    DWORD b = CanDockRect(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
    if (a == b) result = a;
  }
  return result;
}

void CTkDockContext::AddOtherFrame(CFrameWnd* pFrame) {
  if (!pFrame) return;
  for (INT_PTR i = 0; i < m_arrOtherFrames.GetSize(); ++i)
    if (m_arrOtherFrames[i] == pFrame) return;
  pFrame->DelayRecalcLayout(TRUE);
  m_arrOtherFrames.Add(pFrame);
}

DWORD CTkDockContext::CanDockRect(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar) {
  DWORD style = dwDockStyle & (CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI);
  if (!m_pDockSite) m_pDockSite = m_pBar->GetDockingFrame();
  DWORD result = CanDockInFrame(m_pDockSite, rect, style, ppDockBar);
  if (result) return result;
  CFrameWnd* other = FindDockSiteAtCursor();
  if (other) {
    result = CanDockInFrame(other, rect, style, ppDockBar);
    if (result) {
      AddOtherFrame(m_pDockSite);
      AddOtherFrame(other);
      m_pDockSite = other;
    }
  }
  return result;
}

DWORD CTkDockContext::CanDockInFrame(CFrameWnd* pFrame, CRect rect, DWORD dwDockStyle,
                                     CDockBar** ppDockBar) {
  if (!pFrame) return 0;
  CPoint cursor;
  BOOL haveCursor = ::GetCursorPos(&cursor);
  for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
    auto* bar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
    if (!bar->IsDockBar() || !bar->m_hWnd || !bar->IsVisible()) continue;
    if (!(bar->m_dwStyle & dwDockStyle & CBRS_ALIGN_ANY)) continue;
    auto* dock = static_cast<CDockBar*>(bar);
    if (dock->m_bFloating && !((bar->m_dwStyle & dwDockStyle) & CBRS_FLOAT_MULTI)) continue;
    HWND parent = ::GetParent(bar->m_hWnd);
    if (!parent) continue;
    CRect window;
    bar->GetWindowRect(&window);
    // An empty dock bar still catches the cursor a few pixels around its edge.
    if (window.Width() == 0) window.InflateRect(4, 0);
    if (window.Height() == 0) window.InflateRect(0, 4);
    CRect parentRect;
    ::GetClientRect(parent, &parentRect);
    ::MapWindowPoints(parent, nullptr, reinterpret_cast<LPPOINT>(&parentRect), 2);
    window.IntersectRect(&window, &parentRect);
    CRect overlap;
    BOOL hit = haveCursor ? window.PtInRect(cursor) : overlap.IntersectRect(&window, &rect);
    if (hit) {
      if (ppDockBar) *ppDockBar = dock;
      return bar->m_dwStyle & dwDockStyle;
    }
  }
  return 0;
}

CFrameWnd* CTkDockContext::FindDockSiteAtCursor() {
  if (!m_pBar->IsKindOf(RUNTIME_CLASS(CTkControlBar)) || !m_pDockSite) return nullptr;
  auto* bar = static_cast<CTkControlBar*>(m_pBar);
  CPoint cursor;
  CWnd* mainWnd = AfxGetMainWnd();
  if (!::GetCursorPos(&cursor) || !mainWnd || !mainWnd->m_hWnd) return nullptr;
  auto accepts = [bar](CFrameWnd* frame) { return TkBarAcceptsFrame(bar, frame); };
  for (HWND hwnd = ::GetWindow(mainWnd->m_hWnd, GW_HWNDFIRST); hwnd;
       hwnd = ::GetWindow(hwnd, GW_HWNDNEXT)) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd || !wnd->IsFrameWnd() || wnd->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) continue;
    CRect rect;
    wnd->GetWindowRect(&rect);
    if (!rect.PtInRect(cursor)) continue;
    auto* frame = static_cast<CFrameWnd*>(wnd);
    if (frame == m_pDockSite) return nullptr;
    return accepts(frame) ? frame : nullptr;
  }
  CFrameWnd* parent = ParentFrameOf(m_pDockSite);
  if (parent && parent != m_pDockSite && accepts(parent)) return parent;
  return nullptr;
}

void CTkDockContext::EndDrag() {
  CTkDockWindow* dockWnd = AsDockWindow(m_pBar);
  if (m_dwOverDockStyle == 0) {
    if (dockWnd && dockWnd->IsExpanded() && !dockWnd->IsSideFloating()) {
      dockWnd->RestoreInRow();
      dockWnd->Restore();
    }
    BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    BOOL vert = (m_dwStyle & CBRS_ORIENT_VERT) != 0;
    DWORD multi = m_dwDockStyle & CBRS_FLOAT_MULTI;
    if (!(m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (!horz || m_bFlip) && (!vert || !m_bFlip))
      Float(CBRS_ALIGN_LEFT | multi);
    else
      Float(CBRS_ALIGN_TOP | multi);
    if (dockWnd) dockWnd->OnFloated();
    return;
  }
  CDockBar* dock = nullptr;
  CRect& rect = (m_dwOverDockStyle & CBRS_ORIENT_VERT) ? m_rectDragVert : m_rectDragHorz;
  CanDockRect(rect, m_dwOverDockStyle, &dock);
  if (!dock) return;
  if (dockWnd && dockWnd->IsExpanded() && m_pBar->m_pDockBar != dock &&
      !dockWnd->IsSideFloating()) {
    dockWnd->RestoreInRow();
    dockWnd->Restore();
  }
  m_uMRUDockID = static_cast<UINT>(dock->GetDlgCtrlID()) & 0xFFFF;
  m_rectMRUDockPos = rect;
  dock->ScreenToClient(&m_rectMRUDockPos);
  dock->DockControlBar(m_pBar, &rect);
  if (m_pDockSite) m_pDockSite->RecalcLayout(FALSE);
}

void CTkDockContext::Float(DWORD dwStyle) {
  m_ptMRUFloatPos = m_rectFrameDragHorz.TopLeft();
  m_dwMRUFloatStyle = dwStyle;
  CDockBar* dock = m_pBar->m_pDockBar;
  if (dock && dock->m_bFloating && dock->GetDockedCount() == 1 &&
      (dock->m_dwStyle & dwStyle & CBRS_ALIGN_ANY)) {
    // Already alone in a floating frame of the right kind: the frame only moves. Its styles
    // stay as they are (a move in place must not thicken its border each time).
    CWnd* frame = dock->GetParent();
    if (frame)
      frame->SetWindowPos(nullptr, m_ptMRUFloatPos.x, m_ptMRUFloatPos.y, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
    return;
  }
  if (!m_pDockSite) m_pDockSite = m_pBar->GetDockingFrame();
  if (!m_pDockSite) return;
  CMiniDockFrameWnd* frame =
      m_pDockSite->CreateFloatingFrame(dwStyle | (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC));
  if (!frame) return;
  frame->SetWindowPos(nullptr, m_ptMRUFloatPos.x, m_ptMRUFloatPos.y, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  frame->SetOwner(m_pBar);
  frame->m_wndDockBar.DockControlBar(m_pBar);
  frame->RecalcLayout(TRUE);
  if (m_pBar->GetStyle() & WS_VISIBLE) {
    frame->ShowWindow(SW_SHOWNA);
    frame->UpdateWindow();
  }
}

void CTkDockContext::StartResize(int nHitTest, CPoint pt) {
  m_bDragging = FALSE;
  InitLoop();
  if (m_pDC && (::GetLayout(m_pDC->GetSafeHdc()) & LAYOUT_RTL))
    ::SetLayout(m_pDC->GetSafeHdc(), 0);
  m_ptLast = pt;
  m_nHitTest = nHitTest;
  CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
  CRect window;
  m_pBar->GetWindowRect(&window);
  m_rectDragHorz = m_rectDragVert = m_rectFrameDragHorz = CRect(window.TopLeft(), size);
  CRect borders = MiniFrameBorders();
  m_rectFrameDragHorz.left -= borders.left;
  m_rectFrameDragHorz.top -= borders.top;
  m_rectFrameDragHorz.right += borders.right;
  m_rectFrameDragHorz.bottom += borders.bottom;
  CSize border2 = DoubleBorder();
  m_rectFrameDragHorz.DeflateRect(border2.cx, border2.cy);
  m_rectFrameDragVert = CRect(0, 0, m_rectFrameDragHorz.Width() - m_rectDragVert.Width(),
                              m_rectFrameDragHorz.Height() - m_rectDragVert.Height());
  m_dwOverDockStyle = 0;
  Stretch(pt);
  CPoint start = pt;
  if (!Track() && m_bFullWindowDrag) Stretch(start);
}

void CTkDockContext::Stretch(CPoint pt) {
  CPoint offset(pt.x - m_ptLast.x, pt.y - m_ptLast.y);
  CSize size = m_rectDragVert.Size();
  if (m_nHitTest != HTTOP && m_nHitTest != HTBOTTOM) {
    if (m_nHitTest == HTLEFT || m_nHitTest == HTTOPLEFT || m_nHitTest == HTBOTTOMLEFT)
      m_rectDragHorz.left += offset.x;
    else
      m_rectDragHorz.right += offset.x;
    size = m_pBar->CalcDynamicLayout(m_rectDragHorz.Width(), LM_HORZ);
  }
  if (m_nHitTest != HTLEFT && m_nHitTest != HTRIGHT) {
    if (m_nHitTest == HTTOP || m_nHitTest == HTTOPLEFT || m_nHitTest == HTTOPRIGHT)
      m_rectDragHorz.top += offset.y;
    else
      m_rectDragHorz.bottom += offset.y;
    size = m_pBar->CalcDynamicLayout(m_rectDragHorz.Height(), LM_HORZ | LM_LENGTHY);
  }
  CRect candidate = tkdrag::StretchedFrame(m_nHitTest, m_rectFrameDragHorz, size,
                                           m_rectFrameDragVert.Size());
  CRect desktop, overlap;
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  if (overlap.IntersectRect(&candidate, &desktop)) {
    m_rectFrameDragHorz = candidate;
    m_rectDragVert = CRect(m_rectDragVert.TopLeft(), size);
  }
  m_ptLast = pt;
  DrawFocusRect(FALSE);
}

void CTkDockContext::EndResize() {
  m_pBar->CalcDynamicLayout(m_rectDragVert.Width(), LM_HORZ | LM_COMMIT);
  if (!m_pDockSite) m_pDockSite = m_pBar->GetDockingFrame();
  if (!m_pDockSite) return;
  m_pDockSite->FloatControlBar(
      m_pBar, m_rectFrameDragHorz.TopLeft(),
      CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI) | CBRS_SIZE_DYNAMIC);
  // The floating frame fits itself around the bar's new size.
  CFrameWnd* frame = ParentFrameOf(m_pBar);
  if (frame && frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) frame->RecalcLayout(TRUE);
}

void CTkDockContext::UpdateState(BOOL* pFlag, BOOL bNewValue) {
  if (*pFlag == bNewValue) return;
  *pFlag = bNewValue;
  // Turning the bar is only for bars that may lie and stand.
  if (!((m_dwDockStyle & CBRS_ORIENT_HORZ) && (m_dwDockStyle & CBRS_ORIENT_VERT)))
    m_bFlip = FALSE;
  m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
  DrawFocusRect(FALSE);
}

void CTkDockContext::OnKey(int nChar, BOOL bDown) {
  if (nChar == VK_CONTROL) UpdateState(&m_bForceFrame, bDown);
  if (nChar == VK_SHIFT) UpdateState(&m_bFlip, bDown);
}

void CTkDockContext::ToggleDocking() {
  CTkActiveViewKeeper keeper(m_pBar, TRUE);
  if (!m_pDockSite) m_pDockSite = m_pBar->GetDockingFrame();
  if (!m_pDockSite) return;
  CTkDockWindow* dockWnd = AsDockWindow(m_pBar);
  if (!m_pBar->IsFloating()) {
    NoteDockPlace();
    CPoint pt = m_ptMRUFloatPos;
    if (pt.x < 0 || pt.y < 0) {
      pt = m_rectMRUDockPos.TopLeft();
      CWnd* parent = m_pBar->GetParent();
      if (parent) parent->ClientToScreen(&pt);
    }
    m_rectFrameDragHorz = CRect(pt, m_rectFrameDragHorz.Size());
    if (dockWnd && dockWnd->IsExpanded()) {
      dockWnd->RestoreInRow();
      dockWnd->Restore();
    }
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    Float(CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI));
    if (dockWnd) dockWnd->OnFloated();
    return;
  }
  if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY)) return;
  CRect rect = m_rectMRUDockPos;
  CDockBar* target = nullptr;
  if (m_uMRUDockID) {
    CControlBar* bar = m_pDockSite->GetControlBar(m_uMRUDockID);
    if (bar && bar->IsDockBar()) {
      target = static_cast<CDockBar*>(bar);
      target->ClientToScreen(&rect);
    }
  }
  if (dockWnd) dockWnd->ModifyTkBarStyle(0, TKDW_NEWLY_DOCKED, FALSE);
  if (target) {
    target->DockControlBar(m_pBar, &rect);
    m_pDockSite->RecalcLayout(TRUE);
  } else {
    // No place remembered: the frame's first dock bar the bar may use.
    CDockBar* first = nullptr;
    for (UINT id : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                    AFX_IDW_DOCKBAR_RIGHT}) {
      CControlBar* bar = m_pDockSite->GetControlBar(id);
      if (bar && (bar->m_dwStyle & m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY)) {
        first = static_cast<CDockBar*>(bar);
        break;
      }
    }
    if (first) m_pDockSite->ReDockControlBar(m_pBar, first);
  }
}
