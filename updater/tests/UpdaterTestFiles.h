// Small file helpers of the update program's tests.
#pragma once

#include <windows.h>

#include <string>

#include "foundation/update/ArqFormat.h"

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

inline std::string TextLines(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "line " + std::to_string(i % 17) + " of a text file\r\n";
  return s;
}

// An archive of one member under any name, however hostile: written under a sound name, then
// the name bytes are put in place (the writer refuses unsafe names itself). Needs CrusherInit.
inline std::string ArchiveWithRawName(const std::string& name, const std::string& data) {
  struct Sink : ArqSink {
    std::string bytes;
    int Write(const void* d, int n) override {
      bytes.append(static_cast<const char*>(d), n);
      return 0;
    }
  } sink;
  ArqMemberHeader h;
  h.name = std::string(name.size(), 'x');
  ArqWriteMember(sink, h, data.data(), data.size());
  ArqWriteEnd(sink);
  sink.bytes.replace(arq::kLead, name.size(), name);
  return sink.bytes;
}

}  // namespace zbtest
