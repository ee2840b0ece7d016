// CWgFileSystem: the path and file operations the programs need: making whole folder paths,
// copying without overwriting, splitting paths, testing for files and folders, and listing a
// folder's contents. A short-lived stack object; it holds only the state of one file search.
// Both "\" and "/" separate the parts of a path. Nothing throws: failures are false or "".
#pragma once
#include <windows.h>

#include "framework/core/Object.h"
#include "framework/core/String.h"
#include "framework/collections/StringList.h"

class CWgFileSystem : public CObject {
  DECLARE_DYNAMIC(CWgFileSystem)
 public:
  CWgFileSystem() = default;
  CWgFileSystem(const CWgFileSystem&) = delete;
  CWgFileSystem& operator=(const CWgFileSystem&) = delete;
  ~CWgFileSystem() override;

  // Creates every missing folder of the path, from the top down; true when it exists at the end.
  BOOL MakePath(const CString& path);
  BOOL MakeDirectory(const CString& path);
  // Copies in chunks of nBufferSize bytes. False, and neither file touched, when the target
  // exists or the source cannot be opened; a copy that fails half-way is removed again.
  BOOL CopyFile(const CString& source, const CString& target, int nBufferSize);
  BOOL DeleteFile(const CString& path);
  // Deletes the folder with all its files and subfolders (links inside are removed, never
  // followed); true when the folder is gone at the end.
  BOOL DeleteDirectory(const CString& path);

  BOOL FileExists(const CString& path);
  BOOL DirectoryExists(const CString& path);

  CString GetFileName(const CString& path);
  // Up to and including the last separator; without bKeepDrive the drive ("C:") is cut off.
  CString GetPath(const CString& path, BOOL bKeepDrive = TRUE);
  CString GetExtension(const CString& path);
  CString GetBaseName(const CString& path);

  // "C:\" for drive C; "" when the current folder is not on a drive letter.
  CString GetCurrentDrive();
  // The current folder of a drive ("C", "C:" or "C:\"; the current drive when empty).
  CString GetCurrentDirectory(const CString& drive = CString());
  BOOL ChangeDirectory(const CString& path);

  // Names of the entries that match the mask: with no attributes the files (not folders),
  // otherwise the entries that have any of the attributes. "" when there are no more.
  CString GetFirstFileName(const CString& mask, DWORD dwAttributes = 0);
  CString GetNextFileName();

  // New lists that the caller deletes. File names are the folder followed by the name; with
  // bRecursive the files of every subfolder follow. A folder without a trailing separator gets
  // one.
  CStringList* GetFileList(const CString& folder, const CString& mask, BOOL bRecursive = FALSE,
                           DWORD dwAttributes = 0);
  // The paths of the subfolders of a folder, each with a trailing separator.
  CStringList* GetDirectoryList(const CString& folder);

 private:
  void EndSearch();
  CString NextMatch();

  HANDLE m_searchHandle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA m_findData = {};
  DWORD m_attributes = 0;
  bool m_havePending = false;
};
