#include "toolkit/widgets/TkSplitterWnd.h"

#include <algorithm>

#include "framework/gdi/Gdi.h"
#include "framework/docview/CreateContext.h"
#include "framework/docview/View.h"
#include "framework/docview/Document.h"
#include "framework/wnd/MessageMap.h"
#include "framework/wnd/WindowDc.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"

IMPLEMENT_DYNAMIC(CTkSplitterWnd, CSplitterWnd)

BEGIN_MESSAGE_MAP(CTkSplitterWnd, CSplitterWnd)
  ON_WM_SETCURSOR()
  ON_WM_NCHITTEST()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

namespace {
constexpr int kFlatBar = 6;
constexpr int kRaisedBar = 7;
constexpr int kTrackerThickness = 4;
}  // namespace

CTkSplitterWnd::CTkSplitterWnd() {
  m_cxSplitter = m_cySplitter = kFlatBar;
  m_cxSplitterGap = m_cySplitterGap = kFlatBar;
  ReadFullDragSetting();
}

void CTkSplitterWnd::ReadFullDragSetting() {
  BOOL full = FALSE;
  ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
  m_bFullDrag = (m_dwSplitterStyle & TKSPLIT_NOFULLDRAG) ? FALSE : full;
}

void CTkSplitterWnd::SetSplitterStyle(DWORD dwStyle) {
  m_dwSplitterStyle = dwStyle;
  ReadFullDragSetting();
}

void CTkSplitterWnd::SetFlatLook(BOOL bFlat) {
  m_bFlatLook = bFlat;
  int size = bFlat ? kFlatBar : kRaisedBar;
  m_cxSplitter = m_cySplitter = size;
  m_cxSplitterGap = m_cySplitterGap = size;
  RecalcLayout();
}

// --- hiding and showing a column or a row ---

CWnd* CTkSplitterWnd::GetHiddenPane(int row) const {
  if (m_nHiddenCol < 0 || row < 0 || row >= m_nRows) return nullptr;
  return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, IdFromRowCol(row, m_nCols)));
}

CWnd* CTkSplitterWnd::GetHiddenRowPane(int col) const {
  if (m_nHiddenRow < 0 || col < 0 || col >= m_nCols) return nullptr;
  return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, IdFromRowCol(m_nRows, col)));
}

void CTkSplitterWnd::HideColumn(int colHide) {
  if (m_nHiddenCol >= 0 || m_nCols < 2 || colHide < 0 || colHide >= m_nCols) return;
  int rowActive = 0, colActive = 0;
  // The active view must not vanish with its column: its neighbour in the row takes over.
  if (GetActivePane(&rowActive, &colActive) && colActive == colHide)
    SetActivePane(rowActive, colHide + 1 < m_nCols ? colHide + 1 : 0);
  for (int row = 0; row < m_nRows; ++row) {
    CWnd* hide = GetPane(row, colHide);
    if (hide) hide->ShowWindow(SW_HIDE);
    for (int col = colHide + 1; col < m_nCols; ++col) {
      HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
      if (pane) ::SetWindowLongPtrA(pane, GWLP_ID, IdFromRowCol(row, col - 1));
    }
    // One past the new last column, where GetPane and the layout never look.
    if (hide) hide->SetDlgCtrlID(IdFromRowCol(row, m_nCols - 1));
  }
  m_nHiddenCol = colHide;
  --m_nCols;
  // The spare record beyond the last column keeps the width to restore.
  m_pColInfo[m_nCols].nCurSize = m_pColInfo[colHide].nCurSize;
  RecalcLayout();
}

void CTkSplitterWnd::ShowColumn() {
  if (m_nHiddenCol < 0) return;
  int colShow = m_nHiddenCol;
  int kept = m_pColInfo[m_nCols].nCurSize;
  m_nHiddenCol = -1;
  ++m_nCols;
  for (int row = 0; row < m_nRows; ++row) {
    HWND show = ::GetDlgItem(m_hWnd, IdFromRowCol(row, m_nCols - 1));
    for (int col = m_nCols - 2; col >= colShow; --col) {
      HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
      if (pane && pane != show) ::SetWindowLongPtrA(pane, GWLP_ID, IdFromRowCol(row, col + 1));
    }
    if (show) {
      ::SetWindowLongPtrA(show, GWLP_ID, IdFromRowCol(row, colShow));
      ::ShowWindow(show, SW_SHOWNA);
    }
  }
  for (int col = m_nCols - 1; col > colShow; --col)
    m_pColInfo[col].nIdealSize = m_pColInfo[col - 1].nCurSize;
  m_pColInfo[colShow].nIdealSize = kept;
  RecalcLayout();
}

