// Intelligent menus: commands marked hideable leave a popup the toolkit tracks unless the user
// chose them recently; a chevron item at the end brings them back. The recently used commands
// are kept in the user's profile, newest first.
#include <algorithm>

#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/menus/TkCoolMenu.h"
#include "toolkit/menus/TkMenuShared.h"
#include "toolkit/services/TkProfileStore.h"

namespace {
// The profile section and the entry-name format of the recently used list.
constexpr UINT kIdsUsageSection = 4539;
constexpr UINT kIdsUsageEntry = 4540;
}  // namespace

BOOL CTkCoolMenu::AddHideableCommand(UINT nID) {
  m_bIntelligent = TRUE;
  m_hideable.push_back(nID);
  return TRUE;
}

BOOL CTkCoolMenu::AddHideableCommands(const UINT* pIDs, int nCount) {
  if (!pIDs) return FALSE;
  for (int i = 0; i < nCount; ++i) {
    if (!AddHideableCommand(pIDs[i])) return FALSE;
  }
  return TRUE;
}

void CTkCoolMenu::SetRecentCount(int nCount) { m_nRecentCount = std::max(0, nCount); }

CString CTkCoolMenu::UsageSection() const { return TkLoadString(kIdsUsageSection); }

CString CTkCoolMenu::UsageEntry(int nIndex) const {
  CString entry;
  CString format = TkLoadString(kIdsUsageEntry);
  if (format.Find("%d") >= 0) entry.Format(format, nIndex);
  return entry;
}

std::vector<UINT> CTkCoolMenu::ReadUsage() {
  std::vector<UINT> used;
  CString section = UsageSection();
  if (section.IsEmpty()) return used;
  CTkProfileStore store(HKEY_CURRENT_USER);
  for (int i = 1; i <= m_nRecentCount; ++i) {
    CString entry = UsageEntry(i);
    if (entry.IsEmpty()) break;
    int value = static_cast<int>(store.GetProfileInt(section, entry, -1));
    if (value != -1) used.push_back(static_cast<UINT>(value));
  }
  return used;
}

BOOL CTkCoolMenu::IsRecentlyUsed(UINT nCommand) {
  std::vector<UINT> used = ReadUsage();
  return std::find(used.begin(), used.end(), nCommand) != used.end();
}

BOOL CTkCoolMenu::IsHideable(UINT nCommand) {
  if (std::find(m_hideable.begin(), m_hideable.end(), nCommand) == m_hideable.end()) return FALSE;
  return !IsRecentlyUsed(nCommand);
}

BOOL CTkCoolMenu::RecordCommand(UINT nCommand) {
  // Without hideable commands nothing ever hides: every command stays unrecorded (and the
  // profile unread on each command).
  if (m_hideable.empty()) return FALSE;
  std::vector<UINT> used = ReadUsage();
  BOOL bListed = std::find(m_hideable.begin(), m_hideable.end(), nCommand) != m_hideable.end();
  auto it = std::find(used.begin(), used.end(), nCommand);
  if (!bListed && it == used.end()) return FALSE;
  if (it != used.end()) used.erase(it);
  used.insert(used.begin(), nCommand);
  CString section = UsageSection();
  if (section.IsEmpty()) return TRUE;
  CTkProfileStore store(HKEY_CURRENT_USER);
  for (int i = 1; i <= m_nRecentCount && i <= static_cast<int>(used.size()); ++i) {
    CString entry = UsageEntry(i);
    if (entry.IsEmpty()) break;
    store.WriteProfileInt(section, entry, static_cast<int>(used[static_cast<size_t>(i - 1)]));
  }
  return TRUE;
}

void CTkCoolMenu::ResetUsage() {
  CString section = UsageSection();
  if (section.IsEmpty()) return;
  CTkProfileStore store(HKEY_CURRENT_USER);
  for (int i = 1;; ++i) {
    CString entry = UsageEntry(i);
    if (entry.IsEmpty() || static_cast<int>(store.GetProfileInt(section, entry, -1)) == -1) break;
    store.DeleteValue(section, entry);
  }
}

// --- hidden items ---

BOOL CTkCoolMenu::IsPreviousHideable(HMENU hMenu, int nPos) {
  if (nPos <= 0) return FALSE;
  MenuItemData* pData = ItemRecord(hMenu, nPos - 1);
  return pData && pData->IsHideable();
}

BOOL CTkCoolMenu::IsNextHideable(HMENU hMenu, int nPos) {
  if (nPos + 1 >= ::GetMenuItemCount(hMenu)) return FALSE;
  MenuItemData* pData = ItemRecord(hMenu, nPos + 1);
  return pData && pData->IsHideable();
}

BOOL CTkCoolMenu::HasHiddenItems(HMENU hMenu) {
  if (m_hideable.empty() || !hMenu) return FALSE;
  int count = ::GetMenuItemCount(hMenu);
  for (int pos = 0; pos < count; ++pos) {
    MenuItemData* pData = ItemRecord(hMenu, pos);
    if (pData && !pData->IsChevron() && pData->IsHideable() &&
        !IsRecentlyUsed(pData->nCommand))
      return TRUE;
  }
  return FALSE;
}

