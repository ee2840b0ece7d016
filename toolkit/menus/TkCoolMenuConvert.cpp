// The owner-drawn menus' item records: converting a popup's items to owner-drawn ones and back,
// the records' life, and the mnemonic lookup the system leaves to owner-drawn items.
#include <algorithm>
#include <cctype>

#include "toolkit/core/ToolkitData.h"
#include "toolkit/menus/TkCoolMenu.h"
#include "toolkit/menus/TkMenuShared.h"
#include "toolkit/services/OSVersion.h"

IMPLEMENT_DYNAMIC(CTkCoolMenu, CTkWndHook)

CSize CTkCoolMenu::s_sizeBoxMargin(1, 1);
CSize CTkCoolMenu::s_sizeDlgFrame(::GetSystemMetrics(SM_CXDLGFRAME),
                                  ::GetSystemMetrics(SM_CYDLGFRAME));

namespace {
constexpr int kMaxItemText = 256;
}  // namespace

CTkCoolMenu::CTkCoolMenu() {
  const OSVERSIONINFOA* os = GetOSVersionInfo();
  // Keyboard cues (mnemonics underlined only after Alt) exist from Windows 2000 on.
  if (os->dwPlatformId == VER_PLATFORM_WIN32_NT && os->dwMajorVersion >= 5) {
    BOOL cues = FALSE;
    if (::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0)) m_bKeyboardCues = cues;
  }
  m_records.reserve(10);
  m_menus.reserve(10);
}

CTkCoolMenu::~CTkCoolMenu() {
  if (m_bTimerRunning && m_hWnd) ::KillTimer(m_hWnd, m_nTimerId);
  ReleaseAll();
  Reset();
}

BOOL CTkCoolMenu::IsToolkitTracking() { return TkMenuState().bToolkitTracking; }

// --- records ---

BOOL CTkCoolMenu::ReadItem(HMENU hMenu, int nPos, MENUITEMINFOA& info, CString& text) {
  char buffer[kMaxItemText + 1] = {};
  info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING |
               MIIM_CHECKMARKS;
  info.dwTypeData = buffer;
  info.cch = kMaxItemText;
  if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(nPos), TRUE, &info)) return FALSE;
  text = (info.fType & MFT_SEPARATOR) ? "" : buffer;
  info.dwTypeData = nullptr;
  return TRUE;
}

MenuItemData* CTkCoolMenu::ItemRecord(HMENU hMenu, int nPos) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(nPos), TRUE, &info)) return nullptr;
  return TkMenuItemDataFrom(info.dwItemData);
}

MenuItemData* CTkCoolMenu::NewRecord(HMENU hMenu, int nPos, const MENUITEMINFOA& info,
                                     const CString& text) {
  auto* pData = new MenuItemData;
  pData->strText = text;
  pData->hMenu = hMenu;
  pData->hSubMenu = info.hSubMenu;
  pData->nPosition = nPos;
  pData->nCommand = info.wID;
  pData->nImage = LookupImage(pData->nCommand);
  pData->fType = info.fType | MFT_OWNERDRAW;
  pData->fState = info.fState;
  m_records.push_back(pData);
  return pData;
}

void CTkCoolMenu::ForgetRecord(MenuItemData* pData) {
  auto it = std::find(m_records.begin(), m_records.end(), pData);
  if (it != m_records.end()) m_records.erase(it);
  TkDeleteMenuItemData(pData);
}

void CTkCoolMenu::ReleaseRecordsOf(HMENU hMenu) {
  BOOL bMenuAlive = ::IsMenu(hMenu);
  for (size_t i = m_records.size(); i-- > 0;) {
    MenuItemData* pData = m_records[i];
    if (pData->hMenu != hMenu) continue;
    // An item taken out as hidden that never came back owns its popup alone now.
    if (pData->bRemoved && pData->hSubMenu && ::IsMenu(pData->hSubMenu) && !bMenuAlive) {
      ::DestroyMenu(pData->hSubMenu);
    }
    m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(i));
    TkDeleteMenuItemData(pData);
  }
  auto it = std::find(m_menus.begin(), m_menus.end(), hMenu);
  if (it != m_menus.end()) m_menus.erase(it);
}

void CTkCoolMenu::ReleaseAll() {
  BOOL bExpanded = TkMenuState().bExpanded;
  while (!m_menus.empty()) {
    HMENU hMenu = m_menus.front();
    if (::IsMenu(hMenu)) {
      RestoreHidden(hMenu);
      ConvertMenu(hMenu, FALSE);
    }
    ReleaseRecordsOf(hMenu);
  }
  TkMenuState().bExpanded = bExpanded;
  // Records of popups that were never listed (a chevron added by hand) go too.
  while (!m_records.empty()) {
    MenuItemData* pData = m_records.back();
    m_records.pop_back();
    TkDeleteMenuItemData(pData);
  }
}

// --- conversion ---

