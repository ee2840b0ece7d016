#include "foundation/net/SockHttpClient.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "foundation/tests/net/NetTestSupport.h"
#include "tests/servers/HttpTestProxy.h"
#include "tests/servers/HttpTestServer.h"

namespace {

using zbtest::HttpRequest;
using zbtest::HttpResponse;
using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

std::string Str(const CLibString& s) {
  return s.c_str();
}

class HttpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Start());
    CSockHttpClient::ClearCookieJar();
    log.Attach(client);
  }
  void TearDown() override { CSockHttpClient::ClearCookieJar(); }

  CLibString Url(const std::string& path) { return server.Url(path).c_str(); }

  nettest::ShortWaits waits;
  zbtest::HttpTestServer server;
  nettest::EventLog log;  // outlives the client, which reports its own end
  CSockHttpClient client;
};

TEST_F(HttpClientTest, GetSendsTheHeadersInOrderAndReportsEachStep) {
  server.Route("/dir/page.html", HttpResponse::Text("<p>hello</p>"));
  client.SetRequestHeader("X-Extra", "1");
  client.SetRequestHeader("X-Empty", "");

  CLibString page = client.GetPage(Url("/dir/page.html?q=a+b"));

  EXPECT_EQ(Str(page), "<p>hello</p>");
  EXPECT_EQ(client.GetStatus(), 200);
  EXPECT_EQ(Str(client.GetStatusText()), "OK");
  EXPECT_EQ(Str(client.GetResponseHeader("content-type")), "text/html");
  ASSERT_EQ(server.RequestCount(), 1u);
  HttpRequest r = server.LastRequest();
  EXPECT_EQ(r.method + " " + r.target + " " + r.version, "GET /dir/page.html?q=a+b HTTP/1.0");
  // The first seven headers in their fixed order, the others after them; empty ones not at all.
  std::string expected =
      "GET /dir/page.html?q=a+b HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) +
      "\r\nAccept: " + std::string(CSockHttpClient::kBrowserAccept) +
      "\r\nUser-Agent: " + r.Header("User-Agent") + "\r\nConnection: close\r\nX-Extra: 1\r\n\r\n";
  EXPECT_EQ(r.head, expected);
  EXPECT_FALSE(r.HasHeader("Referer"));  // nothing came before

  // resolving, connected, GET built, headers about to go and gone, request out, each response
  // line, the empty line of success, body progress, the peer's close, page done.
  std::vector<int> steps = {103, 104, 200, 209, 210, 206, 207, 119, 112, 201};
  EXPECT_EQ(log.Steps(), steps);
  std::vector<std::string> lines = log.Texts(207);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines.front(), "HTTP/1.0 200 OK");
  EXPECT_EQ(lines.back(), "");
  ASSERT_FALSE(log.progress.empty());
  EXPECT_EQ(log.progress.front(), std::make_pair(0u, 12u));
  EXPECT_EQ(log.progress.back(), std::make_pair(12u, 12u));
  EXPECT_FALSE(client.IsConnected());  // "Connection: close" on both sides

  // The next request names the first one as its Referer.
  server.Route("/next", HttpResponse::Text("n"));
  client.GetPage(Url("/next"));
  EXPECT_EQ(server.LastRequest().Header("Referer"), server.Url("/dir/page.html?q=a+b"));
}

TEST_F(HttpClientTest, AsksForThePathAsWritten) {
  server.SetFallback([](const HttpRequest& r) { return HttpResponse::Text(r.target); });
  struct Case {
    const char* url;
    const char* target;
  } cases[] = {
      {"/search", "/search"},
      {"/dir/", "/dir/"},
      {"/a/page.html", "/a/page.html"},
      {"../up.htm?x=1#frag", "/up.htm?x=1"},  // relative to the page before
      {"/b/page.html", "/b/page.html"},
      {"next", "/b/next"},
      {"/q?", "/q"},
      {"/f#top", "/f"},
  };
  for (const Case& c : cases) {
    std::string url = c.url[0] == '/' ? server.Url(c.url) : c.url;
    EXPECT_EQ(Str(client.GetPage(url.c_str())), c.target) << c.url;
  }
}

