// Directory category reading: the category page scanner on pages of its own, and the fixture
// directory "Yahoo" of the fake search engine with its sign-in, categories file and category pages.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "engines/submit/CategoryReader.h"
#include "engines/db/EngineKeys.h"
#include "engines/db/EngineList.h"
#include "engines/query/PageCache.h"
#include "engines/db/SearchEngine.h"
#include "engines/tests/EngineTestSupport.h"
#include "foundation/tests/net/NetTestSupport.h"
#include "tests/fakeengine/EngineFixtures.h"
#include "tests/fakeengine/FakeSearchEngine.h"

namespace {

std::string Entries(const CNVList& list) {
  std::string text;
  CNVList copy(list);
  CLibString name, value;
  for (bool restart = true; copy.GetNext(name, value, restart); restart = false)
    text += std::string(name.c_str()) + "=" + value.c_str() + ";";
  return text;
}

// ---- the scanner, on pages written here ----

class CategoryPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EngineKeyList.RemoveAll();
    Key("categorystartofpage", "<ul>");
    Key("categoryendofpage1", "</ul>");
    Key("categoryhlinkstartmarker1", "<li>");
    Key("categoryhlinkstopmarker1", "</li>");
    Key("categoryaddurllink", "Add a site");
    engine.m_name = "Cats";
    engine.SetCurrentUrl(CUrl("http://dir.test/top/arts/"));
  }
  void TearDown() override { EngineKeyList.RemoveAll(); }
  void Key(const char* key, const char* value) {
    EngineKeyList.SetAt(CLibString("Cats.") + key, value);
  }
  std::string Read(const char* page) {
    CNVList list;
    request = CLibString();
    int count = engine.ReadCategoryPage(page, list, request);
    EXPECT_EQ(count, static_cast<int>(list.GetCount()));
    return Entries(list);
  }

  CSearchEngine engine;
  CLibString request;
};

TEST_F(CategoryPageTest, BlocksNameTheirLinksResolvedAgainstThePage) {
  struct Case {
    const char* page;
    const char* entries;
  } cases[] = {
      // Relative and absolute links, line ends inside a link dropped.
      {"<a href=\"x\">Top</a><ul><li><a href=\"music/\">Mu\r\nsic</a> (3)</li>"
       "<li><a href=\"http://other.test/p.htm\">Painting</a></li></ul>",
       "Music=http://dir.test/top/arts/music/;Painting=http://other.test/p.htm;"},
      // Before the start of the categories and after their end nothing counts.
      {"<li><a href=\"a.htm\">Before</a></li><ul><li><a href=\"b.htm\">In</a></li></ul>"
       "<li><a href=\"c.htm\">After</a></li>",
       "In=http://dir.test/top/arts/b.htm;"},
      // A block without a link of its own names nothing; a block open at the end is dropped.
      {"<ul><li><a href=\"b.htm\">B</a></li><li>no link</li><li><a href=\"c.htm\">C</a>",
       "B=http://dir.test/top/arts/b.htm;"},
      {"no categories at all", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.page), c.entries) << c.page;
}

TEST_F(CategoryPageTest, TheSecondMarkersAndTheIncludeAndStripRulesCutBlocks) {
  Key("categoryhlinkstartmarker2", "<li class=\"new\">");
  Key("categoryhlinkincludestart2", "1");
  Key("categoryhlinkstripstop1", "1");
  EXPECT_EQ(Read("<ul><li class=\"new\"><a href=\"j/\">Jazz</a> <img></li>\n"
                 "<li><a href=\"r/\">Rock</a></li></ul>"),
            "Jazz=http://dir.test/top/arts/j/;Rock=http://dir.test/top/arts/r/;");
  // Without a start-of-page marker the categories begin at the first character.
  Key("categorystartofpage", "");
  // A block whose stop marker is the page's last text is closed.
  EXPECT_EQ(Read("<li><a href=\"/z.htm\">Z</a></li>"), "Z=http://dir.test/z.htm;");
}

TEST_F(CategoryPageTest, TheAddUrlLinkIsFoundByItsTextOrElseByItsAddress) {
  Read(
      "<p>Add a site here? <a href=\"/wrong\">No</a></p><a href=\"/add?c=1\">Add a site</a>"
      "<ul></ul>");
  EXPECT_EQ(request, "/add?c=1");
  // The text outside any link does not take the link before it.
  Read("<a href=\"/help\">Help</a> Add a site <ul></ul>");
  EXPECT_EQ(request, "");
  // Failing the text, the first link whose address holds it.
  Key("categoryaddurllink", "suggest");
  Read("<a href=\"/help\">Help</a><A href=\"/dir/suggest?c=2\">Propose</A><ul></ul>");
  EXPECT_EQ(request, "/dir/suggest?c=2");
}

// ---- the fixture directory against the fake search engine ----

class CategoryDrillDownTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fake.Start());
    std::string dir = folder.File("");
    ASSERT_TRUE(zbtest::WriteEngineFixtures(dir.substr(0, dir.size() - 1), fake.Port(), nullptr));
    SetEngineDataFolder(dir.c_str());
    CEngineList::ClearCategoriesCache();
    ClearPageCache();
    ClearCategorySignIns();
    CSockHttpClient::ClearCookieJar();
    CEngineList list;
    ASSERT_GT(list.LoadEnginesFile(folder.File("engines.dat").c_str(), nullptr, nullptr), 0);
    profile.SetAt("EMAIL", "owner@site.test");
  }
  void TearDown() override {
    SetEngineDataFolder(nullptr);
    CEngineList::ClearCategoriesCache();
    ClearPageCache();
    ClearCategorySignIns();
    CSockHttpClient::ClearCookieJar();
  }
  int SignIns() const {
    int count = 0;
    for (const zbtest::FakeSubmission& s : fake.Submissions()) count += s.step == "signin";
    return count;
  }
  std::string Cat(const std::string& path) const { return fake.Base() + "/dir/cat/" + path; }

  nettest::ShortWaits waits;
  enginetest::TempFolder folder;
  zbtest::FakeSearchEngine fake;
  CNVList profile;
};

