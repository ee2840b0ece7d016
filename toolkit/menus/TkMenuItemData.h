// MenuItemData: the record the owner-drawn menus hang on every item they convert: what the item
// was before (its text, type and state), where it sits, its image and whether it may hide. The
// records are the cool menu's: it makes them when it converts a popup and deletes them when it
// converts the popup back, when the menu turns out to be gone, or when the cool menu goes.
#pragma once
#include <windows.h>

#include "framework/core/String.h"

// Marks a record as the toolkit's.
constexpr DWORD kTkMenuItemSignature = 0x5A3C91E7;
// The chevron item at the end of a popup whose rarely used items are hidden.
constexpr UINT ID_TK_MENU_CHEVRON = 52783;
constexpr char kTkChevronText[] = ">> chevron";

// The record's flags.
constexpr DWORD kTkItemFirstHidden = 1;  // first of a group of hideable items
constexpr DWORD kTkItemLastHidden = 2;   // last of such a group
constexpr DWORD kTkItemHideable = 4;

struct MenuItemData {
  MenuItemData();
  virtual ~MenuItemData();
  MenuItemData(const MenuItemData&) = delete;
  MenuItemData& operator=(const MenuItemData&) = delete;

  CString strText;           // the item's text before conversion
  BOOL bRemoved = FALSE;     // taken out of its popup as hidden
  HMENU hMenu = nullptr;     // the popup that holds the item
  HMENU hSubMenu = nullptr;  // the item's own popup
  DWORD dwSignature = kTkMenuItemSignature;
  int nPosition = -1;        // position in the popup at conversion
  int nImage = -1;           // image list index, -1 for none
  UINT nCommand = static_cast<UINT>(-1);
  UINT fType = 0;            // MENUITEMINFO type bits, with MFT_OWNERDRAW
  UINT fState = 0;
  DWORD dwFlags = 0;         // kTkItem... bits
  DWORD dwDockSide = 0;      // the menu bar's CBRS_ALIGN_ side when the popup is the bar's

  BOOL IsHideable() const { return (dwFlags & kTkItemHideable) != 0; }
  BOOL IsSeparator() const { return (fType & MFT_SEPARATOR) != 0; }
  BOOL IsChevron() const { return nCommand == ID_TK_MENU_CHEVRON || strText == kTkChevronText; }
};

// The toolkit's record behind an item's data, or null. Only records that exist now count: item
// data someone else put there is never read, whatever it points to.
MenuItemData* TkMenuItemDataFrom(ULONG_PTR itemData);
// Deletes a record the toolkit made; a pointer that is not a living record is left alone (and
// counted), so a record can never be freed twice.
void TkDeleteMenuItemData(MenuItemData* pData);

namespace tk_test {
// How many records were made and deleted since the process started, how many live now, and
// how many deletions of something that was not a living record were refused.
struct MenuItemDataCounts {
  long nCreated;
  long nDeleted;
  long nLive;
  long nRefused;
};
MenuItemDataCounts GetMenuItemDataCounts();
}  // namespace tk_test

// The text an item shows: the record's for an item the toolkit draws, else the menu's own.
// nFlags is MF_BYCOMMAND or MF_BYPOSITION.
CString TkGetMenuItemText(HMENU hMenu, UINT nItem, UINT nFlags);
// Gives an item a new text: the menu's, and the record's too for an item the toolkit draws.
// FALSE when there is no such item.
BOOL TkSetMenuItemText(HMENU hMenu, UINT nItem, UINT nFlags, LPCSTR lpszText);
