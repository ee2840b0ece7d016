// The program's settings: defaults, saving and loading, the single names of the rate and of
// proxy detection, the limits of the worker settings, and the one-time migration.
#include <gtest/gtest.h>

#include "app/services/AppPaths.h"
#include "app/services/AppServices.h"
#include "app/settings/ProxySettings.h"
#include "app/settings/SearchProperties.h"
#include "app/settings/SelectionTemplates.h"
#include "app/settings/SettingsMigration.h"
#include "app/tests/AppRegistryFixture.h"
#include "engines/sets/RankMatcher.h"

namespace {

class SearchPropertiesTest : public AppRegistryFixture {
 protected:
  void TearDown() override {
    SetDisplayDepthSquareSource(nullptr);
    AppRegistryFixture::TearDown();
  }
};

}  // namespace

TEST_F(SearchPropertiesTest, AFreshInstallationGetsTheDefaults) {
  SetDisplayDepthSquareSource([] { return 32 * 32; });
  CSearchProperties p;
  p.Load();
  EXPECT_DOUBLE_EQ(p.m_dThreadKB, 1.2);
  EXPECT_EQ(p.m_nConnectionManagement, 1);
  EXPECT_EQ(p.m_nRestrict, 0);
  EXPECT_EQ(p.m_nExactMatch, 0);
  EXPECT_EQ(p.m_nDumpResults, 1);
  EXPECT_EQ(p.m_nShowTitle, 1);
  EXPECT_EQ(p.m_nMaxResults, 50);
  EXPECT_EQ(p.m_nTimeOut, 60);
  EXPECT_EQ(p.m_nStopSearch, 1);
  EXPECT_EQ(p.m_nIncludeNew, 1);
  EXPECT_EQ(p.m_nMaxThreads, 4);
  EXPECT_EQ(p.m_nUseProxy, 0);
  EXPECT_EQ(p.m_nProxyPort, 80);
  EXPECT_EQ(p.m_nAutoProxy, 0);
  EXPECT_EQ(p.m_strProxyServer, "");
  EXPECT_EQ(p.m_strProxyPassword, "");
  EXPECT_EQ(p.m_strReportsDir, GetReportsFolderPath());
  EXPECT_EQ(p.m_strZubrinPrompt, "Zubrin");
  EXPECT_EQ(p.m_nRemoveLogos, 1);
  EXPECT_EQ(p.m_nBannersOn, 1);
  EXPECT_EQ(p.m_nRemindersOn, 1);
  EXPECT_EQ(p.m_nKeywordAlert, 1);
  EXPECT_EQ(p.m_strKeywordIgnore, ",;+");
  EXPECT_EQ(p.m_nColAutoSave, 1);
  EXPECT_EQ(p.m_strColWidths, "150,50,50,50,50,50,50,50,50,50,50");
  EXPECT_EQ(p.m_colors[CSearchProperties::NormalBk], RGB(255, 251, 240));
  EXPECT_EQ(p.m_colors[CSearchProperties::HighlightBk], RGB(192, 220, 192));
  EXPECT_EQ(p.m_colors[CSearchProperties::MovedUpText], RGB(0, 128, 0));
  EXPECT_EQ(p.m_colors[CSearchProperties::ViewBk], RGB(192, 220, 192));
}

TEST_F(SearchPropertiesTest, ASixteenColourDisplayGetsTheFirstColourSet) {
  SetDisplayDepthSquareSource([] { return 16; });
  CSearchProperties p;
  p.Load();
  for (int i = 0; i < CSearchProperties::ColorCount; ++i) {
    SCOPED_TRACE(CSearchProperties::kColorNames[i]);
    EXPECT_EQ(p.m_colors[i], CSearchProperties::DefaultColor(i, true));
  }
  EXPECT_EQ(p.m_colors[CSearchProperties::HighlightBk], RGB(0, 0, 255));
  EXPECT_EQ(p.m_colors[CSearchProperties::ViewBk], RGB(192, 192, 192));
  EXPECT_EQ(p.m_colors[CSearchProperties::MovedUpText], RGB(0, 255, 0));
}

