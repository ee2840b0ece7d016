#include "tests/fakeengine/EngineFixtures.h"

#include <windows.h>

#include <cstdio>

#include "tools/enginedata/DataFileCoder.h"

namespace zbtest {

namespace {

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadFile(const std::string& path, std::string& text) {
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return false;
  text.clear();
  char buffer[16384];
  for (size_t n; (n = fread(buffer, 1, sizeof(buffer), file)) > 0;) text.append(buffer, n);
  fclose(file);
  return true;
}

bool WriteFile(const std::string& path, const std::string& text) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = fwrite(text.data(), 1, text.size(), file) == text.size();
  return fclose(file) == 0 && ok;
}

std::string Scramble(const std::string& text, const char* key) {
  CDataFileCoder coder(key);
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out += line.empty() || line[0] == '#' ? line : coder.EncodeLine(line);
    if (end < text.size()) out += '\n';
    start = end + 1;
  }
  return out;
}

}  // namespace

std::string FixturePath(const std::string& name) {
  char exe[MAX_PATH] = "";
  DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string folder(exe, length);
  size_t slash = folder.find_last_of("\\/");
  if (slash != std::string::npos) {
    std::string beside = folder.substr(0, slash) + "\\fixtures\\" + name;
    if (Exists(beside)) return beside;
  }
  // The source tree, a Unix path, reached through Wine's drive for the root.
  std::string source = ZB_FIXTURES_DIR;
  if (!source.empty() && source[0] == '/') source = "Z:" + source;
  return source + "/" + name;
}

std::string ReadFixture(const std::string& name) {
  std::string text;
  ReadFile(FixturePath(name), text);
  return text;
}

std::string FixtureForPort(const std::string& name, unsigned short port) {
  std::string text = ReadFixture(name);
  const std::string token = "@PORT@";
  std::string value = std::to_string(port);
  for (size_t at = text.find(token); at != std::string::npos; at = text.find(token, at))
    text.replace(at, token.size(), value);
  return text;
}

bool WriteEngineFixtures(const std::string& folder, unsigned short port, const char* key) {
  for (const char* name : {"engines", "categories"}) {
    std::string text = FixtureForPort(std::string(name) + ".src.dat", port);
    if (text.empty()) return false;
    if (key) text = Scramble(text, key);
    if (!WriteFile(folder + "\\" + name + ".dat", text)) return false;
  }
  return true;
}

}  // namespace zbtest
