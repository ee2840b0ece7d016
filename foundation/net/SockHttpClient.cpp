#include "foundation/net/SockHttpClient.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "foundation/core/Base64.h"
#include "foundation/net/InetAddress.h"
#include "foundation/net/SockHttpText.h"
#include "foundation/net/Socklet.h"

namespace sockhttp {

using std::string;

static bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

string Trim(const string& text) {
  size_t start = 0;
  size_t end = text.size();
  while (start < end && IsBlank(text[start])) ++start;
  while (end > start && IsBlank(text[end - 1])) --end;
  return text.substr(start, end - start);
}

string Lower(string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// The path a request names. The URL parser takes a last segment without a dot for a directory
// ("/search" -> "/search/"), which is right for resolving the links of the page, but the server
// is asked for the path as it was written.
CLibString RequestPath(const CUrl& url) {
  CLibString path = url.GetDirectory() + url.GetFile();
  if (path.GetLength() == 0) return "/";
  if (url.GetFile().GetLength() == 0 && url.GetQuery().GetLength() == 0 && path.GetLength() > 1) {
    string text = url.GetText().c_str();
    text = text.substr(0, text.find('?'));
    text = text.substr(0, text.rfind('#'));
    if (!text.empty() && text.back() != '/') path.Truncate(path.GetLength() - 1);
  }
  return path;
}

bool IsControl(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u < 0x20 || u == 0x7F;
}

static char LowerChar(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(const CLibString& text, const char* lower) {
  const char* p = text.c_str();
  for (; *p && *lower; ++p, ++lower)
    if (LowerChar(*p) != *lower) return false;
  return *p == *lower;
}

bool StartsWithNoCase(const char* text, const char* prefix) {
  for (; *prefix; ++text, ++prefix)
    if (LowerChar(*text) != *prefix) return false;
  return true;
}

bool ContainsNoCase(const char* text, const char* needle) {
  for (; *text; ++text) {
    const char* t = text;
    const char* n = needle;
    while (*n && *t && LowerChar(*t) == *n) ++t, ++n;
    if (!*n) return true;
  }
  return false;
}

const CLibString* FindValue(const CNVList& list, const CLibString& name) {
  AVLItem* found = list.Find(name);
  return found ? &static_cast<CNVItem*>(found)->m_value : nullptr;
}

// A Content-Length: decimal digits only (blanks around them allowed), at most the largest
// number a body count holds here.
bool ParseLength(const CLibString& text, long& length) {
  string digits = Trim(text.c_str());
  if (digits.empty() || digits.size() > 10) return false;
  unsigned long long value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value > static_cast<unsigned long long>(CSockHttpClient::kMaxContentLength)) return false;
  length = static_cast<long>(value);
  return true;
}

}  // namespace sockhttp

namespace {

using std::string;
using namespace sockhttp;

const char* const kSevenFirst[] = {"Host",       "Accept",       "Referer",       "User-Agent",
                                   "Connection", "Content-Type", "Content-Length"};

bool StartsWith(const string& text, const char* prefix) {
  return text.compare(0, strlen(prefix), prefix) == 0;
}

// The media type of a Content-Type value: "text/html; charset=x" -> "text/html".
string MediaType(const CLibString& contentType) {
  string type = contentType.c_str();
  return Trim(Lower(type.substr(0, type.find(';'))));
}

// Whether the Accept value takes a page of the media type (in lower case; empty: unknown).
bool Accepts(const CLibString& accept, const string& type) {
  const char* accepted = accept.GetLength() > 0 ? accept.c_str() : ", text/html, text/plain";
  return type.empty() || ContainsNoCase(accepted, type.c_str()) || ContainsNoCase(accepted, "*/*");
}

// Basic authorization wants the padded form; the library's coder writes none.
CLibString PaddedBase64(const CLibString& text) {
  CLibString encoded;
  Base64().Encode(encoded, text.c_str(), text.GetLength());
  for (int rest = text.GetLength() % 3; rest != 0 && rest < 3; ++rest) encoded += "=";
  return encoded;
}

// The query without its "?"; a fragment is cut off a query that goes into a request target,
// but a query that is a POST's body is data and keeps every character.
CLibString WireQuery(const CUrl& url, bool keepFragment = false) {
  string query = url.GetQuery().c_str();
  if (!query.empty() && query[0] == '?') query.erase(0, 1);
  if (!keepFragment) query = query.substr(0, query.find('#'));
  return query.c_str();
}

// An absolute URL without its fragment, as a Referer carries it; empty for an empty URL.
CLibString RefererText(const CUrl& url) {
  if (url.GetHost().GetLength() == 0) return CLibString();
  // Built in one buffer: every piece appended to a text would be an allocation.
  string text = url.GetScheme().GetLength() > 0 ? url.GetScheme().c_str() : "http";
  text += "://";
  text += url.GetHost().c_str();
  if (url.GetPort() != 0 && url.GetPort() != 80) {
    text += ':';
    text += std::to_string(url.GetPort());
  }
  text += RequestPath(url).c_str();
  CLibString query = WireQuery(url);
  if (query.GetLength() > 0) {
    text += '?';
    text += query.c_str();
  }
  return text.c_str();
}

// ---- what goes on the wire ----

bool IsWebScheme(const CLibString& scheme) {
  return scheme.GetLength() == 0 || EqualsNoCase(scheme, "http") || EqualsNoCase(scheme, "https");
}

bool HasLineBreaks(const CLibString& text) {
  for (const char* p = text.c_str(); *p; ++p)
    if (*p == '\r' || *p == '\n' || *p == '\t') return true;
  return false;
}

CLibString WithoutLineBreaks(const CLibString& text) {
  if (!HasLineBreaks(text)) return text;
  string out;
  for (const char* p = text.c_str(); *p; ++p)
    if (*p != '\r' && *p != '\n' && *p != '\t') out += *p;
  return out.c_str();
}

// "%0B" for each control character: a request target never carries one as it is.
CLibString EscapeControls(const CLibString& text) {
  static const char kHex[] = "0123456789ABCDEF";
  string out;
  for (const char* p = text.c_str(); *p; ++p) {
    unsigned char u = static_cast<unsigned char>(*p);
    if (IsControl(*p)) {
      out += '%';
      out += kHex[u >> 4];
      out += kHex[u & 15];
    } else {
      out += *p;
    }
  }
  return out.c_str();
}

// Appends text without its control characters (a tab stays): whatever a header value holds,
// it stays on its own line.
void AppendClean(string& out, const char* text) {
  for (const char* p = text; *p; ++p)
    if (!IsControl(*p) || *p == '\t') out += *p;
}

// A name taken from a URL becomes one plain file name, so that a download stays in its folder:
// the last path component only, without anything Windows would read as a drive, a stream or a
// device. Empty when nothing usable is left.
CLibString PlainFileName(const CLibString& text) {
  string name = text.c_str();
  name = name.substr(0, name.find('?'));
  size_t slash = name.find_last_of("/\\");
  if (slash != string::npos) name.erase(0, slash + 1);
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  for (char c : name)
    if (static_cast<unsigned char>(c) < 32 || strchr(":*?\"<>|", c)) return CLibString();
  string stem = Lower(name.substr(0, name.find('.')));
  static const char* const kDevices[] = {"con", "prn", "aux", "nul"};
  for (const char* device : kDevices)
    if (stem == device) return CLibString();
  if (stem.size() == 4 && (StartsWith(stem, "com") || StartsWith(stem, "lpt")) && stem[3] >= '0' &&
      stem[3] <= '9')
    return CLibString();
  return name.c_str();
}

// A name the caller gave, inside a download folder: relative and never climbing out of it.
bool StaysInFolder(const CLibString& name) {
  string text = name.c_str();
  if (text.empty() || text[0] == '\\' || text[0] == '/' || text.find(':') != string::npos)
    return false;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("/\\", start);
    if (end == string::npos) end = text.size();
    string part = text.substr(start, end - start);
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    if (part.empty() && end - start > 0) return false;  // "..", "." and the like
    start = end + 1;
  }
  return true;
}

// The local path of a "file" URL: "file:///C:/dir/page.htm" -> "C:/dir/page.htm".
CLibString LocalPath(const CLibString& url) {
  string text = url.c_str();
  text = text.substr(0, text.find('?'));
  if (Lower(text.substr(0, 5)) == "file:") text.erase(0, 5);
  if (StartsWith(text, "//")) text.erase(0, 2);
  if (text.size() >= 3 && text[0] == '/' && text[2] == ':') text.erase(0, 1);
  return text.c_str();
}

}  // namespace

