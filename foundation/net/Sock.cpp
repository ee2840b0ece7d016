#include "foundation/net/Sock.h"

#include <winsock2.h>
#include <windows.h>

#include <cstring>
#include <new>
#include <string>

#include "foundation/net/Socklet.h"

namespace {

SOCKET Handle(uintptr_t socket) {
  return static_cast<SOCKET>(socket);
}

}  // namespace

CSock::CSock() {
  Reset();
  OnReset();
}

CSock::~CSock() {
  OnDestroy();
  CloseSocketHandle();
  if (m_holdsLibrary) {
    SockletCountSocket(-1);
    SockletCleanup();
  }
}

void CSock::Reset() {
  // A socket holds one library reference however often it is reset.
  if (!m_holdsLibrary && SockletStartup()) {
    SockletCountSocket(1);
    m_holdsLibrary = true;
  }
  CloseSocketHandle();
  m_timeout = kDefaultTimeout;
  m_abort = false;
  m_connected = 0;
  m_lastError = 0;
  m_destination = CInetAddress();
  m_proxy = CInetAddress();
  m_proxyUser = CLibString();
  m_proxyPassword = CLibString();
  m_peer = CInetAddress();
  m_status = 0;
  m_statusText = CLibString();
  m_sendChunk = kDefaultChunkSize;
  m_recvChunk = kDefaultChunkSize;
  m_callback = nullptr;
  m_low = 0;
  m_high = 0;
  m_user = 0;
  m_meter = nullptr;
  m_readLimit = 0;
  m_badLine = false;
  m_lineEnded = false;
}

bool CSock::Create(int type, int domain, int protocol) {
  CloseSocketHandle();
  SOCKET s = socket(domain, type, protocol);
  if (s == INVALID_SOCKET) {
    OnCreateFailed();
    return false;
  }
  m_socket = static_cast<uintptr_t>(s);
  return true;
}

bool CSock::Connect(const CInetAddress& address, const CLibString& hostText) {
  if (HasProxy()) return ConnectDirect(m_proxy);
  if (!address.IsValid() && hostText.GetLength() == 0) {
    OnNoAddress();
    return false;
  }
  return ConnectDirect(address, hostText);
}

bool CSock::ConnectDirect(const CInetAddress& address, const CLibString& hostText) {
  m_abort = false;
  bool nothing = !address.IsValid() && hostText.GetLength() == 0;
  if (nothing) OnNoAddress();
  if (m_connected || nothing) return false;

  if (m_socket == kNoSocket && !Create()) return false;
  u_long nonBlocking = 1;
  ioctlsocket(Handle(m_socket), FIONBIO, &nonBlocking);

  if (hostText.GetLength() > 0) {
    CLibString text = hostText;
    CLibString dotted = text.NextToken(":");
    long port = 80;
    if (text.GetLength() > 0) {
      bool digits = text.GetLength() <= 5 && strspn(text.c_str(), "0123456789") ==
                                                  static_cast<size_t>(text.GetLength());
      port = digits ? text.ToLong() : -1;
    }
    uint32_t value = 0;
    if (!CInetAddress::ParseDotted(dotted.c_str(), value) || port < 1 || port > 65535) {
      // Not an address, or a port that would wrap onto another: nothing to connect to.
      m_lastError = WSAEINVAL;
      OnNoAddress();
      CloseSocketHandle();
      return false;
    }
    m_destination.SetAddress(value, static_cast<unsigned>(port));
  } else {
    m_destination = address;
    if (m_destination.GetPort() > 65535) {
      // Cut to 16 bits it would name another port.
      m_lastError = WSAEINVAL;
      OnNoAddress();
      CloseSocketHandle();
      return false;
    }
  }
  OnResolving();

  sockaddr_in sa = {};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(m_destination.GetAddress());
  sa.sin_port = htons(static_cast<u_short>(m_destination.GetPort()));
  int error = 0;
  if (connect(Handle(m_socket), reinterpret_cast<sockaddr*>(&sa), sizeof sa) == SOCKET_ERROR) {
    error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK) error = 0;
  }

  bool connected = false;
  if (error == 0) {
    int budget = GetTimeout();
    for (;;) {
      if (m_abort) {
        OnAbort();
        Close();
        return false;
      }
      OnIdle();
      if (--budget < 0 || IsTransferOverdue()) {
        OnTimeout();
        error = WSAETIMEDOUT;
        break;
      }
      int ready = WaitWritable(1);
      if (ready > 0) {
        connected = true;
        break;
      }
      if (ready < 0) {
        // A refused or unreachable peer shows at once in the exception set; its reason is the
        // socket's pending error.
        int pending = 0;
        int size = sizeof pending;
        getsockopt(Handle(m_socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&pending),
                   &size);
        error = pending ? pending : WSAGetLastError();
        if (error == 0) error = WSAENOTCONN;
        break;
      }
    }
  }

  if (connected) {
    m_connected = 1;
    OnConnected();
    return true;
  }
  m_lastError = error;
  WSASetLastError(0);
  if (error == WSAECONNREFUSED)
    OnConnectRefused();
  else
    OnConnectFailed();
  CloseSocketHandle();
  return false;
}

