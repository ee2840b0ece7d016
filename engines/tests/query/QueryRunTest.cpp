// The page loop of a query against a loopback server: which pages it fetches, when it stops, the
// events it raises, its pauses (counted on a test clock, never slept), and how fast a stop ends it.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "engines/query/DebugOptions.h"
#include "engines/db/EngineKeys.h"
#include "engines/db/SearchEngine.h"
#include "engines/tests/EngineTestSupport.h"
#include "engines/tests/query/QueryTimeline.h"
#include "foundation/net/Socklet.h"
#include "foundation/tests/net/NetTestSupport.h"
#include "tests/servers/HttpTestServer.h"

namespace {

using enginetest::Timeline;
using zbtest::HttpRequest;
using zbtest::HttpResponse;

// A result parser simple enough to know what the loop must do with each page: every "<li>" is a
// result, and "<next>address</next>" is the link to the next page.
class ScriptedEngine : public CSearchEngine {
 public:
  int32_t ParseResultsPage() override {
    ++m_pagesParsed;
    std::string page = m_pageText.c_str();
    parsed.push_back(page);
    size_t next = page.find("<next>");
    size_t end = page.find("</next>");
    m_nextUrl = next != std::string::npos && end != std::string::npos
                    ? page.substr(next + 6, end - next - 6).c_str()
                    : "";
    int found = 0;
    for (size_t at = page.find("<li>"); at != std::string::npos; at = page.find("<li>", at + 1)) {
      CSearchResult* record = new CSearchResult;
      record->m_index = GetResultCount();
      record->m_page = m_pageIndex;
      record->m_position = m_pageResults;
      record->m_text = page.substr(at, page.find("</li>", at) - at).c_str();
      RaiseEvent(kEngineResultFound, reinterpret_cast<uintptr_t>(record));
      m_results.Append(new CListNode(record));
      ++m_pageResults;
      ++found;
    }
    return found;
  }
  std::vector<CSearchResult> Results() const {
    std::vector<CSearchResult> out;
    for (CListNode* node = m_results.Head(); node; node = node->Next())
      out.push_back(*static_cast<CSearchResult*>(node->Payload()));
    return out;
  }

  std::vector<std::string> parsed;  // the page texts the parser was given
};

// A result page with `results` entries, with a link to the page of index `next` (none for -1).
std::string ResultPage(int index, int results, int next) {
  std::string page = "<html><body><h1>Page " + std::to_string(index) + "</h1><ul>";
  for (int i = 0; i < results; ++i)
    page += "<li>r" + std::to_string(index) + "-" + std::to_string(i) + "</li>";
  page += "</ul>";
  if (next >= 0) page += "<next>/search?q=x&page=" + std::to_string(next) + "</next>";
  return page + "</body></html>";
}

// The value of a field of a query text, empty when absent.
std::string Field(const std::string& query, const std::string& name) {
  size_t at = ("&" + query).find("&" + name + "=");
  if (at == std::string::npos) return std::string();
  size_t start = at + name.size() + 1;
  return query.substr(start, query.find('&', start) - start);
}

class QueryRunTest : public ::testing::Test {
 protected:
  static constexpr const char* kName = "Loop Engine";

  void SetUp() override {
    engine.m_name = kName;
    ASSERT_TRUE(server.Start());
    // Result pages by their index: /search?...&page=<n>; past the list: 404.
    server.Route("/search", [this](const HttpRequest& request) {
      std::lock_guard<std::mutex> hold(pagesMutex);
      std::string page = Field(request.Query(), "page");
      int index = page.empty() ? -1 : atoi(page.c_str());
      if (index < 0 || index >= static_cast<int>(pages.size()))
        return HttpResponse::Text("<h1>Not found</h1>", "text/html", 404);
      return pages[index];
    });
    Set(".genfirst", server.Url("/search?q=#KEYWORDS#&page=0"));
    Set(".gennext", "#NEXTURL#");
    timeline.Attach(engine);
  }
  void TearDown() override {
    for (const CLibString& name : keys) delete EngineKeyList.Remove(name);
    ResetDebugOptions();
  }

