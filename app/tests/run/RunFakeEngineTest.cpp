// Whole runs of the document against the fake search engine on loopback: real workers drive
// the fixture engines, the ranks land in the sets and the engine events reach a registered
// window.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>

#include "app/settings/SearchProperties.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunControl.h"
#include "app/tests/AppTestSupport.h"
#include "app/tests/RunTestSupport.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/sets/RankMatcher.h"
#include "engines/db/SearchEngine.h"
#include "engines/db/SearchResult.h"
#include "foundation/net/Socklet.h"
#include "foundation/tests/net/NetTestSupport.h"
#include "tests/fakeengine/EngineFixtures.h"
#include "tests/fakeengine/FakeSearchEngine.h"

namespace {

// The pauses between result pages, shortened; the product sleeps one to three seconds.
void ShortSleep(unsigned) {
  Sleep(1);
}
void NoPause(unsigned) {}
// Results around the site that no matcher mode could take for it.
zbtest::FakeScenario Scenario(int rank) {
  zbtest::FakeScenario scenario;
  scenario.rank = rank;
  for (int i = 0; i < 8; ++i)
    scenario.lookalikes.push_back("http://www.unrelated" + std::to_string(i) + ".example/");
  return scenario;
}

int QuietEngineBox(HWND, const char*, const char*, unsigned) {
  return IDOK;
}

class RunFakeEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SockletStartup());
    ASSERT_TRUE(fake.Start());
    SetEngineMessageBox(QuietEngineBox);
    std::string dir = folder.Path();
    if (!dir.empty() && dir.back() == '\\') dir.pop_back();
    ASSERT_TRUE(zbtest::WriteEngineFixtures(dir, fake.Port(), nullptr));
    SetEngineDataFolder(dir.c_str());
    SockletSetClock(nullptr, ShortSleep);
    CRunControl::SetSleepFunction(NoPause);
    saved = GetSearchProperties();
    GetSearchProperties().m_nMaxThreads = 4;
    GetSearchProperties().m_nKeywordAlert = 0;
    GetSearchProperties().m_nTimeOut = 10;
    doc = std::make_unique<CZubrinDoc>();
    ASSERT_TRUE(doc->OnNewDocument());
    doc->SetRunViews(&views);
    doc->m_siteUrl = "http://www.zb-testsite.com/";
  }
  void TearDown() override {
    doc.reset();
    GetSearchProperties() = saved;
    CRunControl::SetSleepFunction(nullptr);
    SockletSetClock(nullptr, nullptr);
    SetEngineDataFolder("");
    SetEngineMessageBox(nullptr);
    SockletCleanup();
  }
  // Only these engines take part, in every set.
  void EnableOnly(const std::vector<const char*>& names) {
    for (const auto& entry : doc->m_currentSet->GetEngines())
      doc->SetEngineEnabledInAllSets(entry.second->m_name, 0);
    for (const char* name : names) doc->SetEngineEnabledInAllSets(name, 1);
  }
  bool AwaitEnd() {
    CRunControl& run = doc->GetRunControl();
    for (int i = 0; i < 3000; ++i) {
      window.Pump();
      if (!run.IsRunning() && run.WaitForRunThread(0)) {
        window.Pump();
        return true;
      }
      Sleep(10);
    }
    return false;
  }
  int Rank(CEngineSet* set, const char* engine) {
    return GetEngineRank(*set->FindEngine(engine), static_cast<LPCSTR>(doc->m_siteUrl));
  }

  nettest::ShortWaits waits;
  apptest::TempFolder folder;
  zbtest::FakeSearchEngine fake;
  apptest::FakeRunViews views;
  apptest::HintWindow window;
  CSearchProperties saved;
  std::unique_ptr<CZubrinDoc> doc;
};

TEST_F(RunFakeEngineTest, CheckAllStoresEachSetsRanks) {
  fake.SetScenario("alpha", Scenario(7));
  fake.SetScenario("beta", Scenario(13));
  doc->m_currentSet->m_name = "blue widgets";
  doc->m_manager.AddSet(new CEngineSet(&doc->m_database, 1, "red gadgets"));
  EnableOnly({"Alpha Search", "Beta Seek"});

  doc->OnCheckAll();
  ASSERT_TRUE(AwaitEnd());

  for (POSITION p = doc->m_manager.GetHeadPosition(); p;) {
    CEngineSet* set = doc->m_manager.GetNext(p);
    SCOPED_TRACE(static_cast<LPCSTR>(set->GetName()));
    EXPECT_EQ(Rank(set, "Alpha Search"), 7);
    EXPECT_EQ(Rank(set, "Beta Seek"), 13);
  }
  // Each set's workers asked for that set's term.
  int blue = 0, red = 0;
  for (const auto& request : fake.RequestsTo("alpha")) {
    blue += request.target.find("blue") != std::string::npos;
    red += request.target.find("red") != std::string::npos;
  }
  EXPECT_GT(blue, 0);
  EXPECT_GT(red, 0);
  EXPECT_EQ(window.CountCode(kEngineQueryStart), 4);
  EXPECT_EQ(window.CountCode(kEngineQueryEnd), 4);
  EXPECT_GE(window.CountCode(kEngineResultFound), 4);
  std::vector<UINT> hints = window.RunHints();
  EXPECT_EQ(std::count(hints.begin(), hints.end(), 131u), 4);
  EXPECT_EQ(hints.back(), 122u);
  EXPECT_EQ(doc->m_lastRunUrl, doc->m_siteUrl);
}

