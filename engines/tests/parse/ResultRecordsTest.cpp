// Result records: what a result block becomes, which link of it is the result link, and the
// following of result links to the address they finally lead to.
#include <gtest/gtest.h>

#include <string>

#include "engines/db/SearchEngine.h"
#include "engines/tests/EngineKeysFixture.h"
#include "engines/tests/ResultTestSupport.h"
#include "foundation/net/Socklet.h"
#include "tests/servers/HttpTestServer.h"

namespace {

using enginetest::DefinedEngine;
using enginetest::EventLog;
using enginetest::Results;
using enginetest::ResultTexts;

std::string S(const CLibString& text) {
  return text.c_str();
}

TEST(ResultRecords, EachBlockBecomesARecordReportedBeforeItIsListed) {
  DefinedEngine defined("Record Test Engine");
  CSearchEngine& engine = defined.engine;
  for (int i = 0; i < 3; ++i) engine.AddResult(CSearchResult());  // from earlier pages
  engine.m_pageIndex = 2;
  engine.m_pageResults = 0;
  EventLog log(engine);
  std::string textWhenReported;
  log.onEvent = [&](const EventLog::Event& e) {
    if (e.code == kEngineResultFound)
      textWhenReported = reinterpret_cast<const CSearchResult*>(e.data)->m_text.c_str();
    return true;
  };

  EXPECT_EQ(engine.FollowResultLinks("<b>Red</b>   shoes\n<a href=\"http://a.example/\">A</a>"), 1);
  EXPECT_EQ(engine.FollowResultLinks("second"), 2);

  auto results = Results(engine);
  ASSERT_EQ(results.size(), 5u);
  const CSearchResult& first = *results[3];
  EXPECT_EQ(first.m_index, 3);
  EXPECT_EQ(first.m_page, 2);
  EXPECT_EQ(first.m_position, 0);
  EXPECT_EQ(S(first.m_text), "Red shoes <a href=\"http://a.example/\">A</a>");
  EXPECT_EQ(S(first.m_title), "");
  EXPECT_EQ(first.m_matched, 0u);
  EXPECT_EQ(results[4]->m_index, 4);
  EXPECT_EQ(results[4]->m_position, 1);
  EXPECT_EQ(engine.m_pageResults, 2);

  auto found = log.Of(kEngineResultFound);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].data, reinterpret_cast<uintptr_t>(results[3]));
  EXPECT_EQ(found[0].resultsListed, 3);  // reported first, listed after
  EXPECT_EQ(found[1].resultsListed, 4);
  EXPECT_EQ(textWhenReported, "second");
}

TEST(ResultRecords, AddResultListsACopyWithoutTitle) {
  CSearchEngine engine;
  CSearchResult stored;
  stored.m_title = "Title";
  stored.m_index = 4;
  stored.m_page = 1;
  stored.m_position = 3;
  stored.m_text = "<a href=x>x</a>";
  stored.m_matched = 1;
  engine.AddResult(stored);
  auto results = Results(engine);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_NE(results[0], &stored);
  EXPECT_EQ(S(results[0]->m_title), "");
  EXPECT_EQ(results[0]->m_index, 4);
  EXPECT_EQ(results[0]->m_page, 1);
  EXPECT_EQ(results[0]->m_position, 3);
  EXPECT_EQ(S(results[0]->m_text), "<a href=x>x</a>");
  EXPECT_EQ(results[0]->m_matched, 1u);
}

TEST(ResultRecords, BeginAndEndOfTheRun) {
  CSearchEngine engine;
  EventLog log(engine);
  engine.OnBegin();
  engine.OnEnd();
  ASSERT_EQ(log.events.size(), 2u);
  EXPECT_EQ(log.events[0].code, kEngineBegin);
  EXPECT_EQ(log.events[1].code, kEngineEnd);
}

TEST(ResultLink, TheNumberedAnchorOfTheBlock) {
  const char* block =
      "<a href=\"/cache?id=1\">[cached]</a> <abbr title=x>WWW</abbr> <address>here</address> "
      "<A HREF=\"http://two.example/\">Two</A> more <a\nhref=three.html>Three";
  const struct {
    const char* number;  // .resulthlinknum; null: absent
    const char* link;
  } cases[] = {
      {nullptr, "<a href=\"/cache?id=1\">[cached]</a>"},
      {"0", "<a href=\"/cache?id=1\">[cached]</a>"},
      {"1", "<a href=\"/cache?id=1\">[cached]</a>"},
      {"2", "<A HREF=\"http://two.example/\">Two</A>"},
      {"3", "<a\nhref=three.html>Three"},  // never closed: to the end of the block
      {"4", ""},
  };
  for (const auto& c : cases) {
    DefinedEngine defined("Link Number Engine");
    if (c.number) defined.Set(".resulthlinknum", c.number);
    EXPECT_EQ(S(defined.engine.GetResultLink(block)), c.link) << (c.number ? c.number : "absent");
  }

  DefinedEngine defined("Link Number Engine");
  defined.Set(".resulthlinknum", "2");
  EventLog log(defined.engine);
  EXPECT_EQ(S(defined.engine.GetResultUrl(block, false)), "http://two.example/");
  EXPECT_EQ(log.Of(kEngineIdle).size(), 2u);  // one tick per anchor walked
  EXPECT_EQ(S(defined.engine.GetResultLink("no links <b>here</b>")), "");
}

