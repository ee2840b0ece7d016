// COleDateTime: a date and time as a count of days since 30 December 1899 (the fraction is the
// time of day) plus a status. Formatting and parsing follow a locale, as the system's date
// functions do.
#pragma once
#include <windows.h>
// DATE, and the VAR_ flags of Format and ParseDateTime.
#include <oleauto.h>

#include "framework/core/String.h"

#undef GetCurrentTime

class COleDateTime {
 public:
  enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

  COleDateTime() = default;
  COleDateTime(DATE dt) : m_dt(dt) {}  // NOLINT: converts like the framework's
  COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
  COleDateTime(const SYSTEMTIME& systemTime);  // NOLINT
  COleDateTime(const FILETIME& fileTime);      // NOLINT

  static COleDateTime GetCurrentTime();

  DateTimeStatus GetStatus() const { return m_status; }
  void SetStatus(DateTimeStatus status) { m_status = status; }
  operator DATE() const { return m_dt; }  // NOLINT

  // Sets the value; an impossible date leaves the status invalid. Returns 0 on success.
  int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
  BOOL GetAsSystemTime(SYSTEMTIME& systemTime) const;

  // Parts of a valid value; -1 when the value is not valid.
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday
  int GetDayOfYear() const;  // 1 = 1 January

  // Reads a date and/or time written as the locale writes them (dwFlags as for the system's
  // parser, e.g. VAR_DATEVALUEONLY). On failure the status becomes invalid and FALSE returns.
  BOOL ParseDateTime(LPCSTR lpszDate, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);
  // The value as the locale writes it (VAR_DATEVALUEONLY or VAR_TIMEVALUEONLY for one half);
  // empty when the value is not valid.
  CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;
  // strftime of the value; empty when the value is not valid.
  CString Format(LPCSTR pszFormat) const;

  friend bool operator==(const COleDateTime& a, const COleDateTime& b) {
    return a.m_status == b.m_status && a.m_dt == b.m_dt;
  }
  friend bool operator!=(const COleDateTime& a, const COleDateTime& b) { return !(a == b); }
  friend bool operator<(const COleDateTime& a, const COleDateTime& b) { return a.m_dt < b.m_dt; }
  friend bool operator>(const COleDateTime& a, const COleDateTime& b) { return a.m_dt > b.m_dt; }

  DATE m_dt = 0;
  DateTimeStatus m_status = valid;
};
