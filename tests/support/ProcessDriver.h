// Starting a program under test, finding its windows and waiting for it to end.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace zbtest {

// Folder of the running test program, with a trailing backslash; the programs under test are
// built into the same folder.
std::string BinFolder();

class ProcessDriver {
 public:
  ProcessDriver() = default;
  ~ProcessDriver();  // kills a program that is still running
  ProcessDriver(const ProcessDriver&) = delete;
  ProcessDriver& operator=(const ProcessDriver&) = delete;

  bool Start(const std::string& exePath, const std::string& arguments = std::string());

  // Visible top-level windows of the process, optionally only those of one window class.
  std::vector<HWND> TopWindows(const char* className = nullptr) const;
  // Waits up to the time-out for a visible top-level window of that class; null when none came.
  HWND WaitForWindow(const char* className, DWORD timeoutMs) const;

  // Waits for the process to end; false on time-out. The exit code is then in ExitCode().
  bool WaitForExit(DWORD timeoutMs);
  DWORD ExitCode() const { return exitCode_; }
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }

 private:
  PROCESS_INFORMATION info_ = {};
  DWORD exitCode_ = STILL_ACTIVE;
};

std::string WindowText(HWND hwnd);
std::string ClassName(HWND hwnd);
// Texts of all child windows (static texts, buttons, the first pane of a status bar).
std::vector<std::string> ChildTexts(HWND hwnd);

}  // namespace zbtest
