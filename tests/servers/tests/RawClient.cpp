#include "tests/servers/tests/RawClient.h"

#include <ws2tcpip.h>

#include <cstdlib>

#include "tests/servers/HttpMessages.h"

namespace zbtest {

namespace {

DWORD Left(DWORD start, DWORD timeoutMs) {
  DWORD spent = GetTickCount() - start;
  return spent >= timeoutMs ? 0 : timeoutMs - spent;
}

}  // namespace

RawClient::RawClient() : event_(WSACreateEvent()) {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
}

RawClient::~RawClient() {
  Close();
  WSACloseEvent(event_);
  WSACleanup();
}

bool RawClient::Connect(unsigned short port, const char* address) {
  Close();
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  inet_pton(AF_INET, address, &to.sin_addr);
  socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  closed_ = false;
  buffer_.clear();
  if (socket_ == INVALID_SOCKET ||
      connect(socket_, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
    return false;
  }
  // Waits go through an event, not select (see LoopbackServer.h).
  WSAEventSelect(socket_, event_, FD_READ | FD_WRITE | FD_CLOSE);
  return true;
}

bool RawClient::Send(const std::string& data) {
  size_t sent = 0;
  while (sent < data.size()) {
    int n = send(socket_, data.data() + sent, static_cast<int>(data.size() - sent), 0);
    if (n > 0) {
      sent += n;
    } else if (WSAGetLastError() != WSAEWOULDBLOCK || !Wait(5000)) {
      return false;
    }
  }
  return true;
}

bool RawClient::Wait(DWORD timeoutMs) {
  if (WaitForSingleObject(event_, timeoutMs) != WAIT_OBJECT_0) return false;
  WSANETWORKEVENTS events;
  WSAEnumNetworkEvents(socket_, event_, &events);
  return true;
}

bool RawClient::Fill(DWORD timeoutMs) {
  if (closed_ || socket_ == INVALID_SOCKET) return false;
  for (DWORD start = GetTickCount(), waited = 0;; waited = GetTickCount() - start) {
    char data[16384];
    int n = recv(socket_, data, sizeof data, 0);
    if (n > 0) {
      buffer_.append(data, n);
      return true;
    }
    if (n == 0 || WSAGetLastError() != WSAEWOULDBLOCK) {
      closed_ = true;
      return false;
    }
    if (waited >= timeoutMs || !Wait(timeoutMs - waited)) return false;
  }
}

std::string RawClient::ReadAll(DWORD timeoutMs) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs;) {
    if (!Fill(Left(start, timeoutMs)) && (closed_ || socket_ == INVALID_SOCKET)) {
      break;
    }
  }
  std::string all;
  all.swap(buffer_);
  return all;
}

std::string RawClient::ReadAtLeast(size_t n, DWORD timeoutMs) {
  for (DWORD start = GetTickCount(); buffer_.size() < n && GetTickCount() - start < timeoutMs;) {
    if (!Fill(Left(start, timeoutMs))) break;
  }
  std::string all;
  all.swap(buffer_);
  return all;
}

std::string RawClient::ReadLine(DWORD timeoutMs) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs;) {
    size_t end = buffer_.find("\r\n");
    if (end != std::string::npos) {
      std::string line = buffer_.substr(0, end + 2);
      buffer_.erase(0, end + 2);
      return line;
    }
    if (!Fill(Left(start, timeoutMs))) break;
  }
  return std::string();
}

bool RawClient::ServerClosed(DWORD timeoutMs) {
  for (DWORD start = GetTickCount(); !closed_ && GetTickCount() - start < timeoutMs;) {
    if (Fill(Left(start, timeoutMs))) buffer_.clear();
  }
  return closed_;
}

void RawClient::Close() {
  if (socket_ != INVALID_SOCKET) closesocket(socket_);
  socket_ = INVALID_SOCKET;
}

std::string Exchange(unsigned short port, const std::string& request, DWORD timeoutMs) {
  RawClient client;
  if (!client.Connect(port) || !client.Send(request)) return std::string();
  return client.ReadAll(timeoutMs);
}

std::string ParsedResponse::Header(const std::string& name) const {
  size_t at = head.find("\r\n");
  while (at != std::string::npos) {
    size_t start = at + 2;
    size_t end = head.find("\r\n", start);
    std::string line = head.substr(start, end == std::string::npos ? end : end - start);
    size_t colon = line.find(':');
    if (colon != std::string::npos && EqualsNoCase(line.substr(0, colon), name)) {
      size_t value = line.find_first_not_of(' ', colon + 1);
      return value == std::string::npos ? std::string() : line.substr(value);
    }
    at = end;
  }
  return std::string();
}

ParsedResponse Parse(const std::string& response) {
  ParsedResponse parsed;
  size_t end = response.find("\r\n\r\n");
  parsed.head = response.substr(0, end);
  if (end != std::string::npos) parsed.body = response.substr(end + 4);
  size_t blank = parsed.head.find(' ');
  if (blank != std::string::npos) parsed.status = std::atoi(parsed.head.c_str() + blank + 1);
  return parsed;
}

}  // namespace zbtest
