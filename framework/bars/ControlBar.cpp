#include "framework/bars/ControlBar.h"

#include <algorithm>

#include "framework/docking/DockContext.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/WindowDc.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_NCPAINT()
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_WM_TIMER()
END_MESSAGE_MAP()

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
  if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
  delete m_pDockContext;
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  // A plain bar has no contents of its own: it is as long as the frame when stretched.
  return CSize(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
}

CSize CControlBar::CalcDynamicLayout(int, DWORD nMode) {
  return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
  DWORD style = m_dwStyle;
  if (style & CBRS_BORDER_LEFT) rect.left += 2;
  if (style & CBRS_BORDER_TOP) rect.top += 2;
  if (style & CBRS_BORDER_RIGHT) rect.right -= 2;
  if (style & CBRS_BORDER_BOTTOM) rect.bottom -= 2;
  if (bHorz) {
    rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
  } else {
    rect.left += m_cyTopBorder;
    rect.top += m_cxLeftBorder;
    rect.right -= m_cyBottomBorder;
    rect.bottom -= m_cxRightBorder;
  }
}

void CControlBar::SetBarStyle(DWORD dwStyle) {
  if (m_dwStyle == dwStyle) return;
  DWORD old = m_dwStyle;
  m_dwStyle = dwStyle;
  OnBarStyleChange(old, dwStyle);
}

void CControlBar::OnBarStyleChange(DWORD, DWORD) {}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
  m_cxLeftBorder = cxLeft;
  m_cyTopBorder = cyTop;
  m_cxRightBorder = cxRight;
  m_cyBottomBorder = cyBottom;
}

BOOL CControlBar::IsVisible() const {
  if (m_nStateFlags & delayHide) return FALSE;
  if (m_nStateFlags & delayShow) return TRUE;
  return m_hWnd && (GetStyle() & WS_VISIBLE) != 0;
}

void CControlBar::DelayShow(BOOL bShow) {
  m_nStateFlags &= ~(delayHide | delayShow);
  BOOL visible = (GetStyle() & WS_VISIBLE) != 0;
  if (bShow && !visible) m_nStateFlags |= delayShow;
  if (!bShow && visible) m_nStateFlags |= delayHide;
}

CFrameWnd* CControlBar::GetDockingFrame() const {
  if (m_pDockSite) return m_pDockSite;
  return static_cast<CFrameWnd*>(GetParentFrame());
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout) {
  DWORD style = GetStyle();
  if (m_nStateFlags & delayShow) style |= WS_VISIBLE;
  if (m_nStateFlags & delayHide) style &= ~WS_VISIBLE;
  if (lpLayout->hDWP && (m_nStateFlags & (delayHide | delayShow))) {
    UINT flags = (style & WS_VISIBLE) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, 0, 0, 0, 0,
                                      flags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                                          SWP_NOACTIVATE);
    m_nStateFlags &= ~(delayHide | delayShow);
  }
  return style;
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  DWORD style = RecalcDelayShow(lpLayout);
  if (!(style & WS_VISIBLE) || !(m_dwStyle & CBRS_ALIGN_ANY)) return 0;
  CRect rect(lpLayout->rect);
  CSize avail = rect.Size();
  DWORD mode = lpLayout->bStretch ? LM_STRETCH : 0;
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
    mode |= LM_HORZ | LM_MRUWIDTH;
  else if (m_dwStyle & CBRS_ORIENT_HORZ)
    mode |= LM_HORZ | LM_HORZDOCK;
  else
    mode |= LM_VERTDOCK;
  CSize size = CalcDynamicLayout(-1, mode);
  size.cx = std::min<LONG>(size.cx, avail.cx);
  size.cy = std::min<LONG>(size.cy, avail.cy);
  if (m_dwStyle & CBRS_ORIENT_HORZ) {
    lpLayout->sizeTotal.cy += size.cy;
    lpLayout->sizeTotal.cx = std::max(lpLayout->sizeTotal.cx, size.cx);
    if (m_dwStyle & CBRS_ALIGN_TOP) {
      lpLayout->rect.top += size.cy;
    } else {
      rect.top = rect.bottom - size.cy;
      lpLayout->rect.bottom -= size.cy;
    }
  } else {
    lpLayout->sizeTotal.cx += size.cx;
    lpLayout->sizeTotal.cy = std::max(lpLayout->sizeTotal.cy, size.cy);
    if (m_dwStyle & CBRS_ALIGN_LEFT) {
      lpLayout->rect.left += size.cx;
    } else {
      rect.left = rect.right - size.cx;
      lpLayout->rect.right -= size.cx;
    }
  }
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
  if (lpLayout->hDWP) AfxRepositionWindow(lpLayout, m_hWnd, &rect);
  return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  // A bar that is hidden, or about to be, has nothing to show.
  if (!IsVisible()) return 0;
  CFrameWnd* pTarget = GetDockingFrame();
  if (pTarget) OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
  return 0;
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  CWnd* pFrame = GetParentFrame();
  if (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
    m_pDockSite = static_cast<CFrameWnd*>(pFrame);
    m_pDockSite->AddControlBar(this);
  }
  return 0;
}

