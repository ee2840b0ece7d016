#include "reports/EngineReports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program/NQCommandLineInfo.h"
#include "app/settings/SearchProperties.h"
#include "framework/app/MessageBox.h"
#include "engines/sets/RankMatcher.h"
#include "foundation/core/Date.h"
#include "reports/EngineRows.h"
#include "reports/ReportCommands.h"
#include "reports/tests/ReportFixture.h"

using namespace reporttest;

namespace {

std::vector<std::string> g_log;
void RecordLog(const char* line) {
  g_log.push_back(line);
}

class EngineReportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GetSearchProperties() = CSearchProperties();
    g_log.clear();
    SetReportLog(RecordLog);
    ResetReportFailures();
  }
  void TearDown() override {
    SetReportLog(nullptr);
    SetEngineRowSource(nullptr);
    GetSearchProperties() = CSearchProperties();
  }
  ScratchRegistry registry_;
};

// Only the file name is cleaned, of every character a file name cannot hold.
TEST_F(EngineReportsTest, FileNamesLoseWhatNoFileNameHolds) {
  struct NameCase {
    const char* name;
    const char* clean;
  };
  const NameCase cases[] = {
      {"Big Engine_Detail.htm", "Big Engine_Detail.htm"},
      {"Who?Me!_Detail.htm", "WhoMe_Detail.htm"},
      {"a/b\\c:d*e\"f<g>h|i_Detail.htm", "abcdefghi_Detail.htm"},
      {"tab\there\x01_Detail.htm", "tabhere_Detail.htm"},
      {"O'Neil_Detail.htm", "ONeil_Detail.htm"},
      {"Caf\xe9 \xd6sterreich_Detail.htm", "Caf sterreich_Detail.htm"},
  };
  for (const NameCase& c : cases)
    EXPECT_STREQ(CEngineReports::CleanFileName(c.name).GetString(), c.clean) << c.name;
  EXPECT_STREQ(CEngineReports::MakeReportFileName("Big Engine", "_Detail").GetString(),
               "BigEngine_Detail.htm");
  GetSearchProperties().m_nAppendDate = 1;
  std::string dated = CEngineReports::MakeReportFileName("Summary", "").GetString();
  EXPECT_EQ(dated.size(), std::string("Summary20261209.htm").size());
  EXPECT_EQ(dated.substr(0, 7), "Summary");
}

// Folders the user chose keep their quotes, accents and "!"; a hostile engine name cannot
// lead the file elsewhere.
TEST_F(EngineReportsTest, FoldersStayAsChosen) {
  FixtureDocument fixture;
  const std::string folder = fixture.Folder().Path() + "It's \xe9t\xe9 (ok)!\\";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  fixture.Doc().m_reportsDir = folder.c_str();
  CEngineReports reports(&fixture.Doc());
  CString path;
  reports.WriteDetailReport(Engine(fixture.First(), FixtureDocument::kBeta), path);
  EXPECT_STREQ(path.GetString(), (folder + "Betai&Co_Detail.htm").c_str());
  EXPECT_FALSE(ReadFile(path.GetString()).empty());
  DeleteFileA(path.GetString());
  RemoveDirectoryA(folder.c_str());
}

TEST_F(EngineReportsTest, ReportFolderFallsBack) {
  FixtureDocument fixture;
  CEngineReports reports(&fixture.Doc());
  EXPECT_STREQ(reports.GetReportFolder().GetString(), fixture.ReportsFolder().c_str());
  // Without the trailing backslash it is added.
  std::string noSlash = fixture.ReportsFolder();
  noSlash.pop_back();
  fixture.Doc().m_reportsDir = noSlash.c_str();
  EXPECT_STREQ(reports.GetReportFolder().GetString(), fixture.ReportsFolder().c_str());
  // A missing document folder gives way to the setting, a missing setting to the program's.
  fixture.Doc().m_reportsDir = (fixture.Folder().Path() + "missing").c_str();
  GetSearchProperties().m_strReportsDir = fixture.Folder().Path().c_str();
  EXPECT_STREQ(reports.GetReportFolder().GetString(), fixture.Folder().Path().c_str());
  GetSearchProperties().m_strReportsDir = (fixture.Folder().Path() + "gone").c_str();
  std::string own = reports.GetReportFolder().GetString();
  EXPECT_EQ(own.substr(own.size() - 8), "reports\\");
}

