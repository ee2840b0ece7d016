// CComboBox: drop-down lists with or without an edit field ("ComboBox" class).
#pragma once
#include "framework/core/String.h"
#include "framework/wnd/Wnd.h"

class CComboBox : public CWnd {
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
  }
  int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
  int AddString(LPCSTR s) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s))); }
  int InsertString(int nIndex, LPCSTR s) { return static_cast<int>(SendMessage(CB_INSERTSTRING, nIndex, reinterpret_cast<LPARAM>(s))); }
  int DeleteString(UINT nIndex) { return static_cast<int>(SendMessage(CB_DELETESTRING, nIndex)); }
  void ResetContent() { SendMessage(CB_RESETCONTENT); }
  int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
  int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(CB_SETCURSEL, nSelect)); }
  int GetLBTextLen(int nIndex) const { return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, nIndex)); }
  void GetLBText(int nIndex, CString& rString) const {
    int n = GetLBTextLen(nIndex);
    if (n < 0) {
      rString.Empty();
      return;
    }
    char* buf = rString.GetBuffer(n + 1);
    SendMessage(CB_GETLBTEXT, nIndex, reinterpret_cast<LPARAM>(buf));
    rString.ReleaseBuffer(n);
  }
  DWORD_PTR GetItemData(int nIndex) const { return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, nIndex)); }
  int SetItemData(int nIndex, DWORD_PTR data) { return static_cast<int>(SendMessage(CB_SETITEMDATA, nIndex, static_cast<LPARAM>(data))); }
  int FindString(int nStartAfter, LPCSTR s) const { return static_cast<int>(SendMessage(CB_FINDSTRING, nStartAfter, reinterpret_cast<LPARAM>(s))); }
  int FindStringExact(int nStartAfter, LPCSTR s) const { return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, nStartAfter, reinterpret_cast<LPARAM>(s))); }
  int SelectString(int nStartAfter, LPCSTR s) { return static_cast<int>(SendMessage(CB_SELECTSTRING, nStartAfter, reinterpret_cast<LPARAM>(s))); }
  DWORD GetEditSel() const { return static_cast<DWORD>(SendMessage(CB_GETEDITSEL)); }
  BOOL SetEditSel(int nStart, int nEnd) { return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(nStart, nEnd))); }
  BOOL LimitText(int nMaxChars) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, nMaxChars)); }
  void ShowDropDown(BOOL bShow = TRUE) { SendMessage(CB_SHOWDROPDOWN, bShow); }
  BOOL GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
  void GetDroppedControlRect(LPRECT r) const { SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(r)); }
  int SetDroppedWidth(UINT nWidth) { return static_cast<int>(SendMessage(CB_SETDROPPEDWIDTH, nWidth)); }
  int GetItemHeight(int nIndex) const { return static_cast<int>(SendMessage(CB_GETITEMHEIGHT, nIndex)); }
  int SetItemHeight(int nIndex, UINT cy) { return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, nIndex, cy)); }
};
