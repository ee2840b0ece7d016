// The CSV export of the document's results: one line per engine set and enabled engine, for the
// export dialog and for the end of an automated run. Lines follow RFC 4180: text fields are
// quoted with their quotes doubled, and every line ends in CR LF.
#pragma once

#include "foundation/core/LibString.h"

class CZubrinDoc;

// The main frame's status-bar progress; unset hooks do nothing.
struct ReportProgressHooks {
  void (*begin)(unsigned upper, unsigned lower) = nullptr;
  void (*step)() = nullptr;
  void (*end)() = nullptr;
};
void SetReportProgressHooks(const ReportProgressHooks& hooks);

// Writes (or, with append, adds to) the CSV file of all engine sets of the open document (or of
// the one given). False when the file cannot be opened or written; nothing is then lost: a
// replaced file is written beside and moved over the old one only when complete.
bool ExportResultsCsv(const char* path, bool writeHeader, bool append, bool showProgress,
                      CZubrinDoc* document = nullptr);

// The text with every double quote doubled.
CLibString QuoteCsvText(const CLibString& text);
