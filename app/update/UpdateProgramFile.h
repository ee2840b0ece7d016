// The update program cannot replace its own running file, so it leaves a new copy of itself,
// ZBU.exe, beside it; the main program puts that copy in place when it exits.
#pragma once
#include "framework/core/String.h"

// folder: the program folder with its trailing backslash. True when ZBUpdate.exe was replaced.
// Only a copy of a newer version is taken, and the old program stays whole until the new one is
// completely copied: the copy goes to a temporary file first and then moves over it in one step.
bool ReplaceUpdateProgram(const CString& folder);