void CTkSplitterWnd::HideRow(int rowHide) {
  if (m_nHiddenRow >= 0 || m_nRows < 2 || rowHide < 0 || rowHide >= m_nRows) return;
  int rowActive = 0, colActive = 0;
  if (GetActivePane(&rowActive, &colActive) && rowActive == rowHide)
    SetActivePane(rowHide + 1 < m_nRows ? rowHide + 1 : 0, colActive);
  for (int col = 0; col < m_nCols; ++col) {
    CWnd* hide = GetPane(rowHide, col);
    if (hide) hide->ShowWindow(SW_HIDE);
    for (int row = rowHide + 1; row < m_nRows; ++row) {
      HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
      if (pane) ::SetWindowLongPtrA(pane, GWLP_ID, IdFromRowCol(row - 1, col));
    }
    if (hide) hide->SetDlgCtrlID(IdFromRowCol(m_nRows - 1, col));
  }
  m_nHiddenRow = rowHide;
  --m_nRows;
  m_pRowInfo[m_nRows].nCurSize = m_pRowInfo[rowHide].nCurSize;
  RecalcLayout();
}

void CTkSplitterWnd::ShowRow() {
  if (m_nHiddenRow < 0) return;
  int rowShow = m_nHiddenRow;
  int kept = m_pRowInfo[m_nRows].nCurSize;
  m_nHiddenRow = -1;
  ++m_nRows;
  for (int col = 0; col < m_nCols; ++col) {
    HWND show = ::GetDlgItem(m_hWnd, IdFromRowCol(m_nRows - 1, col));
    for (int row = m_nRows - 2; row >= rowShow; --row) {
      HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
      if (pane && pane != show) ::SetWindowLongPtrA(pane, GWLP_ID, IdFromRowCol(row + 1, col));
    }
    if (show) {
      ::SetWindowLongPtrA(show, GWLP_ID, IdFromRowCol(rowShow, col));
      ::ShowWindow(show, SW_SHOWNA);
    }
  }
  for (int row = m_nRows - 1; row > rowShow; --row)
    m_pRowInfo[row].nIdealSize = m_pRowInfo[row - 1].nCurSize;
  m_pRowInfo[rowShow].nIdealSize = kept;
  RecalcLayout();
}

// --- views in a pane ---

BOOL CTkSplitterWnd::SwapViews(int row, int col, CWnd* pView) {
  CWnd* old = GetPane(row, col);
  if (!old || !pView || old == pView) return FALSE;
  old->ShowWindow(SW_HIDE);
  pView->ShowWindow(SW_HIDE);
  int oldId = old->GetDlgCtrlID();
  old->SetDlgCtrlID(pView->GetDlgCtrlID());
  pView->SetDlgCtrlID(oldId);
  old->ShowWindow(SW_SHOW);
  pView->ShowWindow(SW_SHOW);
  RecalcLayout();
  return TRUE;
}

CWnd* CTkSplitterWnd::SwitchView(int row, int col, CWnd* pView) {
  CWnd* old = GetPane(row, col);
  if (!old || !pView || old == pView) return nullptr;
  pView->SetDlgCtrlID(IdFromRowCol(row, col));
  old->SetDlgCtrlID(0);
  old->ShowWindow(SW_HIDE);
  pView->ShowWindow(SW_SHOW);
  RecalcLayout();
  return old;
}

CWnd* CTkSplitterWnd::ReplaceView(int row, int col, CRuntimeClass* pViewClass) {
  CWnd* old = GetPane(row, col);
  if (!old || !pViewClass || old->IsKindOf(pViewClass)) return nullptr;
  CObject* object = pViewClass->CreateObject();
  if (!object) return nullptr;
  if (!object->IsKindOf(RUNTIME_CLASS(CWnd))) {
    delete object;
    return nullptr;
  }
  CCreateContext context;
  if (old->IsKindOf(RUNTIME_CLASS(CView))) {
    context.m_pCurrentDoc = static_cast<CView*>(old)->GetDocument();
    if (context.m_pCurrentDoc) context.m_pNewDocTemplate = context.m_pCurrentDoc->GetDocTemplate();
  }
  int cyCur = 0, cyMin = 0, cxCur = 0, cxMin = 0;
  GetRowInfo(row, cyCur, cyMin);
  GetColumnInfo(col, cxCur, cxMin);
  auto* view = static_cast<CWnd*>(object);
  // The old view gives up its id first: the new one is created under it.
  old->SetDlgCtrlID(0);
  CRect empty(0, 0, 0, 0);
  if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, empty, this, IdFromRowCol(row, col),
                    &context)) {
    // A failed window freed its own object; the old view stays in the pane.
    old->SetDlgCtrlID(IdFromRowCol(row, col));
    return nullptr;
  }
  old->ShowWindow(SW_HIDE);
  SetRowInfo(row, cyCur, cyMin);
  SetColumnInfo(col, cxCur, cxMin);
  RecalcLayout();
  if (view->IsKindOf(RUNTIME_CLASS(CView))) static_cast<CView*>(view)->OnInitialUpdate();
  return old;
}

