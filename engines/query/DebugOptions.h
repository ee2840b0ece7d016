// Debug options of the engine interpreter: a debug run dumps the pages it reads into a folder and
// may read its engine definitions from another file. They are process-wide and set before any
// run starts, so the worker threads only read them.
#pragma once

#include "foundation/core/LibString.h"

// Turns debugging on; the folder is kept with a trailing "\" so that dump file names can be
// appended to it. A null engines file keeps the one set before.
void SetDebugOptions(const CLibString& dumpFolder, const char* enginesFile = nullptr);

bool IsDebugOn();
// Empty until SetDebugOptions; otherwise ends in "\".
const CLibString& GetDumpFolder();
// The engine definitions file to read instead of engines.dat; empty when none was set.
const CLibString& GetAlternateEnginesFile();

// Back to "off" with no folder and no file. The program never turns debugging off again; tests
// do, so that one test's options do not leak into the next.
void ResetDebugOptions();
