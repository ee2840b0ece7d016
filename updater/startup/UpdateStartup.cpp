#include "updater/startup/UpdateStartup.h"

#include <windows.h>

#include <shellapi.h>

#include <cctype>
#include <cstdint>

#include "foundation/update/ArqFormat.h"
#include "framework/app/AfxResource.h"
#include "resources/resource.h"
#include "updater/archive/ArchiveFiles.h"
#include "updater/archive/ArchiveLayer.h"
#include "updater/startup/NQCommandLineInfo.h"

std::string GetLanguageModuleName(const std::string& setting) {
  std::string name = setting;
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  bool plain = ArqIsSafeName(name, false) && name.size() > 4 &&
               name.compare(name.size() - 4, 4, ".dll") == 0;
  return plain ? name : kEnglishModule;
}

ModuleWait WaitForModuleRelease(const std::string& path, unsigned limitMs, unsigned pollMs) {
  ULONGLONG start = GetTickCount64();
  for (;;) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
      CloseHandle(f);
      return kModuleReady;
    }
    DWORD error = GetLastError();
    // Only a file in use is worth waiting for; anything else will not change by waiting.
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) return kModuleMissing;
    if (GetTickCount64() - start >= limitMs) return kModuleStillInUse;
    Sleep(pollMs);
  }
}

std::string CopyModuleFresh(const std::string& modulePath, const std::string& tempFolder) {
  if (!MakeFolders(tempFolder)) return std::string();
  std::string name = modulePath.substr(modulePath.find_last_of("\\/") + 1);
  std::string copy = tempFolder + name;
  std::string partial = MakeTempName(tempFolder, "LM");
  if (partial.empty()) return std::string();
  // An old copy left by an earlier run may be in use or stale: the new one replaces it whole.
  if (!CopyFileA(modulePath.c_str(), partial.c_str(), FALSE)) return std::string();
  if (!MoveFileExA(partial.c_str(), copy.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(partial.c_str());
    return std::string();
  }
  return copy;
}

void RemoveModuleCopy(const std::string& copyPath, const std::string& tempFolder) {
  if (!copyPath.empty()) DeleteFileA(copyPath.c_str());
  RemoveDirectoryA(tempFolder.c_str());  // fails, as it should, while other files are there
}

std::string GetModuleFolder() {
  static const std::string folder = AfxGetModuleFolder();
  return folder;
}

std::string GetMainProgramPath() {
  return GetModuleFolder() + "ZBPro.exe";
}

std::string GetDebugStartLogPath() {
  return GetModuleFolder() + "zbu_dbgs.txt";
}

std::string GetUpdateDebugLogPath() {
  return GetModuleFolder() + "zbu_dbg.txt";
}

std::string RelaunchParameters(const std::string& documentPath) {
  return "\"" + documentPath + "\"";
}

const char* RelaunchErrorText(long code) {
  switch (code) {
    case 0:
      return "The operating system is out\nof memory or resources.";
    case 2:
      return "The specified file was not found.";
    case 3:
      return "The specified path was not found.";
    case 5:
      return "The operating system denied\naccess to the specified file.";
    case 8:
      return "There was not enough memory to complete the operation.";
    case 11:
      return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26:
      return "A sharing violation occurred. ";
    case 27:
      return "The filename association is\nincomplete or invalid.";
    case 28:
      return "The DDE transaction could not\nbe completed because the request timed out.";
    case 29:
      return "The DDE transaction failed.";
    case 30:
      return "The DDE transaction could not\nbe completed because other DDE transactions\n"
             "were being processed.";
    case 31:
      return "There is no application associated\nwith the given filename extension.";
    case 32:
      return "The specified dynamic-link library was not found.";
    default:
      return "Unknown Error";
  }
}

std::string DebugStartLines(const NQCommandLineInfo& info) {
  return std::string("Update:   ") + (info.m_update ? "1" : "0") +
         "\r\nLaunch:   " + (info.m_launch ? "1" : "0") +
         "\r\nFile:     " + (info.m_file ? "1" : "0") + "\r\nFileName: " + info.m_fileName + "\r\n";
}

bool IsMainProgramRunning() {
  return FindWindowA(ZBPRO_MAINFRAME_CLASS, nullptr) != nullptr;
}

bool WaitForMainProgramToClose(unsigned limitMs, unsigned pollMs) {
  ULONGLONG start = GetTickCount64();
  while (IsMainProgramRunning()) {
    if (GetTickCount64() - start >= limitMs) return false;
    Sleep(pollMs);
  }
  return true;
}

long RelaunchMainProgram(const std::string& programFolder, const std::string& documentPath,
                         std::string* debugLines) {
  std::string program = programFolder + "ZBPro.exe";
  std::string parameters = RelaunchParameters(documentPath);
  if (debugLines) *debugLines = "App:      " + program + "\r\nParams:   " + parameters + "\r\n";
  HINSTANCE result =
      ShellExecuteA(nullptr, "open", program.c_str(), parameters.c_str(), nullptr, SW_SHOW);
  return static_cast<long>(reinterpret_cast<intptr_t>(result));
}

LanguageModuleChoice ChooseLanguageModule(const std::string& programFolder,
                                          const std::string& setting, unsigned waitLimitMs,
                                          unsigned pollMs) {
  std::string name = GetLanguageModuleName(setting);
  if (WaitForModuleRelease(programFolder + name, waitLimitMs, pollMs) == kModuleReady)
    return {programFolder + name, false};
  if (name == kEnglishModule) return {};
  // The English module is not the one the main program holds: a short wait is enough.
  std::string english = programFolder + kEnglishModule;
  if (WaitForModuleRelease(english, pollMs, pollMs) == kModuleReady) return {english, true};
  return {};
}
