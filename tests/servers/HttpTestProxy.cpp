#include "tests/servers/HttpTestProxy.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace zbtest {

namespace {

void Refuse(Connection& client, int status, const std::string& why) {
  HttpResponse response = HttpResponse::Text(why + "\n", "text/plain", status);
  if (status == 407) response.Header("Proxy-Authenticate", "Basic realm=\"zbtest proxy\"");
  client.Send(response.Wire());
}

// Only dotted 127.x addresses: the proxy must never reach past this machine.
bool IsLoopback(const std::string& host) {
  in_addr address;
  return inet_pton(AF_INET, host.c_str(), &address) == 1 && address.s_net == 127;
}

bool IsHopByHop(const std::string& name) {
  return EqualsNoCase(name, "Proxy-Authorization") || EqualsNoCase(name, "Proxy-Connection") ||
         EqualsNoCase(name, "Connection") || EqualsNoCase(name, "Keep-Alive");
}

}  // namespace

HttpTestProxy::HttpTestProxy(std::string user, std::string password)
    : user_(std::move(user)), password_(std::move(password)) {}

HttpTestProxy::~HttpTestProxy() {
  Stop();
}

std::vector<HttpRequest> HttpTestProxy::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

HttpRequest HttpTestProxy::LastRequest() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_.empty() ? HttpRequest() : requests_.back();
}

std::string HttpTestProxy::Base64(const std::string& text) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t at = 0; at < text.size(); at += 3) {
    size_t n = std::min<size_t>(3, text.size() - at);
    unsigned bits = 0;
    for (size_t i = 0; i < 3; ++i) {
      bits = (bits << 8) | (i < n ? static_cast<unsigned char>(text[at + i]) : 0);
    }
    for (size_t i = 0; i < 4; ++i) {
      out += i <= n ? kDigits[(bits >> (18 - 6 * i)) & 63] : '=';
    }
  }
  return out;
}

bool HttpTestProxy::Authorized(const HttpRequest& request) const {
  if (user_.empty()) return true;
  std::string value = request.Header("Proxy-Authorization");
  return value.size() > 6 && EqualsNoCase(value.substr(0, 6), "Basic ") &&
         value.substr(6) == Base64(user_ + ":" + password_);
}

void HttpTestProxy::Serve(Connection& connection) {
  HttpRequest request;
  ReadStatus status = ReadHttpRequest(connection, request);
  if (status == ReadStatus::Closed) return;
  if (status == ReadStatus::Bad) return Refuse(connection, 400, "Not an HTTP request");
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
  }
  if (request.method == "CONNECT") return Refuse(connection, 501, "No tunnels here");
  if (!Authorized(request)) return Refuse(connection, 407, "Proxy authorization required");
  Forward(connection, request);
}

void HttpTestProxy::Forward(Connection& client, const HttpRequest& request) {
  const std::string& target = request.target;
  if (target.size() < 8 || !EqualsNoCase(target.substr(0, 7), "http://")) {
    return Refuse(client, 400, "A proxy request needs an absolute http URL");
  }
  size_t slash = target.find('/', 7);
  std::string authority = target.substr(7, slash == std::string::npos ? slash : slash - 7);
  std::string path = slash == std::string::npos ? "/" : target.substr(slash);
  std::string host = authority.substr(0, authority.find(':'));
  unsigned long port = 80;
  if (host.size() < authority.size()) {
    std::string digits = authority.substr(host.size() + 1);
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
      return Refuse(client, 400, "Bad port in the URL");
    }
    port = std::stoul(digits);
    if (port == 0 || port > 65535) return Refuse(client, 400, "Bad port in the URL");
  }
  if (EqualsNoCase(host, "localhost")) host = "127.0.0.1";
  if (!IsLoopback(host)) {
    return Refuse(client, 502, "This proxy forwards to 127.x addresses only");
  }

  SOCKET s = ConnectTcp(host, static_cast<unsigned short>(port), StopEvent());
  if (s == INVALID_SOCKET) return Refuse(client, 502, "The origin refused the connection");
  Connection origin(s, 0, StopEvent());
  std::string out = request.method + " " + path + " " +
                    (request.version.empty() ? "HTTP/1.0" : request.version) + "\r\n";
  for (const auto& h : request.headers) {
    if (!IsHopByHop(h.first)) out += h.first + ": " + h.second + "\r\n";
  }
  out += "Connection: close\r\n\r\n" + request.body;
  if (!origin.Send(out)) return Refuse(client, 502, "The origin went away");
  ++forwarded_;
  // The origin closes when its response is complete; what it sent goes back unchanged.
  std::string data;
  while (origin.ReadSome(data)) {
    if (!client.Send(data)) return;
    data.clear();
  }
}

}  // namespace zbtest
