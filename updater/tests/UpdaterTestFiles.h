// Small file helpers of the update program's tests.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "foundation/update/ArqFormat.h"
#include "foundation/update/ServerRotation.h"

namespace zbtest {

inline void WriteFileText(const std::string& path, const std::string& text) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD put = 0;
  if (!text.empty()) WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
  CloseHandle(f);
}

inline std::string ReadFileText(const std::string& path) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  std::string text;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got) text.append(buffer, got);
  CloseHandle(f);
  return text;
}

// Removes what an update left in the program folder's staging folders (download\files\ and
// download\): a scratch folder removes only the files it made itself.
inline void RemoveStagingFolders(const std::string& programFolder) {
  for (const char* folder : {"download\\files\\", "download\\"}) {
    std::string path = programFolder + folder;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((path + "*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          DeleteFileA((path + found.cFileName).c_str());
      } while (FindNextFileA(h, &found));
      FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
  }
}

inline std::string TextLines(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "line " + std::to_string(i % 17) + " of a text file\r\n";
  return s;
}

// The folder of the running test program, with its trailing separator: the test modules with
// version resources are built beside it.
inline std::string ModuleFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

// A server list kept in memory instead of the registry.
class MapStore : public ServerStore {
 public:
  long GetInt(const char* name, long fallback) override {
    auto it = values.find(name);
    return it == values.end() ? fallback : std::stol(it->second);
  }
  void SetInt(const char* name, long value) override { values[name] = std::to_string(value); }
  std::string GetString(const char* name) override { return values[name]; }
  void SetString(const char* name, const std::string& value) override { values[name] = value; }
  std::map<std::string, std::string> values;
};

// An archive of the members, in order. Needs CrusherInit.
inline std::string ArchiveOf(const std::vector<std::pair<std::string, std::string>>& members) {
  struct Sink : ArqSink {
    std::string bytes;
    int Write(const void* d, int n) override {
      bytes.append(static_cast<const char*>(d), n);
      return 0;
    }
  } sink;
  for (const auto& member : members) {
    ArqMemberHeader h;
    h.name = member.first;
    ArqWriteMember(sink, h, member.second.data(), member.second.size());
  }
  ArqWriteEnd(sink);
  return sink.bytes;
}

// An archive of one member under any name, however hostile: written under a sound name, then
// the name bytes are put in place (the writer refuses unsafe names itself). Needs CrusherInit.
inline std::string ArchiveWithRawName(const std::string& name, const std::string& data) {
  std::string bytes = ArchiveOf({{std::string(name.size(), 'x'), data}});
  bytes.replace(arq::kLead, name.size(), name);
  return bytes;
}

}  // namespace zbtest
