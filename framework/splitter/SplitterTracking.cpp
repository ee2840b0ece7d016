// Hit testing and the mouse drag of a splitter bar: the tracker outline follows the mouse within
// the limits of the two panes beside the bar; the sizes change when the button is released.
#include <algorithm>

#include "framework/splitter/SplitterWnd.h"

void CSplitterWnd::GetHitRect(int ht, CRect& rect) const {
  CRect inside;
  GetInsideRect(inside);
  rect.SetRectEmpty();
  int row = -1, col = -1;
  if (ht >= vSplitterBar1 && ht <= vSplitterBar15) row = ht - vSplitterBar1;
  if (ht >= hSplitterBar1 && ht <= hSplitterBar15) col = ht - hSplitterBar1;
  if (ht >= splitterIntersection1 && ht <= splitterIntersection225) {
    row = (ht - splitterIntersection1) / 15;
    col = (ht - splitterIntersection1) % 15;
  }
  if (row >= m_nRows - 1 || col >= m_nCols - 1) return;
  CRect bar(inside);
  if (row >= 0) {
    bar.top = PanePos(m_pRowInfo, row, inside.top, m_cySplitterGap) + m_pRowInfo[row].nCurSize;
    bar.bottom = bar.top + m_cySplitterGap;
  }
  if (col >= 0) {
    bar.left = PanePos(m_pColInfo, col, inside.left, m_cxSplitterGap) + m_pColInfo[col].nCurSize;
    bar.right = bar.left + m_cxSplitterGap;
  }
  if (row >= 0 || col >= 0) rect = bar;
}

int CSplitterWnd::HitTest(CPoint pt) const {
  CRect inside;
  GetInsideRect(inside);
  if (!m_pRowInfo || !inside.PtInRect(pt)) return noHit;
  int row = -1, col = -1;
  for (int r = 0; r + 1 < m_nRows && r < 15; ++r) {
    CRect bar;
    GetHitRect(vSplitterBar1 + r, bar);
    if (pt.y >= bar.top && pt.y < bar.bottom) row = r;
  }
  for (int c = 0; c + 1 < m_nCols && c < 15; ++c) {
    CRect bar;
    GetHitRect(hSplitterBar1 + c, bar);
    if (pt.x >= bar.left && pt.x < bar.right) col = c;
  }
  if (row >= 0 && col >= 0) return splitterIntersection1 + row * 15 + col;
  if (row >= 0) return vSplitterBar1 + row;
  if (col >= 0) return hSplitterBar1 + col;
  return noHit;
}

void CSplitterWnd::StartTracking(int ht) {
  if (ht < vSplitterBar1 || ht > splitterIntersection225) return;
  CRect inside;
  GetInsideRect(inside);
  m_htTrack = ht;
  m_rectLimit = inside;
  m_bTracking2 = FALSE;
  if (ht >= splitterIntersection1) {
    int row = (ht - splitterIntersection1) / 15, col = (ht - splitterIntersection1) % 15;
    GetHitRect(vSplitterBar1 + row, m_rectTracker);
    GetHitRect(hSplitterBar1 + col, m_rectTracker2);
    m_bTracking2 = TRUE;
  } else {
    GetHitRect(ht, m_rectTracker);
  }
  if (m_rectTracker.IsRectEmpty()) return;
  SetCapture();
  m_bTracking = TRUE;
  OnInvertTracker(m_rectTracker);
  if (m_bTracking2) OnInvertTracker(m_rectTracker2);
}

void CSplitterWnd::TrackRowSize(int y, int row) {
  int top = PanePos(m_pRowInfo, row, m_rectLimit.top, m_cySplitterGap);
  int size = std::max(0, y - top);
  // The row below keeps its bottom edge unless it is the last one, which takes the rest anyway.
  if (row + 2 < m_nRows) {
    int below = m_pRowInfo[row].nCurSize + m_pRowInfo[row + 1].nCurSize - size;
    m_pRowInfo[row + 1].nIdealSize = std::max(0, below);
  }
  m_pRowInfo[row].nIdealSize = size;
}