  void Set(const char* key, const std::string& value) {
    CLibString name = CLibString(kName) + key;
    EngineKeyList.SetAt(name, value.c_str());
    keys.push_back(name);
  }
  void Serve(std::vector<HttpResponse> list) {
    std::lock_guard<std::mutex> hold(pagesMutex);
    pages = std::move(list);
  }
  // Pages 0..count-1 with `results` results each, each linking to the next; the last has no link.
  void ServeChain(const std::vector<int>& results) {
    std::vector<HttpResponse> list;
    for (size_t i = 0; i < results.size(); ++i)
      list.push_back(HttpResponse::Text(
          ResultPage(static_cast<int>(i), results[i], i + 1 < results.size() ? int(i + 1) : -1)));
    Serve(std::move(list));
  }
  int32_t Run(int maxResults = 100, int timeout = 10) {
    return engine.RunQuery("blue widgets", maxResults, timeout);
  }
  std::vector<std::string> SearchTargets() const {
    std::vector<std::string> targets;
    for (const HttpRequest& request : server.Requests()) targets.push_back(request.target);
    return targets;
  }

  static std::vector<int> Page(int results) { return enginetest::PageSteps(results); }
  static std::vector<int> Query(const std::vector<std::vector<int>>& pages) {
    return enginetest::QuerySteps(pages);
  }

