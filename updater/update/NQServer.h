// NQServer: the update program's HTTP client. Every connection it makes goes straight to the
// server or, with a proxy, through a CONNECT tunnel of the proxy, so requests never carry proxy
// headers. It fetches one URL into one file (HTTP/1.0, following a few redirects) and reports
// the body bytes as they come.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "foundation/net/SockHttpClient.h"

class NQServer : public CSockHttpClient {
 public:
  // Longest line of a proxy's answer, and most lines, before the tunnel is given up.
  static constexpr int kMaxProxyLine = 8192;
  static constexpr int kMaxProxyLines = 64;
  static constexpr int kMaxRedirects = 5;

  NQServer();
  ~NQServer() override;

  // The proxy for the tunnel; an invalid address means none.
  void SetTunnelProxy(const CInetAddress& proxy, const std::string& user,
                      const std::string& password);
  bool HasTunnelProxy() const { return m_tunnelProxy.IsValid(); }

  // Direct, or through the tunnel when a proxy is set.
  bool ConnectTarget(CInetAddress target);
  bool ConnectTunnel(CInetAddress target);

  // GET url into path (created or truncated). Returns the body bytes written, or -1 when
  // nothing was fetched (no connection, no status line, a status other than 200, or a file
  // that cannot be written). The status and the response headers stay readable.
  // A body that announces or sends more than maxBytes (when not negative) fails too, and
  // whatever of it was written is deleted: a server never fills the disk.
  long GetToFile(const std::string& url, const std::string& path, int64_t maxBytes = -1);
  // Whether the last GetToFile stopped at its size bound.
  bool WasOverLimit() const { return m_overLimit; }

  // Called with the body bytes so far: 0 when a body starts.
  std::function<void(uint32_t bytes)> onProgress;

 protected:
  void OnReceiveProgress(uint32_t soFar, uint32_t total) override;

 private:
  long FetchOnce(const std::string& url, const std::string& path, std::string& location);
  long ReceiveBody(void* file);
  int64_t m_maxBytes = -1;
  bool m_overLimit = false;
  CInetAddress m_tunnelProxy;
  std::string m_proxyUserName;
  std::string m_proxyPass;
};

// The test of one transfer: status 200 and a body at least as long as "content-length" said.
bool IsTransferComplete(NQServer& server, long bytes);
