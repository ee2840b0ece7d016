// CZBUpdateApp: the update program. Its start-up takes a fresh copy of the language module (so
// the update may replace the module itself), refuses to run beside the main program, reads the
// command line, runs the update dialog and starts the main program again. There is no message
// loop of its own: InitInstance does the whole run and returns FALSE.
#pragma once

#include <memory>
#include <string>

#include "framework/app/WinApp.h"

class NQCommandLineInfo;

// Published while the program runs (null before the command line is read and after exit).
extern NQCommandLineInfo* g_pUpdateCommandLine;

class CZBUpdateApp : public CWinApp {
 public:
  CZBUpdateApp();
  ~CZBUpdateApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;

  // The arguments, without the program's own name (WinMain's command line).
  std::string m_commandLine;

 private:
  bool LoadLanguageModule();
  void WriteStartLog() const;

  HINSTANCE m_language = nullptr;
  std::string m_languageCopy;
  std::string m_tempFolder;
  std::unique_ptr<NQCommandLineInfo> m_command;
  int m_exitCode = 0;
};