bool CSock::IsValid() const {
  if (m_socket == kNoSocket) return false;
  int type = 0;
  int size = sizeof type;
  return getsockopt(Handle(m_socket), SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &size) ==
         0;
}

bool CSock::IsConnected() const {
  return m_connected && IsValid();
}

void CSock::Close() {
  if (m_connected) OnClosed();
  CloseSocketHandle();
}

void CSock::CloseSocketHandle() {
  if (m_socket != kNoSocket) closesocket(Handle(m_socket));
  m_socket = kNoSocket;
  m_connected = 0;
  m_inboxStart = m_inboxEnd = 0;
  m_replyDue = false;
  // Only open connections keep a read-ahead buffer: a run holds a closed socket per engine and
  // search term.
  m_inbox.reset();
}

int CSock::Wait(int seconds, bool write) {
  if (m_socket == kNoSocket) return 0;
  if (!write && Buffered() > 0) return 1;
  if (seconds < 0) seconds = GetTimeout();
  unsigned long long ms = static_cast<unsigned long long>(seconds) * SockletWaitStep();
  timeval limit;
  limit.tv_sec = static_cast<long>(ms / 1000);
  limit.tv_usec = static_cast<long>((ms % 1000) * 1000);
  fd_set ready;
  fd_set failed;
  FD_ZERO(&ready);
  FD_ZERO(&failed);
  FD_SET(Handle(m_socket), &ready);
  FD_SET(Handle(m_socket), &failed);
  int n = write ? select(0, nullptr, &ready, &failed, &limit)
                : select(0, &ready, nullptr, &failed, &limit);
  if (n == SOCKET_ERROR) return -1;
  if (n == 0) return 0;
  // WinSock reports a failed connect in the exception set and only a made one as writable, so
  // no question about the pending error is needed on success.
  if (FD_ISSET(Handle(m_socket), &failed)) return -1;
  return 1;
}

int CSock::WaitReadable(int seconds) {
  return Wait(seconds, false);
}

int CSock::WaitWritable(int seconds) {
  return Wait(seconds, true);
}

void CSock::ThrottleSend() {
  BandwidthStats stats;
  m_meter->GetStats(&stats, false);
  while (stats.sendLimit && stats.sendRate > stats.sendLimit && !m_abort) {
    SockletSleep(250);
    m_meter->GetStats(&stats, false);
    OnIdle();
  }
}

void CSock::ThrottleReceive() {
  BandwidthStats stats;
  m_meter->GetStats(&stats, true);
  while (stats.receiveLimit && stats.receiveRate > stats.receiveLimit && !m_abort) {
    SockletSleep(1000);
    m_meter->GetStats(&stats, true);
    OnIdle();
  }
}

int CSock::Send(const char* buffer, int length) {
  if (m_socket == kNoSocket || !buffer) return -1;
  if (length == 0) length = static_cast<int>(strlen(buffer));
  int sent = 0;
  int budget = GetTimeout();
  while (sent < length) {
    if (m_abort) return sent;
    if (m_meter) ThrottleSend();
    int n = send(Handle(m_socket), buffer + sent, length - sent, 0);
    if (n == SOCKET_ERROR) {
      OnIdle();
      if (WSAGetLastError() != WSAEWOULDBLOCK) return sent > 0 ? sent : -1;
      // The peer's window is full: wait for room instead of spinning, and give up when it
      // stays full for the whole time-out.
      if (--budget < 0 || IsTransferOverdue()) {
        OnTimeout();
        return sent;
      }
      WaitWritable(1);
      continue;
    }
    sent += n;
    m_replyDue = true;
    budget = GetTimeout();
    if (m_meter) m_meter->AddSent(static_cast<uint32_t>(n));
  }
  return sent;
}

