#include "toolkit/services/TkAccelManager.h"

#include <cstring>
#include <memory>

#include "framework/app/AfxResource.h"
#include "framework/controls/ComboBox.h"
#include "framework/frame/FrameWnd.h"
#include "toolkit/services/TkProfileStore.h"

namespace {

struct KeyName {
  DWORD value;
  const char* name;
};

// Modifier rows first (valued at their ACCEL flag bits), then the keys by virtual-key code. The
// order is part of the texts: modifiers are written in it, and a key takes its first row.
constexpr KeyName kKeyNames[] = {
    {FSHIFT, "Shift"}, {FCONTROL, "Ctrl"}, {FALT, "Alt"},
    {'0', "0"}, {'1', "1"}, {'2', "2"}, {'3', "3"}, {'4', "4"},
    {'5', "5"}, {'6', "6"}, {'7', "7"}, {'8', "8"}, {'9', "9"},
    {'A', "A"}, {'B', "B"}, {'C', "C"}, {'D', "D"}, {'E', "E"}, {'F', "F"}, {'G', "G"},
    {'H', "H"}, {'I', "I"}, {'J', "J"}, {'K', "K"}, {'L', "L"}, {'M', "M"}, {'N', "N"},
    {'O', "O"}, {'P', "P"}, {'Q', "Q"}, {'R', "R"}, {'S', "S"}, {'T', "T"}, {'U', "U"},
    {'V', "V"}, {'W', "W"}, {'X', "X"}, {'Y', "Y"}, {'Z', "Z"},
    {0x01, "LEFTBUTTON"}, {0x02, "RIGHTBUTTON"}, {0x03, "CANCEL"}, {0x04, "MIDDLEBUTTON"},
    {0x08, "BACK"}, {0x09, "TAB"}, {0x0C, "CLEAR"}, {0x0D, "RETURN"}, {0x10, "SHIFT"},
    {0x11, "CONTROL"}, {0x12, "MENU"}, {0x13, "PAUSE"}, {0x14, "CAPITAL"}, {0x1B, "ESCAPE"},
    {0x20, "SPACE"}, {0x21, "PREVIOUS"}, {0x22, "NEXT"}, {0x23, "END"}, {0x24, "HOME"},
    {0x25, "LEFT"}, {0x26, "UP"}, {0x27, "RIGHT"}, {0x28, "DOWN"}, {0x29, "SELECT"},
    {0x2A, "PRINT"}, {0x2B, "EXECUTE"}, {0x2C, "SNAPSHOT"}, {0x2D, "INSERT"}, {0x2E, "DELETE"},
    {0x2F, "HELP"}, {0x5B, "LWIN"}, {0x5C, "RWIN"}, {0x5D, "APPS"}, {0x6A, "MULTIPLY"},
    {0x6B, "ADD"}, {0x6C, "SEPARATOR"}, {0x6D, "SUBTRACT"}, {0x6E, "DECIMAL"}, {0x6F, "DIVIDE"},
    {0x70, "F1"}, {0x71, "F2"}, {0x72, "F3"}, {0x73, "F4"}, {0x74, "F5"}, {0x75, "F6"},
    {0x76, "F7"}, {0x77, "F8"}, {0x78, "F9"}, {0x79, "F10"}, {0x7A, "F11"}, {0x7B, "F12"},
    {0x60, "NUMPAD0"}, {0x61, "NUMPAD1"}, {0x62, "NUMPAD2"}, {0x63, "NUMPAD3"},
    {0x64, "NUMPAD4"}, {0x65, "NUMPAD5"}, {0x66, "NUMPAD6"}, {0x67, "NUMPAD7"},
    {0x68, "NUMPAD8"}, {0x69, "NUMPAD9"},
    {0x90, "NUMLOCK"}, {0x91, "SCROLL"},
    {0xF6, "ATTN"}, {0xF7, "CRSEL"}, {0xF8, "EXSEL"}, {0xF9, "EREOF"}, {0xFA, "PLAY"},
    {0xFB, "ZOOM"}, {0xFC, "NONAME"}, {0xFD, "PA1"}, {0xFE, "OEM_CLEAR"},
};
constexpr int kModifierRows = 3;
static_assert(sizeof kKeyNames / sizeof kKeyNames[0] == 111, "3 modifiers and 108 keys");

// The modifier bits that tell two shortcuts of the same key apart.
constexpr BYTE kModifierMask = FSHIFT | FCONTROL | FALT;
// A table that will not let go of the frame is tried this often before giving up.
constexpr int kDestroyAttempts = 10;

const char kSection[] = "Settings";

// "&File\tAlt+F" becomes "File".
CString CleanMenuText(const CString& text) {
  CString clean = text;
  clean.Remove('&');
  int tab = clean.Find('\t');
  if (tab >= 0) clean = clean.Left(tab);
  return clean;
}

// The item's text; FALSE for an item without one (a separator).
BOOL ReadMenuText(HMENU hMenu, int nPos, CString& text) {
  int length = ::GetMenuStringA(hMenu, nPos, nullptr, 0, MF_BYPOSITION);
  if (length <= 0) return FALSE;
  LPSTR buffer = text.GetBufferSetLength(length + 1);
  ::GetMenuStringA(hMenu, nPos, buffer, length + 1, MF_BYPOSITION);
  text.ReleaseBuffer();
  return TRUE;
}

CString JoinName(const CString& prefix, const CString& name) {
  return prefix.IsEmpty() ? name : prefix + "\\" + name;
}

}  // namespace

