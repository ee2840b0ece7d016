// Shared bits of the application core tests: a scratch folder and whole-file reads and writes.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace apptest {

class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    path_ = std::string(base) + "zbapp_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++counter) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempFolder() {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((path_ + "*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
          std::string file = path_ + found.cFileName;
          SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileA(file.c_str());
        }
      } while (FindNextFileA(h, &found));
      FindClose(h);
    }
    RemoveDirectoryA(path_.c_str());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string File(const std::string& name) const { return path_ + name; }
  const std::string& Path() const { return path_; }
  // The number of files in the folder.
  int CountFiles() const {
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((path_ + "*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return count;
  }

 private:
  std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& content) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return;
  fwrite(content.data(), 1, content.size(), f);
  fclose(f);
}

inline std::string ReadBytes(const std::string& path) {
  std::string content;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return content;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, got);
  fclose(f);
  return content;
}

}  // namespace apptest
