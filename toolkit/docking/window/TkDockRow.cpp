#include "toolkit/docking/window/TkDockRow.h"

#include <algorithm>
#include <vector>

#include "framework/docking/DockBar.h"
#include "framework/frame/FrameWnd.h"
#include "toolkit/docking/window/TkDockWindow.h"

namespace {

// The docking windows of the row that holds pWnd, in row order.
std::vector<CTkDockWindow*> RowOf(CDockBar* dock, CControlBar* pWnd) {
  std::vector<CTkDockWindow*> row;
  int at = dock->FindBar(pWnd);
  if (at < 0) return row;
  int start = at, end = at;
  while (start > 0 && dock->m_arrBars[start - 1] != nullptr) --start;
  while (end < dock->m_arrBars.GetSize() && dock->m_arrBars[end] != nullptr) ++end;
  for (int i = start; i < end; ++i) {
    CControlBar* bar = dock->GetDockedControlBar(i);
    if (bar && bar->IsVisible() && bar->IsKindOf(RUNTIME_CLASS(CTkDockWindow)))
      row.push_back(static_cast<CTkDockWindow*>(bar));
  }
  return row;
}

void Relayout(CDockBar* dock) {
  CWnd* frame = dock->GetParentFrame();
  if (frame && frame->IsFrameWnd()) static_cast<CFrameWnd*>(frame)->RecalcLayout();
}

}  // namespace

int TkRowLength(CDockBar* pDockBar, bool bLying) {
  CRect rect(0, 0, 0, 0);
  if (pDockBar && pDockBar->m_hWnd) pDockBar->GetClientRect(&rect);
  return bLying ? rect.Width() : rect.Height();
}

void TkExpandWindowInRow(CTkDockWindow* pWnd) {
  CDockBar* dock = pWnd->m_pDockBar;
  if (!dock || pWnd->IsSideFloating()) return;
  bool lying = pWnd->GetSide() == tkdock::Side::Lying;
  int used = 0;
  for (CTkDockWindow* other : RowOf(dock, pWnd)) {
    if (other == pWnd) continue;
    other->Minimize();
    used += other->GetMinLength();
  }
  pWnd->Expand(std::max(TkRowLength(dock, lying) - used, pWnd->GetMinLength()));
  Relayout(dock);
}

void TkRestoreRowOf(CTkDockWindow* pWnd) {
  CDockBar* dock = pWnd->m_pDockBar;
  if (!dock) return;
  for (CTkDockWindow* bar : RowOf(dock, pWnd)) bar->Restore();
  Relayout(dock);
}
