// The start of the update program by the main program. The update program waits for the main
// program to go, so a successful start closes the main window.
#pragma once
#include <string>

#include "app/update/UpdateViews.h"

class CZubrinDoc;

namespace updatelauncher {

// "/update /launch", and "/file" with the quoted document path when there is one.
std::string UpdateProgramArguments(const std::string& documentPath);
// What the user is told when the system refused the start with that code.
const char* StartFailureText(long long code);

// Test seam: opens the program with the arguments as the shell's "open" does; the shell's code.
using ShellOpenFn = long long (*)(const char* program, const char* arguments);
void SetShellOpen(ShellOpenFn open);  // null: the shell

// Asks to save a modified document, starts ZBUpdate.exe from the program folder and closes
// the main window. The modified flag is cleared only once the program really started, so a
// failed start leaves the user's unsaved work guarded. True when it started.
bool StartUpdateProgram(CZubrinDoc& doc, IUpdateViews& views);

}  // namespace updatelauncher
