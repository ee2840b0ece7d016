#include "app/update/UpdateLauncher.h"

#include <windows.h>
// The shell header needs the system types first.
#include <shellapi.h>

#include <atomic>

#include "app/services/AppPaths.h"
#include "app/document/ZubrinDoc.h"

namespace updatelauncher {
namespace {

long long ShellOpen(const char* program, const char* arguments) {
  HINSTANCE code = ShellExecuteA(nullptr, "open", program, arguments, nullptr, SW_SHOWNORMAL);
  return static_cast<long long>(reinterpret_cast<INT_PTR>(code));
}

std::atomic<ShellOpenFn> g_open{nullptr};

}  // namespace

std::string UpdateProgramArguments(const std::string& documentPath) {
  std::string arguments = "/update /launch";
  if (!documentPath.empty()) arguments += " /file \"" + documentPath + "\"";
  return arguments;
}

const char* StartFailureText(long long code) {
  switch (code) {
    case 0:
      return "The system is out of memory or resources.";
    case ERROR_FILE_NOT_FOUND:
      return "The specified file was not found.";
    case ERROR_PATH_NOT_FOUND:
      return "The specified path was not found.";
    case ERROR_BAD_FORMAT:
      return "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).";
    default:
      return "Unknown error.";
  }
}

void SetShellOpen(ShellOpenFn open) {
  g_open = open;
}

bool StartUpdateProgram(CZubrinDoc& doc, IUpdateViews& views) {
  if (doc.IsModified() && !views.AskSaveModified()) return false;
  std::string arguments = UpdateProgramArguments(static_cast<LPCSTR>(doc.GetPathName()));
  ShellOpenFn open = g_open.load();
  long long code = (open ? open : &ShellOpen)(GetUpdaterPath(), arguments.c_str());
  if (code <= 32) {
    views.ReportUpdateStartFailure(StartFailureText(code));
    return false;
  }
  doc.SetModifiedFlag(FALSE);
  views.PostCloseMainWindow();
  return true;
}

}  // namespace updatelauncher
