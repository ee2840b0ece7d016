// The end of a run started from the command line: CSV, reports, mail, save and close, without
// the user. The engine view calls it once when the automated run's finish reaches it.
#pragma once

class CZubrinDoc;

void FinishAutomatedRun(CZubrinDoc* doc);
