#include "foundation/update/FileInfo.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr DWORD kMaxCatalogueBytes = UpdateCatalog::kMaxCatalogueBytes;

std::string DescribeVersion(const char* label, const CVersionInfo& v) {
  const struct tm& t = v.GetCalendar();
  char text[160];
  std::snprintf(text, sizeof text, "%s%d/%d/%d\r\n%s%d:%d:%d\r\n%s%s\r\n", label, t.tm_mon + 1,
                t.tm_mday, t.tm_year + 1900, label, t.tm_hour, t.tm_min, t.tm_sec, label,
                v.Format().GetString());
  return text;
}

}  // namespace

CFileInfo::CFileInfo(const CatalogueEntry& entry, const std::string& programFolder)
    : m_name(entry.name),
      m_path(programFolder + entry.name),
      m_size(entry.size),
      m_sizeListed(entry.sizeListed),
      m_httpPath(entry.httpPath),
      m_description(entry.description),
      m_isResource(entry.isResource) {
  m_installed = GetFileAttributesA(m_path.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (m_installed) m_localVersion.FromFile(m_path.c_str());
  m_remoteVersion.Parse(entry.RemoteVersionText().c_str());
}

bool CFileInfo::NeedsUpdate() const {
  CatalogueEntry entry;
  entry.isResource = m_isResource;
  return CatalogueNeedsUpdate(entry, m_installed, m_localVersion < m_remoteVersion);
}

std::string CFileInfo::DescribeDecision() const {
  std::string text = "\r\nFile:   " + m_path + "\r\n";
  text += DescribeVersion("Ver:    ", m_localVersion);
  text += DescribeVersion("FtpVer: ", m_remoteVersion);
  // A missing optional file is passed over without a decision line.
  if (m_isResource == 1 && !m_installed) return text;
  return text + "Update: " + (NeedsUpdate() ? "1" : "0") + "\r\n";
}

bool ReadCatalogueFile(const std::string& path, const std::string& programFolder,
                       CFileInfoTable& table, UpdateCatalog* parsed) {
  table.clear();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kMaxCatalogueBytes;
  std::string text(ok ? static_cast<size_t>(size.QuadPart) : 0, '\0');
  DWORD got = 0;
  if (ok && !text.empty())
    ok = ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr) &&
         got == text.size();
  CloseHandle(file);
  if (!ok) return false;
  UpdateCatalog catalog = ParseUpdateCatalog(text);
  for (const CatalogueEntry& entry : catalog.entries)
    table.push_back(std::make_unique<CFileInfo>(entry, programFolder));
  if (parsed) *parsed = std::move(catalog);
  return true;
}
