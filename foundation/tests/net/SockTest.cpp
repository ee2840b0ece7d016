#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "foundation/net/Sock.h"
#include "foundation/net/Socklet.h"
#include "foundation/tests/net/LoopbackServer.h"

namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Records every event that reaches the callback; answer decides the callback's result.
struct Recorder {
  std::mutex mutex;
  std::vector<int> codes;
  std::vector<std::string> texts;
  std::vector<std::pair<uint32_t, uint32_t>> numbers;
  std::function<bool(int)> answer;

  static bool Callback(CSock*, int code, uintptr_t data, uintptr_t user) {
    Recorder* self = reinterpret_cast<Recorder*>(user);
    std::lock_guard<std::mutex> lock(self->mutex);
    self->codes.push_back(code);
    if (code == kSockText) self->texts.push_back(reinterpret_cast<const char*>(data));
    if (code == kSockReceiveProgress || code == kSockProgress120) {
      const uint32_t* pair = reinterpret_cast<const uint32_t*>(data);
      self->numbers.emplace_back(pair[0], pair[1]);
    }
    return self->answer ? self->answer(code) : true;
  }
  void Attach(CSock& sock) { sock.SetCallback(Callback, reinterpret_cast<uintptr_t>(this)); }
  bool Has(int code) {
    std::lock_guard<std::mutex> lock(mutex);
    return std::find(codes.begin(), codes.end(), code) != codes.end();
  }
  int Count(int code) {
    std::lock_guard<std::mutex> lock(mutex);
    return static_cast<int>(std::count(codes.begin(), codes.end(), code));
  }
  // The codes other than the idle tick, in order.
  std::vector<int> Steps() {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<int> steps;
    for (int code : codes)
      if (code != kSockIdle) steps.push_back(code);
    return steps;
  }
};

// Exposes the hooks that the library never raises itself, so that their reports can be checked.
class HookSock : public CSock {
 public:
  using CSock::OnEvent101;
  using CSock::OnEvent107;
  using CSock::OnEvent108;
  using CSock::OnEvent109;
  using CSock::OnEvent117;
  using CSock::OnNoMemory;
  using CSock::OnProgress120;
  using CSock::OnReadLimit;
  using CSock::OnReceiveProgress;
  using CSock::OnReset;
  using CSock::OnText;
};

CInetAddress Loopback(unsigned short port) {
  return CInetAddress(0x7F000001u, port);
}

// Wait steps of 20 ms instead of a second: every time-out below is counted in steps.
class SockTest : public ::testing::Test {
 protected:
  void SetUp() override { SockletSetWaitStep(20); }
  void TearDown() override {
    SockletSetWaitStep(0);
    SockletSetClock(nullptr, nullptr);
  }
};

TEST_F(SockTest, LibraryIsReferenceCountedAndCountsLiveSockets) {
  int references = SockletReferences();
  int live = SockletLiveSockets();
  EXPECT_GE(references, 1) << "the program holds a reference for its whole life";
  {
    CSock a;
    CSock b;
    EXPECT_EQ(SockletReferences(), references + 2);
    EXPECT_EQ(SockletLiveSockets(), live + 2);
    a.Reset();  // resetting takes no second reference
    EXPECT_EQ(SockletReferences(), references + 2);
  }
  EXPECT_EQ(SockletReferences(), references);
  EXPECT_EQ(SockletLiveSockets(), live);
  EXPECT_TRUE(SockletStartup());
  EXPECT_TRUE(SockletCleanup());
  EXPECT_EQ(SockletReferences(), references);
}

// While the program holds its own reference, making and dropping sockets only counts: another
// process holding the library's named mutex (here a thread standing in for it) never stalls
// them, and counts from many threads at once come out exact.
TEST_F(SockTest, SocketsBesideTheProgramsReferenceOnlyCount) {
  ASSERT_GE(SockletReferences(), 1);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "SockletMutex");
    WaitForSingleObject(mutex, INFINITE);
    SetEvent(held);
    WaitForSingleObject(release, INFINITE);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
  });
  ASSERT_EQ(WaitForSingleObject(held, 5000), WAIT_OBJECT_0);
  int references = SockletReferences();
  std::atomic<int> done{0};
  std::vector<std::thread> users;
  for (int t = 0; t < 8; ++t) {
    users.emplace_back([&] {
      for (int i = 0; i < 500; ++i) {
        CSock sock;
        (void)sock;
      }
      ++done;
    });
  }
  for (int i = 0; i < 500 && done < 8; ++i) Sleep(10);
  EXPECT_EQ(done, 8) << "sockets waited for the named mutex";
  SetEvent(release);  // a stalled run ends here instead of hanging the program
  for (auto& user : users) user.join();
  holder.join();
  EXPECT_EQ(SockletReferences(), references);
  CloseHandle(release);
  CloseHandle(held);
}