void CTkCoolMenu::ConvertMenu(HMENU hMenu, BOOL bToOwnerDraw) {
  if (!hMenu || !::IsMenu(hMenu)) return;
  int count = ::GetMenuItemCount(hMenu);
  for (int pos = 0; pos < count; ++pos) {
    MENUITEMINFOA info;
    CString text;
    if (!ReadItem(hMenu, pos, info, text)) continue;
    MenuItemData* pData = TkMenuItemDataFrom(info.dwItemData);
    // Someone else's item data: that item is theirs to draw.
    if (info.dwItemData && !pData) continue;

    MENUITEMINFOA change = {};
    change.cbSize = sizeof change;
    if (bToOwnerDraw) {
      if (!(info.fType & MFT_OWNERDRAW)) {
        change.fMask |= MIIM_FTYPE;
        change.fType = info.fType | MFT_OWNERDRAW;
      }
      // Someone gave a converted item a new text since (a command's update handler): the record
      // draws that text from now on.
      if (pData && !(info.fType & MFT_SEPARATOR) && !text.IsEmpty() && text != pData->strText)
        pData->strText = text;
      if (!pData) {
        pData = NewRecord(hMenu, pos, info, text);
        if (IsHideable(pData->nCommand) && m_bIntelligent && IsToolkitTracking()) {
          pData->dwFlags = kTkItemHideable;
        }
        change.fMask |= MIIM_DATA;
        change.dwItemData = reinterpret_cast<ULONG_PTR>(pData);
      }
      if (change.fMask) ::SetMenuItemInfoA(hMenu, static_cast<UINT>(pos), TRUE, &change);
    } else if (pData) {
      change.fMask = MIIM_DATA;
      change.dwItemData = 0;
      if (info.fType & MFT_OWNERDRAW) {
        change.fMask |= MIIM_FTYPE;
        change.fType = info.fType & ~MFT_OWNERDRAW;
        if (!(info.fType & MFT_SEPARATOR)) {
          change.fMask |= MIIM_STRING;
          change.dwTypeData = const_cast<LPSTR>(pData->strText.GetString());
        }
      }
      ::SetMenuItemInfoA(hMenu, static_cast<UINT>(pos), TRUE, &change);
      ForgetRecord(pData);
    }
  }
  if (bToOwnerDraw) {
    if (std::find(m_menus.begin(), m_menus.end(), hMenu) == m_menus.end()) {
      m_menus.insert(m_menus.begin(), hMenu);
    }
  }
}

int CTkCoolMenu::FindItemPos(HMENU hMenu, UINT nCommand) {
  int count = ::GetMenuItemCount(hMenu);
  for (int pos = 0; pos < count; ++pos) {
    if (::GetMenuItemID(hMenu, pos) == nCommand) return pos;
  }
  return -1;
}

BOOL CTkCoolMenu::IsFirstItem(HMENU hMenu, int nPos) {
  MenuItemData* pFirst = ItemRecord(hMenu, 0);
  return pFirst && pFirst->nPosition == nPos;
}

BOOL CTkCoolMenu::IsLastItem(HMENU hMenu, int nPos, UINT nCommand) {
  if (nCommand == ID_TK_MENU_CHEVRON) return TRUE;
  int count = ::GetMenuItemCount(hMenu);
  if (count <= 0) return FALSE;
  if (::GetMenuItemID(hMenu, count - 1) == ID_TK_MENU_CHEVRON) return FALSE;
  return nPos == count - 1;
}

// --- mnemonics ---

namespace {

// The letter after the item's mnemonic ampersand ("&&" is a plain ampersand), 0 for none.
char MnemonicOf(const CString& text) {
  const char* p = text.GetString();
  for (; *p; ++p) {
    if (*p != '&') continue;
    if (p[1] == '&') {
      ++p;
      continue;
    }
    return p[1];
  }
  return 0;
}

}  // namespace

LRESULT CTkCoolMenu::OnMenuChar(UINT nChar, UINT, HMENU hMenu) {
  if (!hMenu || !::IsMenu(hMenu)) return 0;
  int wanted = std::toupper(static_cast<unsigned char>(nChar));
  std::vector<int> matches;
  int hilite = -1;
  int count = ::GetMenuItemCount(hMenu);
  for (int pos = 0; pos < count; ++pos) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
    if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(pos), TRUE, &info)) continue;
    if (info.fState & MFS_HILITE) hilite = pos;
    MenuItemData* pData = TkMenuItemDataFrom(info.dwItemData);
    if (!pData || !(info.fType & MFT_OWNERDRAW)) continue;
    char key = MnemonicOf(pData->strText);
    if (key && std::toupper(static_cast<unsigned char>(key)) == wanted) matches.push_back(pos);
  }
  if (matches.empty()) return 0;
  if (matches.size() == 1) return MAKELRESULT(matches.front(), MNC_EXECUTE);
  int choice = matches.front();
  for (int pos : matches) {
    if (pos > hilite) {
      choice = pos;
      break;
    }
  }
  return MAKELRESULT(choice, MNC_SELECT);
}
