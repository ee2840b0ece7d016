#include "foundation/core/Date.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

TEST(Date, KnownDayNumbers) {
  struct {
    int month, day, year, number;
  } cases[] = {
      {1, 1, 0, 1},         {1, 1, 1970, 719529},   {1, 1, 2000, 730486}, {2, 29, 2000, 730545},
      {3, 1, 2000, 730546}, {12, 31, 1999, 730485}, {3, 1, 1600, 584449},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.month << "/" << c.day << "/" << c.year);
    EXPECT_EQ(CDate::DayNumber(c.month, c.day, c.year), c.number);
    int m = 0, d = 0, y = 0;
    CDate::FromDayNumber(c.number, &m, &d, &y);
    EXPECT_EQ(m, c.month);
    EXPECT_EQ(d, c.day);
    EXPECT_EQ(y, c.year);
  }
}

// Every day from 1 March 1600 to the end of 2400 converts back to itself, and consecutive dates
// have consecutive numbers.
TEST(Date, RoundTripsEveryDay) {
  int first = CDate::DayNumber(3, 1, 1600), last = CDate::DayNumber(12, 31, 2400);
  int prevM = 2, prevD = 29, prevY = 1600;
  for (int n = first; n <= last; ++n) {
    int m, d, y;
    CDate::FromDayNumber(n, &m, &d, &y);
    ASSERT_EQ(CDate::DayNumber(m, d, y), n) << m << "/" << d << "/" << y;
    bool nextDay = (y == prevY && m == prevM && d == prevD + 1) ||
                   (y == prevY && m == prevM + 1 && d == 1) || (y == prevY + 1 && m == 1 && d == 1);
    ASSERT_TRUE(nextDay) << m << "/" << d << "/" << y;
    prevM = m, prevD = d, prevY = y;
  }
}

TEST(Date, PartsAndNullOutputs) {
  CDate date(CDate::DayNumber(3, 1, 1951));
  EXPECT_EQ(date.GetMonth(), 3);
  EXPECT_EQ(date.GetDay(), 1);
  EXPECT_EQ(date.GetYear(), 1951);
  EXPECT_EQ(date.GetYear(730486), 2000);
  int year = 0;
  CDate::FromDayNumber(730486, nullptr, nullptr, &year);
  EXPECT_EQ(year, 2000);
  date.SetDayNumber(719529);
  EXPECT_EQ(date.GetDayNumber(), 719529);
}

TEST(Date, TodayIsTheLocalDate) {
  time_t now = time(nullptr);
  struct tm local = *localtime(&now);
  EXPECT_EQ(CDate().GetDayNumber(),
            CDate::DayNumber(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900));
}

}  // namespace
