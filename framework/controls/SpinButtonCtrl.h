// CSpinButtonCtrl: up-down arrows ("msctls_updown32"), often with a buddy edit field.
#pragma once
#include "framework/wnd/Wnd.h"

class CSpinButtonCtrl : public CWnd {
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(UPDOWN_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
  }
  void SetRange(short nLower, short nUpper) { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower)); }
  void SetRange32(int nLower, int nUpper) { SendMessage(UDM_SETRANGE32, nLower, nUpper); }
  void GetRange32(int& nLower, int& nUpper) const { SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nLower), reinterpret_cast<LPARAM>(&nUpper)); }
  int GetPos() const { return static_cast<int>(SendMessage(UDM_GETPOS32)); }
  int SetPos(int nPos) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, nPos)); }
  CWnd* SetBuddy(CWnd* pWndBuddy) { return FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(pWndBuddy ? pWndBuddy->m_hWnd : nullptr)))); }
  CWnd* GetBuddy() const { return FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY))); }
  int SetBase(int nBase) { return static_cast<int>(SendMessage(UDM_SETBASE, nBase)); }
  BOOL SetAccel(int nAccel, UDACCEL* pAccel) { return static_cast<BOOL>(SendMessage(UDM_SETACCEL, nAccel, reinterpret_cast<LPARAM>(pAccel))); }
};
