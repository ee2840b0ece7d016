// CSockHttpClient: the HTTP/1.0 client on CSock. It keeps its request headers from request to
// request, sends GET, POST and HEAD directly or through a proxy, reads the status line, headers
// and body (with a length, chunked, or up to the close), keeps a cookie jar that all clients of
// the process share, follows redirects, and reports each step through hooks 200 to 210 on top of
// the socket's hooks 100 to 121.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/core/LibString.h"
#include "foundation/core/NVList.h"
#include "foundation/net/Sock.h"
#include "foundation/net/Url.h"

enum SockHttpEvent {
  kHttpGetRequest = 200,
  kHttpPageDone = 201,
  kHttpPostRequest = 202,
  kHttpPostDone = 203,
  kHttpHeadRequest = 204,
  kHttpEvent205 = 205,
  kHttpRequestSent = 206,
  kHttpResponseLine = 207,
  kHttpSetCookie = 208,
  kHttpSendHeaders = 209,
  kHttpHeadersSent = 210
};

// The method argument of Request and DownloadFile; any other value is taken as GET.
enum HttpMethod { kHttpGet = 1, kHttpPost = 2, kHttpHead = 3 };

class CSockHttpClient : public CSock {
 public:
  static constexpr int kDefaultRedirectLimit = 8;
  static constexpr int kDefaultRepeatLimit = 10;
  // A body read into memory ends once it holds more than this, so that no page grows unbounded.
  static constexpr int kMaxBodyInMemory = 150000;
  // The largest Content-Length taken (a body count is 32 bits wide); a larger one fails.
  static constexpr long kMaxContentLength = 0x7FFFFFFF;
  // Bounds of one response head, and of the interim ("100 Continue") heads before the answer:
  // past them the server is not answering, and the request fails.
  static constexpr int kMaxHeadLines = 100;
  static constexpr long kMaxHeadBytes = 65536;
  static constexpr int kMaxInterimHeads = 10;
  // Bounds of the cookie jar, as browsers keep them: past them the oldest cookies go first.
  // A cookie whose name and value take more than kMaxCookieSize bytes is not taken.
  static constexpr int kMaxCookiesPerDomain = 150;
  static constexpr int kMaxCookies = 3000;
  static constexpr int kMaxCookieSize = 4096;
  // A page (capped at kMaxBodyInMemory) arrives within a few time-outs at any honest rate; a
  // server that trickles it a byte at a time must not hold a run for ever. GetPage and PostPage
  // bound the whole fetch, redirects included, to this many time-outs, but never below the
  // floor, so that a short time-out does not cut a slow but steady page.
  static constexpr int kPageTransferTimeouts = 6;
  static constexpr int kMinPageTransferSeconds = 60;
  int GetPageTransferSeconds();
  static constexpr int kBrowserCount = 17;
  // The Accept value of every browser identity, and their User-Agent values.
  static const char* const kBrowserAccept;
  static const char* const kBrowserAgents[kBrowserCount];

  explicit CSockHttpClient(int redirectLimit = kDefaultRedirectLimit);
  ~CSockHttpClient() override;

  // The client's own settings back to their defaults, with a browser identity picked at random
  // and "Connection: close". The socket is left as it is.
  void Reset();
  // One of the last seven browser identities, at random.
  void PickRandomBrowser();

  // Written after the request target; the leading blank is part of it (" HTTP/1.0").
  void SetHttpVersion(const CLibString& version) { m_httpVersion = version; }
  const CLibString& GetHttpVersion() const { return m_httpVersion; }

  // An empty value keeps the header from being sent.
  void SetRequestHeader(const CLibString& name, const CLibString& value);
  CLibString GetRequestHeader(const CLibString& name) const;
  CNVList& GetRequestHeaders() { return m_requestHeaders; }
  // Names in lower case; "set-cookie0", "set-cookie1"... for the Set-Cookie lines in order.
  const CNVList& GetResponseHeaders() const { return m_responseHeaders; }
  CLibString GetResponseHeader(const CLibString& lowerName) const;
  // Takes the other client's "Accept", "User-Agent" and "Connection" and its version text.
  void CopyHeadersFrom(const CSockHttpClient& other);

