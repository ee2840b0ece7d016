// The in-process HTTP server, checked byte by byte with a plain WinSock client.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/servers/HttpTestServer.h"
#include "tests/servers/tests/RawClient.h"

namespace {

using zbtest::Exchange;
using zbtest::HttpRequest;
using zbtest::HttpResponse;
using zbtest::HttpTestServer;
using zbtest::Parse;
using zbtest::RawClient;

std::string Get(const std::string& target, const std::string& extra = std::string()) {
  return "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\n" + extra + "\r\n";
}

class HttpTestServerTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.Start()); }
  HttpTestServer server_;
};

TEST_F(HttpTestServerTest, AnswersFromRoutesAndRecordsEachRequestAsItCame) {
  ASSERT_NE(server_.Port(), 0);
  server_.Route("/page", HttpResponse::Text("<p>hi</p>").Header("Set-Cookie", "a=1; path=/"));

  std::string wire = Exchange(server_.Port(), Get("/page?x=1", "User-Agent: raw\r\n"));
  auto page = Parse(wire);
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.body, "<p>hi</p>");
  EXPECT_EQ(page.Header("Content-Length"), "9");
  EXPECT_EQ(page.Header("Content-Type"), "text/html");
  EXPECT_EQ(page.Header("Set-Cookie"), "a=1; path=/");
  EXPECT_EQ(page.Header("Connection"), "close");
  EXPECT_EQ(wire.substr(0, 17), "HTTP/1.0 200 OK\r\n");

  std::string post =
      "POST /form HTTP/1.0\r\nContent-Length: 7\r\nX-Two: a\r\nx-two: b\r\n\r\nq=a b&c";
  EXPECT_EQ(Parse(Exchange(server_.Port(), post)).status, 404);

  auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 2u);
  const HttpRequest& get = requests[0];
  EXPECT_EQ(get.method, "GET");
  EXPECT_EQ(get.target, "/page?x=1");
  EXPECT_EQ(get.Path(), "/page");
  EXPECT_EQ(get.Query(), "x=1");
  EXPECT_EQ(get.version, "HTTP/1.0");
  EXPECT_EQ(get.head, Get("/page?x=1", "User-Agent: raw\r\n"));
  EXPECT_EQ(get.Header("user-agent"), "raw");
  EXPECT_TRUE(get.body.empty());
  const HttpRequest& form = requests[1];
  EXPECT_EQ(form.body, "q=a b&c");
  EXPECT_EQ(form.HeaderCount("X-TWO"), 2);
  EXPECT_EQ(form.headers[1], (std::pair<std::string, std::string>{"X-Two", "a"}));
  EXPECT_EQ(form.headers[2], (std::pair<std::string, std::string>{"x-two", "b"}));
  EXPECT_NE(get.connection, form.connection);
  EXPECT_EQ(server_.LastRequest().target, "/form");
  server_.ClearRequests();
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(HttpTestServerTest, MatchesWholeTargetThenPathThenLongestPrefixThenFallback) {
  server_.Route("/find?q=1", HttpResponse::Text("target"));
  server_.Route("/find", HttpResponse::Text("path"));
  server_.Route("/a/*", HttpResponse::Text("short prefix"));
  server_.Route("/a/b/*",
                [](const HttpRequest& r) { return HttpResponse::Text("long " + r.Path()); });
  struct Case {
    const char* target;
    const char* body;
  } cases[] = {
      {"/find?q=1", "target"},     {"/find?q=2", "path"},         {"/a/x", "short prefix"},
      {"/a/b/c?d", "long /a/b/c"}, {"/other", "fallback /other"},
  };
  server_.SetFallback(
      [](const HttpRequest& r) { return HttpResponse::Text("fallback " + r.target); });
  for (const Case& c : cases) {
    EXPECT_EQ(Parse(Exchange(server_.Port(), Get(c.target))).body, c.body) << c.target;
  }
}

