// Every report kind over the fixture document, compared as text with its golden page in
// reports/tests/golden/. The goldens were checked by hand once. To write them anew after a
// wanted change, run the test with ZB_REGENERATE_GOLDEN=1 in the environment, e.g.
//   (cd build/win && ZB_REGENERATE_GOLDEN=1 ctest -R reports_tests)
// and look at the difference with git diff before committing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

#include "app/settings/SearchProperties.h"
#include "engines/db/SearchEngine.h"
#include "engines/db/SearchResult.h"
#include "reports/EngineReports.h"
#include "reports/Report.h"
#include "reports/SummaryReport.h"
#include "reports/tests/ReportFixture.h"

using namespace reporttest;

namespace {

std::string GoldenPath(const std::string& name) {
  return std::string(ZB_GOLDEN_DIR) + "/" + name;
}

bool Regenerating() {
  const char* flag = getenv("ZB_REGENERATE_GOLDEN");
  return flag && *flag == '1';
}

struct KindCase {
  const char* golden;
  std::function<CString(CEngineReports&, FixtureDocument&, CString&)> write;
};

class ReportKinds : public ::testing::Test {
 protected:
  void SetUp() override {
    registry_.SetProperty("ZubrinText", "0,0,128");
    registry_.SetProperty("ZubrinBk", "204,255,204");
    registry_.SetProperty("MovedUpText", "0,128,0");
    registry_.SetProperty("MovedUpBk", "230,255,230");
    // Moved-down colours left out: the default pair stands in.
    GetSearchProperties() = CSearchProperties();
  }
  ScratchRegistry registry_;
};

const KindCase kKinds[] = {
    {"detail.htm",
     [](CEngineReports& r, FixtureDocument& f, CString& p) {
       return r.WriteDetailReport(Engine(f.First(), "Alpha"), p);
     }},
    {"results.htm",
     [](CEngineReports& r, FixtureDocument& f, CString& p) {
       return r.WriteResultsReport(Engine(f.First(), "Alpha"), p);
     }},
    {"summary.htm", [](CEngineReports& r, FixtureDocument&, CString& p) { return r.WriteSummaryReport(p); }},
    {"keyword.htm", [](CEngineReports& r, FixtureDocument&, CString& p) { return r.WriteKeywordReport(p); }},
    {"keywordstat.htm",
     [](CEngineReports& r, FixtureDocument&, CString& p) { return r.WriteKeywordStatReport(p); }},
    {"urlsummary.htm",
     [](CEngineReports& r, FixtureDocument&, CString& p) { return r.WriteUrlSummaryReport(p); }},
    {"competitor.htm",
     [](CEngineReports& r, FixtureDocument&, CString& p) { return r.WriteCompetitorReport(p); }},
    {"submittal.htm",
     [](CEngineReports& r, FixtureDocument&, CString& p) { return r.WriteSubmittalReport(p); }},
};

TEST_F(ReportKinds, MatchGoldenPages) {
  for (const KindCase& kind : kKinds) {
    FixtureDocument fixture;
    CEngineReports reports(&fixture.Doc());
    CString path;
    CString returned = kind.write(reports, fixture, path);
    ASSERT_FALSE(returned.IsEmpty()) << kind.golden;
    EXPECT_EQ(path, returned);
    EXPECT_EQ(std::string(path).rfind(fixture.ReportsFolder(), 0), 0u) << path.GetString();
    std::string page = ReadFile(path.GetString());
    if (Regenerating()) {
      WriteFile(GoldenPath(kind.golden), page);
      continue;
    }
    std::string golden = ReadFile(GoldenPath(kind.golden));
    ASSERT_FALSE(golden.empty()) << "missing golden " << kind.golden;
    EXPECT_EQ(page, golden) << kind.golden;
  }
}

// A document read from its file keeps the results' match flags but not the addresses they
// matched: its reports must still be those of the run, the Competitor's matched addresses too.
TEST_F(ReportKinds, ReadDocumentsWithoutMatchedAddressesGiveTheSamePages) {
  for (const KindCase& kind : kKinds) {
    FixtureDocument fixture;
    for (CEngineSet* set : {fixture.First(), fixture.Second()})
      for (const auto& entry : set->GetEngines())
        for (CListNode* node = entry.second->m_results.Head(); node; node = node->Next())
          static_cast<CSearchResult*>(node->Payload())->m_matchedText = CLibString();
    CEngineReports reports(&fixture.Doc());
    CString path;
    ASSERT_FALSE(kind.write(reports, fixture, path).IsEmpty()) << kind.golden;
    EXPECT_EQ(ReadFile(path.GetString()), ReadFile(GoldenPath(kind.golden))) << kind.golden;
  }
}

// Nothing taken from result pages, engine data or the user can run script or break the page:
// every page is free of script, event attributes, script links and raw hostile names.
TEST_F(ReportKinds, HostileTextNeverRunsOrBreaksOut) {
  const char* const forbidden[] = {"<script", "<SCRIPT", "onerror", "onload", "javascript:",
                                   "<i>&\"Co\"", "<gadgets>"};
  for (const KindCase& kind : kKinds) {
    FixtureDocument fixture;
    CEngineReports reports(&fixture.Doc());
    CString path;
    ASSERT_FALSE(kind.write(reports, fixture, path).IsEmpty());
    std::string page = ReadFile(path.GetString());
    for (const char* text : forbidden)
      EXPECT_EQ(page.find(text), std::string::npos) << kind.golden << " holds " << text;
  }
}

// The header's site line and search term come from the document and the set, even when the
// engines hold no site or term of their own (an engine new in the database has none).
TEST_F(ReportKinds, CommonHeaderTakesSiteAndTermFromDocument) {
  FixtureDocument fixture;
  CEngineReports reports(&fixture.Doc());
  CString path;
  reports.WriteSummaryReport(path);
  std::string page = ReadFile(path.GetString());
  EXPECT_NE(page.find("<A HREF=\"http://mysite.com\"><B>mysite.com</B></A>"), std::string::npos);
  EXPECT_NE(page.find("<B>widgets</B>"), std::string::npos);
  EXPECT_NE(page.find("<B>blue widgets</B>"), std::string::npos);
  EXPECT_NE(page.find("<B>red &lt;gadgets&gt; &amp; &quot;more&quot;</B>"), std::string::npos);
}

// Only the engine named exactly "Alta Vista" with a reported total gets the grading line.
TEST_F(ReportKinds, TotalMatchGrading) {
  UseLanguageModule();
  struct GradeCase {
    const char* name;
    int total;
    const char* text;  // a word of the line, or null for none
  };
  const GradeCase cases[] = {
      {"Alta Vista", 0, nullptr},          {"Alta Vista", 4999, "Few pages"},
      {"Alta Vista", 5000, "Some thousands"}, {"Alta Vista", 24999, "Some thousands"},
      {"Alta Vista", 25000, "Many pages"},  {"Alta Vista", 250000, "A great many"},
      {"alta vista", 250000, nullptr},      {"Other", 250000, nullptr},
  };
  CNVList info;
  for (const GradeCase& c : cases) {
    CSearchEngine engine;
    engine.m_name = c.name;
    engine.m_totalHits = c.total;
    CSummaryReport report(info);
    report.AddEngine(&engine);
    std::ostringstream page;
    report.Finish().Write(page);
    const std::string text = page.str();
    for (const char* grade : {"Few pages", "Some thousands", "Many pages", "A great many"}) {
      const bool wanted = c.text && std::string(c.text) == grade;
      EXPECT_EQ(text.find(grade) != std::string::npos, wanted) << c.name << " " << c.total;
    }
  }
}

// The rank-change rule: the text, the change and which colour pair a row takes.
TEST_F(ReportKinds, RankChangeTextAndColours) {
  struct RankCase {
    int rank, previous;
    const char* text;
    uint32_t ink, paper;
  };
  const RankCase cases[] = {
      {3, 5, "3 (+2)", 0x008000, 0xE6FFE6},   // moved up: the set pair
      {5, 3, "5 (-2)", 0xFF0000, 0xFFFFFF},   // moved down: both missing, the default pair
      {0, 4, "0 (-4)", 0xFF0000, 0xFFFFFF},   // dropped out
      {7, 0, "7 (+7)", 0x008000, 0xE6FFE6},   // listed again
      {6, 6, "6", 0, 0xFFFFFF},               // no change: no ink on white
      {4, -1, "4", 0, 0xFFFFFF},              // no previous rank
      {1, 1, "1", 0x000080, 0xCCFFCC},        // first place: always the site's pair
      {1, -1, "1", 0x000080, 0xCCFFCC},
  };
  const reportrows::RankPalette palette = reportrows::ReadRankPalette();
  for (const RankCase& c : cases) {
    reportrows::RankColours colours = reportrows::RankChange(c.rank, c.previous, palette);
    EXPECT_STREQ(colours.text.c_str(), c.text) << c.rank << " from " << c.previous;
    EXPECT_EQ(colours.ink, c.ink) << c.rank << " from " << c.previous;
    EXPECT_EQ(colours.paper, c.paper) << c.rank << " from " << c.previous;
  }
  // Equal colours of a pair count as missing.
  registry_.SetProperty("MovedUpText", "1,2,3");
  registry_.SetProperty("MovedUpBk", "1,2,3");
  reportrows::RankColours up = reportrows::RankChange(2, 9, reportrows::ReadRankPalette());
  EXPECT_EQ(up.ink, 0x00FF00u);
  EXPECT_EQ(up.paper, 0xFFFFFFu);
}

// With HideZeroRankings, engines that do not list the site leave Summary, Keyword and
// Competitor, but KeywordStat and URL Summary still count them as not listed.
TEST_F(ReportKinds, HideZeroRankings) {
  GetSearchProperties().m_nHideZeroRankings = 1;
  FixtureDocument fixture;
  CEngineReports reports(&fixture.Doc());
  CString path;
  const std::string betaName = "Beta &lt;i&gt;&amp;&quot;Co&quot;";
  reports.WriteSummaryReport(path);
  EXPECT_EQ(ReadFile(path.GetString()).find(betaName), std::string::npos);
  reports.WriteKeywordReport(path);
  EXPECT_EQ(ReadFile(path.GetString()).find(betaName), std::string::npos);
  reports.WriteCompetitorReport(path);
  EXPECT_EQ(ReadFile(path.GetString()).find(betaName), std::string::npos);
  // Set 1: Alpha and Gamma list the site, Beta does not.
  reports.WriteKeywordStatReport(path);
  std::string stat = ReadFile(path.GetString());
  EXPECT_NE(stat.find("blue widgets</FONT></TD>"), std::string::npos);
  reports.WriteUrlSummaryReport(path);
  EXPECT_NE(ReadFile(path.GetString()).find("mysite.com"), std::string::npos);
  GetSearchProperties().m_nHideZeroRankings = 0;
}

// Summary over several sets: the user's header once at the top, the footer once at the end,
// a rule between the sets.
TEST_F(ReportKinds, SummaryHeaderAndFooterOnce) {
  GetSearchProperties().m_nUseHeader = 1;
  GetSearchProperties().m_strHeaderText = "<div id=userhead>H</div>";
  GetSearchProperties().m_nUseFooter = 1;
  GetSearchProperties().m_strFooterText = "<div id=userfoot>F</div>";
  FixtureDocument fixture;
  fixture.Doc().m_manager.AddSet(new CEngineSet(&fixture.Doc().m_database, 1, "third"));
  CEngineReports reports(&fixture.Doc());
  CString path;
  reports.WriteSummaryReport(path);
  std::string page = ReadFile(path.GetString());
  auto count = [&](const std::string& text) {
    int n = 0;
    for (size_t at = page.find(text); at != std::string::npos; at = page.find(text, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("userhead"), 1);
  EXPECT_EQ(count("userfoot"), 1);
  EXPECT_LT(page.find("userhead"), page.find("blue widgets"));
  EXPECT_GT(page.find("userfoot"), page.find("third"));
  EXPECT_EQ(count("<HR>"), 2);
  GetSearchProperties() = CSearchProperties();
}

}  // namespace
