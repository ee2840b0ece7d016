// The dock bar's rows: what they hold, how thick and long they are, and the resizing the
// splitters drive.
#include "toolkit/docking/TkDockBar.h"

#include <algorithm>

#include "framework/frame/FrameWnd.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/docking/TkDockSplitter.h"

IMPLEMENT_DYNAMIC(CTkDockBar, CDockBar)

namespace {
// Every toolkit source registers both; registering a name twice gives the same number.
[[maybe_unused]] const UINT g_trayIconNotify = ::RegisterWindowMessageA("TkTrayIconNotify");
[[maybe_unused]] const UINT g_barContextMenu = ::RegisterWindowMessageA("TkBarContextMenu");

// The width of the strip a splitter takes between two bars of a row.
constexpr int kGap = 6;
}  // namespace

CTkDockBar::CTkDockBar() : CDockBar(FALSE) {}

CTkDockBar::~CTkDockBar() {
  RemoveAllSplitters();
}

CFrameWnd* CTkDockBar::GetDockSite() const {
  if (!m_hWnd) return nullptr;
  CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
  return (parent && parent->IsFrameWnd()) ? static_cast<CFrameWnd*>(parent) : nullptr;
}

void CTkDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  if (CTkDockSizing* sizing = TkDockSizingOf(pBar)) sizing->SetNewlyDocked(TRUE);
  CDockBar::DockControlBar(pBar, lpRect);
}

BOOL CTkDockBar::IsVisibleBar(CControlBar* pBar) const {
  return pBar && pBar->m_hWnd && pBar->IsVisible();
}

CTkDockSizing* CTkDockBar::GetDockWindow(CControlBar* pBar) const {
  return IsVisibleBar(pBar) ? TkDockSizingOf(pBar) : nullptr;
}

CSize CTkDockBar::DockedSizeOf(CControlBar* pBar) const {
  return pBar->CalcDynamicLayout(-1, IsHorz() ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
}

void CTkDockBar::ApplyDockedSize(CControlBar* pBar, const CSize& size) {
  CTkDockSizing* sizing = TkDockSizingOf(pBar);
  if (!sizing) return;
  sizing->SetDockedSize(size);
  if (pBar->m_hWnd) pBar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
}

BOOL CTkDockBar::IsLastInRow(int nPos) const {
  INT_PTR n = m_arrBars.GetSize();
  return nPos >= 0 && nPos < n - 1 && m_arrBars[nPos] != nullptr && m_arrBars[nPos + 1] == nullptr;
}

int CTkDockBar::GetRowStart(CControlBar* pBar) const {
  int pos = FindBar(pBar);
  if (pos < 0) return -1;
  while (pos > 0 && m_arrBars[pos - 1] != nullptr) --pos;
  return pos;
}

int CTkDockBar::GetRowEnd(int nPos) const {
  int n = static_cast<int>(m_arrBars.GetSize());
  int i = std::max(nPos, 0);
  while (i < n && m_arrBars[i] != nullptr) ++i;
  return i;
}

int CTkDockBar::GetNextVisible(int nPos) const {
  for (int i = nPos + 1, end = GetRowEnd(nPos); i < end; ++i)
    if (IsVisibleBar(GetDockedControlBar(i))) return i;
  return -1;
}

int CTkDockBar::GetDockWindowCount(int nPos, CControlBar* pExclude) const {
  int count = 0;
  for (int i = nPos, end = GetRowEnd(nPos); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar != pExclude && GetDockWindow(bar)) ++count;
  }
  return count;
}

int CTkDockBar::GetRowThickness(int nPos, CControlBar* pExclude) const {
  int thickness = 0;
  for (int i = nPos, end = GetRowEnd(nPos); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar == pExclude || !IsVisibleBar(bar)) continue;
    thickness = std::max(thickness, BreadthOf(DockedSizeOf(bar)));
  }
  return thickness;
}

