#include "foundation/core/Date.h"

#include <ctime>

namespace {

// Days are counted in years that begin on 1 March, so that the leap day ends a year; the year
// is shifted by 400 so that every date from 1 March of year -400 on has a non-negative count.
const int kShift = 146037;  // day number offset that makes 1 January of year 0 day 1

int FloorDiv(int a, int b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

CDate::CDate() : m_dayNumber(Today()) {}

int CDate::Today() {
  time_t now = time(nullptr);
  struct tm local;
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return DayNumber(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
}

int CDate::DayNumber(int month, int day, int year) {
  int m = (month + 9) % 12;               // March = 0 ... February = 11
  int y = year + (month + 9) / 12 + 399;  // January and February count to the year before
  return 365 * y + y / 4 - y / 100 + y / 400 + (153 * m + 2) / 5 + day - kShift;
}

void CDate::FromDayNumber(int number, int* month, int* day, int* year) {
  int t = number + kShift - 1;  // days since 1 March of the shifted year 0
  int era = FloorDiv(t, 146097);
  int doe = t - era * 146097;                                       // day of the 400-year era
  int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // year of the era
  int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // day of the March year
  int mp = (5 * doy + 2) / 153;                                     // March = 0
  int d = doy - (153 * mp + 2) / 5 + 1;
  int m = mp < 10 ? mp + 3 : mp - 9;
  int y = yoe + era * 400 - 400 + (m <= 2 ? 1 : 0);
  if (month) *month = m;
  if (day) *day = d;
  if (year) *year = y;
}

int CDate::GetDay(int number) const {
  int d;
  FromDayNumber(number == -1 ? m_dayNumber : number, nullptr, &d, nullptr);
  return d;
}

int CDate::GetMonth(int number) const {
  int m;
  FromDayNumber(number == -1 ? m_dayNumber : number, &m, nullptr, nullptr);
  return m;
}

int CDate::GetYear(int number) const {
  int y;
  FromDayNumber(number == -1 ? m_dayNumber : number, nullptr, nullptr, &y);
  return y;
}
