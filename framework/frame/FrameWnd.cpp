#include "framework/frame/FrameWnd.h"

#include "framework/app/AfxResource.h"
#include "framework/docview/Document.h"
#include "framework/app/WinApp.h"
#include "framework/bars/ControlBar.h"
#include "framework/docview/View.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_CLOSE()
  ON_WM_SIZE()
  ON_WM_SETFOCUS()
  ON_WM_INITMENUPOPUP()
  ON_WM_MENUSELECT()
  ON_WM_ENTERIDLE()
  ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
  ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_COMMAND_EX_RANGE(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, OnBarCheck)
  ON_UPDATE_COMMAND_UI_RANGE(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST,
                             OnUpdateControlBarMenu)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
  // Bars that outlive the frame object must not call back into it.
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
    auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    bar->m_pDockSite = nullptr;
  }
  if (m_hAccelTable) ::DestroyAcceleratorTable(m_hAccelTable);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cs.lpszClass) {
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  }
  // The frame paints nothing itself: its children cover it.
  cs.style |= WS_CLIPCHILDREN;
  return CWnd::PreCreateWindow(cs);
}

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                       const RECT& rect, CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle,
                       CCreateContext* pContext) {
  m_strTitle = lpszWindowName ? lpszWindowName : "";
  // The frame's own styles live apart: the low word of a window's style is its class's.
  m_dwFrameStyle = dwStyle & (FWS_ADDTOTITLE | FWS_PREFIXTITLE | FWS_SNAPTOBARS);
  dwStyle &= ~(FWS_ADDTOTITLE | FWS_PREFIXTITLE | FWS_SNAPTOBARS);
  HMENU hMenu = nullptr;
  if (lpszMenuName) {
    hMenu = ::LoadMenuA(AfxGetResourceHandle(), lpszMenuName);
    if (!hMenu) return FALSE;
  }
  int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
  if (rect.left == CW_USEDEFAULT) cx = cy = CW_USEDEFAULT;
  if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, cx, cy,
                pParentWnd->GetSafeHwnd(), hMenu, pContext)) {
    if (hMenu) ::DestroyMenu(hMenu);
    return FALSE;
  }
  return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  CString title;
  title.LoadString(nIDResource);
  int lineEnd = title.Find('\n');
  if (lineEnd >= 0) title = title.Left(lineEnd);
  HINSTANCE res = AfxGetResourceHandle();
  HICON icon = ::LoadIconA(res, MAKEINTRESOURCEA(nIDResource));
  LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon);
  LPCSTR menu = ::FindResourceA(res, MAKEINTRESOURCEA(nIDResource), RT_MENU)
                    ? MAKEINTRESOURCEA(nIDResource)
                    : nullptr;
  if (!Create(cls, title, dwDefaultStyle, rectDefault, pParentWnd, menu, 0, pContext))
    return FALSE;
  if (!m_hAccelTable) m_hAccelTable = ::LoadAcceleratorsA(res, MAKEINTRESOURCEA(nIDResource));
  // Without a document the children get their first update now; with one, InitialUpdateFrame
  // gives it once the document is read.
  if (!pContext) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
  if (!OnCreateClient(lpcs, pContext)) return -1;
  RecalcLayout();
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (pContext && pContext->m_pNewViewClass) return CreateView(pContext) != nullptr;
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
  CObject* object = pContext->m_pNewViewClass->CreateObject();
  if (!object || !object->IsKindOf(RUNTIME_CLASS(CWnd))) {
    delete object;
    return nullptr;
  }
  auto* pView = static_cast<CWnd*>(object);
  CRect rect(0, 0, 0, 0);
  if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, rect, this, nID,
                     pContext)) {
    // A window that failed cleaned up after itself (PostNcDestroy), whether it never came or
    // came and went: the object must not be touched again.
    return nullptr;
  }
  return pView;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
  CView* pView = GetActiveView();
  if (!pView) {
    CWnd* pane = CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST));
    if (pane && pane->IsKindOf(RUNTIME_CLASS(CView))) {
      pView = static_cast<CView*>(pane);
      SetActiveView(pView, FALSE);
    }
  }
  SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  (void)pDoc;
  OnUpdateFrameTitle(TRUE);
  if (bMakeVisible) {
    CWinApp* app = AfxGetApp();
    int show = (app && app->m_pMainWnd == this) ? app->m_nCmdShow : SW_SHOW;
    ShowWindow(show == SW_HIDE ? SW_SHOW : show);
    UpdateWindow();
    if (pView) pView->SetFocus();
  }
}

void CFrameWnd::PostNcDestroy() { delete this; }

void CFrameWnd::OnDestroy() {
  SetActiveView(nullptr, FALSE);
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) {
    app->m_pMainWnd = nullptr;
    ::PostQuitMessage(0);
  }
  CWnd::OnDestroy();
}

void CFrameWnd::OnClose() {
  // A modified document is offered for saving; "Cancel" or a failed save keeps the frame.
  CDocument* pDoc = GetActiveDocument();
  if (pDoc && !pDoc->SaveModified()) return;
  DestroyWindow();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
  if (m_pViewActive && m_pViewActive->m_hWnd)
    m_pViewActive->SetFocus();
  else
    CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::RecalcLayout(BOOL) {
  if (m_bInRecalcLayout) return;  // a bar resizing during layout must not start another
  m_bInRecalcLayout = TRUE;
  m_nIdleFlags &= ~(idleLayout | idleNotify);
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposDefault);
  m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify) {
  m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0);
}