TEST_F(HttpClientTest, ReadsEveryKindOfBody) {
  std::string body;
  for (int i = 0; i < 500; ++i) body += "line " + std::to_string(i) + "\n";
  struct Case {
    const char* name;
    HttpResponse response;
  };
  HttpResponse length = HttpResponse::Text(body, "text/plain");
  HttpResponse closing = length;
  closing.framing = HttpResponse::Body::Close;
  HttpResponse chunked = length;
  chunked.framing = HttpResponse::Body::Chunked;
  chunked.chunkSize = 777;
  chunked.chunkExtension = ";name=value";
  chunked.trailers = {{"X-Trailer", "done"}};
  HttpResponse slow = length;
  slow.pieceSize = 1000;
  slow.pieceDelayMs = 5;
  HttpResponse continued = length;
  continued.continueFirst = true;
  // A "<" in a header value is no reason to end the head.
  HttpResponse linked = length;
  linked.Header("Link", "</style.css>; rel=preload");
  std::vector<Case> cases = {{"length", length}, {"close", closing},       {"chunked", chunked},
                             {"slow", slow},     {"100 first", continued}, {"link", linked}};
  int n = 0;
  for (const Case& c : cases) {
    std::string path = "/body" + std::to_string(n++);
    server.Route(path, c.response);
    CLibString page = client.GetPage(Url(path));
    EXPECT_EQ(Str(page), body) << c.name;
    // Reading the trailer of a chunked body leaves the status of the response.
    EXPECT_EQ(client.GetStatus(), 200) << c.name;
    if (std::string(c.name) == "chunked") {
      EXPECT_EQ(Str(client.GetResponseHeader("x-trailer")), "done");
    }
  }

  server.Route("/empty", HttpResponse::Text(""));
  auto start = Clock::now();
  EXPECT_EQ(Str(client.GetPage(Url("/empty"))), "");
  EXPECT_EQ(client.GetStatus(), 200);
  EXPECT_LT(MsSince(start), 1000);
}

TEST_F(HttpClientTest, KeepsAtMostAboutOneHundredFiftyThousandBytesInMemory) {
  std::string big(400000, 'x');
  HttpResponse closing = HttpResponse::Text(big, "text/plain");
  closing.framing = HttpResponse::Body::Close;
  server.Route("/big", closing);
  CLibString page = client.GetPage(Url("/big"));
  EXPECT_GT(page.GetLength(), CSockHttpClient::kMaxBodyInMemory);
  EXPECT_LT(page.GetLength(), CSockHttpClient::kMaxBodyInMemory + 4096);
}

TEST_F(HttpClientTest, AnAnswerWithoutAValidStatusLineFails) {
  std::vector<std::string> answers = {
      "<html><body>no head at all</body></html>",
      "garbage\r\n\r\nbody",
      "HTTP/1.0 abc Broken\r\n\r\nbody",
      "HTTP/1.0\r\n\r\nbody",
      "",
  };
  int n = 0;
  for (const std::string& raw : answers) {
    HttpResponse r;
    r.raw = raw.empty() ? std::string(" ") : raw;
    if (raw.empty()) r.truncateAfter = 0;
    std::string path = "/bad" + std::to_string(n++);
    server.Route(path, r);
    EXPECT_FALSE(client.Request(kHttpGet, Url(path))) << raw;
    EXPECT_EQ(client.GetStatus(), 0) << raw;
    EXPECT_EQ(Str(client.GetPage(Url(path + "?again"))), "") << raw;
  }
}

