#include "tests/servers/LoopbackServer.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace zbtest {

namespace {

constexpr DWORD kSliceMs = 100;
// How long Close drains what the peer still sends.
constexpr DWORD kDrainMs = 1000;
constexpr DWORD kConnectMs = 5000;

void SetNoDelay(SOCKET s) {
  // Replies go out at once, and a slow response's pieces go out one by one.
  BOOL noDelay = TRUE;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
}

bool WouldBlock() {
  return WSAGetLastError() == WSAEWOULDBLOCK;
}

}  // namespace

Connection::Connection(SOCKET socket, int id, HANDLE stop)
    : socket_(socket), id_(id), stop_(stop), event_(WSACreateEvent()) {
  // Also makes the socket non-blocking: every call below returns at once, and waits happen
  // only in WaitEvent.
  WSAEventSelect(socket_, event_, FD_READ | FD_WRITE | FD_CLOSE);
}

Connection::~Connection() {
  Close();
  WSACloseEvent(event_);
}

bool Connection::WaitEvent(DWORD timeoutMs) {
  // Should a socket event get lost (Wine 8 loses FD_ACCEPT ones now and then), it costs one
  // slice, not a hang: a wait ends after a slice at the latest, and the caller tries its call
  // again (and checks its own time limit).
  HANDLE handles[2] = {stop_, event_};  // the stop first, so it wins over a busy peer
  DWORD result = WaitForMultipleObjects(2, handles, FALSE, std::min(timeoutMs, kSliceMs));
  if (result == WAIT_OBJECT_0 + 1) {
    WSANETWORKEVENTS events;
    WSAEnumNetworkEvents(socket_, event_, &events);
  }
  return result == WAIT_OBJECT_0 + 1 || result == WAIT_TIMEOUT;
}

bool Connection::Fill() {
  if (socket_ == INVALID_SOCKET) return false;
  for (;;) {
    if (Stopping()) return false;
    char data[16384];
    int n = recv(socket_, data, sizeof data, 0);
    if (n > 0) {
      buffer_.append(data, n);
      return true;
    }
    if (n == 0 || !WouldBlock() || !WaitEvent(INFINITE)) return false;
  }
}

bool Connection::ReadLine(std::string& line, size_t limit) {
  size_t scanned = 0;
  for (;;) {
    size_t end = buffer_.find('\n', scanned);
    if (end != std::string::npos && end < limit) {
      line = buffer_.substr(0, end + 1);
      buffer_.erase(0, end + 1);
      return true;
    }
    if (end == std::string::npos && buffer_.size() < limit) {
      scanned = buffer_.size();
      if (Fill()) continue;
    }
    size_t n = std::min(buffer_.size(), limit);
    line = buffer_.substr(0, n);
    buffer_.erase(0, n);
    return false;
  }
}

bool Connection::ReadExactly(std::string& out, size_t n) {
  while (buffer_.size() < n) {
    if (!Fill()) return false;
  }
  out.append(buffer_, 0, n);
  buffer_.erase(0, n);
  return true;
}

bool Connection::ReadSome(std::string& out) {
  if (buffer_.empty() && !Fill()) return false;
  out += buffer_;
  buffer_.clear();
  return true;
}

bool Connection::HasPending() {
  if (!buffer_.empty()) return true;
  u_long available = 0;
  return socket_ != INVALID_SOCKET && ioctlsocket(socket_, FIONREAD, &available) == 0 &&
         available > 0;
}

bool Connection::Send(const std::string& data) {
  size_t sent = 0;
  while (sent < data.size() && socket_ != INVALID_SOCKET && !Stopping()) {
    int piece = static_cast<int>(std::min<size_t>(data.size() - sent, 1 << 20));
    int n = send(socket_, data.data() + sent, piece, 0);
    if (n > 0) {
      sent += n;
    } else if (!WouldBlock() || !WaitEvent(INFINITE)) {
      return false;
    }
  }
  return sent == data.size();
}

bool Connection::SendRepeated(const std::string& piece, size_t limit) {
  if (piece.empty()) return true;
  // Many pieces to a send: one at a time would make every test of a bound wait on the loop.
  std::string batch;
  while (batch.size() < 16384) batch += piece;
  for (size_t sent = 0; sent < limit; sent += batch.size()) {
    if (!Send(batch)) return false;
  }
  return true;
}

bool Connection::Pause(DWORD ms) {
  return WaitForSingleObject(stop_, ms) == WAIT_TIMEOUT;
}

void Connection::WaitForPeerClose() {
  while (Fill()) buffer_.clear();
}

