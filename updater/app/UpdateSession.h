// One run of the update program after start-up: the update dialog, then the main program
// started again with the document it had open. The start of the main program is a seam so a
// test can record it instead.
#pragma once

#include <functional>
#include <string>

#include "updater/update/UpdateWorker.h"

class CWinThread;
class NQCommandLineInfo;

// Starts the main program from the program folder with the document; the shell's result.
using Relauncher =
    std::function<long(const std::string& programFolder, const std::string& documentPath)>;

struct UpdateSessionResult {
  bool relaunched = false;
  long relaunchResult = 0;
};

// The dialog is the thread's main window while it runs. A failed relaunch is reported to the
// user.
UpdateSessionResult RunUpdateSession(const UpdateSettings& settings, ServerStore& servers,
                                     const NQCommandLineInfo& command, const Relauncher& relaunch,
                                     CWinThread* thread = nullptr);

// The message of a failed relaunch: the module's prefix and the shell's reason.
std::string RelaunchErrorMessage(long code);
// Tells the user that the main program could not be started again, and why.
void ShowRelaunchError(long code);
