// A scratch folder for tests: a fresh folder under the temporary folder, removed with its files
// at the end.
#pragma once

#include <windows.h>

#include <string>

namespace zbtest {

class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    path_ = std::string(base) + "zbtest_" + std::to_string(GetCurrentProcessId()) + "_" +
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

}  // namespace zbtest
