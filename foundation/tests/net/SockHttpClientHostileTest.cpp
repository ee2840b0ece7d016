// The HTTP client against servers and pages that do not play fair: heads without end, binary
// lines, slow transfers, bodies cut short, numbers out of range, floods of cookies, addresses
// with line ends or other schemes. Each must fail cleanly or be read right, never hang, grow
// without bound or pass for a success.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/net/SockHttpClient.h"
#include "foundation/tests/net/NetTestSupport.h"
#include "tests/servers/HttpTestServer.h"

namespace {

using zbtest::HttpRequest;
using zbtest::HttpResponse;
using namespace std::string_literals;  // "..."s keeps the NUL bytes

std::string Str(const CLibString& s) {
  return s.c_str();
}

class HostileServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Start());
    CSockHttpClient::ClearCookieJar();
    log.Attach(client);
    client.SetTimeout(5);  // five short steps: a stalled server fails within 100 ms
    server.Route("/fine", HttpResponse::Text("fine"));
  }
  void TearDown() override { CSockHttpClient::ClearCookieJar(); }

  CLibString Url(const std::string& path) { return server.Url(path).c_str(); }
  // After any failure the same client must serve the next request as usual.
  void ExpectStillWorks(const std::string& why) {
    EXPECT_EQ(Str(client.GetPage(Url("/fine?after=" + why))), "fine") << why;
    EXPECT_EQ(client.GetStatus(), 200) << why;
  }

  nettest::ShortWaits waits;
  zbtest::HttpTestServer server;
  nettest::EventLog log;
  CSockHttpClient client;
};

TEST_F(HostileServerTest, AHeadThatNeverEndsOrHoldsBinaryFailsTheRequest) {
  std::string nuls(70000, '\0');
  HttpResponse stalled;
  stalled.raw = "HTTP/1.0 200 OK\r\nContent-Length: 4\r\n";
  stalled.stallAfter = stalled.raw.size();
  stalled.raw += "\r\nbody";  // never sent: the server goes quiet before it
  std::string manyLines = "HTTP/1.0 200 OK\r\n";
  for (int i = 0; i < 150; ++i) manyLines += "X-Line-" + std::to_string(i) + ": x\r\n";
  struct {
    const char* why;
    HttpResponse response;
  } cases[] = {
      {"endless header lines",
       HttpResponse::Endless("HTTP/1.0 200 OK\r\n", "X-Filler: 0123456789abcdef\r\n")},
      {"endless interim heads",
       HttpResponse::Endless("HTTP/1.1 100 Continue\r\n\r\n", "HTTP/1.1 100 Continue\r\n\r\n")},
      {"more header lines than a head holds", HttpResponse::Endless(manyLines + "\r\nbody", "")},
      {"a header line of NUL bytes past the line limit",
       HttpResponse::Endless("HTTP/1.0 200 OK\r\nX-Nul: " + nuls + "\r\n\r\nbody", "")},
      {"a NUL inside a header line",
       HttpResponse::Endless("HTTP/1.0 200 OK\r\nX-A: a\0b\r\n\r\nbody"s, "")},
      {"a NUL in the status line",
       HttpResponse::Endless("HTTP/1.0 200 O\0K\r\n\r\nbody"s, "")},
      {"a head that stops before its end", stalled},
  };
  int n = 0;
  for (auto& c : cases) {
    SCOPED_TRACE(c.why);
    std::string path = "/hostile" + std::to_string(n++);
    server.Route(path, c.response);
    EXPECT_FALSE(client.Request(kHttpGet, Url(path)));
    EXPECT_EQ(client.GetStatus(), 0);
    EXPECT_FALSE(client.IsConnected());
    EXPECT_LE(client.GetResponseHeaders().GetCount(),
              static_cast<unsigned>(CSockHttpClient::kMaxHeadLines));
    ExpectStillWorks(c.why);
  }

  // Within the bounds a long head and a few interim heads are read as before.
  HttpResponse fair = HttpResponse::Text("fair");
  for (int i = 0; i < 60; ++i) fair.Header("X-Line-" + std::to_string(i), "x");
  fair.continueFirst = true;
  server.Route("/fair", fair);
  EXPECT_EQ(Str(client.GetPage(Url("/fair"))), "fair");
  EXPECT_EQ(Str(client.GetResponseHeader("x-line-59")), "x");
}

