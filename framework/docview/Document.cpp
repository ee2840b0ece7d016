#include "framework/docview/Document.h"

#include "framework/files/Archive.h"
#include "framework/app/MessageBox.h"
#include "framework/exceptions/UserException.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL /*bAddToMRU*/) {
  m_strPathName = lpszPathName ? lpszPathName : "";
  CString name = m_strPathName;
  int slash = name.ReverseFind('\\');
  int other = name.ReverseFind('/');
  if (other > slash) slash = other;
  SetTitle(name.Mid(slash + 1));
}

void CDocument::ClearPathName() {
  m_strPathName.Empty();
  m_strTitle.Empty();
}


BOOL CDocument::OnNewDocument() {
  DeleteContents();
  ClearPathName();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName) {
  CFileException fe;
  CFile* pFile = GetFile(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe);
  if (!pFile) {
    // Nothing was read yet: the document stays as it was.
    ReportSaveLoadException(lpszPathName, &fe, FALSE, 0);
    return FALSE;
  }
  DeleteContents();
  SetModifiedFlag(TRUE);  // dirty while half read
  try {
    CArchive loadArchive(pFile, CArchive::load | CArchive::bNoFlushOnDelete);
    Serialize(loadArchive);
    loadArchive.Close();
    ReleaseFile(pFile, FALSE);
  } catch (const CUserException&) {
    // Already reported by Serialize.
    ReleaseFile(pFile, TRUE);
    DeleteContents();
    ClearPathName();
    SetModifiedFlag(FALSE);
    return FALSE;
  } catch (const CException& e) {
    ReleaseFile(pFile, TRUE);
    ReportSaveLoadException(lpszPathName, &e, FALSE, 0);
    DeleteContents();
    ClearPathName();
    SetModifiedFlag(FALSE);
    return FALSE;
  }
  SetPathName(lpszPathName);
  SetModifiedFlag(FALSE);
  return TRUE;
}

namespace {

// A fresh, empty file name in the folder of path, created so that no one else takes it.
CString TemporaryFileBeside(LPCSTR path) {
  CString folder = path;
  int slash = folder.ReverseFind('\\');
  int other = folder.ReverseFind('/');
  if (other > slash) slash = other;
  folder = slash >= 0 ? folder.Left(slash + 1) : CString(".");
  char name[MAX_PATH] = {};
  if (!GetTempFileNameA(folder, "zbs", 0, name))
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), path);
  return CString(name);
}

}  // namespace

BOOL CDocument::OnSaveDocument(LPCSTR lpszPathName) {
  CString temporary;
  CFile* pFile = nullptr;
  try {
    temporary = TemporaryFileBeside(lpszPathName);
    CFileException fe;
    pFile = GetFile(temporary, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &fe);
    if (!pFile) throw fe;
    {
      CArchive saveArchive(pFile, CArchive::store | CArchive::bNoFlushOnDelete);
      Serialize(saveArchive);
      saveArchive.Close();
    }
    pFile->Flush();
    CFile* closing = pFile;
    pFile = nullptr;
    ReleaseFile(closing, FALSE);
    if (!MoveFileExA(temporary, lpszPathName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszPathName);
  } catch (const CException& e) {
    if (pFile) ReleaseFile(pFile, TRUE);
    if (!temporary.IsEmpty()) DeleteFileA(temporary);
    if (!e.IsKindOf(RUNTIME_CLASS(CUserException)))
      ReportSaveLoadException(lpszPathName, &e, TRUE, 0);
    return FALSE;
  }
  SetPathName(lpszPathName);
  SetModifiedFlag(FALSE);
  return TRUE;
}

CFile* CDocument::GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  CFile* pFile = new CFile;
  if (!pFile->Open(lpszFileName, nOpenFlags, pError)) {
    delete pFile;
    return nullptr;
  }
  return pFile;
}

void CDocument::ReleaseFile(CFile* pFile, BOOL bAbort) {
  if (!pFile) return;
  if (bAbort) {
    pFile->Abort();
  } else {
    try {
      pFile->Close();
    } catch (const CException&) {
      delete pFile;
      throw;
    }
  }
  delete pFile;
}

void CDocument::ReportSaveLoadException(LPCSTR lpszPathName, const CException* e, BOOL bSaving,
                                        UINT nIDPDefault) {
  CString text = e ? e->GetErrorText() : CString();
  if (text.IsEmpty() && nIDPDefault) text.LoadString(nIDPDefault);
  if (text.IsEmpty()) {
    text.Format(bSaving ? "Failed to save document %s." : "Failed to open document %s.",
                lpszPathName ? lpszPathName : "");
  } else if (bSaving) {
    // The reader must know that nothing was replaced.
    CString kept;
    kept.Format("%s\nThe document was not saved; %s is unchanged.", static_cast<LPCSTR>(text),
                lpszPathName ? lpszPathName : "");
    text = kept;
  }
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}
