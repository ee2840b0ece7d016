// CWinThread's message loop, idle work and the PreTranslateMessage route.
#include "framework/threads/WinThread.h"
#include "framework/gdi/TempMaps.h"
#include "framework/wnd/Wnd.h"

CWnd* AfxGetMainWnd() {
  CWinThread* pThread = AfxGetThread();
  return pThread ? pThread->GetMainWnd() : nullptr;
}

BOOL AfxPreTranslateMessage(MSG* pMsg) {
  if (CWinThread* pThread = AfxGetThread()) return pThread->PreTranslateMessage(pMsg);
  return CWnd::WalkPreTranslateTree(nullptr, pMsg);
}

BOOL AfxPumpMessage() {
  if (CWinThread* pThread = AfxGetThread()) return pThread->PumpMessage();
  MSG msg;
  if (::GetMessageA(&msg, nullptr, 0, 0) <= 0) return FALSE;
  if (!AfxPreTranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return TRUE;
}

int CWinThread::Run() {
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  for (;;) {
    while (bIdle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(lIdleCount++)) bIdle = FALSE;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(&m_msgCur)) {
        bIdle = TRUE;
        lIdleCount = 0;
      }
    } while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
  }
}

int CWinThread::ExitInstance() {
  return static_cast<int>(m_msgCur.wParam);
}

BOOL CWinThread::PumpMessage() {
  BOOL got = ::GetMessageA(&m_msgCur, nullptr, 0, 0);
  if (got == 0) return FALSE;
  if (got == -1) return TRUE;  // a bad window handle in the filter; nothing to dispatch
  if (!PreTranslateMessage(&m_msgCur)) {
    ::TranslateMessage(&m_msgCur);
    ::DispatchMessageA(&m_msgCur);
  }
  return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  if (!pMsg->hwnd) {
    // A thread message: the thread's own map (ON_THREAD_MESSAGE).
    const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), pMsg->message, 0, 0);
    if (!e) return FALSE;
    AFX_MSGCALL call = {pMsg->message, pMsg->wParam, pMsg->lParam, 0, 0, nullptr};
    return e->pfn(this, call);
  }
  CWnd* pMainWnd = GetMainWnd();
  HWND hMain = pMainWnd ? pMainWnd->m_hWnd : nullptr;
  if (CWnd::WalkPreTranslateTree(hMain, pMsg)) return TRUE;
  // A window outside the main window's tree (a modeless dialog of the desktop, say) still
  // lets the main window see its keys (accelerators).
  if (pMainWnd && pMsg->hwnd != hMain && !::IsChild(hMain, pMsg->hwnd)) {
    return pMainWnd->PreTranslateMessage(pMsg);
  }
  return FALSE;
}

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    CWnd* pMainWnd = GetMainWnd();
    if (pMainWnd && pMainWnd->m_hWnd && pMainWnd->IsWindowVisible()) {
      AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
      pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    }
    return TRUE;  // once more, to free the temporary objects
  }
  CWnd::DeleteTempMap();
  AfxDeleteTempGdiMaps();
  return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
    if (pMsg->message == m_nMsgLast && pMsg->pt.x == m_ptCursorLast.x &&
        pMsg->pt.y == m_ptCursorLast.y) {
      return FALSE;
    }
    m_ptCursorLast = pMsg->pt;
    m_nMsgLast = pMsg->message;
    return TRUE;
  }
  return pMsg->message != WM_PAINT && pMsg->message != 0x0118;  // the caret's blink timer
}