TEST(ResultLink, MailLinksDoNotCountForTheDirectoryThatListsThem) {
  const char* block =
      "<a href=\"MailTo:owner@site.example\">Mail</a> <a href=\"http://site.example/\">Site</a>";
  DefinedEngine infopoint("Infopoint");
  EXPECT_EQ(S(infopoint.engine.GetResultUrl(block, false)), "http://site.example/");
  DefinedEngine other("Other Directory");
  EXPECT_EQ(S(other.engine.GetResultUrl(block, false)), "MailTo:owner@site.example");
}

TEST(ResultLink, AddressDecodedOnRequest) {
  DefinedEngine defined("Decoding Engine");
  const char* block = "<a href=\"/go?u=http%3A%2F%2Fsite.example%2Fa+b&amp;n=1\">x</a>";
  EXPECT_EQ(S(defined.engine.GetResultUrl(block, false)),
            "/go?u=http%3A%2F%2Fsite.example%2Fa+b&n=1");
  EXPECT_EQ(S(defined.engine.GetResultUrl(block, true)), "/go?u=http://site.example/a b&n=1");
}

class FollowResultLinksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SockletStartup());
    server.Route("/r/*", [](const zbtest::HttpRequest& r) {
      return zbtest::HttpResponse::Redirect("/landing/" + r.Path().substr(3) + "?ref=engine");
    });
    server.Route("/landing/*", zbtest::HttpResponse::Text("<html>the site</html>"));
    ASSERT_TRUE(server.Start());
  }
  void TearDown() override {
    server.Stop();
    SockletCleanup();
  }
  zbtest::HttpTestServer server;
};

TEST_F(FollowResultLinksTest, TheAddressReachedIsWrittenIntoTheBlock) {
  DefinedEngine defined("Following Engine");
  CSearchEngine& engine = defined.engine;
  defined.Set(".followresulthlinks", "1");
  engine.SetCurrentUrl(CUrl(server.Url("/search?q=shoes").c_str()));
  EventLog log(engine);
  std::string textWhenReported;
  log.onEvent = [&](const EventLog::Event& e) {
    if (e.code == kEngineResultFound)
      textWhenReported = reinterpret_cast<const CSearchResult*>(e.data)->m_text.c_str();
    return true;
  };

  // A link relative to the result page is followed from there.
  engine.FollowResultLinks("<a href=\"/r/site1\">Site one</a> text");
  std::string expected =
      "<a href=\"/r/site1\">Site one</a> text<!--" + server.Url("/landing/site1") + "-->";
  EXPECT_EQ(ResultTexts(engine).back(), expected);
  EXPECT_EQ(textWhenReported, expected);  // the run sees the address reached

  // A block without a link of the chosen number falls back on its first link.
  defined.Set(".resulthlinknum", "5");
  engine.FollowResultLinks("<a href=\"" + CLibString(server.Url("/r/site2").c_str()) +
                           "\">Two</a>");
  EXPECT_NE(ResultTexts(engine).back().find("<!--" + server.Url("/landing/site2") + "-->"),
            std::string::npos);

  // Nothing to read there: the block stays as it was.
  server.Route("/empty", zbtest::HttpResponse::Text(""));
  engine.FollowResultLinks("<a href=\"/empty\">Gone</a>");
  EXPECT_EQ(ResultTexts(engine).back(), "<a href=\"/empty\">Gone</a>");
}

TEST_F(FollowResultLinksTest, NoFollowingWhenNotAskedOrWhenStopped) {
  DefinedEngine defined("Not Following Engine");
  CSearchEngine& engine = defined.engine;
  engine.SetCurrentUrl(CUrl(server.Url("/search").c_str()));
  engine.FollowResultLinks("<a href=\"/r/site1\">One</a>");
  defined.Set(".followresulthlinks", "1");
  engine.Abort();
  engine.FollowResultLinks("<a href=\"/r/site2\">Two</a>");
  EXPECT_EQ(server.RequestCount(), 0u);
  EXPECT_EQ(ResultTexts(engine), (std::vector<std::string>{"<a href=\"/r/site1\">One</a>",
                                                           "<a href=\"/r/site2\">Two</a>"}));
}

TEST_F(FollowResultLinksTest, RedirectingEnginesGetTheTargetInPlaceOfTheRedirect) {
  server.Route("/d/search-redirect", zbtest::HttpResponse::Redirect("/landing/site3?x=1"));
  DefinedEngine defined("InfoSpace");
  CSearchEngine& engine = defined.engine;
  engine.SetCurrentUrl(CUrl(server.Url("/search").c_str()));
  EventLog log(engine);
  std::string textWhenReported;
  log.onEvent = [&](const EventLog::Event& e) {
    if (e.code == kEngineResultFound)
      textWhenReported = reinterpret_cast<const CSearchResult*>(e.data)->m_text.c_str();
    return true;
  };
  std::string redirect = server.Url("/d/search-redirect?u=3&amp;pos=1");
  engine.FollowResultLinks(("<a href=\"" + redirect + "\">Three</a>").c_str());
  EXPECT_EQ(textWhenReported, "<a href=\"" + redirect + "\">Three</a>");
  EXPECT_EQ(ResultTexts(engine).back(),
            "<a href=\"" + server.Url("/landing/site3") + "\">Three</a>");

  // Its other results are left alone.
  size_t requests = server.RequestCount();
  engine.FollowResultLinks("<a href=\"http://plain.example/\">Plain</a>");
  EXPECT_EQ(server.RequestCount(), requests);
}

}  // namespace
