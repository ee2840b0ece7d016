// CFileVersion: the four-part file version of an executable's version resource, as a
// serialisable object. The program compares the update program's downloaded copy with the
// installed one by it.
#pragma once
#include <windows.h>

#include "framework/files/Archive.h"
#include "framework/core/Object.h"

class CFileVersion : public CObject {
  DECLARE_SERIAL(CFileVersion)
 public:
  CFileVersion() = default;
  // The version of an existing .exe, .ocx or .dll file; 0.0.0.0 for any other path.
  explicit CFileVersion(LPCSTR lpszPath);
  CFileVersion(const CFileVersion& other) : CObject() { CopyParts(other); }
  CFileVersion& operator=(const CFileVersion& other) {
    CopyParts(other);
    return *this;
  }

  // The four parts as four 32-bit values, major first.
  void Serialize(CArchive& ar) override;

  bool operator==(const CFileVersion& other) const;
  bool operator!=(const CFileVersion& other) const { return !(*this == other); }

  DWORD GetMajor() const { return m_major; }
  DWORD GetMinor() const { return m_minor; }
  DWORD GetBuild() const { return m_build; }
  DWORD GetRevision() const { return m_revision; }

 private:
  void CopyParts(const CFileVersion& other);

  DWORD m_major = 0;
  DWORD m_minor = 0;
  DWORD m_build = 0;
  DWORD m_revision = 0;
};