TEST_F(SockTest, SettingsAndTheirDefaults) {
  CSock sock;
  EXPECT_EQ(sock.GetTimeout(), 45);
  sock.SetTimeout(0);
  EXPECT_EQ(sock.GetTimeout(), 45);
  sock.SetTimeout(-5);
  EXPECT_EQ(sock.GetTimeout(), 45);
  sock.SetTimeout(7);
  EXPECT_EQ(sock.GetTimeout(), 7);

  EXPECT_EQ(sock.SetChunkSize(4096), 2048u);
  EXPECT_EQ(sock.SetChunkSize(static_cast<unsigned>(-1)), 4096u) << "-1 only asks";
  EXPECT_EQ(sock.GetReceiveChunkSize(), 4096u);

  EXPECT_EQ(sock.SetReadLimit(100), 0);
  EXPECT_EQ(sock.SetReadLimit(-1), 100) << "-1 only asks";
  EXPECT_EQ(sock.SetReadLimit(-7), 100);
  EXPECT_EQ(sock.SetReadLimit(-1), 0) << "a negative limit stores 0";

  CInetAddress proxy("127.0.0.1", 3128);
  sock.SetProxy(proxy, "user", "secret");
  CInetAddress address;
  CLibString user, password;
  sock.GetProxy(address, user, password);
  EXPECT_EQ(address.GetPort(), 3128u);
  EXPECT_STREQ(user.c_str(), "user");
  EXPECT_STREQ(password.c_str(), "secret");

  CBandwidthMeter meter;
  sock.SetBandwidthMeter(&meter);
  sock.SetStatus(404);
  sock.SetStatusText("Not Found");
  sock.Reset();
  EXPECT_FALSE(sock.HasProxy());
  EXPECT_EQ(sock.GetBandwidthMeter(), nullptr);
  EXPECT_EQ(sock.GetStatus(), 0);
  EXPECT_STREQ(sock.GetStatusText().c_str(), "");
  EXPECT_EQ(sock.GetTimeout(), 45);
  EXPECT_EQ(sock.GetHandle(), CSock::kNoSocket);
}

TEST_F(SockTest, ConnectExchangeAndCloseRaiseTheirEvents) {
  LoopbackServer server([](SOCKET client, LoopbackServer&) {
    std::string line = LoopbackServer::ReadUntil(client, "\r\n");
    LoopbackServer::SendAll(client, "echo " + line);
    LoopbackServer::ReadAll(client, 2000);
  });
  Recorder events;
  {
    CSock sock;
    events.Attach(sock);
    ASSERT_TRUE(sock.Connect(Loopback(server.Port())));
    EXPECT_TRUE(sock.IsConnected());
    EXPECT_EQ(sock.GetDestination().GetPort(), server.Port());
    EXPECT_EQ(sock.GetPeerAddress().GetAddress(), 0x7F000001u);
    EXPECT_EQ(sock.GetPeerAddress().GetPort(), server.Port());
    EXPECT_EQ(sock.SendLine("hello"), 7);
    EXPECT_STREQ(sock.ReadLine().c_str(), "echo hello");
    sock.Close();
    EXPECT_FALSE(sock.IsConnected());
    EXPECT_EQ(sock.GetHandle(), CSock::kNoSocket);
  }
  std::vector<int> expected = {kSockResolving, kSockConnected, kSockClosed, kSockDestroy};
  EXPECT_EQ(events.Steps(), expected);
  EXPECT_TRUE(events.Has(kSockIdle));
}