// ---- identities ----

const char* const CSockHttpClient::kBrowserAccept =
    "application/vnd.ms-excel, application/msword, application/vnd.ms-powerpoint, "
    "application/x-comet, */*";

const char* const CSockHttpClient::kBrowserAgents[kBrowserCount] = {
    "Mozilla/3.01 (compatible;)",
    "Mozilla/4.79 [en] (Win98; U)",
    "Mozilla/4.79 [en]C-CCK-MCD   (Windows NT 5.0; U)",
    "Mozilla/4.0 (compatible; MSIE 4.01; Windows 98)",
    "Mozilla/4.0 (compatible; MSIE 5.0; Windows 98; DigExt)",
    "Mozilla/4.78 [en] (Windows NT 5.0; U)",
    "Mozilla/4.0 (compatible; MSIE 5.0; Mac_PowerPC)",
    "Mozilla/4.0 (compatible; MSIE 5.01; Windows NT)",
    "Mozilla/4.0 (compatible; MSIE 5.01; Windows 98)",
    "Mozilla/4.0 (compatible; MSIE 5.12; Mac_PowerPC)",
    "Mozilla/4.0 (compatible; MSIE 5.5; MSNIA; Windows 98)",
    "Mozilla/4.0 (compatible; MSIE 5.5; Windows 98; QXW0338y)",
    "Mozilla/4.0 (compatible; MSIE 5.5; Windows 95)",
    "Mozilla/4.0 (compatible; MSIE 5.5; Windows 98; Win 9x 4.90)",
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows 98; DigExt)",
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; Q312461; .NET CLR 1.0.2914",
    "Mozilla/4.0 (compatible; MSIE 6.0b; Windows NT 5.0)",
};