  nettest::ShortWaits waits;  // network time-outs in 20 ms steps
  Timeline timeline;          // outlives the engine, which reports to it
  zbtest::HttpTestServer server;
  std::mutex pagesMutex;
  std::vector<HttpResponse> pages;
  std::vector<CLibString> keys;
  ScriptedEngine engine;
};

TEST_F(QueryRunTest, FollowsThePagesUntilNoNextPageAndRaisesEveryStep) {
  ServeChain({3, 3, 2});
  EXPECT_EQ(Run(), 8);

  EXPECT_EQ(timeline.Steps(), Query({Page(3), Page(3), Page(2)}));
  EXPECT_EQ(timeline.LastData(kEngineQueryEnd), 1u);  // every connection went well
  std::vector<std::string> targets = SearchTargets();
  ASSERT_EQ(targets.size(), 3u);
  EXPECT_EQ(targets[0], "/search?q=blue+widgets&page=0");
  EXPECT_EQ(targets[2], "/search?q=x&page=2");  // the next link, resolved against the page
  // 11014 carries each page as fetched; the parser gets the same text.
  EXPECT_EQ(timeline.FetchedPages(), engine.parsed);
  EXPECT_EQ(engine.parsed[1], ResultPage(1, 3, 2));

  // Records know their page (the page index) and their place on it.
  std::vector<CSearchResult> results = engine.Results();
  ASSERT_EQ(results.size(), 8u);
  EXPECT_EQ(results[7].m_index, 7);
  EXPECT_EQ(results[7].m_page, 2);
  EXPECT_EQ(results[7].m_position, 1);
  EXPECT_EQ(engine.GetPageIndex(), 2);

  // Before each further page: 1 to 3 seconds, in short slices; none before the first page or
  // after the last.
  std::vector<unsigned long> pauses = timeline.Pauses();
  ASSERT_EQ(pauses.size(), 2u);
  for (unsigned long pause : pauses) {
    EXPECT_GE(pause, 1000u);
    EXPECT_LT(pause, 3000u);
  }
  // Idle ticks during the pauses keep the run informed.
  EXPECT_GE(timeline.Count(kEngineIdle), 8);
}

TEST_F(QueryRunTest, StopRules) {
  const struct {
    const char* name;
    std::vector<int> results;  // per page served
    bool alwaysNext;           // a next request whatever the page holds
    int maxResults;
    int requests;
    int parsedPages;
    int gathered;
  } cases[] = {
      // Enough results: the page that reaches the number ends the query; no page after it.
      {"result limit reached", {3, 3, 3, 3}, false, 5, 2, 2, 6},
      {"result limit met exactly", {3, 3, 3, 3}, false, 6, 2, 2, 6},
      // Four pages in a row without a result: the fifth is fetched but not looked at.
      {"pages without results", {0, 0, 0, 0, 0, 0, 0}, true, 100, 5, 4, 0},
      {"results, then four empty pages", {2, 0, 0, 0, 0, 0, 0}, true, 100, 6, 5, 2},
      {"an empty run is broken by a result", {0, 0, 0, 1, 0, 0, 0, 0, 0}, true, 100, 9, 8, 1},
      // A next request whose page is not there (404) ends the loop.
      {"next page missing", {1, 1}, true, 100, 3, 2, 2},
      // No further request from the definition.
      {"no next page", {4}, false, 100, 1, 1, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedEngine fresh;
    fresh.m_name = kName;
    Timeline cleanTimeline;
    cleanTimeline.Attach(fresh);
    server.ClearRequests();
    if (c.alwaysNext)
      Set(".gennext", server.Url("/search?q=#KEYWORDS#&page=#TOTALPAGES#"));
    else
      Set(".gennext", "#NEXTURL#");
    ServeChain(c.results);

    EXPECT_EQ(fresh.RunQuery("blue widgets", c.maxResults, 10), c.gathered);
    EXPECT_EQ(static_cast<int>(server.RequestCount()), c.requests);
    EXPECT_EQ(static_cast<int>(fresh.parsed.size()), c.parsedPages);
    EXPECT_EQ(cleanTimeline.Count(kEngineBeforeParse), c.parsedPages);
    EXPECT_EQ(cleanTimeline.Count(kEnginePageFetched), c.parsedPages);
    // No pause is spent on a page that will not be fetched.
    EXPECT_EQ(static_cast<int>(cleanTimeline.Pauses().size()), c.requests - 1);
  }
}

TEST_F(QueryRunTest, AnEmptyFirstPageEndsTheQueryWithoutPageEvents) {
  const struct {
    const char* name;
    HttpResponse first;
    uintptr_t success;
  } cases[] = {
      {"not found", HttpResponse::Text("<h1>gone</h1>", "text/html", 404), 1},
      {"empty body", HttpResponse::Text(""), 1},
      {"server error", HttpResponse::Text("oops", "text/plain", 500), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedEngine fresh;
    fresh.m_name = kName;
    Timeline clean;
    clean.Attach(fresh);
    Serve({c.first});
    EXPECT_EQ(fresh.RunQuery("blue widgets", 100, 10), 0);
    EXPECT_EQ(clean.Steps(), Query({}));
    EXPECT_EQ(clean.LastData(kEngineQueryEnd), c.success);
    EXPECT_TRUE(clean.Pauses().empty());
  }
}

TEST_F(QueryRunTest, NetworkFailuresRaiseTheirEventsAndEndTheQuery) {
  // Nothing listens on the first request's port: a failed connect, no page, and the query end
  // reports the failure.
  zbtest::HttpTestServer gone;
  ASSERT_TRUE(gone.Start());
  std::string deadUrl = gone.Url("/search?q=#KEYWORDS#&page=0");
  gone.Stop();
  Set(".genfirst", deadUrl);
  EXPECT_EQ(Run(), 0);
  EXPECT_GE(timeline.Count(kEngineConnectFailed), 1);
  EXPECT_EQ(timeline.Steps(), Query({}));
  EXPECT_EQ(timeline.LastData(kEngineQueryEnd), 0u);
}

TEST_F(QueryRunTest, ATimedOutFurtherPageEndsTheLoopAndKeepsTheResults) {
  ServeChain({2, 2});
  {
    std::lock_guard<std::mutex> hold(pagesMutex);
    pages[1].delayMs = 3000;  // far beyond the time-out of 25 steps of 20 ms
  }
  // The budget is wide enough that a loaded machine still serves the first page within it.
  EXPECT_EQ(Run(100, 25), 2);
  EXPECT_GE(timeline.Count(kEngineTimeout), 1);
  EXPECT_EQ(timeline.Steps(), Query({Page(2)}));
  EXPECT_EQ(timeline.LastData(kEngineQueryEnd), 0u);
}

// An engine that trickles its page a byte at a time is never quiet for a time-out, but the
// page's fetch is bounded as a whole: the query ends with what the earlier pages gave.
TEST_F(QueryRunTest, APageTrickledAByteAtATimeEndsTheQuery) {
  ServeChain({2, 2});
  {
    std::lock_guard<std::mutex> hold(pagesMutex);
    pages[1].body += "<!--" + std::string(20000, 'x') + "-->";
    pages[1].pieceSize = 1;
    pages[1].pieceDelayMs = 10;  // half a wait step; unbounded, the page would take minutes
  }
  EXPECT_EQ(Run(100, 5), 2);
  EXPECT_GE(timeline.Count(kEngineTimeout), 1);
  EXPECT_EQ(timeline.LastData(kEngineQueryEnd), 0u);
}

TEST_F(QueryRunTest, DamagedPagesAreParsedForWhatTheyHold) {
  std::string second = ResultPage(1, 3, 2);
  HttpResponse cut = HttpResponse::Text(second);
  cut.truncateAfter = cut.Wire().find("<li>r1-2");  // the connection drops inside the page
  HttpResponse junk = HttpResponse::Text("\x01\x02<li\x7f>><<</ul></li<li>");
  Serve({HttpResponse::Text(ResultPage(0, 1, 1)), cut, junk});
  Set(".gennext", server.Url("/search?q=#KEYWORDS#&page=#TOTALPAGES#"));
  EXPECT_EQ(Run(), 4);
  EXPECT_EQ(engine.parsed.size(), 3u);  // the fourth request is a 404 and ends the loop
  EXPECT_EQ(timeline.Steps(), Query({Page(1), Page(2), Page(1)}));
}

TEST_F(QueryRunTest, PausesHonourTheEnginesSpacing) {
  Set(".msbetweenrequests", "250");
  ServeChain({1, 1, 1});
  EXPECT_EQ(Run(), 3);
  std::vector<unsigned long> pauses = timeline.Pauses();
  ASSERT_EQ(pauses.size(), 2u);
  for (unsigned long pause : pauses) {
    EXPECT_GE(pause, 1250u);
    EXPECT_LT(pause, 3250u);
  }

  // Zero or a negative spacing adds nothing.
  for (const char* spacing : {"0", "-500", "soon"}) {
    SCOPED_TRACE(spacing);
    Set(".msbetweenrequests", spacing);
    ScriptedEngine fresh;
    fresh.m_name = kName;
    Timeline clean;
    clean.Attach(fresh);
    EXPECT_EQ(fresh.RunQuery("blue widgets", 100, 10), 3);
    for (unsigned long pause : clean.Pauses()) EXPECT_LT(pause, 3000u);
  }
}

// A stop must end a query within about a second, also while it pauses between two pages. The
// run stops an engine by answering false to its next event (or by aborting it from another
// thread); either way no further page may be fetched.
TEST_F(QueryRunTest, AStopDuringAPauseEndsTheQueryWithinASlice) {
  ServeChain({2, 2, 2});
  // Half a second into the first pause, the user presses Stop.
  timeline.afterSlice = [this](unsigned long slept) {
    if (slept >= 500) timeline.runStop = true;
  };
  EXPECT_EQ(Run(), 2);
  EXPECT_EQ(server.RequestCount(), 1u);
  EXPECT_LE(timeline.Slept(), 500u + 250u);
  EXPECT_EQ(timeline.Steps(), Query({Page(2)}));
}

TEST_F(QueryRunTest, AStopFromAnotherThreadEndsThePauseAtOnce) {
  const struct {
    const char* name;
    std::function<void(CSearchEngine&)> stop;
  } cases[] = {
      {"abort", [](CSearchEngine& e) { e.Abort(); }},
      {"stop flag", [](CSearchEngine& e) { e.SetStop(true); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ServeChain({2, 2, 2});
    server.ClearRequests();
    ScriptedEngine fresh;
    fresh.m_name = kName;
    Timeline clean;
    clean.realPercent = 10;  // a second of the product's pause is 100 ms here
    clean.Attach(fresh);
    HANDLE parsed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    clean.onEvent = [parsed](int code) {
      if (code == kEnginePageParsed) SetEvent(parsed);
    };
    std::atomic<unsigned long> sleptAtStop{0};
    std::thread stopper([&] {
      WaitForSingleObject(parsed, 10000);
      Sleep(30);
      c.stop(fresh);
      sleptAtStop = clean.Slept();
    });
    EXPECT_EQ(fresh.RunQuery("blue widgets", 100, 10), 2);
    stopper.join();
    CloseHandle(parsed);
    EXPECT_EQ(server.RequestCount(), 1u);
    // The slice under way when the stop came is the last one slept.
    EXPECT_LE(clean.Slept(), sleptAtStop + 250u);
  }
}

TEST_F(QueryRunTest, AStopDuringAFetchEndsTheQuery) {
  ServeChain({2, 2});
  {
    std::lock_guard<std::mutex> hold(pagesMutex);
    pages[1].delayMs = 5000;
  }
  std::thread stopper([&] {
    server.WaitForRequests(2, 10000);
    engine.Abort();
  });
  DWORD start = GetTickCount();
  EXPECT_EQ(Run(100, 45), 2);
  stopper.join();
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_GE(timeline.Count(kEngineAbort), 1);
  EXPECT_EQ(timeline.Count(kEngineTimeout), 0);
  EXPECT_EQ(timeline.Steps(), Query({Page(2)}));
}

TEST_F(QueryRunTest, AnAbortWhileParsingEndsTheLoopAfterThatPage) {
  // As with "stop when the site is found": the run answers false to a result event.
  ServeChain({3, 3});
  timeline.onEvent = [this](int code) {
    if (code == kEngineResultFound) timeline.runStop = true;
  };
  EXPECT_EQ(Run(), 3);
  EXPECT_EQ(server.RequestCount(), 1u);
  EXPECT_TRUE(timeline.Pauses().empty());
  EXPECT_EQ(timeline.Steps(), Query({Page(3)}));
}

TEST_F(QueryRunTest, AQueryStoppedBeforeItBeganFetchesNothing) {
  ServeChain({3});
  timeline.runStop = true;  // the query start event already finds the run stopped
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(timeline.Count(kEngineResolving), 0);  // not even a connect was tried
  EXPECT_EQ(server.RequestCount(), 0u);
  EXPECT_EQ(timeline.Steps(), Query({}));
}

TEST_F(QueryRunTest, AnEngineWithoutASearchRequestAsksNothing) {
  // A directory that only takes submissions: its home page is no result page.
  server.Route("/home", HttpResponse::Text(ResultPage(0, 3, -1)));
  Set(".homepage", server.Url("/home"));
  Set(".openhomepagefirst", "1");
  Set(".genfirst", "");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(timeline.Steps(), Query({}));
}

TEST_F(QueryRunTest, RedirectsAreFollowedToTheResults) {
  ServeChain({2, 1});
  // The search is a POST that the engine sends on, twice, to its result page.
  server.Route("/query", HttpResponse::Redirect("/hop?x=1"));
  server.Route("/hop", HttpResponse::Redirect(server.Url("/search?q=blue&page=0")));
  Set(".genfirst", "post " + server.Url("/query?q=#KEYWORDS#"));
  EXPECT_EQ(Run(), 3);
  std::vector<HttpRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].body, "q=blue+widgets");
  EXPECT_EQ(requests[2].target, "/search?q=blue&page=0");
  // The next link resolves against the page the redirects ended on.
  EXPECT_EQ(requests[3].target, "/search?q=x&page=1");
  EXPECT_EQ(timeline.Steps(), Query({Page(2), Page(1)}));
}

TEST_F(QueryRunTest, MetaRefreshesAreFollowedOnceWhenTheEngineAsks) {
  const std::string results = ResultPage(0, 2, -1);
  server.Route("/results", HttpResponse::Text(results));
  const std::string absolute = server.Url("/results?from=refresh");
  const struct {
    const char* name;
    std::string tag;
  } cases[] = {
      {"plain", "<meta http-equiv=\"refresh\" content=\"0;URL=" + absolute + "\">"},
      {"blank after the delay",
       "<meta http-equiv=\"refresh\" content=\"0; URL=" + absolute + "\">"},
      {"lower case", "<META HTTP-EQUIV=\"Refresh\" CONTENT=\"0; url=" + absolute + "\">"},
      {"quoted address", "<meta http-equiv=\"refresh\" content=\"0; URL='" + absolute + "'\">"},
      {"unquoted", "<meta http-equiv=refresh content=0;url=" + absolute + ">"},
      {"delayed", "<meta http-equiv=\"refresh\" content=\"3;URL=" + absolute + "\">"},
      {"relative", "<meta http-equiv=\"refresh\" content=\"0;URL=/results?from=refresh\">"},
  };
  Set(".followmetarefresh", "1");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string refreshPage = "<html><head>" + c.tag + "</head><body>Searching...</body></html>";
    Serve({HttpResponse::Text(refreshPage)});
    server.ClearRequests();
    ScriptedEngine fresh;
    fresh.m_name = kName;
    Timeline clean;
    clean.Attach(fresh);
    EXPECT_EQ(fresh.RunQuery("blue widgets", 100, 10), 2);
    ASSERT_EQ(server.RequestCount(), 2u);
    EXPECT_EQ(server.Requests()[1].target, "/results?from=refresh");
    // 11014 shows the page as it came; the parser reads the page it refreshed to.
    EXPECT_EQ(clean.FetchedPages(), std::vector<std::string>{refreshPage});
    EXPECT_EQ(fresh.parsed, std::vector<std::string>{results});
  }

  // Without the key the refresh page itself is read; a refresh to a missing page leaves an empty
  // page to read.
  Set(".followmetarefresh", "0");
  std::string refreshPage = "<meta http-equiv=\"refresh\" content=\"0;URL=" + absolute + "\">";
  Serve({HttpResponse::Text(refreshPage)});
  ScriptedEngine plain;
  plain.m_name = kName;
  EXPECT_EQ(plain.RunQuery("blue widgets", 100, 10), 0);
  EXPECT_EQ(plain.parsed, std::vector<std::string>{refreshPage});

  Set(".followmetarefresh", "1");
  Serve({HttpResponse::Text("<meta http-equiv=\"refresh\" content=\"0;URL=/nowhere\">")});
  ScriptedEngine missing;
  missing.m_name = kName;
  EXPECT_EQ(missing.RunQuery("blue widgets", 100, 10), 0);
  EXPECT_EQ(missing.parsed, std::vector<std::string>{""});
}

TEST_F(QueryRunTest, HomePageFirstAndTheEnginesRequestSettings) {
  // The home page sets a cookie that the search needs; the engine asks over HTTP/1.1.
  server.Route("/home", HttpResponse::Text("<p>home</p>").Header("Set-Cookie", "sid=42; path=/"));
  Set(".homepage", server.Url("/home"));
  Set(".openhomepagefirst", "1");
  Set(".httpversion", " HTTP/1.1");
  ServeChain({1, 1});
  EXPECT_EQ(Run(), 2);
  std::vector<HttpRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].target, "/home");
  EXPECT_NE(requests[1].Header("Cookie").find("sid=42"), std::string::npos);
  for (const HttpRequest& request : requests) EXPECT_EQ(request.version, "HTTP/1.1");
  // The home page is no result page.
  EXPECT_EQ(timeline.Steps(), Query({Page(1), Page(1)}));

