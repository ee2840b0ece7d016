#include "framework/gdi/Menu.h"

#include <memory>

#include "framework/app/AfxResource.h"
#include "framework/core/String.h"
#include "framework/gdi/GdiObject.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {

// Never destroyed: wrappers that live until the process ends still find it.
CPermanentHandleMap<CMenu, HMENU>& Owners() {
  static auto* map = new CPermanentHandleMap<CMenu, HMENU>;
  return *map;
}

CTemporaryHandleMap<CMenu, HMENU>& Temporaries() {
  return CTemporaryHandleMap<CMenu, HMENU>::ForThisThread();
}

LPCSTR BitmapItem(const CBitmap* pBmp) {
  return reinterpret_cast<LPCSTR>(pBmp != nullptr ? pBmp->m_hObject : nullptr);
}

HBITMAP BitmapHandle(const CBitmap* pBmp) {
  return pBmp != nullptr ? static_cast<HBITMAP>(pBmp->m_hObject) : nullptr;
}

}  // namespace

CMenu::~CMenu() {
  DestroyMenu();
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu) {
  if (hMenu == nullptr) return nullptr;
  if (CMenu* pMenu = Owners().Lookup(hMenu)) return pMenu;
  if (CMenu* pMenu = Temporaries().Lookup(hMenu)) return pMenu;
  auto pNew = std::make_unique<CMenu>();
  pNew->m_hMenu = hMenu;
  return Temporaries().Add(hMenu, std::move(pNew));
}

void PASCAL CMenu::DeleteTempMap() {
  Temporaries().DeleteAll();
}

BOOL CMenu::Attach(HMENU hMenu) {
  if (hMenu == nullptr || !::IsMenu(hMenu)) return FALSE;
  if (hMenu == m_hMenu) return TRUE;
  if (!Owners().Enter(hMenu, this)) return FALSE;  // never two owners of one handle
  DestroyMenu();
  m_hMenu = hMenu;
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU hMenu = m_hMenu;
  if (hMenu != nullptr) Owners().Remove(hMenu, this);
  m_hMenu = nullptr;
  return hMenu;
}

BOOL CMenu::CreateMenu() {
  HMENU hMenu = ::CreateMenu();
  return hMenu != nullptr && Attach(hMenu);
}

BOOL CMenu::CreatePopupMenu() {
  HMENU hMenu = ::CreatePopupMenu();
  return hMenu != nullptr && Attach(hMenu);
}

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName) {
  HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), lpszResourceName);
  return hMenu != nullptr && Attach(hMenu);
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
  return LoadMenu(MAKEINTRESOURCEA(nIDResource));
}

BOOL CMenu::LoadMenuIndirect(const void* lpMenuTemplate) {
  HMENU hMenu = ::LoadMenuIndirectA(lpMenuTemplate);
  return hMenu != nullptr && Attach(hMenu);
}

// A menu that is gone already (destroyed with the menu that held it) is only forgotten.
BOOL CMenu::DestroyMenu() {
  if (m_hMenu == nullptr) return FALSE;
  HMENU hMenu = Detach();
  return ::IsMenu(hMenu) && ::DestroyMenu(hMenu);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem) {
  return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::AppendMenuA(m_hMenu, nFlags | MF_BITMAP, nIDNewItem, BitmapItem(pBmp));
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem) {
  return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::InsertMenuA(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem, BitmapItem(pBmp));
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem) {
  return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::ModifyMenuA(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem, BitmapItem(pBmp));
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) {
  return ::RemoveMenu(m_hMenu, nPosition, nFlags);
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
  return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}

BOOL CMenu::InsertMenuItem(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos) {
  return ::InsertMenuItemA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos) {
  return ::SetMenuItemInfoA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos) const {
  return ::GetMenuItemInfoA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked,
                               const CBitmap* pBmpChecked) {
  return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags, BitmapHandle(pBmpUnchecked),
                              BitmapHandle(pBmpChecked));
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
  return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
  return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck);
}

BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
  return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
  return ::GetMenuState(m_hMenu, nID, nFlags);
}

BOOL CMenu::HiliteMenuItem(HWND hWnd, UINT nIDHiliteItem, UINT nHilite) {
  return ::HiliteMenuItem(hWnd, m_hMenu, nIDHiliteItem, nHilite);
}

UINT CMenu::GetDefaultItem(UINT gmdiFlags, BOOL fByPos) const {
  return ::GetMenuDefaultItem(m_hMenu, static_cast<UINT>(fByPos), gmdiFlags);
}

BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) {
  return ::SetMenuDefaultItem(m_hMenu, uItem, static_cast<UINT>(fByPos));
}

int CMenu::GetMenuItemCount() const {
  return ::GetMenuItemCount(m_hMenu);
}

UINT CMenu::GetMenuItemID(int nPos) const {
  return ::GetMenuItemID(m_hMenu, nPos);
}

int CMenu::GetMenuString(UINT nIDItem, LPSTR lpString, int nMaxCount, UINT nFlags) const {
  return ::GetMenuStringA(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

// The length is asked first, so a long item text is never cut.
int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  rString.Empty();
  int nLen = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
  if (nLen <= 0) return 0;
  int nCopied = ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBuffer(nLen + 1), nLen + 1, nFlags);
  rString.ReleaseBuffer(nCopied > 0 ? nCopied : 0);
  return rString.GetLength();
}

CMenu* CMenu::GetSubMenu(int nPos) const {
  return FromHandle(::GetSubMenu(m_hMenu, nPos));
}

DWORD CMenu::GetMenuContextHelpId() const {
  return ::GetMenuContextHelpId(m_hMenu);
}

BOOL CMenu::SetMenuContextHelpId(DWORD dwContextHelpId) {
  return ::SetMenuContextHelpId(m_hMenu, dwContextHelpId);
}

BOOL CMenu::GetMenuInfo(LPMENUINFO lpcmi) const {
  return ::GetMenuInfo(m_hMenu, lpcmi);
}

BOOL CMenu::SetMenuInfo(LPCMENUINFO lpcmi) {
  return ::SetMenuInfo(m_hMenu, lpcmi);
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, HWND hWnd, LPCRECT lpRect) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hWnd, lpRect);
}

BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, HWND hWnd, LPTPMPARAMS lptpm) {
  return ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, hWnd, lptpm);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}
