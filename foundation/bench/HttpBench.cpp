// Fetches a 100 KB page many times from a server in this process over loopback with
// CSockHttpClient and prints requests per second and CPU time per request. Beside it runs the
// floor under Wine: a bare WinSock loop (connect, send the very request the client sent, receive
// into one buffer until the server closes, close), in rounds taken in turns with the client's so
// that a busy machine weighs on both alike; the client's CPU time per request is printed as a
// ratio to the floor's (medians of the rounds). With --serve it then
// keeps the server up, prints "PORT <n>" and waits for a line on stdin, so that scripts/bench-http
// can run curl against the same server and print its figures beside these.
//
//   HttpBench.exe [--requests N] [--rounds R] [--serve] [--base http://127.0.0.1:port/path]
//
// With --base the pages are fetched from "<base><i>" (i = 0, 1, ...) of an outside server
// instead, to tell the client's cost apart from that of a server that runs under Wine too.
//
// The server is a plain one-thread loop that answers every request with the same prepared bytes
// and closes: it allocates nothing per request, so that what is measured is the client (the
// test servers copy each response, which under Wine costs more than the transfer).
#include <windows.h>
#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <mutex>
#include <thread>
#include <vector>

#include "foundation/net/SockHttpClient.h"

namespace {

class PageServer {
 public:
  explicit PageServer(std::string response) : response_(std::move(response)) {}
  ~PageServer() { Stop(); }

  bool Start() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof a;
    if (listener_ == INVALID_SOCKET ||
        bind(listener_, reinterpret_cast<sockaddr*>(&a), size) != 0 || listen(listener_, 64) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &size) != 0)
      return false;
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { Run(); });
    return true;
  }

  void Stop() {
    if (!thread_.joinable()) return;
    stopping_ = true;
    closesocket(listener_);
    thread_.join();
    WSACleanup();
  }

  unsigned short Port() const { return port_; }
  // The head of the first request that came, exactly as it came.
  std::string FirstRequest() {
    std::lock_guard<std::mutex> hold(requestLock_);
    return request_;
  }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  void Run() {
    char request[8192];
    while (!stopping_) {
      SOCKET s = accept(listener_, nullptr, nullptr);
      if (s == INVALID_SOCKET) continue;
      // The whole head, then the same answer for every request.
      int got = 0;
      while (got < static_cast<int>(sizeof request) - 1) {
        int n = recv(s, request + got, static_cast<int>(sizeof request) - 1 - got, 0);
        if (n <= 0) break;
        got += n;
        request[got] = 0;
        if (strstr(request, "\r\n\r\n")) break;
      }
      {
        std::lock_guard<std::mutex> hold(requestLock_);
        if (request_.empty()) request_.assign(request, static_cast<size_t>(got));
      }
      send(s, response_.data(), static_cast<int>(response_.size()), 0);
      shutdown(s, SD_SEND);
      while (recv(s, request, sizeof request, 0) > 0) {
      }
      closesocket(s);
    }
  }

  std::string response_;
  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::atomic<bool> stopping_{false};
  std::mutex requestLock_;
  std::string request_;
  std::thread thread_;
};

double Seconds(const FILETIME& t) {
  ULARGE_INTEGER v;
  v.LowPart = t.dwLowDateTime;
  v.HighPart = t.dwHighDateTime;
  return static_cast<double>(v.QuadPart) / 1e7;
}

double ThreadCpu() {
  FILETIME created, ended, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user)) return 0;
  return Seconds(kernel) + Seconds(user);
}

double ProcessCpu() {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
  return Seconds(kernel) + Seconds(user);
}

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The client as the benchmark drives it: it notes how much of the body came, so that checking a
// page takes no pass over its 100 KB (the floor's loop makes none either).
class CountingClient : public CSockHttpClient {
 public:
  uint32_t received = 0;

 protected:
  void OnReceiveProgress(uint32_t soFar, uint32_t total) override {
    received = soFar;
    CSockHttpClient::OnReceiveProgress(soFar, total);
  }
};

// The floor: what one request costs with WinSock alone. Blocking calls, one buffer for the
// whole answer, nothing parsed; returns the bytes received.
long BareRequest(const sockaddr_in& to, const std::string& request, std::vector<char>& buffer) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) return -1;
  long got = -1;
  if (connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0 &&
      send(s, request.data(), static_cast<int>(request.size()), 0) ==
          static_cast<int>(request.size())) {
    got = 0;
    for (;;) {
      int n = recv(s, buffer.data() + got, static_cast<int>(buffer.size() - got), 0);
      if (n <= 0) break;
      got += n;
      if (got == static_cast<long>(buffer.size())) break;
    }
  }
  closesocket(s);
  return got;
}

// "http://127.0.0.1:port/..." -> its address; false for anything else.
bool LoopbackAddress(const std::string& url, sockaddr_in& to) {
  unsigned a = 0, b = 0, c = 0, d = 0, port = 0;
  if (sscanf(url.c_str(), "http://%u.%u.%u.%u:%u", &a, &b, &c, &d, &port) != 5) return false;
  to = {};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = htonl((a << 24) | (b << 16) | (c << 8) | d);
  to.sin_port = htons(static_cast<u_short>(port));
  return true;
}

