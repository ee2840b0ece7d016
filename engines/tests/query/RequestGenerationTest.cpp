#include "engines/query/RequestGeneration.h"

#include <gtest/gtest.h>

#include <string>

#include "engines/parse/LinkParser.h"
#include "engines/db/SearchEngine.h"
#include "engines/tests/EngineKeysFixture.h"
#include "foundation/net/Socklet.h"
#include "tests/servers/HttpTestServer.h"

namespace {

std::string S(const CLibString& text) {
  return text.c_str();
}

TEST(SplitRequest, MethodPrefixInAnyCase) {
  const struct {
    const char* request;
    const char* url;
    const char* method;
  } cases[] = {
      {"post http://h/add?u=1", "http://h/add?u=1", "post"},
      {"POST /add", "/add", "post"},
      {"Get http://h/find", "http://h/find", "get"},
      {"http://h/find", "http://h/find", "get"},
      {"posting.html", "posting.html", "get"},
      {"", "", "get"},
  };
  for (const auto& c : cases) {
    CLibString url, method;
    SplitRequest(c.request, &url, &method);
    EXPECT_EQ(S(url), c.url) << c.request;
    EXPECT_EQ(S(method), c.method) << c.request;
  }
  CLibString url;
  SplitRequest("post /x", &url, nullptr);  // either output may be left out
  EXPECT_EQ(S(url), "/x");
}

TEST(ResolveUrl, MakesRequestsAbsoluteAgainstThePageLastFetched) {
  const struct {
    const char* last;  // address of the request last sent
    const char* page;  // text of the page last fetched
    const char* request;
    const char* expected;
  } cases[] = {
      {"http://find.example/dir/page.html?q=1", "", "post /cgi/add?u=2",
       "post http://find.example/cgi/add?u=2"},
      {"http://find.example/dir/page.html?q=1", "", "?q=2&start=10",
       "get http://find.example/dir/page.html?q=2&start=10"},
      {"http://find.example/dir/page.html?q=1", "", "next.html",
       "get http://find.example/dir/next.html"},
      {"http://find.example/dir/page.html", "", "./next.html",
       "get http://find.example/dir/next.html"},
      {"http://find.example/dir/page.html", "", "http:/root.html",
       "get http://find.example/root.html"},
      {"http://find.example/dir/page.html", "", "http://other.example/x",
       "get http://other.example/x"},
      // A root page is written without its "/"; a file name still lands beside it.
      {"http://find.example/", "", "search.cgi?q=a", "get http://find.example/search.cgi?q=a"},
      {"http://find.example", "", "./search.cgi", "get http://find.example/search.cgi"},
      // Any scheme stands on its own; a root-relative link keeps the page's scheme and port.
      {"http://find.example/a", "", "https://secure.example/login",
       "get https://secure.example/login"},
      {"https://secure.example:8443/a/b.html", "", "/c?d=1",
       "get https://secure.example:8443/c?d=1"},
      {"http://127.0.0.1:5081/home", "", "POST /find", "post http://127.0.0.1:5081/find"},
      {"https://secure.example/a/b.html", "", "//cdn.example/x.js", "get https://cdn.example/x.js"},
      // A BASE tag moves relative names, not root-relative paths.
      {"http://find.example/dir/page.html", "<head><BASE HREF=\"http://base.example/b/\"></head>",
       "file.html", "get http://base.example/b/file.html"},
      {"http://find.example/dir/page.html", "<head><base href=\"http://base.example/b/\"></head>",
       "/root.html", "get http://find.example/root.html"},
      {"http://find.example/dir/page.html", "", "", ""},
      {"", "", "next.html", "get next.html"},  // nothing fetched yet: nothing to resolve against
  };
  for (const auto& c : cases) {
    CSearchEngine engine;
    engine.SetCurrentUrl(CUrl(c.last));
    engine.m_pageText = c.page;
    EXPECT_EQ(S(engine.ResolveUrl(c.request)), c.expected) << c.last << " + " << c.request;
  }
}

class RequestGenerationTest : public ::testing::Test {
 protected:
  RequestGenerationTest() : defined("Request Test Engine"), engine(defined.engine) {
    engine.m_keywords = "red shoes";
    engine.m_maxResults = 30;
    engine.SetCurrentUrl(CUrl("http://find.example/index.html"));
  }
  void AddResults(int count) {
    for (int i = 0; i < count; ++i) engine.m_results.Append(new CListNode(new CSearchResult));
  }
  enginetest::DefinedEngine defined;
  CSearchEngine& engine;
};

TEST_F(RequestGenerationTest, FirstRequestFromTheDefinition) {
  defined.Set(".genfirst", "/find?q=#KEYWORDS#&&n=#MAXMATCHES#&p=#TOTALPAGES+1#&");
  engine.m_pagesParsed = 4;  // left from an earlier query
  engine.m_firstPageResults = 9;
  EXPECT_EQ(S(engine.GenFirst()), "get http://find.example/find?q=red+shoes&n=30&p=1");
  EXPECT_EQ(engine.m_pagesParsed, 0);
  EXPECT_EQ(engine.m_firstPageResults, 0);
}

TEST_F(RequestGenerationTest, FirstRequestFillsTheHomePagesForm) {
  defined.Set(".genfirst", "#FORMNEXT#");
  defined.Set(".first_formstart", "<form");
  defined.Set(".first_keywordfield1", "q");
  defined.Set(".first_keywordfield2", "q2");
  defined.Set(".first_formchangename1", "num");
  defined.Set(".first_formchangeval1", "#MAXMATCHES#");
  defined.Set(".first_formchangename2", "lang");
  defined.Set(".first_formchangeval2", "de");
  engine.m_pageText =
      "<form action=\"search.cgi\" method=post><input name=q><input name=num value=10>"
      "<input type=hidden name=lang value=en><input type=image name=go src=go.gif></form>";
  EXPECT_EQ(S(engine.GenFirst()),
            "post http://find.example/search.cgi?go.x=12&go.y=5&num=30&q=red+shoes&lang=de");
}

TEST_F(RequestGenerationTest, FormNextWithoutAFormMarkerSendsTheFormAsItStands) {
  defined.Set(".genfirst", "#FORMNEXT#");
  engine.m_forms->Main().m_fields.SetAt("q", "x");
  EXPECT_EQ(S(engine.GenFirst()), "get http://find.example/index.html?q=x");
}

TEST_F(RequestGenerationTest, NextRequests) {
  AddResults(10);
  EXPECT_EQ(S(engine.GenNext()), "");        // no ".gennext": no further page
  EXPECT_EQ(engine.m_firstPageResults, 10);  // the count after the first page that gave any

  defined.Set(".gennext", "#NEXTURL#");
  engine.m_nextUrl = "";
  EXPECT_EQ(S(engine.GenNext()), "");  // the parser found no next link

  engine.m_nextUrl = "results?q=red shoes&start=10";
  EXPECT_EQ(S(engine.GenNext()), "get http://find.example/results?q=red%20shoes&start=10");

  defined.Set(".gennext", "post /find?q=#KEYWORDS#&start=#TOTALRESULTS#&first=#FIRSTPAGERESULTS#");
  AddResults(10);
  EXPECT_EQ(S(engine.GenNext()), "post http://find.example/find?q=red+shoes&start=20&first=10");
}

TEST_F(RequestGenerationTest, AmountToGetBeforeAnyPageStaysInTheRequest) {
  defined.Set(".gennext", "/find?n=#AMOUNTTOGET#");
  EXPECT_EQ(S(engine.GenNext()), "get http://find.example/find?n=#AMOUNTTOGET#");
  engine.m_pagesParsed = 1;
  EXPECT_EQ(S(engine.GenNext()), "get http://find.example/find?n=10");
}

// The first and the next request of a query against a served engine: the home page's form is
// sent with the keywords, and the next-page link of the result page is followed.
TEST(RequestGenerationOnLoopback, FirstAndNextRequestsReachTheEngine) {
  ASSERT_TRUE(SockletStartup());
  zbtest::HttpTestServer server;
  server.Route("/", zbtest::HttpResponse::Text(
                        "<html><body><p>Welcome</p><div id=search><form method=\"POST\" "
                        "action=\"/cgi-bin/find\"><input type=hidden name=sid value=\"s 1\">"
                        "<input type=text name=query><select name=n><option value=10>10"
                        "<option value=20 selected>20</select><input type=submit name=go "
                        "value=Find></form></div></body></html>"));
  server.Route("/cgi-bin/find",
               zbtest::HttpResponse::Text("<ol><li>one</li></ol><a href=\"/cgi-bin/find?"
                                          "query=red+shoes&amp;start=20\">Next page</a>"));
  ASSERT_TRUE(server.Start());
  {
    enginetest::DefinedEngine defined("Loopback Request Engine");
    CSearchEngine& engine = defined.engine;
    defined.Set(".genfirst", "#FORMNEXT#");
    defined.Set(".first_formstart", "<div id=search>");
    defined.Set(".first_keywordfield1", "query");
    defined.Set(".gennext", "#NEXTURL#");
    engine.m_keywords = "red shoes";

    engine.m_pageText = engine.GetPage(server.Url("/").c_str());
    CLibString first = engine.GenFirst();
    EXPECT_EQ(S(first), "post " + server.Url("/cgi-bin/find?go=Find&n=20&query=red+shoes&sid=s+1"));
    CLibString url;
    SplitRequest(first, &url, nullptr);
    engine.m_pageText = engine.PostPage(url);
    ASSERT_EQ(server.RequestCount(), 2u);
    zbtest::HttpRequest post = server.LastRequest();
    EXPECT_EQ(post.method, "POST");
    EXPECT_EQ(post.Path(), "/cgi-bin/find");
    EXPECT_EQ(post.body, "go=Find&n=20&query=red+shoes&sid=s+1");

    // What the result parser does for this page: take its next link.
    engine.m_nextUrl = FindLink(engine.m_pageText, "Next", 0);
    engine.m_pagesParsed = 1;
    CLibString next = engine.GenNext();
    EXPECT_EQ(S(next), "get " + server.Url("/cgi-bin/find?query=red+shoes&start=20"));
    SplitRequest(next, &url, nullptr);
    engine.GetPage(url);
    EXPECT_EQ(server.LastRequest().target, "/cgi-bin/find?query=red+shoes&start=20");
  }
  server.Stop();
  SockletCleanup();
}

}  // namespace
