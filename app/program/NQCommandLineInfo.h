// NQCommandLineInfo: the main program's command line, parsed once at start-up into one
// process-wide object that the application, the document, the run control and the views read.
// Besides the document to open it carries the switches of unattended runs (scheduled checks
// that write CSV and reports, save and close) and of debug runs with their options file.
#pragma once
#include <map>

#include "framework/core/String.h"

class NQCommandLineInfo {
 public:
  enum ShellCommand { FileNew = 0, FileOpen = 1, AppUnregister = 3 };

  // Report bits: r1..r7 are 0x01..0x40, their mailed forms r1_email..r7_email 0x100..0x4000.
  static constexpr unsigned kReportMask = 0x7F;
  static constexpr unsigned kEmailShift = 8;

  // Sets the defaults and parses the text (without the program's own name).
  explicit NQCommandLineInfo(const char* commandLine);
  virtual ~NQCommandLineInfo() = default;
  NQCommandLineInfo(const NQCommandLineInfo&) = delete;
  NQCommandLineInfo& operator=(const NQCommandLineInfo&) = delete;

  // The value of a debug option, empty when the options file did not name it.
  CString GetDebugOption(const char* name) const;

  BYTE m_bAutomated = 0;  // no questions, pre-checks, update check or tip of the day
  BYTE m_bShowSplash = 1;
  int m_nShellCommand = FileNew;
  CString m_strFileName;
  BYTE m_bDebug = 0;
  CString m_strDebugOptionsFile;
  std::map<CString, CString> m_debugOptions;
  BYTE m_bTestMode = 0;
  BYTE m_bAuto = 0;  // check all active sets at start-up
  unsigned m_nReports = 0;
  BYTE m_bHide = 0;
  BYTE m_bCsv = 0;
  BYTE m_bCsvAppend = 0;
  BYTE m_bCsvPrevious = 0;
  CString m_strCsvPath;

 private:
  void Parse(const char* text);
  void ApplySwitch(const CString& name);
  void ReadDebugOptions(const char* path);
};

// The process-wide command line; null until the application makes it.
NQCommandLineInfo* GetCommandLineInfo();
// Takes ownership; the previous object (if any) is deleted. Null deletes it.
void SetCommandLineInfo(NQCommandLineInfo* info);

// The debug options "engine" and "directory" of the process-wide command line, empty when absent.
CString GetEngineField();
CString GetDirectoryField();
