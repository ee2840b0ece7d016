#include "engines/db/EngineServices.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "engines/db/EngineKeys.h"

namespace {

const char kProgramKey[] = "Software\\Orvandel Labs, Inc.\\ZBPro";
const char kPropertiesKey[] = "Software\\Orvandel Labs, Inc.\\ZBPro\\Properties";
const char kEnglishModule[] = "ZBResENU.dll";

HMODULE g_languageModule = nullptr;
HMODULE g_reportModule = nullptr;
std::string g_fallbackModule = kEnglishModule;
std::mutex g_iconLock;
int g_iconCount = -1;

int DefaultMessageBox(HWND owner, const char* text, const char* caption, unsigned type) {
  return MessageBoxA(owner, text, caption, type);
}
EngineMessageBoxFn g_messageBox = DefaultMessageBox;

int DefaultDateFormat(const SYSTEMTIME& date, char* buffer, int size) {
  return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, buffer, size);
}
EngineDateFormatFn g_dateFormat = DefaultDateFormat;

// The value LanguageDLL of the program's key; empty when missing or not a string.
std::string ReadLanguageSetting() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  char value[MAX_PATH + 1] = {};
  DWORD size = MAX_PATH;
  DWORD type = 0;
  LONG result =
      RegQueryValueExA(key, "LanguageDLL", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ) return {};
  value[MAX_PATH] = '\0';
  return value;
}

}  // namespace

HMODULE LoadLanguageModule() {
  if (g_languageModule) return g_languageModule;
  std::string name = ReadLanguageSetting();
  HMODULE module = name.empty() ? nullptr : LoadLibraryA(name.c_str());
  if (!module && !g_fallbackModule.empty()) module = LoadLibraryA(g_fallbackModule.c_str());
  g_languageModule = module;
  return module;
}

void FreeLanguageModule() {
  if (g_languageModule) FreeLibrary(g_languageModule);
  g_languageModule = nullptr;
}

HMODULE GetLanguageModule() {
  return g_languageModule;
}

void SetReportResourceModule(HMODULE module) {
  g_reportModule = module;
}

HMODULE GetReportResourceModule() {
  return g_reportModule;
}

CLibString LoadResourceString(unsigned id) {
  if (!g_reportModule) return CLibString();
  char buffer[1024] = {};
  if (LoadStringA(g_reportModule, id, buffer, sizeof buffer) <= 0) return CLibString();
  return CLibString(buffer);
}

int CountEngineIcons() {
  std::lock_guard<std::mutex> hold(g_iconLock);
  if (g_iconCount < 0) {
    int count = 0;
    EngineKeyList.ForEach([&](const CNVItem& item) {
      if (item.m_name.Find(".icon") > 0) ++count;
    });
    g_iconCount = count;
  }
  return g_iconCount;
}

// Called when the database is freed: the next load may bring other engines.
void ResetEngineIconCount() {
  std::lock_guard<std::mutex> hold(g_iconLock);
  g_iconCount = -1;
}

uint32_t ParseColour(const CLibString& text) {
  if (text.GetLength() == 0) return 0;
  char separator = text.FindChar('.') ? '.' : text.FindChar('/') ? '/' : ',';
  long parts[3] = {0, 0, 0};
  const char* p = text.c_str();
  for (int i = 0; i < 3 && p; ++i) {
    parts[i] = atol(p);
    p = strchr(p, separator);
    if (p) ++p;
  }
  return static_cast<uint32_t>(parts[0] * 65536 + parts[1] * 256 + parts[2]);
}

uint32_t GetColourSetting(const char* valueName) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kPropertiesKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return 0;
  char value[256] = {};
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  LONG result =
      RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ) return 0;
  value[sizeof value - 1] = '\0';
  return ParseColour(value);
}

CLibString FormatDate(const CDate& date) {
  int month = 0, day = 0, year = 0;
  CDate::FromDayNumber(date.GetDayNumber(), &month, &day, &year);
  SYSTEMTIME time = {};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  char buffer[101] = {};
  if (g_dateFormat(time, buffer, 100) > 0) return CLibString(buffer);
  return CLibString().Format("%02d/%02d/%04d", month, day, year);
}

void SetEngineMessageBox(EngineMessageBoxFn function) {
  g_messageBox = function ? function : DefaultMessageBox;
}

int ShowEngineMessageBox(HWND owner, const char* text, const char* caption, unsigned type) {
  return g_messageBox(owner, text, caption, type);
}

void SetFallbackLanguageModule(const char* name) {
  g_fallbackModule = name ? name : kEnglishModule;
}

void SetEngineDateFormat(EngineDateFormatFn function) {
  g_dateFormat = function ? function : DefaultDateFormat;
}