TEST_F(HostileServerTest, ASlowButSteadyTransferIsReadWhole) {
  // 20 bytes every 40 ms (two wait steps), head and body alike, against a time-out of fifteen
  // steps: the whole transfer takes far longer than the time-out, but no gap does.
  client.SetTimeout(15);
  std::string body;
  for (int i = 0; i < 30; ++i) body += "slow line " + std::to_string(i) + "\n";
  HttpResponse slow = HttpResponse::Text(body, "text/plain");
  slow.Header("X-Long-Header", std::string(60, 'h'));
  slow.pieceSize = 20;
  slow.pieceDelayMs = 40;
  HttpResponse chunked = slow;
  chunked.framing = HttpResponse::Body::Chunked;
  chunked.chunkSize = 50;
  server.Route("/slow", slow);
  server.Route("/slowchunks", chunked);
  for (const char* path : {"/slow", "/slowchunks"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(Str(client.GetPage(Url(path))), body);
    EXPECT_EQ(client.GetStatus(), 200);
    EXPECT_EQ(Str(client.GetResponseHeader("x-long-header")), std::string(60, 'h'))
        << "a line in many pieces is one line";
    EXPECT_FALSE(client.IsBodyBroken());
  }
}

// A server that trickles a byte at a time is never quiet for a whole time-out, yet a page must
// not take for ever: the whole fetch, head and body, redirects included, ends after its bound
// (kPageTransferTimeouts time-outs, at least kMinPageTransferSeconds wait steps) and is a
// failure. Unbounded, each of these would take minutes.
TEST_F(HostileServerTest, APageTrickledAByteAtATimeEndsAtItsBound) {
  client.SetTimeout(5);
  EXPECT_EQ(client.GetPageTransferSeconds(), CSockHttpClient::kMinPageTransferSeconds);
  client.SetTimeout(20);
  EXPECT_EQ(client.GetPageTransferSeconds(), 20 * CSockHttpClient::kPageTransferTimeouts);
  client.SetTimeout(5);
  const std::string body(20000, 'b');
  HttpResponse trickledBody = HttpResponse::Text(body, "text/plain");
  trickledBody.pieceSize = 1;
  trickledBody.pieceDelayMs = 10;  // half a wait step: never quiet for a whole one
  HttpResponse trickledHead = trickledBody;
  for (int i = 0; i < 90; ++i) trickledHead.Header("X-Line-" + std::to_string(i), std::string(60, 'h'));
  HttpResponse unframed = trickledBody;
  unframed.framing = HttpResponse::Body::Close;
  server.Route("/trickle-body", trickledBody);
  server.Route("/trickle-head", trickledHead);
  server.Route("/trickle-unframed", unframed);
  server.Route("/trickle-redirect", HttpResponse::Redirect("/trickle-body"));
  for (const char* path : {"/trickle-body", "/trickle-head", "/trickle-unframed",
                           "/trickle-redirect"}) {
    SCOPED_TRACE(path);
    std::string page = Str(client.GetPage(Url(path)));
    EXPECT_LT(page.size(), body.size());
    EXPECT_EQ(client.GetStatus(), 0) << "a page cut at its bound is no success";
    ExpectStillWorks(path);
  }
  std::string posted = Str(client.PostPage(Url("/trickle-body")));
  EXPECT_LT(posted.size(), body.size());
  EXPECT_EQ(client.GetStatus(), 0);
  // The bound is the page's: a request of its own afterwards is not cut by an old one.
  client.SetTimeout(15);
  EXPECT_EQ(Str(client.GetPage(Url("/fine?late=1"))), "fine");
}

TEST_F(HostileServerTest, ABodyCutShortIsAFailure) {
  std::string body(3000, 'b');
  HttpResponse closed = HttpResponse::Text(body, "text/plain");
  size_t head = closed.Wire().size() - body.size();
  closed.truncateAfter = head + 1000;
  HttpResponse stalled = closed;
  stalled.truncateAfter = HttpResponse::kAll;
  stalled.stallAfter = head + 1000;
  HttpResponse chunked = HttpResponse::Text(body, "text/plain");
  chunked.framing = HttpResponse::Body::Chunked;
  chunked.chunkSize = 500;
  chunked.truncateAfter = chunked.Wire().size() - 10;  // the last chunk never comes
  HttpResponse badChunk;
  badChunk.raw = "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nbbbbb\r\nzz\r\n";
  HttpResponse hugeChunk;
  hugeChunk.raw = "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n100000005\r\nbbbbb\r\n";
  struct {
    const char* why;
    HttpResponse response;
  } cases[] = {
      {"closed before its length", closed},
      {"silent before its length", stalled},
      {"closed before the last chunk", chunked},
      {"a chunk size that is no number", badChunk},
      {"a chunk size beyond a body count", hugeChunk},
  };
  int n = 0;
  for (auto& c : cases) {
    SCOPED_TRACE(c.why);
    std::string path = "/short" + std::to_string(n++);
    server.Route(path, c.response);
    // What came is there for a reader that salvages part of a page, but it is no success.
    std::string page = Str(client.GetPage(Url(path)));
    EXPECT_LT(page.size(), body.size());
    EXPECT_EQ(page, body.substr(0, page.size()));
    EXPECT_EQ(client.GetStatus(), 0);
    EXPECT_TRUE(client.IsBodyBroken());
    ExpectStillWorks(c.why);
  }

  // A file cut short is not left behind as if it were whole.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "zbcut" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  client.SetDownloadFolder(folder.c_str());
  EXPECT_EQ(client.DownloadFile(Url("/short0"), "cut.bin"), 0);
  EXPECT_EQ(GetFileAttributesA((folder + "cut.bin").c_str()), INVALID_FILE_ATTRIBUTES);
  server.Route("/whole", HttpResponse::Text(body, "text/plain"));
  EXPECT_EQ(client.DownloadFile(Url("/whole"), "whole.bin"), 3000);
  DeleteFileA((folder + "whole.bin").c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST_F(HostileServerTest, ContentLengthsAreCheckedNumbers) {
  struct {
    const char* length;
    bool taken;
  } cases[] = {
      {"5", true},
      {" 5 ", true},
      {"2147483648", false},  // one past the largest count: it read as an empty body
      {"4294967301", false},  // 2^32 + 5: it read as a five-byte body
      {"99999999999999999999999", false},
      {"-5", false},
      {"5abc", false},
      {"0x10", false},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    HttpResponse r;
    r.raw = std::string("HTTP/1.0 200 OK\r\nContent-Length: ") + c.length + "\r\n\r\nfive!";
    std::string path = "/length" + std::to_string(n++);
    server.Route(path, r);
    EXPECT_EQ(Str(client.GetPage(Url(path))), c.taken ? "five!" : "");
    EXPECT_EQ(client.GetStatus(), c.taken ? 200 : 0);
  }
}

TEST_F(HostileServerTest, TheCookieJarIsBoundedAndDropsTheOldestFirst) {
  // Pages that set 90 cookies each, with new names every time: one site floods the jar.
  server.Route("/cookies*", [](const HttpRequest& request) {
    HttpResponse r = HttpResponse::Text("cookies");
    std::string page = request.Query();
    for (int i = 0; i < 90; ++i) r.Header("Set-Cookie", "c" + page + "_" + std::to_string(i) + "=v");
    return r;
  });
  for (int page = 0; page < 6; ++page) client.GetPage(Url("/cookies?" + std::to_string(page)));
  CNVList jar = CSockHttpClient::GetCookieJar();
  EXPECT_EQ(jar.GetCount(), static_cast<unsigned>(CSockHttpClient::kMaxCookiesPerDomain));

  client.GetPage(Url("/fine?show"));
  std::string line = server.LastRequest().Header("Cookie");
  EXPECT_EQ(server.LastRequest().HeaderCount("Cookie"), 1);
  EXPECT_NE(line.find("c5_89=v"), std::string::npos) << "the newest stay";
  EXPECT_EQ(line.find("c0_0=v"), std::string::npos) << "the oldest went first";
  EXPECT_EQ(std::count(line.begin(), line.end(), '='), CSockHttpClient::kMaxCookiesPerDomain);

  // Across many sites the whole jar keeps its bound, again without the oldest.
  CSockHttpClient::ClearCookieJar();
  const int sites = CSockHttpClient::kMaxCookies / 100 + 5;
  for (int site = 0; site < sites; ++site) {
    CNVList response;
    for (int i = 0; i < 100; ++i)
      response.SetAt(("set-cookie" + std::to_string(i)).c_str(),
                     ("k" + std::to_string(i) + "=v").c_str());
    client.SetCookies(response, CUrl(("http://site" + std::to_string(site) + ".test/").c_str()));
  }
  jar = CSockHttpClient::GetCookieJar();
  EXPECT_EQ(jar.GetCount(), static_cast<unsigned>(CSockHttpClient::kMaxCookies));
  EXPECT_FALSE(jar.Contains("site0.test/ k0"));
  EXPECT_TRUE(jar.Contains(("site" + std::to_string(sites - 1) + ".test/ k99").c_str()));

  // A cookie larger than a browser keeps is not taken; a replaced one is not counted twice.
  CSockHttpClient::ClearCookieJar();
  CNVList big;
  big.SetAt("set-cookie0", ("big=" + std::string(CSockHttpClient::kMaxCookieSize, 'x')).c_str());
  big.SetAt("set-cookie1", "same=1");
  big.SetAt("set-cookie2", "same=2");
  client.SetCookies(big, CUrl("http://www.site.test/"));
  jar = CSockHttpClient::GetCookieJar();
  EXPECT_EQ(jar.GetCount(), 1u);
  EXPECT_TRUE(jar.Contains("www.site.test/ same"));
}

TEST_F(HostileServerTest, NoControlCharactersReachTheWire) {
  server.Route("/moved", HttpResponse::Redirect("/next\x01page.html?q=a\x7f"));
  server.SetFallback([](const HttpRequest&) { return HttpResponse::Text("any"); });
  struct {
    const char* why;
    std::string url;
    std::string target;  // as the server must get it
  } cases[] = {
      {"line ends in the path", "/a\r\nX-Injected:1\r\n/b.html", "/aX-Injected:1/b.html"},
      {"line ends in the query", "/q.cgi?x=1\r\nX-Injected:1", "/q.cgi?x=1X-Injected:1"},
      {"a tab and a bare LF", "/t\tab\nle.html", "/table.html"},
      {"other control characters", "/c\x0b\x1f.html", "/c%0B%1F.html"},
      {"control characters from a Location", "/moved", "/next%01page.html?q=a%7F"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    server.ClearRequests();
    client.GetPage(Url(c.url));
    HttpRequest r = server.LastRequest();
    EXPECT_EQ(r.target, c.target);
    EXPECT_FALSE(r.HasHeader("X-Injected"));
    for (char ch : r.head) {
      unsigned char u = static_cast<unsigned char>(ch);
      EXPECT_TRUE(u >= 0x20 || ch == '\r' || ch == '\n') << int(u);
    }
    // Only the head's own line ends: each line ends in CR LF and holds no other CR or LF.
    size_t lines = 0;
    for (size_t at = r.head.find("\r\n"); at != std::string::npos; at = r.head.find("\r\n", at + 2))
      ++lines;
    EXPECT_EQ(lines, r.headers.size() + 2);
  }

  // A header value of the caller's with a line end stays on its own line.
  client.SetRequestHeader("X-Note", "one\r\nX-Injected: 1");
  client.GetPage(Url("/note.html"));
  EXPECT_EQ(server.LastRequest().Header("X-Note"), "oneX-Injected: 1");
  EXPECT_FALSE(server.LastRequest().HasHeader("X-Injected"));
}

TEST_F(HostileServerTest, OtherSchemesAndBadAddressesAreNeverLookedUpNorSent) {
  nettest::FakeNames names({"site.test"});
  std::string site = "http://site.test:" + std::to_string(server.Port());
  // Redirects to other schemes are not followed: the redirect itself is the answer.
  const char* elsewhere[] = {"mailto:victim@mail.test", "javascript:location='x'",
                             "ftp://files.test/x.zip", "news:group.test"};
  int n = 0;
  for (const char* location : elsewhere) {
    SCOPED_TRACE(location);
    std::string path = "/to" + std::to_string(n++);
    server.Route(path, HttpResponse::Redirect(location));
    server.ClearRequests();
    int before = nettest::FakeNames::Lookups();
    EXPECT_TRUE(client.Request(kHttpGet, (site + path).c_str()));
    EXPECT_EQ(client.GetStatus(), 302);
    EXPECT_EQ(server.RequestCount(), 1u);
    EXPECT_LE(nettest::FakeNames::Lookups() - before, 1) << "only site.test itself";
    client.Close();
  }

  // Asked for directly, such addresses and hosts no name service knows cost nothing at all.
  std::string addresses[] = {
      "mailto:victim@mail.test",
      "javascript:alert(1)",
      "ftp://files.test/x.zip",
      "http://bad\x01host.test/",
      "http://bad host.test/",
      "http://site.test:65616/",  // 65616 is port 80 once wrapped
  };
  for (const std::string& address : addresses) {
    SCOPED_TRACE(address);
    int before = nettest::FakeNames::Lookups();
    log.Clear();
    EXPECT_FALSE(client.Request(kHttpGet, address.c_str()));
    EXPECT_EQ(nettest::FakeNames::Lookups(), before);
    EXPECT_FALSE(log.Has(kSockConnected));
    EXPECT_EQ(client.GetStatus(), 0);
  }
}

}  // namespace
