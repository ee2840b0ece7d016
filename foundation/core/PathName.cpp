#include "foundation/core/PathName.h"

CPathName::CPathName(const CLibString& path) : m_path(path) {
  CLibString rest(path);
  rest.TrimLeft(' ').TrimRight(' ');

  if (rest.GetLength() >= 2 && *rest.At(1) == ':') {
    m_drive = rest.Left(2);
    rest = rest.Mid(2, rest.GetLength());
  } else if (rest.Find("\\\\") == 1) {
    m_server = CLibString("\\\\") + rest.NextToken("\\");
    if (rest.GetLength() > 0) rest = CLibString("\\") + rest;
  }

  m_fileName = rest;
  int slash = rest.ReverseFind("\\");
  if (slash < 0) return;
  m_fileName = rest.Mid(slash + 1, rest.GetLength());
  m_directory = rest.Left(slash + 1);
}
