// The update catalogue (versions.ini, published as ZBPro.cat) as both programs read it, and the
// update server list that comes with it. One reader for both programs, so that they agree on
// every default: "File List" with "Count" and "File%d"; a section per listed file with
// "Description", "Version", "Size", "HttpPath", "DateTime" and "IsResource"; "FTP Servers" with
// "Count" and "Server%d".
//
// The catalogue comes from the network: a listed name that could reach outside the program
// folder is refused (left out, and remembered in the refused list), and counts are bounded.
#pragma once

#include <string>
#include <vector>

#include "foundation/update/IniText.h"

struct CatalogueEntry {
  std::string name;  // relative to the program folder, as listed
  std::string description;
  std::string version;      // four dotted numbers
  std::string dateTime;     // when not empty, used in place of the version
  long size = 0;            // bytes, as the catalogue says (it may be wrong)
  bool sizeListed = false;  // false: the catalogue gave no "Size" (size is the default)
  std::string httpPath;     // the archive's path on the server
  int isResource = 0;       // 1: optional; a missing optional file is never updated

  // The version text the remote version is parsed from.
  const std::string& RemoteVersionText() const { return dateTime.empty() ? version : dateTime; }
  bool IsOptional() const { return isResource == 1; }
};

struct UpdateCatalog {
  static constexpr long kMaxFiles = 1000;
  static constexpr long kMaxServers = 64;
  // No catalogue is larger: a download of one stops there.
  static constexpr long kMaxCatalogueBytes = 1L << 20;
  // An archive whose size the catalogue does not give (or gives as nothing) stops here.
  static constexpr long kMaxUnlistedArchiveBytes = 256L << 20;

  std::vector<CatalogueEntry> entries;  // in listing order; a name listed twice: the later one
  std::vector<std::string> refused;     // listed names refused as unsafe
  bool hasServerList = false;
  std::vector<std::string> servers;  // "Server0" .. "Server<Count-1>", defaults filled in
};

// The default update host, for a catalogue or profile that names none.
extern const char* const kDefaultUpdateHost;

// Reads the catalogue's text. Missing values take their defaults.
UpdateCatalog ParseUpdateCatalog(const std::string& text);

// The decision for one entry, given what is known of the installed file.
bool CatalogueNeedsUpdate(const CatalogueEntry& entry, bool installed, bool localIsOlder);

// The file name an archive is stored under: the last "/"-separated part of its server path,
// in lower case ("latest" for "/zubrin/latest/", empty when there is none).
std::string LocalArchiveName(const std::string& httpPath);
// True when that name is a plain file name ending in ".arq": nothing else is ever downloaded.
bool IsDownloadableArchiveName(const std::string& name);

// The most bytes an entry's archive download may bring: the catalogue's size, when it gives a
// positive one.
long ArchiveDownloadLimit(const CatalogueEntry& entry);

// True for the engine data files ("engines.dat", "categories.dat", in any case).
bool IsEngineDataFile(const std::string& name);