void CSplitterWnd::TrackColumnSize(int x, int col) {
  int left = PanePos(m_pColInfo, col, m_rectLimit.left, m_cxSplitterGap);
  int size = std::max(0, x - left);
  if (col + 2 < m_nCols) {
    int right = m_pColInfo[col].nCurSize + m_pColInfo[col + 1].nCurSize - size;
    m_pColInfo[col + 1].nIdealSize = std::max(0, right);
  }
  m_pColInfo[col].nIdealSize = size;
}

void CSplitterWnd::StopTracking(BOOL bAccept) {
  if (!m_bTracking) return;
  OnInvertTracker(m_rectTracker);
  if (m_bTracking2) OnInvertTracker(m_rectTracker2);
  m_bTracking = FALSE;
  ::ReleaseCapture();
  if (!bAccept) return;
  int ht = m_htTrack;
  if (ht >= vSplitterBar1 && ht <= vSplitterBar15)
    TrackRowSize(m_rectTracker.top, ht - vSplitterBar1);
  if (ht >= hSplitterBar1 && ht <= hSplitterBar15)
    TrackColumnSize(m_rectTracker.left, ht - hSplitterBar1);
  if (ht >= splitterIntersection1) {
    TrackRowSize(m_rectTracker.top, (ht - splitterIntersection1) / 15);
    TrackColumnSize(m_rectTracker2.left, (ht - splitterIntersection1) % 15);
  }
  RecalcLayout();
}

BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (pWnd != this || nHitTest != HTCLIENT) return CWnd::OnSetCursor(pWnd, nHitTest, message);
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  int ht = m_bTracking ? m_htTrack : HitTest(pt);
  LPCSTR cursor = IDC_ARROW;
  if (ht == vSplitterBox || (ht >= vSplitterBar1 && ht <= vSplitterBar15)) cursor = IDC_SIZENS;
  if (ht == hSplitterBox || (ht >= hSplitterBar1 && ht <= hSplitterBar15)) cursor = IDC_SIZEWE;
  if (ht == bothSplitterBox || ht >= splitterIntersection1) cursor = IDC_SIZEALL;
  ::SetCursor(::LoadCursor(nullptr, cursor));
  return TRUE;
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint pt) {
  if (m_bTracking) return;
  int ht = HitTest(pt);
  if (ht < vSplitterBar1) return;
  StartTracking(ht);
  // The grab offset keeps the tracker where the mouse took the bar.
  const CRect& colTracker = m_bTracking2 ? m_rectTracker2 : m_rectTracker;
  m_ptTrackOffset = CPoint(pt.x - colTracker.left, pt.y - m_rectTracker.top);
}

void CSplitterWnd::OnMouseMove(UINT, CPoint pt) {
  if (!m_bTracking) return;
  if (::GetCapture() != m_hWnd) {
    StopTracking(FALSE);
    return;
  }
  int x = pt.x - m_ptTrackOffset.x, y = pt.y - m_ptTrackOffset.y;
  bool rows = m_htTrack < hSplitterBar1 || m_htTrack >= splitterIntersection1;
  bool cols = m_htTrack >= hSplitterBar1;
  CRect& colTracker = m_bTracking2 ? m_rectTracker2 : m_rectTracker;
  if (rows) {
    int bottom = std::max(m_rectLimit.top, m_rectLimit.bottom - m_rectTracker.Height());
    y = std::clamp(y, static_cast<int>(m_rectLimit.top), bottom);
    if (y != m_rectTracker.top) {
      OnInvertTracker(m_rectTracker);
      m_rectTracker.OffsetRect(0, y - m_rectTracker.top);
      OnInvertTracker(m_rectTracker);
    }
  }
  if (cols) {
    int right = std::max(m_rectLimit.left, m_rectLimit.right - colTracker.Width());
    x = std::clamp(x, static_cast<int>(m_rectLimit.left), right);
    if (x != colTracker.left) {
      OnInvertTracker(colTracker);
      colTracker.OffsetRect(x - colTracker.left, 0);
      OnInvertTracker(colTracker);
    }
  }
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint) { StopTracking(TRUE); }

void CSplitterWnd::OnCancelMode() {
  StopTracking(FALSE);
  CWnd::OnCancelMode();
}

void CSplitterWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (m_bTracking && nChar == VK_ESCAPE)
    StopTracking(FALSE);
  else
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}
