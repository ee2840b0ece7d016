// What the whole-program tests share: quiet message boxes for documents opened in-process, and
// reading and writing the files the programs leave.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "engines/db/EngineServices.h"
#include "framework/app/MessageBox.h"

namespace zbtest {

inline int QuietBox(LPCSTR, UINT type) {
  return AfxDefaultMessageBoxAnswer(type);
}
inline int QuietEngineBox(HWND, const char*, const char*, unsigned) {
  return IDOK;
}

inline std::string Read(const std::string& path) {
  std::string text;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, got);
    fclose(f);
  }
  return text;
}
inline void Write(const std::string& path, const std::string& text) {
  if (FILE* f = fopen(path.c_str(), "wb")) {
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
  }
}
inline bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace zbtest
