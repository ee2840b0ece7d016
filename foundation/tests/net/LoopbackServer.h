// A tiny TCP server on 127.0.0.1 for the socket tests: it listens on a port of the system's
// choosing and runs a handler for each connection it accepts, one after the other, on its own
// thread. Raw WinSock, so that it shares no code with the classes under test.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class LoopbackServer {
 public:
  using Handler = std::function<void(SOCKET client, LoopbackServer& server)>;

  // accept false: listen only (with the given backlog) and never accept.
  explicit LoopbackServer(Handler handler, bool accept = true, int backlog = 8);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  unsigned short Port() const { return m_port; }
  int Accepted() const { return m_accepted; }
  bool Stopping() const { return m_stop; }
  // Sleeps up to ms, returning early when the server stops.
  void Pause(int ms) const;

  // Helpers for handlers.
  static bool SendAll(SOCKET s, const std::string& data);
  // Reads until the text ends with terminator, the peer closes or ms pass.
  static std::string ReadUntil(SOCKET s, const std::string& terminator, int ms = 5000);
  // Reads everything until the peer closes (or ms pass).
  static std::string ReadAll(SOCKET s, int ms = 5000);

  // A port on 127.0.0.1 where nothing listens.
  static unsigned short FreePort();

 private:
  void Run();

  Handler m_handler;
  SOCKET m_listen = INVALID_SOCKET;
  unsigned short m_port = 0;
  bool m_accept;
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_accepted{0};
  std::thread m_thread;
};
