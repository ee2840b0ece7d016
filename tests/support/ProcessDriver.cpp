#include "tests/support/ProcessDriver.h"

namespace zbtest {

std::string BinFolder() {
  char path[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, n);
  folder.erase(folder.find_last_of("\\/") + 1);
  return folder;
}

ProcessDriver::~ProcessDriver() {
  if (info_.hProcess) {
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(info_.hProcess, 255);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
}

bool ProcessDriver::Start(const std::string& exePath, const std::string& arguments) {
  std::string cmd = "\"" + exePath + "\"";
  if (!arguments.empty()) cmd += " " + arguments;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  if (!CreateProcessA(exePath.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &info_)) {
    info_ = {};
    return false;
  }
  return true;
}

namespace {
struct FindState {
  DWORD pid;
  const char* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND hwnd, LPARAM lParam) {
  auto* state = reinterpret_cast<FindState*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == state->pid && IsWindowVisible(hwnd) &&
      (!state->className || ClassName(hwnd) == state->className))
    state->found.push_back(hwnd);
  return TRUE;
}

BOOL CALLBACK CollectChildText(HWND hwnd, LPARAM lParam) {
  // WM_GETTEXT is the one text message marshalled between processes; for a status bar it gives
  // the first pane.
  reinterpret_cast<std::vector<std::string>*>(lParam)->push_back(WindowText(hwnd));
  return TRUE;
}
}  // namespace

std::vector<HWND> ProcessDriver::TopWindows(const char* className) const {
  FindState state{info_.dwProcessId, className, {}};
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

HWND ProcessDriver::WaitForWindow(const char* className, DWORD timeoutMs) const {
  DWORD start = GetTickCount();
  for (;;) {
    auto windows = TopWindows(className);
    if (!windows.empty()) return windows.front();
    if (GetTickCount() - start > timeoutMs) return nullptr;
    if (WaitForSingleObject(info_.hProcess, 50) == WAIT_OBJECT_0) {
      // The program ended without showing the window.
      return nullptr;
    }
  }
}

bool ProcessDriver::WaitForExit(DWORD timeoutMs) {
  if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  GetExitCodeProcess(info_.hProcess, &exitCode_);
  return true;
}

std::string WindowText(HWND hwnd) {
  char buf[1024];
  int n = GetWindowTextA(hwnd, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}

std::string ClassName(HWND hwnd) {
  char buf[256];
  int n = GetClassNameA(hwnd, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}

std::vector<std::string> ChildTexts(HWND hwnd) {
  std::vector<std::string> texts;
  EnumChildWindows(hwnd, CollectChildText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

}  // namespace zbtest