CSockHttpClient::CSockHttpClient(int redirectLimit) {
  Reset();
  m_redirectLimit = redirectLimit;
}

CSockHttpClient::~CSockHttpClient() = default;

void CSockHttpClient::Reset() {
  m_sendCookies = 1;
  m_repeatCount = 0;
  m_repeatLimit = kDefaultRepeatLimit;
  m_redirectDepth = 0;
  m_redirectLimit = kDefaultRedirectLimit;
  m_httpVersion = " HTTP/1.0";
  srand(static_cast<unsigned>(time(nullptr)));
  SetBrowser(rand() % kBrowserCount);
  SetRequestHeader("Connection", "close");
}

void CSockHttpClient::SetBrowser(int row) {
  SetRequestHeader("Accept", kBrowserAccept);
  SetRequestHeader("User-Agent", kBrowserAgents[row]);
}

void CSockHttpClient::PickRandomBrowser() {
  SetBrowser(kBrowserCount - 7 + rand() % 7);
}

void CSockHttpClient::SetRequestHeader(const CLibString& name, const CLibString& value) {
  m_requestHeaders.SetAt(name, value);
}

CLibString CSockHttpClient::GetRequestHeader(const CLibString& name) const {
  return m_requestHeaders.GetValue(name);
}

CLibString CSockHttpClient::GetResponseHeader(const CLibString& lowerName) const {
  return m_responseHeaders.GetValue(lowerName);
}

void CSockHttpClient::CopyHeadersFrom(const CSockHttpClient& other) {
  static const char* const kCopied[] = {"Accept", "User-Agent", "Connection"};
  for (const char* name : kCopied) SetRequestHeader(name, other.GetRequestHeader(name));
  m_httpVersion = other.m_httpVersion;
}

// ---- hooks that carry the target ----

void CSockHttpClient::OnGetRequest(const CLibString& /*target*/) {
  Notify(kHttpGetRequest);
}

void CSockHttpClient::OnPostRequest(const CLibString& /*target*/) {
  Notify(kHttpPostRequest);
}

void CSockHttpClient::OnHeadRequest(const CLibString& /*target*/) {
  Notify(kHttpHeadRequest);
}

// ---- requests ----