// --- look ---

void CTkSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rectArg) {
  if (!pDC) {
    ::RedrawWindow(m_hWnd, &rectArg, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    return;
  }
  COLORREF face = ::GetSysColor(COLOR_BTNFACE), shadow = ::GetSysColor(COLOR_BTNSHADOW);
  COLORREF hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT), frame = ::GetSysColor(COLOR_WINDOWFRAME);
  CRect rect(rectArg);
  switch (nType) {
    case splitBox:
      if (m_bFlatLook) {
        pDC->Draw3dRect(&rect, face, face);
        rect.InflateRect(-1, -1);
        pDC->Draw3dRect(&rect, shadow, hilite);
      } else {
        pDC->Draw3dRect(&rect, face, frame);
        rect.InflateRect(-1, -1);
        pDC->Draw3dRect(&rect, hilite, shadow);
      }
      rect.InflateRect(-1, -1);
      pDC->FillSolidRect(&rect, face);
      return;
    case splitBorder:
      if (!m_bFlatLook) {
        pDC->Draw3dRect(&rect, shadow, hilite);
        rect.InflateRect(-1, -1);
        pDC->Draw3dRect(&rect, frame, face);
      } else if (!(m_dwSplitterStyle & TKSPLIT_NOBORDER)) {
        pDC->Draw3dRect(&rect, face, face);
        rect.InflateRect(-1, -1);
        pDC->Draw3dRect(&rect, shadow, hilite);
      }
      return;
    default:
      pDC->FillSolidRect(&rect, face);
      return;
  }
}

void CTkSplitterWnd::OnInvertTracker(const CRect& rect) {
  CBrush* brush = m_bFlatLook ? CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)))
                              : CDC::GetHalftoneBrush();
  DrawTracker(rect, brush);
}

void CTkSplitterWnd::DrawTracker(const CRect& rectArg, CBrush* pBrush) {
  if (m_bFullDrag) return;
  CClientDC dc(this);
  CRect rect(rectArg);
  if (m_dwSplitterStyle & TKSPLIT_FOCUSTRACKER) {
    // The pane being sized, up to the tracker.
    CRect inside;
    GetInsideRect(inside);
    if (rect.Width() > rect.Height())
      inside.bottom = rect.top;
    else
      inside.right = rect.right;
    dc.DrawFocusRect(&inside);
    return;
  }
  if (rect.Height() > rect.Width())
    rect.left = rect.right - kTrackerThickness;
  else
    rect.bottom = rect.top + kTrackerThickness;
  CBrush* old = dc.SelectObject(pBrush);
  dc.PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
  if (old) dc.SelectObject(old);
}

// --- mouse ---

LRESULT CTkSplitterWnd::OnNcHitTest(CPoint point) {
  // A locked splitter is all border to the mouse, so no bar can be taken.
  if (m_dwSplitterStyle & TKSPLIT_NOSIZING) return HTBORDER;
  return CSplitterWnd::OnNcHitTest(point);
}

BOOL CTkSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (pWnd == this && nHitTest == HTCLIENT) {
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    int ht = m_bTracking ? m_htTrack : HitTest(pt);
    if (ht == vSplitterBox || (ht >= vSplitterBar1 && ht <= vSplitterBar15)) {
      ::SetCursor(TkVSplitCursor());
      return TRUE;
    }
    if (ht == hSplitterBox || (ht >= hSplitterBar1 && ht <= hSplitterBar15)) {
      ::SetCursor(TkHSplitCursor());
      return TRUE;
    }
  }
  return CSplitterWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CTkSplitterWnd::StartTracking(int ht) {
  if (m_dwSplitterStyle & TKSPLIT_NOSIZING) return;
  CSplitterWnd::StartTracking(ht);
}

void CTkSplitterWnd::OnLButtonDown(UINT nFlags, CPoint pt) {
  CSplitterWnd::OnLButtonDown(nFlags, pt);
  m_ptLast = CPoint(-1, -1);
}

void CTkSplitterWnd::OnLButtonUp(UINT nFlags, CPoint pt) {
  CSplitterWnd::OnLButtonUp(nFlags, pt);
  Invalidate();
}

