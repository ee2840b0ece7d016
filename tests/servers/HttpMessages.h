// HTTP requests as the test servers receive and record them, and responses as the tests describe
// them, faults included.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zbtest {

class Connection;

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
  std::string method;   // "GET"
  std::string target;   // "/path?query", or "http://host:port/path?query" through a proxy
  std::string version;  // "HTTP/1.0"
  HttpHeaders headers;  // in the order they came, names as sent
  std::string body;     // as many bytes as Content-Length said
  std::string head;     // request line and header lines exactly as received, blank line included
  int connection = 0;   // number of the connection it came on, 1 for the first

  std::string Path() const;   // target up to "?"
  std::string Query() const;  // target after "?", empty when none
  // First value of a header, its name compared in any case; empty when absent.
  std::string Header(std::string_view name) const;
  bool HasHeader(std::string_view name) const;
  int HeaderCount(std::string_view name) const;
};

enum class ReadStatus { Ok, Closed, Bad };
// Reads one request: Closed when the peer closed before a complete one, Bad when it is not HTTP.
ReadStatus ReadHttpRequest(Connection& connection, HttpRequest& request);

struct HttpResponse {
  enum class Body {
    Length,   // "Content-Length" added unless the headers have one
    Close,    // no length: the body ends when the connection closes
    Chunked,  // "Transfer-Encoding: chunked" added unless the headers have one
  };
  static constexpr size_t kAll = static_cast<size_t>(-1);

  int status = 200;
  std::string reason;  // empty: the usual text for the status
  std::string version = "HTTP/1.0";
  HttpHeaders headers;  // sent in this order, then the framing and "Connection" headers
  std::string body;
  Body framing = Body::Length;
  size_t chunkSize = 0;        // chunked: bytes per chunk, 0 = the whole body in one chunk
  std::string chunkExtension;  // chunked: written after each chunk size, e.g. ";name=value"
  HttpHeaders trailers;        // chunked: header lines after the last chunk
  bool keepAlive = false;      // the connection stays for another request (not with Close)
  bool continueFirst = false;  // an interim "100 Continue" head goes first
  std::string raw;             // when set, sent as it stands instead of the fields above
  // When set, sent again and again after the rest until the client closes (at most
  // kEndlessLimit bytes): a head whose lines never end, interim heads without end.
  std::string endless;
  static constexpr size_t kEndlessLimit = 64u << 20;

  // Faults, applied to the bytes on the wire:
  DWORD delayMs = 0;            // pause before the first byte
  size_t pieceSize = 0;         // slow: send in pieces of this many bytes...
  DWORD pieceDelayMs = 0;       // ...with this pause between them
  size_t stallAfter = kAll;     // send this many bytes, then nothing until the client closes
  size_t truncateAfter = kAll;  // send this many bytes, then close

  static HttpResponse Text(std::string body, std::string contentType = "text/html",
                           int status = 200);
  // A redirect with a "Location" header (relative or absolute, as given) and a short body.
  static HttpResponse Redirect(std::string location, int status = 302);
  // `head` as it stands, then `repeated` without end.
  static HttpResponse Endless(std::string head, std::string repeated);
  HttpResponse& Header(std::string name, std::string value);

  // The bytes of the response, without the body for a HEAD request.
  std::string Wire(bool headRequest = false) const;
  bool KeepsConnection() const { return keepAlive && framing != Body::Close; }
};

// Sends a response with its faults; true when the connection may serve another request.
bool SendHttpResponse(Connection& connection, const HttpResponse& response, bool headRequest);

const char* StatusText(int status);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace zbtest
