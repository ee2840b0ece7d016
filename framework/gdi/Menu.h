// CMenu: a menu or popup menu handle. A CMenu that created, loaded or attached its menu destroys
// it with itself; menus reached through FromHandle or GetSubMenu are temporary wrappers that
// never destroy theirs (a submenu is destroyed with the menu that holds it).
#pragma once
#include <windows.h>

#include "framework/core/Object.h"
#include "framework/gdi/HandleMap.h"

class CString;
class CBitmap;

class CMenu : public CObject {
  DECLARE_DYNAMIC(CMenu)

 public:
  HMENU m_hMenu = nullptr;

  CMenu() = default;
  ~CMenu() override;
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  operator HMENU() const { return m_hMenu; }
  HMENU GetSafeHmenu() const { return m_hMenu; }
  bool operator==(const CMenu& menu) const { return m_hMenu == menu.m_hMenu; }
  bool operator!=(const CMenu& menu) const { return m_hMenu != menu.m_hMenu; }

  static CMenu* PASCAL FromHandle(HMENU hMenu);
  static void PASCAL DeleteTempMap();
  // Takes ownership; fails for a null handle, a handle that is not a menu, and one that another
  // CMenu already owns. A menu held before is destroyed first.
  BOOL Attach(HMENU hMenu);
  HMENU Detach();

  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  // From the current resource handle (the language module).
  BOOL LoadMenu(LPCSTR lpszResourceName);
  BOOL LoadMenu(UINT nIDResource);
  BOOL LoadMenuIndirect(const void* lpMenuTemplate);
  BOOL DestroyMenu();

  // Items. nFlags holds MF_BYCOMMAND or MF_BYPOSITION and the item's kind and state.
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr);
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp);
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0,
                  LPCSTR lpszNewItem = nullptr);
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp);
  BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0,
                  LPCSTR lpszNewItem = nullptr);
  BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp);
  // Remove takes an item (and a popup) out of the menu without destroying the popup; Delete
  // destroys the popup with the item.
  BOOL RemoveMenu(UINT nPosition, UINT nFlags);
  BOOL DeleteMenu(UINT nPosition, UINT nFlags);
  BOOL InsertMenuItem(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos = FALSE);
  BOOL SetMenuItemInfo(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos = FALSE);
  BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos = FALSE) const;
  BOOL SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked,
                          const CBitmap* pBmpChecked);

  // The previous state (MF_ENABLED/MF_GRAYED/MF_DISABLED, MF_CHECKED/MF_UNCHECKED), -1 when the
  // item does not exist.
  UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
  UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
  BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags);
  UINT GetMenuState(UINT nID, UINT nFlags) const;
  BOOL HiliteMenuItem(HWND hWnd, UINT nIDHiliteItem, UINT nHilite);
  UINT GetDefaultItem(UINT gmdiFlags, BOOL fByPos = FALSE) const;
  BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);

  int GetMenuItemCount() const;        // -1 when there is no menu
  UINT GetMenuItemID(int nPos) const;  // 0 for a separator, -1 for a popup or a bad position
  int GetMenuString(UINT nIDItem, LPSTR lpString, int nMaxCount, UINT nFlags) const;
  int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
  // The popup at nPos as a temporary wrapper, or null when that item has none.
  CMenu* GetSubMenu(int nPos) const;
  DWORD GetMenuContextHelpId() const;
  BOOL SetMenuContextHelpId(DWORD dwContextHelpId);
  BOOL GetMenuInfo(LPMENUINFO lpcmi) const;
  BOOL SetMenuInfo(LPCMENUINFO lpcmi);

  // Shows the popup at screen coordinates, owned by hWnd.
  BOOL TrackPopupMenu(UINT nFlags, int x, int y, HWND hWnd, LPCRECT lpRect = nullptr);
  BOOL TrackPopupMenuEx(UINT fuFlags, int x, int y, HWND hWnd, LPTPMPARAMS lptpm);
  // The same owned by a window object (CWnd*, or null).
  template <class Wnd>
  BOOL TrackPopupMenu(UINT nFlags, int x, int y, Wnd* pWnd, LPCRECT lpRect = nullptr) {
    return TrackPopupMenu(nFlags, x, y, pWnd ? pWnd->m_hWnd : HWND{}, lpRect);
  }
  template <class Wnd>
  BOOL TrackPopupMenuEx(UINT fuFlags, int x, int y, Wnd* pWnd, LPTPMPARAMS lptpm) {
    return TrackPopupMenuEx(fuFlags, x, y, pWnd ? pWnd->m_hWnd : HWND{}, lptpm);
  }

  // Owner-drawn items: a derived class draws and measures them.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

 private:
  friend class CTemporaryHandleMap<CMenu, HMENU>;
  void ReleaseTemporaryHandle() { m_hMenu = nullptr; }
};
