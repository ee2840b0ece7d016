// Shared bits of the application core tests: a scratch folder and whole-file reads and writes.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/TempFolder.h"

namespace apptest {

using TempFolder = zbtest::TempFolder;

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