  // Sends the request and reads the response head, following redirects to http and https
  // addresses. method: HttpMethod. port 0 or -1: the URL's own, else by scheme.
  // interfaceAddress: a dotted address to connect to instead of resolving the host (empty =
  // none). False for a URL of another scheme (never looked up), a repeated-URL loop, a failed
  // connect, no valid head (status 0), and a status of 400 or more. The status, the response
  // headers and the connection are left for the caller, who reads the body.
  bool Request(int method, const CLibString& url, int port = -1,
               const CLibString& interfaceAddress = CLibString());
  // The body of a GET ("file" URLs: the local file's content); empty on failure.
  CLibString GetPage(const CLibString& url, int port = -1,
                     const CLibString& interfaceAddress = CLibString());
  // The body of a POST whose body is the URL's query.
  CLibString PostPage(const CLibString& url, int port = -1,
                      const CLibString& interfaceAddress = CLibString());
  // Writes the body into the download folder under fileName, or under the URL's file name
  // ("index.html" when it has none). Returns the bytes written, -1 on an HTTP error status, 0
  // when nothing could be fetched, the body came only in part (the file is removed), or the
  // name would leave the folder.
  long DownloadFile(const CLibString& url, const CLibString& fileName, int port = -1,
                    int method = kHttpGet);

  // Append the response body to a text (at most about kMaxBodyInMemory bytes) or write it to
  // an open file handle; both return the byte count. A body cut short (a time-out or a close
  // before its length or its last chunk) is a failure: what came is appended, but the status
  // becomes 0 and IsBodyBroken tells.
  int ReadBody(CLibString& text);
  long ReadBodyToFile(void* file);
  bool IsBodyBroken() const { return m_bodyBroken; }
  // Reads a response head (skipping "100 Continue" heads) into the status and the response
  // headers; returns the number of response headers.
  int ReadResponseHead();

  // The request's header block: Host, Accept, Referer, User-Agent, Connection, Content-Type and
  // Content-Length first, then the others in name order; empty values are left out.
  static CLibString FormatHeaders(const CNVList& headers);
  // One "Cookie: " line from the "Cookie: name=value" entries of a header list, or empty.
  static CLibString FormatCookieLine(const CNVList& headers);
  // Takes the Set-Cookie headers of a response to the URL into the jar.
  void SetCookies(const CNVList& responseHeaders, const CUrl& url);
  // Replaces the "Cookie: " entries of the header list by the jar's cookies for the URL.
  void AddCookieHeaders(const CUrl& url, CNVList& requestHeaders);

  // The process-wide cookie jar: key domain + path + " " + name, value the cookie's record.
  static CNVList GetCookieJar();
  static void ClearCookieJar();

  // The URL of the request under way (after redirects, the last one), and the Referer's.
  const CUrl& GetCurrentUrl() const { return m_url; }
  void SetCurrentUrl(const CUrl& url) { m_url = url; }
  const CUrl& GetPreviousUrl() const { return m_previousUrl; }

  void SetDownloadFolder(const CLibString& folder) { m_downloadFolder = folder; }
  const CLibString& GetDownloadFolder() const { return m_downloadFolder; }
  void SetSendCookies(bool send) { m_sendCookies = send ? 1 : 0; }
  bool GetSendCookies() const { return m_sendCookies != 0; }
  void SetRedirectLimit(int limit) { m_redirectLimit = limit; }
  int GetRedirectLimit() const { return m_redirectLimit; }
  int GetRedirectDepth() const { return m_redirectDepth; }
  void SetRepeatLimit(int limit) { m_repeatLimit = limit; }
  int GetRepeatLimit() const { return m_repeatLimit; }

 protected:
  // Hooks, in this order after those of CSock. Each base version reports its code through
  // Notify; the request hooks get the request target as it goes into the request line.
  virtual void OnGetRequest(const CLibString& target);
  virtual void OnPageDone() { Notify(kHttpPageDone); }
  virtual void OnPostRequest(const CLibString& target);
  virtual void OnPostDone() { Notify(kHttpPostDone); }
  virtual void OnHeadRequest(const CLibString& target);
  virtual void OnEvent205() { Notify(kHttpEvent205); }
  virtual void OnRequestSent() { Notify(kHttpRequestSent); }
  virtual void OnResponseLine(const char* text) {
    Notify(kHttpResponseLine, reinterpret_cast<uintptr_t>(text));
  }
  virtual void OnSetCookie(const char* text) {
    Notify(kHttpSetCookie, reinterpret_cast<uintptr_t>(text));
  }
  virtual void OnSendHeaders() { Notify(kHttpSendHeaders); }
  virtual void OnHeadersSent() { Notify(kHttpHeadersSent); }

