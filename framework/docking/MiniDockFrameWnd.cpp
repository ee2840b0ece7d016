#include "framework/docking/MiniDockFrameWnd.h"

#include "framework/wnd/MessageMap.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
  ON_WM_CLOSE()
END_MESSAGE_MAP()

BOOL CMiniFrameWnd::CreateMini(LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                               CWnd* pParentWnd) {
  LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  return CWnd::CreateEx(WS_EX_TOOLWINDOW, cls, lpszWindowName, dwStyle, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top,
                        pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr);
}

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
  CRect rect(0, 0, 0, 0);
  if (!CreateMini("", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, rect, pParent))
    return FALSE;
  DWORD align = (dwBarStyle & CBRS_ALIGN_ANY) ? (dwBarStyle & CBRS_ALIGN_ANY) : CBRS_ALIGN_TOP;
  return m_wndDockBar.Create(this, WS_CHILD | WS_VISIBLE | align, AFX_IDW_DOCKBAR_FLOAT);
}

void CMiniDockFrameWnd::RecalcLayout(BOOL) {
  if (m_bInRecalcLayout || !m_wndDockBar.m_hWnd) return;
  m_bInRecalcLayout = TRUE;
  // The caption names the bar it holds.
  for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
    CControlBar* bar = m_wndDockBar.GetDockedControlBar(i);
    if (!bar || !bar->m_hWnd || !bar->IsVisible()) continue;
    CString title, now;
    bar->GetWindowText(title);
    GetWindowText(now);
    if (title != now) SetWindowText(title);
    break;
  }
  CSize size = m_wndDockBar.CalcFixedLayout(FALSE, TRUE);
  m_wndDockBar.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  CRect rect(CPoint(0, 0), size);
  ::AdjustWindowRectEx(&rect, GetStyle(), FALSE, GetExStyle());
  SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(),
               SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  m_bInRecalcLayout = FALSE;
}

void CMiniDockFrameWnd::OnClose() {
  // Closing a floating bar's frame hides the bar; the bar stays for its show command.
  CWnd* owner = CWnd::FromHandlePermanent(::GetWindow(m_hWnd, GW_OWNER));
  for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
    CControlBar* bar = m_wndDockBar.GetDockedControlBar(static_cast<int>(i));
    if (bar && owner && owner->IsFrameWnd())
      static_cast<CFrameWnd*>(owner)->ShowControlBar(bar, FALSE, FALSE);
  }
  ShowWindow(SW_HIDE);
}