void CTkSplitterWnd::MoveTrackers(CPoint pt) {
  bool rows = m_htTrack < hSplitterBar1 || m_htTrack >= splitterIntersection1;
  bool cols = m_htTrack >= hSplitterBar1;
  CRect& colTracker = m_bTracking2 ? m_rectTracker2 : m_rectTracker;
  if (rows) {
    int bottom = std::max(m_rectLimit.top, m_rectLimit.bottom - m_rectTracker.Height());
    int y = std::clamp(static_cast<int>(pt.y), static_cast<int>(m_rectLimit.top), bottom);
    m_rectTracker.OffsetRect(0, y - m_rectTracker.top);
  }
  if (cols) {
    int right = std::max(m_rectLimit.left, m_rectLimit.right - colTracker.Width());
    int x = std::clamp(static_cast<int>(pt.x), static_cast<int>(m_rectLimit.left), right);
    colTracker.OffsetRect(x - colTracker.left, 0);
  }
}

void CTkSplitterWnd::OnMouseMove(UINT nFlags, CPoint pt) {
  if (!m_bFullDrag || !m_bTracking) {
    CSplitterWnd::OnMouseMove(nFlags, pt);
    return;
  }
  if (::GetCapture() != m_hWnd) {
    StopTracking(FALSE);
    return;
  }
  // The panes follow the mouse: each move is applied as a release and taken up again as a
  // press, so the layout code that sizes on release does the work.
  CPoint offset = m_ptTrackOffset;
  int ht = m_htTrack;
  MoveTrackers(pt - offset);
  StopTracking(TRUE);
  StartTracking(ht);
  m_ptTrackOffset = offset;
  if (pt != m_ptLast) {
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    m_ptLast = pt;
  }
}

void CTkSplitterWnd::OnSettingChange(UINT, LPCSTR) { ReadFullDragSetting(); }

// --- CTkSplitterWndEx ---

IMPLEMENT_DYNAMIC(CTkSplitterWndEx, CTkSplitterWnd)

BEGIN_MESSAGE_MAP(CTkSplitterWndEx, CTkSplitterWnd)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CTkSplitterWndEx::CTkSplitterWndEx() {
  m_cxBorder = m_cyBorder = 0;
  m_cxSplitter = m_cySplitter = 4;
  m_cxSplitterGap = m_cySplitterGap = 4;
}

void CTkSplitterWndEx::SetTopEdge(BOOL bDraw, int nInset) {
  m_bDrawTopEdge = bDraw;
  m_nTopInset = std::max(0, nInset);
  RecalcLayout();
}

void CTkSplitterWndEx::GetInsideRect(CRect& rect) const {
  CTkSplitterWnd::GetInsideRect(rect);
  rect.top = std::min(rect.top + m_nTopInset, rect.bottom);
}

void CTkSplitterWndEx::RecalcLayout() {
  CTkSplitterWnd::RecalcLayout();
  if (!m_hWnd) return;
  constexpr int kEdgeGrowth = 2;
  for (int row = 0; row < m_nRows; ++row) {
    for (int col = 0; col < m_nCols; ++col) {
      CWnd* pane = GetPane(row, col);
      if (!pane || !((pane->GetExStyle() & WS_EX_CLIENTEDGE) ||
                     pane->IsKindOf(RUNTIME_CLASS(CSplitterWnd))))
        continue;
      CRect rect;
      pane->GetWindowRect(&rect);
      ScreenToClient(&rect);
      rect.InflateRect(kEdgeGrowth, kEdgeGrowth);
      ::SetWindowPos(pane->m_hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

BOOL CTkSplitterWndEx::OnEraseBkgnd(CDC* pDC) {
  // Only the strip above the panes shows; the panes and bars paint the rest.
  CRect strip;
  GetClientRect(&strip);
  strip.InflateRect(-m_cxBorder, -m_cyBorder);
  strip.bottom = std::min(strip.bottom, strip.top + m_nTopInset);
  pDC->FillSolidRect(&strip, ::GetSysColor(COLOR_BTNFACE));
  return TRUE;
}

void CTkSplitterWndEx::OnPaint() {
  CSplitterWnd::OnPaint();
  if (!m_bDrawTopEdge) return;
  CClientDC dc(this);
  CRect client;
  GetClientRect(&client);
  CRect line(client.left, client.top, client.right, client.top + 1);
  if (!ToolkitData().m_bFlatLook) dc.FillSolidRect(&line, ::GetSysColor(COLOR_BTNSHADOW));
  line.OffsetRect(0, 1);
  dc.FillSolidRect(&line, ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

void CTkSplitterWndEx::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rectArg) {
  if (!pDC) {
    CTkSplitterWnd::OnDrawSplitter(pDC, nType, rectArg);
    return;
  }
  if (nType == splitBorder) return;
  if (nType == splitBox) {
    // Always raised, whatever the look.
    CRect rect(rectArg);
    pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_WINDOWFRAME));
    rect.InflateRect(-1, -1);
    pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    rect.InflateRect(-1, -1);
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    return;
  }
  pDC->FillSolidRect(&rectArg, ::GetSysColor(COLOR_BTNFACE));
}
