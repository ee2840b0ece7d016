// CWnd's modal loop, used by dialogs and property sheets.
#include "framework/threads/WinThread.h"
#include "framework/wnd/Wnd.h"

int CWnd::RunModalLoop(DWORD dwFlags) {
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
  HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
  MSG msg;
  while (ContinueModal() && m_hWnd) {
    while (bIdle && ContinueModal() && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (bShowIdle) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        bShowIdle = FALSE;
      }
      if (!(dwFlags & MLF_NOIDLEMSG) && hWndOwner && lIdleCount == 0) {
        ::SendMessageA(hWndOwner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
      }
      // Idle work of the dialog: its bars and controls update their command state.
      if (lIdleCount == 0) SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
      if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++)) {
        bIdle = FALSE;
      }
    }
    if (!ContinueModal()) break;
    if (!AfxPumpMessage()) {
      // WM_QUIT ends the dialog and goes on to the loop outside.
      CWinThread* pThread = AfxGetThread();
      ::PostQuitMessage(pThread ? static_cast<int>(pThread->m_msgCur.wParam) : 0);
      m_bContinueModal = FALSE;
      break;
    }
    bIdle = TRUE;
    lIdleCount = 0;
  }
  return m_nModalResult;
}

void CWnd::EndModalLoop(int nResult) {
  m_nModalResult = nResult;
  if (m_bContinueModal) {
    m_bContinueModal = FALSE;
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the loop
  }
}