TEST_F(CategoryDrillDownTest, AnEngineWithoutCategoriesListsNothingAndAsksNothing) {
  CSearchEngine engine;
  engine.m_name = "Alpha Search";
  CNVList list;
  list.SetAt("stale", "x");
  int32_t found = 1;
  EXPECT_EQ(engine.CategoryDrillDown(CLibString(), list, found, profile), 0);
  EXPECT_EQ(list.GetCount(), 0u);
  EXPECT_EQ(found, 0);
  EXPECT_TRUE(fake.RequestsTo("alpha").empty());
}

TEST_F(CategoryDrillDownTest, TheDirectorySignsInOnceAndWalksItsCategories) {
  CSearchEngine engine;
  engine.m_name = "Yahoo";
  CNVList list;
  int32_t found = 1;
  // The top level comes from the categories file section YAHOO_CATEGORY.
  EXPECT_EQ(engine.CategoryDrillDown(CLibString(), list, found, profile), 4);
  EXPECT_EQ(list.GetValue("Computers & Internet"), Cat("computers/").c_str());
  EXPECT_EQ(found, 0);
  ASSERT_EQ(SignIns(), 1);
  EXPECT_EQ(fake.Submissions()[0].fields.Get("login"), "owner@site.test");

  // A first-level category lists its children; its add page asks for a narrower category.
  EXPECT_EQ(engine.CategoryDrillDown(Cat("arts/").c_str(), list, found, profile), 2);
  EXPECT_EQ(Entries(list),
            "Music=" + Cat("arts/music/") + ";Painting=" + Cat("arts/painting/") + ";");
  EXPECT_EQ(found, 0);
  // Below it the "new" categories come through the second markers, and adding is offered.
  EXPECT_EQ(engine.CategoryDrillDown(Cat("arts/music/").c_str(), list, found, profile), 2);
  EXPECT_EQ(Entries(list),
            "Jazz=" + Cat("arts/music/jazz/") + ";Rock=" + Cat("arts/music/rock/") + ";");
  EXPECT_EQ(found, 1);
  // The category page stays the page the engine is at.
  EXPECT_EQ(engine.GetCurrentUrl().GetUrl(), Cat("arts/music/").c_str());

  EXPECT_EQ(SignIns(), 1);  // signed in once for the whole walk
  // Another engine object of the same directory does not sign in again.
  CSearchEngine other;
  other.m_name = "Yahoo";
  other.CategoryDrillDown(Cat("business/").c_str(), list, found, profile);
  EXPECT_EQ(SignIns(), 1);
  // A different sign-in request does.
  profile.SetAt("EMAIL", "second@site.test");
  other.CategoryDrillDown(Cat("business/").c_str(), list, found, profile);
  EXPECT_EQ(SignIns(), 2);
}

TEST_F(CategoryDrillDownTest, ARefusedSignInIsTriedAgainAndShowsNoCategories) {
  zbtest::FakeScenario scenario;
  scenario.signInSucceeds = false;
  fake.SetScenario("dir", scenario);
  CSearchEngine engine;
  engine.m_name = "Yahoo";
  CNVList list;
  int32_t found = 1;
  EXPECT_EQ(engine.CategoryDrillDown(Cat("arts/music/").c_str(), list, found, profile), 0);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(GetCategorySignIn("Yahoo"), "");
  engine.CategoryDrillDown(Cat("arts/music/").c_str(), list, found, profile);
  EXPECT_EQ(SignIns(), 2);
}

TEST_F(CategoryDrillDownTest, APageThatCannotBeFetchedLeavesTheListEmpty) {
  CSearchEngine engine;
  engine.m_name = "Yahoo";
  CNVList list;
  int32_t found = 1;
  EXPECT_EQ(engine.CategoryDrillDown(Cat("no-such/").c_str(), list, found, profile), 0);
  EXPECT_EQ(found, 0);
}

// The sign-in record has its own lock: workers that read the definition keys meanwhile see them
// unchanged, and directories walked on several threads at once all get their categories.
TEST_F(CategoryDrillDownTest, SignInRecordsStayOutOfTheSharedKeysAndHoldAcrossThreads) {
  unsigned keysBefore = EngineKeyList.GetCount();
  std::vector<int> counts(4, -1);
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([&, i] {
      CSearchEngine engine;
      engine.m_name = "Yahoo";
      CNVList list;
      int32_t found = 0;
      counts[i] = engine.CategoryDrillDown(Cat("computers/").c_str(), list, found, profile);
    });
  }
  for (std::thread& t : threads) t.join();
  for (int count : counts) EXPECT_EQ(count, 2);
  EXPECT_EQ(EngineKeyList.GetCount(), keysBefore);
  EXPECT_FALSE(EngineKeyList.Contains("Yahoo.TEMP.categorysignedinas"));
  CLibString signedIn = GetCategorySignIn("Yahoo");
  EXPECT_NE(signedIn.Find("/dir/signin?login=owner"), 0) << signedIn;
  EXPECT_NE(signedIn.Find("site.test"), 0) << signedIn;
}

}  // namespace