TEST(HttpResponseTest, WritesEachFramingExactly) {
  struct Case {
    const char* name;
    HttpResponse response;
    bool head;
    const char* wire;
  };
  HttpResponse chunked = HttpResponse::Text("abcdefgh", "");
  chunked.framing = HttpResponse::Body::Chunked;
  chunked.chunkSize = 3;
  chunked.chunkExtension = ";e=1";
  chunked.trailers = {{"X-Trailer", "t"}};
  chunked.keepAlive = true;
  HttpResponse closed = HttpResponse::Text("body", "text/plain", 500);
  closed.framing = HttpResponse::Body::Close;
  closed.keepAlive = true;  // no length: the close ends the body, so the connection cannot stay
  HttpResponse interim = HttpResponse::Text("x", "");
  interim.continueFirst = true;
  interim.reason = "Fine";
  HttpResponse raw;
  raw.raw = "HTTP/1.0 200 OK\r\n\r\nanything";
  const Case cases[] = {
      {"length", HttpResponse::Text("hello", "text/plain"), false,
       "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 5\r\n"
       "Connection: close\r\n\r\nhello"},
      {"head", HttpResponse::Text("hello", "text/plain"), true,
       "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 5\r\n"
       "Connection: close\r\n\r\n"},
      {"chunked", chunked, false,
       "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: keep-alive\r\n\r\n"
       "3;e=1\r\nabc\r\n3;e=1\r\ndef\r\n2;e=1\r\ngh\r\n0;e=1\r\nX-Trailer: t\r\n\r\n"},
      {"close", closed, false,
       "HTTP/1.0 500 Internal Server Error\r\nContent-Type: text/plain\r\n"
       "Connection: close\r\n\r\nbody"},
      {"interim", interim, false,
       "HTTP/1.0 100 Continue\r\n\r\nHTTP/1.0 200 Fine\r\nContent-Length: 1\r\n"
       "Connection: close\r\n\r\nx"},
      {"redirect", HttpResponse::Redirect("/next", 301), false,
       "HTTP/1.0 301 Moved Permanently\r\nContent-Type: text/html\r\nLocation: /next\r\n"
       "Content-Length: 31\r\nConnection: close\r\n\r\n<html><body>Moved</body></html>"},
      {"raw", raw, true, "HTTP/1.0 200 OK\r\n\r\nanything"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.response.Wire(c.head), c.wire) << c.name;
}

TEST_F(HttpTestServerTest, KeepAliveResponsesServeTheNextRequestOnTheSameConnection) {
  HttpResponse kept = HttpResponse::Text("one");
  kept.keepAlive = true;
  server_.Route("/kept", kept);
  HttpResponse chunked = kept;
  chunked.framing = HttpResponse::Body::Chunked;
  server_.Route("/chunked", chunked);
  server_.Route("/last", HttpResponse::Text("end"));

  RawClient client;
  ASSERT_TRUE(client.Connect(server_.Port()));
  std::string one = kept.Wire();
  ASSERT_TRUE(client.Send(Get("/kept")));
  EXPECT_EQ(client.ReadAtLeast(one.size()), one);
  ASSERT_TRUE(client.Send(Get("/chunked")));
  EXPECT_EQ(client.ReadAtLeast(chunked.Wire().size()), chunked.Wire());
  ASSERT_TRUE(client.Send(Get("/last")));
  EXPECT_EQ(Parse(client.ReadAll()).body, "end");
  EXPECT_TRUE(client.ServerClosed(1000));

  auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].connection, requests[2].connection);
  EXPECT_EQ(server_.ConnectionCount(), 1);
}

TEST_F(HttpTestServerTest, HeadGetsNoBodyAndCloseDelimitedBodiesEndWithTheConnection) {
  HttpResponse closed = HttpResponse::Text(std::string(50000, 'c'));
  closed.framing = HttpResponse::Body::Close;
  server_.Route("/c", closed);
  auto head = Exchange(server_.Port(), "HEAD /c HTTP/1.0\r\n\r\n");
  EXPECT_EQ(head, closed.Wire(true));
  auto page = Parse(Exchange(server_.Port(), Get("/c")));
  EXPECT_EQ(page.body.size(), 50000u);
  EXPECT_EQ(page.Header("Content-Length"), "");
}

TEST_F(HttpTestServerTest, DelaysSlowsStallsAndTruncatesResponses) {
  HttpResponse late = HttpResponse::Text("late");
  late.delayMs = 300;
  server_.Route("/late", late);
  HttpResponse slow = HttpResponse::Text("0123456789");
  slow.pieceSize = 20;
  slow.pieceDelayMs = 60;
  server_.Route("/slow", slow);
  HttpResponse cut = HttpResponse::Text("0123456789");
  cut.truncateAfter = cut.Wire().size() - 4;
  server_.Route("/cut", cut);

  DWORD start = GetTickCount();
  EXPECT_EQ(Parse(Exchange(server_.Port(), Get("/late"))).body, "late");
  EXPECT_GE(GetTickCount() - start, 280u);

  start = GetTickCount();
  std::string wire = Exchange(server_.Port(), Get("/slow"));
  EXPECT_EQ(wire, slow.Wire());
  // The response goes out in pieces of 20 bytes, with a pause after each but the last.
  EXPECT_GE(GetTickCount() - start, (wire.size() - 1) / 20 * 60 - 20);

  std::string truncated = Exchange(server_.Port(), Get("/cut"));
  EXPECT_EQ(truncated, cut.Wire().substr(0, cut.Wire().size() - 4));
}