TkAccelTableCalls& TkGetAccelTableCalls() {
  static TkAccelTableCalls calls = {::CreateAcceleratorTableA, ::DestroyAcceleratorTable};
  return calls;
}

CTkAccelManager::CTkAccelManager() = default;

CTkAccelManager::~CTkAccelManager() {
  if (m_bSaveOnDestroy) SaveState();
  FreeTable();
  POSITION pos = m_replacements.GetStartPosition();
  while (pos) {
    UINT id;
    CReplacementMap* pMap;
    m_replacements.GetNextAssoc(pos, id, pMap);
    delete pMap;
  }
}

// --- the table ---

void CTkAccelManager::FreeTable() {
  delete[] m_pTable;
  m_pTable = nullptr;
  m_nCount = 0;
}

void CTkAccelManager::SetTable(ACCEL* pTable, int nCount) {
  FreeTable();
  m_pTable = pTable;
  m_nCount = pTable ? nCount : 0;
}

BOOL CTkAccelManager::EnumAccel(int& nPos, UINT nID, CString& strText, BYTE& fVirt,
                                WORD& key) const {
  for (int i = nPos < 0 ? 0 : nPos; i < m_nCount; ++i) {
    if (m_pTable[i].cmd != nID) continue;
    strText.Empty();
    FormatAccel(m_pTable[i], strText);
    fVirt = m_pTable[i].fVirt;
    key = m_pTable[i].key;
    nPos = i + 1;
    return TRUE;
  }
  return FALSE;
}

BOOL CTkAccelManager::AddAccel(UINT nID, BYTE fVirt, WORD key) {
  auto* pTable = new ACCEL[m_nCount + 1];
  if (m_nCount) std::memcpy(pTable, m_pTable, m_nCount * sizeof(ACCEL));
  pTable[m_nCount] = ACCEL{fVirt, key, static_cast<WORD>(nID)};
  SetTable(pTable, m_nCount + 1);
  m_bDefault = FALSE;
  m_bModified = TRUE;
  return TRUE;
}

BOOL CTkAccelManager::RemoveAccel(BYTE fVirt, WORD key) {
  for (int i = 0; i < m_nCount; ++i) {
    if ((m_pTable[i].fVirt & kModifierMask) != (fVirt & kModifierMask) || m_pTable[i].key != key) {
      continue;
    }
    std::memmove(m_pTable + i, m_pTable + i + 1, (m_nCount - i - 1) * sizeof(ACCEL));
    --m_nCount;
    m_bDefault = FALSE;
    m_bModified = TRUE;
    return TRUE;
  }
  return FALSE;
}

BOOL CTkAccelManager::FindCommand(BYTE fVirt, WORD key, UINT& nID) const {
  for (int i = 0; i < m_nCount; ++i) {
    if ((m_pTable[i].fVirt & kModifierMask) == (fVirt & kModifierMask) && m_pTable[i].key == key) {
      nID = m_pTable[i].cmd;
      return TRUE;
    }
  }
  return FALSE;
}

BOOL CTkAccelManager::LoadDefault() {
  FreeTable();
  HACCEL hAccel = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDAccel));
  if (!hAccel) return FALSE;
  int count = ::CopyAcceleratorTableA(hAccel, nullptr, 0);
  if (count <= 0) return FALSE;
  auto* pTable = new ACCEL[count];
  count = ::CopyAcceleratorTableA(hAccel, pTable, count);
  SetTable(pTable, count);
  m_bDefault = TRUE;
  m_bModified = FALSE;
  return TRUE;
}

BOOL CTkAccelManager::Reset() {
  LoadDefault();
  return Apply();
}