TEST_F(SockTest, ConnectByHostTextAndThroughAProxy) {
  LoopbackServer target([](SOCKET, LoopbackServer&) {});
  LoopbackServer proxy([](SOCKET, LoopbackServer&) {});
  CSock sock;
  CLibString text;
  text.Format("127.0.0.1:%u", target.Port());
  // The host text wins over the address.
  ASSERT_TRUE(sock.Connect(Loopback(LoopbackServer::FreePort()), text));
  EXPECT_EQ(sock.GetDestination().GetPort(), target.Port());
  EXPECT_FALSE(sock.Connect(Loopback(target.Port()))) << "already connected";
  sock.Close();

  sock.SetProxy(Loopback(proxy.Port()), "", "");
  ASSERT_TRUE(sock.Connect(Loopback(target.Port())));
  EXPECT_EQ(sock.GetPeerAddress().GetPort(), proxy.Port());
  sock.Close();

  // The local end of the connection.
  sock.SetProxy(CInetAddress(), "", "");
  ASSERT_TRUE(sock.Connect(Loopback(target.Port())));
  CInetAddress local = sock.GetLocalAddress();
  EXPECT_EQ(local.GetAddress(), 0x7F000001u);
  EXPECT_NE(local.GetPort(), 0u);
}

TEST_F(SockTest, NoAddressAndBadHostText) {
  Recorder events;
  CSock sock;
  events.Attach(sock);
  EXPECT_FALSE(sock.Connect(CInetAddress()));
  EXPECT_FALSE(sock.ConnectDirect(CInetAddress(), ""));
  EXPECT_EQ(events.Count(kSockNoAddress), 2);
  EXPECT_FALSE(sock.Connect(CInetAddress(), "not.an.address"));
  EXPECT_EQ(events.Count(kSockNoAddress), 3);
  EXPECT_EQ(sock.GetHandle(), CSock::kNoSocket);

  // Ports that do not fit in 16 bits would wrap onto another port (65616 is 80): nothing to
  // connect to, and no attempt.
  for (const char* text : {"127.0.0.1:65616", "127.0.0.1:99999999999", "127.0.0.1:80x"}) {
    EXPECT_FALSE(sock.Connect(CInetAddress(), text)) << text;
  }
  EXPECT_FALSE(sock.Connect(CInetAddress(0x7F000001u, 65616)));
  EXPECT_EQ(events.Count(kSockNoAddress), 7);
  EXPECT_FALSE(events.Has(kSockResolving));
  EXPECT_EQ(sock.GetHandle(), CSock::kNoSocket);
}

TEST_F(SockTest, RefusedConnectFailsAtOnceWithItsError) {
  unsigned short port = LoopbackServer::FreePort();
  Recorder events;
  CSock sock;
  events.Attach(sock);
  SockletSetWaitStep(1000);  // the product's step: a refusal must not wait for it
  auto start = Clock::now();
  EXPECT_FALSE(sock.Connect(Loopback(port)));
  EXPECT_LT(MsSince(start), 900);
  EXPECT_EQ(sock.GetLastSocketError(), 10061);
  EXPECT_TRUE(events.Has(kSockConnectRefused));
  EXPECT_FALSE(events.Has(kSockConnectFailed));
  EXPECT_FALSE(events.Has(kSockConnected));
  EXPECT_FALSE(events.Has(kSockTimeout));
  EXPECT_FALSE(sock.IsConnected());
  EXPECT_EQ(sock.GetHandle(), CSock::kNoSocket);
}

TEST_F(SockTest, UnreachableConnectFailsAtOnceWithItsError) {
  Recorder events;
  CSock sock;
  events.Attach(sock);
  SockletSetWaitStep(1000);
  // No TCP connection can go to a multicast group; the local stack says so without sending.
  auto start = Clock::now();
  EXPECT_FALSE(sock.Connect(CInetAddress("224.0.0.1", 80)));
  EXPECT_LT(MsSince(start), 900);
  EXPECT_NE(sock.GetLastSocketError(), 0);
  EXPECT_NE(sock.GetLastSocketError(), 10061);
  EXPECT_TRUE(events.Has(kSockConnectFailed));
  EXPECT_FALSE(events.Has(kSockConnectRefused));
  EXPECT_FALSE(events.Has(kSockConnected));
}

