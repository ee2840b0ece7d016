// The country table and the names of country codes.
#include <gtest/gtest.h>

#include <cstring>

#include "app/services/CountryNames.h"

TEST(CountryNamesTest, TheTableRunsFromAndorraToZimbabweInCodeAndIdOrder) {
  int count = 0;
  const CountryRow* rows = GetCountryTable(count);
  ASSERT_EQ(count, 244);
  EXPECT_STREQ(rows[0].code, "ad");
  EXPECT_STREQ(rows[0].englishName, "Andorra");
  EXPECT_EQ(rows[0].stringId, 22250u);
  EXPECT_STREQ(rows[count - 1].code, "zw");
  EXPECT_STREQ(rows[count - 1].englishName, "Zimbabwe");
  EXPECT_EQ(rows[count - 1].stringId, 22502u);
  for (int i = 1; i < count; ++i) {
    EXPECT_LT(strcmp(rows[i - 1].code, rows[i].code), 0) << rows[i].code;
    EXPECT_LT(rows[i - 1].stringId, rows[i].stringId) << rows[i].code;
  }
}

TEST(CountryNamesTest, CodesGiveEnglishNamesWithoutLocalisedStrings) {
  EXPECT_EQ(GetCountryName("de"), "Germany");
  EXPECT_EQ(GetCountryName("DE"), "Germany");
  EXPECT_EQ(GetCountryName("uk"), "United Kingdom");
  EXPECT_EQ(GetCountryName("xx"), "");
  EXPECT_EQ(GetCountryName(""), "");
  EXPECT_EQ(GetCountryName(nullptr), "");
}