// The request the client sent to the in-process server, made to go to url instead: the same
// bytes but for the host and the path.
std::string RequestFor(const std::string& captured, const std::string& url) {
  size_t hostStart = url.find("://") + 3;
  size_t pathStart = url.find('/', hostStart);
  std::string host = url.substr(hostStart, pathStart - hostStart);
  std::string path = pathStart == std::string::npos ? "/" : url.substr(pathStart);
  size_t lineEnd = captured.find("\r\n");
  std::string head = "GET " + path + captured.substr(captured.rfind(' ', lineEnd));
  size_t hostLine = head.find("\r\nHost: ");
  if (hostLine != std::string::npos) {
    size_t valueStart = hostLine + 8;
    head.replace(valueStart, head.find("\r\n", valueStart) - valueStart, host);
  }
  return head;
}

struct Figures {
  double wallMs = 0;  // per request
  double cpuMs = 0;   // per request, the requesting thread's
  int failures = 0;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

template <class Fetch>
Figures Round(int requests, Fetch fetch) {
  Figures figures;
  double wallStart = Now();
  double cpuStart = ThreadCpu();
  for (int i = 0; i < requests; ++i)
    if (!fetch(i)) ++figures.failures;
  figures.cpuMs = (ThreadCpu() - cpuStart) * 1000 / requests;
  figures.wallMs = (Now() - wallStart) * 1000 / requests;
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  int requests = 1000;
  int rounds = 5;
  bool serve = false;
  std::string base;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--requests") == 0 && i + 1 < argc) requests = atoi(argv[++i]);
    if (strcmp(argv[i], "--base") == 0 && i + 1 < argc) base = argv[++i];
    if (strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) rounds = atoi(argv[++i]);
    if (strcmp(argv[i], "--serve") == 0) serve = true;
  }
  if (requests < 1) requests = 1;

  const size_t kPageSize = 100 * 1024;
  std::string page(kPageSize, 'x');
  for (size_t i = 80; i < page.size(); i += 81) page[i] = '\n';
  PageServer server("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                    std::to_string(page.size()) + "\r\nConnection: close\r\n\r\n" + page);
  if (!server.Start()) {
    fprintf(stderr, "cannot start the server\n");
    return 1;
  }

  // The default receive piece of the client, as the engines use it.
  CountingClient client;
  auto url = [&](int i) {
    return base.empty() ? server.Url("/page/" + std::to_string(i) + ".html")
                        : base + std::to_string(i);
  };
  // The floor sends the request the client sends, taken from the wire.
  client.GetPage(server.Url("/page/0.html").c_str());
  sockaddr_in to = {};
  std::string request = RequestFor(server.FirstRequest(), url(0));
  if (!LoopbackAddress(url(0), to)) {
    fprintf(stderr, "the floor needs a loopback address: %s\n", url(0).c_str());
    return 1;
  }
  std::vector<char> buffer(kPageSize + 4096);

  // Rounds in turns, so that a load that comes and goes weighs on both.
  if (rounds < 1 || requests / rounds < 10) rounds = 1;
  const int perRound = requests / rounds;
  std::vector<double> ourCpu, ourWall, floorCpu, floorWall;
  int failures = 0, floorFailures = 0, done = 0;
  double processStart = ProcessCpu();
  for (int round = 0; round < rounds; ++round) {
    Figures ours = Round(perRound, [&](int i) {
      client.received = 0;
      CLibString body = client.GetPage(url(done + i).c_str());
      return client.received == kPageSize && client.GetStatus() == 200 && body.c_str()[0] == 'x';
    });
    Figures bare = Round(perRound, [&](int) {
      return BareRequest(to, request, buffer) > static_cast<long>(kPageSize);
    });
    done += perRound;
    failures += ours.failures;
    floorFailures += bare.failures;
    ourCpu.push_back(ours.cpuMs);
    ourWall.push_back(ours.wallMs);
    floorCpu.push_back(bare.cpuMs);
    floorWall.push_back(bare.wallMs);
  }
  double process = ProcessCpu() - processStart;
  double cpu = Median(ourCpu), wall = Median(ourWall);
  double floorC = Median(floorCpu), floorW = Median(floorWall);

  printf("CSockHttpClient: %d requests of %zu bytes, %d failed\n", done, kPageSize, failures);
  printf("  %.0f requests/s, %.3f ms wall/request, %.3f ms CPU/request in the client's thread\n",
         1000 / wall, wall, cpu);
  printf("bare WinSock loop (the floor): %d requests, %d failed\n", done, floorFailures);
  printf("  %.0f requests/s, %.3f ms wall/request, %.3f ms CPU/request in the client's thread\n",
         1000 / floorW, floorW, floorC);
  printf("  (medians of %d rounds taken in turns; the whole process, server included: %.3f ms "
         "CPU/request)\n",
         rounds, process * 1000 / (2.0 * done));
  printf("CSockHttpClient / bare WinSock = %.2fx CPU time, %.2fx wall time per request "
         "(aim: 1.2x)\n",
         floorC > 0 ? cpu / floorC : 0.0, floorW > 0 ? wall / floorW : 0.0);
  printf("RESULT ours wall_ms=%.4f cpu_ms=%.4f\n", wall, cpu);
  printf("RESULT floor wall_ms=%.4f cpu_ms=%.4f\n", floorW, floorC);
  fflush(stdout);

  if (serve) {
    printf("PORT %u\n", server.Port());
    fflush(stdout);
    char line[64];
    if (!fgets(line, sizeof line, stdin)) Sleep(0);
  }
  server.Stop();
  return failures == 0 && floorFailures == 0 ? 0 : 2;
}