int CSock::SendLine(const CLibString& text) {
  // One send for the line and its end: every socket call is costly.
  int length = text.GetLength();
  CLibString line;
  if (!line.Grow(static_cast<size_t>(length) + 2)) return -1;
  line += text;
  line += "\r\n";
  int n = Send(line.c_str(), length + 2);
  if (n < length) return -1;
  return n == length + 2 ? length + 2 : length;
}

int CSock::Fill() {
  if (!m_inbox) {
    m_inbox.reset(new (std::nothrow) char[kInboxSize]);
    if (!m_inbox) {
      OnNoMemory();
      return -1;
    }
  }
  m_inboxStart = m_inboxEnd = 0;
  int n = recv(Handle(m_socket), m_inbox.get(), kInboxSize, 0);
  if (n > 0) {
    m_inboxEnd = n;
    return n;
  }
  if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK) return 0;
  return -1;
}

int CSock::ReceiveDirect(char* out, int count) {
  int n = recv(Handle(m_socket), out, count, 0);
  if (n > 0) {
    if (m_meter) m_meter->AddReceived(static_cast<uint32_t>(n));
    return n;
  }
  if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK) return 0;
  return -1;
}

void CSock::Take(char* out, int count) {
  memcpy(out, m_inbox.get() + m_inboxStart, static_cast<size_t>(count));
  m_inboxStart += count;
  if (m_meter) m_meter->AddReceived(static_cast<uint32_t>(count));
}

void CSock::BeginTransfer(int seconds) {
  m_transferDeadline =
      seconds < 1 ? 0 : GetTickCount64() + static_cast<uint64_t>(seconds) * SockletWaitStep();
}

bool CSock::IsTransferOverdue() const {
  return m_transferDeadline != 0 && GetTickCount64() >= m_transferDeadline;
}

int CSock::Recv(char* buffer, int length, int seconds) {
  if (!buffer || length <= 0 || m_socket == kNoSocket) return 0;
  const int steps = seconds < 0 ? GetTimeout() : seconds;
  int budget = steps;
  int got = 0;
  while (got < length) {
    if (m_abort) {
      OnAbort();
      Close();
      return got;
    }
    OnIdle();
    // Left connected, as after a time-out: the caller sees a read cut short, not a close
    // that could pass for the end of a body.
    if (IsTransferOverdue()) {
      OnTimeout();
      break;
    }
    if (m_meter) ThrottleReceive();
    // A large read with nothing read ahead goes straight into the caller's buffer: one call
    // for as much as the kernel has, and no copy.
    const bool direct = Buffered() == 0 && length - got >= kDirectReceive;
    int ready = 0;
    if (!ReadsFirst(steps))
      ready = 0;
    else if (direct)
      ready = ReceiveDirect(buffer + got, length - got);
    else
      ready = Buffered() > 0 ? 1 : Fill();
    if (ready > 0) {
      int n = direct ? ready : Buffered() < length - got ? Buffered() : length - got;
      if (!direct) Take(buffer + got, n);
      got += n;
      // The time-out is for a peer gone quiet, not for a slow but steady one.
      budget = steps;
      continue;
    }
    if (ready == 0) {
      // Nothing there: one wait step, counted against the budget of steps without data.
      if (--budget < 0) {
        OnTimeout();
        break;
      }
      if (WaitReadable(1) >= 0) continue;
    }
    m_connected = 0;
    OnClosed();
    break;
  }
  return got;
}

CLibString CSock::ReadUntil(char terminator, int seconds) {
  std::string line;
  ReadUntilInto(terminator, seconds, line);
  return line.c_str();
}

void CSock::ReadUntilInto(char terminator, int seconds, std::string& line) {
  m_badLine = false;
  m_lineEnded = false;
  // Gathered by length: a line may hold any byte, and a NUL must not hide the bytes after it
  // from the length limit.
  line.clear();
  const int steps = seconds < 0 ? GetTimeout() : seconds;
  int budget = steps;
  while (!m_lineEnded && !m_abort && m_connected && m_socket != kNoSocket) {
    OnIdle();
    if (IsTransferOverdue()) {
      OnTimeout();
      break;
    }
    int ready = !ReadsFirst(steps) ? 0 : Buffered() > 0 ? 1 : Fill();
    if (ready < 0) {
      m_connected = 0;
      OnClosed();
      break;
    }
    if (ready == 0) {
      bool last = --budget < 0;
      if (last) OnTimeout();
      if (WaitReadable(1) < 0) {
        m_connected = 0;
        OnClosed();
        break;
      }
      if (last) break;
      continue;
    }
    budget = steps;
    if (!TakeLinePiece(terminator, line)) {
      // No protocol line is this long or holds a NUL; what follows cannot be trusted.
      m_badLine = true;
      Close();
      line.clear();
      return;
    }
  }
  if (m_abort) {
    OnAbort();
    Close();
  }
}

