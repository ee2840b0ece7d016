#include "app/settings/SelectionTemplates.h"

#include <windows.h>

#include <cstdio>

namespace {

NQSelectionTemplates* g_templates = nullptr;

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Trimmed(const std::string& line) {
  const char* blanks = " \t\r\n";
  size_t first = line.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  return line.substr(first, line.find_last_not_of(blanks) - first + 1);
}

// One line of any length (without its line end); false at the end of the file.
bool ReadLine(FILE* file, std::string& line) {
  line.clear();
  int c;
  while ((c = fgetc(file)) != EOF && c != '\n') line += static_cast<char>(c);
  return c != EOF || !line.empty();
}

}  // namespace

NQSelectionTemplates* GetSelectionTemplates() {
  return g_templates;
}
void SetSelectionTemplates(NQSelectionTemplates* templates) {
  g_templates = templates;
}

const NQSelectionTemplates::EngineNames* NQSelectionTemplates::Find(const std::string& name) const {
  auto found = m_templates.find(name);
  return found == m_templates.end() ? nullptr : &found->second;
}

void NQSelectionTemplates::Add(const std::string& name, const EngineNames& engines) {
  m_templates[name].insert(engines.begin(), engines.end());
}

bool NQSelectionTemplates::Load(const std::string& path) {
  m_templates.clear();
  std::string backup = path + ".bak";
  if (!FileExists(path) && FileExists(backup)) CopyFileA(backup.c_str(), path.c_str(), TRUE);
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return false;
  std::string raw;
  EngineNames* current = nullptr;
  while (ReadLine(file, raw)) {
    std::string line = Trimmed(raw);
    if (current) {
      // Members follow their header up to an empty line. The last one counts even without a
      // line end after it, so a file edited by hand loses nothing.
      if (line.empty()) {
        current = nullptr;
      } else {
        current->insert(line);
      }
    } else if (!line.empty() && line[0] == '[') {
      std::string name = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string();
      current = &m_templates[name];
    }
  }
  fclose(file);
  return true;
}

bool NQSelectionTemplates::Save(const std::string& path) const {
  std::string temporary = path + ".new";
  FILE* file = fopen(temporary.c_str(), "wb");
  if (!file) return false;
  bool ok = true;
  for (const auto& [name, engines] : m_templates) {
    ok = ok && fprintf(file, "[%s]\r\n", name.c_str()) > 0;
    for (const std::string& engine : engines)
      ok = ok && fprintf(file, "%s\r\n", engine.c_str()) > 0;
    ok = ok && fputs("\r\n", file) >= 0;
  }
  ok = fflush(file) == 0 && ok;
  ok = fclose(file) == 0 && ok;
  if (!ok) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  // The file as it was before this save stays as the backup.
  if (FileExists(path)) CopyFileA(path.c_str(), (path + ".bak").c_str(), FALSE);
  if (!MoveFileExA(temporary.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}
