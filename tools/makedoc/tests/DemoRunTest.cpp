// The demo as the program runs it: the document the maker writes, checked against the fake
// engine that serves the demo data, must come out with the ranks, pages and positions the data
// promises, so that what the demo prints is what it claims to show.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/settings/SearchProperties.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunControl.h"
#include "app/tests/RunTestSupport.h"
#include "engines/db/EngineList.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/sets/RankMatcher.h"
#include "foundation/net/Socklet.h"
#include "foundation/tests/net/NetTestSupport.h"
#include "tests/fakeengine/EngineFixtures.h"
#include "tests/fakeengine/FakeSearchEngine.h"
#include "tests/fakeengine/server/DemoScenario.h"
#include "tests/support/TempFolder.h"
#include "tools/makedoc/DemoData.h"
#include "tools/makedoc/DemoDocument.h"

namespace {

// The product pauses one to three seconds between result pages; not here.
void ShortSleep(unsigned) {
  Sleep(1);
}
void NoPause(unsigned) {}
int QuietEngineBox(HWND, const char*, const char*, unsigned) {
  return IDOK;
}

std::string DemoPath() {
  std::string source = ZB_SOURCE_DIR;
  if (!source.empty() && source[0] == '/') source = "Z:" + source;
  return source + "/tests/fixtures/demo/demo.txt";
}

class DemoRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SockletStartup());
    ASSERT_TRUE(fake_.Start());
    SetEngineMessageBox(QuietEngineBox);
    SockletSetClock(nullptr, ShortSleep);
    CRunControl::SetSleepFunction(NoPause);
    saved_ = GetSearchProperties();
    GetSearchProperties().m_nKeywordAlert = 0;
    GetSearchProperties().m_nTimeOut = 10;
  }
  void TearDown() override {
    GetSearchProperties() = saved_;
    CRunControl::SetSleepFunction(nullptr);
    SockletSetClock(nullptr, nullptr);
    SetEngineDataFolder("");
    SetEngineMessageBox(nullptr);
    SockletCleanup();
  }
  bool AwaitEnd(CZubrinDoc& doc) {
    CRunControl& run = doc.GetRunControl();
    for (int i = 0; i < 3000; ++i) {
      window_.Pump();
      if (!run.IsRunning() && run.WaitForRunThread(0)) {
        window_.Pump();
        return true;
      }
      Sleep(10);
    }
    return false;
  }

  nettest::ShortWaits waits_;
  zbtest::TempFolder folder_;
  zbtest::FakeSearchEngine fake_;
  apptest::FakeRunViews views_;
  apptest::HintWindow window_;
  CSearchProperties saved_;
};

TEST_F(DemoRunTest, EveryEngineAndTermComesOutAsTheDemoDataSays) {
  zbdemo::DemoData data;
  std::string error;
  ASSERT_TRUE(zbdemo::ReadDemoData(DemoPath(), data, error)) << error;
  zbtest::ApplyDemoScenario(fake_, data);
  std::string dir = folder_.Path();
  dir.pop_back();
  ASSERT_TRUE(zbtest::WriteEngineFixtures(dir, fake_.Port(), nullptr));
  SetEngineDataFolder(dir.c_str());
  zbdemo::DocumentPlan plan;
  plan.site = data.site;
  plan.terms = data.terms;
  for (const zbdemo::DemoEngine& engine : data.engines) plan.engines.push_back(engine.name);
  std::string path = folder_.File("Demo.zbp");
  ASSERT_TRUE(zbdemo::WriteDocument(plan, path, error)) << error;

  CZubrinDoc doc;
  ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
  doc.SetRunViews(&views_);
  doc.OnCheckAll();
  ASSERT_TRUE(AwaitEnd(doc));

  size_t sets = 0;
  for (POSITION position = doc.m_manager.GetHeadPosition(); position; ++sets) {
    CEngineSet* set = doc.m_manager.GetNext(position);
    SCOPED_TRACE(static_cast<LPCSTR>(set->GetName()));
    ASSERT_LT(sets, data.terms.size());
    EXPECT_EQ(static_cast<LPCSTR>(set->GetName()), data.terms[sets]);
    for (const zbdemo::DemoEngine& engine : data.engines) {
      SCOPED_TRACE(engine.name);
      CSearchEngine* clone = set->FindEngine(engine.name.c_str());
      ASSERT_NE(clone, nullptr);
      const int expected = engine.Rank(sets);
      int32_t rank = -1, page = -1, at = -1;
      GetEngineRankPagePos(*clone, data.site.c_str(), rank, page, at);
      EXPECT_EQ(rank, expected);
      EXPECT_EQ(page, expected ? (expected - 1) / engine.perPage + 1 : 0);
      EXPECT_EQ(at, expected ? (expected - 1) % engine.perPage + 1 : 0);
    }
    // Engines outside the demo are not asked.
    EXPECT_EQ(set->CountEnabled(), static_cast<int>(data.engines.size()));
  }
  EXPECT_EQ(sets, data.terms.size());
  EXPECT_TRUE(fake_.RequestsTo("kappa").empty());
}

}  // namespace