BOOL CTkAccelManager::Apply() {
  if (!m_pFrame || !m_pTable || m_nCount <= 0) return FALSE;
  TkAccelTableCalls& calls = TkGetAccelTableCalls();
  HACCEL hNew = calls.create(m_pTable, m_nCount);
  if (!hNew) return FALSE;
  if (m_pFrame->m_hAccelTable) {
    BOOL destroyed = FALSE;
    for (int attempt = 0; attempt < kDestroyAttempts && !destroyed; ++attempt) {
      destroyed = calls.destroy(m_pFrame->m_hAccelTable);
    }
    if (!destroyed) {
      // The frame keeps its old table; the new one must not outlive this call unowned.
      calls.destroy(hNew);
      return FALSE;
    }
  }
  m_pFrame->m_hAccelTable = hNew;
  return TRUE;
}

// --- names ---

LPCSTR CTkAccelManager::GetKeyName(UINT nVirtKey) {
  for (int i = kModifierRows; i < static_cast<int>(sizeof kKeyNames / sizeof kKeyNames[0]); ++i) {
    if (kKeyNames[i].value == nVirtKey) return kKeyNames[i].name;
  }
  return "";
}

void CTkAccelManager::FormatAccel(const ACCEL& accel, CString& strText) {
  strText.Empty();
  if (accel.key == 0) return;
  for (int i = 0; i < kModifierRows; ++i) {
    if (accel.fVirt & kKeyNames[i].value) {
      strText += kKeyNames[i].name;
      strText += "+";
    }
  }
  // Always a virtual-key code, whatever FVIRTKEY says; a key without a name leaves the "+".
  strText += GetKeyName(accel.key);
}

void CTkAccelManager::GetShortcutText(UINT nID, CString& strText) const {
  for (int i = 0; i < m_nCount; ++i) {
    if (m_pTable[i].cmd != nID) continue;
    CString name;
    FormatAccel(m_pTable[i], name);
    if (name.IsEmpty()) continue;
    if (!strText.IsEmpty()) strText += ", ";
    strText += name;
  }
}

// --- the profile ---

CString CTkAccelManager::StoredEntry(LPCSTR lpszName) {
  return CString("kbdAccel_") + (lpszName ? lpszName : "");
}

BOOL CTkAccelManager::Load(LPCSTR lpszName) {
  FreeTable();
  CTkProfileStore store(HKEY_CURRENT_USER);
  BYTE* pData = nullptr;
  UINT nBytes = 0;
  if (!store.GetProfileBinary(kSection, StoredEntry(lpszName), &pData, &nBytes)) return FALSE;
  // A trailing part of a record is a damaged end, not a record.
  int count = static_cast<int>(nBytes / sizeof(ACCEL));
  if (count > 0) {
    auto* pTable = new ACCEL[count];
    std::memcpy(pTable, pData, count * sizeof(ACCEL));
    SetTable(pTable, count);
  }
  delete[] pData;
  return TRUE;
}

BOOL CTkAccelManager::Save(LPCSTR lpszName, const ACCEL* pTable, int nCount) {
  CTkProfileStore store(HKEY_CURRENT_USER);
  // A failed write is reported, so that the change is not taken as saved.
  return store.WriteProfileBinary(kSection, StoredEntry(lpszName),
                                  reinterpret_cast<const BYTE*>(pTable),
                                  nCount > 0 ? static_cast<UINT>(nCount * sizeof(ACCEL)) : 0);
}

BOOL CTkAccelManager::SaveState() {
  if (m_bDefault) {
    // The resource's table is never stored: the next start takes the resource again.
    CTkProfileStore store(HKEY_CURRENT_USER);
    store.DeleteValue(kSection, StoredEntry(m_strTableName));
    return TRUE;
  }
  if (!m_bModified) return TRUE;
  BOOL saved = Save(m_strTableName, m_pTable, m_nCount);
  if (saved) m_bModified = FALSE;
  return saved;
}

BOOL CTkAccelManager::LoadAndApply(LPCSTR lpszName, BOOL bApply) {
  if (!Load(lpszName)) return FALSE;
  if (bApply && m_pTable) {
    m_bDefault = FALSE;
    m_bModified = FALSE;
    Apply();
  }
  return TRUE;
}

// --- the catalogue ---