  // A form marker for the first request also brings the home page first; "UTF-8" engines speak
  // as one of the newer browsers.
  const struct {
    const char* key;
    const char* value;
    bool homePage;
  } cases[] = {
      {".openhomepagefirst", "0", false},
      {".openhomepagefirst", "2", false},
      {".first_formstart", "<form", true},
  };
  Set(".charset", "UTF-8");
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    Set(".openhomepagefirst", "0");
    Set(".first_formstart", "");
    Set(c.key, c.value);
    server.ClearRequests();
    ScriptedEngine fresh;
    fresh.m_name = kName;
    EXPECT_EQ(fresh.RunQuery("blue widgets", 100, 10), 2);
    std::vector<HttpRequest> seen = server.Requests();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0].target == "/home", c.homePage);
    std::string agent = seen.back().Header("User-Agent");
    bool newer = false;
    for (int i = CSockHttpClient::kBrowserCount - 7; i < CSockHttpClient::kBrowserCount; ++i)
      newer = newer || agent == CSockHttpClient::kBrowserAgents[i];
    EXPECT_TRUE(newer) << agent;
  }
}

TEST_F(QueryRunTest, TheFirstRequestsGoToTheEnginesOwnAddress) {
  // The engine's host name is unknown to the name service; its address is in the definition.
  // Dotless names with a port, localhost among them, are hosts as much as dotted ones.
  nettest::FakeNames names({});
  server.Route("/home", HttpResponse::Text("<p>home</p>"));
  for (const char* name : {"search.zb-engine.test", "localhost", "enginebox"}) {
    SCOPED_TRACE(name);
    std::string host = name + (":" + std::to_string(server.Port()));
    Set(".homepage", "http://" + host + "/home");
    Set(".openhomepagefirst", "1");
    Set(".genfirst", "http://" + host + "/search?q=#KEYWORDS#&page=0");
    Set(".genfirst_iaddr", server.Address());
    ServeChain({1, 1});
    server.ClearRequests();
    ScriptedEngine fresh;
    fresh.m_name = kName;
    EXPECT_EQ(fresh.RunQuery("blue widgets", 100, 10), 2);
    std::vector<HttpRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    for (const HttpRequest& request : requests) EXPECT_EQ(request.Header("Host"), host);
    EXPECT_EQ(requests[1].Path(), "/search");
  }
}