bool CSockHttpClient::Request(int method, const CLibString& url, int port,
                              const CLibString& interfaceAddress) {
  return RequestFrom(method, url, nullptr, port, interfaceAddress);
}

bool CSockHttpClient::RequestFrom(int method, const CLibString& url, CUrl* parsed, int port,
                                  const CLibString& interfaceAddress) {
  CLibString next = url;
  CLibString address = interfaceAddress;
  int verb = method;
  bool ok = false;
  for (;;) {
    CLibString location;
    ok = RequestOnce(verb, next, parsed, port, address, location);
    parsed = nullptr;
    if (!ok || location.GetLength() == 0) break;
    // A redirect: the next request is a GET of the location, resolved against this URL. The
    // interface address belongs to this host; another host is looked up by its own name.
    CUrl target = m_url;
    target.Parse(location);
    if (target.GetHost().Lower() != m_url.GetHost().Lower()) address = CLibString();
    next = location;
    verb = kHttpGet;
  }
  m_redirectDepth = 0;
  return ok;
}

bool CSockHttpClient::RequestOnce(int method, const CLibString& url, CUrl* parsed, int port,
                                  const CLibString& interfaceAddress, CLibString& location) {
  CUrl target;
  bool usable;
  if (parsed && !HasLineBreaks(url)) {
    // Resolved by the caller against this very URL: the same as parsing it again.
    target = std::move(*parsed);
    usable = IsAskable(target);
  } else {
    target = m_url;
    usable = ParseTarget(url, target);
  }
  if (usable && port > 65535 && target.GetPort() <= 0) usable = false;
  if (!usable) {
    // Never on the wire and never looked up: a page must not be able to spend the process's
    // budget of failed name look-ups with addresses that no HTTP server can answer.
    m_status = 0;
    m_statusText = CLibString();
    m_responseHeaders.RemoveAll();
    return false;
  }
  // The same URL over and over is a loop of the caller's (or of a server's redirects).
  if (target.GetUrl() == m_url.GetUrl()) {
    if (++m_repeatCount >= m_repeatLimit) {
      m_repeatCount = 0;
      m_url = CUrl();
      return false;
    }
  } else {
    m_repeatCount = 0;
  }

  m_status = 0;
  m_statusText = CLibString();
  m_responseHeaders.RemoveAll();

  if (m_redirectDepth == 0) m_previousUrl = std::move(m_url);
  m_url = std::move(target);
  bool secure = EqualsNoCase(m_url.GetScheme(), "https");
  int usePort = m_url.GetPort() > 0 ? m_url.GetPort() : port;
  if (usePort <= 0) usePort = secure ? 443 : 80;

  // A server on another port than the scheme's own needs it in Host to build its own addresses.
  const CLibString& host = m_url.GetHost();
  bool defaultPort = m_url.GetPort() <= 0 || m_url.GetPort() == (secure ? 443 : 80);
  SetRequestHeader("Host", defaultPort ? host : host + ":" + CLibString(m_url.GetPort()));
  SetRequestHeader("Referer", RefererText(m_previousUrl));
  if (!OpenConnection(usePort, interfaceAddress)) return false;
  m_bodyPending = false;

  CLibString body;
  CLibString requestLine = BuildRequestLine(method, usePort, body);
  if (!SendRequest(requestLine, body)) {
    Close();
    return false;
  }
  OnRequestSent();
  return ReadAnswer(method, location);
}

bool CSockHttpClient::ParseTarget(const CLibString& url, CUrl& target) const {
  // Tabs and line ends in an address are left out, as browsers do: they come from wrapped
  // page text, and on the wire they would end the request line early.
  target.Parse(WithoutLineBreaks(url));
  return IsAskable(target);
}

bool CSockHttpClient::IsAskable(const CUrl& target) {
  if (!IsWebScheme(target.GetScheme())) return false;
  // No name service knows a host with blanks or control characters in it. A host left empty
  // (nothing given, or a port beyond 65535) goes on: the connect reports that nothing is there
  // to connect to, without a look-up.
  for (const char* p = target.GetHost().c_str(); *p; ++p)
    if (IsControl(*p) || *p == ' ') return false;
  return true;
}