TEST_F(HttpClientTest, AnOverlongHeaderLineFailsTheRequestCleanly) {
  HttpResponse r = HttpResponse::Text("body");
  r.Header("X-Long", std::string(70000, 'a'));
  server.Route("/long", r);
  auto start = Clock::now();
  EXPECT_FALSE(client.Request(kHttpGet, Url("/long")));
  EXPECT_EQ(client.GetStatus(), 0);
  EXPECT_FALSE(client.IsConnected());
  EXPECT_LT(MsSince(start), 2000);
  EXPECT_FALSE(log.Has(113));  // failed at once, not by a time-out

  // A status line that long fails the same way; the client is fine for the next request.
  HttpResponse longStatus;
  longStatus.raw = "HTTP/1.0 200 " + std::string(70000, 'b') + "\r\n\r\nbody";
  server.Route("/longstatus", longStatus);
  EXPECT_FALSE(client.Request(kHttpGet, Url("/longstatus")));
  server.Route("/fine", HttpResponse::Text("fine"));
  EXPECT_EQ(Str(client.GetPage(Url("/fine"))), "fine");
}

TEST_F(HttpClientTest, AKeptConnectionIsReusedOnlyWithNothingLeftInIt) {
  client.SetRequestHeader("Connection", "keep-alive");
  auto keep = [](HttpResponse r) {
    r.keepAlive = true;
    return r;
  };
  server.Route("/a", keep(HttpResponse::Text("first")));
  server.Route("/b", keep(HttpResponse::Text("second")));
  server.Route("/missing", keep(HttpResponse::Text("error page body", "text/html", 404)));
  server.Route("/c", keep(HttpResponse::Text("third")));

  EXPECT_EQ(Str(client.GetPage(Url("/a"))), "first");
  EXPECT_TRUE(client.IsConnected());
  EXPECT_EQ(Str(client.GetPage(Url("/b"))), "second");
  EXPECT_EQ(server.ConnectionCount(), 1);  // both read to the end: one connection

  // An error leaves its body unread; the next request must not read it as its own answer.
  EXPECT_EQ(Str(client.GetPage(Url("/missing"))), "");
  EXPECT_EQ(client.GetStatus(), 404);
  EXPECT_EQ(Str(client.GetPage(Url("/c"))), "third");
  EXPECT_EQ(client.GetStatus(), 200);
  EXPECT_EQ(server.ConnectionCount(), 2);

  // Another server on the same address but another port gets its own connection.
  zbtest::HttpTestServer other;
  ASSERT_TRUE(other.Start());
  other.Route("/d", keep(HttpResponse::Text("other server")));
  EXPECT_EQ(Str(client.GetPage(other.Url("/d").c_str())), "other server");
  EXPECT_EQ(other.RequestCount(), 1u);
}

TEST_F(HttpClientTest, FollowsRedirectsWithTheFirstReferer) {
  zbtest::HttpTestServer other;
  ASSERT_TRUE(other.Start());
  server.Route("/start", HttpResponse::Text("start"));
  server.Route("/r1.html", HttpResponse::Redirect("r2 x.html"));  // relative, with a blank
  server.Route("/r2%20x.html", HttpResponse::Redirect(other.Url("/abs")));
  other.Route("/abs", HttpResponse::Redirect("/final.html"));
  other.Route("/final.html", HttpResponse::Text("arrived"));

  client.GetPage(Url("/start"));
  EXPECT_EQ(Str(client.GetPage(Url("/r1.html"))), "arrived");
  EXPECT_EQ(client.GetStatus(), 200);
  EXPECT_EQ(Str(client.GetCurrentUrl().GetUrl()), other.Url("/final.html"));
  EXPECT_EQ(client.GetRedirectDepth(), 0);
  ASSERT_EQ(other.RequestCount(), 2u);
  for (const HttpRequest& r : other.Requests()) {
    EXPECT_EQ(r.method, "GET");
    EXPECT_EQ(r.Header("Referer"), server.Url("/start"));
  }
  EXPECT_EQ(server.Requests()[2].target, "/r2%20x.html");
}

