// What the update program does around its dialog, apart from the windows: the language module
// (its name, waiting until the main program lets go of it, a fresh working copy, removing that
// copy at exit), the relaunch of the main program and the texts of a failed relaunch.
#pragma once

#include <string>

// The language module named by the main program's setting, in lower case. Only a plain file
// name ending in ".dll" is taken; anything else (a path, a device) gives the English module.
std::string GetLanguageModuleName(const std::string& setting);
constexpr const char* kEnglishModule = "zbresenu.dll";

enum ModuleWait { kModuleReady, kModuleMissing, kModuleStillInUse };
// Waits until the file can be opened for reading with exclusive sharing, polling every pollMs
// while another process holds it, for at most limitMs. A missing or unreadable file ends the
// wait at once.
ModuleWait WaitForModuleRelease(const std::string& path, unsigned limitMs, unsigned pollMs = 100);

// Copies the module into the folder (made when missing), replacing an older copy in one step,
// so the copy is always the module's current content. The path of the copy, or empty.
std::string CopyModuleFresh(const std::string& modulePath, const std::string& tempFolder);
// Removes only the copy, then the folder when nothing else is left in it.
void RemoveModuleCopy(const std::string& copyPath, const std::string& tempFolder);

// The program folder: the update program's own module's folder with its trailing backslash,
// worked out once. Every file of the update program is named from it.
std::string GetModuleFolder();
std::string GetMainProgramPath();     // "ZBPro.exe" there
std::string GetDebugStartLogPath();   // "zbu_dbgs.txt" there
std::string GetUpdateDebugLogPath();  // "zbu_dbg.txt" there

// The main program's arguments: the document path in double quotes ("" when none).
std::string RelaunchParameters(const std::string& documentPath);
// The text after the relaunch error's prefix for a shell-execute result.
const char* RelaunchErrorText(long code);

// The start log's lines for the command line's flags.
class NQCommandLineInfo;
std::string DebugStartLines(const NQCommandLineInfo& info);

// True while the main program's window exists. It is found by the window class the main
// program registers for that, since its title carries the document's name.
bool IsMainProgramRunning();
// The main program hands over to the update program and then closes: waits up to limitMs for
// its window to go. True when it is gone.
bool WaitForMainProgramToClose(unsigned limitMs, unsigned pollMs = 100);
// Opens "ZBPro.exe" in the program folder with the document path in quotes. The shell's result:
// above 32 is success, else the code for RelaunchErrorText. debugLines, when given, gets the
// start log's "App:" and "Params:" lines.
long RelaunchMainProgram(const std::string& programFolder, const std::string& documentPath,
                         std::string* debugLines = nullptr);

// The module the program will load: the one the setting names once the main program has let
// go of it (waiting at most waitLimitMs), else the English module. Empty when neither can be
// opened; the caller then ends with a message.
struct LanguageModuleChoice {
  std::string path;
  bool fellBack = false;
};
LanguageModuleChoice ChooseLanguageModule(const std::string& programFolder,
                                          const std::string& setting, unsigned waitLimitMs,
                                          unsigned pollMs = 100);
