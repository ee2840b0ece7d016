// CWgDirSelectDlg: asks the user for a folder. With style bit 0 the shell's folder browser;
// otherwise the file-open box cut down to its folder part (no file name, list or type), whose
// chosen folder is the folder part of the result.
#pragma once
#include "framework/core/String.h"
#include "framework/dialogs/FileDialog.h"

// Style bit: the shell's folder browser.
constexpr DWORD WGDS_SHELLBROWSER = 0x01;

class CWgDirSelectDlg : public CFileDialog {
 public:
  CWgDirSelectDlg(DWORD dwStyle, LPCSTR lpszTitle, LPCSTR lpszInitialFolder, CWnd* pParent);

  // IDOK with the folder in GetPath, else IDCANCEL.
  INT_PTR DoModal() override;
  BOOL OnInitDialog() override;
  // The shell's browser, started at the initial folder; IDOK with the path ending in "\".
  virtual INT_PTR RunShellBrowser();

  CString GetPath() const { return CString(m_szResult); }
  // Length of the folder part of the result; 65535 when the shell's browser gave it.
  int GetFolderLength() const { return m_nFolderLength; }
  DWORD GetDirStyle() const { return m_dwStyle; }
  const CString& GetTitle() const { return m_strTitle; }
  const CString& GetInitialFolder() const { return m_strInitial; }
  // Sets the result as a run of the dialog would (the shell's kind).
  void SetResult(LPCSTR lpszPath);

 protected:
  // The file box with its file controls hidden; the folder part of what it returns.
  virtual INT_PTR RunFolderOnlyFileBox();
  static UINT_PTR CALLBACK FolderOnlyHook(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

  DWORD m_dwStyle;
  CString m_strTitle;
  CString m_strInitial;
  CString m_strName;  // the hidden file name that lets OK through
  char m_szResult[MAX_PATH] = "";
  int m_nFolderLength = 0;
};

// The folder a browse edit's text names for the dialog to start at: the text without a trailing
// "\" (a bare drive keeps it), or empty when it names no existing folder.
CString WgBrowseStartFolder(const CString& text);
// A folder path with exactly one "\" at its end.
CString WgWithTrailingBackslash(const CString& path);
