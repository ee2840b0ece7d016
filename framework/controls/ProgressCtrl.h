// CProgressCtrl: progress bars ("msctls_progress32").
#pragma once
#include "framework/wnd/Wnd.h"

class CProgressCtrl : public CWnd {
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(PROGRESS_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
  }
  void SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
  void SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, nLower, nUpper); }
  void GetRange(int& nLower, int& nUpper) const {
    PBRANGE range = {};
    SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    nLower = range.iLow;
    nUpper = range.iHigh;
  }
  int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
  int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, nPos)); }
  int OffsetPos(int nPos) { return static_cast<int>(SendMessage(PBM_DELTAPOS, nPos)); }
  int SetStep(int nStep) { return static_cast<int>(SendMessage(PBM_SETSTEP, nStep)); }
  int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
  COLORREF SetBarColor(COLORREF clr) { return static_cast<COLORREF>(SendMessage(PBM_SETBARCOLOR, 0, clr)); }
  COLORREF SetBkColor(COLORREF clr) { return static_cast<COLORREF>(SendMessage(PBM_SETBKCOLOR, 0, clr)); }
};
