#include "toolkit/docking/TkDockSplitter.h"

#include <algorithm>

#include "framework/docking/DockBar.h"
#include "framework/frame/FrameWnd.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/docking/TkDockBar.h"

namespace {
[[maybe_unused]] const UINT g_trayIconNotify = ::RegisterWindowMessageA("TkTrayIconNotify");
[[maybe_unused]] const UINT g_barContextMenu = ::RegisterWindowMessageA("TkBarContextMenu");

// The dithered brush of the tracking line: inverting with it twice restores every pixel.
HBRUSH HalftoneBrush() {
  static HBRUSH brush = [] {
    WORD pattern[8];
    for (int i = 0; i < 8; ++i) pattern[i] = static_cast<WORD>(0x5555 << (i & 1));
    HBITMAP bitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
    HBRUSH made = ::CreatePatternBrush(bitmap);
    ::DeleteObject(bitmap);
    return made;
  }();
  return brush;
}

void Fill(CDC* pDC, int x, int y, int cx, int cy, int nColor) {
  pDC->FillSolidRect(x, y, cx, cy, ::GetSysColor(nColor));
}
}  // namespace

CTkDockSplitter::CTkDockSplitter(CTkDockBar* pDockBar, const CRect& rect, int nOrientation,
                                 int nIndex)
    : m_rect(rect), m_nOrientation(nOrientation), m_nIndex(nIndex), m_pDockBar(pDockBar) {}

void CTkDockSplitter::SetEnd(int nCoord) {
  if (m_nOrientation == TKSPLIT_VERT)
    m_rect.bottom = nCoord;
  else
    m_rect.right = nCoord;
}

void CTkDockSplitter::Draw(CDC* pDC) {
  pDC->FillSolidRect(&m_rect, ::GetSysColor(COLOR_BTNFACE));
  if ((m_pDockBar->GetDockBarStyle() & TKDS_FLAT) || ToolkitData().m_bFlatLook) return;
  const int x = m_rect.left, y = m_rect.top, w = m_rect.Width(), h = m_rect.Height();
  const int right = x + w, bottom = y + h;
  const BOOL outer = !(m_pDockBar->GetDockBarStyle() & TKDS_NO_OUTER_EDGE);
  if (m_nOrientation == TKSPLIT_VERT) {
    Fill(pDC, x, y, w - 1, 1, COLOR_BTNHIGHLIGHT);
    Fill(pDC, x, bottom - 1, w - 1, 1, COLOR_BTNSHADOW);
    Fill(pDC, x, y, 1, h, COLOR_BTNHIGHLIGHT);
    Fill(pDC, right - 2, y, 1, h, COLOR_BTNSHADOW);
    if (outer) Fill(pDC, right - 1, y, 1, h, COLOR_WINDOWFRAME);
  } else {
    Fill(pDC, x, y, 1, h - 1, COLOR_BTNHIGHLIGHT);
    Fill(pDC, right - 1, y, 1, h - 1, COLOR_BTNSHADOW);
    Fill(pDC, x, y, w - 1, 1, COLOR_BTNHIGHLIGHT);
    Fill(pDC, x, bottom - 2, w - 1, 1, COLOR_BTNSHADOW);
    if (outer) Fill(pDC, x, bottom - 1, w, 1, COLOR_WINDOWFRAME);
  }
}

BOOL CTkDockSplitter::InvertTracker() {
  CFrameWnd* frame = m_pDockBar->GetDockingFrame();
  if (!frame || !frame->m_hWnd) return FALSE;
  if (m_rectTrack.IsRectEmpty()) {
    if (CWnd* parent = m_pDockBar->GetParent()) parent->Invalidate(TRUE);
    return FALSE;
  }
  // Not GetDC: a frame that clips its children would hide the line wherever it crosses a bar.
  HDC dc = ::GetDCEx(frame->m_hWnd, nullptr, DCX_CACHE);
  if (!dc) return FALSE;
  BOOL solid = (m_pDockBar->GetDockBarStyle() & TKDS_FLAT) || ToolkitData().m_bFlatLook;
  HGDIOBJ old = ::SelectObject(dc, solid ? ::GetStockObject(WHITE_BRUSH) : HalftoneBrush());
  CRect line = m_rectTrack;
  if (line.Width() >= line.Height())
    line.DeflateRect(0, 1);
  else
    line.DeflateRect(1, 0);
  ::PatBlt(dc, line.left, line.top, line.Width(), line.Height(), PATINVERT);
  ::SelectObject(dc, old);
  ::ReleaseDC(frame->m_hWnd, dc);
  return TRUE;
}

void CTkDockSplitter::BeginTrack(CPoint ptScreen) {
  m_rectTrack = m_rect;
  m_pDockBar->ClientToScreen(&m_rectTrack);
  if (CFrameWnd* frame = m_pDockBar->GetDockingFrame()) frame->ScreenToClient(&m_rectTrack);
  m_ptLast = ptScreen;
  m_pDockBar->ScreenToClient(&m_ptLast);
  InitTrackLimits();
  InvertTracker();
}

