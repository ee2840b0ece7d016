// CZubrinAppLog: the log of a run started from the command line. Nobody watches such a run, so
// every failure (a document that cannot be read, a report, CSV file, mail or save that did not
// happen) becomes one line in a text file beside the document and on standard error, and the
// process ends with a non-zero exit code. The file is named after the document: "site.zbp"
// logs to "site.log" in the same folder; without a document it is "ZBPro.log" in the program's
// folder. Lines are appended, so a scheduled run keeps the history of earlier runs.
#pragma once
#include "framework/core/String.h"

class CZubrinAppLog {
 public:
  // The log file for a document path (empty: the program's folder).
  static CString PathFor(const CString& documentPath);
  // From now on lines go to the log file of that document.
  static void Open(const CString& documentPath);
  static const CString& GetPath();

  // A line that records a failure: the process will end with a non-zero code.
  static void Fail(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));
  // A line for the record only (what was written or sent).
  static void Note(const char* text);
  static bool HasFailed();
  // The exit code the process ends with: the given one, or 1 after any failure.
  static int ExitCode(int loopCode);
  // Forgets the file and the failures (tests).
  static void Reset();
};
