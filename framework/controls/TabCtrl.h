// CTabCtrl: tabs ("SysTabControl32").
#pragma once
#include "framework/gdi/ImageList.h"
#include "framework/wnd/Wnd.h"

class CTabCtrl : public CWnd {
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(WC_TABCONTROLA, nullptr, dwStyle, rect, pParentWnd, nID);
  }
  int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
  LONG InsertItem(int nItem, LPCSTR lpszItem, int nImage = -1) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT | (nImage >= 0 ? TCIF_IMAGE : 0);
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    return static_cast<LONG>(SendMessage(TCM_INSERTITEMA, nItem, reinterpret_cast<LPARAM>(&item)));
  }
  BOOL DeleteItem(int nItem) { return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, nItem)); }
  BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
  BOOL GetItem(int nItem, TCITEMA* p) const { return static_cast<BOOL>(SendMessage(TCM_GETITEMA, nItem, reinterpret_cast<LPARAM>(p))); }
  BOOL SetItem(int nItem, TCITEMA* p) { return static_cast<BOOL>(SendMessage(TCM_SETITEMA, nItem, reinterpret_cast<LPARAM>(p))); }
  int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
  int SetCurSel(int nItem) { return static_cast<int>(SendMessage(TCM_SETCURSEL, nItem)); }
  BOOL GetItemRect(int nItem, LPRECT r) const { return static_cast<BOOL>(SendMessage(TCM_GETITEMRECT, nItem, reinterpret_cast<LPARAM>(r))); }
  void AdjustRect(BOOL bLarger, LPRECT r) { SendMessage(TCM_ADJUSTRECT, bLarger, reinterpret_cast<LPARAM>(r)); }
  int HitTest(TCHITTESTINFO* p) const { return static_cast<int>(SendMessage(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(p))); }
  HIMAGELIST SetImageList(CImageList* p) { return reinterpret_cast<HIMAGELIST>(SendMessage(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(p ? p->GetSafeHandle() : nullptr))); }
};
