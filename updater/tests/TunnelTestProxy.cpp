#include "updater/tests/TunnelTestProxy.h"

#include <cstdlib>

#include "tests/servers/HttpTestProxy.h"

namespace zbtest {

void TunnelTestProxy::Serve(Connection& client) {
  std::string head, line, target;
  while (client.ReadLine(line, 8192)) {
    head += line;
    if (line == "\r\n" || line == "\n") break;
    if (target.empty() && line.rfind("CONNECT ", 0) == 0)
      target = line.substr(8, line.find(' ', 8) - 8);
    line.clear();
  }
  std::string answer;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    heads_.push_back(head);
    answer = answer_;
  }
  if (!answer.empty()) {
    client.Send(answer);
    client.WaitForPeerClose();
    return;
  }
  std::string wanted =
      "Proxy-Authorization: Basic " + HttpTestProxy::Base64(user_ + ":" + password_);
  if (!user_.empty() && head.find(wanted + "\r\n") == std::string::npos) {
    client.Send(
        "HTTP/1.0 407 Proxy Authentication Required\r\n"
        "Proxy-Authenticate: Basic realm=\"test\"\r\n\r\n");
    return;
  }
  Relay(client, target);
}

void TunnelTestProxy::Relay(Connection& client, const std::string& target) {
  size_t colon = target.rfind(':');
  std::string host = target.substr(0, colon);
  // The client names a loopback address by its reverse look-up.
  if (host == "localhost") host = "127.0.0.1";
  if (colon == std::string::npos || host.rfind("127.", 0) != 0) {
    client.Send("HTTP/1.0 403 Forbidden\r\n\r\n");
    return;
  }
  SOCKET s = ConnectTcp(host, static_cast<unsigned short>(std::atoi(target.c_str() + colon + 1)),
                        StopEvent());
  if (s == INVALID_SOCKET) {
    client.Send("HTTP/1.0 502 Bad Gateway\r\n\r\n");
    return;
  }
  Connection origin(s, 0, StopEvent());
  ++tunnels_;
  client.Send("HTTP/1.0 200 Connection established\r\nProxy-agent: test\r\n\r\n");
  // The client speaks HTTP/1.0 through the tunnel: one request head, then the response up to
  // the origin's close.
  std::string request, line;
  while (client.ReadLine(line, 65536)) {
    request += line;
    if (line == "\r\n" || line == "\n") break;
    line.clear();
  }
  origin.Send(request);
  std::string piece;
  for (;;) {
    bool more = origin.ReadSome(piece);
    if (!piece.empty()) client.Send(piece);
    piece.clear();
    if (!more) break;
  }
}

}  // namespace zbtest
