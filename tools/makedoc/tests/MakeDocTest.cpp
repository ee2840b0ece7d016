#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/document/ZubrinDoc.h"
#include "engines/db/EngineList.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "tests/fakeengine/EngineFixtures.h"
#include "tests/fakeengine/FakeSearchEngine.h"
#include "tests/fakeengine/server/DemoScenario.h"
#include "tests/support/TempFolder.h"
#include "tools/makedoc/BenchEngines.h"
#include "tools/makedoc/DemoData.h"
#include "tools/makedoc/DemoDocument.h"

using zbdemo::DemoData;

namespace {

const char kSmallDemo[] =
    "# comment\n"
    "site = http://www.example.com/\n"
    "\n"
    "term=first term\r\n"
    "term=second term\n"
    "engine=Alpha Search|alpha|3  12|45|10\n"
    "engine= Gamma Index | gamma | 0 | 30 | 10 \n";

std::string FixtureDemoPath() {
  // The demo data sits beside the engine fixtures in the source tree.
  std::string source = std::string(ZB_SOURCE_DIR);
  if (!source.empty() && source[0] == '/') source = "Z:" + source;
  return source + "/tests/fixtures/demo/demo.txt";
}

TEST(DemoDataTest, ReadsSiteTermsAndEnginesTrimmed) {
  DemoData data;
  std::string error;
  ASSERT_TRUE(zbdemo::ParseDemoData(kSmallDemo, data, error)) << error;
  EXPECT_EQ(data.site, "http://www.example.com/");
  EXPECT_EQ(data.terms, (std::vector<std::string>{"first term", "second term"}));
  ASSERT_EQ(data.engines.size(), 2u);
  EXPECT_EQ(data.engines[1].name, "Gamma Index");
  EXPECT_EQ(data.engines[1].path, "gamma");
  EXPECT_EQ(data.engines[1].ranks, std::vector<int>{0});
  EXPECT_EQ(data.engines[1].totalResults, 30);
  EXPECT_EQ(data.engines[0].ranks, (std::vector<int>{3, 12}));
  // One rank per term, or one rank for every term.
  EXPECT_EQ(data.engines[0].Rank(1), 12);
  EXPECT_EQ(data.engines[1].Rank(1), 0);
  EXPECT_EQ(data.engines[0].perPage, 10);
}

// A mistake in the data must stop the demo with the line that holds it, not serve or write
// something else than the file says.
TEST(DemoDataTest, RefusesBadDataNamingTheLine) {
  const std::string good = "site=http://a.example/\nterm=t\n";
  struct Case {
    std::string text;
    std::string error;
  } cases[] = {
      {good + "engine=A|a|3|45\n", "line 3 needs name"},
      {good + "engine=A|a|46|45|10\n", "line 3 has a rank"},
      {good + "engine=A|a|-1|45|10\n", "line 3 has a rank"},
      {good + "engine=A|a|x|45|10\n", "line 3 has a rank"},
      {good + "engine=A|a||45|10\n", "line 3 has a rank"},
      {good + "engine=A|a|1 46|45|10\n", "line 3 has a rank"},
      {good + "engine=A|a|1 2|45|10\n", "line 3 has 2 ranks for 1 search terms"},
      {good + "engine=A|a|1|45|10\nterm=u\n", "line 4 gives a search term after the engines"},
      {good + "engine=A|a|1|0|10\n", "line 3 has a bad number of results"},
      {good + "engine=A|a|1|45|0\n", "line 3 has a bad number per page"},
      {good + "engine=|a|1|45|10\n", "line 3 has an empty name"},
      {good + "engine=A|a|1|45|10\nengine=A|b|1|45|10\n", "line 4 repeats"},
      {good + "engine=A|a|1|45|10\nengine=B|a|1|45|10\n", "line 4 repeats"},
      {good + "colour=blue\n", "line 3 has an unknown name \"colour\""},
      {good + "just words\n", "line 3 is not name=value"},
      {good + "site=http://b.example/\n", "line 3 gives a second site"},
      {good + "term=\n", "line 3 has an empty search term"},
      {"term=t\nengine=A|a|1|45|10\n", "no site"},
      {"site=http://a.example/\nengine=A|a|1|45|10\n", "no search term"},
      {good, "no engine"},
  };
  for (const Case& c : cases) {
    DemoData data;
    std::string error;
    EXPECT_FALSE(zbdemo::ParseDemoData(c.text, data, error)) << c.text;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << "got \"" << error << "\" for\n" << c.text;
  }
  DemoData data;
  std::string error;
  EXPECT_FALSE(zbdemo::ReadDemoData("Z:\\no\\such\\demo.txt", data, error));
  EXPECT_NE(error.find("cannot read"), std::string::npos);
}

// The checked-in demo must show what it is for: for every term the site found on the first
// page, found further on, and absent, with ranks of the term's own (equal ranks for every term
// would hide a report that shows one term's ranks for another); and each engine's path must be
// the one its definition asks.
TEST(DemoDataTest, CheckedInDemoShowsEveryCaseOnRealFixtureEngines) {
  DemoData data;
  std::string error;
  ASSERT_TRUE(zbdemo::ReadDemoData(FixtureDemoPath(), data, error)) << error;
  ASSERT_EQ(data.terms.size(), 3u);
  std::set<std::vector<int>> rankLists;
  for (size_t term = 0; term < data.terms.size(); ++term) {
    SCOPED_TRACE(data.terms[term]);
    std::set<int> pages;
    int absent = 0;
    std::vector<int> ranks;
    for (const zbdemo::DemoEngine& engine : data.engines) {
      int rank = engine.Rank(term);
      ranks.push_back(rank);
      if (rank == 0) ++absent;
      else pages.insert((rank - 1) / engine.perPage);
    }
    EXPECT_GE(absent, 1);
    EXPECT_GE(pages.size(), 2u) << "the site should stand on different pages";
    EXPECT_TRUE(pages.count(0));
    rankLists.insert(ranks);
  }
  EXPECT_EQ(rankLists.size(), data.terms.size()) << "two terms have the same ranks";
  std::string engines = zbtest::ReadFixture("engines.src.dat");
  for (const zbdemo::DemoEngine& engine : data.engines) {
    size_t section = engines.find("\n[" + engine.name + "]\n");
    ASSERT_NE(section, std::string::npos) << engine.name;
    size_t next = engines.find("\n[", section + 1);
    EXPECT_NE(engines.substr(section, next - section).find("/" + engine.path + "/"),
              std::string::npos)
        << engine.name << " is not served under /" << engine.path << "/";
  }
}

TEST(DemoScenarioTest, EachEngineServesTheSiteAtItsRankAndOthersNever) {
  DemoData data;
  std::string error;
  ASSERT_TRUE(zbdemo::ParseDemoData(std::string(kSmallDemo) + "engine=Delta Web|delta|40|40|10\n",
                                    data, error));
  zbtest::FakeSearchEngine fake;
  zbtest::ApplyDemoScenario(fake, data);
  struct Case {
    const char* path;
    int rank;  // 0: absent
    size_t results;
  } cases[] = {
      {"alpha", 3, 45},
      {"gamma", 0, 30},
      {"delta", 40, 40},  // the last result
      {"kappa", 0, 45},   // not in the demo: the site is absent
  };
  for (const Case& c : cases) {
    std::vector<std::string> urls = fake.ResultUrls(c.path);
    EXPECT_EQ(urls.size(), c.results) << c.path;
    auto found = std::find(urls.begin(), urls.end(), data.site);
    int rank = found == urls.end() ? 0 : static_cast<int>(found - urls.begin()) + 1;
    EXPECT_EQ(rank, c.rank) << c.path;
  }
  // A request for a term gets that term's rank (the results above are those of no term).
  EXPECT_EQ(fake.Scenario("alpha").rankByTerm,
            (std::map<std::string, int>{{"first term", 3}, {"second term", 12}}));
  EXPECT_EQ(fake.Scenario("gamma").rankByTerm,
            (std::map<std::string, int>{{"first term", 0}, {"second term", 0}}));
}

class DemoDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override { SetEngineDataFolder(folder_.Path().c_str()); }
  void TearDown() override { SetEngineDataFolder(""); }