// The reports and the saved document read the results' match flags: the run sets them for
// every engine of every set as its query ends, also for engines that end after the walk has
// made the next set current. Nothing but the run matches here before they are read.
TEST_F(RunFakeEngineTest, CheckAllFlagsTheSiteInEverySetsResults) {
  const struct {
    const char* term;
    int alpha, beta;  // ranks; 0 absent
  } terms[] = {{"blue widgets", 7, 13}, {"red gadgets", 2, 0}, {"green gizmos", 0, 24}};
  zbtest::FakeScenario alpha = Scenario(0), beta = Scenario(0);
  alpha.totalResults = beta.totalResults = 30;
  for (const auto& t : terms) {
    alpha.rankByTerm[t.term] = t.alpha;
    beta.rankByTerm[t.term] = t.beta;
  }
  fake.SetScenario("alpha", alpha);
  fake.SetScenario("beta", beta);
  // Every page is read: stopping an engine at the site would mark that result on the way.
  GetSearchProperties().m_nStopSearch = 0;
  doc->m_currentSet->m_name = terms[0].term;
  for (size_t i = 1; i < std::size(terms); ++i)
    doc->m_manager.AddSet(new CEngineSet(&doc->m_database, 1, terms[i].term));
  EnableOnly({"Alpha Search", "Beta Seek"});

  doc->OnCheckAll();
  ASSERT_TRUE(AwaitEnd());

  POSITION p = doc->m_manager.GetHeadPosition();
  for (const auto& t : terms) {
    CEngineSet* set = doc->m_manager.GetNext(p);
    SCOPED_TRACE(t.term);
    for (auto [name, rank] : {std::pair{"Alpha Search", t.alpha}, std::pair{"Beta Seek", t.beta}}) {
      SCOPED_TRACE(name);
      CSearchEngine* engine = set->FindEngine(name);
      ASSERT_NE(engine, nullptr);
      EXPECT_EQ(engine->GetResultCount(), 30);
      int flagged = 0, first = 0;
      for (CListNode* node = engine->m_results.Head(); node; node = node->Next()) {
        auto* result = static_cast<CSearchResult*>(node->Payload());
        if (!result->m_matched) continue;
        if (++flagged == 1) first = result->m_index + 1;
        EXPECT_GT(result->m_matchedText.GetLength(), 0) << "the competitor report reads it";
      }
      EXPECT_EQ(flagged, rank ? 1 : 0);
      EXPECT_EQ(first, rank);
    }
  }
}

// An engine whose addresses name localhost and whose first request connects to a given address
// instead of a looked-up one is asked like the others, and its rank is stored beside theirs.
TEST_F(RunFakeEngineTest, EngineOnLocalhostThroughItsGivenAddressIsAsked) {
  const struct {
    const char* engine;
    const char* part;  // of the fake search engine
    int rank;
  } cases[] = {
      {"Iota Solo", "solo", 4},
      {"Alpha Search", "alpha", 7},
  };
  for (const auto& c : cases) fake.SetScenario(c.part, Scenario(c.rank));
  doc->m_currentSet->m_name = "blue widgets";
  EnableOnly({"Iota Solo", "Alpha Search"});

  doc->OnCheckAll();
  ASSERT_TRUE(AwaitEnd());

  for (const auto& c : cases) {
    SCOPED_TRACE(c.engine);
    auto requests = fake.RequestsTo(c.part);
    ASSERT_FALSE(requests.empty()) << "the engine was never asked";
    EXPECT_NE(requests.front().Query().find("blue"), std::string::npos);
    EXPECT_EQ(Rank(doc->m_currentSet, c.engine), c.rank);
  }
  // The request names the host of the engine's address, with its port.
  EXPECT_EQ(fake.RequestsTo("solo").front().Header("Host"),
            "localhost:" + std::to_string(fake.Port()));
}

// With the site not listed, a check with submission submits to the engines that can, and only
// in the last active set.
TEST_F(RunFakeEngineTest, SubmitWithCheckSubmitsWhereDue) {
  fake.SetScenario(Scenario(0));
  doc->m_currentSet->m_name = "blue widgets";
  doc->m_manager.AddSet(new CEngineSet(&doc->m_database, 1, "red gadgets"));
  EnableOnly({"Alpha Search"});
  doc->m_profile.SetAt("URL_WITH_PREFIX", "http://www.zb-testsite.com/");
  doc->m_profile.SetAt("EMAIL", "owner@zb-testsite.com");
  doc->m_submitAuto = 1;

  doc->OnCheckAll();
  ASSERT_TRUE(AwaitEnd());
  int adds = 0;
  for (const auto& request : fake.RequestsTo("alpha")) adds += request.Path() == "/alpha/addurl";
  EXPECT_EQ(adds, 1);


  EXPECT_EQ(window.CountCode(kEngineSubmitStart), 1);
  EXPECT_EQ(doc->m_submitAuto, 1);
}

}  // namespace
