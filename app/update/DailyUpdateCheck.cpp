#include "app/update/DailyUpdateCheck.h"

#include <windows.h>

#include <atomic>

namespace dailycheck {
namespace {

std::atomic<bool> g_checked{false};

// A value that cannot be read counts as 0: the check is due.
DWORD ReadLastDate(HKEY key) {
  DWORD value = 0, type = 0, size = sizeof value;
  if (RegQueryValueExA(key, kLastDate, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return 0;
  return value;
}

}  // namespace

bool UpdateCheckDue(int today, bool automated) {
  if (g_checked) return false;
  if (automated) {
    g_checked = true;
    return false;
  }
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    key = nullptr;
  DWORD last = key ? ReadLastDate(key) : 0;
  bool due = last != static_cast<DWORD>(today);
  if (due) {
    DWORD value = static_cast<DWORD>(today);
    if (key)
      RegSetValueExA(key, kLastDate, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                     sizeof value);
    g_checked = true;
  }
  if (key) RegCloseKey(key);
  return due;
}

void ResetDailyCheckFlag() {
  g_checked = false;
}

}  // namespace dailycheck