TEST_F(HttpClientTest, AChainOfNineRedirectsEndsAtTheNinthResponse) {
  for (int i = 1; i <= 9; ++i) {
    HttpResponse r = HttpResponse::Redirect("/hop" + std::to_string(i + 1));
    r.body = "hop " + std::to_string(i);
    server.Route("/hop" + std::to_string(i), r);
  }
  server.Route("/hop10", HttpResponse::Text("too far"));
  EXPECT_TRUE(client.Request(kHttpGet, Url("/hop1")));
  EXPECT_EQ(client.GetStatus(), 302);
  EXPECT_EQ(Str(client.GetResponseHeader("location")), "/hop10");
  CLibString body;
  client.ReadBody(body);
  EXPECT_EQ(Str(body), "hop 9");
  EXPECT_EQ(server.RequestCount(), 9u);

  // A redirect to itself ends the same way, without looping.
  server.Route("/self", HttpResponse::Redirect("/self"));
  server.ClearRequests();
  CSockHttpClient fresh;
  EXPECT_TRUE(fresh.Request(kHttpGet, Url("/self")));
  EXPECT_EQ(fresh.GetStatus(), 302);
  EXPECT_LE(server.RequestCount(), 10u);
}

TEST_F(HttpClientTest, TheEleventhRequestOfOneUrlInARowFailsWithoutTraffic) {
  server.Route("/same", HttpResponse::Text("same"));
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(Str(client.GetPage(Url("/same"))), "same") << i;
  EXPECT_EQ(Str(client.GetPage(Url("/same"))), "");
  EXPECT_EQ(server.RequestCount(), 10u);
  // The count starts again: the URL works once more, and so does another one.
  EXPECT_EQ(Str(client.GetPage(Url("/same"))), "same");
}

TEST_F(HttpClientTest, PostTakesItsBodyFromTheQuery) {
  server.Route("/form", [](const HttpRequest& r) {
    return HttpResponse::Text("got " + r.body, "text/plain");
  });
  struct Case {
    const char* url;
    const char* target;
    const char* body;
  } cases[] = {
      {"/form?keep=1 a=1&b=2", "/form?keep=1", "a=1&b=2"},
      {"/form?&a=1&b=2", "/form", "a=1&b=2"},
      {"/form?a=1&b=2", "/form", "a=1&b=2"},
      {"/form?color=#fff", "/form", "color=#fff"},  // data, not a fragment
  };
  for (const Case& c : cases) {
    log.Clear();
    CLibString page = client.PostPage(Url(c.url));
    std::vector<int> steps = {103, 104, 202, 209, 210, 206, 207, 119, 112, 203};
    EXPECT_EQ(log.Steps(), steps) << c.url;
    HttpRequest r = server.LastRequest();
    EXPECT_EQ(r.method, "POST") << c.url;
    EXPECT_EQ(r.target, c.target) << c.url;
    EXPECT_EQ(r.body, c.body) << c.url;
    EXPECT_EQ(r.Header("Content-Type"), "application/x-www-form-urlencoded") << c.url;
    EXPECT_EQ(r.Header("Content-Length"), std::to_string(strlen(c.body))) << c.url;
    EXPECT_EQ(Str(page), std::string("got ") + c.body) << c.url;
  }

  // An empty body says so; a GET after a POST carries no body headers.
  client.PostPage(Url("/form"));
  EXPECT_EQ(server.LastRequest().Header("Content-Length"), "0");
  EXPECT_EQ(server.LastRequest().body, "");
  server.Route("/plain", HttpResponse::Text("plain"));
  client.GetPage(Url("/plain"));
  EXPECT_FALSE(server.LastRequest().HasHeader("Content-Length"));
  EXPECT_FALSE(server.LastRequest().HasHeader("Content-Type"));
}

TEST_F(HttpClientTest, HeadReadsNoBodyAndFollowsNoLocation) {
  server.Route("/h", HttpResponse::Redirect("/elsewhere"));
  auto start = Clock::now();
  EXPECT_TRUE(client.Request(kHttpHead, Url("/h?x=1")));
  EXPECT_EQ(server.LastRequest().method + " " + server.LastRequest().target, "HEAD /h?x=1");
  EXPECT_EQ(client.GetStatus(), 302);
  CLibString body;
  EXPECT_EQ(client.ReadBody(body), 0);  // the length is the GET's; no body follows a HEAD
  EXPECT_LT(MsSince(start), 1000);
  EXPECT_EQ(server.RequestCount(), 1u);
  EXPECT_TRUE(log.Has(204));
}

