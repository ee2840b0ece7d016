// A plain blocking WinSock client for checking the test servers byte by byte.
#pragma once
#include <winsock2.h>

#include <string>

namespace zbtest {

class RawClient {
 public:
  RawClient();
  ~RawClient();
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool Connect(unsigned short port, const char* address = "127.0.0.1");
  bool Send(const std::string& data);
  // Everything until the server closes; what came so far when the time runs out first.
  std::string ReadAll(DWORD timeoutMs = 5000);
  // At least n bytes (less when the server closed or the time ran out).
  std::string ReadAtLeast(size_t n, DWORD timeoutMs = 5000);
  // One line with its "\r\n"; empty on close or time-out.
  std::string ReadLine(DWORD timeoutMs = 5000);
  // True when the server closed within the time (unread bytes are dropped).
  bool ServerClosed(DWORD timeoutMs);
  void Close();

 private:
  bool Fill(DWORD timeoutMs);  // false on close, error or time-out
  bool Wait(DWORD timeoutMs);  // for the socket's next event
  SOCKET socket_ = INVALID_SOCKET;
  WSAEVENT event_;
  std::string buffer_;
  bool closed_ = false;
};

// Connects, sends the request and reads until the server closes.
std::string Exchange(unsigned short port, const std::string& request, DWORD timeoutMs = 5000);

struct ParsedResponse {
  int status = 0;
  std::string head;  // status line and headers, without the blank line
  std::string body;
  std::string Header(const std::string& name) const;  // first value; any case of the name
};
ParsedResponse Parse(const std::string& response);

}  // namespace zbtest
