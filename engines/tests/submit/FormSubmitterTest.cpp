// Every network step of an engine becomes its engine event, right after the socket or HTTP code
// that the base hook reports; failures clear the connection-success flag.
#include <windows.h>
#include <winsock2.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engines/db/SearchEngine.h"
#include "foundation/core/LibString.h"
#include "foundation/tests/net/NetTestSupport.h"
#include "tests/servers/HttpTestServer.h"

namespace {

// A loopback port where nothing listens.
unsigned short FreePort() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in sa = {};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
  int size = sizeof sa;
  getsockname(s, reinterpret_cast<sockaddr*>(&sa), &size);
  closesocket(s);
  WSACleanup();
  return ntohs(sa.sin_port);
}

struct Events {
  std::mutex mutex;
  std::vector<int> codes;
  std::vector<std::string> texts;                       // 11004 and 11014
  std::vector<std::pair<uint32_t, uint32_t>> progress;  // 11012
  std::vector<uintptr_t> queryEnds;                     // data of 11003
  int abortOn = 0;

  static bool Callback(CSock*, int code, uintptr_t data, uintptr_t user) {
    Events* self = reinterpret_cast<Events*>(user);
    std::lock_guard<std::mutex> hold(self->mutex);
    self->codes.push_back(code);
    if ((code == kEngineGetRequest || code == kEnginePageFetched) && data)
      self->texts.push_back(reinterpret_cast<const char*>(data));
    if (code == kEngineReceiveProgress) {
      const uint32_t* pair = reinterpret_cast<const uint32_t*>(data);
      self->progress.emplace_back(pair[0], pair[1]);
    }
    if (code == kEngineQueryEnd) self->queryEnds.push_back(data);
    return code != self->abortOn;
  }
  void Attach(CSock& sock) { sock.SetCallback(Callback, reinterpret_cast<uintptr_t>(this)); }
  bool Has(int code) {
    std::lock_guard<std::mutex> hold(mutex);
    return std::find(codes.begin(), codes.end(), code) != codes.end();
  }
  // Every report of the base code is followed at once by the engine event.
  bool EachFollowedBy(int base, int event) {
    std::lock_guard<std::mutex> hold(mutex);
    int seen = 0;
    for (size_t i = 0; i < codes.size(); ++i)
      if (codes[i] == base) {
        ++seen;
        if (i + 1 >= codes.size() || codes[i + 1] != event) return false;
      }
    return seen > 0;
  }
};

// The protected hooks that the program never calls itself, opened for the test.
class OpenEngine : public CSearchEngine {
 public:
  using CFormSubmitter::OnConnectionFailed;
  using CFormSubmitter::OnPageFetched;
};

class FormSubmitterTest : public ::testing::Test {
 protected:
  void SetUp() override { events.Attach(engine); }

  nettest::ShortWaits waits;
  Events events;  // outlives the engine, which reports its own end
  OpenEngine engine;
};

TEST_F(FormSubmitterTest, AGetReportsEachStepAsAnEngineEvent) {
  zbtest::HttpTestServer server;
  ASSERT_TRUE(server.Start());
  server.Route("/find", zbtest::HttpResponse::Text("0123456789"));
  std::string url = server.Url("/find?q=a+b");
  EXPECT_EQ(engine.GetPage(url.c_str()), "0123456789");

  EXPECT_TRUE(events.EachFollowedBy(kSockResolving, kEngineResolving));
  EXPECT_TRUE(events.EachFollowedBy(kSockConnected, kEngineConnected));
  EXPECT_TRUE(events.EachFollowedBy(kHttpRequestSent, kEngineRequestSent));
  EXPECT_TRUE(events.EachFollowedBy(kSockReceiveProgress, kEngineReceiveProgress));
  EXPECT_TRUE(events.EachFollowedBy(kSockIdle, kEngineIdle));
  // The GET hook reports the engine event in place of its own code.
  EXPECT_FALSE(events.Has(kHttpGetRequest));
  EXPECT_EQ(events.texts,
            std::vector<std::string>{"127.0.0.1:" + std::to_string(server.Port()) + "/find?q=a+b"});
  ASSERT_FALSE(events.progress.empty());
  EXPECT_EQ(events.progress.front(), std::make_pair(0u, 10u));
  EXPECT_EQ(events.progress.back(), std::make_pair(10u, 10u));
  EXPECT_FALSE(events.Has(kEngineConnectFailed));
  EXPECT_EQ(engine.GetConnectionSuccess(), 1);
}

TEST_F(FormSubmitterTest, ARefusedConnectIsAFailedConnect) {
  unsigned short port = FreePort();
  std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";
  EXPECT_EQ(engine.GetPage(url.c_str()), "");
  EXPECT_TRUE(events.EachFollowedBy(kSockConnectRefused, kEngineConnectFailed));
  EXPECT_EQ(engine.GetConnectionSuccess(), 0);
}

