// Browse edits: an edit field of a dialog gets a small "..." button at its right end; pressing it
// opens a folder dialog (CWgBrowseDirEdit) or a file dialog (CWgBrowseFileEdit) whose result is
// written into the edit.
#pragma once
#include "framework/core/String.h"
#include "framework/controls/Edit.h"

class CFileDialog;
class CWgBrowseButton;
class CWgDirSelectDlg;

class CWgBrowseEditBase : public CEdit {
 public:
  CWgBrowseEditBase() = default;
  ~CWgBrowseEditBase() override;

  // Subclasses the dialog's edit and makes its button; false when either fails.
  bool Initialize(UINT nEditId, CWnd* pDialog);
  // Opens the dialog and writes its result into the edit.
  virtual void Browse() {}

  CWgBrowseButton* GetButton() const { return m_pButton; }
  void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle ? lpszTitle : ""; }
  const CString& GetTitle() const { return m_strTitle; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  CWgBrowseButton* m_pButton = nullptr;  // deletes itself with its window
  CString m_strTitle;
};

class CWgBrowseDirEdit : public CWgBrowseEditBase {
 public:
  // dwStyle bit 0: the shell's folder browser, else the folder-only file box.
  explicit CWgBrowseDirEdit(DWORD dwStyle = 1);
  void Browse() override;
  DWORD m_dwStyle;

 protected:
  // Where the dialog takes over from the user; tests answer here.
  virtual INT_PTR RunDirDialog(CWgDirSelectDlg& dialog);
};

class CWgBrowseFileEdit : public CWgBrowseEditBase {
 public:
  CWgBrowseFileEdit();
  void Browse() override;

  CString m_strFilter;
  CString m_strDefExt;
  CString m_strInitialFile;
  DWORD m_dwFlags;

 protected:
  // Where the dialog takes over from the user; tests answer here.
  virtual INT_PTR RunFileDialog(CFileDialog& dialog);
};
