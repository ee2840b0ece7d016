// CCommandLineInfo: what the program's own arguments ask the application to do at start-up (a
// new document, open a file, unregister), filled by ParseCommandLine one argument at a time.
// A program with switches of its own derives from it and overrides ParseParam.
#pragma once
#include <windows.h>

#include "framework/core/String.h"

class CCommandLineInfo {
 public:
  enum {
    FileNew = 0,
    FileOpen = 1,
    AppUnregister = 3,
  };

  CCommandLineInfo() = default;
  virtual ~CCommandLineInfo() = default;

  // One argument: a switch comes without its leading "-" or "/" and with bFlag TRUE; bLast is
  // TRUE for the last argument of the line.
  virtual void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast);

  int m_nShellCommand = FileNew;
  CString m_strFileName;
};

// Feeds the arguments after the program name to info.ParseParam in order.
void ParseCommandLine(int argc, const char* const* argv, CCommandLineInfo& info);
// The same over the running program's own arguments.
void ParseCommandLine(CCommandLineInfo& info);
