// The main program's command line: every switch, the token rules and the debug options file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/program/NQCommandLineInfo.h"

namespace {

struct Expected {
  const char* line;
  int automated, splash, shell;
  const char* file;
  int debug, testMode, autoRun, hide, csv, csvAppend, csvPrevious;
  unsigned reports;
  const char* csvPath;
};

// line, automated, splash, shell, file, debug, test, auto, hide, csv, append, previous, reports,
// csv path
const Expected kCases[] = {
    {"", 0, 1, 0, "", 0, 0, 0, 0, 0, 0, 0, 0, ""},
    {"/unregister", 0, 1, 3, "", 0, 0, 0, 0, 0, 0, 0, 0, ""},
    {"/no_splash", 0, 0, 0, "", 0, 0, 0, 0, 0, 0, 0, 0, ""},
    {"-debug", 1, 0, 0, "", 1, 0, 0, 0, 0, 0, 0, 0, ""},
    {"/test_mode", 0, 1, 0, "", 0, 1, 0, 0, 0, 0, 0, 0, ""},
    {"/AUTO", 1, 0, 0, "", 0, 0, 1, 0, 0, 0, 0, 0, ""},
    {"-auto", 1, 0, 0, "", 0, 0, 1, 0, 0, 0, 0, 0, ""},
    {"/hide", 0, 1, 0, "", 0, 0, 0, 1, 0, 0, 0, 0, ""},
    {"/csv", 1, 0, 0, "", 0, 0, 0, 0, 1, 0, 0, 0, ""},
    {"/csv_to \"C:\\My Reports\\out.csv\"", 1, 0, 0, "", 0, 0, 0, 0, 1, 0, 0, 0,
     "C:\\My Reports\\out.csv"},
    {"/csv_to 'C:\\a b.csv' site.zbp", 1, 0, 1, "site.zbp", 0, 0, 0, 0, 1, 0, 0, 0, "C:\\a b.csv"},
    {"/csv_append /csv_previous", 0, 1, 0, "", 0, 0, 0, 0, 0, 1, 1, 0, ""},
    {"/r1 /r7", 1, 0, 0, "", 0, 0, 0, 0, 0, 0, 0, 0x41, ""},
    {"/r1_email", 1, 0, 0, "", 0, 0, 0, 0, 0, 0, 0, 0x100, ""},
    {"/R2_EMAIL -r7_email /r3", 1, 0, 0, "", 0, 0, 0, 0, 0, 0, 0, 0x4204, ""},
    {"/r8 /r0 /r1x /r1_mail /bogus", 0, 1, 0, "", 0, 0, 0, 0, 0, 0, 0, 0, ""},
    {"C:\\sites\\my.zbp", 0, 1, 1, "C:\\sites\\my.zbp", 0, 0, 0, 0, 0, 0, 0, 0, ""},
    {"\"C:\\my sites\\a.zbp\"", 0, 1, 1, "C:\\my sites\\a.zbp", 0, 0, 0, 0, 0, 0, 0, 0, ""},
    {"first.zbp,second.zbp", 0, 1, 1, "second.zbp", 0, 0, 0, 0, 0, 0, 0, 0, ""},
    {"/auto /r2 C:\\a.zbp", 1, 0, 1, "C:\\a.zbp", 0, 0, 1, 0, 0, 0, 0, 0x02, ""},
    // The path belongs to csv_to only right after it.
    {"/csv_to /auto x.zbp", 1, 0, 1, "x.zbp", 0, 0, 1, 0, 1, 0, 0, 0, ""},
    {"/unregister a.zbp", 0, 1, 1, "a.zbp", 0, 0, 0, 0, 0, 0, 0, 0, ""},
    // An unclosed quote runs to the end; a lone switch sign is no switch we know.
    {"\"C:\\open ended.zbp", 0, 1, 1, "C:\\open ended.zbp", 0, 0, 0, 0, 0, 0, 0, 0, ""},
    {"- / ,,, \"\"", 0, 1, 0, "", 0, 0, 0, 0, 0, 0, 0, 0, ""},
};

}  // namespace