  CNVList m_requestHeaders;
  CNVList m_responseHeaders;
  CUrl m_url;
  CUrl m_previousUrl;
  CLibString m_downloadFolder;
  int m_repeatCount = 0;
  int m_repeatLimit = kDefaultRepeatLimit;
  unsigned char m_sendCookies = 1;
  int m_redirectDepth = 0;
  int m_redirectLimit = kDefaultRedirectLimit;
  CLibString m_httpVersion;

 private:
  // Request, with the first URL already resolved against the current one by the caller
  // (parsed; null: not yet), so that a page's address is parsed once.
  bool RequestFrom(int method, const CLibString& url, CUrl* parsed, int port,
                   const CLibString& interfaceAddress);
  // One request of a redirect chain; location gets the next URL when one is to be followed.
  // parsed as for RequestFrom; it is taken over when used.
  bool RequestOnce(int method, const CLibString& url, CUrl* parsed, int port,
                   const CLibString& interfaceAddress, CLibString& location);
  // Resolves url against the current URL into target, without line breaks; false for an
  // address that must not be asked for (another scheme, a host no name service knows).
  bool ParseTarget(const CLibString& url, CUrl& target) const;
  // The checks of ParseTarget on a URL resolved already.
  static bool IsAskable(const CUrl& target);
  // The body of a GET or a POST of a web address (GetPage, PostPage).
  // target: the URL resolved against the current one, taken over by the request.
  CLibString FetchPage(int method, const CLibString& url, CUrl& target, int port,
                       const CLibString& interfaceAddress);
  // The request's header block (see FormatHeaders), and its Cookie line, onto out.
  static void AppendHeaders(std::string& out, const CNVList& headers);
  static void AppendCookieLine(std::string& out, const CNVList& headers);
  // Keeps a connection that leads to the current URL's place, or opens one.
  bool OpenConnection(int usePort, const CLibString& interfaceAddress);
  // The request line for the current URL; body gets a POST's body.
  CLibString BuildRequestLine(int method, int usePort, CLibString& body);
  bool SendRequest(const CLibString& requestLine, const CLibString& body);
  // Reads the head and judges it; location gets a redirect to follow.
  bool ReadAnswer(int method, CLibString& location);
  // False when the response's Content-Length is no number or more than kMaxContentLength.
  bool HasUsableLength() const;
  // Header lines up to the empty line; a status line is looked for only when statusWanted.
  // count gets the number of response headers; false when the head broke off or overran its
  // bounds.
  bool ReadHeadLines(bool statusWanted, int& count);
  void ParseStatusLine(const std::string& line);
  // The framing of the response's body: its length (0 = none given) and whether it is chunked.
  // False when the length is unusable (the body then counts as broken).
  bool BodyFraming(long& expected, bool& hasLength, bool& chunked);
  // A piece of the body onto the gathered text (file null) or into the file; false when the
  // file took less.
  bool StorePiece(void* file, const char* data, int count);
  // Room for count more bytes at the end of the gathered text; null without memory.
  char* GatherRoom(size_t count);
  // The largest piece of a body asked for in one receive.
  static constexpr int kBodyPiece = 65536;
  // Reads the next chunk's size line: 1 with size set, 0 at the last chunk (its trailer read),
  // -1 when the framing is lost.
  int NextChunk(long& size);
  // The body into a text (capped at about kMaxBodyInMemory) or, when text is null, a file.
  long ReadBodyInto(CLibString* text, void* file);
  bool BothKeepAlive() const;
  void CloseUnlessKeepAlive();
  void SetBrowser(int row);

  // True from a response head until its body has been read to its end: a connection is
  // reused only when nothing of the last response is left in it.
  bool m_bodyPending = false;
  bool m_bodyBroken = false;
  int m_setCookieCount = 0;
  // A line of a response head, and a header's name, kept from line to line.
  std::string m_line;
  std::string m_headerName;
  // Where a body is gathered before it becomes text; kept from request to request, since under
  // Wine every large allocation and release costs as much as the whole transfer.
  std::string m_gathered;
};
