// The dock bar as a window: off-screen painting, the mouse on its splitters, and the menu of
// the frame's bars on a right click.
#include "framework/bars/ReBar.h"
#include "framework/bars/StatusBar.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"
#include "framework/wnd/WindowDc.h"
#include "resources/ids/ToolkitFrameIds.h"
#include "toolkit/TkReBar.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/docking/TkDockBar.h"
#include "toolkit/docking/TkDockSplitter.h"
#include "toolkit/gdi/TkMemDC.h"

BEGIN_MESSAGE_MAP(CTkDockBar, CDockBar)
ON_MESSAGE(WM_SIZEPARENT, OnTkSizeParent)
ON_WM_NCHITTEST()
ON_WM_SETCURSOR()
ON_WM_NCLBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_COMMAND(IDCANCEL, OnCancel)
ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

namespace {
// By name, so that the menu needs nothing of the menu bar's own header.
BOOL IsKindOfName(CObject* pObject, LPCSTR lpszName) {
  for (const CRuntimeClass* cls = pObject->GetRuntimeClass(); cls; cls = cls->m_pBaseClass)
    if (lstrcmpA(cls->m_lpszClassName, lpszName) == 0) return TRUE;
  return FALSE;
}

HCURSOR SplitterCursor(int nType) {
  UINT id =
      nType == TKSPLIT_HORZ ? CTkToolkitData::kTkVSplitCursor : CTkToolkitData::kTkHSplitCursor;
  HCURSOR cursor = ToolkitData().GetCursor(id);
  if (!cursor) cursor = ::LoadCursor(nullptr, nType == TKSPLIT_HORZ ? IDC_SIZENS : IDC_SIZEWE);
  return cursor;
}
}  // namespace

LRESULT CTkDockBar::OnTkSizeParent(WPARAM wParam, LPARAM lParam) {
  // The rows are shared out over the room the frame has left for this edge.
  m_rectLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam)->rect;
  return OnDockSizeParent(wParam, lParam);
}

void CTkDockBar::HitTestSplitters(CPoint ptScreen) {
  ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
  // While another window holds the mouse (a drag of its own), nothing here reacts.
  if (::GetCapture() != nullptr) return;
  CPoint point = ptScreen;
  ScreenToClient(&point);
  m_nHovered = -1;
  for (int i = 0; i < GetSplitterCount(); ++i) {
    CTkDockSplitter* splitter = GetSplitter(i);
    if (!splitter->GetRect().PtInRect(point)) continue;
    ::SetCursor(SplitterCursor(splitter->GetOrientation()));
    m_nHovered = i;
    break;
  }
}

LRESULT CTkDockBar::OnNcHitTest(CPoint point) {
  HitTestSplitters(point);
  if (m_nHovered >= 0) return HTBORDER;
  return CDockBar::OnNcHitTest(point);
}

BOOL CTkDockBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT) return CDockBar::OnSetCursor(pWnd, nHitTest, message);
  // The cursor HitTestSplitters chose stays.
  return FALSE;
}

void CTkDockBar::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (m_nHovered >= 0 && m_nHovered < GetSplitterCount() && GetDockingFrame()) {
    GetSplitter(m_nHovered)->BeginTrack(point);
    SetCapture();
    m_hWndPrevFocus = ::SetFocus(m_hWnd);
    m_bTracking = TRUE;
    return;
  }
  CDockBar::OnNcLButtonDown(nHitTest, point);
}

void CTkDockBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bTracking && m_nHovered >= 0 && m_nHovered < GetSplitterCount()) {
    GetSplitter(m_nHovered)->TrackTo(point);
    return;
  }
  CDockBar::OnMouseMove(nFlags, point);
}

void CTkDockBar::EndTracking() {
  m_bTracking = FALSE;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (m_hWndPrevFocus && ::IsWindow(m_hWndPrevFocus)) ::SetFocus(m_hWndPrevFocus);
  m_hWndPrevFocus = nullptr;
}

void CTkDockBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!m_bTracking) {
    CDockBar::OnLButtonUp(nFlags, point);
    return;
  }
  EndTracking();
  if (m_nHovered >= 0 && m_nHovered < GetSplitterCount()) GetSplitter(m_nHovered)->EndTrack(point);
}