// A listener whose queue is full: further connection attempts get no answer at all.
class SilentHost {
 public:
  SilentHost() : m_server(nullptr, false, 1) {
    for (int i = 0; i < 4; ++i) {
      SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
      u_long on = 1;
      ioctlsocket(s, FIONBIO, &on);
      sockaddr_in sa = {};
      sa.sin_family = AF_INET;
      sa.sin_addr.s_addr = htonl(0x7F000001u);
      sa.sin_port = htons(m_server.Port());
      connect(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
      m_fillers.push_back(s);
    }
    Sleep(100);
  }
  ~SilentHost() {
    for (SOCKET s : m_fillers) closesocket(s);
  }
  unsigned short Port() const { return m_server.Port(); }

 private:
  LoopbackServer m_server;
  std::vector<SOCKET> m_fillers;
};

TEST_F(SockTest, SilentHostTimesOutAfterTheTimeOutInSteps) {
  SilentHost host;
  Recorder events;
  CSock sock;
  events.Attach(sock);
  sock.SetTimeout(0);  // the default of 45 steps
  auto start = Clock::now();
  EXPECT_FALSE(sock.Connect(Loopback(host.Port())));
  long long ms = MsSince(start);
  EXPECT_GE(ms, 45 * 20 - 100);
  EXPECT_LT(ms, 45 * 20 * 3);
  EXPECT_TRUE(events.Has(kSockTimeout));
  EXPECT_FALSE(events.Has(kSockConnected));
  EXPECT_EQ(sock.GetLastSocketError(), 10060);
  EXPECT_GE(events.Count(kSockIdle), 45);
  EXPECT_EQ(sock.GetHandle(), CSock::kNoSocket);
}

TEST_F(SockTest, CallbackCanAbortAConnect) {
  SilentHost host;
  Recorder events;
  CSock sock;
  events.Attach(sock);
  int ticks = 0;
  events.answer = [&](int code) { return code != kSockIdle || ++ticks < 3; };
  EXPECT_FALSE(sock.Connect(Loopback(host.Port())));
  EXPECT_EQ(ticks, 3);
  EXPECT_TRUE(events.Has(kSockAbort));
  EXPECT_FALSE(events.Has(kSockTimeout));
  EXPECT_EQ(sock.GetHandle(), CSock::kNoSocket);
}

TEST_F(SockTest, DataIsTakenAsSoonAsItArrives) {
  LoopbackServer server([](SOCKET client, LoopbackServer& self) {
    self.Pause(300);
    LoopbackServer::SendAll(client, "12345");
    self.Pause(3000);
  });
  SockletSetWaitStep(1000);
  CSock sock;
  ASSERT_TRUE(sock.Connect(Loopback(server.Port())));
  char buffer[8] = {};
  auto start = Clock::now();
  EXPECT_EQ(sock.Recv(buffer, 5), 5);
  long long ms = MsSince(start);
  EXPECT_STREQ(buffer, "12345");
  EXPECT_GE(ms, 250);
  EXPECT_LT(ms, 800) << "the wait ends when the data comes, not at the next one-second poll";
}

TEST_F(SockTest, AbortFromAnotherThreadStopsAWaitWithinASecond) {
  LoopbackServer server([](SOCKET, LoopbackServer& self) { self.Pause(5000); });
  SockletSetWaitStep(1000);
  Recorder events;
  CSock sock;
  events.Attach(sock);
  ASSERT_TRUE(sock.Connect(Loopback(server.Port())));
  std::thread stopper([&] {
    Sleep(200);
    sock.Abort();
  });
  char buffer[16];
  auto start = Clock::now();
  EXPECT_EQ(sock.Recv(buffer, sizeof buffer), 0);
  long long ms = MsSince(start);
  stopper.join();
  EXPECT_LT(ms, 1500);
  EXPECT_TRUE(events.Has(kSockAbort));
  EXPECT_TRUE(events.Has(kSockClosed));
  EXPECT_FALSE(sock.IsConnected());
  EXPECT_TRUE(sock.IsAborted()) << "the flag stays until the next connect";
}

TEST_F(SockTest, CallbackAnsweringFalseAbortsTheNextWait) {
  LoopbackServer server([](SOCKET, LoopbackServer& self) { self.Pause(3000); });
  Recorder events;
  CSock sock;
  events.Attach(sock);
  ASSERT_TRUE(sock.Connect(Loopback(server.Port())));
  events.answer = [](int code) { return code != kSockIdle; };
  char buffer[4];
  EXPECT_EQ(sock.Recv(buffer, sizeof buffer), 0);
  EXPECT_TRUE(events.Has(kSockAbort));
  EXPECT_TRUE(events.Has(kSockClosed));
  EXPECT_FALSE(sock.IsConnected());
  EXPECT_EQ(sock.GetHandle(), CSock::kNoSocket);

  // The next connect clears the flag; an abort during the connect wait stops it.
  EXPECT_TRUE(sock.IsAborted());
  events.answer = nullptr;
  ASSERT_TRUE(sock.Connect(Loopback(server.Port())));
  EXPECT_FALSE(sock.IsAborted());
}

TEST_F(SockTest, ReceiveTimeOutCountsStepsWithoutData) {
  LoopbackServer server([](SOCKET client, LoopbackServer& self) {
    // A line in eight pieces, then six bytes, each 60 ms (three steps) after the last; then
    // silence.
    for (const char* piece : {"HTT", "P/1", ".0 ", "20", "0 ", "O", "K", "\r\n"}) {
      self.Pause(60);
      LoopbackServer::SendAll(client, piece);
    }
    for (char ch : std::string("abcdef")) {
      self.Pause(60);
      send(client, &ch, 1, 0);
    }
    self.Pause(3000);
  });
  Recorder events;
  CSock sock;
  events.Attach(sock);
  ASSERT_TRUE(sock.Connect(Loopback(server.Port())));
  // A budget of fifteen steps outlasts every gap many times over, and each piece gives it back:
  // the line comes whole, not as two lines, although it takes longer than fifteen steps.
  sock.SetTimeout(15);
  EXPECT_STREQ(sock.ReadLine().c_str(), "HTTP/1.0 200 OK");
  EXPECT_TRUE(sock.IsLineEnded());
  // The same for a read of bytes: all six come, then the budget runs out.
  char buffer[16] = {};
  EXPECT_EQ(sock.Recv(buffer, 10, 15), 6);
  EXPECT_STREQ(buffer, "abcdef");
  EXPECT_TRUE(events.Has(kSockTimeout));
  EXPECT_TRUE(sock.IsConnected()) << "a read that times out does not close";

  // A budget shorter than the silence ends the read with nothing, and a line without its end.
  memset(buffer, 0, sizeof buffer);
  EXPECT_EQ(sock.Recv(buffer, 10, 2), 0);
  EXPECT_STREQ(sock.ReadLine().c_str(), "");
  EXPECT_FALSE(sock.IsLineEnded());
}

TEST_F(SockTest, PeerCloseEndsAReadWithWhatCame) {
  LoopbackServer server(
      [](SOCKET client, LoopbackServer&) { LoopbackServer::SendAll(client, "partial"); });
  Recorder events;
  CSock sock;
  events.Attach(sock);
  ASSERT_TRUE(sock.Connect(Loopback(server.Port())));
  char buffer[64] = {};
  EXPECT_EQ(sock.Recv(buffer, sizeof buffer - 1), 7);
  EXPECT_STREQ(buffer, "partial");
  EXPECT_TRUE(events.Has(kSockClosed));
  EXPECT_FALSE(sock.IsConnected());
  EXPECT_EQ(sock.Recv(buffer, 4), 0) << "nothing to read from a closed socket";
}

TEST_F(SockTest, LinesAreReadUpToTheirEndAndNoFurther) {
  std::string received;
  std::atomic<bool> done{false};
  LoopbackServer server([&](SOCKET client, LoopbackServer&) {
    LoopbackServer::SendAll(client, "first line\r\nsec\rond\r\nthird|BODY");
    received = LoopbackServer::ReadAll(client, 3000);
    done = true;
  });
  CSock sock;
  ASSERT_TRUE(sock.Connect(Loopback(server.Port())));
  EXPECT_STREQ(sock.ReadLine().c_str(), "first line");
  EXPECT_STREQ(sock.ReadLine().c_str(), "second") << "every CR goes, also inside the line";
  EXPECT_STREQ(sock.ReadUntil('|').c_str(), "third|");
  char body[8] = {};
  EXPECT_EQ(sock.Recv(body, 4), 4);
  EXPECT_STREQ(body, "BODY");

  char text[] = "up to the terminator";
  EXPECT_EQ(sock.Send(text), static_cast<int>(strlen(text))) << "length 0 means up to the NUL";
  EXPECT_EQ(sock.SendLine(""), 2);
  EXPECT_EQ(sock.SendLine("last"), 6);
  sock.Close();
  for (int i = 0; i < 300 && !done; ++i) Sleep(10);
  ASSERT_TRUE(done);
  EXPECT_EQ(received, "up to the terminator\r\nlast\r\n");
}

TEST_F(SockTest, OverlongAndBinaryLinesAreRefused) {
  // Each bad line follows a good one; the good one must come whole and the bad one refused,
  // also when NUL bytes would hide its length from a C string.
  struct {
    const char* why;
    std::string bad;
  } cases[] = {
      {"longer than the limit", std::string(CSock::kMaxLineLength + 1000, 'b') + "\r\n"},
      {"NUL bytes past the limit", std::string(CSock::kMaxLineLength + 1000, '\0') + "\r\n"},
      {"one NUL in a short line", std::string("Host: a\0b", 9) + "\r\n"},
      {"a NUL first", std::string("\0tail\r\n", 7)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    std::string bad = c.bad;
    LoopbackServer server([bad](SOCKET client, LoopbackServer& self) {
      std::string ok(CSock::kMaxLineLength - 10, 'a');
      LoopbackServer::SendAll(client, ok + "\r\n");
      LoopbackServer::SendAll(client, bad + "after\r\n");
      self.Pause(2000);
    });
    Recorder events;
    CSock sock;
    sock.SetTimeout(10);
    events.Attach(sock);
    ASSERT_TRUE(sock.Connect(Loopback(server.Port())));
    EXPECT_EQ(sock.ReadLine().GetLength(), CSock::kMaxLineLength - 10);
    EXPECT_FALSE(sock.IsBadLine());
    EXPECT_STREQ(sock.ReadLine().c_str(), "");
    EXPECT_TRUE(sock.IsBadLine());
    EXPECT_FALSE(sock.IsConnected()) << "the rest of the stream cannot be trusted";
    EXPECT_TRUE(events.Has(kSockClosed));
  }
}

TEST_F(SockTest, CallbackRangeFiltersCodes) {
  LoopbackServer server([](SOCKET, LoopbackServer&) {});
  Recorder events;
  {
    CSock sock;
    events.Attach(sock);
    sock.SetCallbackRange(11000, 11026);
    ASSERT_TRUE(sock.Connect(Loopback(server.Port())));
    sock.Close();
    sock.Notify(200);
    sock.Notify(11000);
    sock.Notify(11026);
    sock.Notify(11027);
  }
  std::vector<int> expected = {11000, 11026};
  EXPECT_EQ(events.codes, expected);

  Recorder narrow;
  HookSock sock;
  narrow.Attach(sock);
  sock.SetCallbackRange(104, 104);
  sock.Notify(103);
  sock.Notify(104);
  sock.Notify(105);
  EXPECT_EQ(narrow.codes, std::vector<int>{104});
}

// A derived class that takes over the connection hook, as the mail client does.
class GreetingSock : public CSock {
 public:
  std::string greeting;

 protected:
  void OnConnected() override { greeting = ReadLine().c_str(); }
};

TEST_F(SockTest, DerivedHooksReplaceTheirReports) {
  LoopbackServer server([](SOCKET client, LoopbackServer& self) {
    LoopbackServer::SendAll(client, "220 ready\r\n");
    self.Pause(1000);
  });
  Recorder events;
  GreetingSock sock;
  events.Attach(sock);
  ASSERT_TRUE(sock.Connect(Loopback(server.Port())));
  EXPECT_EQ(sock.greeting, "220 ready");
  EXPECT_FALSE(events.Has(kSockConnected)) << "the override reports nothing of its own";
  EXPECT_TRUE(events.Has(kSockResolving));
}

TEST_F(SockTest, EveryHookReportsItsCode) {
  Recorder events;
  {
    HookSock sock;
    events.Attach(sock);
    sock.OnReset();
    sock.OnEvent101();
    sock.OnEvent107();
    sock.OnEvent108();
    sock.OnEvent109();
    sock.OnNoMemory();
    sock.OnEvent117();
    sock.OnText("status");
    sock.OnReceiveProgress(10, 100);
    sock.OnProgress120(20, 0);
    sock.OnReadLimit();
    EXPECT_FALSE(sock.Create(SOCK_STREAM, 12345, 0));  // no such address family
  }
  std::vector<int> expected = {100, 101, 107, 108, 109, 116, 117, 118, 119, 120, 121, 115, 114};
  EXPECT_EQ(events.codes, expected);
  EXPECT_EQ(events.texts, std::vector<std::string>{"status"});
  ASSERT_EQ(events.numbers.size(), 2u);
  EXPECT_EQ(events.numbers[0], std::make_pair(10u, 100u));
  EXPECT_EQ(events.numbers[1], std::make_pair(20u, 0u));
}

// A clock the test moves: the pauses of the throttle advance it instead of waiting.
std::atomic<uint64_t> g_fakeMs{0};
uint32_t FakeTime() {
  return static_cast<uint32_t>(100000 + g_fakeMs / 1000);
}
void FakeSleep(unsigned ms) {
  g_fakeMs += ms;
}

TEST_F(SockTest, ReceivingKeepsTheMetersLimit) {
  const int total = 200 * 1024;
  const uint32_t limit = 10 * 1024;
  LoopbackServer server([&](SOCKET client, LoopbackServer&) {
    LoopbackServer::SendAll(client, std::string(total, 'r'));
    LoopbackServer::ReadAll(client, 5000);
  });
  g_fakeMs = 0;
  SockletSetClock(FakeTime, FakeSleep);
  CBandwidthMeter meter;
  meter.SetLimits(limit, 0);
  BandwidthStats stats;
  meter.GetStats(&stats, true);  // the run's meter starts
  g_fakeMs += 1000;              // and has been running a second when the transfer begins
  uint32_t start = stats.time;

  CSock sock;
  sock.SetBandwidthMeter(&meter);
  ASSERT_TRUE(sock.Connect(Loopback(server.Port())));
  std::vector<char> buffer(2048);
  int got = 0;
  while (got < total) {
    int n = sock.Recv(buffer.data(), static_cast<int>(buffer.size()));
    if (n <= 0) break;
    got += n;
  }
  ASSERT_EQ(got, total);
  double seconds = FakeTime() - start;
  double rate = total / seconds;
  EXPECT_GT(rate, limit * 0.8);
  EXPECT_LT(rate, limit * 1.2);
  meter.GetStats(&stats, true);
  EXPECT_EQ(stats.received, static_cast<uint32_t>(total));
}

TEST_F(SockTest, SendingKeepsTheMetersLimit) {
  const int total = 120 * 1024;
  const uint32_t limit = 8 * 1024;
  std::atomic<size_t> arrived{0};
  LoopbackServer server([&](SOCKET client, LoopbackServer&) {
    arrived = LoopbackServer::ReadAll(client, 10000).size();
  });
  g_fakeMs = 0;
  SockletSetClock(FakeTime, FakeSleep);
  CBandwidthMeter meter;
  meter.SetLimits(0, limit);
  BandwidthStats stats;
  meter.GetStats(&stats, true);
  g_fakeMs += 3000;  // unforced reads recompute the rate three seconds after the baseline
  uint32_t start = stats.time;

  CSock sock;
  sock.SetBandwidthMeter(&meter);
  ASSERT_TRUE(sock.Connect(Loopback(server.Port())));
  std::string block(1024, 's');
  int sent = 0;
  while (sent < total) {
    int n = sock.Send(block.c_str(), static_cast<int>(block.size()));
    ASSERT_EQ(n, 1024);
    sent += n;
  }
  double seconds = FakeTime() - start;
  double rate = total / seconds;
  EXPECT_GT(rate, limit * 0.8);
  EXPECT_LT(rate, limit * 1.2);
  sock.Close();
  meter.GetStats(&stats, true);
  EXPECT_EQ(stats.sent, static_cast<uint32_t>(total));
}

}  // namespace