TEST_F(SearchPropertiesTest, EveryFieldSurvivesSaveAndLoad) {
  CSearchProperties p;
  p.Load();
  p.SetThreadKB(3.5);
  p.m_nConnectionManagement = 0;
  p.m_nRestrict = 2;
  p.m_nExactMatch = 1;
  p.m_nDumpResults = 0;
  p.m_nShowTitle = 0;
  p.m_nMaxResults = 200;
  p.m_nTimeOut = 15;
  p.m_nStopSearch = 0;
  p.m_nIncludeNew = 0;
  p.SetMaxThreads(9);
  p.m_nUseProxy = 1;
  p.m_nProxyPort = 8080;
  p.m_nAutoProxy = 1;
  p.m_strProxyServer = "proxy.example";
  p.m_strProxyUser = "zed";
  p.m_strProxyPassword = "Zig Zag";
  p.m_strReportsDir = "C:\\out";
  p.m_nAppendDate = 1;
  p.m_nUseHeader = 1;
  p.m_strHeaderText = "<b>head</b>";
  p.m_nUseFooter = 1;
  p.m_strFooterText = "foot";
  p.m_strZubrinPrompt = "Go";
  p.m_nRemoveLogos = 0;
  p.m_nHideZeroRankings = 1;
  p.m_nBannersOn = 0;
  p.m_nRemindersOn = 0;
  p.m_nKeywordAlert = 0;
  p.m_strKeywordIgnore = "-";
  for (int i = 0; i < CSearchProperties::ColorCount; ++i) p.m_colors[i] = RGB(i, 2 * i, 3 * i);
  p.m_nColAutoSave = 0;
  p.m_strColWidths = "1,2,3";
  p.Save();

  CString stored;
  ASSERT_TRUE(GetText(kPropertiesKey, "ThreadKB", stored));
  EXPECT_EQ(stored, "3.50");
  ASSERT_TRUE(GetText(kPropertiesKey, "ProxyPassword", stored));
  EXPECT_NE(stored, "Zig Zag");
  ASSERT_TRUE(GetText(kPropertiesKey, "ReportsDir", stored));
  EXPECT_EQ(stored, "C:\\out\\");

  CSearchProperties q;
  q.Load();
  EXPECT_DOUBLE_EQ(q.m_dThreadKB, 3.5);
  EXPECT_EQ(q.m_nConnectionManagement, 0);
  EXPECT_EQ(q.m_nRestrict, 2);
  EXPECT_EQ(q.m_nExactMatch, 1);
  EXPECT_EQ(q.m_nDumpResults, 0);
  EXPECT_EQ(q.m_nShowTitle, 0);
  EXPECT_EQ(q.m_nMaxResults, 200);
  EXPECT_EQ(q.m_nTimeOut, 15);
  EXPECT_EQ(q.m_nStopSearch, 0);
  EXPECT_EQ(q.m_nIncludeNew, 0);
  EXPECT_EQ(q.m_nMaxThreads, 9);
  EXPECT_EQ(q.m_nUseProxy, 1);
  EXPECT_EQ(q.m_nProxyPort, 8080);
  EXPECT_EQ(q.m_nAutoProxy, 1);
  EXPECT_EQ(q.m_strProxyServer, "proxy.example");
  EXPECT_EQ(q.m_strProxyUser, "zed");
  EXPECT_EQ(q.m_strProxyPassword, "Zig Zag");
  EXPECT_EQ(q.m_strReportsDir, "C:\\out\\");
  EXPECT_EQ(q.m_nAppendDate, 1);
  EXPECT_EQ(q.m_nUseHeader, 1);
  EXPECT_EQ(q.m_strHeaderText, "<b>head</b>");
  EXPECT_EQ(q.m_nUseFooter, 1);
  EXPECT_EQ(q.m_strFooterText, "foot");
  EXPECT_EQ(q.m_strZubrinPrompt, "Go");
  EXPECT_EQ(q.m_nRemoveLogos, 0);
  EXPECT_EQ(q.m_nHideZeroRankings, 1);
  EXPECT_EQ(q.m_nBannersOn, 0);
  EXPECT_EQ(q.m_nRemindersOn, 0);
  EXPECT_EQ(q.m_nKeywordAlert, 0);
  EXPECT_EQ(q.m_strKeywordIgnore, "-");
  for (int i = 0; i < CSearchProperties::ColorCount; ++i)
    EXPECT_EQ(q.m_colors[i], RGB(i, 2 * i, 3 * i)) << CSearchProperties::kColorNames[i];
  EXPECT_EQ(q.m_nColAutoSave, 0);
  EXPECT_EQ(q.m_strColWidths, "1,2,3");
  // The matcher follows what was loaded.
  EXPECT_EQ(GetMatchRestrict(), 2);
  EXPECT_TRUE(GetExactMatch());
  EXPECT_EQ(g_bExactMatch, 1);
}

