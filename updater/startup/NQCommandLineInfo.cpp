#include "updater/startup/NQCommandLineInfo.h"

#include <cctype>

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

void NQCommandLineInfo::Parse(const char* commandLine) {
  const char* p = commandLine ? commandLine : "";
  for (;;) {
    while (IsBlank(*p)) ++p;
    if (!*p) return;
    std::string token;
    if (*p == '"' || *p == '\'') {
      char quote = *p++;
      while (*p && *p != quote) token += *p++;
    } else {
      while (*p && !IsBlank(*p) && *p != ',') token += *p++;
    }
    if (*p) ++p;  // the character that ended the token
    if (!token.empty() && (token[0] == '-' || token[0] == '/'))
      OnSwitch(Lower(token.substr(1)));
    else
      OnPlainToken(token);
  }
}

void NQCommandLineInfo::OnSwitch(const std::string& name) {
  m_lastSwitch = name;
  if (name == "unregister") {
    m_shellCommand = kUnregister;
  } else if (name == "no_splash") {
    m_showSplash = false;
  } else if (name == "debug") {
    m_debug = true;
  } else if (name == "file" || name == "update" || name == "launch") {
    (name == "file" ? m_file : name == "update" ? m_update : m_launch) = true;
    m_showSplash = false;
    m_automated = true;
  }
}

void NQCommandLineInfo::OnPlainToken(const std::string& token) {
  if (m_lastSwitch == "file") {
    m_documentPath = token;
    m_lastSwitch.clear();
    return;
  }
  m_shellCommand = kFileOpen;
  m_fileName = token;
}
