#include "ui/dialogs/ExportCSV.h"

#include "app/services/AppServices.h"
#include "app/program/NQCommandLineInfo.h"
#include "foundation/os/WgFileSystem.h"
#include "framework/app/MessageBox.h"
#include "framework/dialogs/DataExchange.h"
#include "resources/resource.h"

namespace {
// Characters that cannot be part of a file name; a separator would put the file elsewhere than
// in the folder the dialog shows.
const char* const kBadNameChars = "\\/:*?\"<>|";

bool EndsWithSeparator(const CString& path) {
  return !path.IsEmpty() && (path.Right(1) == "\\" || path.Right(1) == "/");
}

// The folder as the file system tests it: a bare drive gets its root, one trailing separator
// is dropped from anything longer.
CString FolderForTest(const CString& folder) {
  if (folder.GetLength() == 2 && folder[1] == ':') return folder + "\\";
  if (folder.GetLength() > 3 && EndsWithSeparator(folder)) return folder.Left(folder.GetLength() - 1);
  return folder;
}
}  // namespace

CExportCSV::CExportCSV(CWnd* pParent) : CDialog(IDD_EXPORT_CSV, pParent) {
  if (NQCommandLineInfo* info = GetCommandLineInfo()) m_bPrevious = info->m_bCsvPrevious != 0;
}

BOOL CExportCSV::OnInitDialog() {
  BOOL result = CDialog::OnInitDialog();
  m_folderEdit.Initialize(IDC_CSV_FOLDER, this);
  return result;
}

CString CExportCSV::JoinPath(const CString& folder, const CString& fileName) {
  CString name = fileName;
  if (!name.IsEmpty() && name.ReverseFind('.') < 0) name += ".csv";
  if (folder.IsEmpty()) return name;
  if (EndsWithSeparator(folder)) return folder + name;
  return folder + "\\" + name;
}

CString CExportCSV::GetPathName() const { return JoinPath(m_strFolder, m_strFileName); }

void CExportCSV::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  CString name = m_strFileName, folder = m_strFolder;
  DDX_Text(pDX, IDC_CSV_FILE_NAME, name);
  if (pDX->m_bSaveAndValidate) ValidateFileName(pDX, name);
  DDX_Text(pDX, IDC_CSV_FOLDER, folder);
  if (pDX->m_bSaveAndValidate) ValidateFolder(pDX, folder);
  DDX_Check(pDX, IDC_CSV_HEADER, m_bHeader);
  DDX_Check(pDX, IDC_CSV_APPEND, m_bAppend);
  DDX_Check(pDX, IDC_CSV_PREVIOUS, m_bPrevious);
  m_strFileName = name;
  m_strFolder = folder;
}

void CExportCSV::ValidateFileName(CDataExchange* pDX, CString& name) {
  name.Trim(" \t");
  if (name.IsEmpty()) {
    AfxMessageBox(IDS_CSV_NAME_MISSING, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
  }
  if (name.FindOneOf(kBadNameChars) >= 0) {
    AfxMessageBox(IDS_CSV_NAME_INVALID, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
  }
}

// A missing folder is offered to be made, since the file could not be written otherwise.
void CExportCSV::ValidateFolder(CDataExchange* pDX, CString& folder) {
  folder.Trim(" \t");
  if (folder.IsEmpty()) {
    AfxMessageBox(IDS_CSV_NAME_MISSING, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
  }
  CWgFileSystem fs;
  CString tested = FolderForTest(folder);
  if (fs.DirectoryExists(tested)) return;
  CString text;
  text.Format(LoadResString(IDS_CSV_CREATE_FOLDER).GetString(), tested.GetString());
  if (AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) != IDYES) pDX->Fail();
  if (!fs.MakePath(tested)) {
    text.Format(LoadResString(IDS_CSV_FOLDER_FAILED).GetString(), tested.GetString());
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
  }
}

void CExportCSV::OnOK() {
  if (!UpdateData(TRUE)) return;
  if (NQCommandLineInfo* info = GetCommandLineInfo()) info->m_bCsvPrevious = m_bPrevious ? 1 : 0;
  EndDialog(IDOK);
}
