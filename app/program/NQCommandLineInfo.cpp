#include "app/program/NQCommandLineInfo.h"

#include <cstdio>
#include <cstring>

namespace {

NQCommandLineInfo* g_commandLine = nullptr;

bool IsBlank(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

enum class Pending { None, CsvPath, OptionsFile };

}  // namespace

NQCommandLineInfo::NQCommandLineInfo(const char* commandLine) {
  Parse(commandLine ? commandLine : "");
}

CString NQCommandLineInfo::GetDebugOption(const char* name) const {
  auto found = m_debugOptions.find(CString(name));
  return found == m_debugOptions.end() ? CString() : found->second;
}

void NQCommandLineInfo::Parse(const char* text) {
  Pending pending = Pending::None;
  const char* p = text;
  for (;;) {
    // Blanks, and a comma left over after a quoted token, separate tokens.
    while (*p && (IsBlank(*p) || *p == ',')) ++p;
    if (!*p) break;
    CString token;
    bool quoted = *p == '"' || *p == '\'';
    if (quoted) {
      char quote = *p++;
      const char* end = strchr(p, quote);
      if (!end) end = p + strlen(p);
      token = CString(p, static_cast<int>(end - p));
      p = *end ? end + 1 : end;
    } else {
      const char* start = p;
      while (*p && !IsBlank(*p) && *p != ',') ++p;
      token = CString(start, static_cast<int>(p - start));
      if (*p == ',') ++p;
    }
    // A quoted token is always a value, so a quoted path is never taken for a switch.
    if (!quoted && (token[0] == '-' || token[0] == '/')) {
      CString name = token.Mid(1);
      name.MakeLower();
      ApplySwitch(name);
      pending = name == "csv_to"      ? Pending::CsvPath
                : name == "debug_opt" ? Pending::OptionsFile
                                      : Pending::None;
      continue;
    }
    if (pending == Pending::CsvPath) {
      m_strCsvPath = token;
    } else if (pending == Pending::OptionsFile) {
      m_strDebugOptionsFile = token;
      ReadDebugOptions(token);
    } else if (!token.IsEmpty()) {
      m_strFileName = token;
      m_nShellCommand = FileOpen;
    }
    pending = Pending::None;
  }
}

void NQCommandLineInfo::ApplySwitch(const CString& name) {
  auto unattended = [this] {
    m_bAutomated = 1;
    m_bShowSplash = 0;
  };
  if (name == "unregister") {
    m_nShellCommand = AppUnregister;
  } else if (name == "no_splash") {
    m_bShowSplash = 0;
  } else if (name == "debug" || name == "debug_opt") {
    m_bDebug = 1;
    unattended();
  } else if (name == "test_mode") {
    m_bTestMode = 1;
  } else if (name == "auto") {
    m_bAuto = 1;
    unattended();
  } else if (name == "hide") {
    m_bHide = 1;
  } else if (name == "csv" || name == "csv_to") {
    m_bCsv = 1;
    unattended();
  } else if (name == "csv_append") {
    m_bCsvAppend = 1;
  } else if (name == "csv_previous") {
    m_bCsvPrevious = 1;
  } else if (name.GetLength() >= 2 && name[0] == 'r' && name[1] >= '1' && name[1] <= '7' &&
             (name.GetLength() == 2 || name.Mid(2) == "_email")) {
    unsigned bit = 1u << (name[1] - '1');
    m_nReports |= name.GetLength() == 2 ? bit : bit << kEmailShift;
    unattended();
  }
  // Other switch names are ignored.
}

void NQCommandLineInfo::ReadDebugOptions(const char* path) {
  FILE* file = fopen(path, "rt");
  if (!file) return;
  char line[2049];
  while (fgets(line, sizeof line, file)) {
    CString text(line);
    text.Trim();
    if (text.IsEmpty() || text[0] == '#' || text[0] == '=') continue;
    int equals = text.Find('=');
    CString name = equals < 0 ? text : text.Left(equals);
    CString value = equals < 0 ? CString() : text.Mid(equals + 1);
    name.TrimRight();
    value.TrimLeft();
    m_debugOptions[name] = value;
  }
  fclose(file);
}

NQCommandLineInfo* GetCommandLineInfo() {
  return g_commandLine;
}

void SetCommandLineInfo(NQCommandLineInfo* info) {
  if (g_commandLine != info) delete g_commandLine;
  g_commandLine = info;
}

CString GetEngineField() {
  return g_commandLine ? g_commandLine->GetDebugOption("engine") : CString();
}

CString GetDirectoryField() {
  return g_commandLine ? g_commandLine->GetDebugOption("directory") : CString();
}