int CTkDockBar::GetFixedBarThickness(int nPos, CControlBar* pExclude) const {
  int thickness = 2;
  for (int i = nPos, end = GetRowEnd(nPos); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar == pExclude || !IsVisibleBar(bar) || TkDockSizingOf(bar)) continue;
    thickness = std::max(thickness, BreadthOf(DockedSizeOf(bar)));
  }
  return thickness;
}

int CTkDockBar::GetDockWindowsLength(int nPos, CControlBar* pExclude) const {
  int length = 0;
  for (int i = nPos, end = GetRowEnd(nPos); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar == pExclude) continue;
    if (CTkDockSizing* sizing = GetDockWindow(bar)) length += LengthOf(sizing->GetCurrentSize());
  }
  return length;
}

int CTkDockBar::GetDockWindowsMinLength(int nPos, CControlBar* pExclude) const {
  int length = 0;
  for (int i = nPos, end = GetRowEnd(nPos); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (bar == pExclude) continue;
    if (CTkDockSizing* sizing = GetDockWindow(bar)) length += LengthOf(sizing->GetMinSize());
  }
  return length;
}

int CTkDockBar::GetFixedLength(int nPos, CControlBar* pExclude) const {
  if (nPos < 0 || nPos >= m_arrBars.GetSize() || !GetDockedControlBar(nPos)) return 0;
  int start = nPos;
  while (start > 0 && m_arrBars[start - 1] != nullptr) --start;
  // The gaps are counted as the layout pass places them, so the walk starts at the row's start
  // even when only the part from nPos on is wanted.
  int remaining = GetDockWindowCount(start);
  int seen = 0, length = 0;
  BOOL prevWasDock = FALSE;
  for (int i = start, end = GetRowEnd(start); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (!IsVisibleBar(bar)) continue;
    BOOL dock = TkDockSizingOf(bar) != nullptr;
    BOOL gap = FALSE;
    if (dock) {
      gap = seen > 0;
      ++seen;
      --remaining;
    } else {
      gap = prevWasDock && remaining > 0;
    }
    if (i >= nPos) {
      if (gap) length += kGap;
      if (!dock && bar != pExclude) length += LengthOf(DockedSizeOf(bar));
    }
    prevWasDock = dock;
  }
  return length;
}

CControlBar* CTkDockBar::GetNewDockWindow(int nPos) const {
  for (int i = nPos, end = GetRowEnd(nPos); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    CTkDockSizing* sizing = GetDockWindow(bar);
    if (sizing && sizing->IsNewlyDocked()) return bar;
  }
  return nullptr;
}

CControlBar* CTkDockBar::GetFirstDockWindow(int nPos) const {
  for (int i = nPos, end = GetRowEnd(nPos); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (GetDockWindow(bar)) return bar;
  }
  return nullptr;
}

CControlBar* CTkDockBar::GetExpandedWindow(int nPos) const {
  if (nPos < 0 || nPos >= m_arrBars.GetSize()) return nullptr;
  int start = nPos;
  while (start > 0 && m_arrBars[start - 1] != nullptr) --start;
  for (int i = start, end = GetRowEnd(start); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    CTkDockSizing* sizing = GetDockWindow(bar);
    if (sizing && sizing->IsExpanded() && !sizing->IsAlone()) return bar;
  }
  return nullptr;
}

int CTkDockBar::GetAvailableThickness() const {
  CFrameWnd* site = GetDockSite();
  if (!site) return 0;
  CRect client;
  site->GetClientRect(&client);
  auto heightOf = [site](UINT id, BOOL horz) {
    CControlBar* bar = site->GetControlBar(id);
    if (!bar || !bar->m_hWnd || !bar->IsWindowVisible()) return 0;
    CRect r;
    bar->GetWindowRect(&r);
    return static_cast<int>(horz ? r.Height() : r.Width());
  };
  if (!IsHorz())
    return client.Width() - heightOf(AFX_IDW_DOCKBAR_LEFT, FALSE) -
           heightOf(AFX_IDW_DOCKBAR_RIGHT, FALSE);
  return client.Height() - heightOf(AFX_IDW_DOCKBAR_TOP, TRUE) -
         heightOf(AFX_IDW_DOCKBAR_BOTTOM, TRUE) - heightOf(AFX_IDW_STATUS_BAR, TRUE);
}

