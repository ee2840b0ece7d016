// CListBox: lists of strings ("ListBox" class).
#pragma once
#include "framework/core/String.h"
#include "framework/wnd/Wnd.h"

class CListBox : public CWnd {
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
  }
  int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
  int AddString(LPCSTR s) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s))); }
  int InsertString(int nIndex, LPCSTR s) { return static_cast<int>(SendMessage(LB_INSERTSTRING, nIndex, reinterpret_cast<LPARAM>(s))); }
  int DeleteString(UINT nIndex) { return static_cast<int>(SendMessage(LB_DELETESTRING, nIndex)); }
  void ResetContent() { SendMessage(LB_RESETCONTENT); }
  int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
  int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(LB_SETCURSEL, nSelect)); }
  int GetSel(int nIndex) const { return static_cast<int>(SendMessage(LB_GETSEL, nIndex)); }
  int SetSel(int nIndex, BOOL bSelect = TRUE) { return static_cast<int>(SendMessage(LB_SETSEL, bSelect, nIndex)); }
  int GetSelCount() const { return static_cast<int>(SendMessage(LB_GETSELCOUNT)); }
  int GetTextLen(int nIndex) const { return static_cast<int>(SendMessage(LB_GETTEXTLEN, nIndex)); }
  void GetText(int nIndex, CString& rString) const {
    int n = GetTextLen(nIndex);
    if (n < 0) {
      rString.Empty();
      return;
    }
    char* buf = rString.GetBuffer(n + 1);
    SendMessage(LB_GETTEXT, nIndex, reinterpret_cast<LPARAM>(buf));
    rString.ReleaseBuffer(n);
  }
  DWORD_PTR GetItemData(int nIndex) const { return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, nIndex)); }
  int SetItemData(int nIndex, DWORD_PTR data) { return static_cast<int>(SendMessage(LB_SETITEMDATA, nIndex, static_cast<LPARAM>(data))); }
  int GetTopIndex() const { return static_cast<int>(SendMessage(LB_GETTOPINDEX)); }
  int SetTopIndex(int nIndex) { return static_cast<int>(SendMessage(LB_SETTOPINDEX, nIndex)); }
  int GetItemRect(int nIndex, LPRECT lpRect) const { return static_cast<int>(SendMessage(LB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(lpRect))); }
  int GetItemHeight(int nIndex) const { return static_cast<int>(SendMessage(LB_GETITEMHEIGHT, nIndex)); }
  int SetItemHeight(int nIndex, UINT cy) { return static_cast<int>(SendMessage(LB_SETITEMHEIGHT, nIndex, cy)); }
  int FindString(int nStartAfter, LPCSTR s) const { return static_cast<int>(SendMessage(LB_FINDSTRING, nStartAfter, reinterpret_cast<LPARAM>(s))); }
  int FindStringExact(int nStartAfter, LPCSTR s) const { return static_cast<int>(SendMessage(LB_FINDSTRINGEXACT, nStartAfter, reinterpret_cast<LPARAM>(s))); }
  int SelectString(int nStartAfter, LPCSTR s) { return static_cast<int>(SendMessage(LB_SELECTSTRING, nStartAfter, reinterpret_cast<LPARAM>(s))); }
  UINT ItemFromPoint(POINT pt, BOOL& bOutside) const {
    DWORD r = static_cast<DWORD>(SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y)));
    bOutside = HIWORD(r) != 0;
    return LOWORD(r);
  }
  // Owner-drawn lists: the parent's item messages arrive here (reflected).
  virtual void DrawItem(LPDRAWITEMSTRUCT) {}
  virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}
  virtual int CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
  virtual void DeleteItem(LPDELETEITEMSTRUCT) {}
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    LRESULT r = TRUE;
    switch (message) {
      case WM_DRAWITEM: DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); break;
      case WM_MEASUREITEM: MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)); break;
      case WM_COMPAREITEM: r = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)); break;
      case WM_DELETEITEM: DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)); break;
      default: return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
    if (pResult) *pResult = r;
    return TRUE;
  }
};