TEST_F(SearchPropertiesTest, TheReportFolderGetsItsBackslashAndAnEmptyOneStaysEmpty) {
  SetText(kPropertiesKey, "ReportsDir", "D:\\reports");
  CSearchProperties p;
  p.Load();
  EXPECT_EQ(p.m_strReportsDir, "D:\\reports\\");
  SetText(kPropertiesKey, "ReportsDir", "");
  p.Load();
  EXPECT_EQ(p.m_strReportsDir, "");
}

TEST_F(SearchPropertiesTest, TheRateIsReadUnderOneNameWithTheOldNameAsFallback) {
  CSearchProperties p;
  SetText(kPropertiesKey, "Bandwidth", "2.50");
  p.Load();
  EXPECT_DOUBLE_EQ(p.m_dThreadKB, 2.5);
  SetText(kPropertiesKey, "ThreadKB", "0.75");
  p.Load();
  EXPECT_DOUBLE_EQ(p.m_dThreadKB, 0.75);
  // What the user sets is what the next start reads.
  p.SetThreadKB(4.0);
  p.Save();
  CSearchProperties q;
  q.Load();
  EXPECT_DOUBLE_EQ(q.m_dThreadKB, 4.0);
}

TEST_F(SearchPropertiesTest, ProxyDetectionIsReadUnderOneNameWithTheOldNameAsFallback) {
  CSearchProperties p;
  SetNumber(kPropertiesKey, "AutoDetect", 1);
  p.Load();
  EXPECT_EQ(p.m_nAutoProxy, 1);
  SetNumber(kPropertiesKey, "AutoProxy", 0);
  p.Load();
  EXPECT_EQ(p.m_nAutoProxy, 0);
  p.m_nAutoProxy = 1;
  p.Save();
  DWORD value = 0;
  ASSERT_TRUE(GetNumber(kPropertiesKey, "AutoProxy", value));
  EXPECT_EQ(value, 1u);
}

TEST_F(SearchPropertiesTest, WorkerCountAndRateAreKeptInRangeWhenReadAndWhenSet) {
  struct Case {
    DWORD stored;
    int expected;
  } threads[] = {{0, 1}, {1, 1}, {64, 64}, {65, 64}, {0xFFFFFFFF, 1}, {1000, 64}};
  CSearchProperties p;
  for (const Case& c : threads) {
    SetNumber(kPropertiesKey, "MaxThreads", c.stored);
    p.Load();
    EXPECT_EQ(p.m_nMaxThreads, c.expected) << c.stored;
  }
  p.SetMaxThreads(-5);
  EXPECT_EQ(p.GetMaxThreads(), 1);
  p.SetMaxThreads(100);
  EXPECT_EQ(p.GetMaxThreads(), 64);

  for (const char* rate : {"0", "-3", "abc", "0.00"}) {
    SetText(kPropertiesKey, "ThreadKB", rate);
    p.Load();
    EXPECT_DOUBLE_EQ(p.m_dThreadKB, 1.2) << rate;
  }
  p.SetThreadKB(0);
  EXPECT_GT(p.GetThreadKB(), 0);
  p.SetThreadKB(-1);
  EXPECT_GT(p.GetThreadKB(), 0);
}

