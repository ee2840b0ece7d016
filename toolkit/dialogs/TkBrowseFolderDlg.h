// CTkBrowseFolderDlg: picks a folder with the shell's folder browser. The caller puts the folder
// to start at into m_szPath before DoModal and reads the chosen one from it after IDOK.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include "framework/core/String.h"

class CWnd;

class CTkBrowseFolderDlg {
 public:
  explicit CTkBrowseFolderDlg(CWnd* pParent = nullptr);
  virtual ~CTkBrowseFolderDlg() = default;
  CTkBrowseFolderDlg(const CTkBrowseFolderDlg&) = delete;
  CTkBrowseFolderDlg& operator=(const CTkBrowseFolderDlg&) = delete;

  // IDOK when a folder was chosen and its path is in m_szPath; IDCANCEL otherwise, the path
  // left as it was.
  virtual INT_PTR DoModal();

  // Selects the starting folder (the current folder when m_szPath is empty) once the browser
  // is up, and shows the path of each folder the user moves to.
  static int CALLBACK BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

  BROWSEINFOA m_bi = {};
  char m_szPath[MAX_PATH] = "";
  CString m_strTitle;
};
