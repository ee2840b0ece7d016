// CFileDialog: the system's Open and Save As boxes. The filter is given as
// "Text files (*.txt)|*.txt|All files (*.*)|*.*||"; m_ofn may be adjusted before DoModal.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include "framework/core/String.h"
#include "framework/dialogs/Dialog.h"

class CFileDialog : public CDialog {
  DECLARE_DYNAMIC(CFileDialog)
 public:
  explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr,
                       LPCSTR lpszFileName = nullptr,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       LPCSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr);
  // IDOK with the chosen path, IDCANCEL when the user cancelled (or the box failed).
  INT_PTR DoModal() override;

  CString GetPathName() const { return CString(m_szFileName); }
  CString GetFileName() const;
  CString GetFileExt() const;
  CString GetFileTitle() const;
  CString GetFolderPath() const;
  BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

  OPENFILENAMEA m_ofn = {};

 protected:
  BOOL m_bOpenFileDialog;
  CString m_strFilter;  // the filter with its '|' turned into the system's terminators
  CString m_strDefExt;
  char m_szFileName[MAX_PATH * 2] = "";
  char m_szFileTitle[MAX_PATH] = "";
};
