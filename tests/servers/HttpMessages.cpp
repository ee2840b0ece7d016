#include "tests/servers/HttpMessages.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "tests/servers/LoopbackServer.h"

namespace zbtest {

namespace {

// Far above what a client sends; a longer head is not taken as a request.
constexpr size_t kMaxHead = 1 << 20;
constexpr size_t kMaxBody = 64 << 20;

std::string WithoutLineEnd(std::string line) {
  if (!line.empty() && line.back() == '\n') line.pop_back();
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

bool HasHeader(const HttpHeaders& headers, std::string_view name) {
  return std::any_of(headers.begin(), headers.end(),
                     [&](const auto& h) { return EqualsNoCase(h.first, name); });
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string HttpRequest::Path() const {
  return target.substr(0, target.find('?'));
}

std::string HttpRequest::Query() const {
  size_t at = target.find('?');
  return at == std::string::npos ? std::string() : target.substr(at + 1);
}

std::string HttpRequest::Header(std::string_view name) const {
  for (const auto& h : headers) {
    if (EqualsNoCase(h.first, name)) return h.second;
  }
  return std::string();
}

bool HttpRequest::HasHeader(std::string_view name) const {
  return zbtest::HasHeader(headers, name);
}

int HttpRequest::HeaderCount(std::string_view name) const {
  return static_cast<int>(std::count_if(
      headers.begin(), headers.end(), [&](const auto& h) { return EqualsNoCase(h.first, name); }));
}

ReadStatus ReadHttpRequest(Connection& connection, HttpRequest& request) {
  request = HttpRequest();
  request.connection = connection.Id();
  std::string line;
  // Empty lines before a request line are skipped, as HTTP servers do.
  do {
    if (!connection.ReadLine(line, kMaxHead)) {
      return line.size() >= kMaxHead ? ReadStatus::Bad : ReadStatus::Closed;
    }
  } while (WithoutLineEnd(line).empty());
  request.head = line;
  std::string requestLine = WithoutLineEnd(line);
  size_t blank1 = requestLine.find(' ');
  size_t blank2 = requestLine.find(' ', blank1 + 1);
  if (blank1 == 0 || blank1 == std::string::npos || blank2 == blank1 + 1) return ReadStatus::Bad;
  request.method = requestLine.substr(0, blank1);
  request.target = requestLine.substr(blank1 + 1, blank2 - blank1 - 1);
  if (blank2 != std::string::npos) request.version = requestLine.substr(blank2 + 1);

  for (;;) {
    size_t limit = kMaxHead - std::min(kMaxHead - 1, request.head.size());
    if (!connection.ReadLine(line, limit)) {
      return line.size() >= limit ? ReadStatus::Bad : ReadStatus::Closed;
    }
    request.head += line;
    std::string text = WithoutLineEnd(line);
    if (text.empty()) break;
    size_t colon = text.find(':');
    // No folded lines and no header without a name: a strict server refuses them.
    if (colon == 0 || colon == std::string::npos || text[0] == ' ' || text[0] == '\t') {
      return ReadStatus::Bad;
    }
    size_t value = text.find_first_not_of(" \t", colon + 1);
    request.headers.emplace_back(text.substr(0, colon),
                                 value == std::string::npos ? std::string() : text.substr(value));
  }

  if (request.HasHeader("Transfer-Encoding")) return ReadStatus::Bad;
  std::string length = request.Header("Content-Length");
  if (!length.empty()) {
    if (length.find_first_not_of("0123456789") != std::string::npos || length.size() > 9) {
      return ReadStatus::Bad;
    }
    size_t n = std::stoul(length);
    if (n > kMaxBody) return ReadStatus::Bad;
    if (!connection.ReadExactly(request.body, n)) return ReadStatus::Closed;
  }
  return ReadStatus::Ok;
}

const char* StatusText(int status) {
  switch (status) {
    case 100:
      return "Continue";
    case 200:
      return "OK";
    case 201:
      return "Created";
    case 204:
      return "No Content";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 303:
      return "See Other";
    case 304:
      return "Not Modified";
    case 307:
      return "Temporary Redirect";
    case 308:
      return "Permanent Redirect";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 407:
      return "Proxy Authentication Required";
    case 500:
      return "Internal Server Error";
    case 501:
      return "Not Implemented";
    case 502:
      return "Bad Gateway";
    case 503:
      return "Service Unavailable";
    default:
      return "Status";
  }
}

HttpResponse HttpResponse::Text(std::string body, std::string contentType, int status) {
  HttpResponse r;
  r.status = status;
  r.body = std::move(body);
  if (!contentType.empty()) r.Header("Content-Type", std::move(contentType));
  return r;
}

HttpResponse HttpResponse::Redirect(std::string location, int status) {
  HttpResponse r = Text("<html><body>Moved</body></html>", "text/html", status);
  r.Header("Location", std::move(location));
  return r;
}

HttpResponse HttpResponse::Endless(std::string head, std::string repeated) {
  HttpResponse r;
  r.raw = std::move(head);
  r.endless = std::move(repeated);
  return r;
}

HttpResponse& HttpResponse::Header(std::string name, std::string value) {
  headers.emplace_back(std::move(name), std::move(value));
  return *this;
}

std::string HttpResponse::Wire(bool headRequest) const {
  if (!raw.empty()) return raw;
  std::string out;
  if (continueFirst) out += version + " 100 Continue\r\n\r\n";
  out += version + " " + std::to_string(status) + " " +
         (reason.empty() ? std::string(StatusText(status)) : reason) + "\r\n";
  for (const auto& h : headers) out += h.first + ": " + h.second + "\r\n";
  if (framing == Body::Length && !HasHeader(headers, "Content-Length")) {
    out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  }
  if (framing == Body::Chunked && !HasHeader(headers, "Transfer-Encoding")) {
    out += "Transfer-Encoding: chunked\r\n";
  }
  if (!HasHeader(headers, "Connection")) {
    out += KeepsConnection() ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
  }
  out += "\r\n";
  if (headRequest) return out;
  if (framing != Body::Chunked) return out + body;

  size_t step = chunkSize ? chunkSize : std::max<size_t>(body.size(), 1);
  for (size_t at = 0; at < body.size(); at += step) {
    size_t n = std::min(step, body.size() - at);
    char size[20];
    std::snprintf(size, sizeof size, "%zx", n);
    out += size + chunkExtension + "\r\n";
    out.append(body, at, n);
    out += "\r\n";
  }
  out += "0" + chunkExtension + "\r\n";
  for (const auto& h : trailers) out += h.first + ": " + h.second + "\r\n";
  return out + "\r\n";
}

bool SendHttpResponse(Connection& connection, const HttpResponse& response, bool headRequest) {
  std::string wire = response.Wire(headRequest);
  if (response.delayMs && !connection.Pause(response.delayMs)) return false;
  size_t end = std::min({wire.size(), response.stallAfter, response.truncateAfter});
  size_t piece = response.pieceSize ? response.pieceSize : std::max<size_t>(end, 1);
  for (size_t at = 0; at < end; at += piece) {
    if (at && response.pieceDelayMs && !connection.Pause(response.pieceDelayMs)) return false;
    if (!connection.Send(wire.substr(at, std::min(piece, end - at)))) return false;
  }
  if (end == wire.size()) {
    if (response.endless.empty()) return true;
    connection.SendRepeated(response.endless, HttpResponse::kEndlessLimit);
    return false;
  }
  if (end == response.stallAfter) connection.WaitForPeerClose();
  return false;
}

}  // namespace zbtest
