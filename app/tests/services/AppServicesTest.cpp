// Data-file paths, the language module's name and code, locale dates and colour texts.
#include <gtest/gtest.h>

#include "app/services/AppPaths.h"
#include "app/services/AppServices.h"
#include "app/tests/AppRegistryFixture.h"
#include "engines/db/EngineServices.h"
#include "foundation/core/Date.h"

TEST(AppPathsTest, EveryDataFileIsInTheProgramFolder) {
  char module[MAX_PATH];
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  CString folder = GetAppFolder();
  ASSERT_FALSE(folder.IsEmpty());
  EXPECT_EQ(folder[folder.GetLength() - 1], '\\');
  EXPECT_EQ(CString(module).Left(folder.GetLength()).CompareNoCase(folder), 0);
  EXPECT_EQ(GetDebugLogPath(), folder + "zbu_dbg.txt");
  EXPECT_EQ(GetTemplatesFilePath(), folder + "templates.dat");
  EXPECT_EQ(GetToolMenuFilePath(), folder + "toolmenu.dat");
  EXPECT_EQ(GetUpdaterPath(), folder + "ZBUpdate.exe");
  EXPECT_EQ(GetCatalogPath(), folder + "versions.ini");
  EXPECT_EQ(GetDownloadedUpdaterPath(), folder + "ZBU.exe");
  EXPECT_EQ(GetDefaultResourceDllPath(), folder + "ZBResenu.dll");
  // The same cached object every time.
  EXPECT_EQ(&GetTemplatesFilePath(), &GetTemplatesFilePath());
}

TEST(AppPathsTest, TheReportsFolderIsCreatedOnlyByItsCreatingAccessor) {
  CString reports = GetReportsFolderPath();
  EXPECT_EQ(reports, GetAppFolder() + "reports\\");
  RemoveDirectoryA(reports);
  EXPECT_FALSE(PathExists(reports));
  EXPECT_EQ(GetReportsFolder(), reports);
  EXPECT_TRUE(PathExists(reports));
  RemoveDirectoryA(reports);
}

TEST(AppPathsTest, LanguageCodeIsTheThreeLettersBeforeDll) {
  EXPECT_EQ(LanguageCodeOf("ZBResenu.dll"), "enu");
  EXPECT_EQ(LanguageCodeOf("C:\\x\\ZBResDEU.DLL"), "DEU");
  EXPECT_EQ(LanguageCodeOf("ZBResenu"), "");
  EXPECT_EQ(LanguageCodeOf("e.dll"), "e");
}

TEST(AppPathsTest, LocalisedFilesFallBackToEnglish) {
  CString folder = GetAppFolder();
  CString german = folder + "ZBProdeu.hlp";
  DeleteFileA(german);
  EXPECT_EQ(LocalisedFilePath(folder, "ZBPro", "deu", ".hlp"), folder + "ZBProenu.hlp");
  HANDLE file = CreateFileA(german, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_EQ(LocalisedFilePath(folder, "ZBPro", "deu", ".hlp"), german);
  EXPECT_EQ(LocalisedFilePath(folder, "Popup", "deu", ".hlp"), folder + "Popupenu.hlp");
  EXPECT_EQ(LocalisedFilePath(folder, "ZBPro", "", ".tip"), folder + "ZBProenu.tip");
  DeleteFileA(german);
}

class LanguageModuleTest : public AppRegistryFixture {};

TEST_F(LanguageModuleTest, TheSettingNamesTheModuleElseTheEnglishOne) {
  EXPECT_EQ(GetResourceDllPath().CompareNoCase("ZBResenu.dll"), 0);
  SetText(kProgramKey, "LanguageDLL", "ZBResdeu.dll");
  EXPECT_EQ(GetResourceDllPath(), "ZBResdeu.dll");
  SetText(kProgramKey, "LanguageDLL", "");
  EXPECT_EQ(GetResourceDllPath().CompareNoCase("ZBResenu.dll"), 0);
}

namespace {
const CString kAbbrev[13] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul",
                             "Aug", "Sep", "Oct", "Nov", "Dec", ""};
const CString kFull[13] = {"January",  "February", "March",  "April",     "May",
                           "June",     "July",     "August", "September", "October",
                           "November", "December", ""};
}  // namespace

