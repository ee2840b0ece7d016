#include "foundation/os/VersionInfo.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

BOOL ReadFileVersionResource(LPCSTR path, DWORD& high, DWORD& low) {
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &handle);
  if (size == 0) return false;
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoA(path, 0, size, block.data())) return false;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return false;
  }
  high = info->dwFileVersionMS;
  low = info->dwFileVersionLS;
  return true;
}

namespace {

bool HasExecutableExtension(LPCSTR path) {
  static const char* const kExtensions[] = {".exe", ".EXE", ".dll", ".DLL", ".ocx", ".OCX"};
  const char* dot = strrchr(path, '.');
  if (!dot || strpbrk(dot, "\\/")) return false;
  for (const char* extension : kExtensions) {
    if (strcmp(dot, extension) == 0) return true;
  }
  return false;
}

}  // namespace

CVersionInfo::CVersionInfo() {
  Reset();
}

void CVersionInfo::Reset() {
  m_major = m_minor = m_build = m_revision = -1;
  m_calendar = {};
  m_dateTime = COleDateTime();
  m_dateTime.SetStatus(COleDateTime::null);
}

void CVersionInfo::Parse(LPCSTR lpszText) {
  Reset();
  if (!lpszText) return;
  if (strchr(lpszText, '.')) {
    int* parts[] = {&m_major, &m_minor, &m_build, &m_revision};
    // Numbers between dots; empty pieces are skipped, as a token cutter skips them.
    const char* p = lpszText;
    for (int* part : parts) {
      while (*p == '.') ++p;
      if (!*p) break;
      *part = atoi(p);
      while (*p && *p != '.') ++p;
    }
    return;
  }
  CString text(lpszText);
  text.TrimRight("\r\n");
  // The text is month/day/year whatever the user's locale writes, so it is read as such.
  m_dateTime.ParseDateTime(text, 0,
                           MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
  int month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
  int n = sscanf(text, "%d/%d/%d %d:%d:%d", &month, &day, &year, &hour, &minute, &second);
  if (n >= 1) m_calendar.tm_mon = month - 1;
  if (n >= 2) m_calendar.tm_mday = day;
  if (n >= 3) m_calendar.tm_year = year - 1900;
  if (n >= 4) m_calendar.tm_hour = hour;
  if (n >= 5) m_calendar.tm_min = minute;
  if (n >= 6) m_calendar.tm_sec = second;
}

BOOL CVersionInfo::FromFile(LPCSTR lpszPath) {
  Reset();
  if (!lpszPath || !*lpszPath) return FALSE;
  if (HasExecutableExtension(lpszPath)) {
    DWORD high = 0, low = 0;
    if (!ReadFileVersionResource(lpszPath, high, low)) return FALSE;
    m_major = HIWORD(high);
    m_minor = LOWORD(high);
    m_build = HIWORD(low);
    m_revision = LOWORD(low);
    return TRUE;
  }
  WIN32_FILE_ATTRIBUTE_DATA data;
  SYSTEMTIME utc;
  if (!GetFileAttributesExA(lpszPath, GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
      !FileTimeToSystemTime(&data.ftLastWriteTime, &utc)) {
    return FALSE;
  }
  m_dateTime = COleDateTime(utc);
  m_calendar.tm_sec = utc.wSecond;
  m_calendar.tm_min = utc.wMinute;
  m_calendar.tm_hour = utc.wHour;
  m_calendar.tm_mday = utc.wDay;
  m_calendar.tm_mon = utc.wMonth - 1;
  m_calendar.tm_year = utc.wYear - 1900;
  m_calendar.tm_wday = utc.wDayOfWeek;
  m_calendar.tm_yday = m_dateTime.GetDayOfYear() - 1;
  m_calendar.tm_isdst = 0;
  return TRUE;
}

CString CVersionInfo::Format() const {
  CString text;
  text.Format("%d.%d.%d.%d", m_major, m_minor, m_build, m_revision);
  return text;
}

bool operator<(const CVersionInfo& a, const CVersionInfo& b) {
  bool datesOnly = a.m_major < 1 && a.m_minor < 1 && a.m_build < 1 && a.m_revision < 1 &&
                   b.m_major < 1 && b.m_minor < 1 && b.m_build < 1 && b.m_revision < 1;
  if (datesOnly) {
    const struct tm& x = a.m_calendar;
    const struct tm& y = b.m_calendar;
    const int left[] = {x.tm_year, x.tm_mon, x.tm_mday, x.tm_hour, x.tm_min};
    const int right[] = {y.tm_year, y.tm_mon, y.tm_mday, y.tm_hour, y.tm_min};
    for (int i = 0; i < 5; ++i) {
      if (left[i] != right[i]) return left[i] < right[i];
    }
    return false;
  }
  const int left[] = {a.m_major, a.m_minor, a.m_build, a.m_revision};
  const int right[] = {b.m_major, b.m_minor, b.m_build, b.m_revision};
  for (int i = 0; i < 4; ++i) {
    if (left[i] != right[i]) return left[i] < right[i];
  }
  return false;
}
