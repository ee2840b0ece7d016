// CArchiveException: a failure of an archive, such as a file that ends too early or holds an
// object of an unexpected class.
#pragma once
#include "framework/exceptions/Exception.h"

class CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)
 public:
  enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

  explicit CArchiveException(int cause = none, LPCSTR lpszArchiveName = nullptr)
      : m_cause(cause), m_strFileName(lpszArchiveName) {}

  int m_cause;
  CString m_strFileName;

 protected:
  CString Describe() const override;
};