TEST_F(HttpClientTest, OnlyAcceptedTypesAreRead) {
  server.Route("/t", HttpResponse::Text("typed", "text/html; charset=utf-8"));
  server.Route("/i", HttpResponse::Text("GIF89a", "image/gif"));
  client.SetRequestHeader("Accept", "");
  EXPECT_EQ(Str(client.GetPage(Url("/t"))), "typed");
  EXPECT_EQ(Str(client.GetPage(Url("/i"))), "");
  EXPECT_EQ(client.GetStatus(), 200);
  client.SetRequestHeader("Accept", "*/*");
  EXPECT_EQ(Str(client.GetPage(Url("/i"))), "GIF89a");
}

TEST_F(HttpClientTest, TwoCookiesOfOneResponseGoBackOnOneLine) {
  server.Route("/set", HttpResponse::Text("set")
                           .Header("Set-Cookie", "a=1; path=/")
                           .Header("Set-Cookie", "b=2=x&y; Path=/"));
  server.Route("/show", HttpResponse::Text("show"));
  client.GetPage(Url("/set"));
  EXPECT_EQ(log.Texts(208), (std::vector<std::string>{"a=1; path=/", "b=2=x&y; Path=/"}));
  EXPECT_EQ(CSockHttpClient::GetCookieJar().GetCount(), 2u);
  client.GetPage(Url("/show"));
  HttpRequest r = server.LastRequest();
  EXPECT_EQ(r.HeaderCount("Cookie"), 1);
  EXPECT_EQ(r.Header("Cookie"), "a=1; b=2=x&y");

  // Another client of the process shares the jar; a client told not to send cookies sends none.
  CSockHttpClient second;
  second.GetPage(Url("/show?second"));
  EXPECT_EQ(server.LastRequest().Header("Cookie"), "a=1; b=2=x&y");
  second.SetSendCookies(false);
  second.GetPage(Url("/show?third"));
  EXPECT_FALSE(server.LastRequest().HasHeader("Cookie"));
}

TEST_F(HttpClientTest, CookiesGoOnlyWhereTheirDomainAndPathMatch) {
  struct Case {
    const char* setter;
    const char* header;
    const char* request;
    bool sent;
  } cases[] = {
      {"http://www.site.test/", "a=1", "http://www.site.test/x.html", true},
      {"http://www.site.test/", "a=1", "http://a.www.site.test/", false},  // host only
      {"http://www.site.test/", "a=1", "http://site.test/", false},
      {"http://www.site.test/", "a=1; Domain=site.test", "http://shop.site.test/", true},
      {"http://www.site.test/", "a=1; domain=.SITE.test", "http://site.test/", true},
      {"http://www.site.test/", "a=1; Domain=site.test", "http://notsite.test/", false},
      {"http://www.site.test/", "a=1; Domain=site.test", "http://site.test.evil.test/", false},
      {"http://www.site.test/", "a=1; Domain=other.test", "http://www.other.test/", false},
      {"http://www.site.test/", "a=1; Domain=test", "http://any.test/", false},
      {"http://127.0.0.1/", "a=1; Domain=0.0.1", "http://127.0.0.1/", false},
      {"http://127.0.0.1/", "a=1", "http://127.0.0.1/", true},
      {"http://www.site.test/", "a=1; path=/private", "http://www.site.test/private/x.html", true},
      {"http://www.site.test/", "a=1; path=/private", "http://www.site.test/private", true},
      {"http://www.site.test/", "a=1; path=/private", "http://www.site.test/privateer.html", false},
      {"http://www.site.test/", "a=1; path=/private", "http://www.site.test/", false},
      {"http://www.site.test/", "a=1; path=/private/", "http://www.site.test/private/y.htm", true},
  };
  for (const Case& c : cases) {
    CSockHttpClient::ClearCookieJar();
    CNVList response;
    response.SetAt("set-cookie0", c.header);
    client.SetCookies(response, CUrl(c.setter));
    CNVList headers;
    headers.SetAt("Cookie: stale=1", "");
    client.AddCookieHeaders(CUrl(c.request), headers);
    EXPECT_EQ(Str(CSockHttpClient::FormatCookieLine(headers)), c.sent ? "Cookie: a=1\r\n" : "")
        << c.setter << " | " << c.header << " | " << c.request;
  }
}

