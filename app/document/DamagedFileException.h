// CDamagedFileException: a document file whose bytes cannot be what this program wrote (a
// compressed block that does not expand, block lengths that do not fit, a block cut short).
// It is a file exception, so every caller that handles those handles it, but it tells the user
// that the file is damaged or not a document of this program rather than blaming a handle.
#pragma once
#include "framework/exceptions/FileException.h"

class CDamagedFileException : public CFileException {
  DECLARE_DYNAMIC(CDamagedFileException)
 public:
  explicit CDamagedFileException(int cause = invalidFile, LPCSTR lpszFileName = nullptr)
      : CFileException(cause, -1, lpszFileName) {}

 protected:
  // The language module's message with the file's path in place of %1.
  CString Describe() const override;
};
