#include "engines/query/PageCache.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "foundation/net/SockHttpClient.h"
#include "foundation/net/Socklet.h"
#include "tests/servers/HttpTestServer.h"

namespace {

std::string S(const CLibString& text) {
  return text.c_str();
}

class PageCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SockletStartup());
    ClearPageCache();
    // Every page names its own path, so a test sees which page it got.
    server.Route("/*", [](const zbtest::HttpRequest& request) {
      return zbtest::HttpResponse::Text("<p>page " + request.target + "</p>");
    });
    server.Route("/missing", zbtest::HttpResponse::Text("not here", "text/html", 404));
    ASSERT_TRUE(server.Start());
  }
  void TearDown() override {
    server.Stop();
    ClearPageCache();
    SockletCleanup();
  }
  CLibString Url(const std::string& path) { return server.Url(path).c_str(); }

  zbtest::HttpTestServer server;
};

TEST_F(PageCacheTest, ASecondFetchComesFromTheCache) {
  CSockHttpClient first;
  EXPECT_EQ(S(FetchPageCached(first, Url("/results?q=a"))), "<p>page /results?q=a</p>");
  EXPECT_EQ(server.RequestCount(), 1u);
  EXPECT_TRUE(IsPageCached(Url("/results?q=a")));

  CSockHttpClient second;
  second.SetStatus(0);
  EXPECT_EQ(S(FetchPageCached(second, Url("/results?q=a"))), "<p>page /results?q=a</p>");
  EXPECT_EQ(server.RequestCount(), 1u);  // no network
  EXPECT_EQ(second.GetStatus(), 200);
  EXPECT_EQ(S(second.GetStatusText()), "200 OK");
  EXPECT_EQ(S(second.GetCurrentUrl().GetUrl()), server.Url("/results?q=a"));

  // Another query is another page.
  EXPECT_EQ(S(FetchPageCached(second, Url("/results?q=b"))), "<p>page /results?q=b</p>");
  EXPECT_EQ(server.RequestCount(), 2u);
}

TEST_F(PageCacheTest, AFailedFetchStoresNothing) {
  CSockHttpClient client;
  EXPECT_EQ(S(FetchPageCached(client, Url("/missing"))), "");
  EXPECT_EQ(client.GetStatus(), 404);
  EXPECT_FALSE(IsPageCached(Url("/missing")));
  EXPECT_EQ(GetPageCacheCount(), 0);
  EXPECT_EQ(S(FetchPageCached(client, Url("/missing"))), "");
  EXPECT_EQ(server.RequestCount(), 2u);  // asked again, not answered from the cache
}

TEST_F(PageCacheTest, TheBoundDropsTheFirstPageInNameOrder) {
  CSockHttpClient client;
  char path[32];
  for (int i = 0; i <= kPageCacheLimit; ++i) {
    snprintf(path, sizeof path, "/p%03d", i);
    ASSERT_NE(S(FetchPageCached(client, Url(path))), "") << path;
  }
  EXPECT_EQ(GetPageCacheCount(), kPageCacheLimit + 1);
  EXPECT_TRUE(IsPageCached(Url("/p000")));

  snprintf(path, sizeof path, "/p%03d", kPageCacheLimit + 1);
  FetchPageCached(client, Url(path));
  // The whole entry went, so the cache holds no more pages than before.
  EXPECT_EQ(GetPageCacheCount(), kPageCacheLimit + 1);
  EXPECT_FALSE(IsPageCached(Url("/p000")));
  EXPECT_TRUE(IsPageCached(Url("/p001")));
  EXPECT_TRUE(IsPageCached(Url(path)));

  size_t before = server.RequestCount();
  EXPECT_EQ(S(FetchPageCached(client, Url("/p000"))), "<p>page /p000</p>");
  EXPECT_EQ(server.RequestCount(), before + 1);  // fetched again
  EXPECT_EQ(GetPageCacheCount(), kPageCacheLimit + 1);
}

TEST_F(PageCacheTest, WorkerThreadsShareTheCache) {
  const int kThreads = 6;
  const int kPages = 8;
  std::vector<std::thread> threads;
  std::vector<int> wrong(kThreads, 0);
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      CSockHttpClient client;
      for (int round = 0; round < 3; ++round)
        for (int p = 0; p < kPages; ++p) {
          std::string path = "/shared/" + std::to_string((p + t) % kPages);
          if (S(FetchPageCached(client, Url(path))) != "<p>page " + path + "</p>") ++wrong[t];
        }
    });
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(wrong[t], 0) << "thread " << t;
  EXPECT_EQ(GetPageCacheCount(), kPages);
  // Two threads that miss one page at once both fetch it; never more often than that allows.
  EXPECT_LE(server.RequestCount(), static_cast<size_t>(kThreads * kPages));
}

}  // namespace
