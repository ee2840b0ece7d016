// CAnimateCtrl: silent AVI clips ("SysAnimate32").
#pragma once
#include "framework/wnd/Wnd.h"

class CAnimateCtrl : public CWnd {
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(ANIMATE_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
  }
  // A clip from a file or (by id) from the current resource module.
  BOOL Open(LPCSTR lpszFileName) { return static_cast<BOOL>(SendMessage(ACM_OPENA, 0, reinterpret_cast<LPARAM>(lpszFileName))); }
  BOOL Open(UINT nID);
  BOOL Play(UINT nFrom, UINT nTo, UINT nRep) { return static_cast<BOOL>(SendMessage(ACM_PLAY, nRep, MAKELPARAM(nFrom, nTo))); }
  BOOL Stop() { return static_cast<BOOL>(SendMessage(ACM_STOP)); }
  BOOL Close() { return Open(static_cast<LPCSTR>(nullptr)); }
  BOOL Seek(UINT nTo) { return Play(nTo, nTo, 1); }
};