bool CSock::ReadsFirst(int steps) {
  bool waitFirst = m_replyDue && Buffered() == 0 && steps > 0;
  m_replyDue = false;
  return !waitFirst;
}

bool CSock::TakeLinePiece(char terminator, std::string& line) {
  // Take the inbox up to the terminator, never beyond: the rest belongs to the next read.
  int room = kMaxLineLength - static_cast<int>(line.size());
  int count = Buffered() < room ? Buffered() : room;
  const char* start = m_inbox.get() + m_inboxStart;
  const void* hit = memchr(start, terminator, static_cast<size_t>(count));
  if (hit) count = static_cast<int>(static_cast<const char*>(hit) - start) + 1;
  size_t old = line.size();
  line.resize(old + static_cast<size_t>(count));
  Take(&line[old], count);
  m_lineEnded = hit != nullptr;
  if (memchr(line.data() + old, 0, static_cast<size_t>(count))) return false;
  return m_lineEnded || static_cast<int>(line.size()) < kMaxLineLength;
}

CLibString CSock::ReadLine() {
  std::string line;
  ReadLine(line);
  return line.c_str();
}

void CSock::ReadLine(std::string& line) {
  // Gathered apart and made a text once by the caller: appending a character to a text
  // measures it again, which for a line of the longest allowed length would take seconds.
  ReadUntilInto('\n', -1, line);
  size_t kept = 0;
  for (char c : line)
    if (c != '\r' && c != '\n') line[kept++] = c;
  line.resize(kept);
}

void CSock::SetTimeout(int seconds) {
  m_timeout = seconds < 1 ? kDefaultTimeout : seconds;
}

int CSock::GetTimeout() {
  if (m_timeout < 1) m_timeout = kDefaultTimeout;
  return m_timeout;
}

unsigned CSock::SetChunkSize(unsigned size) {
  unsigned previous = m_sendChunk;
  if (size != static_cast<unsigned>(-1)) {
    m_sendChunk = size;
    m_recvChunk = size;
  }
  return previous;
}

int CSock::SetReadLimit(int limit) {
  int previous = m_readLimit;
  if (limit == -1) return previous;
  m_readLimit = limit < 0 ? 0 : limit;
  return previous;
}

void CSock::SetProxy(const CInetAddress& address, const CLibString& user,
                     const CLibString& password) {
  m_proxy = address;
  m_proxyUser = user;
  m_proxyPassword = password;
}

void CSock::GetProxy(CInetAddress& address, CLibString& user, CLibString& password) const {
  address = m_proxy;
  user = m_proxyUser;
  password = m_proxyPassword;
}

void CSock::Notify(int code, uintptr_t data) {
  if (!m_callback) return;
  if ((m_low != 0 || m_high != 0) && (code < m_low || code > m_high)) return;
  if (!m_callback(this, code, data, m_user)) m_abort = true;
}

void CSock::OnReceiveProgress(uint32_t soFar, uint32_t total) {
  uint32_t numbers[2] = {soFar, total};
  Notify(kSockReceiveProgress, reinterpret_cast<uintptr_t>(numbers));
}

void CSock::OnProgress120(uint32_t soFar, uint32_t total) {
  uint32_t numbers[2] = {soFar, total};
  Notify(kSockProgress120, reinterpret_cast<uintptr_t>(numbers));
}

CInetAddress CSock::GetLocalAddress() {
  sockaddr_in sa = {};
  int size = sizeof sa;
  if (m_socket != kNoSocket &&
      getsockname(Handle(m_socket), reinterpret_cast<sockaddr*>(&sa), &size) == 0)
    m_destination.SetAddress(ntohl(sa.sin_addr.s_addr), ntohs(sa.sin_port));
  return m_destination;
}

CInetAddress CSock::GetPeerAddress() {
  sockaddr_in sa = {};
  int size = sizeof sa;
  if (m_socket != kNoSocket &&
      getpeername(Handle(m_socket), reinterpret_cast<sockaddr*>(&sa), &size) == 0)
    m_peer.SetAddress(ntohl(sa.sin_addr.s_addr), ntohs(sa.sin_port));
  return m_peer;
}
