#include "app/settings/SettingsMigration.h"

#include "app/settings/SelectionTemplates.h"

#include <windows.h>

#include <vector>

namespace {

const char kProgramKey[] = "Software\\Orvandel Labs, Inc.\\ZBPro";
const char kNewPropertiesKey[] = "SOFTWARE\\Orvandel Labs, Inc.\\ZBPro\\Properties";
const char kOldPropertiesKey[] = "Software\\The Zub House\\Zubrin\\Properties";
const char kOldTemplatesKey[] = "Software\\The Zub House\\Zubrin\\Properties\\Templates";

const char* const kStrings[] = {
    "ReportsDir",    "ProxyServer", "ProxyUser", "ProxyPassword", "HeaderText", "FooterText",
    "KeywordIgnore", "NormalText",  "NormalBk",  "DisabledText",  "DisabledBk", "HighlightText",
    "HighlightBk",   "ZubrinText",  "ZubrinBk",  "MovedUpText",   "MovedUpBk",  "MovedDownText",
    "MovedDownBk",   "ViewText",    "ViewBk"};
const char* const kNumbers[] = {"MaxResults", "TimeOut",   "StopSearch",   "IncludeNew",
                                "MaxThreads", "UseProxy",  "AutoDetect",   "ProxyPort",
                                "UseHeader",  "UseFooter", "KeywordAlert", "AppendDate"};

// Reads a string value of any length: the size is asked first, and asked again when the value
// grew in between. A value that is not a string is not taken.
bool ReadText(HKEY key, const char* name, CString& value) {
  DWORD type = 0, size = 0;
  LONG result = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
  std::vector<char> data;
  for (int attempt = 0; attempt < 3 && result == ERROR_SUCCESS; ++attempt) {
    if (type != REG_SZ) return false;
    // Room for a terminator that the stored value may lack.
    data.assign(size + 1, '\0');
    DWORD got = size;
    result =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got);
    if (result == ERROR_MORE_DATA) {
      size = got;
      result = ERROR_SUCCESS;
      continue;
    }
    if (result != ERROR_SUCCESS || type != REG_SZ) return false;
    data[got < data.size() ? got : data.size() - 1] = '\0';
    value = data.data();
    return true;
  }
  return false;
}

bool ReadNumber(HKEY key, const char* name, DWORD& value) {
  DWORD type = 0, size = sizeof value;
  return RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
             ERROR_SUCCESS &&
         type == REG_DWORD;
}

std::vector<MigratedTemplate> ReadOldTemplates() {
  std::vector<MigratedTemplate> found;
  HKEY templates = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kOldTemplatesKey, 0, KEY_READ, &templates) != ERROR_SUCCESS)
    return found;
  DWORD count = 0;
  if (ReadNumber(templates, "Count", count)) {
    for (DWORD i = 0; i < count; ++i) {
      CString path;
      path.Format("%s\\Template%lu", kOldTemplatesKey, static_cast<unsigned long>(i));
      HKEY one = nullptr;
      if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &one) != ERROR_SUCCESS) continue;
      MigratedTemplate entry;
      ReadText(one, "Name", entry.name);
      ReadText(one, "Engines", entry.engines);
      RegCloseKey(one);
      if (!entry.name.IsEmpty()) found.push_back(entry);
    }
  }
  RegCloseKey(templates);
  return found;
}

void CopyOldValues() {
  HKEY oldKey = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kOldPropertiesKey, 0, KEY_READ, &oldKey) != ERROR_SUCCESS)
    return;
  HKEY newKey = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kNewPropertiesKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &newKey, nullptr) == ERROR_SUCCESS) {
    for (const char* name : kStrings) {
      CString value;
      if (ReadText(oldKey, name, value))
        RegSetValueExA(newKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.GetString()),
                       value.GetLength() + 1);
    }
    for (const char* name : kNumbers) {
      DWORD value = 0;
      if (ReadNumber(oldKey, name, value))
        RegSetValueExA(newKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
    }
    RegCloseKey(newKey);
  }
  RegCloseKey(oldKey);
}

}  // namespace

bool MigrateSettings(const TemplateSink& storeTemplates) {
  HKEY program = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &program, nullptr) != ERROR_SUCCESS)
    return false;
  DWORD done = 0;
  if (ReadNumber(program, "RegCvt", done) && done != 0) {
    RegCloseKey(program);
    return false;
  }
  std::vector<MigratedTemplate> templates = ReadOldTemplates();
  if (!templates.empty() && storeTemplates) storeTemplates(templates);
  CopyOldValues();
  DWORD one = 1;
  RegSetValueExA(program, "RegCvt", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  RegCloseKey(program);
  return true;
}

TemplateSink SaveMigratedTemplatesTo(NQSelectionTemplates& templates, const std::string& path) {
  return [&templates, path](const std::vector<MigratedTemplate>& found) {
    for (const MigratedTemplate& old : found) {
      NQSelectionTemplates::EngineNames engines;
      std::string names = old.engines.GetString();
      size_t start = 0;
      while (start <= names.size()) {
        size_t end = names.find_first_of(",\r\n", start);
        if (end == std::string::npos) end = names.size();
        std::string name = names.substr(start, end - start);
        size_t first = name.find_first_not_of(" \t");
        if (first != std::string::npos)
          engines.insert(name.substr(first, name.find_last_not_of(" \t") - first + 1));
        start = end + 1;
      }
      templates.Add(old.name.GetString(), engines);
    }
    templates.Save(path);
  };
}
