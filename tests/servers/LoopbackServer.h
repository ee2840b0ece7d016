// Loopback TCP servers for tests: a listening socket on a 127.x address, and each connection
// served on a thread of its own from a pool (a new thread costs some 15 ms under Wine, which
// would swamp any timing of a client). The tests run in the same process as the code under test, so
// every wait here ends when the server stops and a test never hangs on a client that went quiet.
//
// Waits use WSAEventSelect and a stop event, not select: under Wine 8 the wineserver aborted
// (an assertion in complete_async_poll) while many short select calls ran on several threads,
// and the whole test hung with it.
#pragma once
#include <winsock2.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zbtest {

// One TCP connection (accepted, or made to an origin by the proxy), non-blocking underneath.
class Connection {
 public:
  // Takes over the socket; `stop` is the server's manual-reset stop event.
  Connection(SOCKET socket, int id, HANDLE stop);
  ~Connection();  // Close
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Number of the connection on its server, 1 for the first.
  int Id() const { return id_; }
  // True once the server is stopping: a read that failed then says nothing about the peer.
  bool Stopping() const { return WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0; }

  // Reads one line with its line end ("\n", after "\r" or not, so callers can check it). False
  // when the peer closed or the server stopped first, or the line reached `limit` bytes; `line`
  // then holds what came.
  bool ReadLine(std::string& line, size_t limit);
  // Appends exactly n bytes; false when they did not all come.
  bool ReadExactly(std::string& out, size_t n);
  // Appends whatever came next; false when the peer closed or the server stopped.
  bool ReadSome(std::string& out);
  // True when bytes have come that nobody has read yet.
  bool HasPending();

  bool Send(const std::string& data);
  // Sends piece again and again until the peer closes, the server stops or `limit` bytes went
  // out: a peer that takes a stream without end stops it only by closing. False when it ended
  // otherwise than by the limit.
  bool SendRepeated(const std::string& piece, size_t limit);
  // Waits; false when the server stops meanwhile.
  bool Pause(DWORD ms);
  // Reads and drops everything until the peer closes or the server stops.
  void WaitForPeerClose();
  // Graceful close: our side ends, what the peer still sends is drained for a short while, so it
  // gets our last bytes rather than a reset.
  void Close();

 private:
  bool Fill();  // reads more into buffer_; false on close, error or stop
  // Waits for the socket's next network event, a slice at most; false on stop.
  bool WaitEvent(DWORD timeoutMs);

  SOCKET socket_;
  int id_;
  HANDLE stop_;
  WSAEVENT event_;
  std::string buffer_;
};

// Connects to an IPv4 address on this machine; INVALID_SOCKET when refused, after five seconds
// or on stop.
SOCKET ConnectTcp(const std::string& address, unsigned short port, HANDLE stop);

class LoopbackServer {
 public:
  LoopbackServer();
  // Derived classes call Stop in their own destructor: Serve must not run on a half-destroyed
  // object.
  virtual ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // Listens on the address (any 127.x) and port; port 0 lets the system pick one.
  bool Start(const std::string& address = "127.0.0.1", unsigned short port = 0);
  // Ends the accept loop and every connection, and waits for their threads (well under a second).
  void Stop();

  unsigned short Port() const { return port_; }
  const std::string& Address() const { return address_; }
  // Connections accepted since Start.
  int ConnectionCount() const { return connections_; }

 protected:
  // Runs on a thread of the pool, one connection at a time; the connection is closed when it
  // returns.
  virtual void Serve(Connection& connection) = 0;
  HANDLE StopEvent() const { return stop_; }

 private:
  void AcceptLoop();
  void Work();

  SOCKET listener_ = INVALID_SOCKET;
  std::string address_;
  unsigned short port_ = 0;
  bool winsock_ = false;
  HANDLE stop_;  // manual-reset, set by Stop
  std::atomic<int> connections_{0};
  std::thread acceptThread_;

  std::mutex poolMutex_;
  std::condition_variable poolReady_;
  std::deque<std::pair<SOCKET, int>> waiting_;  // accepted connections and their numbers
  int idle_ = 0;                                // pool threads waiting for a connection
  bool quit_ = false;
  std::vector<std::thread> pool_;
};

}  // namespace zbtest
