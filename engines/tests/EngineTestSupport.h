// Shared bits of the engine database tests: a scratch folder, data files written by the test
// itself, lines scrambled the way the data files carry them.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "foundation/core/Base64.h"
#include "foundation/core/Coder.h"
#include "foundation/core/ScrambleCoder.h"
#include "tests/support/TempFolder.h"

namespace enginetest {

using TempFolder = zbtest::TempFolder;

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
