#include "toolkit/dialogs/TkEditAccelerator.h"

#include "toolkit/services/TkAccelManager.h"

CString CTkEditAccelerator::FormatCapture(BOOL bCtrl, BOOL bAlt, BOOL bShift, WORD key) {
  CString text;
  auto add = [&](LPCSTR part) {
    if (!text.IsEmpty()) text += "+";
    text += part;
  };
  if (bCtrl) add("Ctrl");
  if (bAlt) add("Alt");
  if (bShift) add("Shift");
  add(CTkAccelManager::GetKeyName(key));
  return text;
}

void CTkEditAccelerator::ResetKey() {
  m_bShift = m_bCtrl = m_bAlt = m_bComplete = FALSE;
  m_wKey = 0;
  if (GetSafeHwnd()) SetWindowText("");
}

BOOL CTkEditAccelerator::GetAccel(WORD& key, BOOL& bCtrl, BOOL& bAlt, BOOL& bShift) const {
  if (!m_bComplete) return FALSE;
  key = m_wKey;
  bCtrl = m_bCtrl;
  bAlt = m_bAlt;
  bShift = m_bShift;
  return TRUE;
}

BOOL CTkEditAccelerator::PreTranslateMessage(MSG* pMsg) {
  BOOL bDown = pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN;
  BOOL bUp = pMsg->message == WM_KEYUP || pMsg->message == WM_SYSKEYUP;
  if (!bDown && !bUp) return CEdit::PreTranslateMessage(pMsg);
  if (bDown && !(pMsg->lParam & (1 << 29)) && m_bComplete) ResetKey();
  if (!m_bComplete) {
    switch (pMsg->wParam) {
      case VK_SHIFT:
        m_bShift = bDown;
        break;
      case VK_CONTROL:
        m_bCtrl = bDown;
        break;
      case VK_MENU:
        m_bAlt = bDown;
        break;
      default:
        m_wKey = LOWORD(pMsg->wParam);
        if (bDown) m_bComplete = TRUE;
        break;
    }
  }
  SetWindowText(FormatCapture(m_bCtrl, m_bAlt, m_bShift, m_wKey));
  return TRUE;
}
