#include "toolkit/menus/TkMenuItemData.h"

#include <unordered_set>

namespace {

// Every living record. Item data is a bare pointer-sized number that any code may set; looking
// it up here first means a foreign value is never dereferenced.
std::unordered_set<const MenuItemData*>& LiveRecords() {
  static std::unordered_set<const MenuItemData*> records;
  return records;
}

tk_test::MenuItemDataCounts g_counts = {0, 0, 0, 0};

}  // namespace

MenuItemData::MenuItemData() {
  LiveRecords().insert(this);
  ++g_counts.nCreated;
}

MenuItemData::~MenuItemData() {
  LiveRecords().erase(this);
  dwSignature = 0;
  ++g_counts.nDeleted;
}

MenuItemData* TkMenuItemDataFrom(ULONG_PTR itemData) {
  if (!itemData) return nullptr;
  auto* pData = reinterpret_cast<MenuItemData*>(itemData);
  if (LiveRecords().count(pData) == 0) return nullptr;
  return pData->dwSignature == kTkMenuItemSignature ? pData : nullptr;
}

void TkDeleteMenuItemData(MenuItemData* pData) {
  if (!pData) return;
  if (LiveRecords().count(pData) == 0) {
    ++g_counts.nRefused;
    return;
  }
  delete pData;
}

namespace tk_test {
MenuItemDataCounts GetMenuItemDataCounts() {
  MenuItemDataCounts counts = g_counts;
  counts.nLive = static_cast<long>(LiveRecords().size());
  return counts;
}
}  // namespace tk_test

namespace {
MenuItemData* RecordOf(HMENU hMenu, UINT nItem, UINT nFlags, BOOL& bFound) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_DATA;
  bFound = ::GetMenuItemInfoA(hMenu, nItem, (nFlags & MF_BYPOSITION) != 0, &info);
  if (!bFound || !(info.fType & MFT_OWNERDRAW)) return nullptr;
  return TkMenuItemDataFrom(info.dwItemData);
}
}  // namespace

CString TkGetMenuItemText(HMENU hMenu, UINT nItem, UINT nFlags) {
  BOOL found = FALSE;
  if (MenuItemData* pData = RecordOf(hMenu, nItem, nFlags, found)) return pData->strText;
  char text[256] = {};
  if (found) ::GetMenuStringA(hMenu, nItem, text, sizeof text, nFlags & MF_BYPOSITION);
  return CString(text);
}

BOOL TkSetMenuItemText(HMENU hMenu, UINT nItem, UINT nFlags, LPCSTR lpszText) {
  BOOL found = FALSE;
  // The record draws the text; the item keeps the same text beside it, so that a later
  // conversion, which takes the item's text when it differs, agrees.
  if (MenuItemData* pData = RecordOf(hMenu, nItem, nFlags, found)) pData->strText = lpszText;
  if (!found) return FALSE;
  // Only the text changes: type, state, check style and the default mark stay as they are.
  MENUITEMINFOA change = {};
  change.cbSize = sizeof change;
  change.fMask = MIIM_STRING;
  change.dwTypeData = const_cast<LPSTR>(lpszText);
  return ::SetMenuItemInfoA(hMenu, nItem, (nFlags & MF_BYPOSITION) != 0, &change);
}
