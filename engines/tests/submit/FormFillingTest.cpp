// Filling a request text from the site profile: length limits, localized fallbacks, the phone
// rule of one engine, category groups from the categories file, and URL encoding.
#include <string>

#include <gtest/gtest.h>

#include "engines/db/EngineKeys.h"
#include "engines/db/EngineList.h"
#include "engines/db/SearchEngine.h"
#include "engines/tests/EngineTestSupport.h"

namespace {

struct FillCase {
  const char* name;
  const char* engine;
  const char* form;
  int encode;
  const char* expected;
};

class FormFillingTest : public ::testing::TestWithParam<FillCase> {
 protected:
  static void SetUpTestSuite() {
    EngineKeyList.RemoveAll();
    // An item without "=" ends the limits: EMAIL's limit after it is never read.
    EngineKeyList.SetAt("Filler.submitlength",
                        "TITLE=10&&=5&KEYWORDS_SPACE=3&COMPANY=4&BROKEN&EMAIL=2");
    EngineKeyList.SetAt("Utf.charset", "UTF-8");
    EngineKeyList.SetAt("Utf.submitlength", "TITLE=4");
    folder_ = new enginetest::TempFolder;
    enginetest::WriteFile(folder_->File("categories.dat"),
                          "[SITE_CATEGORY]\nArts\tArts > Painting\nLonely\n\n"
                          "[ALLEE_CATEGORY]\nAllee-12\tKunst & Kultur\n");
    SetEngineDataFolder(folder_->File("").c_str());
    CEngineList::ClearCategoriesCache();
  }
  static void TearDownTestSuite() {
    SetEngineDataFolder(nullptr);
    CEngineList::ClearCategoriesCache();
    delete folder_;
    EngineKeyList.RemoveAll();
  }

  static CNVList Profile() {
    CNVList p;
    p.SetAt("TITLE", "Rock & Roll Stars Forever");  // 25 characters
    p.SetAt("COMPANY", "Caf\xE9 Society");
    p.SetAt("EMAIL", "owner@example.test");
    p.SetAt("KEYWORDS_SPACE", "abcdef");
    p.SetAt("PHONE", "030-123-45");
    p.SetAt("FAX", "030-99");
    p.SetAt("LONGDESC", "A long description");
    p.SetAt("LONGDESC_FR", "");
    p.SetAt("LONGDESC_MX", "");
    p.SetAt("SHORTDESC", "General");
    p.SetAt("SHORTDESC_DE", "Deutsch");
    p.SetAt("ONELINEDESC", "One");
    p.SetAt("ONELINEDESC_DK", "");
    p.SetAt("SITE_CATEGORY", "Arts > Painting");
    p.SetAt("ALLEE_CATEGORY", "Kunst & Kultur");
    p.SetAt("OTHER_CATEGORY", "Lonely");
    return p;
  }

  static enginetest::TempFolder* folder_;
};

enginetest::TempFolder* FormFillingTest::folder_ = nullptr;

TEST_P(FormFillingTest, FillsTheFormText) {
  const FillCase& c = GetParam();
  CSearchEngine engine;
  engine.m_name = c.engine;
  CLibString form = c.form;
  CFormSubmitter::FillFormFields(&engine, Profile(), form, c.encode);
  EXPECT_EQ(std::string(form.c_str()), c.expected);
}

const FillCase kCases[] = {
    {"LimitCutsTitle", "Filler", "t=#TITLE#", 0, "t=Rock & Rol"},
    {"LimitBeforeEncoding", "Filler", "t=#TITLE#", 1, "t=Rock+%26+Rol"},
    {"NoLimitWithoutEncoding", "Other", "t=#TITLE#", 0, "t=Rock & Roll Stars Forever"},
    {"EveryOccurrence", "Other", "#EMAIL#|#EMAIL#", 0, "owner@example.test|owner@example.test"},
    {"ItemWithoutEqualsEndsLimits", "Filler", "#EMAIL#&#KEYWORDS_SPACE#", 0,
     "owner@example.test&abc"},
    {"EncodedLimitNeverSplitsAnEscape", "Filler", "#COMPANY#", 1, "Caf%e9"},
    {"Utf8Charset", "Utf", "#COMPANY#|#TITLE#", 1, "Caf%c3%a9+Society|Rock"},
    {"LocalizedFallback", "Other", "#LONGDESC_FR#/#SHORTDESC_DE#/#ONELINEDESC_DK#", 0,
     "A long description/Deutsch/One"},
    {"MexicanFieldHasNoFallback", "Other", "[#LONGDESC_MX#]", 0, "[]"},
    {"FlixPhoneAndFax", "FLIX-Deutschland", "#PHONE#;#FAX#", 0, "030 123 45;030 99"},
    {"FlixPhoneEncoded", "FLIX-Deutschland", "#PHONE#", 1, "030+123+45"},
    {"OtherEnginesKeepDashes", "Other", "#PHONE#", 0, "030-123-45"},
    {"CategoryGroup", "Other", "c=#SITE_CATEGORY#", 1, "c=Arts"},
    {"CategoryGroupOfAnotherSection", "Other", "c=#ALLEE_CATEGORY#", 0, "c=Allee-12"},
    {"CategoryWithoutGroupKeepsValue", "Other", "c=#OTHER_CATEGORY#", 0, "c=Lonely"},
    {"UnknownPlaceholderStays", "Other", "#NOT_A_FIELD#", 1, "#NOT_A_FIELD#"},
    {"TitleAbsentNothingChanges", "Filler", "plain text", 1, "plain text"},
};

INSTANTIATE_TEST_SUITE_P(Cases, FormFillingTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FillCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(FormFillingNoEngine, FillsWithoutLimitsOrCharset) {
  CNVList profile;
  profile.SetAt("TITLE", "a b");
  CLibString form = "#TITLE#";
  CFormSubmitter::FillFormFields(nullptr, profile, form, 1);
  EXPECT_EQ(form, "a+b");
}

}  // namespace