void CTkDockBar::OnCancel() {
  if (!m_bTracking) return;
  // The line goes; no size changes.
  if (m_nHovered >= 0 && m_nHovered < GetSplitterCount()) GetSplitter(m_nHovered)->InvertTracker();
  EndTracking();
}

BOOL CTkDockBar::OnEraseBkgnd(CDC*) {
  return FALSE;
}

void CTkDockBar::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  if (client.IsRectEmpty()) return;
  CTkMemDC mem(&dc, client, ToolkitData().m_clrFace);
  CDC* target = mem.IsValid() ? static_cast<CDC*>(&mem) : &dc;
  if (IsWindowVisible() && GetDockedVisibleCount() > 0) DoPaint(target);
}

void CTkDockBar::DoPaint(CDC* pDC) {
  CDockBar::DoPaint(pDC);
  if (GetDockedCount() == 0) return;
  for (CTkDockSplitter* splitter : m_splitters) splitter->Draw(pDC);
}

HMENU CTkDockBar::BuildBarMenu(CFrameWnd* pFrame) {
  if (!pFrame) return nullptr;
  CPtrList bars;
  for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
    auto* bar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
    if (!bar->m_hWnd || bar->IsDockBar()) continue;
    if (IsKindOfName(bar, "CTkMenuBar") || bar->IsKindOf(RUNTIME_CLASS(CTkReBar)) ||
        bar->IsKindOf(RUNTIME_CLASS(CReBar)))
      continue;
    // The toolkit's toolbar counts as a toolkit bar although it grows from the framework's.
    if (bar->IsKindOf(RUNTIME_CLASS(CTkControlBar)) || bar->IsKindOf(RUNTIME_CLASS(CTkToolBar)) ||
        bar->IsKindOf(RUNTIME_CLASS(CStatusBar)))
      bars.AddHead(bar);
  }
  HMENU menu = ::CreatePopupMenu();
  auto append = [menu](CControlBar* bar, UINT fallback, BOOL alwaysFallback) {
    CString title;
    if (!alwaysFallback) bar->GetWindowText(title);
    if (title.IsEmpty()) title = TkLoadString(fallback);
    UINT flags = MF_STRING | (bar->IsWindowVisible() ? MF_CHECKED : MF_UNCHECKED);
    ::AppendMenuA(menu, flags, static_cast<UINT_PTR>(bar->GetDlgCtrlID()), title);
  };
  enum Group { kDockWindows, kToolBars, kOthers, kStatusBars };
  auto groupOf = [](CControlBar* bar) {
    if (TkDockSizingOf(bar)) return kDockWindows;
    if (bar->IsKindOf(RUNTIME_CLASS(CTkToolBar))) return kToolBars;
    if (bar->IsKindOf(RUNTIME_CLASS(CStatusBar))) return kStatusBars;
    return kOthers;
  };
  const UINT fallbacks[] = {IDS_TK_DOCKWINDOW_TITLE, IDS_TK_TOOLBAR_TITLE, IDS_TK_BAR_TITLE,
                            IDS_TK_STATUSBAR_TITLE};
  for (int group = kDockWindows; group <= kStatusBars; ++group) {
    if (group == kToolBars && ::GetMenuItemCount(menu) > 0)
      ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    for (POSITION pos = bars.GetHeadPosition(); pos;) {
      auto* bar = static_cast<CControlBar*>(bars.GetNext(pos));
      if (groupOf(bar) == group) append(bar, fallbacks[group], group == kStatusBars);
    }
  }
  int count = ::GetMenuItemCount(menu);
  // A separator with nothing after it is dropped.
  if (count > 0 && (::GetMenuState(menu, count - 1, MF_BYPOSITION) & MF_SEPARATOR))
    ::DeleteMenu(menu, --count, MF_BYPOSITION);
  if (count <= 0) {
    ::DestroyMenu(menu);
    return nullptr;
  }
  return menu;
}

void CTkDockBar::TrackBarMenu(HMENU hMenu, CPoint ptScreen, CWnd* pOwner) {
  ::TrackPopupMenu(hMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, 0,
                   pOwner->m_hWnd, nullptr);
}

void CTkDockBar::OnRButtonDown(UINT, CPoint point) {
  CFrameWnd* frame = GetDockSite();
  HMENU menu = BuildBarMenu(frame);
  if (!menu) return;
  ClientToScreen(&point);
  TrackBarMenu(menu, point, frame);
  ::DestroyMenu(menu);
}