void CControlBar::OnDestroy() {
  DetachFromDockBar();
  if (m_pDockSite) {
    m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
  }
  CWnd::OnDestroy();
}

void CControlBar::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}

void CControlBar::DoPaint(CDC* pDC) {
  CRect rect;
  GetClientRect(&rect);
  DrawBorders(pDC, rect);
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect) {
  UINT edges = 0;
  if (m_dwStyle & CBRS_BORDER_LEFT) edges |= BF_LEFT;
  if (m_dwStyle & CBRS_BORDER_TOP) edges |= BF_TOP;
  if (m_dwStyle & CBRS_BORDER_RIGHT) edges |= BF_RIGHT;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) edges |= BF_BOTTOM;
  if (edges) ::DrawEdge(pDC->GetSafeHdc(), &rect, EDGE_ETCHED, edges | BF_ADJUST);
}

void CControlBar::EraseNonClient() {
  CWindowDC dc(this);
  CRect client, window;
  GetClientRect(&client);
  ClientToScreen(&client);
  GetWindowRect(&window);
  client.OffsetRect(-window.left, -window.top);
  window.OffsetRect(-window.left, -window.top);
  ::ExcludeClipRect(dc.GetSafeHdc(), client.left, client.top, client.right, client.bottom);
  ::FillRect(dc.GetSafeHdc(), &window, ::GetSysColorBrush(COLOR_BTNFACE));
}

void CControlBar::OnNcPaint() { EraseNonClient(); }

void CControlBar::OnPaint() {
  CPaintDC dc(this);
  DoPaint(&dc);
}

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
  HWND parent = ::GetParent(hWnd);
  CRect old;
  ::GetWindowRect(hWnd, &old);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&old), 2);
  if (::EqualRect(&old, lpRect)) return;
  lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                    lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                    SWP_NOACTIVATE | SWP_NOZORDER);
}

void AfxRepositionBars(CWnd* pParent, UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver,
                       UINT nFlags, LPRECT lpRectParam, LPCRECT lpRectClient, BOOL bStretch) {
  AFX_SIZEPARENTPARAMS layout = {};
  layout.bStretch = bStretch;
  if (lpRectClient)
    layout.rect = *lpRectClient;
  else
    pParent->GetClientRect(&layout.rect);
  bool query = (nFlags & ~reposNoPosLeftOver) == reposQuery;
  layout.hDWP = query ? nullptr : ::BeginDeferWindowPos(8);
  HWND leftOver = nullptr;
  for (HWND child = ::GetTopWindow(pParent->m_hWnd); child;
       child = ::GetNextWindow(child, GW_HWNDNEXT)) {
    UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
    if (id == nIDLeftOver) leftOver = child;
    if (id >= nIDFirst && id <= nIDLast && CWnd::FromHandlePermanent(child))
      ::SendMessageA(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
  }
  if (query) {
    if (lpRectParam) {
      if (bStretch)
        *lpRectParam = layout.rect;
      else
        ::SetRect(lpRectParam, 0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
    }
    return;
  }
  if ((nFlags & ~reposNoPosLeftOver) == reposExtra && lpRectParam) {
    layout.rect.left += lpRectParam->left;
    layout.rect.top += lpRectParam->top;
    layout.rect.right -= lpRectParam->right;
    layout.rect.bottom -= lpRectParam->bottom;
  }
  if (leftOver && !(nFlags & reposNoPosLeftOver))
    AfxRepositionWindow(&layout, leftOver, &layout.rect);
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
}
