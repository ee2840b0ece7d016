#include "app/document/DamagedFileException.h"

#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CDamagedFileException, CFileException)

CString CDamagedFileException::Describe() const {
  CString text;
  // Without the language module's text the cause's own words are the best there is.
  if (!text.LoadString(IDP_DOC_DAMAGED)) return CFileException::Describe();
  // Replaced, not formatted: a path may hold a percent sign.
  text.Replace("%1", m_strFileName.IsEmpty() ? "The file" : m_strFileName.GetString());
  return text;
}
