// CWgUserTool: an external program the user puts into a menu of the program (menu text,
// command, arguments, initial folder, show mode and whether to wait for it), the tools file that
// keeps the list, starting a tool and filling a menu with the tools.
#pragma once
#include "framework/collections/ObArray.h"
#include "framework/core/Object.h"
#include "framework/core/String.h"

class CMenu;
class CStringArray;

class CWgUserTool : public CObject {
  DECLARE_SERIAL(CWgUserTool)
 public:
  // The most tools a list holds: the menu has commands for this many and the dialog adds no more.
  static constexpr int kMaxTools = 9;

  CWgUserTool() = default;
  CWgUserTool(const CWgUserTool& other) : CObject() { *this = other; }
  CWgUserTool& operator=(const CWgUserTool& other);
  ~CWgUserTool() override = default;

  void Serialize(CArchive& ar) override;

  // Starts the program; with the wait flag, keeps the calling thread's messages going until it
  // has ended. pReplacements holds "name=value" entries whose names are replaced by their values
  // in the command, arguments and folder. TRUE when it was started (and ended normally).
  BOOL Execute(const CStringArray* pReplacements = nullptr) const;

  // Appends the tools of the file to the list, at most kMaxTools in all. TRUE when the list
  // grew. *pbDamaged (when given) tells whether the file could not be read to its end or held
  // more than the list takes: the tools read before that are kept.
  static BOOL LoadTools(LPCSTR lpszPath, CObArray& tools, BOOL* pbDamaged = nullptr);
  // Writes the list through a temporary file beside the target that then takes its place, so
  // that a failed write never leaves a broken tools file. TRUE when the file was written.
  static BOOL SaveTools(LPCSTR lpszPath, const CObArray& tools);
  // Removes the items from nFirstId on and appends a separator and one item per tool with the
  // ids nFirstId, nFirstId + 1, ...; TRUE when every tool got an item.
  static BOOL AppendToMenu(CMenu* pMenu, int nFirstId, const CObArray& tools);
  // Deletes every tool and empties the list.
  static void FreeTools(CObArray& tools);

  DWORD m_bWait = 1;
  CString m_strMenuText;
  CString m_strCommand;
  CString m_strArguments;
  CString m_strInitialDir;
  DWORD m_nShowCmd = SW_SHOWNORMAL;
};

// Replaces every occurrence of lpszFind in str by lpszReplace, left to right without overlap;
// flag bit 0 compares without regard to case. The number of replacements, or -1 for an empty
// find text or a null replacement.
#define TK_REPLACE_NOCASE 1
int ReplaceText(CString& str, LPCSTR lpszFind, LPCSTR lpszReplace, UINT nFlags = 0);
