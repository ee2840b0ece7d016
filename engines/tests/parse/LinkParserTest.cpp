#include "engines/parse/LinkParser.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/net/SockHttpClient.h"
#include "foundation/net/Socklet.h"
#include "tests/servers/HttpTestServer.h"

namespace {

std::string S(const CLibString& text) {
  return text.c_str();
}

TEST(ExtractHref, CleansTheAddress) {
  const std::pair<const char*, const char*> cases[] = {
      {"<a href = \"results.html\">", "results.html"},
      {"<a href=\"/find?q=a&amp;start=10\">", "/find?q=a&start=10"},
      {"<a class=n href=\"/find?\r\n  page=2\t\">", "/find?  page=2"},
      {"<a href=\"  /padded  \">", "/padded"},
      {"<a href=\"/with blank\">", "/with blank"},
      {"<a name=top>", ""},
      {"<A HREF=\"/dir/suggest?c=2\">", "/dir/suggest?c=2"},
      {"<A HREF=/dir/suggest?c=2>", "/dir/suggest?c=2"},
  };
  for (const auto& c : cases) EXPECT_EQ(S(ExtractHref(c.first)), c.second) << c.first;
}

TEST(SplitLinkText, GivesTheTextAReaderSees) {
  CLibString href, text;
  SplitLinkText("<a href=\"/p2\" class=nav><b>Next</b>&nbsp;&gt;&gt;\r\n</a>", href, text);
  EXPECT_EQ(S(href), "/p2");
  EXPECT_EQ(S(text), "Next >>");

  // Entities are read after the tags are gone, so an escaped "<b>" is text.
  SplitLinkText("<A HREF=x.html>&lt;b&gt; <img src=i.gif> bold", href, text);
  EXPECT_EQ(S(href), "x.html");
  EXPECT_EQ(S(text), "<b>  bold");

  SplitLinkText("<a href=x", href, text);  // no end of the tag: no text
  EXPECT_EQ(S(text), "");
}

const char kResultsPage[] =
    "<html><body><abbr title=\"next\">next</abbr>\n"
    "<a href=\"/r1\">First result</a> <a href='/r2'>Second next-door result</a>\n"
    "<p><A HREF=\"/find?q=x&amp;start=10\">Next &gt;</A> | <a href=\"/find?start=20\">next "
    "<b>page</b></a>\n"
    "<a href=\"/unclosed\">Unclosed next <a href=\"/after\">after next</a>\n"
    "</body></html>";

TEST(FindLink, CountsTheLinksWhoseTextHoldsTheFilter) {
  struct Case {
    const char* filter;
    int index;
    const char* expected;
  } cases[] = {
      {"", 0, "/r1"},
      {"", 2, "/find?q=x&start=10"},
      {"next", 0, "/r2"},  // "<abbr>" is no link
      {"next", 1, "/find?start=20"},
      {"Next", 0, "/find?q=x&start=10"},  // the text is compared as written
      {"next", 2, "/unclosed"},           // an unclosed link ends where the next one opens
      {"next", 3, "/after"},
      {"next", 4, ""},
      {"nowhere", 0, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(S(FindLink(kResultsPage, c.filter, c.index)), c.expected)
        << c.filter << " #" << c.index;
  EXPECT_EQ(S(FindLink("", "", 0)), "");
}

class ResolveFinalUrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SockletStartup());
    ASSERT_TRUE(server.Start());
  }
  void TearDown() override {
    server.Stop();
    SockletCleanup();
  }
  zbtest::HttpTestServer server;
};

TEST_F(ResolveFinalUrlTest, FollowsRedirectsAndSpeaksLikeTheEngine) {
  server.Route("/click", zbtest::HttpResponse::Redirect("/landing/page.html?from=click"));
  server.Route("/landing/page.html", zbtest::HttpResponse::Text(std::string(4000, 'x')));
  CSockHttpClient engine;
  engine.SetCurrentUrl(CUrl(server.Url("/results?q=a").c_str()));
  engine.SetRequestHeader("User-Agent", "EngineAgent/1.0");
  int calls = 0;
  engine.SetCallback(
      [](CSock*, int, uintptr_t, uintptr_t user) {
        ++*reinterpret_cast<int*>(user);
        return true;
      },
      reinterpret_cast<uintptr_t>(&calls));

  CLibString final = ResolveFinalUrl(engine, server.Url("/click").c_str());
  EXPECT_EQ(S(final), server.Url("/landing/page.html"));
  ASSERT_EQ(server.RequestCount(), 2u);
  zbtest::HttpRequest first = server.Requests()[0];
  EXPECT_EQ(first.Header("Referer"), server.Url("/results?q=a"));
  EXPECT_EQ(first.Header("User-Agent"), "EngineAgent/1.0");
  EXPECT_EQ(calls, 0);  // the engine's callback hears nothing of it
  EXPECT_EQ(S(engine.GetCurrentUrl().GetUrl()), server.Url("/results?q=a"));
}

TEST_F(ResolveFinalUrlTest, NothingReadGivesEmpty) {
  server.Route("/gone", zbtest::HttpResponse::Text("missing", "text/html", 404));
  server.Route("/empty", zbtest::HttpResponse::Text(""));
  CSockHttpClient engine;
  EXPECT_EQ(S(ResolveFinalUrl(engine, server.Url("/gone").c_str())), "");
  EXPECT_EQ(S(ResolveFinalUrl(engine, server.Url("/empty").c_str())), "");
}

}  // namespace