TEST_F(HttpClientTest, ProxyGetsAbsoluteTargetsAndPaddedBasicAuthorization) {
  zbtest::HttpTestProxy proxy("zbuser", "secret");
  ASSERT_TRUE(proxy.Start());
  server.Route("/via", HttpResponse::Text("through the proxy"));
  client.SetProxy(CInetAddress(0x7F000001u, proxy.Port()), "zbuser", "secret");

  EXPECT_EQ(Str(client.GetPage(Url("/via?x=1#frag"))), "through the proxy");
  HttpRequest r = proxy.LastRequest();
  EXPECT_EQ(r.target, server.Url("/via?x=1"));
  EXPECT_EQ(r.Header("Proxy-Authorization"),
            "Basic " + zbtest::HttpTestProxy::Base64("zbuser:secret"));
  EXPECT_EQ(r.Header("Proxy-Connection"), "close");
  EXPECT_FALSE(r.HasHeader("Connection"));
  EXPECT_EQ(r.Header("Pragma"), "no-cache");
  EXPECT_EQ(proxy.ForwardedCount(), 1);
  EXPECT_FALSE(log.Has(209));  // those report the direct road only
  EXPECT_EQ(Str(client.GetRequestHeader("Connection")), "close");  // the client's own stay

  // A name the client cannot resolve is the proxy's to find: nothing is looked up here.
  nettest::FakeNames names({});
  client.GetPage(CLibString("http://unknown.example.test/page.html"));
  EXPECT_EQ(nettest::FakeNames::Lookups(), 0);
  EXPECT_EQ(proxy.LastRequest().target, "http://unknown.example.test/page.html");

  CSockHttpClient wrong;
  wrong.SetProxy(CInetAddress(0x7F000001u, proxy.Port()), "zbuser", "wrong");
  EXPECT_EQ(Str(wrong.GetPage(Url("/via?y"))), "");
  EXPECT_EQ(wrong.GetStatus(), 407);
}

TEST_F(HttpClientTest, AnInterfaceAddressTakesThePlaceOfTheHostsAddress) {
  // Dotted names and dotless ones that carry a port or are "localhost" alike: the request goes
  // to the given address on the URL's port, and names the URL's host.
  nettest::FakeNames names({});
  server.Route("/engine", HttpResponse::Text("engine page"));
  for (const char* host : {"www.engine.test", "localhost", "enginebox"}) {
    SCOPED_TRACE(host);
    CLibString url = CLibString("http://") + host + ":" + CLibString(server.Port()) + "/engine";
    EXPECT_EQ(Str(client.GetPage(url, -1, "127.0.0.1")), "engine page");
    EXPECT_EQ(server.LastRequest().Header("Host"), host + (":" + std::to_string(server.Port())))
        << "a port other than 80 goes into Host";
    EXPECT_EQ(server.LastRequest().target, "/engine");
    EXPECT_EQ(nettest::FakeNames::Lookups(), 0);
    // The address is remembered for the host, so the next request finds it without a look-up.
    EXPECT_EQ(Str(client.GetPage(url + "?again")), "engine page");
    EXPECT_EQ(nettest::FakeNames::Lookups(), 0);
  }
}

