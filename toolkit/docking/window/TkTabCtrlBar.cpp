#include "toolkit/docking/window/TkTabCtrlBar.h"

#include "framework/docview/View.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"

IMPLEMENT_DYNAMIC(CTkTabCtrlBar, CTkDockWindow)

BEGIN_MESSAGE_MAP(CTkTabCtrlBar, CTkDockWindow)
  ON_WM_CREATE()
  ON_WM_WINDOWPOSCHANGING()
  ON_MESSAGE(WM_TK_TAB_SELCHANGED, OnTabSelChangeMsg)
  ON_MESSAGE(WM_TK_TAB_SELCHANGING, OnTabSelChangingMsg)
END_MESSAGE_MAP()

CTkTabCtrlBar::CTkTabCtrlBar() {
  // Views added before the bar exists get their first update from the control's deferred
  // set-up, views added later at once.
  m_wndTabCtrl.SetCondenseLabels(TRUE);
  m_wndTabCtrl.SetSendInitialUpdate(TRUE);
}

CTkTabCtrlBar::~CTkTabCtrlBar() {
  // The bar's window goes before its tab control, which is its child window.
  if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
}

int CTkTabCtrlBar::OnCreate(LPCREATESTRUCT lpcs) {
  if (CTkDockWindow::OnCreate(lpcs) == -1) return -1;
  CRect empty(0, 0, 0, 0);
  if (!m_wndTabCtrl.Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TCS_TOOLTIPS | TCS_BOTTOM,
                           empty, this, ID_TK_TABCTRLBAR_TABS))
    return -1;
  SetChild(&m_wndTabCtrl);
  return 0;
}

void CTkTabCtrlBar::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
  CTkDockWindow::OnWindowPosChanging(lpwndpos);
  if ((lpwndpos->flags & SWP_HIDEWINDOW) || !m_wndTabCtrl.m_hWnd) return;
  BOOL clips = (m_wndTabCtrl.GetStyle() & WS_CLIPCHILDREN) != 0;
  // Docked the control keeps its pages out of its own painting; floating it repaints them all.
  if (!IsSideFloating()) {
    if (!clips) m_wndTabCtrl.ModifyStyle(0, WS_CLIPCHILDREN);
  } else if (clips) {
    m_wndTabCtrl.ModifyStyle(WS_CLIPCHILDREN, 0);
  }
}

void CTkTabCtrlBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CTkDockWindow::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
  CWnd* frameWnd = GetParentFrame();
  // A floating bar lives in its own frame: the view it holds was active in the main one.
  if (frameWnd && IsSideFloating()) frameWnd = GetDockingFrame();
  if (!frameWnd || !frameWnd->IsFrameWnd()) return;
  auto* frame = static_cast<CFrameWnd*>(frameWnd);
  CView* active = frame->GetActiveView();
  if (!active || !active->m_hWnd || !::IsChild(m_hWnd, active->m_hWnd)) return;
  // While the focus is in the bar its view may stay the frame's active one.
  if (!IsSideFloating() && IsActive()) return;
  CView* previous = m_wndTabCtrl.GetPrevActiveView();
  if (previous && ::IsWindow(previous->m_hWnd))
    frame->SetActiveView(previous, TRUE);
  else
    frame->SetActiveView(nullptr, FALSE);
}

LRESULT CTkTabCtrlBar::OnTabSelChange(WPARAM, LPARAM lParam) {
  CWnd* owner = GetOwner();
  if (!owner) owner = GetParent();
  return owner ? owner->SendMessage(WM_TK_TAB_SELCHANGED, static_cast<WPARAM>(GetDlgCtrlID()),
                                    lParam)
               : 0;
}

LRESULT CTkTabCtrlBar::OnTabSelChanging(WPARAM, LPARAM lParam) {
  CWnd* owner = GetOwner();
  if (!owner) owner = GetParent();
  return owner ? owner->SendMessage(WM_TK_TAB_SELCHANGING, static_cast<WPARAM>(GetDlgCtrlID()),
                                    lParam)
               : 0;
}

