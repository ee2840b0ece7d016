// CDocument: the data of a program, read from and written to one file through an archive. The
// program derives its document and gives it Serialize; this class does the file handling around
// it: new, open, save, the path and title, and the modified flag. Views come with the window side;
// until then UpdateAllViews reaches nobody.
#pragma once
#include <windows.h>

#include "framework/Exception.h"
#include "framework/File.h"
#include "framework/Object.h"
#include "framework/String.h"

class CArchive;

class CDocument : public CObject {
  DECLARE_DYNAMIC(CDocument)
 public:
  CDocument() = default;
  ~CDocument() override = default;
  CDocument(const CDocument&) = delete;
  CDocument& operator=(const CDocument&) = delete;

  const CString& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
  const CString& GetPathName() const { return m_strPathName; }
  // The title becomes the file's name.
  virtual void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE);
  // Forgets the path; the document has no file until it is saved under a name.
  void ClearPathName();

  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  // Tells every view of the document (none yet) of a change.
  void UpdateAllViews(CObject* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

  // Empties the document and forgets its path.
  virtual BOOL OnNewDocument();
  // Reads the file through Serialize. On any failure the error is reported, the contents are
  // deleted and the document keeps no path, so that a later save cannot overwrite the file it
  // failed to read. Serialize throws CUserException after reporting a failure itself.
  virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
  // Writes a temporary file in the same folder, flushes it and only then moves it over the old
  // file; on failure the old file is left as it was and the failure is reported.
  virtual BOOL OnSaveDocument(LPCSTR lpszPathName);
  virtual void DeleteContents() {}

  // A new file object opened on the path, or null (with the reason in pError).
  virtual CFile* GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
  // Closes (or aborts) and deletes a file of GetFile.
  virtual void ReleaseFile(CFile* pFile, BOOL bAbort);
  // Shows the exception's text, else the prompt text of nIDPDefault, else a plain default.
  virtual void ReportSaveLoadException(LPCSTR lpszPathName, const CException* e, BOOL bSaving,
                                       UINT nIDPDefault);

 protected:
  CString m_strTitle;
  CString m_strPathName;
  BOOL m_bModified = FALSE;
};
