#include "framework/core/OleDateTime.h"

#include <ctime>
#include <vector>

namespace {
std::wstring Widen(LPCSTR text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(n > 0 ? n : 1, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
  return wide;
}

CString Narrow(const wchar_t* text, int length) {
  int n = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return CString();
  CString result;
  WideCharToMultiByte(CP_ACP, 0, text, length, result.GetBufferSetLength(n), n, nullptr, nullptr);
  return result;
}
}  // namespace

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
  SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime::COleDateTime(const SYSTEMTIME& systemTime) {
  SYSTEMTIME copy = systemTime;
  copy.wMilliseconds = 0;
  if (!SystemTimeToVariantTime(&copy, &m_dt)) {
    m_dt = 0;
    m_status = invalid;
  }
}

COleDateTime::COleDateTime(const FILETIME& fileTime) {
  SYSTEMTIME systemTime;
  if (FileTimeToSystemTime(&fileTime, &systemTime)) {
    *this = COleDateTime(systemTime);
  } else {
    m_status = invalid;
  }
}

COleDateTime COleDateTime::GetCurrentTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return COleDateTime(now);
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
  SYSTEMTIME t = {};
  // The system conversion rolls impossible parts over; they are refused here instead.
  static const int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
  bool ok = nYear >= 100 && nYear <= 9999 && nMonth >= 1 && nMonth <= 12 && nDay >= 1 &&
            nDay <= kDaysInMonth[nMonth >= 1 && nMonth <= 12 ? nMonth - 1 : 0] +
                        (nMonth == 2 && leap ? 1 : 0) &&
            nHour >= 0 && nHour < 24 && nMin >= 0 && nMin < 60 && nSec >= 0 && nSec < 60;
  if (ok) {
    t.wYear = static_cast<WORD>(nYear);
    t.wMonth = static_cast<WORD>(nMonth);
    t.wDay = static_cast<WORD>(nDay);
    t.wHour = static_cast<WORD>(nHour);
    t.wMinute = static_cast<WORD>(nMin);
    t.wSecond = static_cast<WORD>(nSec);
    ok = SystemTimeToVariantTime(&t, &m_dt) != 0;
  }
  if (!ok) m_dt = 0;
  m_status = ok ? valid : invalid;
  return ok ? 0 : 1;
}

BOOL COleDateTime::GetAsSystemTime(SYSTEMTIME& systemTime) const {
  return m_status == valid && VariantTimeToSystemTime(m_dt, &systemTime);
}

int COleDateTime::GetYear() const {
  SYSTEMTIME t;
  return GetAsSystemTime(t) ? t.wYear : -1;
}

int COleDateTime::GetMonth() const {
  SYSTEMTIME t;
  return GetAsSystemTime(t) ? t.wMonth : -1;
}

int COleDateTime::GetDay() const {
  SYSTEMTIME t;
  return GetAsSystemTime(t) ? t.wDay : -1;
}

int COleDateTime::GetHour() const {
  SYSTEMTIME t;
  return GetAsSystemTime(t) ? t.wHour : -1;
}

int COleDateTime::GetMinute() const {
  SYSTEMTIME t;
  return GetAsSystemTime(t) ? t.wMinute : -1;
}

int COleDateTime::GetSecond() const {
  SYSTEMTIME t;
  return GetAsSystemTime(t) ? t.wSecond : -1;
}

int COleDateTime::GetDayOfWeek() const {
  SYSTEMTIME t;
  return GetAsSystemTime(t) ? t.wDayOfWeek + 1 : -1;
}

int COleDateTime::GetDayOfYear() const {
  SYSTEMTIME t;
  if (!GetAsSystemTime(t)) return -1;
  COleDateTime newYear(t.wYear, 1, 1, 0, 0, 0);
  SYSTEMTIME midnight = t;
  midnight.wHour = midnight.wMinute = midnight.wSecond = 0;
  return static_cast<int>(COleDateTime(midnight).m_dt - newYear.m_dt + 0.5) + 1;
}

BOOL COleDateTime::ParseDateTime(LPCSTR lpszDate, DWORD dwFlags, LCID lcid) {
  std::wstring wide = Widen(lpszDate ? lpszDate : "");
  DATE dt = 0;
  if (FAILED(VarDateFromStr(const_cast<OLECHAR*>(wide.c_str()), lcid, dwFlags, &dt))) {
    m_dt = 0;
    m_status = invalid;
    return FALSE;
  }
  m_dt = dt;
  m_status = valid;
  return TRUE;
}

CString COleDateTime::Format(DWORD dwFlags, LCID lcid) const {
  if (m_status != valid) return CString();
  BSTR text = nullptr;
  if (FAILED(VarBstrFromDate(m_dt, lcid, dwFlags, &text)) || !text) return CString();
  CString result = Narrow(text, static_cast<int>(SysStringLen(text)));
  SysFreeString(text);
  return result;
}

CString COleDateTime::Format(LPCSTR pszFormat) const {
  SYSTEMTIME t;
  if (!pszFormat || !GetAsSystemTime(t)) return CString();
  struct tm parts = {};
  parts.tm_year = t.wYear - 1900;
  parts.tm_mon = t.wMonth - 1;
  parts.tm_mday = t.wDay;
  parts.tm_hour = t.wHour;
  parts.tm_min = t.wMinute;
  parts.tm_sec = t.wSecond;
  parts.tm_wday = t.wDayOfWeek;
  parts.tm_yday = GetDayOfYear() - 1;
  parts.tm_isdst = -1;
  char buffer[512];
  size_t n = strftime(buffer, sizeof buffer, pszFormat, &parts);
  return CString(buffer, static_cast<int>(n));
}