BOOL CTkAccelManager::Init(CFrameWnd* pFrame, UINT nIDMenu, UINT nIDAccel,
                           LPCSTR lpszDescription, LPCSTR lpszTableName) {
  m_pFrame = pFrame;
  m_nIDMenu = nIDMenu;
  m_nIDAccel = nIDAccel;
  m_strDescription = lpszDescription;
  m_strTableName = lpszTableName;
  m_bInitialized = TRUE;

  if (HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDMenu))) {
    int items = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < items; ++i) {
      HMENU hPopup = ::GetSubMenu(hMenu, i);
      CString text;
      if (!hPopup || !ReadMenuText(hMenu, i, text)) continue;
      CString title = CleanMenuText(text);
      m_categories.Add(title);
      WalkPopup(hPopup, title, title);
      POSITION pos = m_extras.GetHeadPosition();
      while (pos) {
        const ExtraCommand& extra = m_extras.GetNext(pos);
        if (extra.strCategory.CompareNoCase(title) != 0) continue;
        AddToCatalogue(extra.nID, JoinName(title, extra.strName), title);
      }
    }
    ::DestroyMenu(hMenu);
  }

  if (!LoadAndApply(m_strTableName, FALSE)) LoadDefault();
  Apply();
  return TRUE;
}

void CTkAccelManager::WalkPopup(HMENU hMenu, const CString& strPrefix,
                                const CString& strCategory) {
  int items = ::GetMenuItemCount(hMenu);
  for (int i = 0; i < items; ++i) {
    CString text;
    if (!ReadMenuText(hMenu, i, text)) continue;
    CString clean = CleanMenuText(text);
    if (HMENU hSub = ::GetSubMenu(hMenu, i)) {
      WalkPopup(hSub, JoinName(strPrefix, clean), strCategory);
      continue;
    }
    UINT nID = ::GetMenuItemID(hMenu, i);
    BOOL leaveOut = FALSE;
    if (m_leaveOut.Lookup(nID, leaveOut)) continue;
    CReplacementMap* pReplacements = nullptr;
    if (m_replacements.Lookup(nID, pReplacements)) {
      POSITION pos = pReplacements->GetStartPosition();
      while (pos) {
        UINT nReplacement;
        CString name;
        pReplacements->GetNextAssoc(pos, nReplacement, name);
        AddToCatalogue(nReplacement, JoinName(strPrefix, name), strCategory);
      }
      continue;
    }
    AddToCatalogue(nID, JoinName(strPrefix, clean), strCategory);
  }
}

void CTkAccelManager::AddToCatalogue(UINT nID, const CString& strName,
                                     const CString& strCategory) {
  AddCommand(nID, strName);
  m_categoryOf.SetAt(nID, strCategory);
}

void CTkAccelManager::AddCommand(UINT nID, LPCSTR lpszName) {
  m_commands.AddTail(CommandEntry{nID, lpszName});
}

POSITION CTkAccelManager::GetFirstCommandPosition() const {
  return m_commands.GetHeadPosition();
}

void CTkAccelManager::GetNextCommand(POSITION& pos, UINT& nID, CString& strName) const {
  const CommandEntry& entry = m_commands.GetNext(pos);
  nID = entry.nID;
  strName = entry.strName;
}

BOOL CTkAccelManager::GetCommandName(UINT nID, CString& strName) const {
  POSITION pos = m_commands.GetHeadPosition();
  while (pos) {
    const CommandEntry& entry = m_commands.GetNext(pos);
    if (entry.nID == nID) {
      strName = entry.strName;
      return TRUE;
    }
  }
  return FALSE;
}

BOOL CTkAccelManager::GetCommandCategory(UINT nID, CString& strCategory) const {
  return m_categoryOf.Lookup(nID, strCategory);
}

BOOL CTkAccelManager::IsCommandInCategory(UINT nID, LPCSTR lpszCategory) const {
  CString category;
  return m_categoryOf.Lookup(nID, category) && category == lpszCategory;
}

void CTkAccelManager::FillCategories(CComboBox* pCombo) const {
  for (INT_PTR i = 0; i < m_categories.GetSize(); ++i) pCombo->AddString(m_categories[i]);
}

void CTkAccelManager::AddReplacementCommand(UINT nPlaceholderID, UINT nID, LPCSTR lpszName) {
  CReplacementMap* pMap = nullptr;
  if (!m_replacements.Lookup(nPlaceholderID, pMap)) {
    pMap = new CReplacementMap;
    m_replacements.SetAt(nPlaceholderID, pMap);
  }
  pMap->SetAt(nID, lpszName);
}

void CTkAccelManager::AddExtraCommand(LPCSTR lpszCategory, UINT nID, LPCSTR lpszName) {
  m_extras.AddTail(ExtraCommand{lpszCategory, lpszName, nID});
}
