// CFileInfo: one entry of the update catalogue beside the installed file it names, and the
// reading of a catalogue file into such entries. Both programs decide with it which files need
// an update, so they always agree.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "foundation/os/VersionInfo.h"
#include "foundation/update/UpdateCatalog.h"

class CFileInfo {
 public:
  CFileInfo() = default;
  // Takes the catalogue's values and reads the installed file's version (its version resource,
  // else its file time) from programFolder + the listed name.
  CFileInfo(const CatalogueEntry& entry, const std::string& programFolder);
  virtual ~CFileInfo() = default;

  // Only a listed file that is newer than the installed one; a missing optional file never.
  bool NeedsUpdate() const;
  // The lines the debug log gets for this decision.
  std::string DescribeDecision() const;

  std::string m_name;  // as listed, relative to the program folder
  std::string m_path;  // program folder + name
  CVersionInfo m_localVersion;
  CVersionInfo m_remoteVersion;
  long m_size = 0;
  bool m_sizeListed = false;
  std::string m_httpPath;
  std::string m_description;
  int m_isResource = 0;
  bool m_installed = false;
};

using CFileInfoTable = std::vector<std::unique_ptr<CFileInfo>>;

// Reads the catalogue file into the table (cleared first). False when the file cannot be read
// or is larger than a catalogue can be (1 MiB). The server list goes to servers when asked.
bool ReadCatalogueFile(const std::string& path, const std::string& programFolder,
                       CFileInfoTable& table, UpdateCatalog* parsed = nullptr);
