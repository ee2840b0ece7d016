#include "toolkit/controls/TkTabCtrl.h"

#include "framework/bars/BarStyles.h"
#include "framework/docview/View.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/WindowDc.h"
#include "toolkit/ToolkitData.h"
#include "toolkit/gdi/TkMemDC.h"

IMPLEMENT_DYNAMIC(CTkTabCtrl, CWnd)

BEGIN_MESSAGE_MAP(CTkTabCtrl, CTabCtrl)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_NOTIFY_REFLECT_EX(TCN_SELCHANGING, OnSelChangingReflect)
  ON_NOTIFY_REFLECT_EX(TCN_SELCHANGE, OnSelChangeReflect)
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_RBUTTONDOWN()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SETTINGCHANGE()
  ON_WM_SYSCOLORCHANGE()
  ON_MESSAGE(WM_TK_TAB_INIT, OnDeferredInit)
  ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdate)
END_MESSAGE_MAP()

CTkTabCtrl::CTkTabCtrl() {
  SetTabWnd(this);
}

void CTkTabCtrl::ScheduleInit() {
  ++m_nInitCounter;
  m_bInitPending = TRUE;
  PostMessage(WM_TK_TAB_INIT, 0, m_nInitCounter);
}

int CTkTabCtrl::OnCreate(LPCREATESTRUCT lpcs) {
  if (CTabCtrl::OnCreate(lpcs) == -1) return -1;
  ScheduleInit();
  return 0;
}

void CTkTabCtrl::PreSubclassWindow() {
  CTabCtrl::PreSubclassWindow();
  ScheduleInit();
}

// A set-up posted before a newer one (or before a direct initial update) is stale.
LRESULT CTkTabCtrl::OnDeferredInit(WPARAM, LPARAM lParam) {
  if (static_cast<int>(lParam) != m_nInitCounter) return 0;
  if (m_bSendInitialUpdate) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  Initialise();
  return 0;
}

LRESULT CTkTabCtrl::OnInitialUpdate(WPARAM, LPARAM) {
  Initialise();
  return 0;
}

void CTkTabCtrl::OnDestroy() {
  while (!m_tabs.IsEmpty()) {
    auto* item = static_cast<CTkTabItem*>(m_tabs.RemoveHead());
    if (item->m_pWnd && ::IsWindow(item->m_pWnd->GetSafeHwnd())) item->m_pWnd->PostMessage(WM_CLOSE);
    delete item;
  }
  CTabCtrl::OnDestroy();
}

BOOL CTkTabCtrl::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  CWnd* pActive = GetActiveTabWnd();
  if (pActive && pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return CTabCtrl::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CTkTabCtrl::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    if ((pMsg->wParam == VK_TAB && bCtrl) || pMsg->wParam == VK_F6) {
      CWnd* pWnd = ::GetKeyState(VK_SHIFT) < 0 ? PreviousTab() : NextTab();
      if (pWnd) pWnd->SetFocus();
      return TRUE;
    }
  }
  return CTabCtrl::PreTranslateMessage(pMsg);
}

BOOL CTkTabCtrl::OnSelChangingReflect(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  SetRedraw(FALSE);
  OnSelChanging();
  return TRUE;
}

BOOL CTkTabCtrl::OnSelChangeReflect(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  OnSelChange();
  SetRedraw(TRUE);
  Invalidate(TRUE);
  UpdateWindow();
  return TRUE;
}

void CTkTabCtrl::OnWindowPosChanged(WINDOWPOS* pPos) {
  if (pPos->flags & SWP_HIDEWINDOW) {
    for (POSITION pos = m_tabs.GetHeadPosition(); pos;) {
      ReleaseActiveView(static_cast<CTkTabItem*>(m_tabs.GetNext(pos))->m_pWnd);
    }
  } else {
    for (POSITION pos = m_tabs.GetHeadPosition(); pos;) {
      ResizeTabWnd(static_cast<CTkTabItem*>(m_tabs.GetNext(pos))->m_pWnd);
    }
  }
  CTabCtrl::OnWindowPosChanged(pPos);
  if (m_bCondense) CondenseLabels();
}

void CTkTabCtrl::OnRButtonDown(UINT nFlags, CPoint point) {
  if (!m_nPopupMenuID) {
    CTabCtrl::OnRButtonDown(nFlags, point);
    return;
  }
  ClientToScreen(&point);
  CMenu menu;
  if (!menu.LoadMenu(m_nPopupMenuID)) return;
  HMENU hSub = ::GetSubMenu(menu.GetSafeHmenu(), m_nPopupSubMenu);
  CWnd* pTarget = m_pParentFrame ? static_cast<CWnd*>(m_pParentFrame) : GetParent();
  if (hSub) ::TrackPopupMenu(hSub, TPM_RIGHTBUTTON, point.x, point.y, 0, pTarget->GetSafeHwnd(), nullptr);
}

void CTkTabCtrl::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CTkMemDC mem(&dc, rcClient, ::GetSysColor(COLOR_BTNFACE));
  if (m_bPlainLook || !ToolkitData().m_bFlatLook) {
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(mem.GetSafeHdc()), 0);
    return;
  }
  int nSel = GetCurSel();
  if (GetItemCount() == 0) return;
  int nSaved = mem.SaveDC();
  CRect rcSel;
  if (nSel >= 0) GetItemRect(nSel, &rcSel);
  DWORD dwStyle = GetStyle();
  if (dwStyle & TCS_VERTICAL) {
    if (dwStyle & TCS_RIGHT) {
      DrawRightTabs(&mem, rcClient, rcSel);
    } else {
      DrawLeftTabs(&mem, rcClient, rcSel);
    }
  } else if (dwStyle & TCS_BOTTOM) {
    DrawBottomTabs(&mem, rcClient, rcSel);
  } else {
    DrawTopTabs(&mem, rcClient, rcSel);
  }
  if (m_bBorder) {
    CRect rcChild;
    GetChildRect(rcChild);
    rcChild.InflateRect(1, 1);
    COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    mem.Draw3dRect(&rcChild, clrShadow, clrShadow);
  }
  mem.RestoreDC(nSaved);
}

void CTkTabCtrl::OnSettingChange(UINT uFlags, LPCSTR lpszSection) {
  CTabCtrl::OnSettingChange(uFlags, lpszSection);
  ReadEdgeSize();
}

void CTkTabCtrl::OnSysColorChange() {
  CTabCtrl::OnSysColorChange();
  CreatePens();
}