TEST(DateTest, DateTextsBecomeSortableDigits) {
  struct Case {
    const char* text;
    const char* picture;
    const char* expected;
  } cases[] = {
      {"7/5/04", "M/d/yy", "20040705"},
      {"5/7/04", "d/M/yy", "20040705"},
      {"5.7.4", "d.M.y", "20040705"},
      {"5.7.04", "d.M.y", "20040705"},
      {"05-07-2004", "dd-MM-yyyy", "20040705"},
      {"2004/07/05", "yyyy/MM/dd", "20040705"},
      {"2004 Jul 05", "yyyy MMM dd", "20040705"},
      {"5 july 2004", "d MMMM yyyy", "20040705"},
      {"5 Juli 2004", "d MMMM yyyy", "20040005"},
      {"", "MM/dd/yyyy", "00000000"},
      {"12/31/1999", "MM/dd/yyyy", "19991231"},
      {"garbage", "MM/dd/yyyy", "garbage"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseDatePicture(c.text, c.picture, kAbbrev, kFull), c.expected);
  }
}

TEST(DateTest, TheLocaleFormatsAndParsesItsOwnDates) {
  int day = CDate::DayNumber(7, 5, 2004);
  CString text = FormatDateLocale(day);
  EXPECT_FALSE(text.IsEmpty());
  EXPECT_EQ(ParseDateLocale(text), "20040705");
  EXPECT_EQ(ParseDateLocale(""), "00000000");

  SetEngineDateFormat([](const SYSTEMTIME&, char*, int) { return 0; });
  EXPECT_EQ(FormatDateLocale(day), "07/05/2004");
  SetEngineDateFormat(nullptr);
}

TEST(ColorTest, ColourTextsAreParsedByEverySeparator) {
  struct Case {
    const char* text;
    COLORREF expected;
  } cases[] = {
      {"255.128", RGB(255, 128, 0)},   {"1,2,3", RGB(1, 2, 3)},
      {"1 2/3", RGB(1, 2, 3)},         {"", RGB(0, 0, 0)},
      {"256,257,511", RGB(0, 1, 255)}, {"9", RGB(9, 0, 0)},
      {"x,y,z", RGB(0, 0, 0)},         {"1,2,3,4", RGB(1, 2, 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseColorText(c.text), c.expected);
  }
  EXPECT_EQ(FormatColorText(RGB(192, 220, 7)), "192,220,7");
}

class ProfileColorTest : public AppRegistryFixture {};

TEST_F(ProfileColorTest, ColoursRoundTripThroughTheProfileAsText) {
  EXPECT_EQ(ReadProfileColor("Properties", "ViewBk", RGB(1, 2, 3)), RGB(1, 2, 3));
  WriteProfileColor("Properties", "ViewBk", RGB(10, 20, 30));
  CString stored;
  ASSERT_TRUE(GetText(kPropertiesKey, "ViewBk", stored));
  EXPECT_EQ(stored, "10,20,30");
  EXPECT_EQ(ReadProfileColor("Properties", "ViewBk", RGB(1, 2, 3)), RGB(10, 20, 30));
}

TEST(ExeVersionTest, AProgramWithoutAVersionResourceGivesZeros) {
  ExeFileVersion version = GetExeFileVersion();
  EXPECT_EQ(version.major, 0);
  EXPECT_EQ(version.minor, 0);
  EXPECT_EQ(version.build, 0);
  EXPECT_EQ(version.revision, 0);
}

TEST(DisplayDepthTest, TheScreenCanBeStoodInForByATest) {
  EXPECT_GT(GetDisplayDepthSquare(), 0);
  SetDisplayDepthSquareSource([] { return 16; });
  EXPECT_EQ(GetDisplayDepthSquare(), 16);
  SetDisplayDepthSquareSource(nullptr);
}
