#include "foundation/update/UpdateCatalog.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "foundation/update/ArqFormat.h"

const char* const kDefaultUpdateHost = "update.orvandel-labs.invalid";

namespace {

std::string Numbered(const char* stem, long i) {
  char key[32];
  std::snprintf(key, sizeof key, "%s%ld", stem, i);
  return key;
}

CatalogueEntry ReadEntry(const IniText& ini, const std::string& name) {
  CatalogueEntry e;
  e.name = name;
  e.description = ini.GetString(name, "Description", "No Description");
  e.version = ini.GetString(name, "Version", "0.0.0.0");
  e.size = ini.GetInt(name, "Size", 1000);
  e.sizeListed = !ini.GetString(name, "Size", "").empty();
  e.httpPath = ini.GetString(name, "HttpPath", "/update/");
  e.dateTime = ini.GetString(name, "DateTime", "");
  e.isResource = static_cast<int>(ini.GetInt(name, "IsResource", 0));
  return e;
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

UpdateCatalog ParseUpdateCatalog(const std::string& text) {
  IniText ini(text);
  UpdateCatalog catalog;
  long count = std::clamp(ini.GetInt("File List", "Count", 0), 0L, UpdateCatalog::kMaxFiles);
  for (long i = 0; i < count; ++i) {
    std::string name = ini.GetString("File List", Numbered("File", i), "");
    if (!ArqIsSafeName(name)) {
      if (!name.empty()) catalog.refused.push_back(name);
      continue;
    }
    auto same = std::find_if(catalog.entries.begin(), catalog.entries.end(),
                             [&](const CatalogueEntry& e) { return SameName(e.name, name); });
    if (same != catalog.entries.end()) catalog.entries.erase(same);
    catalog.entries.push_back(ReadEntry(ini, name));
  }
  catalog.hasServerList = ini.HasSection("FTP Servers");
  if (catalog.hasServerList) {
    long n = std::clamp(ini.GetInt("FTP Servers", "Count", 1), 0L, UpdateCatalog::kMaxServers);
    for (long i = 0; i < n; ++i)
      catalog.servers.push_back(
          ini.GetString("FTP Servers", Numbered("Server", i), kDefaultUpdateHost));
  }
  return catalog;
}

bool CatalogueNeedsUpdate(const CatalogueEntry& entry, bool installed, bool localIsOlder) {
  if (entry.IsOptional() && !installed) return false;
  return localIsOlder;
}

std::string LocalArchiveName(const std::string& httpPath) {
  // Cut at "/" with double-quoted parts kept together; the last non-empty part counts.
  std::string last, token;
  bool quoted = false, any = false;
  for (char c : httpPath) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
      continue;
    }
    if (c == '/' && !quoted) {
      if (any && !token.empty()) last = token;
      token.clear();
      any = false;
      continue;
    }
    token += c;
    any = true;
  }
  if (!token.empty()) last = token;
  for (char& c : last) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return last;
}

bool IsDownloadableArchiveName(const std::string& name) {
  if (!ArqIsSafeName(name, false) || name.size() <= 4) return false;
  std::string ext = name.substr(name.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".arq";
}

bool IsEngineDataFile(const std::string& name) {
  return SameName(name, "engines.dat") || SameName(name, "categories.dat");
}

long ArchiveDownloadLimit(const CatalogueEntry& entry) {
  return entry.sizeListed && entry.size > 0 ? entry.size : UpdateCatalog::kMaxUnlistedArchiveBytes;
}
