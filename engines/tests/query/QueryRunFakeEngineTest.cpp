// Whole queries of the fixture engines against the fake search engine: the first page, the pages
// after it, redirects and meta refreshes, with the real result parser and result records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engines/db/EngineList.h"
#include "engines/db/SearchEngine.h"
#include "engines/tests/EngineTestSupport.h"
#include "engines/tests/query/QueryTimeline.h"
#include "engines/tests/ResultTestSupport.h"
#include "foundation/tests/net/NetTestSupport.h"
#include "tests/fakeengine/EngineFixtures.h"
#include "tests/fakeengine/FakeSearchEngine.h"

namespace {

using enginetest::PageSteps;
using enginetest::QuerySteps;
using enginetest::Timeline;
using zbtest::FakeScenario;
using zbtest::RefreshStyle;

class QueryRunFakeEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fake.Start());
    std::string dir = folder.File("");
    dir.pop_back();  // without its trailing backslash
    ASSERT_TRUE(zbtest::WriteEngineFixtures(dir, fake.Port(), nullptr));
    CEngineList list;
    ASSERT_GT(list.LoadEnginesFile(folder.File("engines.dat").c_str(), nullptr, nullptr), 0);
  }

  // Runs the fixture engine of that name with the test's timeline.
  int Run(CSearchEngine& engine, const char* name, int maxResults) {
    engine.m_name = name;
    timeline.Attach(engine);
    return engine.RunQuery("blue widgets", maxResults, 10);
  }
  // True when every result record holds the address the engine served at its rank (a followed
  // link brings the address without its query, and a root address without its "/").
  ::testing::AssertionResult RecordsMatch(const CSearchEngine& engine, const std::string& path) {
    std::vector<std::string> urls = fake.ResultUrls(path);
    std::vector<std::string> texts = enginetest::ResultTexts(engine);
    for (size_t i = 0; i < texts.size(); ++i) {
      if (i >= urls.size()) return ::testing::AssertionFailure() << "extra result " << texts[i];
      std::string url = urls[i].substr(0, urls[i].find('?'));
      if (url.back() == '/') url.pop_back();
      if (texts[i].find(url) == std::string::npos)
        return ::testing::AssertionFailure()
               << "result " << i + 1 << " " << texts[i] << " lacks " << urls[i];
    }
    return ::testing::AssertionSuccess();
  }

  nettest::ShortWaits waits;
  Timeline timeline;  // outlives the engines, which report to it
  enginetest::TempFolder folder;
  zbtest::FakeSearchEngine fake;
};

TEST_F(QueryRunFakeEngineTest, AQueryReadsEveryResultPageOfTheEngine) {
  FakeScenario scenario;
  scenario.totalResults = 25;  // pages of 10, 10 and 5; the last has no "Next page"
  fake.SetScenario("alpha", scenario);
  CSearchEngine engine;
  EXPECT_EQ(Run(engine, "Alpha Search", 100), 25);

  EXPECT_EQ(timeline.Steps(), QuerySteps({PageSteps(10), PageSteps(10), PageSteps(5)}));
  EXPECT_EQ(timeline.LastData(kEngineQueryEnd), 1u);
  EXPECT_TRUE(RecordsMatch(engine, "alpha"));
  EXPECT_EQ(fake.RequestsTo("alpha").size(), 3u);
  EXPECT_EQ(timeline.Pauses().size(), 2u);
  auto results = enginetest::Results(engine);
  ASSERT_EQ(results.size(), 25u);
  EXPECT_EQ(results[24]->m_page, 2);
  EXPECT_EQ(results[24]->m_position, 4);
}

TEST_F(QueryRunFakeEngineTest, AQueryStopsAtTheNumberOfResultsWanted) {
  CSearchEngine engine;  // 45 results, 10 a page
  EXPECT_EQ(Run(engine, "Alpha Search", 20), 20);
  EXPECT_EQ(fake.RequestsTo("alpha").size(), 2u);
  EXPECT_EQ(timeline.Steps(), QuerySteps({PageSteps(10), PageSteps(10)}));
  EXPECT_EQ(timeline.Pauses().size(), 1u);
}

TEST_F(QueryRunFakeEngineTest, RefreshPagesLeadToTheResultsInEveryForm) {
  for (RefreshStyle style :
       {RefreshStyle::Plain, RefreshStyle::Blank, RefreshStyle::LowerCase, RefreshStyle::QuotedUrl,
        RefreshStyle::Unquoted, RefreshStyle::Delayed, RefreshStyle::Relative}) {
    SCOPED_TRACE(static_cast<int>(style));
    FakeScenario scenario;
    scenario.refresh = style;
    scenario.totalResults = 15;
    fake.SetScenario("eta", scenario);
    fake.ClearRecords();
    Timeline clean;
    CSearchEngine engine;
    engine.m_name = "Eta Meta";
    clean.Attach(engine);
    EXPECT_EQ(engine.RunQuery("blue widgets", 15, 10), 15);
    EXPECT_EQ(clean.Steps(), QuerySteps({PageSteps(10), PageSteps(5)}));
    EXPECT_TRUE(RecordsMatch(engine, "eta"));
    // Each page: the search, then the page it refreshes to.
    EXPECT_EQ(fake.RequestsTo("eta").size(), 4u);
  }
}

TEST_F(QueryRunFakeEngineTest, RedirectChainsAndTheHomePageCookie) {
  // Theta wants the cookie of its home page, answers its POST search through redirects (five
  // hops) and sends its result links through a redirect that the engine follows. Links to other
  // hosts go through the fake engine as a proxy, so nothing leaves the machine.
  FakeScenario scenario;
  scenario.totalResults = 12;
  scenario.redirectHops = 5;
  fake.SetScenario("theta", scenario);
  CSearchEngine engine;
  engine.SetProxy(CInetAddress(fake.Address().c_str(), fake.Port()), "", "");
  EXPECT_EQ(Run(engine, "Theta", 100), 12);
  EXPECT_EQ(timeline.Steps(), QuerySteps({PageSteps(10), PageSteps(2)}));
  EXPECT_TRUE(RecordsMatch(engine, "theta"));
  std::vector<zbtest::HttpRequest> requests = fake.RequestsTo("theta");
  ASSERT_FALSE(requests.empty());
  EXPECT_NE(requests[0].target.find("/theta/"), std::string::npos);
  EXPECT_EQ(requests[1].method, "POST");
}

TEST_F(QueryRunFakeEngineTest, AnEngineWithoutResultsEndsAfterItsFirstPage) {
  FakeScenario scenario;
  scenario.totalResults = 0;
  fake.SetScenario("alpha", scenario);
  CSearchEngine engine;
  EXPECT_EQ(Run(engine, "Alpha Search", 100), 0);
  EXPECT_EQ(timeline.Steps(), QuerySteps({PageSteps(0)}));

  // An engine that answers nothing at all: no page events.
  scenario.emptyPastEnd = true;
  fake.SetScenario("alpha", scenario);
  Timeline clean;
  CSearchEngine silent;
  silent.m_name = "Alpha Search";
  clean.Attach(silent);
  EXPECT_EQ(silent.RunQuery("blue widgets", 100, 10), 0);
  EXPECT_EQ(clean.Steps(), QuerySteps({}));
}

}  // namespace