void CFrameWnd::AddControlBar(CControlBar* pBar) {
  if (!m_listControlBars.Find(pBar)) m_listControlBars.AddTail(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
  POSITION pos = m_listControlBars.Find(pBar);
  if (pos) m_listControlBars.RemoveAt(pos);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
  if (nID == 0) return nullptr;
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
    auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    if (bar->m_hWnd && static_cast<UINT>(bar->GetDlgCtrlID()) == nID) return bar;
  }
  return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
  if (!pBar) return;
  if (bDelay) {
    pBar->DelayShow(bShow);
    DelayRecalcLayout();
    return;
  }
  pBar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
  pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                         (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  // A floating bar's small frame comes and goes with it.
  CWnd* pBarFrame = pBar->IsFloating() ? pBar->GetParentFrame() : nullptr;
  if (pBarFrame && pBarFrame != this) pBarFrame->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
  RecalcLayout();
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
  CControlBar* bar = GetControlBar(nID);
  if (!bar) return FALSE;
  ShowControlBar(bar, !bar->IsVisible(), FALSE);
  return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
  CControlBar* bar = GetControlBar(pCmdUI->m_nID);
  if (!bar) {
    pCmdUI->ContinueRouting();
    return;
  }
  pCmdUI->Enable(TRUE);
  pCmdUI->SetCheck(bar->IsVisible() ? 1 : 0);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if (m_nIdleFlags & idleLayout) RecalcLayout((m_nIdleFlags & idleNotify) != 0);
  if (m_nIdleFlags & idleTitle) OnUpdateFrameTitle(TRUE);
  m_nIdleFlags = 0;
  return 0;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
  CView* pViewOld = m_pViewActive;
  if (pViewNew == pViewOld) return;
  m_pViewActive = nullptr;
  if (pViewOld && bNotify) pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
  m_pViewActive = pViewNew;
  if (pViewNew && bNotify) pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument() {
  return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if (!(m_dwFrameStyle & FWS_ADDTOTITLE)) return;
  CDocument* pDoc = GetActiveDocument();
  CString text = m_strTitle;
  if (bAddToTitle && pDoc && !pDoc->GetTitle().IsEmpty()) {
    if (m_dwFrameStyle & FWS_PREFIXTITLE)
      text = pDoc->GetTitle() + " - " + m_strTitle;
    else
      text = m_strTitle + " - " + pDoc->GetTitle();
  }
  CString current;
  GetWindowText(current);
  if (current != text) SetWindowText(text);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinApp* app = AfxGetApp();
  return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (m_hAccelTable && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
      ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg)) {
    return TRUE;
  }
  return CWnd::PreTranslateMessage(pMsg);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu) {
  if (bSysMenu) return;
  AfxUpdateMenuCmdUI(pMenu, this, m_bAutoMenuEnable);
}

CWnd* CFrameWnd::GetMessageBar() {
  return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR));
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
  rMessage.Empty();
  if (!rMessage.LoadString(nID)) return;
  int lineEnd = rMessage.Find('\n');
  if (lineEnd >= 0) rMessage = rMessage.Left(lineEnd);
}

void CFrameWnd::SetMessageText(LPCSTR lpszText) {
  SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, nID); }

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  UINT last = m_nIDLastMessage;
  CWnd* bar = GetMessageBar();
  if (bar) {
    CString text;
    if (lParam) {
      text = reinterpret_cast<LPCSTR>(lParam);
    } else if (wParam) {
      GetMessageString(static_cast<UINT>(wParam), text);
    }
    bar->SetWindowText(text);
  }
  m_nIDLastMessage = static_cast<UINT>(wParam);
  m_nIDTracking = static_cast<UINT>(wParam);
  return last;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam) {
  if (wParam) return OnSetMessageString(wParam, lParam);
  return OnSetMessageString(AFX_IDS_IDLEMESSAGE, 0);
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu) {
  if (nFlags == 0xFFFF && !hMenu) {
    // The menu closed: back to the idle text.
    m_nIDTracking = AFX_IDS_IDLEMESSAGE;
  } else if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP))) {
    m_nIDTracking = 0;  // nothing to say about separators and popups
  } else if (nItemID >= 0xF000 && nItemID < 0xF1F0) {
    // System commands map onto the framework's SC_ help strings.
    m_nIDTracking = 0xEF00 + ((nItemID - 0xF000) >> 4);
  } else {
    m_nIDTracking = nItemID;
  }
  if (m_nIDTracking != m_nIDLastMessage) SendMessage(WM_SETMESSAGESTRING, m_nIDTracking);
}

void CFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho) {
  CWnd::OnEnterIdle(nWhy, pWho);
  if (nWhy == MSGF_MENU && m_nIDTracking != m_nIDLastMessage)
    SendMessage(WM_SETMESSAGESTRING, m_nIDTracking);
}