TEST_F(HttpClientTest, FailuresAreQuickAndReported) {
  // Refused: at once, with its hook.
  unsigned short port;
  {
    zbtest::HttpTestServer gone;
    ASSERT_TRUE(gone.Start());
    port = gone.Port();
  }
  auto start = Clock::now();
  CLibString url = CLibString("http://127.0.0.1:") + CLibString(port) + "/x";
  EXPECT_EQ(Str(client.GetPage(url)), "");
  EXPECT_TRUE(log.Has(106));
  EXPECT_LT(MsSince(start), 2000);

  // A server that stops answering: the time-out (in short test steps) ends the wait.
  HttpResponse stall = HttpResponse::Text(std::string(5000, 's'));
  stall.stallAfter = 200;
  server.Route("/stall", stall);
  client.SetTimeout(5);
  log.Clear();
  start = Clock::now();
  CLibString page = client.GetPage(Url("/stall"));
  EXPECT_LT(page.GetLength(), 200);
  EXPECT_TRUE(log.Has(113));
  EXPECT_LT(MsSince(start), 3000);

  // Abort from the callback: the body read stops with its hook.
  server.Route("/long", HttpResponse::Text(std::string(100000, 'l')));
  log.Clear();
  log.abortOn = 119;
  page = client.GetPage(Url("/long"));
  EXPECT_LT(page.GetLength(), 100000);
  EXPECT_TRUE(log.Has(111));
}

TEST_F(HttpClientTest, ReadLimitStopsTheBody) {
  server.Route("/limited", HttpResponse::Text(std::string(5000, 'r')));
  client.SetReadLimit(500);
  client.SetChunkSize(512);
  CLibString page = client.GetPage(Url("/limited"));
  EXPECT_EQ(page.GetLength(), 500);
  EXPECT_TRUE(log.Has(121));
}

class DownloadTest : public HttpClientTest {
 protected:
  void SetUp() override {
    HttpClientTest::SetUp();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root = std::string(temp) + "zbdl" + std::to_string(GetCurrentProcessId()) + "\\";
    folder = root + "inside\\";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    client.SetDownloadFolder(folder.c_str());
  }
  void TearDown() override {
    for (const std::string& dir : {folder, root}) {
      WIN32_FIND_DATAA data;
      HANDLE find = FindFirstFileA((dir + "*").c_str(), &data);
      if (find != INVALID_HANDLE_VALUE) {
        do DeleteFileA((dir + data.cFileName).c_str());
        while (FindNextFileA(find, &data));
        FindClose(find);
      }
    }
    RemoveDirectoryA(folder.c_str());
    RemoveDirectoryA(root.c_str());
    HttpClientTest::TearDown();
  }
  static std::string Read(const std::string& path) {
    CLibString text;
    text.ReadFromFile(path.c_str());
    return text.c_str();
  }
  static bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  std::string root;
  std::string folder;
};

TEST_F(DownloadTest, WritesTheBodyUnderTheRightName) {
  std::string big(300000, 'd');
  server.Route("/files/data.bin", HttpResponse::Text(big, "application/octet-stream"));
  HttpResponse chunked = HttpResponse::Text("chunked file content", "text/plain");
  chunked.framing = HttpResponse::Body::Chunked;
  chunked.chunkSize = 5;
  server.Route("/chunk.txt", chunked);
  server.Route("/", HttpResponse::Text("index"));

  // No cap for files; the name from the URL without its query.
  EXPECT_EQ(client.DownloadFile(Url("/files/data.bin?v=2"), ""), 300000);
  EXPECT_EQ(Read(folder + "data.bin"), big);
  // A chunked body is stored decoded.
  EXPECT_EQ(client.DownloadFile(Url("/chunk.txt"), "given.txt?x"), 20);
  EXPECT_EQ(Read(folder + "given.txt"), "chunked file content");
  EXPECT_EQ(client.DownloadFile(Url("/"), ""), 5);
  EXPECT_EQ(Read(folder + "index.html"), "index");
  EXPECT_TRUE(log.Has(201));

  server.Route("/gone.txt", HttpResponse::Text("nope", "text/plain", 404));
  EXPECT_EQ(client.DownloadFile(Url("/gone.txt"), ""), -1);
  EXPECT_FALSE(Exists(folder + "gone.txt"));
}