int CTkDockBar::SetRowThickness(int nPos, int nThickness) {
  for (int i = nPos, end = GetRowEnd(nPos); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (!GetDockWindow(bar)) continue;
    ApplyDockedSize(bar, MakeSize(LengthOf(DockedSizeOf(bar)), nThickness));
  }
  return nThickness;
}

int CTkDockBar::ResizeBefore(int nPos, int nDelta) {
  int start = nPos;
  while (start > 0 && m_arrBars[start - 1] != nullptr) --start;
  for (int i = nPos - 1; i >= start && nDelta != 0; --i) {
    CControlBar* bar = GetDockedControlBar(i);
    CTkDockSizing* sizing = GetDockWindow(bar);
    if (!sizing) continue;
    CSize current = sizing->GetCurrentSize();
    int take = std::max(nDelta, LengthOf(sizing->GetMinSize()) - LengthOf(current));
    ApplyDockedSize(bar, MakeSize(LengthOf(current) + take, BreadthOf(current)));
    nDelta -= take;
  }
  return nDelta;
}

int CTkDockBar::ResizeAfter(int nPos, int nDelta) {
  for (int i = nPos, end = GetRowEnd(nPos); i < end && nDelta != 0; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    CTkDockSizing* sizing = GetDockWindow(bar);
    if (!sizing) continue;
    CSize current = sizing->GetCurrentSize();
    int take = std::max(nDelta, LengthOf(sizing->GetMinSize()) - LengthOf(current));
    ApplyDockedSize(bar, MakeSize(LengthOf(current) + take, BreadthOf(current)));
    nDelta -= take;
  }
  return nDelta;
}

