#include "framework/splitter/SplitterWnd.h"

#include <algorithm>

#include "framework/gdi/Gdi.h"
#include "framework/docview/View.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"
#include "framework/wnd/WindowDc.h"

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_CANCELMODE()
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

namespace {
constexpr int kMaxRowCol = 16;  // the pane ids leave 16 per row
}

CSplitterWnd::CSplitterWnd() = default;

CSplitterWnd::~CSplitterWnd() {
  delete[] m_pRowInfo;
  delete[] m_pColInfo;
}

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle,
                                UINT nID) {
  if (m_hWnd || !pParentWnd || nRows < 1 || nCols < 1 || nRows > kMaxRowCol ||
      nCols > kMaxRowCol)
    return FALSE;
  delete[] m_pRowInfo;
  delete[] m_pColInfo;
  m_nRows = m_nMaxRows = nRows;
  m_nCols = m_nMaxCols = nCols;
  m_pRowInfo = new CRowColInfo[nRows]();
  m_pColInfo = new CRowColInfo[nCols]();
  LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  CRect rect(0, 0, 0, 0);
  return CWnd::Create(cls, nullptr, dwStyle | WS_CHILD | WS_CLIPCHILDREN, rect, pParentWnd, nID);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit,
                              CCreateContext* pContext) {
  if (!m_hWnd || row < 0 || col < 0 || row >= m_nRows || col >= m_nCols || !pViewClass ||
      GetPane(row, col))
    return FALSE;
  CObject* object = pViewClass->CreateObject();
  if (!object || !object->IsKindOf(RUNTIME_CLASS(CWnd))) {
    delete object;
    return FALSE;
  }
  m_pColInfo[col].nIdealSize = sizeInit.cx;
  m_pRowInfo[row].nIdealSize = sizeInit.cy;
  auto* pWnd = static_cast<CWnd*>(object);
  CRect rect(CPoint(0, 0), sizeInit);
  if (!pWnd->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, this, IdFromRowCol(row, col),
                    pContext)) {
    // A window that failed cleaned up after itself (PostNcDestroy), whether it never came or
    // came and went: the object must not be touched again.
    return FALSE;
  }
  return TRUE;
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const {
  cyCur = m_pRowInfo[row].nCurSize;
  cyMin = m_pRowInfo[row].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin) {
  m_pRowInfo[row].nIdealSize = std::max(0, cyIdeal);
  m_pRowInfo[row].nMinSize = std::max(0, cyMin);
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const {
  cxCur = m_pColInfo[col].nCurSize;
  cxMin = m_pColInfo[col].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
  m_pColInfo[col].nIdealSize = std::max(0, cxIdeal);
  m_pColInfo[col].nMinSize = std::max(0, cxMin);
}

void CSplitterWnd::GetInsideRect(CRect& rect) const {
  ::GetClientRect(m_hWnd, &rect);
  rect.InflateRect(-m_cxBorder, -m_cyBorder);
  if (rect.right < rect.left) rect.right = rect.left;
  if (rect.bottom < rect.top) rect.bottom = rect.top;
}

void CSplitterWnd::LayoutRowCol(CRowColInfo* pInfo, int nMax, int nSize, int nGap) {
  int remaining = nSize;
  for (int i = 0; i < nMax; ++i) {
    CRowColInfo& info = pInfo[i];
    int cur = (i == nMax - 1) ? remaining : std::min(info.nIdealSize, remaining);
    // A pane that cannot have its least size gets none, so that it is not drawn squeezed.
    if (cur < info.nMinSize && i != nMax - 1) cur = 0;
    info.nCurSize = std::max(0, cur);
    remaining = std::max(0, remaining - info.nCurSize - nGap);
  }
}

int CSplitterWnd::PanePos(const CRowColInfo* pInfo, int index, int start, int gap) const {
  for (int i = 0; i < index; ++i) start += pInfo[i].nCurSize + gap;
  return start;
}

void CSplitterWnd::RecalcLayout() {
  if (!m_hWnd || !m_pRowInfo) return;
  CRect inside;
  GetInsideRect(inside);
  LayoutRowCol(m_pRowInfo, m_nRows, inside.Height(), m_cySplitterGap);
  LayoutRowCol(m_pColInfo, m_nCols, inside.Width(), m_cxSplitterGap);
  HDWP hdwp = ::BeginDeferWindowPos(m_nRows * m_nCols);
  for (int row = 0; row < m_nRows; ++row) {
    int y = PanePos(m_pRowInfo, row, inside.top, m_cySplitterGap);
    for (int col = 0; col < m_nCols; ++col) {
      HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
      if (!pane) continue;
      int x = PanePos(m_pColInfo, col, inside.left, m_cxSplitterGap);
      hdwp = ::DeferWindowPos(hdwp, pane, nullptr, x, y, m_pColInfo[col].nCurSize,
                              m_pRowInfo[row].nCurSize, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  ::EndDeferWindowPos(hdwp);
  Invalidate();
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
  if (!m_hWnd || row < 0 || col < 0 || row >= m_nRows || col >= m_nCols) return nullptr;
  return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, IdFromRowCol(row, col)));
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol) const {
  if (!pWnd || !pWnd->m_hWnd || ::GetParent(pWnd->m_hWnd) != m_hWnd) return FALSE;
  int id = ::GetDlgCtrlID(pWnd->m_hWnd) - AFX_IDW_PANE_FIRST;
  int row = id / 16, col = id % 16;
  if (id < 0 || row >= m_nRows || col >= m_nCols) return FALSE;
  if (pRow) *pRow = row;
  if (pCol) *pCol = col;
  return TRUE;
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) {
  CWnd* pane = nullptr;
  CWnd* frame = GetParentFrame();
  if (frame && frame->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
    pane = static_cast<CFrameWnd*>(frame)->GetActiveView();
  if (!IsChildPane(pane, pRow, pCol)) pane = CWnd::FromHandlePermanent(::GetFocus());
  return IsChildPane(pane, pRow, pCol) ? pane : nullptr;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd) {
  CWnd* pane = pWnd ? pWnd : GetPane(row, col);
  if (!pane) return;
  CWnd* frame = GetParentFrame();
  if (frame && frame->IsKindOf(RUNTIME_CLASS(CFrameWnd)) && pane->IsKindOf(RUNTIME_CLASS(CView)))
    static_cast<CFrameWnd*>(frame)->SetActiveView(static_cast<CView*>(pane));
  else
    pane->SetFocus();
}

int CSplitterWnd::OnCreate(LPCREATESTRUCT lpcs) { return CWnd::OnCreate(lpcs); }

void CSplitterWnd::OnSize(UINT, int, int) { RecalcLayout(); }

void CSplitterWnd::OnPaint() {
  CPaintDC dc(this);
  CRect inside;
  GetInsideRect(inside);
  DrawAllSplitBars(&dc, inside.Width(), inside.Height());
}

void CSplitterWnd::DrawAllSplitBars(CDC* pDC, int, int) {
  CRect client;
  GetClientRect(&client);
  if (m_cxBorder > 0 || m_cyBorder > 0) OnDrawSplitter(pDC, splitBorder, client);
  for (int row = 0; row + 1 < m_nRows; ++row) {
    CRect bar;
    GetHitRect(vSplitterBar1 + row, bar);
    OnDrawSplitter(pDC, splitBar, bar);
  }
  for (int col = 0; col + 1 < m_nCols; ++col) {
    CRect bar;
    GetHitRect(hSplitterBar1 + col, bar);
    OnDrawSplitter(pDC, splitBar, bar);
  }
  for (int row = 0; row + 1 < m_nRows; ++row) {
    for (int col = 0; col + 1 < m_nCols; ++col) {
      CRect cross;
      GetHitRect(splitterIntersection1 + row * 15 + col, cross);
      OnDrawSplitter(pDC, splitIntersection, cross);
    }
  }
}

void CSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) {
  if (!pDC) {
    InvalidateRect(&rect, FALSE);
    return;
  }
  if (nType == splitBorder) {
    CRect edge(rect);
    pDC->Draw3dRect(&edge, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    edge.InflateRect(-1, -1);
    pDC->Draw3dRect(&edge, ::GetSysColor(COLOR_WINDOWFRAME), ::GetSysColor(COLOR_BTNFACE));
    return;
  }
  pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
}

void CSplitterWnd::OnInvertTracker(const CRect& rect) {
  CClientDC dc(this);
  CBrush* old = dc.SelectObject(CDC::GetHalftoneBrush());
  dc.PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
  if (old) dc.SelectObject(old);
}