TEST_F(SearchPropertiesTest, APasswordWithZSurvivesTheStore) {
  CSearchProperties p;
  p.m_strProxyPassword = "aZb%Z";
  p.Save();
  CSearchProperties q;
  q.Load();
  EXPECT_EQ(q.m_strProxyPassword, "aZb%Z");
}

namespace {

class MigrationTest : public AppRegistryFixture {
 protected:
  static constexpr const char* kOldProps = "Software\\The Zub House\\Zubrin\\Properties";
  static constexpr const char* kOldTemplates =
      "Software\\The Zub House\\Zubrin\\Properties\\Templates";
};

}  // namespace

TEST_F(MigrationTest, OldValuesAndTemplatesAreCopiedOnce) {
  SetText(kOldProps, "ReportsDir", "E:\\old reports");
  SetText(kOldProps, "ProxyServer", "old.proxy");
  SetText(kOldProps, "ViewBk", "1,2,3");
  SetNumber(kOldProps, "MaxResults", 30);
  SetNumber(kOldProps, "AutoDetect", 1);
  SetNumber(kOldProps, "AppendDate", 1);
  SetText(kOldProps, "NotCopied", "x");
  SetText(kPropertiesKey, "HeaderText", "kept");
  SetNumber(kOldTemplates, "Count", 3);
  SetText((CString(kOldTemplates) + "\\Template0").GetString(), "Name", "Big");
  SetText((CString(kOldTemplates) + "\\Template0").GetString(), "Engines", "A,B");
  // Template1 is missing; Template2 is there.
  SetText((CString(kOldTemplates) + "\\Template2").GetString(), "Name", "Small");
  SetText((CString(kOldTemplates) + "\\Template2").GetString(), "Engines", "C");

  std::vector<MigratedTemplate> got;
  int calls = 0;
  auto sink = [&](const std::vector<MigratedTemplate>& t) {
    got = t;
    ++calls;
  };
  EXPECT_TRUE(MigrateSettings(sink));
  ASSERT_EQ(calls, 1);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].name, "Big");
  EXPECT_EQ(got[0].engines, "A,B");
  EXPECT_EQ(got[1].name, "Small");

  CSearchProperties p;
  p.Load();
  EXPECT_EQ(p.m_strReportsDir, "E:\\old reports\\");
  EXPECT_EQ(p.m_strProxyServer, "old.proxy");
  EXPECT_EQ(p.m_colors[CSearchProperties::ViewBk], RGB(1, 2, 3));
  EXPECT_EQ(p.m_nMaxResults, 30);
  EXPECT_EQ(p.m_nAutoProxy, 1);
  EXPECT_EQ(p.m_nAppendDate, 1);
  EXPECT_EQ(p.m_strHeaderText, "kept");
  CString value;
  EXPECT_FALSE(GetText(kPropertiesKey, "NotCopied", value));
  DWORD done = 0;
  ASSERT_TRUE(GetNumber(kProgramKey, "RegCvt", done));
  EXPECT_EQ(done, 1u);

  // A second start leaves everything alone, though the old key is still there.
  SetText(kOldProps, "ProxyServer", "changed.proxy");
  EXPECT_FALSE(MigrateSettings(sink));
  EXPECT_EQ(calls, 1);
  ASSERT_TRUE(GetText(kPropertiesKey, "ProxyServer", value));
  EXPECT_EQ(value, "old.proxy");
}

