// Whole queries of the test engine definitions against the fake search engine: every engine's
// result pages, in each markup and next-page style the definitions use, give the engine's results
// in order, each with the page and place it stood on, and nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engines/db/EngineKeys.h"
#include "engines/db/EngineList.h"
#include "engines/db/SearchEngine.h"
#include "engines/tests/EngineTestSupport.h"
#include "engines/tests/ResultTestSupport.h"
#include "foundation/net/InetAddress.h"
#include "foundation/net/Socklet.h"
#include "tests/fakeengine/EngineFixtures.h"
#include "tests/fakeengine/FakeSearchEngine.h"

namespace {

using enginetest::EventLog;
using enginetest::Results;

// The pauses between pages pass at once.
void NoSleep(unsigned) {}

class FakeEngineQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SockletStartup());
    SockletSetClock(nullptr, &NoSleep);
    ASSERT_TRUE(fake.Start());
    std::string dir = folder.File("");
    dir.pop_back();  // without its trailing backslash
    ASSERT_TRUE(zbtest::WriteEngineFixtures(dir, fake.Port(), nullptr));
    ASSERT_GT(engines.LoadEnginesFile(folder.File("engines.dat").c_str(), nullptr, nullptr), 0);
  }
  void TearDown() override {
    engines.Free();
    EngineKeyList.RemoveAll();
    fake.Stop();
    SockletSetClock(nullptr, nullptr);
    SockletCleanup();
  }

  enginetest::TempFolder folder;
  zbtest::FakeSearchEngine fake;
  CEngineList engines;
};

TEST_F(FakeEngineQueries, EveryEngineReadsItsResultsInOrder) {
  const struct {
    const char* name;
    const char* path;   // the engine's part of the fake search engine
    int perPage;        // results a page of the engine shows
    bool allPages;      // the definition follows the pages to the last result
    bool followsLinks;  // the block carries the address its link finally reached
  } cases[] = {
      {"Alpha Search", "alpha", 10, true, false},   // text link to the next page
      {"Beta Seek", "beta", 10, true, false},       // table rows; text link, then image link
      {"Gamma Index", "gamma", 10, true, false},    // divisions; counted pager marker
      {"Delta Web", "delta", 10, true, false},      // start markers only; counted request
      {"Epsilon", "epsilon", 10, true, false},      // definition list; next page by number
      {"Zeta Finder", "zeta", 10, true, false},     // home page form; amount to skip
      {"Eta Meta", "eta", 10, true, false},         // comment markers behind a meta refresh
      {"Theta", "theta", 10, true, true},           // redirected POST; links followed
      {"Iota Solo", "solo", 10, false, false},      // preformatted lines, one page
      {"iWon Web Sites", "iwon", 10, true, false},  // JavaScript arrays
      {"Kappa", "kappa", 10, true, false},          // the pager's form
  };
  zbtest::FakeScenario scenario;
  scenario.totalResults = 25;
  scenario.perPage = 10;
  scenario.rank = 10;  // the site last on the first page
  fake.SetScenario(scenario);

  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CSearchEngine* engine = engines.CloneEngine(c.name);
    ASSERT_NE(engine, nullptr);
    // Result links lead out to the web: the fake engine answers for it as a proxy.
    engine->SetProxy(CInetAddress("127.0.0.1", fake.Port()), "", "");
    EventLog log(*engine);

    int gathered = engine->RunQuery("blue widgets", 100, 10);

    std::vector<std::string> urls = fake.ResultUrls(c.path);
    size_t expected = c.allPages ? urls.size() : static_cast<size_t>(c.perPage);
    EXPECT_EQ(gathered, static_cast<int>(expected));
    auto results = Results(*engine);
    ASSERT_EQ(results.size(), expected);
    for (size_t i = 0; i < results.size(); ++i) {
      const CSearchResult& r = *results[i];
      std::string text = r.m_text.c_str();
      if (c.followsLinks) {
        // The address reached is written without its query, and a root page without its "/".
        std::string reached = urls[i].substr(0, urls[i].find('?'));
        if (reached.back() == '/' && std::count(reached.begin(), reached.end(), '/') == 3)
          reached.pop_back();
        EXPECT_NE(text.find("<!--" + reached + "-->"), std::string::npos) << i << ": " << text;
      } else {
        EXPECT_EQ(std::string(engine->GetResultUrl(r.m_text, false).c_str()), urls[i])
            << i << ": " << text;
      }
      EXPECT_EQ(r.m_index, static_cast<int>(i));
      EXPECT_EQ(r.m_page, static_cast<int>(i) / c.perPage) << i;
      EXPECT_EQ(r.m_position, static_cast<int>(i) % c.perPage) << i;
    }
    EXPECT_EQ(log.Of(kEngineResultFound).size(), expected);
    delete engine;
  }
}

}  // namespace
