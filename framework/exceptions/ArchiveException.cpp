#include "framework/exceptions/ArchiveException.h"

IMPLEMENT_DYNAMIC(CArchiveException, CException)

CString CArchiveException::Describe() const {
  CString name = m_strFileName.IsEmpty() ? CString("an unnamed file") : m_strFileName;
  const char* pattern = nullptr;
  switch (m_cause) {
    case none:
      return CString();
    case readOnly:
      pattern = "An attempt was made to write to %s while it was being read.";
      break;
    case endOfFile:
      pattern = "Unexpected end of file while reading %s.";
      break;
    case writeOnly:
      pattern = "An attempt was made to read from %s while it was being written.";
      break;
    case badIndex:
      pattern = "%s has a bad format.";
      break;
    case badClass:
      pattern = "%s contains an unexpected object.";
      break;
    case badSchema:
      pattern = "%s contains an object of an unexpected version.";
      break;
    default:
      pattern = "An unexpected error occurred while reading or writing %s.";
      break;
  }
  CString text;
  text.Format(pattern, name.GetString());
  return text;
}