TEST_F(FormSubmitterTest, ATimeOutClearsTheSuccessFlag) {
  zbtest::HttpTestServer server;
  ASSERT_TRUE(server.Start());
  zbtest::HttpResponse silent = zbtest::HttpResponse::Text("never");
  silent.stallAfter = 0;
  server.Route("/slow", silent);
  engine.SetTimeout(3);
  EXPECT_EQ(engine.GetPage(server.Url("/slow").c_str()), "");
  EXPECT_TRUE(events.EachFollowedBy(kSockTimeout, kEngineTimeout));
  EXPECT_EQ(engine.GetConnectionSuccess(), 0);
}

TEST_F(FormSubmitterTest, AnAbortClearsTheSuccessFlag) {
  zbtest::HttpTestServer server;
  ASSERT_TRUE(server.Start());
  zbtest::HttpResponse silent = zbtest::HttpResponse::Text("never");
  silent.stallAfter = 0;
  server.Route("/page", silent);
  // The run's answer "stop" to an event aborts the wait for the answer.
  events.abortOn = kEngineRequestSent;
  EXPECT_EQ(engine.GetPage(server.Url("/page").c_str()), "");
  EXPECT_TRUE(events.EachFollowedBy(kSockAbort, kEngineAbort));
  EXPECT_EQ(engine.GetConnectionSuccess(), 0);
}

TEST_F(FormSubmitterTest, NothingToConnectTo) {
  EXPECT_FALSE(engine.Connect(CInetAddress()));
  EXPECT_TRUE(events.EachFollowedBy(kSockNoAddress, kEngineNoAddress));
  // Having nothing to connect to is not a failed connection.
  EXPECT_EQ(engine.GetConnectionSuccess(), 1);
}

TEST_F(FormSubmitterTest, ConnectionFailedAndPageFetchedHooks) {
  engine.OnPageFetched("<html>page</html>");
  EXPECT_EQ(events.texts, std::vector<std::string>{"<html>page</html>"});
  EXPECT_EQ(engine.GetConnectionSuccess(), 1);
  engine.OnConnectionFailed();
  EXPECT_TRUE(events.Has(kEngineConnectionFailed));
  EXPECT_EQ(engine.GetConnectionSuccess(), 0);
}

TEST_F(FormSubmitterTest, TheRunSeesOnlyEngineEvents) {
  engine.SetCallbackRange(kEngineEventFirst, kEngineEventLast);
  unsigned short port = FreePort();
  engine.GetPage(("http://127.0.0.1:" + std::to_string(port) + "/").c_str());
  std::lock_guard<std::mutex> hold(events.mutex);
  ASSERT_FALSE(events.codes.empty());
  for (int code : events.codes) {
    EXPECT_GE(code, kEngineEventFirst);
    EXPECT_LE(code, kEngineEventLast);
  }
}

TEST_F(FormSubmitterTest, RunQueryFramesTheQueryWithItsEvents) {
  EXPECT_EQ(engine.RunQuery("two words", 50, 30), 0);
  EXPECT_EQ(engine.m_keywords, "two words");
  EXPECT_EQ(engine.m_maxResults, 50);
  EXPECT_EQ(engine.m_timeout, 30);
  {
    std::lock_guard<std::mutex> hold(events.mutex);
    ASSERT_GE(events.codes.size(), 2u);
    EXPECT_EQ(events.codes.front(), kEngineQueryStart);
    EXPECT_EQ(events.codes.back(), kEngineQueryEnd);
    EXPECT_EQ(events.queryEnds, std::vector<uintptr_t>{1});
  }
  // The flag describes the engine object's whole life: a failed connect stays reported.
  engine.GetPage(("http://127.0.0.1:" + std::to_string(FreePort()) + "/").c_str());
  engine.RunQuery("again", 10, 30);
  EXPECT_EQ(events.queryEnds, (std::vector<uintptr_t>{1, 0}));
}

TEST(FormSubmitterConstruction, DefaultsOfANewEngine) {
  CSearchEngine engine;
  EXPECT_EQ(engine.GetRedirectLimit(), 8);
  EXPECT_FALSE(engine.IsStopped());
  EXPECT_EQ(engine.GetConnectionSuccess(), 1);
  EXPECT_EQ(engine.m_enabled, 1);
  ASSERT_NE(engine.m_forms, nullptr);
  EXPECT_EQ(engine.m_forms->Main().m_fields.GetCount(), 0u);
  EXPECT_EQ(engine.GetResultCount(), 0);
  engine.SetStop(true);
  EXPECT_TRUE(engine.IsStopped());
}

}  // namespace