  struct Opened {
    std::string site;
    std::string reportsDir;
    std::vector<std::string> terms;
    std::vector<bool> active;
    std::vector<std::set<std::string>> enabled;  // per set
    std::vector<int> engines;                    // per set
    std::vector<int> results;                    // per set, summed over the engines
  };
  Opened Open(const std::string& path) {
    Opened out;
    CZubrinDoc doc;
    EXPECT_TRUE(doc.OnOpenDocument(path.c_str()));
    out.site = static_cast<const char*>(doc.m_siteUrl);
    out.reportsDir = static_cast<const char*>(doc.m_reportsDir);
    for (POSITION position = doc.m_manager.GetHeadPosition(); position;) {
      CEngineSet* set = doc.m_manager.GetNext(position);
      out.terms.push_back(static_cast<const char*>(set->GetName()));
      out.active.push_back(set->m_active != 0);
      std::set<std::string> enabled;
      int results = 0;
      for (const auto& [name, engine] : set->GetEngines()) {
        if (engine->m_enabled) enabled.insert(name);
        results += engine->GetResultCount();
      }
      out.enabled.push_back(enabled);
      out.engines.push_back(set->GetEngineCount());
      out.results.push_back(results);
    }
    return out;
  }

  zbtest::TempFolder folder_;
};

