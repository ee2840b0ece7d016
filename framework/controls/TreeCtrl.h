// CTreeCtrl: the common controls' tree view ("SysTreeView32").
#pragma once
#include "framework/core/String.h"
#include "framework/gdi/ImageList.h"
#include "framework/wnd/Wnd.h"

class CTreeCtrl : public CWnd {
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(WC_TREEVIEWA, nullptr, dwStyle, rect, pParentWnd, nID);
  }
  HTREEITEM InsertItem(LPCSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST) {
    TVINSERTSTRUCTA tvis = {};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = TVIF_TEXT;
    tvis.item.pszText = const_cast<LPSTR>(lpszItem);
    return InsertItem(&tvis);
  }
  HTREEITEM InsertItem(LPCSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST) {
    TVINSERTSTRUCTA tvis = {};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tvis.item.pszText = const_cast<LPSTR>(lpszItem);
    tvis.item.iImage = nImage;
    tvis.item.iSelectedImage = nSelectedImage;
    return InsertItem(&tvis);
  }
  HTREEITEM InsertItem(TVINSERTSTRUCTA* p) { return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(p))); }
  BOOL DeleteItem(HTREEITEM h) { return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(h))); }
  BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }
  UINT GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
  HTREEITEM GetNextItem(HTREEITEM h, UINT nCode) const { return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(h))); }
  HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
  HTREEITEM GetChildItem(HTREEITEM h) const { return GetNextItem(h, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM h) const { return GetNextItem(h, TVGN_NEXT); }
  HTREEITEM GetParentItem(HTREEITEM h) const { return GetNextItem(h, TVGN_PARENT); }
  HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
  BOOL SelectItem(HTREEITEM h) { return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(h))); }
  BOOL Expand(HTREEITEM h, UINT nCode) { return static_cast<BOOL>(SendMessage(TVM_EXPAND, nCode, reinterpret_cast<LPARAM>(h))); }
  BOOL EnsureVisible(HTREEITEM h) { return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(h))); }
  BOOL GetItem(TVITEMA* p) const { return static_cast<BOOL>(SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(p))); }
  BOOL SetItem(TVITEMA* p) { return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(p))); }
  CString GetItemText(HTREEITEM h) const {
    char buf[1024] = "";
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = h;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    GetItem(&item);
    return CString(buf);
  }
  BOOL SetItemText(HTREEITEM h, LPCSTR text) {
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = h;
    item.pszText = const_cast<LPSTR>(text);
    return SetItem(&item);
  }
  DWORD_PTR GetItemData(HTREEITEM h) const {
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = h;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
  }
  BOOL SetItemData(HTREEITEM h, DWORD_PTR data) {
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = h;
    item.lParam = static_cast<LPARAM>(data);
    return SetItem(&item);
  }
  UINT GetItemState(HTREEITEM h, UINT nMask) const { return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(h), nMask)); }
  BOOL SetItemState(HTREEITEM h, UINT nState, UINT nMask) {
    TVITEMA item = {};
    item.mask = TVIF_STATE;
    item.hItem = h;
    item.state = nState;
    item.stateMask = nMask;
    return SetItem(&item);
  }
  BOOL ItemHasChildren(HTREEITEM h) const { return GetChildItem(h) != nullptr; }
  HTREEITEM HitTest(TVHITTESTINFO* p) const { return reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(p))); }
  BOOL GetItemRect(HTREEITEM h, LPRECT r, BOOL bTextOnly) const {
    *reinterpret_cast<HTREEITEM*>(r) = h;
    return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, bTextOnly, reinterpret_cast<LPARAM>(r)));
  }
  HIMAGELIST SetImageList(CImageList* pImageList, int nImageListType) {
    return reinterpret_cast<HIMAGELIST>(SendMessage(TVM_SETIMAGELIST, nImageListType, reinterpret_cast<LPARAM>(pImageList ? pImageList->GetSafeHandle() : nullptr)));
  }
  BOOL SortChildren(HTREEITEM h) { return static_cast<BOOL>(SendMessage(TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(h))); }
};
