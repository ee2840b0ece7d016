// The menu bar's sizes: one row when docked, the toolbar's wrapping while floating, and the room
// of a maximised MDI child's icon and caption buttons.
#include <algorithm>
#include <vector>

#include "framework/docking/DockBar.h"
#include "framework/frame/FrameWnd.h"
#include "toolkit/menubar/TkMenuBar.h"
#include "toolkit/menubar/TkMenuBarGeometry.h"

CSize CTkMenuBar::CalcMenuBarSize() {
  std::vector<int> widths;
  int count = ButtonCount();
  for (int i = 0; i < count; ++i) {
    CRect item;
    GetItemRect(i, &item);
    widths.push_back(item.Width());
  }
  SIZE size = TkCalcMenuBarSize(widths.data(), static_cast<int>(widths.size()),
                                m_bMDIMaximized != FALSE, TkMenuBarSystemMetrics());
  return CSize(size.cx, size.cy);
}

CSize CTkMenuBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  SetWrapAll(!bHorz);
  CSize size = CTkToolBar::CalcFixedLayout(bStretch, bHorz);
  if (m_bStretch && IsDocked() && !bStretch) {
    CFrameWnd* frame = GetDockingFrame();
    CControlBar* dock = frame ? frame->GetControlBar(bHorz ? AFX_IDW_DOCKBAR_TOP
                                                            : AFX_IDW_DOCKBAR_LEFT)
                              : nullptr;
    if (dock && dock->m_hWnd) {
      CRect rect;
      dock->GetClientRect(&rect);
      if ((bHorz ? rect.Width() : rect.Height()) == 0) SendMessage(TB_AUTOSIZE);
      if (bHorz)
        size.cx = std::max<LONG>(size.cx, rect.Width());
      else
        size.cy = std::max<LONG>(size.cy, rect.Height());
    }
  }
  return size;
}

// Docked, the bar is one row as long as its buttons and, horizontally, as long as its dock bar
// (so that nothing docks beside a menu). A bar docked at a side keeps the toolbar's column: a
// row's size there would lie across the frame.
CSize CTkMenuBar::CalcDynamicLayout(int nLength, DWORD nMode) {
  if (IsDocked() && !(nMode & (LM_MRUWIDTH | LM_COMMIT))) {
    if (nMode & LM_VERTDOCK) return CalcFixedLayout(FALSE, FALSE);
    SetWrapAll(FALSE);
    CSize size = CalcMenuBarSize();
    if (m_bStretch && m_pDockBar && m_pDockBar->m_hWnd) {
      CRect rect;
      ::GetClientRect(m_pDockBar->m_hWnd, &rect);
      size.cx = std::max<LONG>(size.cx, rect.Width());
    }
    return size;
  }
  // Floating it is one row, until the user drags its frame to another width.
  if (nLength == -1 || !(nMode & LM_COMMIT))
    return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0 || IsFloating());
  return CTkToolBar::CalcDynamicLayout(nLength, nMode);
}

void CTkMenuBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  CRect window(lpncsp->rgrc[0]);
  Default();
  if (!m_hWndMDIClient || !m_bMDIMaximized) return;
  BOOL horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) || IsFloating();
  m_nButtonExtent = 0;
  int count = ButtonCount();
  for (int i = 0; i < count; ++i) {
    CRect item;
    GetItemRect(i, &item);
    m_nButtonExtent = std::max<int>(m_nButtonExtent, horizontal ? item.right + 2 : item.bottom + 2);
  }
  // The MDI rectangles in window coordinates, around the client room that the buttons leave.
  CRect client(lpncsp->rgrc[0]);
  AdjustForMDIButtons(client);
  lpncsp->rgrc[0] = client;
  client.OffsetRect(-window.left, -window.top);
  RECT rects[4];
  TkCalcMDIButtonRects(client, m_nButtonExtent, horizontal != FALSE,
                       (m_dwStyle & CBRS_ALIGN_RIGHT) != 0, TkMenuBarSystemMetrics(), rects);
  for (int i = 0; i < 4; ++i) m_rcMDI[i] = rects[i];
}

void CTkMenuBar::AdjustForMDIButtons(CRect& rect) {
  if (!m_bMDIMaximized) return;
  BOOL horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) || IsFloating();
  TkAdjustForMDIButtons(rect, m_nButtonExtent, horizontal != FALSE, TkMenuBarSystemMetrics());
}

void CTkMenuBar::CalcMDIButtonRects() {
  if (!m_hWnd) return;
  // The frame is worked out again; the non-client step places the rectangles.
  RecalcFrame();
}

int CTkMenuBar::HitTestMDIButton(CPoint point) {
  RECT rects[4] = {m_rcMDI[0], m_rcMDI[1], m_rcMDI[2], m_rcMDI[3]};
  return TkHitTestMDIButton(rects, point);
}

CPoint CTkMenuBar::ComputeTrackPoint(const CRect& rcButton, TPMPARAMS& params) {
  DWORD side = IsFloating() ? 0 : (m_dwStyle & CBRS_ALIGN_ANY);
  POINT point = TkComputeTrackPoint(side, rcButton, params);
  return CPoint(point);
}

void CTkMenuBar::OnSize(UINT nType, int cx, int cy) {
  CTkToolBar::OnSize(nType, cx, cy);
  if (m_bMDIMaximized) RecalcFrame();
}
