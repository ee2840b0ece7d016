// CSock: a blocking TCP socket built on non-blocking WinSock calls. Every wait blocks in select
// for at most one wait step (a second) at a time, so the abort flag, which any thread may set, and
// the idle hook are served at least once a step. The time-out counts steps without progress.
// Sending and receiving are throttled against a shared bandwidth meter. Each step is reported
// through a virtual hook whose base version passes its event code to an optional callback.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "foundation/net/BandwidthMeter.h"
#include "foundation/net/InetAddress.h"
#include "foundation/core/LibString.h"

class CSock;

// Returns false to make the socket abort. data: 0, a text (const char*) for 118 and the text
// hooks of derived classes, or two uint32_t numbers (const uint32_t*) for 119 and 120.
typedef bool (*SockCallback)(CSock* sock, int code, uintptr_t data, uintptr_t user);

enum SockEvent {
  kSockReset = 100,
  kSockEvent101 = 101,
  kSockNoAddress = 102,
  kSockResolving = 103,
  kSockConnected = 104,
  kSockConnectFailed = 105,
  kSockConnectRefused = 106,
  kSockEvent107 = 107,
  kSockEvent108 = 108,
  kSockEvent109 = 109,
  kSockIdle = 110,
  kSockAbort = 111,
  kSockClosed = 112,
  kSockTimeout = 113,
  kSockDestroy = 114,
  kSockCreateFailed = 115,
  kSockNoMemory = 116,
  kSockEvent117 = 117,
  kSockText = 118,
  kSockReceiveProgress = 119,
  kSockProgress120 = 120,
  kSockReadLimit = 121
};

class CSock {
 public:
  static constexpr uintptr_t kNoSocket = ~uintptr_t(0);  // INVALID_SOCKET
  static constexpr int kDefaultTimeout = 45;
  static constexpr int kDefaultChunkSize = 2048;
  // Longest line ReadUntil takes; a longer one closes the connection (see IsBadLine).
  static constexpr int kMaxLineLength = 65536;

  CSock();
  virtual ~CSock();
  CSock(const CSock&) = delete;
  CSock& operator=(const CSock&) = delete;

  // Back to the state after construction (an open handle is closed without hooks).
  void Reset();

  // Closes an open handle, then socket(domain, type, protocol). Defaults: TCP over IPv4.
  bool Create(int type = 1 /*SOCK_STREAM*/, int domain = 2 /*AF_INET*/, int protocol = 0);
  // Connects to the proxy when one is set, else to the address or the host text (a dotted
  // address, optionally ":port"; an empty text counts as none).
  bool Connect(const CInetAddress& address, const CLibString& hostText = CLibString());
  bool ConnectDirect(const CInetAddress& address, const CLibString& hostText = CLibString());
  bool IsValid() const;
  bool IsConnected() const;
  void Close();

  // One wait of at most seconds wait steps (-1 = the time-out): 1 ready, 0 nothing, -1 error (a
  // failed connect counts as an error for WaitWritable).
  int WaitReadable(int seconds);
  int WaitWritable(int seconds);

  // length 0 = the text up to its terminator. Returns the bytes sent, -1 without a handle.
  int Send(const char* buffer, int length = 0);
  // The text, then CR LF: the text's bytes plus 2 when the line end went out.
  int SendLine(const CLibString& text);
  // Reads until length bytes arrived, the peer closed, seconds steps (-1 = the time-out) passed
  // without data, or the abort flag. Returns the bytes read.
  int Recv(char* buffer, int length, int seconds = -1);
  // The text up to and including the terminator (or up to the end, the time-out or the abort).
  // seconds counts wait steps without data: every byte that comes gives the budget back.
  CLibString ReadUntil(char terminator, int seconds = -1);
  // ReadUntil LF with the time-out, every CR and LF removed.
  CLibString ReadLine();
  // The same into a text the caller keeps from line to line.
  void ReadLine(std::string& line);
  // True when the last ReadUntil met a line longer than kMaxLineLength or one holding a NUL
  // byte; the result is then empty and the connection closed, since no protocol line looks like
  // that and what follows cannot be trusted to start a line.
  bool IsBadLine() const { return m_badLine; }
  // True when the last ReadUntil found its terminator; false when it stopped on a time-out, the
  // peer's close or the abort flag first (its text is then only the start of a line).
  bool IsLineEnded() const { return m_lineEnded; }

  void Abort() { m_abort = true; }
  bool IsAborted() const { return m_abort; }

  // Below 1 means the default of 45 seconds.
  void SetTimeout(int seconds);
  int GetTimeout();
  // Returns the send chunk size; stores size unless it is -1.
  unsigned SetChunkSize(unsigned size);
  unsigned GetReceiveChunkSize() const { return m_recvChunk; }
  // Returns the previous limit; -1 only asks; a negative value stores 0 (no limit).
  int SetReadLimit(int limit);

  // The time-out bounds a peer gone quiet; this bounds a whole transfer, however steadily the
  // peer trickles. From BeginTransfer on, connecting, sending and reading give up as on a
  // time-out once the seconds have passed (below 1: no bound); EndTransfer lifts the bound.
  void BeginTransfer(int seconds);
  void EndTransfer() { m_transferDeadline = 0; }
  // Its seconds are wait steps (SockletWaitStep), which tests shorten.
  bool IsTransferOverdue() const;

  void SetProxy(const CInetAddress& address, const CLibString& user, const CLibString& password);
  void GetProxy(CInetAddress& address, CLibString& user, CLibString& password) const;
  bool HasProxy() const { return m_proxy.IsValid(); }

