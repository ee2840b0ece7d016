#include "app/services/AppPaths.h"

#include <windows.h>

#include "app/services/AppServices.h"

namespace {

const char kProgramKey[] = "Software\\Orvandel Labs, Inc.\\ZBPro";
const char kDefaultModule[] = "ZBResenu.dll";

// A path holds at most the platform's path limit; a longer program folder is cut.
CString Limit(CString path) {
  return path.GetLength() > MAX_PATH ? path.Left(MAX_PATH) : path;
}

CString ComputeAppFolder() {
  char path[MAX_PATH * 4] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path - 1);
  CString file(path, n < sizeof path ? static_cast<int>(n) : 0);
  int slash = file.ReverseFind('\\');
  if (file.ReverseFind('/') > slash) slash = file.ReverseFind('/');
  return Limit(file.Left(slash + 1));
}

CString InFolder(const char* name) {
  return Limit(GetAppFolder() + name);
}

CString ReadLanguageValue() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return CString();
  char value[MAX_PATH + 1] = {};
  DWORD size = MAX_PATH;
  DWORD type = 0;
  LONG rc =
      RegQueryValueExA(key, "LanguageDLL", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return CString();
  value[MAX_PATH] = '\0';
  return CString(value);
}

}  // namespace

const CString& GetAppFolder() {
  static const CString folder = ComputeAppFolder();
  return folder;
}

const CString& GetDebugLogPath() {
  static const CString path = InFolder("zbu_dbg.txt");
  return path;
}

const CString& GetReportsFolderPath() {
  static const CString path = InFolder("reports\\");
  return path;
}

const CString& GetReportsFolder() {
  const CString& path = GetReportsFolderPath();
  if (!PathExists(path)) {
    // Every missing level, from the top down.
    for (int i = 0; i < path.GetLength(); ++i) {
      if (path[i] != '\\' || i < 3) continue;
      CreateDirectoryA(path.Left(i), nullptr);
    }
  }
  return path;
}

const CString& GetTemplatesFilePath() {
  static const CString path = InFolder("templates.dat");
  return path;
}

const CString& GetToolMenuFilePath() {
  static const CString path = InFolder("toolmenu.dat");
  return path;
}

const CString& GetUpdaterPath() {
  static const CString path = InFolder("ZBUpdate.exe");
  return path;
}

const CString& GetCatalogPath() {
  static const CString path = InFolder("versions.ini");
  return path;
}

const CString& GetDownloadedUpdaterPath() {
  static const CString path = InFolder("ZBU.exe");
  return path;
}

const CString& GetDefaultResourceDllPath() {
  static const CString path = InFolder(kDefaultModule);
  return path;
}

CString GetResourceDllPath() {
  CString name = ReadLanguageValue();
  if (!name.IsEmpty()) return name;
  char language[16] = {};
  GetProfileStringA("intl", "sLanguage", "", language, sizeof language);
  CString code(language);
  if (!code.IsEmpty()) {
    CString candidate = CString("ZBRes") + code + ".dll";
    if (PathExists(GetAppFolder() + candidate)) return candidate;
  }
  return CString(kDefaultModule);
}

CString LanguageCodeOf(const CString& moduleName) {
  CString lower = moduleName;
  lower.MakeLower();
  int dot = lower.Find(".dll");
  if (dot < 0) return CString();
  int start = dot >= 3 ? dot - 3 : 0;
  return moduleName.Mid(start, dot - start);
}

const CString& GetLanguageCode() {
  static const CString code = LanguageCodeOf(GetResourceDllPath());
  return code;
}

CString LocalisedFilePath(const CString& folder, const char* stem, const CString& code,
                          const char* extension) {
  CString path = Limit(folder + stem + code + extension);
  if (!code.IsEmpty() && PathExists(path)) return path;
  return Limit(folder + stem + "enu" + extension);
}

const CString& GetHelpFilePath() {
  static const CString path = LocalisedFilePath(GetAppFolder(), "ZBPro", GetLanguageCode(), ".hlp");
  return path;
}

const CString& GetPopupHelpFilePath() {
  static const CString path = LocalisedFilePath(GetAppFolder(), "Popup", GetLanguageCode(), ".hlp");
  return path;
}

const CString& GetTipsFilePath() {
  static const CString path = LocalisedFilePath(GetAppFolder(), "ZBPro", GetLanguageCode(), ".tip");
  return path;
}