TEST_F(HttpTestServerTest, StalledResponseHoldsTheConnectionUntilTheServerStops) {
  HttpResponse stalled = HttpResponse::Text("never");
  stalled.stallAfter = stalled.Wire().size() - 5;  // the head and nothing of the body
  server_.Route("/stall", stalled);

  RawClient client;
  ASSERT_TRUE(client.Connect(server_.Port()));
  ASSERT_TRUE(client.Send(Get("/stall")));
  EXPECT_EQ(client.ReadAtLeast(stalled.stallAfter, 2000),
            stalled.Wire().substr(0, stalled.stallAfter));
  EXPECT_EQ(client.ReadAll(300), "");
  EXPECT_FALSE(client.ServerClosed(0));

  DWORD start = GetTickCount();
  server_.Stop();
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_TRUE(client.ServerClosed(1000));
  RawClient late;
  EXPECT_FALSE(late.Connect(server_.Port()));
}

TEST_F(HttpTestServerTest, EndlessResponsesRepeatUntilTheClientCloses) {
  server_.Route("/endless", HttpResponse::Endless("HTTP/1.0 200 OK\r\n", "X-Pad: 1\r\n"));
  RawClient client;
  ASSERT_TRUE(client.Connect(server_.Port()));
  ASSERT_TRUE(client.Send(Get("/endless")));
  // Far more than one batch, all of it the head's start and then the repeated line.
  std::string got = client.ReadAtLeast(200000, 5000);
  ASSERT_GE(got.size(), 200000u);
  EXPECT_EQ(got.substr(0, 17), "HTTP/1.0 200 OK\r\n");
  std::string rest = got.substr(17, 199980);
  for (size_t at = 0; at < rest.size(); at += 10) ASSERT_EQ(rest.substr(at, 10), "X-Pad: 1\r\n");
  EXPECT_FALSE(client.ServerClosed(0));
  client.Close();
  // Once the client is gone the connection ends, and the server still answers others.
  server_.Route("/fine", HttpResponse::Text("fine"));
  EXPECT_EQ(Parse(Exchange(server_.Port(), Get("/fine"))).body, "fine");
}

TEST_F(HttpTestServerTest, SendsOversizedHeaderLinesWhole) {
  std::string longValue(100000, 'v');
  server_.Route("/long", HttpResponse::Text("ok").Header("X-Long", longValue));
  auto page = Parse(Exchange(server_.Port(), Get("/long")));
  EXPECT_EQ(page.Header("X-Long"), longValue);
  EXPECT_EQ(page.body, "ok");
}

TEST_F(HttpTestServerTest, RefusesMalformedRequestsWith400) {
  const char* cases[] = {
      "GET /a HTTP/1.0\r\nno colon here\r\n\r\n",
      "GET /a HTTP/1.0\r\nX: a\r\n folded\r\n\r\n",
      "GET /a HTTP/1.0\r\nContent-Length: 1x\r\n\r\n",
      "GET\r\n\r\n",
  };
  for (const char* request : cases) {
    EXPECT_EQ(Parse(Exchange(server_.Port(), request)).status, 400) << request;
  }
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(HttpTestServerTest, AnswersAndRecordsClientsOfSeveralThreadsAtOnce) {
  HttpResponse slow = HttpResponse::Text("x");
  slow.delayMs = 50;
  server_.Route("/x/*", [slow](const HttpRequest& r) {
    HttpResponse response = slow;
    response.body = r.Path();
    return response;
  });
  const int kThreads = 8;
  const int kEach = 5;
  std::vector<std::thread> threads;
  std::vector<int> right(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        std::string path = "/x/" + std::to_string(t) + "/" + std::to_string(i);
        if (Parse(Exchange(server_.Port(), Get(path))).body == path) ++right[t];
      }
    });
  }
  for (auto& t : threads) t.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(right[t], kEach) << "thread " << t;
  EXPECT_TRUE(server_.WaitForRequests(kThreads * kEach, 0));
  EXPECT_EQ(server_.ConnectionCount(), kThreads * kEach);
}

}  // namespace
