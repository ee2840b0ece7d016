// COleDateTime and CTime: building, parts, the locale's formatting and parsing, status.
#include <gtest/gtest.h>

#include "framework/core/OleDateTime.h"
#include "framework/core/Time.h"

namespace {
const LCID kEnglishUs = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
}

TEST(OleDateTime, PartsOfAValue) {
  COleDateTime dt(2026, 12, 9, 15, 4, 5);
  ASSERT_EQ(dt.GetStatus(), COleDateTime::valid);
  EXPECT_EQ(dt.GetYear(), 2026);
  EXPECT_EQ(dt.GetMonth(), 12);
  EXPECT_EQ(dt.GetDay(), 9);
  EXPECT_EQ(dt.GetHour(), 15);
  EXPECT_EQ(dt.GetMinute(), 4);
  EXPECT_EQ(dt.GetSecond(), 5);
  EXPECT_EQ(dt.GetDayOfWeek(), 4);  // a Wednesday
  EXPECT_EQ(dt.GetDayOfYear(), 343);
  EXPECT_EQ(COleDateTime(1899, 12, 30, 0, 0, 0).m_dt, 0.0);
  EXPECT_EQ(COleDateTime(1900, 1, 1, 12, 0, 0).m_dt, 2.5);
  EXPECT_LT(COleDateTime(2020, 1, 1, 0, 0, 0), dt);
}

TEST(OleDateTime, ImpossibleDatesAreInvalid) {
  struct Case {
    int y, mo, d, h, mi, s;
  } cases[] = {{2025, 2, 29, 0, 0, 0}, {2024, 13, 1, 0, 0, 0}, {2024, 4, 31, 0, 0, 0},
               {2024, 1, 1, 24, 0, 0}, {2024, 1, 1, 0, 60, 0}, {2024, 0, 1, 0, 0, 0}};
  for (const Case& c : cases) {
    COleDateTime dt(c.y, c.mo, c.d, c.h, c.mi, c.s);
    EXPECT_EQ(dt.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(dt.GetYear(), -1);
    EXPECT_TRUE(dt.Format(0u, kEnglishUs).IsEmpty());
  }
  EXPECT_EQ(COleDateTime(2024, 2, 29, 23, 59, 59).GetStatus(), COleDateTime::valid);
}

TEST(OleDateTime, CurrentTimeIsLocalTime) {
  SYSTEMTIME before;
  GetLocalTime(&before);
  COleDateTime now = COleDateTime::GetCurrentTime();
  EXPECT_EQ(now.GetStatus(), COleDateTime::valid);
  EXPECT_NEAR(now.m_dt, COleDateTime(before).m_dt, 2.0 / 86400);
}

TEST(OleDateTime, FormatsByLocale) {
  COleDateTime dt(2026, 12, 9, 15, 4, 5);
  EXPECT_EQ(dt.Format(VAR_DATEVALUEONLY, kEnglishUs), "12/9/2026");
  CString both = dt.Format(0u, kEnglishUs);
  EXPECT_EQ(both.Find("12/9/2026"), 0);
  EXPECT_NE(both.Find("3:04:05"), -1);
  EXPECT_EQ(dt.Format("%Y%m%d %H:%M:%S"), "20261209 15:04:05");

  COleDateTime none;
  none.SetStatus(COleDateTime::null);
  EXPECT_TRUE(none.Format(0u, kEnglishUs).IsEmpty());
  EXPECT_TRUE(none.Format("%Y").IsEmpty());
}

TEST(OleDateTime, ParsesByLocale) {
  COleDateTime dt;
  ASSERT_TRUE(dt.ParseDateTime("12/9/2026 15:04:05", 0, kEnglishUs));
  EXPECT_EQ(dt.GetStatus(), COleDateTime::valid);
  EXPECT_EQ(dt, COleDateTime(2026, 12, 9, 15, 4, 5));
  ASSERT_TRUE(dt.ParseDateTime("1/2/2003", 0, kEnglishUs));
  EXPECT_EQ(dt, COleDateTime(2003, 1, 2, 0, 0, 0));

  EXPECT_FALSE(dt.ParseDateTime("not a date", 0, kEnglishUs));
  EXPECT_EQ(dt.GetStatus(), COleDateTime::invalid);
  EXPECT_FALSE(dt.ParseDateTime(nullptr, 0, kEnglishUs));
}

TEST(OleDateTime, FromFileTime) {
  SYSTEMTIME st = {2001, 2, 0, 3, 4, 5, 6, 0};
  FILETIME ft;
  ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
  EXPECT_EQ(COleDateTime(ft), COleDateTime(2001, 2, 3, 4, 5, 6));
}

TEST(Time, PartsFormattingAndFileTimes) {
  CTime t(2026, 12, 9, 15, 4, 5);
  EXPECT_EQ(t.GetYear(), 2026);
  EXPECT_EQ(t.GetMonth(), 12);
  EXPECT_EQ(t.GetDay(), 9);
  EXPECT_EQ(t.GetHour(), 15);
  EXPECT_EQ(t.GetMinute(), 4);
  EXPECT_EQ(t.GetSecond(), 5);
  EXPECT_EQ(t.GetDayOfWeek(), 4);
  EXPECT_EQ(t.Format("%Y%m%d"), "20261209");
  EXPECT_LT(t, CTime(t.GetTime() + 1));

  // 1 January 1970 00:00:10 UTC as a file time.
  ULARGE_INTEGER value;
  value.QuadPart = 116444736000000000ULL + 10 * 10000000ULL;
  FILETIME ft = {value.LowPart, value.HighPart};
  EXPECT_EQ(CTime(ft).GetTime(), 10);
  EXPECT_EQ(CTime(ft).FormatGmt("%Y-%m-%d %H:%M:%S"), "1970-01-01 00:00:10");

  __time64_t now = _time64(nullptr);
  EXPECT_LE(llabs(CTime::GetCurrentTime().GetTime() - now), 2);
}