TEST(NQCommandLineInfoTest, EachLineGivesItsFields) {
  for (const Expected& c : kCases) {
    SCOPED_TRACE(c.line);
    NQCommandLineInfo info(c.line);
    EXPECT_EQ(info.m_bAutomated, c.automated);
    EXPECT_EQ(info.m_bShowSplash, c.splash);
    EXPECT_EQ(info.m_nShellCommand, c.shell);
    EXPECT_EQ(info.m_strFileName, c.file);
    EXPECT_EQ(info.m_bDebug, c.debug);
    EXPECT_EQ(info.m_bTestMode, c.testMode);
    EXPECT_EQ(info.m_bAuto, c.autoRun);
    EXPECT_EQ(info.m_bHide, c.hide);
    EXPECT_EQ(info.m_bCsv, c.csv);
    EXPECT_EQ(info.m_bCsvAppend, c.csvAppend);
    EXPECT_EQ(info.m_bCsvPrevious, c.csvPrevious);
    EXPECT_EQ(info.m_nReports, c.reports);
    EXPECT_EQ(info.m_strCsvPath, c.csvPath);
    EXPECT_TRUE(info.m_debugOptions.empty());
  }
}

TEST(NQCommandLineInfoTest, NullTextGivesTheDefaults) {
  NQCommandLineInfo info(nullptr);
  EXPECT_EQ(info.m_nShellCommand, NQCommandLineInfo::FileNew);
  EXPECT_EQ(info.m_bShowSplash, 1);
}

class DebugOptionsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH], name[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "dbo", 0, name);
    m_path = name;
  }
  void TearDown() override {
    DeleteFileA(m_path.c_str());
    SetCommandLineInfo(nullptr);
  }
  void Write(const std::string& text) {
    FILE* f = fopen(m_path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
  }
  std::string m_path;
};

TEST_F(DebugOptionsFileTest, LinesAreTrimmedCommentsSkippedAndLaterNamesWin) {
  Write(
      "# a comment\r\n"
      "\r\n"
      "   engine  =  Fast Finder  \r\n"
      "=no name\n"
      "directory=C:\\dumps\\\n"
      "searchterms = blue widgets=cheap\n"
      "engine=Second Engine\n"
      "urltofind\n"
      "   # indented comment\n");
  NQCommandLineInfo info(("/debug_opt \"" + m_path + "\" site.zbp").c_str());
  EXPECT_EQ(info.m_bDebug, 1);
  EXPECT_EQ(info.m_bAutomated, 1);
  EXPECT_EQ(info.m_bShowSplash, 0);
  EXPECT_EQ(info.m_strDebugOptionsFile, m_path.c_str());
  EXPECT_EQ(info.m_strFileName, "site.zbp");
  EXPECT_EQ(info.GetDebugOption("engine"), "Second Engine");
  EXPECT_EQ(info.GetDebugOption("directory"), "C:\\dumps\\");
  EXPECT_EQ(info.GetDebugOption("searchterms"), "blue widgets=cheap");
  EXPECT_EQ(info.GetDebugOption("urltofind"), "");
  EXPECT_EQ(info.GetDebugOption("enginefile"), "");
  EXPECT_EQ(info.m_debugOptions.size(), 4u);

  SetCommandLineInfo(new NQCommandLineInfo(("-DEBUG_OPT " + m_path).c_str()));
  EXPECT_EQ(GetEngineField(), "Second Engine");
  EXPECT_EQ(GetDirectoryField(), "C:\\dumps\\");
}

TEST_F(DebugOptionsFileTest, AnOverlongLineIsReadInPiecesWithoutHarm) {
  Write("engine=" + std::string(5000, 'x') + "\ndirectory=d\n");
  NQCommandLineInfo info(("/debug_opt " + m_path).c_str());
  EXPECT_EQ(info.GetDebugOption("directory"), "d");
  EXPECT_LE(info.GetDebugOption("engine").GetLength(), 2048);
}

TEST(NQCommandLineInfoGlobalTest, AMissingOptionsFileGivesNoOptions) {
  NQCommandLineInfo info("/debug_opt C:\\no\\such\\file.txt");
  EXPECT_EQ(info.m_bDebug, 1);
  EXPECT_TRUE(info.m_debugOptions.empty());
  SetCommandLineInfo(nullptr);
  EXPECT_EQ(GetCommandLineInfo(), nullptr);
  EXPECT_EQ(GetEngineField(), "");
}
