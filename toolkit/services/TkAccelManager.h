// CTkAccelManager: a frame window's keyboard shortcuts as a table of accelerator records. It
// names a command's shortcuts in readable text, keeps a user's table in the profile under a name
// ("Settings", "kbdAccel_" + name, the records as a byte block), and builds a catalogue of the
// frame's commands from its menu for the shortcut pages. The frame owns one; until Init it stays
// empty and the frame leaves its menu texts as they are.
#pragma once
#include <windows.h>

#include "framework/collections/List.h"
#include "framework/collections/Map.h"
#include "framework/core/String.h"
#include "framework/collections/StringArray.h"

class CComboBox;
class CFrameWnd;

static_assert(sizeof(ACCEL) == 6, "stored tables are 6-byte records");

class CTkAccelManager {
 public:
  CTkAccelManager();
  // Saves the table when it changed (SaveState), then frees it.
  virtual ~CTkAccelManager();
  CTkAccelManager(const CTkAccelManager&) = delete;
  CTkAccelManager& operator=(const CTkAccelManager&) = delete;

  // Replaces the table with the one stored under the name; TRUE when one was read.
  virtual BOOL Load(LPCSTR lpszName);
  // Stores the table under the name; FALSE when the profile could not be written.
  virtual BOOL Save(LPCSTR lpszName, const ACCEL* pTable, int nCount);

  // Appends the names of every shortcut of the command, joined by ", ".
  void GetShortcutText(UINT nID, CString& strText) const;
  // The readable text of one record: modifiers ("Shift+", "Ctrl+", "Alt+") and the key's name.
  static void FormatAccel(const ACCEL& accel, CString& strText);
  // The key's name, or "" for a virtual-key code without one.
  static LPCSTR GetKeyName(UINT nVirtKey);

  // What happens to the table when the manager goes: the resource's table is not stored (so the
  // next start takes the resource again), a changed one is saved. FALSE when that save failed.
  BOOL SaveState();
  BOOL Init(CFrameWnd* pFrame, UINT nIDMenu, UINT nIDAccel, LPCSTR lpszDescription,
            LPCSTR lpszTableName);
  BOOL LoadAndApply(LPCSTR lpszName, BOOL bApply);
  BOOL IsInitialized() const { return m_bInitialized; }

  // The command catalogue: (command id, full name such as "File\Recent\One") in menu order.
  void AddCommand(UINT nID, LPCSTR lpszName);
  POSITION GetFirstCommandPosition() const;
  void GetNextCommand(POSITION& pos, UINT& nID, CString& strName) const;
  BOOL GetCommandName(UINT nID, CString& strName) const;
  CString GetDescription() const { return m_strDescription; }
  BOOL GetCommandCategory(UINT nID, CString& strCategory) const;
  BOOL IsCommandInCategory(UINT nID, LPCSTR lpszCategory) const;
  void FillCategories(CComboBox* pCombo) const;
  // The menu walk lists these commands in place of the placeholder item.
  void AddReplacementCommand(UINT nPlaceholderID, UINT nID, LPCSTR lpszName);
  // Listed under the top-level menu whose title matches the category (case ignored).
  void AddExtraCommand(LPCSTR lpszCategory, UINT nID, LPCSTR lpszName);
  // The menu walk leaves this command out of the catalogue.
  void AddLeaveOutCommand(UINT nID) { m_leaveOut.SetAt(nID, TRUE); }

  // The table. nPos starts at 0; each call finds the command's next record from there on.
  BOOL EnumAccel(int& nPos, UINT nID, CString& strText, BYTE& fVirt, WORD& key) const;
  BOOL AddAccel(UINT nID, BYTE fVirt, WORD key);
  BOOL RemoveAccel(BYTE fVirt, WORD key);
  BOOL FindCommand(BYTE fVirt, WORD key, UINT& nID) const;
  // The accelerator resource's table, marked as the default.
  BOOL LoadDefault();
  BOOL Reset();
  // Makes the table the frame's. FALSE, with the frame's table untouched, when it cannot be.
  BOOL Apply();

  const ACCEL* GetTable() const { return m_pTable; }
  int GetCount() const { return m_nCount; }
  BOOL IsDefault() const { return m_bDefault; }
  BOOL IsModified() const { return m_bModified; }
  void SetSaveOnDestroy(BOOL bSave) { m_bSaveOnDestroy = bSave; }

 protected:
  struct CommandEntry {
    UINT nID;
    CString strName;
  };
  struct ExtraCommand {
    CString strCategory;
    CString strName;
    UINT nID;
  };
  using CReplacementMap = CMap<UINT, UINT, CString, LPCSTR>;

  void FreeTable();
  void SetTable(ACCEL* pTable, int nCount);
  void AddToCatalogue(UINT nID, const CString& strName, const CString& strCategory);
  void WalkPopup(HMENU hMenu, const CString& strPrefix, const CString& strCategory);
  static CString StoredEntry(LPCSTR lpszName);

  CFrameWnd* m_pFrame = nullptr;
  CString m_strTableName;
  CString m_strDescription;
  UINT m_nIDMenu = 0;
  UINT m_nIDAccel = 0;

  CList<CommandEntry, const CommandEntry&> m_commands;
  CMap<UINT, UINT, CString, LPCSTR> m_categoryOf;
  CStringArray m_categories;
  CMap<UINT, UINT, BOOL, BOOL> m_leaveOut;
  CMap<UINT, UINT, CReplacementMap*, CReplacementMap*> m_replacements;
  CList<ExtraCommand, const ExtraCommand&> m_extras;

  ACCEL* m_pTable = nullptr;
  int m_nCount = 0;
  BOOL m_bDefault = FALSE;
  BOOL m_bModified = FALSE;
  BOOL m_bSaveOnDestroy = TRUE;
  BOOL m_bInitialized = FALSE;
};

// The accelerator-table calls Apply makes; tests put failing ones in their place.
struct TkAccelTableCalls {
  HACCEL(WINAPI* create)(LPACCEL, int);
  BOOL(WINAPI* destroy)(HACCEL);
};
TkAccelTableCalls& TkGetAccelTableCalls();
