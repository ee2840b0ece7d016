#include "ui/views/ViewShared.h"

#include "framework/docview/View.h"
#include "framework/frame/FrameWnd.h"
#include "framework/gdi/Menu.h"
#include "framework/splitter/SplitterWnd.h"
#include "framework/wnd/WindowDc.h"

CWnd* SplitterPane(CWnd* view, int levels, int row, int column) {
  if (!view || !view->m_hWnd) return nullptr;
  CWnd* splitter = view->GetParent();
  for (int i = 0; splitter && i < levels; ++i) splitter = splitter->GetParent();
  if (!splitter || !splitter->IsKindOf(RUNTIME_CLASS(CSplitterWnd))) return nullptr;
  return static_cast<CSplitterWnd*>(splitter)->GetPane(row, column);
}

bool IsPaneShown(CWnd* pane) { return pane && pane->m_hWnd && ::IsWindowVisible(pane->m_hWnd); }

void ActivatePane(CWnd* pane) {
  if (!pane || !pane->m_hWnd) return;
  CWnd* frame = pane->GetParentFrame();
  if (frame && frame->IsKindOf(RUNTIME_CLASS(CFrameWnd)) && pane->IsKindOf(RUNTIME_CLASS(CView)))
    static_cast<CFrameWnd*>(frame)->SetActiveView(static_cast<CView*>(pane));
  ::SetFocus(pane->m_hWnd);
}

void TrackViewContextMenu(CWnd* view, unsigned menuId, int x, int y) {
  CMenu menu;
  if (!menu.LoadMenu(menuId)) return;
  CMenu* popup = menu.GetSubMenu(0);
  if (!popup) return;
  CPoint point(x, y);
  if (point.x == -1 && point.y == -1) {
    point = CPoint(5, 5);
    view->ClientToScreen(&point);
  }
  CWnd* owner = view;
  while (owner && (owner->GetStyle() & WS_CHILD)) owner = owner->GetParent();
  AfxTrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, owner ? owner : view);
}
