// Shared bits of the application core tests: a scratch folder and whole-file reads and writes.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/app/AfxResource.h"
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

// The built language module as the resource handle for the life of the scope, so that messages
// read their texts as the program shows them.
class LanguageModuleScope {
 public:
  LanguageModuleScope()
      : m_module(AfxLoadResourceModule("ZBResENU.dll")), m_previous(AfxGetResourceHandle()) {
    if (m_module) AfxSetResourceHandle(m_module);
  }
  ~LanguageModuleScope() {
    AfxSetResourceHandle(m_previous);
    if (m_module) FreeLibrary(m_module);
  }
  LanguageModuleScope(const LanguageModuleScope&) = delete;
  LanguageModuleScope& operator=(const LanguageModuleScope&) = delete;
  bool Loaded() const { return m_module != nullptr; }

 private:
  HINSTANCE m_module;
  HINSTANCE m_previous;
};

}  // namespace apptest
