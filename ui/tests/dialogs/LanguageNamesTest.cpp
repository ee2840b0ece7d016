// The language name table: lookups by code in any case, short names, unknown codes, and the
// choice made by the first lookup between the language module's own names and English.
#include <gtest/gtest.h>

#include "framework/app/AfxResource.h"
#include "ui/LanguageNames.h"
#include "ui/tests/dialogs/DialogDriver.h"

namespace {

class LanguageNamesTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetLanguageNames(); }
  void TearDown() override {
    ResetLanguageNames();
    dlgtest::UseLanguageModule();
  }
};

TEST_F(LanguageNamesTest, CodesInAnyCaseGiveTheirNamesAndUnknownCodesNone) {
  dlgtest::UseLanguageModule();
  struct Case {
    const char* code;
    const char* name;
    const char* shortName;
  };
  const Case cases[] = {
      {"enu", "English (American)", "English"},
      {"ENU", "English (American)", "English"},  // lower-cased before the lookup
      {"eNz", "English (New Zealand)", "English"},
      {"esp", "Spanish (Standard/Traditional)", "Spanish"},
      {"cht", "Chinese (Taiwan Region)", "Chinese"},
      {"nlb", "Belgian (Flemish)", "Belgian"},
      {"trk", "Turkish", "Turkish"},  // the last row; no qualifier to cut
      {"jpn", "Japanese", "Japanese"},
      // Not in the table: empty, never a neighbour's name.
      {"xyz", "", ""},
      {"en", "", ""},
      {"enuu", "", ""},
      {" enu", "", ""},
      {"", "", ""},
      {nullptr, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code ? c.code : "(null)");
    EXPECT_STREQ(LanguageName(c.code, false), c.name);
    EXPECT_STREQ(LanguageNameShort(c.code, false), c.shortName);
  }
}

TEST_F(LanguageNamesTest, FirstLookupChoosesTheModulesOwnNamesForTheRun) {
  dlgtest::UseTestResources();
  EXPECT_STREQ(LanguageName("deu", false), "Deutsch (Standard)");
  // Later lookups keep the names of the first, whatever they ask for.
  EXPECT_STREQ(LanguageName("DEU", true), "Deutsch (Standard)");
  EXPECT_STREQ(LanguageNameShort("enu", true), "Englisch");
  EXPECT_STREQ(LanguageName("sve", true), "Schwedisch");
  // A row the module has no text for keeps its English name instead of none.
  EXPECT_STREQ(LanguageName("trk", false), "Turkish");
  EXPECT_STREQ(LanguageName("xyz", false), "");
}

TEST_F(LanguageNamesTest, FirstLookupAskingForEnglishKeepsEnglishForTheRun) {
  dlgtest::UseTestResources();
  EXPECT_STREQ(LanguageName("deu", true), "German (Standard)");
  EXPECT_STREQ(LanguageName("deu", false), "German (Standard)");
  EXPECT_STREQ(LanguageNameShort("sve", false), "Swedish");
}

TEST_F(LanguageNamesTest, ModuleWithoutTheFirstNameGivesEnglishNames) {
  HINSTANCE kernel = ::GetModuleHandleA("kernel32.dll");
  char probe[8] = {};
  ASSERT_EQ(::LoadStringA(kernel, 22200, probe, sizeof probe), 0) << "a module without the names";
  AfxSetResourceHandle(kernel);
  EXPECT_STREQ(LanguageName("fra", false), "French (Standard)");
  EXPECT_STREQ(LanguageNameShort("frc", false), "French");
}

TEST_F(LanguageNamesTest, ResetFillsTheNamesAnewFromTheModuleNowInUse) {
  dlgtest::UseTestResources();
  EXPECT_STREQ(LanguageName("enu", false), "Englisch (Amerikanisch)");
  ResetLanguageNames();
  dlgtest::UseLanguageModule();
  EXPECT_STREQ(LanguageName("enu", false), "English (American)");
}

}  // namespace
