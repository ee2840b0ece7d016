// The end of a run started from the command line: CSV, reports, mail, save and close, without
// the user. The engine view calls it once when the automated run's finish reaches it.
#pragma once
#include "framework/core/String.h"

class CZubrinDoc;

// Runs once per process: a second call (a second receiver of the finish) does nothing, so the
// main window is closed exactly once. Every failure is a line in the run's log and makes the
// process end with a non-zero code.
void FinishAutomatedRun(CZubrinDoc* doc);

// The CSV file of a run without a csv_to path: beside the document, named after its title
// without extension ("site.zbp" gives "site.csv").
CString DefaultAutomatedCsvPath(const CString& documentPath, const CString& title);