TEST_F(DownloadTest, NeverWritesOutsideItsFolder) {
  server.SetFallback(
      [](const HttpRequest&) { return HttpResponse::Text("payload", "text/plain"); });
  // A name from the server loses every path part; one Windows reads as a device or a stream is
  // replaced.
  client.DownloadFile(Url("/x/..\\..\\escaped.txt"), "");
  EXPECT_FALSE(Exists(root + "escaped.txt"));
  EXPECT_EQ(Read(folder + "escaped.txt"), "payload");
  client.DownloadFile(Url("/x/..%5Cup.txt"), "");
  EXPECT_FALSE(Exists(root + "up.txt"));
  client.DownloadFile(Url("/x/nul.txt"), "");
  EXPECT_EQ(Read(folder + "index.html"), "payload");
  client.DownloadFile(Url("/x/a.txt:stream"), "");
  EXPECT_FALSE(Exists(folder + "a.txt"));

  // A given name that climbs out of the folder is refused.
  EXPECT_EQ(client.DownloadFile(Url("/y.txt"), "..\\given.txt"), 0);
  EXPECT_FALSE(Exists(root + "given.txt"));
  EXPECT_EQ(client.DownloadFile(Url("/z.txt"), "sub/../../given2.txt"), 0);
  EXPECT_FALSE(Exists(root + "given2.txt"));
  // Without a folder the caller's path is the caller's.
  client.SetDownloadFolder("");
  EXPECT_EQ(client.DownloadFile(Url("/w.txt"), (root + "own.txt").c_str()), 7);
  EXPECT_EQ(Read(root + "own.txt"), "payload");
}

TEST_F(DownloadTest, FileUrlsReadTheLocalFile) {
  std::string path = folder + "local.htm";
  CLibString content("<p>local</p>");
  content.WriteToFile(path.c_str(), "wb");
  std::string url = "file:///" + path;
  for (char& c : url)
    if (c == '\\') c = '/';
  EXPECT_EQ(Str(client.GetPage((url + "?query").c_str())), "<p>local</p>");
  EXPECT_EQ(client.GetStatus(), 200);
  EXPECT_EQ(server.RequestCount(), 0u);
  EXPECT_EQ(Str(client.GetPage(CLibString("ftp://127.0.0.1/x"))), "");
}

TEST(HttpClientBasics, IdentitiesAndCopies) {
  CSockHttpClient a;
  std::string agent = Str(a.GetRequestHeader("User-Agent"));
  bool known = false;
  for (const char* row : CSockHttpClient::kBrowserAgents) known = known || agent == row;
  EXPECT_TRUE(known) << agent;
  EXPECT_EQ(Str(a.GetRequestHeader("Accept")), CSockHttpClient::kBrowserAccept);
  EXPECT_EQ(Str(a.GetRequestHeader("Connection")), "close");
  EXPECT_EQ(Str(a.GetHttpVersion()), " HTTP/1.0");
  EXPECT_EQ(a.GetRedirectLimit(), 8);
  for (int i = 0; i < 20; ++i) {
    a.PickRandomBrowser();
    std::string picked = Str(a.GetRequestHeader("User-Agent"));
    bool late = false;
    for (int row = 10; row < 17; ++row)
      late = late || picked == CSockHttpClient::kBrowserAgents[row];
    EXPECT_TRUE(late) << picked;
  }
  CSockHttpClient b(3);
  EXPECT_EQ(b.GetRedirectLimit(), 3);
  a.SetRequestHeader("Connection", "keep-alive");
  a.SetHttpVersion(" HTTP/1.1");
  b.CopyHeadersFrom(a);
  EXPECT_EQ(Str(b.GetRequestHeader("User-Agent")), Str(a.GetRequestHeader("User-Agent")));
  EXPECT_EQ(Str(b.GetRequestHeader("Connection")), "keep-alive");
  EXPECT_EQ(Str(b.GetHttpVersion()), " HTTP/1.1");
}

}  // namespace
