// The services of the engine database: colours, dates, the language module and its strings,
// and the site-profile field table.
#include <windows.h>

#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "engines/db/EngineServices.h"
#include "engines/db/ProfileFields.h"

namespace {

TEST(ParseColourTest, ReadsThreeNumbersWithAnySeparator) {
  struct {
    const char* text;
    uint32_t expected;
  } cases[] = {
      {"", 0},
      {"255,128,0", 0xFF8000},
      {"255.128.0", 0xFF8000},
      {"255/128/0", 0xFF8000},
      {"0,0,255", 0x0000FF},
      {"1.2,3", 0x010200},  // "." wins; "2,3" reads as 2
      {"12", 0x0C0000},
      {"10,20", 0x0A1400},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseColour(c.text), c.expected) << c.text;
}

// Registry values of the program's Properties key, removed again at the end.
class ColourSettingTest : public ::testing::Test {
 protected:
  static constexpr const char* kKey = "Software\\Orvandel Labs, Inc.\\ZBPro\\Properties";
  void SetUp() override {
    RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
  }
  void TearDown() override {
    RegDeleteValueA(key_, "TestColour");
    RegDeleteValueA(key_, "TestColourNumber");
    RegCloseKey(key_);
  }
  HKEY key_ = nullptr;
};

TEST_F(ColourSettingTest, ReadsStringValuesOnly) {
  const char text[] = "255,128,0";
  ASSERT_EQ(RegSetValueExA(key_, "TestColour", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                           sizeof text),
            ERROR_SUCCESS);
  DWORD number = 0x123456;
  RegSetValueExA(key_, "TestColourNumber", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                 sizeof number);
  EXPECT_EQ(GetColourSetting("TestColour"), 0xFF8000u);
  EXPECT_EQ(GetColourSetting("TestColourNumber"), 0u);
  EXPECT_EQ(GetColourSetting("NoSuchColour"), 0u);
}

int FailingDateFormat(const SYSTEMTIME&, char*, int) {
  return 0;
}

TEST(FormatDateTest, ShortDateOfTheUserElseMonthDayYear) {
  CDate date(CDate::DayNumber(3, 7, 2024));
  std::string shown = FormatDate(date).c_str();
  EXPECT_NE(shown.find("2024"), std::string::npos) << shown;

  SetEngineDateFormat(FailingDateFormat);
  EXPECT_EQ(FormatDate(date), "03/07/2024");
  EXPECT_EQ(FormatDate(CDate(CDate::DayNumber(12, 25, 999))), "12/25/0999");
  SetEngineDateFormat(nullptr);
}

// The language setting of the program's key, restored at the end.
class LanguageModuleTest : public ::testing::Test {
 protected:
  static constexpr const char* kKey = "Software\\Orvandel Labs, Inc.\\ZBPro";
  void SetUp() override { FreeLanguageModule(); }
  void TearDown() override {
    FreeLanguageModule();
    SetReportResourceModule(nullptr);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, "LanguageDLL");
      RegCloseKey(key);
    }
  }
  void SetLanguageSetting(const char* value) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, "LanguageDLL", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(key);
  }
};

TEST_F(LanguageModuleTest, SettingThenEnglishModuleAndOneCachedHandle) {
  // A setting that names a module that does not load falls back to the English one.
  SetLanguageSetting("ZBResXXX.dll");
  HMODULE module = LoadLanguageModule();
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module, GetModuleHandleA("ZBResENU.dll"));
  EXPECT_EQ(LoadLanguageModule(), module);
  EXPECT_EQ(GetLanguageModule(), module);

  EXPECT_EQ(LoadResourceString(599), "");  // no report module yet
  SetReportResourceModule(module);
  EXPECT_EQ(LoadResourceString(599), "ZBPro Update");
  EXPECT_EQ(LoadResourceString(57345), "Ready");
  EXPECT_EQ(LoadResourceString(9999), "");

  FreeLanguageModule();
  EXPECT_EQ(GetLanguageModule(), nullptr);
  // Neither the setting nor the fallback loads: no module.
  SetFallbackLanguageModule("ZBResNONE.dll");
  EXPECT_EQ(LoadLanguageModule(), nullptr);
  SetFallbackLanguageModule(nullptr);
}

TEST(ProfileFieldsTest, SeventyFiveRowsEndedByAnEmptyOne) {
  const SiteProfileField* rows = GetProfileFieldNames();
  std::set<std::string> keys;
  static const std::set<std::string> kTypes = {"EDIT", "MULTIEDIT", "HIDDEN",
                                               "PICK", "DYNAPICK",  "YESNO"};
  int i = 0;
  for (; rows[i].key; ++i) {
    keys.insert(rows[i].key);
    EXPECT_EQ(kTypes.count(rows[i].type), 1u) << rows[i].key;
    EXPECT_GT(rows[i].labelId, 3000u);
    EXPECT_GT(rows[i].helpId, 3000u);
  }
  EXPECT_EQ(i, kSiteProfileFieldCount);
  EXPECT_EQ(keys.size(), 75u);
  EXPECT_EQ(rows[75].owner, nullptr);
  EXPECT_EQ(rows[75].labelId, 0u);

  EXPECT_STREQ(rows[0].key, "URL_WITH_PREFIX");
  EXPECT_STREQ(rows[1].type, "HIDDEN");
  EXPECT_STREQ(rows[43].key, "SITE_TYPE");
  EXPECT_STREQ(rows[43].owner, "Common");
  EXPECT_STREQ(rows[44].key, "AH_HA_CATEGORY");
  EXPECT_STREQ(rows[51].owner, "FLIX-Deutschland");
  EXPECT_STREQ(rows[51].key, "FLIX_PLZ");
  EXPECT_EQ(rows[51].labelId, 3329u);
  EXPECT_STREQ(rows[55].owner, "M\xE9xico Web");
  EXPECT_STREQ(rows[61].owner,
               "Sit\xE9"
               "Cantal");
  EXPECT_STREQ(rows[74].key, "YAHOO_UK_CATEGORY");
  EXPECT_STREQ(rows[74].type, "DYNAPICK");
}

}  // namespace