bool CSockHttpClient::OpenConnection(int usePort, const CLibString& interfaceAddress) {
  const CLibString& host = m_url.GetHost();
  bool hasAddress = interfaceAddress.GetLength() > 0;
  if (m_connected) {
    // The open connection serves this request only when it leads to the same place and
    // nothing of the last response is left unread in it.
    bool keep = !HasProxy() && !m_bodyPending;
    if (keep) {
      CInetAddress wanted = hasAddress ? CInetAddress(interfaceAddress, usePort)
                                       : CInetAddress(host, static_cast<unsigned>(usePort));
      CInetAddress peer = GetPeerAddress();
      keep = wanted.IsValid() && wanted == peer && peer.GetPort() == static_cast<unsigned>(usePort);
    }
    if (!keep) Close();
  }
  OnIdle();
  if (m_connected) return true;

  bool connected;
  if (hasAddress) {
    connected = Connect(CInetAddress(), interfaceAddress + ":" + CLibString(usePort));
    uint32_t dotted = 0;
    if (connected && !HasProxy() && CInetAddress::ParseDotted(interfaceAddress.c_str(), dotted))
      CInetAddress::RememberHost(host, dotted);
  } else if (HasProxy()) {
    // The proxy finds the host itself; it may be a name this machine cannot resolve.
    connected = Connect(CInetAddress());
  } else {
    connected = Connect(CInetAddress(host, static_cast<unsigned>(usePort)));
  }
  return connected && m_connected;
}

CLibString CSockHttpClient::BuildRequestLine(int method, int usePort, CLibString& body) {
  bool secure = EqualsNoCase(m_url.GetScheme(), "https");
  // Control characters left in the path or query go out escaped, so the line stays one line.
  CLibString path = EscapeControls(RequestPath(m_url));
  CLibString requestTarget = path;
  if (HasProxy()) {
    requestTarget = CLibString(secure ? "https://" : "http://") + m_url.GetHost();
    if (usePort != (secure ? 443 : 80)) requestTarget += CLibString().Format(":%d", usePort);
    requestTarget += path;
  }
  CLibString query = WireQuery(m_url, method == kHttpPost);
  AddCookieHeaders(m_url, m_requestHeaders);

  if (method == kHttpPost) {
    // A blank in the query separates what stays on the target from the body.
    int blank = query.FindChar(' ');
    if (blank > 0) {
      requestTarget += "?" + EscapeControls(query.Left(blank - 1));
      body = query.Mid(blank, query.GetLength());
    } else {
      body = query;
    }
    if (*body.c_str() == '&') body = body.Mid(1, body.GetLength());
    if (body.GetLength() > 0 && GetRequestHeader("Content-Type").GetLength() == 0)
      SetRequestHeader("Content-Type", "application/x-www-form-urlencoded");
    // Always the length of this body: a length left from an earlier POST would make the
    // server wait for bytes that never come.
    SetRequestHeader("Content-Length", CLibString(body.GetLength()));
    OnPostRequest(requestTarget);
    return "POST " + requestTarget + m_httpVersion;
  }
  SetRequestHeader("Content-Type", CLibString());
  SetRequestHeader("Content-Length", CLibString());
  if (query.GetLength() > 0) requestTarget += "?" + EscapeControls(query);
  if (method == kHttpHead) {
    OnHeadRequest(requestTarget);
    return "HEAD " + requestTarget + m_httpVersion;
  }
  OnGetRequest(requestTarget);
  return "GET " + requestTarget + m_httpVersion;
}

bool CSockHttpClient::SendRequest(const CLibString& requestLine, const CLibString& body) {
  // The whole request goes out in one send: several small ones cost a round trip each and
  // meet the peer's delayed acknowledgement.
  string wire;
  wire.reserve(1024 + static_cast<size_t>(body.GetLength()));
  AppendClean(wire, requestLine.c_str());
  wire += "\r\n";
  bool direct = !HasProxy();
  CNVList proxyHeaders;
  if (!direct) {
    proxyHeaders = m_requestHeaders;
    if (m_proxyUser.GetLength() > 0)
      proxyHeaders.SetAt("Proxy-Authorization",
                         "Basic " + PaddedBase64(m_proxyUser + ":" + m_proxyPassword));
    CLibString connection = proxyHeaders.GetValue("Connection");
    if (connection.GetLength() > 0) {
      proxyHeaders.SetAt("Proxy-Connection", connection);
      proxyHeaders.SetAt("Connection", CLibString());
    }
    proxyHeaders.SetAt("Pragma", "no-cache");
  }
  const CNVList& headers = direct ? m_requestHeaders : proxyHeaders;
  if (direct) OnSendHeaders();
  if (m_sendCookies) AppendCookieLine(wire, headers);
  AppendHeaders(wire, headers);
  wire += "\r\n";
  wire.append(body.c_str(), static_cast<size_t>(body.GetLength()));
  bool sent = Send(wire.data(), static_cast<int>(wire.size())) == static_cast<int>(wire.size());
  if (direct) OnHeadersSent();
  return sent;
}

