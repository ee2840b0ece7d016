// Shared bits of the engine database tests: a scratch folder, data files written by the test
// itself, lines scrambled the way the data files carry them.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "foundation/Base64.h"
#include "foundation/Coder.h"
#include "foundation/ScrambleCoder.h"

namespace enginetest {

// A fresh folder under the temporary folder, removed with its files at the end.
class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    path_ = std::string(base) + "zbeng_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++counter) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempFolder() {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((path_ + "*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          DeleteFileA((path_ + found.cFileName).c_str());
      } while (FindNextFileA(h, &found));
      FindClose(h);
    }
    RemoveDirectoryA(path_.c_str());
  }
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& content) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return;
  fwrite(content.data(), 1, content.size(), f);
  fclose(f);
}

// The line as the data files carry it: scrambled with the key, then Base64.
inline std::string Scrambled(const std::string& line, const char* key) {
  int length = static_cast<int>(line.size());
  char* scrambled = CScrambleCoder(key).Encode(line.data(), length);
  CLibString text;
  Base64().Encode(text, scrambled, length);
  FreeCoderBuffer(scrambled);
  return text.c_str();
}

}  // namespace enginetest
