#include "toolkit/widgets/WgBrowseButton.h"

#include "toolkit/widgets/WgBrowseEdit.h"

UINT WgFindFreeControlId(HWND hDialog) {
  UINT id = 32767;
  while (id > 1 && ::GetDlgItem(hDialog, static_cast<int>(id))) --id;
  return id;
}

BOOL CWgBrowseButton::Create(CWnd* pDialog) {
  HWND edit = m_pEdit->m_hWnd;
  RECT rc;
  ::GetWindowRect(edit, &rc);
  ::MapWindowPoints(nullptr, pDialog->m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
  ::SetWindowPos(edit, nullptr, 0, 0, rc.right - rc.left - kWgBrowseRoom, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_nID = WgFindFreeControlId(pDialog->m_hWnd);
  RECT button = {rc.right - kWgBrowseButtonWidth, rc.top, rc.right, rc.bottom};
  if (!CButton::Create("...", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, button, pDialog,
                       m_nID))
    return FALSE;
  // Right after the edit in the tab order, which follows the z-order.
  ::SetWindowPos(m_hWnd, edit, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessage(WM_SETFONT, ::SendMessageA(edit, WM_GETFONT, 0, 0), FALSE);
  EnableWindow(pDialog->IsWindowEnabled());
  return TRUE;
}

BOOL CWgBrowseButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT* pResult) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == m_nID) {
    if (m_pEdit) m_pEdit->Browse();
    if (pResult) *pResult = 0;
    return TRUE;
  }
  return CButton::OnChildNotify(message, wParam, lParam, pResult);
}
