// CTime: a moment as seconds since 1 January 1970 (UTC), shown in local time.
#pragma once
#include <windows.h>

#include <ctime>

#include "framework/core/String.h"

// windows.h keeps an old macro of this name that would rename the member below.
#undef GetCurrentTime

class CTime {
 public:
  CTime() = default;
  explicit CTime(__time64_t time) : m_time(time) {}
  // Local time; -1 for nDST lets the runtime library decide on daylight saving.
  CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
  explicit CTime(const FILETIME& fileTime);

  static CTime GetCurrentTime();

  __time64_t GetTime() const { return m_time; }
  int GetYear() const { return Local().tm_year + 1900; }
  int GetMonth() const { return Local().tm_mon + 1; }
  int GetDay() const { return Local().tm_mday; }
  int GetHour() const { return Local().tm_hour; }
  int GetMinute() const { return Local().tm_min; }
  int GetSecond() const { return Local().tm_sec; }
  int GetDayOfWeek() const { return Local().tm_wday + 1; }  // 1 = Sunday

  // strftime of the local time, or of the time in UTC.
  CString Format(LPCSTR pszFormat) const;
  CString FormatGmt(LPCSTR pszFormat) const;

  friend bool operator==(CTime a, CTime b) { return a.m_time == b.m_time; }
  friend bool operator!=(CTime a, CTime b) { return a.m_time != b.m_time; }
  friend bool operator<(CTime a, CTime b) { return a.m_time < b.m_time; }
  friend bool operator>(CTime a, CTime b) { return a.m_time > b.m_time; }

 private:
  struct tm Local() const;

  __time64_t m_time = 0;
};
