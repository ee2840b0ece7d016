// CFile: a binary file over a Win32 file handle. Failures of reading, writing, seeking and
// closing throw CFileException; Open reports its failure by its result instead.
#pragma once
#include <windows.h>

#include "framework/exceptions/FileException.h"
#include "framework/core/Object.h"
#include "framework/core/String.h"
#include "framework/core/Time.h"

struct CFileStatus {
  CTime m_ctime;  // creation
  CTime m_atime;  // last access
  CTime m_mtime;  // last change
  ULONGLONG m_size = 0;
  BYTE m_attribute = 0;  // the low byte of the Win32 attributes (CFile::Attribute)
  char m_szFullName[MAX_PATH] = {};
};

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000
  };
  enum Attribute : BYTE {
    normal = 0x00,
    readOnly = 0x01,
    hidden = 0x02,
    system = 0x04,
    volume = 0x08,
    directory = 0x10,
    archive = 0x20
  };
  enum SeekPosition { begin = FILE_BEGIN, current = FILE_CURRENT, end = FILE_END };

  static const HANDLE hFileNull;

  CFile() = default;
  // Takes an open handle; it is not closed when the object goes.
  explicit CFile(HANDLE hFile) : m_hFile(hFile) {}
  // Opens the file or throws CFileException.
  CFile(LPCSTR lpszFileName, UINT nOpenFlags);
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  // Closes an open file; errors of that close are dropped.
  ~CFile() override;

  // Handles are never inherited by child processes. FALSE on failure, with the reason in
  // *pError when one is given.
  virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
  // The number of bytes read; fewer than asked only at the end of the file.
  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  void SeekToBegin() { Seek(0, begin); }
  virtual ULONGLONG GetPosition() const;
  virtual ULONGLONG GetLength() const;
  virtual void SetLength(ULONGLONG dwNewLen);
  virtual void Flush();
  virtual void Close();
  // Closes without reporting errors; for the failure paths.
  virtual void Abort();

  virtual CString GetFilePath() const { return m_strFileName; }
  virtual void SetFilePath(LPCSTR lpszNewName) { m_strFileName = lpszNewName; }
  // The part of the path after its last separator.
  virtual CString GetFileName() const;

  BOOL GetStatus(CFileStatus& rStatus) const;
  // The status of a file or folder by path; FALSE when it cannot be read.
  static BOOL GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus);
  // Both throw CFileException on failure.
  static void Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);
  static void Remove(LPCSTR lpszFileName);

  operator HANDLE() const { return m_hFile; }  // NOLINT

  HANDLE m_hFile = INVALID_HANDLE_VALUE;

 protected:
  BOOL m_bCloseOnDelete = FALSE;
  CString m_strFileName;
};