HIMAGELIST CTkTabCtrlBar::SetTabImageList(CImageList* pImageList) {
  return GetTabCtrl()->SetImageList(pImageList);
}
void CTkTabCtrlBar::SetTabPopupMenu(UINT nMenuID, int nSubMenu) {
  GetTabCtrl()->SetTabPopupMenu(nMenuID, nSubMenu);
}
UINT CTkTabCtrlBar::GetTabPopupMenu() const { return GetTabCtrl()->GetTabPopupMenu(); }
void CTkTabCtrlBar::GetChildRect(CRect& rect) const { GetTabCtrl()->GetChildRect(rect); }
void CTkTabCtrlBar::ResizeTabWnd(CWnd* pWnd) { GetTabCtrl()->ResizeTabWnd(pWnd); }
void CTkTabCtrlBar::ApplyTabFont() { GetTabCtrl()->ApplyTabFont(); }
BOOL CTkTabCtrlBar::ModifyTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return GetTabCtrl()->ModifyTabStyle(dwRemove, dwAdd, nFlags);
}
CWnd* CTkTabCtrlBar::GetToolTips() const { return GetTabCtrl()->GetToolTips(); }
void CTkTabCtrlBar::SetToolTips(CWnd* pToolTip) { GetTabCtrl()->SetToolTips(pToolTip); }
void CTkTabCtrlBar::AddToolTip(UINT nID, LPCSTR lpszText) {
  GetTabCtrl()->AddToolTip(nID, lpszText);
}
void CTkTabCtrlBar::SetTabToolTip(int nIndex, LPCSTR lpszText) {
  GetTabCtrl()->SetTabToolTip(nIndex, lpszText);
}
void CTkTabCtrlBar::SetTabToolTip(CRuntimeClass* pClass, LPCSTR lpszText) {
  GetTabCtrl()->SetTabToolTip(pClass, lpszText);
}
void CTkTabCtrlBar::ResetToolTips() { GetTabCtrl()->ResetToolTips(); }
BOOL CTkTabCtrlBar::ActivateToolTips(BOOL bActivate) {
  return GetTabCtrl()->EnableToolTipsForTabs(bActivate);
}
BOOL CTkTabCtrlBar::AddView(LPCSTR lpszLabel, CRuntimeClass* pViewClass, CDocument* pDoc,
                            CCreateContext* pContext, int nIndex) {
  return GetTabCtrl()->AddView(lpszLabel, pViewClass, pDoc, pContext, nIndex, -1);
}
BOOL CTkTabCtrlBar::AddView(LPCSTR lpszLabel, CWnd* pWnd, int nIndex, int nImage) {
  return GetTabCtrl()->AddView(lpszLabel, pWnd, nIndex, nImage);
}
BOOL CTkTabCtrlBar::AddControl(LPCSTR lpszLabel, CWnd* pWnd, int nIndex) {
  return GetTabCtrl()->AddControl(lpszLabel, pWnd, nIndex);
}
CWnd* CTkTabCtrlBar::GetTabWnd(CRuntimeClass* pClass) const {
  return GetTabCtrl()->GetTabWnd(pClass);
}
CWnd* CTkTabCtrlBar::GetTabWnd(int nIndex) const { return GetTabCtrl()->GetTabWnd(nIndex); }
CWnd* CTkTabCtrlBar::GetActiveTabWnd() const { return GetTabCtrl()->GetActiveTabWnd(); }
void CTkTabCtrlBar::SetActiveTab(CRuntimeClass* pClass) { GetTabCtrl()->SetActiveTab(pClass); }
void CTkTabCtrlBar::SetActiveTab(CWnd* pWnd) { GetTabCtrl()->SetActiveTab(pWnd); }
void CTkTabCtrlBar::SetActiveTab(int nIndex) { GetTabCtrl()->SetActiveTab(nIndex); }
void CTkTabCtrlBar::DeleteTab(int nIndex, BOOL bDestroy) {
  GetTabCtrl()->DeleteTab(nIndex, bDestroy);
}
void CTkTabCtrlBar::DeleteTab(CWnd* pWnd, BOOL bDestroy) {
  GetTabCtrl()->DeleteTab(pWnd, bDestroy);
}
void CTkTabCtrlBar::DeleteTab(CRuntimeClass* pClass, BOOL bDestroy) {
  GetTabCtrl()->DeleteTab(pClass, bDestroy);
}
LPCSTR CTkTabCtrlBar::GetTabLabel(int nIndex) const { return GetTabCtrl()->GetTabLabel(nIndex); }
LPCSTR CTkTabCtrlBar::GetTabLabel(CRuntimeClass* pClass) const {
  return GetTabCtrl()->GetTabLabel(pClass);
}
BOOL CTkTabCtrlBar::DeleteAllTabs() { return GetTabCtrl()->DeleteAllTabs(); }
int CTkTabCtrlBar::HitTestTab(CPoint point) const { return GetTabCtrl()->HitTestTab(point); }
BOOL CTkTabCtrlBar::IsTabWnd(CWnd* pWnd) const { return GetTabCtrl()->IsTabWnd(pWnd); }