bool CSockHttpClient::ReadAnswer(int method, CLibString& location) {
  m_responseHeaders.RemoveAll();
  ReadResponseHead();
  if (m_status == 0 || !HasUsableLength()) {
    // No valid head (nothing came, a line too long or broken, a head without end, not HTTP, a
    // length that is no number or more than a body may hold): nothing in the connection can
    // be trusted any more.
    m_status = 0;
    Close();
    return false;
  }
  bool noBody = method == kHttpHead || m_status == 204 || m_status == 304 || m_status < 200;
  m_bodyPending = !noBody;
  if (m_status >= 400) return false;

  OnResponseLine("");
  SetCookies(m_responseHeaders, m_url);
  CLibString redirect = GetResponseHeader("location");
  if (redirect.GetLength() == 0 || method == kHttpHead) return true;
  // Only web addresses are followed; a mail or script address, or one refused outright, leaves
  // the redirect itself as the answer and costs no look-up.
  CUrl next = m_url;
  if (!ParseTarget(redirect, next) || next.GetHost().GetLength() == 0) return true;
  if (m_redirectDepth++ < m_redirectLimit) {
    // Past the limit the redirect itself is the answer, its body still to be read.
    CloseUnlessKeepAlive();
    redirect.Replace(" ", "%20");
    location = redirect;
  }
  return true;
}

bool CSockHttpClient::HasUsableLength() const {
  static const CLibString kName("content-length");
  const CLibString* text = FindValue(m_responseHeaders, kName);
  long length = 0;
  return !text || ParseLength(*text, length);
}

bool CSockHttpClient::BothKeepAlive() const {
  static const CLibString kOurs("Connection");
  static const CLibString kTheirs("connection");
  const CLibString* ours = FindValue(m_requestHeaders, kOurs);
  const CLibString* theirs = FindValue(m_responseHeaders, kTheirs);
  return ours && theirs && EqualsNoCase(*ours, "keep-alive") && EqualsNoCase(*theirs, "keep-alive");
}

void CSockHttpClient::CloseUnlessKeepAlive() {
  if (!BothKeepAlive()) Close();
}

CLibString CSockHttpClient::FormatHeaders(const CNVList& headers) {
  string block;
  AppendHeaders(block, headers);
  return block.c_str();
}

void CSockHttpClient::AppendHeaders(string& out, const CNVList& headers) {
  auto add = [&](const CNVItem& item) {
    AppendClean(out, item.m_name.c_str());
    out += ": ";
    AppendClean(out, item.m_value.c_str());
    out += "\r\n";
  };
  // One walk of the list: the seven that go first are picked out on the way, the others
  // written in name order after them.
  const CNVItem* first[std::size(kSevenFirst)] = {};
  std::vector<const CNVItem*> others;
  headers.ForEach([&](const CNVItem& item) {
    if (item.m_value.GetLength() == 0) return;
    for (size_t i = 0; i < std::size(kSevenFirst); ++i)
      if (item.m_name == kSevenFirst[i]) {
        first[i] = &item;
        return;
      }
    others.push_back(&item);
  });
  for (const CNVItem* item : first)
    if (item) add(*item);
  for (const CNVItem* item : others) add(*item);
}

CLibString CSockHttpClient::FormatCookieLine(const CNVList& headers) {
  string line;
  AppendCookieLine(line, headers);
  return line.c_str();
}

