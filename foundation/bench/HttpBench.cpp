// Fetches a 100 KB page many times from a server in this process over loopback with
// CSockHttpClient and prints requests per second and CPU time per request. With --serve it then
// keeps the server up, prints "PORT <n>" and waits for a line on stdin, so that scripts/bench-http
// can run curl against the same server and print its figures beside these.
//
//   HttpBench.exe [--requests N] [--serve] [--base http://127.0.0.1:port/path]
//
// With --base the pages are fetched from "<base><i>" (i = 0, 1, ...) of an outside server
// instead, to tell the client's cost apart from that of a server that runs under Wine too.
//
// The server is a plain one-thread loop that answers every request with the same prepared bytes
// and closes: it allocates nothing per request, so that what is measured is the client (the
// test servers copy each response, which under Wine costs more than the transfer).
#include <windows.h>
#include <winsock2.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "foundation/SockHttpClient.h"

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

}  // namespace

int main(int argc, char** argv) {
  int requests = 1000;
  bool serve = false;
  std::string base;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--requests") == 0 && i + 1 < argc) requests = atoi(argv[++i]);
    if (strcmp(argv[i], "--base") == 0 && i + 1 < argc) base = argv[++i];
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
  CSockHttpClient client;
  int failures = 0;
  double wallStart = Now();
  double threadStart = ThreadCpu();
  double processStart = ProcessCpu();
  for (int i = 0; i < requests; ++i) {
    std::string url = base.empty() ? server.Url("/page/" + std::to_string(i) + ".html")
                                   : base + std::to_string(i);
    CLibString body = client.GetPage(url.c_str());
    if (body.GetLength() != static_cast<int>(kPageSize) || client.GetStatus() != 200) ++failures;
  }
  double wall = Now() - wallStart;
  double thread = ThreadCpu() - threadStart;
  double process = ProcessCpu() - processStart;

  printf("CSockHttpClient: %d requests of %zu bytes, %d failed\n", requests, kPageSize, failures);
  printf("  %.0f requests/s, %.3f ms wall/request\n", requests / wall, wall * 1000 / requests);
  printf(
      "  %.3f ms CPU/request in the client's thread, %.3f ms in the whole process "
      "(server included)\n",
      thread * 1000 / requests, process * 1000 / requests);
  printf("RESULT ours wall_ms=%.4f cpu_ms=%.4f\n", wall * 1000 / requests,
         thread * 1000 / requests);
  fflush(stdout);

  if (serve) {
    printf("PORT %u\n", server.Port());
    fflush(stdout);
    char line[64];
    if (!fgets(line, sizeof line, stdin)) Sleep(0);
  }
  server.Stop();
  return failures == 0 ? 0 : 2;
}