int CTkDockSplitter::Clamp(int nDelta) const {
  return std::clamp(nDelta, std::min(m_nLowest - m_nCurrent, 0),
                    std::max(m_nHighest - m_nCurrent, 0));
}

void CTkDockSplitter::InitTrackLimits() {
  m_nStart = m_nCurrent = m_pDockBar->GetRowThickness(m_nIndex);
  m_nLowest = m_pDockBar->GetFixedBarThickness(m_nIndex);
  m_nHighest = m_nCurrent + std::max(m_pDockBar->GetAvailableThickness(), 0);
}

BOOL CTkDockSplitter::TrackTo(CPoint point) {
  if (!InvertTracker()) return FALSE;
  CSize step(0, 0);
  switch (m_pDockBar->GetDlgCtrlID()) {
    case AFX_IDW_DOCKBAR_TOP: {
      int d = Clamp(point.y - m_ptLast.y);
      m_nCurrent += d;
      step = CSize(0, d);
      break;
    }
    case AFX_IDW_DOCKBAR_LEFT: {
      int d = Clamp(point.x - m_ptLast.x);
      m_nCurrent += d;
      step = CSize(d, 0);
      break;
    }
    // On the right and bottom edges the row grows towards the frame's centre.
    case AFX_IDW_DOCKBAR_RIGHT: {
      int t = Clamp(-(point.x - m_ptLast.x));
      m_nCurrent += t;
      step = CSize(-t, 0);
      break;
    }
    case AFX_IDW_DOCKBAR_BOTTOM: {
      int t = Clamp(-(point.y - m_ptLast.y));
      m_nCurrent += t;
      step = CSize(0, -t);
      break;
    }
    default:
      break;
  }
  m_rectTrack.OffsetRect(step);
  m_ptLast += step;
  return InvertTracker();
}

BOOL CTkDockSplitter::EndTrack(CPoint point) {
  if (!TrackTo(point) || !InvertTracker()) return FALSE;
  if (m_nCurrent != m_nStart) {
    ApplyPosition();
    if (CFrameWnd* frame = m_pDockBar->GetDockingFrame()) frame->DelayRecalcLayout(TRUE);
  }
  return TRUE;
}

void CTkDockSplitter::ApplyPosition() {
  m_pDockBar->SetRowThickness(m_nIndex, m_nCurrent);
  if (CControlBar* expanded = m_pDockBar->GetExpandedWindow(m_nIndex))
    m_pDockBar->ExpandWindow(expanded, FALSE);
}

void CTkDockLengthSplitter::InitTrackLimits() {
  m_nStart = m_nCurrent = m_nOrientation == TKSPLIT_VERT ? m_rect.left : m_rect.top;
  CControlBar* before = m_pDockBar->GetDockedControlBar(m_nIndex);
  int rowStart = before ? m_pDockBar->GetRowStart(before) : -1;
  int next = m_pDockBar->GetNextVisible(m_nIndex);
  if (rowStart < 0 || next < 0) {
    m_nLowest = m_nHighest = m_nCurrent;
    return;
  }
  // What the bars up to the boundary need at least; the splitter's own gap belongs to the
  // part after it.
  int origin = m_pDockBar->IsHorz() ? 0 : -1;
  m_nLowest = origin + m_pDockBar->GetFixedLength(rowStart) - m_pDockBar->GetFixedLength(next) +
              m_pDockBar->GetDockWindowsMinLength(rowStart) -
              m_pDockBar->GetDockWindowsMinLength(next);
  m_nHighest = m_nCurrent + m_pDockBar->GetDockWindowsLength(next) -
               m_pDockBar->GetDockWindowsMinLength(next);
}

BOOL CTkDockLengthSplitter::TrackTo(CPoint point) {
  if (!InvertTracker()) return FALSE;
  BOOL sideways = m_nOrientation == TKSPLIT_VERT;
  int d = Clamp(sideways ? point.x - m_ptLast.x : point.y - m_ptLast.y);
  m_nCurrent += d;
  CSize step = sideways ? CSize(d, 0) : CSize(0, d);
  m_rectTrack.OffsetRect(step);
  m_ptLast += step;
  return InvertTracker();
}

void CTkDockLengthSplitter::ApplyPosition() {
  int delta = m_nCurrent - m_nStart;
  CControlBar* expanded = m_pDockBar->GetExpandedWindow(m_nIndex);
  m_pDockBar->ResizeBefore(m_nIndex + 1, delta);
  m_pDockBar->ResizeAfter(m_nIndex + 1, -delta);
  if (CTkDockSizing* sizing = TkDockSizingOf(expanded)) sizing->Restore();
}
