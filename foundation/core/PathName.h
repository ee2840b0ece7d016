// CPathName: a file path split into drive ("C:"), server ("\\server"), directory (with its
// trailing backslash) and file name.
#pragma once

#include "foundation/core/LibString.h"

class CPathName {
 public:
  explicit CPathName(const CLibString& path);
  virtual ~CPathName() = default;

  CLibString GetPath() const { return m_path; }
  CLibString GetDrive() const { return m_drive; }
  CLibString GetServer() const { return m_server; }
  CLibString GetDirectory() const { return m_directory; }
  CLibString GetFileName() const { return m_fileName; }

 private:
  CLibString m_path;
  CLibString m_drive;
  CLibString m_server;
  CLibString m_directory;
  CLibString m_fileName;
};