void Connection::Close() {
  if (socket_ == INVALID_SOCKET) return;
  shutdown(socket_, SD_SEND);
  for (DWORD start = GetTickCount(), waited = 0; waited < kDrainMs;
       waited = GetTickCount() - start) {
    char data[4096];
    int n = recv(socket_, data, sizeof data, 0);
    if (n == 0 || (n < 0 && (!WouldBlock() || !WaitEvent(kDrainMs - waited)))) break;
  }
  closesocket(socket_);
  socket_ = INVALID_SOCKET;
  buffer_.clear();
}

SOCKET ConnectTcp(const std::string& address, unsigned short port, HANDLE stop) {
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  if (inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1) return INVALID_SOCKET;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return s;
  SetNoDelay(s);
  WSAEVENT event = WSACreateEvent();
  WSAEventSelect(s, event, FD_CONNECT);
  bool connected = connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0;
  if (!connected && WouldBlock()) {
    HANDLE handles[2] = {stop, event};
    WSANETWORKEVENTS events = {};
    connected = WaitForMultipleObjects(2, handles, FALSE, kConnectMs) == WAIT_OBJECT_0 + 1 &&
                WSAEnumNetworkEvents(s, event, &events) == 0 &&
                (events.lNetworkEvents & FD_CONNECT) && events.iErrorCode[FD_CONNECT_BIT] == 0;
  }
  WSAEventSelect(s, nullptr, 0);
  WSACloseEvent(event);
  if (connected) return s;
  closesocket(s);
  return INVALID_SOCKET;
}

LoopbackServer::LoopbackServer() : stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

LoopbackServer::~LoopbackServer() {
  Stop();
  CloseHandle(stop_);
  if (winsock_) WSACleanup();
}

bool LoopbackServer::Start(const std::string& address, unsigned short port) {
  if (listener_ != INVALID_SOCKET) return false;
  if (!winsock_) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
    winsock_ = true;
  }
  sockaddr_in at = {};
  at.sin_family = AF_INET;
  at.sin_port = htons(port);
  if (inet_pton(AF_INET, address.c_str(), &at.sin_addr) != 1) return false;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return false;
  int length = sizeof at;
  if (bind(s, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0 ||
      listen(s, SOMAXCONN) != 0 || getsockname(s, reinterpret_cast<sockaddr*>(&at), &length) != 0) {
    closesocket(s);
    return false;
  }
  listener_ = s;
  address_ = address;
  port_ = ntohs(at.sin_port);
  connections_ = 0;
  ResetEvent(stop_);
  acceptThread_ = std::thread(&LoopbackServer::AcceptLoop, this);
  return true;
}

void LoopbackServer::Stop() {
  if (listener_ == INVALID_SOCKET) return;
  SetEvent(stop_);
  // Wakes the blocking accept; should that connection fail, closing the socket ends the accept.
  SOCKET wake = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in at = {};
  at.sin_family = AF_INET;
  at.sin_port = htons(port_);
  inet_pton(AF_INET, address_.c_str(), &at.sin_addr);
  if (connect(wake, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0) {
    closesocket(listener_);
    listener_ = INVALID_SOCKET;
  }
  acceptThread_.join();
  closesocket(wake);
  {
    std::lock_guard<std::mutex> lock(poolMutex_);
    quit_ = true;
  }
  poolReady_.notify_all();
  for (auto& thread : pool_) thread.join();
  pool_.clear();
  for (auto& connection : waiting_) closesocket(connection.first);
  waiting_.clear();
  idle_ = 0;
  quit_ = false;
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  listener_ = INVALID_SOCKET;
}

void LoopbackServer::AcceptLoop() {
  // A blocking accept: Wine 8 loses FD_ACCEPT events now and then when connections come
  // quickly, and a lost one would leave a client waiting. Stop wakes it with a connection.
  for (;;) {
    SOCKET s = accept(listener_, nullptr, nullptr);
    if (WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) {
      if (s != INVALID_SOCKET) closesocket(s);
      return;
    }
    if (s == INVALID_SOCKET) continue;
    SetNoDelay(s);
    std::lock_guard<std::mutex> lock(poolMutex_);
    waiting_.emplace_back(s, ++connections_);
    // A new thread only when every one is busy: a stalled connection must not hold up others.
    if (static_cast<int>(waiting_.size()) > idle_) pool_.emplace_back(&LoopbackServer::Work, this);
    poolReady_.notify_one();
  }
}

void LoopbackServer::Work() {
  for (;;) {
    std::pair<SOCKET, int> next;
    {
      std::unique_lock<std::mutex> lock(poolMutex_);
      ++idle_;
      poolReady_.wait(lock, [this] { return quit_ || !waiting_.empty(); });
      --idle_;
      if (quit_) return;
      next = waiting_.front();
      waiting_.pop_front();
    }
    Connection connection(next.first, next.second, stop_);
    Serve(connection);
  }
}

}  // namespace zbtest