TEST_F(QueryRunTest, ADumpingRunReadsThreePagesAndLogsThem) {
  enginetest::TempFolder folder;
  SetDebugOptions(folder.File("").c_str());
  Set(".homepage", server.Url("/home"));
  Set(".openhomepagefirst", "1");
  server.Route("/home", HttpResponse::Text("<p>home page</p>"));
  ScriptedEngine dumping;  // takes the debug flag when made
  dumping.m_name = kName;
  ServeChain({3, 0, 2, 4, 4});
  EXPECT_EQ(dumping.RunQuery("blue widgets", 100, 10), 5);
  EXPECT_EQ(dumping.parsed.size(), 3u);

  auto read = [&](const std::string& name) {
    CLibString text;
    text.ReadFromFile(folder.File(std::string(kName) + name).c_str());
    return std::string(text.c_str());
  };
  EXPECT_EQ(read(".ResultsPerPage.txt"), "3;0;2");
  EXPECT_EQ(read(".homepage.htm"), "<p>home page</p>");
  EXPECT_EQ(read(".GenerateNext.1.txt"), "get " + server.Url("/search?q=x&page=1"));
  EXPECT_EQ(read(".GenerateNext.3.txt"), "get " + server.Url("/search?q=x&page=3"));
}

TEST(SendForm, TakesTheMethodFromTheRequestOrTheCaller) {
  nettest::ShortWaits waits;
  zbtest::HttpTestServer server;
  ASSERT_TRUE(server.Start());
  server.Route("/form", [](const HttpRequest& r) { return HttpResponse::Text(r.method); });
  const struct {
    std::string request;
    const char* method;
    const char* sent;
    const char* target;
    const char* body;
  } cases[] = {
      {"post " + server.Url("/form?a=1&b=2"), nullptr, "POST", "/form", "a=1&b=2"},
      {"POST " + server.Url("/form?a=1"), nullptr, "POST", "/form", "a=1"},
      {"get " + server.Url("/form?a=1"), nullptr, "GET", "/form?a=1", ""},
      {server.Url("/form?a=1"), nullptr, "GET", "/form?a=1", ""},
      // With a method of the caller's, the request is a bare address.
      {server.Url("/form?a=1"), "POST", "POST", "/form", "a=1"},
      {server.Url("/form?a=1"), "Get", "GET", "/form?a=1", ""},
      // Line ends inside a request built from a definition value are no part of it.
      {"post " + server.Url("/form?a=1\r\n&b=2\n"), nullptr, "POST", "/form", "a=1&b=2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.request);
    server.ClearRequests();
    CSearchEngine engine;
    CLibString page;
    CLibString returned = engine.SendForm(page, c.request.c_str(), c.method, CLibString());
    EXPECT_EQ(std::string(page.c_str()), c.sent);
    EXPECT_EQ(std::string(returned.c_str()), c.sent);
    ASSERT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(server.LastRequest().method, c.sent);
    EXPECT_EQ(server.LastRequest().target, c.target);
    EXPECT_EQ(server.LastRequest().body, c.body);
  }

  // A failure gives an empty page.
  server.Route("/form", HttpResponse::Text("denied", "text/plain", 403));
  CSearchEngine engine;
  CLibString page = "old";
  EXPECT_EQ(std::string(engine.SendForm(page, server.Url("/form").c_str(), nullptr, "").c_str()),
            "");
  EXPECT_EQ(std::string(page.c_str()), "");
}

}  // namespace