// A report that cannot be written gives no path, is logged and counted, and the older file of
// the same name stays as it was: nobody opens or mails it as the new one.
TEST_F(EngineReportsTest, UnwritableReportGivesNoPath) {
  FixtureDocument fixture;
  const std::string old = fixture.ReportsFolder() + "Summary.htm";
  WriteFile(old, "old report");
  // Held open without sharing, the file cannot be replaced.
  HANDLE lock = CreateFileA(old.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  CEngineReports reports(&fixture.Doc());
  CString path = "stale";
  EXPECT_TRUE(reports.WriteSummaryReport(path).IsEmpty());
  EXPECT_TRUE(path.IsEmpty());
  EXPECT_FALSE(AllReportsWritten());
  ASSERT_EQ(g_log.size(), 1u);
  EXPECT_NE(g_log[0].find("Summary.htm"), std::string::npos);
  // The caller neither opens nor mails anything.
  static int opened = 0;
  SetReportOpener([](const char*) { return ++opened > 0; });
  EXPECT_FALSE(RunReportCommand(ReportKind::Summary, ReportAction::View, nullptr, &fixture.Doc()));
  EXPECT_EQ(opened, 0);
  SetReportOpener(nullptr);
  CloseHandle(lock);
  EXPECT_EQ(ReadFile(old), "old report");
  EXPECT_EQ(GetFileAttributesA((old + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
  // Written again once the file is free.
  ResetReportFailures();
  EXPECT_FALSE(reports.WriteSummaryReport(path).IsEmpty());
  EXPECT_TRUE(AllReportsWritten());
}

// The caller tells of a report it could not write: a box when interactive; in an automated run
// only the report log, and the run's outcome shows it.
TEST_F(EngineReportsTest, FailedReportIsTold) {
  static std::vector<std::string> boxes;
  boxes.clear();
  FixtureDocument fixture;
  AfxSetMessageBoxHandler([](LPCSTR text, UINT) {
    boxes.push_back(text);
    return IDOK;
  });
  const std::string old = fixture.ReportsFolder() + "Keyword.htm";
  WriteFile(old, "old");
  HANDLE lock = CreateFileA(old.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_FALSE(RunReportCommand(ReportKind::Keyword, ReportAction::View, nullptr, &fixture.Doc()));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("could not be written"), std::string::npos);
  SetCommandLineInfo(new NQCommandLineInfo("/r3"));
  boxes.clear();
  g_log.clear();
  ResetReportFailures();
  EXPECT_FALSE(RunAutomatedReports(&fixture.Doc()));
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(g_log.size(), 1u);
  EXPECT_FALSE(AllReportsWritten());
  CloseHandle(lock);
  SetCommandLineInfo(nullptr);
  AfxSetMessageBoxHandler(nullptr);
}

// The unattended Detail report is of the debug option's engine, else of the engine the engine
// list has selected; with neither it is not written, and the run says so.
TEST_F(EngineReportsTest, TheUnattendedDetailReportIsOfTheSelectedEngine) {
  FixtureDocument fixture;
  SetCommandLineInfo(new NQCommandLineInfo("/auto /r1"));
  g_log.clear();
  ResetReportFailures();
  EXPECT_FALSE(RunAutomatedReports(&fixture.Doc())) << "no engine selected, none named";
  EXPECT_EQ(g_log.size(), 1u);

  SetSelectedEngineSource([](CZubrinDoc& doc) -> CSearchEngine* {
    const CEngineSet* set = doc.m_currentSet ? doc.m_currentSet : doc.m_manager.GetFirstSet();
    return set && !set->GetEngines().empty() ? set->GetEngines().begin()->second : nullptr;
  });
  g_log.clear();
  ResetReportFailures();
  EXPECT_TRUE(RunAutomatedReports(&fixture.Doc()));
  EXPECT_TRUE(g_log.empty());
  SetSelectedEngineSource(nullptr);
  SetCommandLineInfo(nullptr);
}

// The engine rows come through the seam, in its order; rows of unknown engines are skipped.
TEST_F(EngineReportsTest, EngineRowsFollowTheView) {
  FixtureDocument fixture;
  SetEngineRowSource([](const CZubrinDoc&) {
    return std::vector<CLibString>{"Gamma", "Nobody", "Alpha"};
  });
  CEngineReports reports(&fixture.Doc());
  CString path;
  reports.WriteSummaryReport(path);
  std::string page = ReadFile(path.GetString());
  size_t gamma = page.find(">Gamma<"), alpha = page.find(">Alpha<");
  ASSERT_NE(gamma, std::string::npos);
  ASSERT_NE(alpha, std::string::npos);
  EXPECT_LT(gamma, alpha);
  EXPECT_EQ(page.find("Beta"), std::string::npos);
}

// The reports match against single addresses of the site; that must not change the document's
// results (with dump-results on, matching empties the text of every result that misses).
TEST_F(EngineReportsTest, ReportsLeaveResultsAsTheyWere) {
  FixtureDocument fixture;
  fixture.Doc().m_siteUrl = "other.example mysite.com";
  SetDumpResults(true);
  CSearchEngine* alpha = Engine(fixture.First(), "Alpha");
  std::vector<std::string> before;
  std::vector<uint32_t> flags;
  for (CListNode* n = alpha->m_results.Head(); n; n = n->Next()) {
    before.push_back(static_cast<CSearchResult*>(n->Payload())->m_text.c_str());
    flags.push_back(static_cast<CSearchResult*>(n->Payload())->m_matched);
  }
  CEngineReports reports(&fixture.Doc());
  CString path;
  reports.WriteUrlSummaryReport(path);
  reports.WriteKeywordStatReport(path);
  GetSearchProperties().m_nHideZeroRankings = 1;
  reports.WriteSummaryReport(path);
  size_t i = 0;
  for (CListNode* n = alpha->m_results.Head(); n; n = n->Next(), ++i) {
    EXPECT_EQ(before[i], static_cast<CSearchResult*>(n->Payload())->m_text.c_str());
    EXPECT_EQ(flags[i], static_cast<CSearchResult*>(n->Payload())->m_matched);
  }
  SetDumpResults(false);
}

// Submission counts over all sets for the engine cache.
TEST_F(EngineReportsTest, SubmissionCountsOverSets) {
  FixtureDocument fixture;
  CSearchEngine* beta2 = Engine(fixture.Second(), FixtureDocument::kBeta);
  beta2->m_submitCount = 3;
  beta2->m_lastSubmitDate = beta2->m_lastVisitDate = CDate::DayNumber(12, 5, 2026);
  CSearchEngine* gamma2 = Engine(fixture.Second(), "Gamma");
  gamma2->m_submitCount = -4;  // damaged counts are left out
  gamma2->m_lastSubmitDate = CDate::DayNumber(12, 6, 2026);  // no mark: not counted
  CEngineReports reports(&fixture.Doc());
  CSearchEngine* beta = Engine(fixture.First(), FixtureDocument::kBeta);
  EXPECT_EQ(reports.GetTotalSubmissions(beta), 5);
  EXPECT_EQ(reports.GetLatestSubmissionDate(beta), CDate::DayNumber(12, 5, 2026));
  CSearchEngine* gamma = Engine(fixture.First(), "Gamma");
  EXPECT_EQ(reports.GetTotalSubmissions(gamma), 0);
  EXPECT_EQ(reports.GetLatestSubmissionDate(gamma), 0);
}

}  // namespace
