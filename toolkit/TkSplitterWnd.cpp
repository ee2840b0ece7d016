#include "toolkit/TkSplitterWnd.h"

#include "framework/docview/View.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"

IMPLEMENT_DYNAMIC(CTkSplitterWnd, CSplitterWnd)

BEGIN_MESSAGE_MAP(CTkSplitterWnd, CSplitterWnd)
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

namespace {
// Hidden panes keep ids outside the grid so that GetPane never finds them.
constexpr int kHiddenIdBase = AFX_IDW_PANE_FIRST + 0xF0;
}  // namespace

CWnd* CTkSplitterWnd::GetHiddenPane(int row) const {
  if (m_nHiddenCol < 0 || row < 0 || row >= m_nRows) return nullptr;
  return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, kHiddenIdBase + row));
}

BOOL CTkSplitterWnd::HideColumn(int colHide) {
  if (m_nHiddenCol >= 0 || m_nCols < 2 || colHide < 0 || colHide >= m_nCols) return FALSE;
  CWnd* active = nullptr;
  CFrameWnd* frame = static_cast<CFrameWnd*>(GetParentFrame());
  if (frame) active = frame->GetActiveView();
  for (int row = 0; row < m_nRows; ++row) {
    CWnd* pane = GetPane(row, colHide);
    if (!pane) continue;
    // The active view must not vanish with its column: the next visible pane takes over.
    if (pane == active && frame) {
      CWnd* next = GetPane(row, colHide + 1 < m_nCols ? colHide + 1 : colHide - 1);
      if (next && next->IsKindOf(RUNTIME_CLASS(CView))) frame->SetActiveView(static_cast<CView*>(next));
    }
    pane->ShowWindow(SW_HIDE);
    pane->SetDlgCtrlID(kHiddenIdBase + row);
    for (int col = colHide + 1; col < m_nCols; ++col) {
      CWnd* right = GetPane(row, col);
      if (right) right->SetDlgCtrlID(IdFromRowCol(row, col - 1));
    }
  }
  m_hiddenInfo = m_pColInfo[colHide];
  for (int col = colHide + 1; col < m_nCols; ++col) m_pColInfo[col - 1] = m_pColInfo[col];
  m_nHiddenCol = colHide;
  --m_nCols;
  RecalcLayout();
  return TRUE;
}

BOOL CTkSplitterWnd::ShowColumn() {
  if (m_nHiddenCol < 0) return FALSE;
  int colShow = m_nHiddenCol;
  ++m_nCols;
  for (int col = m_nCols - 1; col > colShow; --col) m_pColInfo[col] = m_pColInfo[col - 1];
  m_pColInfo[colShow] = m_hiddenInfo;
  for (int row = 0; row < m_nRows; ++row) {
    for (int col = m_nCols - 1; col > colShow; --col) {
      CWnd* pane = GetPane(row, col - 1);
      if (pane) pane->SetDlgCtrlID(IdFromRowCol(row, col));
    }
    CWnd* hidden = CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, kHiddenIdBase + row));
    if (hidden) {
      hidden->SetDlgCtrlID(IdFromRowCol(row, colShow));
      hidden->ShowWindow(SW_SHOWNA);
    }
  }
  m_nHiddenCol = -1;
  RecalcLayout();
  return TRUE;
}

void CTkSplitterWnd::StartTracking(int ht) {
  if (m_dwSplitterStyle & TKSPLIT_NOSIZING) return;
  CSplitterWnd::StartTracking(ht);
}

BOOL CTkSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  // Bars the user cannot move do not offer the sizing cursor.
  if ((m_dwSplitterStyle & TKSPLIT_NOSIZING) && pWnd == this && nHitTest == HTCLIENT) {
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
  }
  return CSplitterWnd::OnSetCursor(pWnd, nHitTest, message);
}