// Old values longer than any fixed buffer: a long engine list of a template and long report
// texts must arrive whole, not be dropped.
TEST_F(MigrationTest, LongTextsArriveWhole) {
  auto text = [](size_t length, char fill) {
    std::string s;
    for (size_t i = 0; s.size() < length; ++i)
      s += (i % 10 == 9) ? ',' : static_cast<char>(fill + i % 7);
    s.resize(length);
    return s;
  };
  struct Case {
    const char* name;
    std::string value;
  } cases[] = {
      {"HeaderText", text(5200, 'a')},      // a report header of several paragraphs
      {"FooterText", text(4096, 'h')},      // just at the old buffer's size
      {"ProxyServer", text(4097, 'p')},     // one byte beyond it
      {"KeywordIgnore", text(70000, 'k')},  // far beyond anything typed by hand
      {"ProxyUser", ""},
  };
  for (const Case& c : cases) SetText(kOldProps, c.name, c.value.c_str());
  std::string engines = text(4949, 'A');
  SetNumber(kOldTemplates, "Count", 1);
  SetText((CString(kOldTemplates) + "\\Template0").GetString(), "Name", "Old and long");
  SetText((CString(kOldTemplates) + "\\Template0").GetString(), "Engines", engines.c_str());

  std::vector<MigratedTemplate> got;
  EXPECT_TRUE(MigrateSettings([&](const std::vector<MigratedTemplate>& t) { got = t; }));
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].name, "Old and long");
  // Compared whole but reported by length: a failure should not print thousands of characters.
  auto whole = [](const CString& value, const std::string& expected) {
    return std::string(value.GetString(), value.GetLength()) == expected;
  };
  EXPECT_TRUE(whole(got[0].engines, engines)) << got[0].engines.GetLength() << " characters";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CString value;
    ASSERT_TRUE(GetText(kPropertiesKey, c.name, value));
    EXPECT_TRUE(whole(value, c.value)) << value.GetLength() << " characters";
  }
  CSearchProperties p;
  p.Load();
  EXPECT_EQ(p.m_strHeaderText.GetLength(), 5200);
}

TEST_F(MigrationTest, OldTemplatesGoIntoTheTemplatesFile) {
  SetNumber(kOldTemplates, "Count", 1);
  SetText((CString(kOldTemplates) + "\\Template0").GetString(), "Name", "Mine");
  SetText((CString(kOldTemplates) + "\\Template0").GetString(), "Engines",
          "Beta, Alpha\r\nGamma,,");
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string path = std::string(temp) + "zbmigrated-templates.dat";
  NQSelectionTemplates templates;
  templates.Add("Existing", {"Delta"});
  EXPECT_TRUE(MigrateSettings(SaveMigratedTemplatesTo(templates, path)));

  NQSelectionTemplates saved;
  ASSERT_TRUE(saved.Load(path));
  EXPECT_EQ(saved.Templates(), templates.Templates());
  ASSERT_NE(saved.Find("Mine"), nullptr);
  EXPECT_EQ(*saved.Find("Mine"), (NQSelectionTemplates::EngineNames{"Alpha", "Beta", "Gamma"}));
  EXPECT_NE(saved.Find("Existing"), nullptr);
  DeleteFileA(path.c_str());
  DeleteFileA((path + ".bak").c_str());
}

TEST_F(MigrationTest, WithoutAnOldRootOnlyTheMarkIsSet) {
  int calls = 0;
  EXPECT_TRUE(MigrateSettings([&](const std::vector<MigratedTemplate>&) { ++calls; }));
  EXPECT_EQ(calls, 0);
  DWORD done = 0;
  ASSERT_TRUE(GetNumber(kProgramKey, "RegCvt", done));
  EXPECT_EQ(done, 1u);
  EXPECT_FALSE(MigrateSettings(nullptr));
}