void CTkDockBar::ExpandWindow(CControlBar* pBar, BOOL bRecalc) {
  CTkDockSizing* target = GetDockWindow(pBar);
  int start = GetRowStart(pBar);
  if (!target || start < 0) return;
  auto* tkBar = dynamic_cast<CTkControlBar*>(pBar);
  BOOL horz = tkBar ? tkBar->IsHorzDocked() : IsHorz();
  CSize docked = pBar->CalcDynamicLayout(-1, horz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
  int length = horz ? docked.cx : docked.cy;
  int end = GetRowEnd(start);
  for (int i = start; i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    CTkDockSizing* sizing = GetDockWindow(bar);
    if (sizing && bar != pBar) length += sizing->Minimize();
  }
  target->Expand(length);
  CFrameWnd* site = GetDockSite();
  if (bRecalc && site && end > 0 && GetDockWindow(GetDockedControlBar(end - 1)))
    site->RecalcLayout(TRUE);
}

void CTkDockBar::RestoreRow(CControlBar* pBar, BOOL bRecalc) {
  int start = pBar ? GetRowStart(pBar) : -1;
  if (start < 0) return;
  int end = GetRowEnd(start);
  for (int i = start; i < end; ++i)
    if (CTkDockSizing* sizing = GetDockWindow(GetDockedControlBar(i))) sizing->Restore();
  CFrameWnd* site = GetDockSite();
  if (bRecalc && site && end > 0 && GetDockWindow(GetDockedControlBar(end - 1)))
    site->RecalcLayout(TRUE);
}

void CTkDockBar::RemoveRowBorders(int nPos, DWORD dwBorder, BOOL bDockWindowsOnly) {
  int thickness = GetRowThickness(nPos);
  for (int i = nPos, end = GetRowEnd(nPos); i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (!IsVisibleBar(bar)) continue;
    if (TkDockSizingOf(bar)) {
      bar->SetBarStyle(bar->GetBarStyle() & ~dwBorder);
    } else if (!bDockWindowsOnly && !(m_dwDockBarStyle & TKDS_FLAT) &&
               BreadthOf(DockedSizeOf(bar)) == thickness) {
      bar->SetBarStyle(bar->GetBarStyle() & ~dwBorder);
    }
  }
}

int CTkDockBar::LayoutLength() const {
  if (!m_rectLayout.IsRectEmpty()) return IsHorz() ? m_rectLayout.Width() : m_rectLayout.Height();
  CFrameWnd* site = GetDockSite();
  if (!site) return 0;
  CRect client;
  site->GetClientRect(&client);
  return IsHorz() ? client.Width() : client.Height();
}

void CTkDockBar::DistributeRow(int nPos) {
  CControlBar* pNew = GetNewDockWindow(nPos);
  if (pNew) TkDockSizingOf(pNew)->SetNewlyDocked(FALSE);
  CControlBar* pExp = GetExpandedWindow(nPos);
  RestoreRow(pExp ? pExp : GetFirstDockWindow(nPos), TRUE);

  int thickness = GetRowThickness(nPos);
  int count = GetDockWindowCount(nPos);
  if (count == 0) return;
  int total = LayoutLength();
  if (count == 1) {
    CControlBar* only = GetFirstDockWindow(nPos);
    ApplyDockedSize(only, MakeSize(LengthOf(DockedSizeOf(only)), thickness));
    TkDockSizingOf(only)->Expand(total - GetFixedLength(nPos));
    return;
  }
  int spare = total - (GetFixedLength(nPos, pNew) + GetDockWindowsLength(nPos, pNew));
  if (pNew) {
    spare -= LengthOf(DockedSizeOf(pNew));
    --count;
  }
  for (int i = nPos, end = GetRowEnd(nPos); i < end && count > 0; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    CTkDockSizing* sizing = GetDockWindow(bar);
    if (!sizing || bar == pNew) continue;
    int share = spare / count;
    if (spare < 0) {
      // The later windows cannot shrink below their minimum: what they cannot take, this one
      // takes now.
      int rest = spare - share;
      int room = GetDockWindowsLength(i + 1, pNew) - GetDockWindowsMinLength(i + 1, pNew);
      if (rest + room < 1) share += rest + room;
    }
    int docked = LengthOf(DockedSizeOf(bar));
    int length = std::max(docked + share, LengthOf(sizing->GetMinSize()));
    spare -= length - docked;
    ApplyDockedSize(bar, MakeSize(length, thickness));
    --count;
  }
  if (pNew) {
    int docked = LengthOf(DockedSizeOf(pNew));
    int length = std::max(docked + spare, LengthOf(TkDockSizingOf(pNew)->GetMinSize()));
    ApplyDockedSize(pNew, MakeSize(length, thickness));
  }
  if (pExp) ExpandWindow(pNew ? pNew : pExp, TRUE);
}

void CTkDockBar::AddSplitter(const CRect& rect, int nType, BOOL bRowSplitter, int nIndex) {
  if (bRowSplitter)
    m_splitters.push_back(new CTkDockSplitter(this, rect, nType, nIndex));
  else
    m_splitters.push_back(new CTkDockLengthSplitter(this, rect, nType, nIndex));
}

void CTkDockBar::RemoveAllSplitters() {
  for (CTkDockSplitter* splitter : m_splitters) delete splitter;
  m_splitters.clear();
  m_nHovered = -1;
}

void CTkDockBar::SetSplitterLength(int nFirst, int nType, int nLength) {
  for (size_t i = static_cast<size_t>(std::max(nFirst, 0)); i < m_splitters.size(); ++i)
    if (m_splitters[i]->GetOrientation() == nType) m_splitters[i]->SetEnd(nLength);
}
