#include "foundation/tests/net/LoopbackServer.h"

#include <chrono>

namespace {

const uint32_t kLoopback = 0x7F000001;

sockaddr_in LoopbackAddress(unsigned short port) {
  sockaddr_in sa = {};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(kLoopback);
  sa.sin_port = htons(port);
  return sa;
}

// Waits up to ms for the socket to become readable.
bool Readable(SOCKET s, int ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval limit = {ms / 1000, (ms % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &limit) > 0;
}

}  // namespace

LoopbackServer::LoopbackServer(Handler handler, bool accept, int backlog)
    : m_handler(std::move(handler)), m_accept(accept) {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  m_listen = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in sa = LoopbackAddress(0);
  bind(m_listen, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
  listen(m_listen, backlog);
  int size = sizeof sa;
  getsockname(m_listen, reinterpret_cast<sockaddr*>(&sa), &size);
  m_port = ntohs(sa.sin_port);
  if (m_accept) m_thread = std::thread([this] { Run(); });
}

LoopbackServer::~LoopbackServer() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
  closesocket(m_listen);
  WSACleanup();
}

void LoopbackServer::Run() {
  while (!m_stop) {
    if (!Readable(m_listen, 20)) continue;
    SOCKET client = accept(m_listen, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    ++m_accepted;
    if (m_handler) m_handler(client, *this);
    closesocket(client);
  }
}

void LoopbackServer::Pause(int ms) const {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!m_stop && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

bool LoopbackServer::SendAll(SOCKET s, const std::string& data) {
  size_t sent = 0;
  while (sent < data.size()) {
    int n = send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

std::string LoopbackServer::ReadUntil(SOCKET s, const std::string& terminator, int ms) {
  std::string text;
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    if (text.size() >= terminator.size() &&
        text.compare(text.size() - terminator.size(), terminator.size(), terminator) == 0)
      break;
    if (!Readable(s, 20)) continue;
    char ch;
    if (recv(s, &ch, 1, 0) <= 0) break;
    text += ch;
  }
  return text;
}

std::string LoopbackServer::ReadAll(SOCKET s, int ms) {
  std::string text;
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  char buffer[4096];
  while (std::chrono::steady_clock::now() < end) {
    if (!Readable(s, 20)) continue;
    int n = recv(s, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

unsigned short LoopbackServer::FreePort() {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in sa = LoopbackAddress(0);
  bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
  int size = sizeof sa;
  getsockname(s, reinterpret_cast<sockaddr*>(&sa), &size);
  closesocket(s);
  return ntohs(sa.sin_port);
}
