// NQCommandLineInfo: the update program's command line. The main program starts it with
// "/update /launch", followed by "/file" and the quoted document path when a document is open.
// Switches begin with "-" or "/" and are compared without regard to case; quoted tokens keep
// their blanks.
#pragma once

#include <string>

class NQCommandLineInfo {
 public:
  enum ShellCommand { kNothing = 0, kFileOpen = 1, kUnregister = 3 };

  explicit NQCommandLineInfo(const char* commandLine = "") { Parse(commandLine); }
  void Parse(const char* commandLine);

  bool m_automated = false;
  bool m_showSplash = true;
  int m_shellCommand = kNothing;
  std::string m_fileName;  // the last plain token not taken by "file"
  bool m_debug = false;
  bool m_update = false;
  bool m_launch = false;
  bool m_file = false;
  std::string m_documentPath;  // the plain token after "file"

 private:
  void OnSwitch(const std::string& name);
  void OnPlainToken(const std::string& token);
  std::string m_lastSwitch;
};
