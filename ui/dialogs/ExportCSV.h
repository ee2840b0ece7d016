// CExportCSV: where and how the results are written as CSV: the file name and its folder,
// whether a caption line comes first, whether the rows are appended to an existing file, and
// whether the previous ranks are written too. The last choice is kept in the command-line object,
// as an automated run's switch would set it; the opener takes the others from the members.
#pragma once
#include "framework/dialogs/Dialog.h"
#include "toolkit/widgets/WgBrowseEdit.h"

class CExportCSV : public CDialog {
 public:
  explicit CExportCSV(CWnd* pParent = nullptr);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;

  // The file the choices name: the folder joined with the file name, ".csv" added to a name
  // without an extension.
  CString GetPathName() const;
  static CString JoinPath(const CString& folder, const CString& fileName);

  CString m_strFileName;
  CString m_strFolder;
  BOOL m_bHeader = FALSE;
  BOOL m_bAppend = FALSE;
  BOOL m_bPrevious = FALSE;

 private:
  void ValidateFileName(CDataExchange* pDX, CString& name);
  void ValidateFolder(CDataExchange* pDX, CString& folder);

  // The folder field, with its "..." button that asks for a folder.
  CWgBrowseDirEdit m_folderEdit;
};
