// CFileException: a failure of the file layer, with its cause, the system's error code and the
// file's path.
#pragma once
#include "framework/exceptions/Exception.h"

class CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
 public:
  enum {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };

  explicit CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszFileName = nullptr)
      : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName) {}

  // The cause that a Win32 error code stands for.
  static int OsErrorToException(LONG lOsError);
  [[noreturn]] static void ThrowOsError(LONG lOsError, LPCSTR lpszFileName = nullptr);

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;

 protected:
  CString Describe() const override;
};