  void SetBandwidthMeter(CBandwidthMeter* meter) { m_meter = meter; }
  CBandwidthMeter* GetBandwidthMeter() const { return m_meter; }

  void SetCallback(SockCallback callback, uintptr_t user) {
    m_callback = callback;
    m_user = user;
  }
  // Only codes low..high reach the callback; 0/0 lets all through.
  void SetCallbackRange(int low, int high) {
    m_low = low;
    m_high = high;
  }
  // Passes the code to the callback when it is in range; a false answer sets the abort flag.
  void Notify(int code, uintptr_t data = 0);

  int GetStatus() const { return m_status; }
  void SetStatus(int code) { m_status = code; }
  CLibString GetStatusText() const { return m_statusText; }
  void SetStatusText(const CLibString& text) { m_statusText = text; }

  // The WinSock error of the last failed connect (10061 refused, ...).
  int GetLastSocketError() const { return m_lastError; }
  uintptr_t GetHandle() const { return m_socket; }
  const CInetAddress& GetDestination() const { return m_destination; }
  // getsockname into the destination field (unchanged on failure).
  CInetAddress GetLocalAddress();
  // getpeername into the peer address.
  CInetAddress GetPeerAddress();

 protected:
  // Hooks, in this order. Each base version reports its code through Notify.
  virtual void OnReset() { Notify(kSockReset); }
  virtual void OnEvent101() { Notify(kSockEvent101); }
  virtual void OnNoAddress() { Notify(kSockNoAddress); }
  virtual void OnResolving() { Notify(kSockResolving); }
  virtual void OnConnected() { Notify(kSockConnected); }
  virtual void OnConnectFailed() { Notify(kSockConnectFailed); }
  virtual void OnConnectRefused() { Notify(kSockConnectRefused); }
  virtual void OnEvent107() { Notify(kSockEvent107); }
  virtual void OnEvent108() { Notify(kSockEvent108); }
  virtual void OnEvent109() { Notify(kSockEvent109); }
  virtual void OnIdle() { Notify(kSockIdle); }
  virtual void OnAbort() { Notify(kSockAbort); }
  virtual void OnClosed() { Notify(kSockClosed); }
  virtual void OnTimeout() { Notify(kSockTimeout); }
  virtual void OnDestroy() { Notify(kSockDestroy); }
  virtual void OnCreateFailed() { Notify(kSockCreateFailed); }
  virtual void OnNoMemory() { Notify(kSockNoMemory); }
  virtual void OnEvent117() { Notify(kSockEvent117); }
  virtual void OnText(const char* text) { Notify(kSockText, reinterpret_cast<uintptr_t>(text)); }
  virtual void OnReceiveProgress(uint32_t soFar, uint32_t total);
  virtual void OnProgress120(uint32_t soFar, uint32_t total);
  virtual void OnReadLimit() { Notify(kSockReadLimit); }

  // Closes the handle without hooks.
  void CloseSocketHandle();
  // Waits until the receive (send) rate is within the meter's limit; pause in milliseconds.
  void ThrottleReceive();
  void ThrottleSend();

  CInetAddress m_destination;
  int m_lastError = 0;
  uintptr_t m_socket = kNoSocket;
  std::atomic<bool> m_abort{false};
  int m_status = 0;
  CLibString m_statusText;
  CInetAddress m_proxy;
  CLibString m_proxyUser;
  CLibString m_proxyPassword;
  int m_readLimit = 0;
  CBandwidthMeter* m_meter = nullptr;
  unsigned char m_connected = 0;
  CInetAddress m_peer;
  int m_timeout = kDefaultTimeout;
  uint64_t m_transferDeadline = 0;  // tick count in milliseconds; 0: no bound
  unsigned m_sendChunk = kDefaultChunkSize;
  unsigned m_recvChunk = kDefaultChunkSize;
  SockCallback m_callback = nullptr;
  int m_low = 0;
  int m_high = 0;
  uintptr_t m_user = 0;

 private:
  // Bytes read from the connection ahead of the caller. Every socket call is costly (under Wine
  // a round trip to the server), so lines and small reads are served from here and the kernel
  // is asked for as much as it has. Only Recv and ReadUntil take from it.
  static constexpr int kInboxSize = 65536;

  int Wait(int seconds, bool write);
  // One non-blocking read into the empty inbox: the bytes read, 0 when nothing is there yet,
  // -1 when the peer closed or the connection failed.
  int Fill();
  int Buffered() const { return m_inboxEnd - m_inboxStart; }
  // Reads of at least this many bytes skip the inbox when it is empty.
  static constexpr int kDirectReceive = 8192;
  // One non-blocking read into out, as Fill.
  int ReceiveDirect(char* out, int count);
  // Hands count bytes of the inbox to the caller and to the meter.
  void Take(char* out, int count);
  // Moves the inbox up to the terminator (or as much as the line may still take) onto the
  // line; false when the line holds a NUL or reached kMaxLineLength without its end.
  bool TakeLinePiece(char terminator, std::string& line);
  // ReadUntil into line (emptied first).
  void ReadUntilInto(char terminator, int seconds, std::string& line);

  // Set by a send, cleared by the next read: the answer to what was just sent is seldom there
  // yet, so the read waits first instead of asking the kernel for nothing (a call that under
  // Wine costs a round trip to the server).
  bool m_replyDue = false;
  // A read's first step: false when it should wait before reading (the reply is due and
  // nothing is read ahead), which counts as a step without data.
  bool ReadsFirst(int steps);

  bool m_holdsLibrary = false;
  bool m_badLine = false;
  bool m_lineEnded = false;
  std::unique_ptr<char[]> m_inbox;
  int m_inboxStart = 0;
  int m_inboxEnd = 0;
};
