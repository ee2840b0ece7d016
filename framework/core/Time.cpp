#include "framework/core/Time.h"

namespace {
// 100-nanosecond intervals between 1 January 1601 and 1 January 1970.
const ULONGLONG kEpochDifference = 116444736000000000ULL;

CString FormatTm(LPCSTR pszFormat, const struct tm& t) {
  if (!pszFormat || !*pszFormat) return CString();
  char buffer[512];
  size_t n = strftime(buffer, sizeof buffer, pszFormat, &t);
  return CString(buffer, static_cast<int>(n));
}
}  // namespace

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
  struct tm t = {};
  t.tm_year = nYear - 1900;
  t.tm_mon = nMonth - 1;
  t.tm_mday = nDay;
  t.tm_hour = nHour;
  t.tm_min = nMin;
  t.tm_sec = nSec;
  t.tm_isdst = nDST;
  m_time = _mktime64(&t);
}

CTime::CTime(const FILETIME& fileTime) {
  ULARGE_INTEGER value;
  value.LowPart = fileTime.dwLowDateTime;
  value.HighPart = fileTime.dwHighDateTime;
  m_time = value.QuadPart < kEpochDifference
               ? 0
               : static_cast<__time64_t>((value.QuadPart - kEpochDifference) / 10000000ULL);
}

CTime CTime::GetCurrentTime() {
  return CTime(_time64(nullptr));
}

struct tm CTime::Local() const {
  struct tm t = {};
  _localtime64_s(&t, &m_time);
  return t;
}

CString CTime::Format(LPCSTR pszFormat) const {
  return FormatTm(pszFormat, Local());
}

CString CTime::FormatGmt(LPCSTR pszFormat) const {
  struct tm t = {};
  _gmtime64_s(&t, &m_time);
  return FormatTm(pszFormat, t);
}
