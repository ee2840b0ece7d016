#include "toolkit/services/OSVersion.h"

#include <cstring>

namespace {

BOOL WINAPI SystemVersionQuery(LPOSVERSIONINFOA info) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return ::GetVersionExA(info);
#pragma GCC diagnostic pop
}

// Lives until the process ends; nothing to free. The user-interface thread is the only caller,
// so the first-call guard needs no lock.
OSVERSIONINFOA g_info;
bool g_bFilled = false;
TkGetVersionExProc g_pfnQuery = SystemVersionQuery;

}  // namespace

const OSVERSIONINFOA* GetOSVersionInfo() {
  if (!g_bFilled) {
    std::memset(&g_info, 0, sizeof g_info);
    g_info.dwOSVersionInfoSize = sizeof g_info;
    // A failed query is not repeated: callers see version 0 on platform 0 from then on.
    if (!g_pfnQuery(&g_info)) {
      std::memset(&g_info, 0, sizeof g_info);
      g_info.dwOSVersionInfoSize = sizeof g_info;
    }
    g_bFilled = true;
  }
  return &g_info;
}

bool TkIsWindows95(const OSVERSIONINFOA& info) {
  return info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && info.dwMajorVersion == 4 &&
         info.dwMinorVersion < 10;
}

bool TkIsBeforeWindowsXP(const OSVERSIONINFOA& info) {
  return info.dwMajorVersion < 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion < 1);
}

void tk_test::ResetOSVersionInfo(TkGetVersionExProc pfnQuery) {
  g_pfnQuery = pfnQuery ? pfnQuery : SystemVersionQuery;
  g_bFilled = false;
}
