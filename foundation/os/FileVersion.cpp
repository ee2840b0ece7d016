#include "foundation/os/FileVersion.h"

#include <cstring>

#include "foundation/os/VersionInfo.h"
#include "framework/core/String.h"

IMPLEMENT_SERIAL(CFileVersion, CObject, 1)

CFileVersion::CFileVersion(LPCSTR lpszPath) {
  if (!lpszPath) return;
  const char* dot = strrchr(lpszPath, '.');
  CString extension = dot && !strpbrk(dot, "\\/") ? CString(dot + 1) : CString();
  extension.MakeUpper();
  // The extension is looked up anywhere in "EXEOCXDLL"; a file that turns out to have no
  // version resource simply stays 0.0.0.0.
  if (!strstr("EXEOCXDLL", extension)) return;
  DWORD attributes = GetFileAttributesA(lpszPath);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  DWORD high = 0, low = 0;
  if (!ReadFileVersionResource(lpszPath, high, low)) return;
  m_major = HIWORD(high);
  m_minor = LOWORD(high);
  m_build = HIWORD(low);
  m_revision = LOWORD(low);
}

void CFileVersion::CopyParts(const CFileVersion& other) {
  m_major = other.m_major;
  m_minor = other.m_minor;
  m_build = other.m_build;
  m_revision = other.m_revision;
}

void CFileVersion::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_major << m_minor << m_build << m_revision;
  } else {
    ar >> m_major >> m_minor >> m_build >> m_revision;
  }
}

bool CFileVersion::operator==(const CFileVersion& other) const {
  return m_major == other.m_major && m_minor == other.m_minor && m_build == other.m_build &&
         m_revision == other.m_revision;
}
