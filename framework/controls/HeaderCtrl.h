// CHeaderCtrl: column headers ("SysHeader32"), usually the list view's own.
#pragma once
#include "framework/wnd/Wnd.h"

class CHeaderCtrl : public CWnd {
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(WC_HEADERA, nullptr, dwStyle, rect, pParentWnd, nID);
  }
  int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
  int InsertItem(int nPos, HDITEMA* p) { return static_cast<int>(SendMessage(HDM_INSERTITEMA, nPos, reinterpret_cast<LPARAM>(p))); }
  BOOL DeleteItem(int nPos) { return static_cast<BOOL>(SendMessage(HDM_DELETEITEM, nPos)); }
  BOOL GetItem(int nPos, HDITEMA* p) const { return static_cast<BOOL>(SendMessage(HDM_GETITEMA, nPos, reinterpret_cast<LPARAM>(p))); }
  BOOL SetItem(int nPos, HDITEMA* p) { return static_cast<BOOL>(SendMessage(HDM_SETITEMA, nPos, reinterpret_cast<LPARAM>(p))); }
  BOOL GetItemRect(int nIndex, LPRECT r) const { return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(r))); }
  int HitTest(HDHITTESTINFO* p) const { return static_cast<int>(SendMessage(HDM_HITTEST, 0, reinterpret_cast<LPARAM>(p))); }
};