void CSockHttpClient::AppendCookieLine(string& out, const CNVList& headers) {
  bool any = false;
  headers.ForEach([&](const CNVItem& item) {
    if (strncmp(item.m_name.c_str(), "Cookie:", 7) != 0) return;
    if (!any) {
      AppendClean(out, item.m_name.c_str());
    } else {
      const char* text = item.m_name.c_str() + 7;
      while (*text == ' ') ++text;
      out += "; ";
      AppendClean(out, text);
    }
    any = true;
  });
  if (any) out += "\r\n";
}

// ---- pages and files ----

namespace {

// The bound of one page's fetch, lifted however the fetch ends.
class PageTransfer {
 public:
  explicit PageTransfer(CSockHttpClient& client) : m_client(client) {
    m_client.BeginTransfer(m_client.GetPageTransferSeconds());
  }
  ~PageTransfer() { m_client.EndTransfer(); }
  PageTransfer(const PageTransfer&) = delete;
  PageTransfer& operator=(const PageTransfer&) = delete;

 private:
  CSockHttpClient& m_client;
};

}  // namespace

int CSockHttpClient::GetPageTransferSeconds() {
  int seconds = GetTimeout() * kPageTransferTimeouts;
  return seconds < kMinPageTransferSeconds ? kMinPageTransferSeconds : seconds;
}

CLibString CSockHttpClient::GetPage(const CLibString& url, int port,
                                    const CLibString& interfaceAddress) {
  PageTransfer bound(*this);
  CLibString text;
  CUrl target = m_url;
  target.Parse(url);
  const CLibString& scheme = target.GetScheme();
  if (EqualsNoCase(scheme, "file")) {
    text.ReadFromFile(LocalPath(url).c_str());
    bool read = text.m_status == 0;
    m_status = read ? 200 : 404;
    m_statusText = read ? "OK" : "Not Found";
  } else if (IsWebScheme(scheme)) {
    text = FetchPage(kHttpGet, url, target, port, interfaceAddress);
  }
  OnPageDone();
  return text;
}

CLibString CSockHttpClient::PostPage(const CLibString& url, int port,
                                     const CLibString& interfaceAddress) {
  PageTransfer bound(*this);
  CLibString text;
  CUrl target = m_url;
  target.Parse(url);
  if (IsWebScheme(target.GetScheme()))
    text = FetchPage(kHttpPost, url, target, port, interfaceAddress);
  OnPostDone();
  return text;
}

CLibString CSockHttpClient::FetchPage(int method, const CLibString& url, CUrl& target, int port,
                                      const CLibString& interfaceAddress) {
  static const CLibString kAccept("Accept");
  static const CLibString kContentType("content-type");
  CLibString text;
  if (RequestFrom(method, url, &target, port, interfaceAddress) && m_status < 400) {
    const CLibString* accept = FindValue(m_requestHeaders, kAccept);
    const CLibString* type = FindValue(m_responseHeaders, kContentType);
    if (Accepts(accept ? *accept : CLibString(), MediaType(type ? *type : CLibString())))
      ReadBody(text);
    CloseUnlessKeepAlive();
  }
  return text;
}

long CSockHttpClient::DownloadFile(const CLibString& url, const CLibString& fileName, int port,
                                   int method) {
  CUrl asked = m_url;
  asked.Parse(url);
  long result = 0;
  if (!Request(method, url, port, CLibString())) {
    if (m_status >= 400) result = -1;
    OnPageDone();
    return result;
  }
  CLibString name;
  if (fileName.GetLength() > 0) {
    name = fileName;
    int mark = name.FindChar('?');
    if (mark > 0) name.Truncate(mark - 1);
    // The caller's own name; inside a download folder it must stay inside.
    if (m_downloadFolder.GetLength() > 0 && !StaysInFolder(name)) name = CLibString();
  } else {
    // A name from the server is reduced to one plain file name.
    name = PlainFileName(asked.GetFile());
    if (name.GetLength() == 0) name = "index.html";
  }
  if (name.GetLength() > 0) {
    CLibString path = m_downloadFolder + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      result = ReadBodyToFile(file);
      CloseHandle(file);
      if (m_bodyBroken) {
        // Half a file would pass for the whole one.
        DeleteFileA(path.c_str());
        result = 0;
      }
    }
  }
  CloseUnlessKeepAlive();
  OnPageDone();
  return result;
}