BOOL CTkCoolMenu::HideRarelyUsed(HMENU hMenu) {
  if (!hMenu || !::IsMenu(hMenu)) return FALSE;
  int count = ::GetMenuItemCount(hMenu);
  for (int pos = 0; pos < count; ++pos) {
    MenuItemData* pData = ItemRecord(hMenu, pos);
    if (!pData || pData->IsChevron() || !pData->IsHideable()) continue;
    pData->dwFlags &= ~(kTkItemFirstHidden | kTkItemLastHidden);
    if (!IsPreviousHideable(hMenu, pos)) pData->dwFlags |= kTkItemFirstHidden;
    if (!IsNextHideable(hMenu, pos)) pData->dwFlags |= kTkItemLastHidden;
  }
  const BOOL bExpanded = TkMenuState().bExpanded;
  UpdateChevron(hMenu, bExpanded);
  if (bExpanded) return TRUE;

  count = ::GetMenuItemCount(hMenu);
  for (int pos = count - 1; pos >= 0; --pos) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_DATA | MIIM_SUBMENU;
    if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(pos), TRUE, &info)) continue;
    MenuItemData* pData = TkMenuItemDataFrom(info.dwItemData);
    if (!pData || pData->IsChevron() || !pData->IsHideable() || pData->bRemoved) continue;
    pData->fState = info.fState;
    pData->bRemoved = TRUE;
    // An item with a popup of its own keeps the popup: it comes back with the item.
    if (info.hSubMenu) {
      ::RemoveMenu(hMenu, static_cast<UINT>(pos), MF_BYPOSITION);
    } else {
      ::DeleteMenu(hMenu, static_cast<UINT>(pos), MF_BYPOSITION);
    }
  }
  // Two separators that met where hidden items were are shown as one.
  for (int pos = ::GetMenuItemCount(hMenu) - 1; pos > 0; --pos) {
    MenuItemData* pThis = ItemRecord(hMenu, pos);
    MenuItemData* pBefore = ItemRecord(hMenu, pos - 1);
    if (!pThis || !pBefore || !pThis->IsSeparator() || !pBefore->IsSeparator()) continue;
    pThis->bRemoved = TRUE;
    ::DeleteMenu(hMenu, static_cast<UINT>(pos), MF_BYPOSITION);
  }
  return TRUE;
}

BOOL CTkCoolMenu::RestoreHidden(HMENU hMenu) {
  if (!hMenu || !::IsMenu(hMenu)) return FALSE;
  BOOL bChanged = UpdateChevron(hMenu, TRUE);
  // In position order, so that each item goes back where it was.
  std::vector<MenuItemData*> records;
  for (MenuItemData* pData : m_records) {
    if (pData->hMenu == hMenu) records.push_back(pData);
  }
  std::stable_sort(records.begin(), records.end(), [](const MenuItemData* a, const MenuItemData* b) {
    return a->nPosition < b->nPosition;
  });
  for (MenuItemData* pData : records) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    if (pData->bRemoved) {
      info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
      info.fType = pData->fType;
      info.fState = pData->fState;
      info.wID = pData->nCommand;
      info.hSubMenu = pData->hSubMenu;
      info.dwItemData = reinterpret_cast<ULONG_PTR>(pData);
      if (!pData->IsSeparator()) {
        info.fMask |= MIIM_STRING;
        info.dwTypeData = const_cast<LPSTR>(pData->strText.GetString());
      }
      if (::InsertMenuItemA(hMenu, static_cast<UINT>(pData->nPosition), TRUE, &info)) {
        pData->bRemoved = FALSE;
        bChanged = TRUE;
      }
    } else {
      // Written again so that the system measures it anew in the grown popup.
      MENUITEMINFOA now = {};
      now.cbSize = sizeof now;
      now.fMask = MIIM_DATA | MIIM_FTYPE;
      UINT pos = static_cast<UINT>(pData->nPosition);
      if (::GetMenuItemInfoA(hMenu, pos, TRUE, &now) &&
          now.dwItemData == reinterpret_cast<ULONG_PTR>(pData)) {
        ::SetMenuItemInfoA(hMenu, pos, TRUE, &now);
      }
    }
  }
  return bChanged;
}

BOOL CTkCoolMenu::UpdateChevron(HMENU hMenu, BOOL bForce) {
  if (!hMenu || !::IsMenu(hMenu)) return FALSE;
  const BOOL bExpanded = TkMenuState().bExpanded;
  BOOL bChanged = FALSE;
  int pos = FindItemPos(hMenu, ID_TK_MENU_CHEVRON);
  if (pos >= 0 && pos != ::GetMenuItemCount(hMenu) - 1) bForce = TRUE;
  if (pos >= 0 && (bForce || bExpanded)) {
    MenuItemData* pData = ItemRecord(hMenu, pos);
    ::DeleteMenu(hMenu, static_cast<UINT>(pos), MF_BYPOSITION);
    if (pData) ForgetRecord(pData);
    bChanged = TRUE;
    pos = -1;
  }
  if (!bExpanded && pos < 0 && HasHiddenItems(hMenu)) {
    if (!::AppendMenuA(hMenu, MF_STRING, ID_TK_MENU_CHEVRON, kTkChevronText)) return bChanged;
    int last = ::GetMenuItemCount(hMenu) - 1;
    MENUITEMINFOA info;
    CString text;
    if (ReadItem(hMenu, last, info, text)) {
      MenuItemData* pData = NewRecord(hMenu, last, info, text);
      pData->nImage = LookupImage(ID_TK_MENU_CHEVRON);
      MENUITEMINFOA change = {};
      change.cbSize = sizeof change;
      change.fMask = MIIM_FTYPE | MIIM_DATA;
      change.fType = info.fType | MFT_OWNERDRAW;
      change.dwItemData = reinterpret_cast<ULONG_PTR>(pData);
      ::SetMenuItemInfoA(hMenu, static_cast<UINT>(last), TRUE, &change);
    }
    bChanged = TRUE;
  }
  return bChanged;
}