TEST_F(DemoDocumentTest, DemoPlanReopensWithItsSiteTermsAndOnlyItsEngines) {
  ASSERT_TRUE(zbtest::WriteEngineFixtures(folder_.Path(), 1, nullptr));
  zbdemo::DocumentPlan plan;
  plan.site = "http://www.example.com/";
  plan.terms = {"first term", "second term", "third term"};
  plan.engines = {"Alpha Search", "Iota Solo"};
  plan.reportsDir = folder_.File("reports\\");
  std::string path = folder_.File("demo.zbp"), error;
  ASSERT_TRUE(zbdemo::WriteDocument(plan, path, error)) << error;

  Opened doc = Open(path);
  EXPECT_EQ(doc.site, plan.site);
  EXPECT_EQ(doc.reportsDir, plan.reportsDir);
  EXPECT_EQ(doc.terms, plan.terms);
  EXPECT_EQ(doc.active, std::vector<bool>(3, true));
  for (const auto& enabled : doc.enabled)
    EXPECT_EQ(enabled, (std::set<std::string>{"Alpha Search", "Iota Solo"}));
  EXPECT_EQ(doc.results, std::vector<int>(3, 0));
}

TEST_F(DemoDocumentTest, RefusesPlansItCannotKeepAndWritesNothing) {
  ASSERT_TRUE(zbtest::WriteEngineFixtures(folder_.Path(), 1, nullptr));
  zbdemo::DocumentPlan unknown;
  unknown.site = "http://www.example.com/";
  unknown.terms = {"term"};
  unknown.engines = {"Alpha Search", "No Such Engine"};
  zbdemo::DocumentPlan noTerms = unknown;
  noTerms.terms.clear();
  noTerms.engines = {"Alpha Search"};
  struct Case {
    const zbdemo::DocumentPlan& plan;
    const char* error;
  } cases[] = {{unknown, "engines.dat has no engine \"No Such Engine\""},
               {noTerms, "no search term"}};
  for (const Case& c : cases) {
    std::string path = folder_.File("refused.zbp"), error;
    EXPECT_FALSE(zbdemo::WriteDocument(c.plan, path, error));
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  }
}

TEST_F(DemoDocumentTest, BenchEnginesLoadUnderTheirNewNamesWithStoredResults) {
  const int kEngines = 40;  // more than the fixture has, so every definition is copied
  std::string error;
  ASSERT_TRUE(zbdemo::WriteBenchEngines(folder_.Path(), kEngines, 1, error)) << error;
  std::vector<std::string> names = zbdemo::BenchEngineNames(kEngines);
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
  EXPECT_EQ(names[0], "Alpha Search 001");

  zbdemo::DocumentPlan plan;
  plan.site = "http://www.example.com/";
  plan.terms = {"one", "two"};
  plan.resultsPerEngine = 3;
  std::string path = folder_.File("bench.zbp");
  ASSERT_TRUE(zbdemo::WriteDocument(plan, path, error)) << error;

  Opened doc = Open(path);
  // Not the maker's own folder: the program that opens it decides.
  EXPECT_EQ(doc.reportsDir, "");
  EXPECT_EQ(doc.engines, std::vector<int>(2, kEngines));
  EXPECT_EQ(doc.results, std::vector<int>(2, kEngines * 3));
  ASSERT_EQ(doc.enabled.size(), 2u);
  EXPECT_EQ(doc.enabled[0], std::set<std::string>(names.begin(), names.end()));
}

TEST_F(DemoDocumentTest, BenchEnginesFailCleanlyIntoAMissingFolder) {
  std::string error;
  EXPECT_FALSE(zbdemo::WriteBenchEngines(folder_.File("missing"), 5, 1, error));
  EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
}

}  // namespace
