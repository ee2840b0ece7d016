#include "foundation/SockHttpClient.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "foundation/Base64.h"
#include "foundation/InetAddress.h"
#include "foundation/Socklet.h"

namespace {

using std::string;

// Every cookie of the process, under kLockCookieJar. The key is the cookie's domain, its path,
// a blank and its name; the value is its record (see WriteRecord).
CNVList g_cookieJar;

const char* const kSevenFirst[] = {"Host",       "Accept",       "Referer",       "User-Agent",
                                   "Connection", "Content-Type", "Content-Length"};

bool IsBlank(char c) {
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

bool StartsWith(const string& text, const char* prefix) {
  return text.compare(0, strlen(prefix), prefix) == 0;
}

// The media type of a Content-Type value: "text/html; charset=x" -> "text/html".
string MediaType(const CLibString& contentType) {
  string type = contentType.c_str();
  return Trim(Lower(type.substr(0, type.find(';'))));
}

// Basic authorization wants the padded form; the library's coder writes none.
CLibString PaddedBase64(const CLibString& text) {
  CLibString encoded;
  Base64().Encode(encoded, text.c_str(), text.GetLength());
  for (int rest = text.GetLength() % 3; rest != 0 && rest < 3; ++rest) encoded += "=";
  return encoded;
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
  CLibString text = url.GetScheme().GetLength() > 0 ? url.GetScheme() : CLibString("http");
  text += "://";
  text += url.GetHost();
  if (url.GetPort() != 0 && url.GetPort() != 80) text += CLibString().Format(":%d", url.GetPort());
  text += RequestPath(url);
  CLibString query = WireQuery(url);
  if (query.GetLength() > 0) text += "?" + query;
  return text;
}

// ---- cookies ----

bool IsDottedAddress(const string& host) {
  uint32_t address = 0;
  return CInetAddress::ParseDotted(host.c_str(), address);
}

// A cookie's domain as stored: ".example.com" for one set with a Domain attribute, which
// reaches the subdomains too; the bare host for a host-only cookie.
bool DomainMatches(const string& host, const string& stored) {
  if (stored.empty()) return false;
  if (stored[0] != '.') return host == stored;
  string domain = stored.substr(1);
  if (host == domain) return true;
  return !IsDottedAddress(host) && host.size() > stored.size() &&
         host.compare(host.size() - stored.size(), stored.size(), stored) == 0;
}

bool PathMatches(const string& requestPath, const string& cookiePath) {
  if (requestPath == cookiePath) return true;
  if (requestPath.compare(0, cookiePath.size(), cookiePath) != 0) return false;
  return cookiePath.back() == '/' || requestPath[cookiePath.size()] == '/';
}

// Record values may hold "&" and "=": "%" and "&" are escaped so the record splits back.
string Escape(const string& text) {
  string out;
  for (char c : text) {
    if (c == '%')
      out += "%25";
    else if (c == '&')
      out += "%26";
    else
      out += c;
  }
  return out;
}

string Unescape(const string& text) {
  string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, "%25") == 0) {
      out += '%';
      i += 2;
    } else if (text.compare(i, 3, "%26") == 0) {
      out += '&';
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// name "=" value pairs joined by "&", in name order.
CLibString WriteRecord(const CNVList& record) {
  string text;
  record.ForEach([&](const CNVItem& item) {
    if (!text.empty()) text += '&';
    text += Escape(item.m_name.c_str()) + "=" + Escape(item.m_value.c_str());
  });
  return text.c_str();
}

CLibString RecordValue(const CLibString& record, const char* name) {
  string text = record.c_str();
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('&', start);
    if (end == string::npos) end = text.size();
    string pair = text.substr(start, end - start);
    size_t eq = pair.find('=');
    if (eq != string::npos && Unescape(pair.substr(0, eq)) == name)
      return Unescape(pair.substr(eq + 1)).c_str();
    start = end + 1;
  }
  return CLibString();
}

// Parses one Set-Cookie value into its jar key and record; false when the cookie must not be
// taken: no name, or a Domain attribute that the request's host is not in.
bool ParseCookie(const string& header, const CUrl& url, CLibString& key, CNVList& record) {
  std::vector<string> items;
  size_t start = 0;
  while (start <= header.size()) {
    size_t end = header.find(';', start);
    if (end == string::npos) end = header.size();
    string item = Trim(header.substr(start, end - start));
    if (!item.empty() || items.empty()) items.push_back(item);
    start = end + 1;
  }
  if (items.empty()) return false;
  size_t eq = items[0].find('=');
  string name = Trim(items[0].substr(0, eq));
  string value = eq == string::npos ? string() : Trim(items[0].substr(eq + 1));
  if (name.empty()) return false;
  record.SetAt("Cookie_Name", name.c_str());
  record.SetAt("Cookie_Value", value.c_str());
  for (size_t i = 1; i < items.size(); ++i) {
    size_t at = items[i].find('=');
    string attribute = Lower(Trim(items[i].substr(0, at)));
    if (attribute.empty() || attribute == "cookie_name" || attribute == "cookie_value") continue;
    record.SetAt(attribute.c_str(),
                 at == string::npos ? "" : Trim(items[i].substr(at + 1)).c_str());
  }

  string host = Lower(url.GetHost().c_str());
  string domain = Lower(record.GetValue("domain").c_str());
  while (!domain.empty() && domain[0] == '.') domain.erase(0, 1);
  if (domain.empty() || domain == host) {
    domain = domain.empty() ? host : "." + domain;
  } else {
    // A server sets cookies only for a domain it is in, and never for a bare top-level name.
    if (domain.find('.') == string::npos || !DomainMatches(host, "." + domain)) return false;
    domain = "." + domain;
  }
  if (domain.empty()) return false;
  string path = record.GetValue("path").c_str();
  if (path.empty() || path[0] != '/') path = "/";
  record.SetAt("domain", domain.c_str());
  record.SetAt("path", path.c_str());
  key = (domain + path + " " + name).c_str();
  return true;
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
  CLibString next = url;
  CLibString address = interfaceAddress;
  int verb = method;
  bool ok = false;
  for (;;) {
    CLibString location;
    ok = RequestOnce(verb, next, port, address, location);
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

bool CSockHttpClient::RequestOnce(int method, const CLibString& url, int port,
                                  const CLibString& interfaceAddress, CLibString& location) {
  // The same URL over and over is a loop of the caller's (or of a server's redirects).
  CUrl target = m_url;
  target.Parse(url);
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

  if (m_redirectDepth == 0) m_previousUrl = m_url;
  m_url = target;
  CLibString host = m_url.GetHost();
  bool secure = m_url.GetScheme().Lower() == "https";
  int usePort = m_url.GetPort() > 0 ? m_url.GetPort() : port;
  if (usePort <= 0) usePort = secure ? 443 : 80;
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

  // A server on another port than the scheme's own needs it in Host to build its own addresses.
  bool defaultPort = m_url.GetPort() <= 0 || m_url.GetPort() == (secure ? 443 : 80);
  SetRequestHeader("Host", defaultPort ? host : host + ":" + CLibString(m_url.GetPort()));
  SetRequestHeader("Referer", RefererText(m_previousUrl));
  OnIdle();

  if (!m_connected) {
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
    if (!connected || !m_connected) return false;
  }
  m_bodyPending = false;

  CLibString path = RequestPath(m_url);
  CLibString requestTarget = path;
  if (HasProxy()) {
    requestTarget = CLibString(secure ? "https://" : "http://") + host;
    if (usePort != (secure ? 443 : 80)) requestTarget += CLibString().Format(":%d", usePort);
    requestTarget += path;
  }
  CLibString query = WireQuery(m_url, method == kHttpPost);

  AddCookieHeaders(m_url, m_requestHeaders);

  CLibString body;
  CLibString requestLine;
  if (method == kHttpPost) {
    // A blank in the query separates what stays on the target from the body.
    int blank = query.FindChar(' ');
    if (blank > 0) {
      requestTarget += "?" + query.Left(blank - 1);
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
    requestLine = "POST " + requestTarget + m_httpVersion;
    OnPostRequest(requestTarget);
  } else {
    SetRequestHeader("Content-Type", CLibString());
    SetRequestHeader("Content-Length", CLibString());
    if (query.GetLength() > 0) requestTarget += "?" + query;
    if (method == kHttpHead) {
      requestLine = "HEAD " + requestTarget + m_httpVersion;
      OnHeadRequest(requestTarget);
    } else {
      requestLine = "GET " + requestTarget + m_httpVersion;
      OnGetRequest(requestTarget);
    }
  }

  // The whole request goes out in one send: several small ones cost a round trip each and
  // meet the peer's delayed acknowledgement.
  CLibString wire;
  wire.Grow(1024 + static_cast<size_t>(body.GetLength()));
  wire += requestLine;
  wire += "\r\n";
  if (HasProxy()) {
    CNVList headers(m_requestHeaders);
    if (m_proxyUser.GetLength() > 0)
      headers.SetAt("Proxy-Authorization",
                    "Basic " + PaddedBase64(m_proxyUser + ":" + m_proxyPassword));
    CLibString connection = headers.GetValue("Connection");
    if (connection.GetLength() > 0) {
      headers.SetAt("Proxy-Connection", connection);
      headers.SetAt("Connection", CLibString());
    }
    headers.SetAt("Pragma", "no-cache");
    if (m_sendCookies) wire += FormatCookieLine(headers);
    wire += FormatHeaders(headers);
    wire += "\r\n";
    wire += body;
    if (Send(wire.c_str(), wire.GetLength()) != wire.GetLength()) {
      Close();
      return false;
    }
  } else {
    OnSendHeaders();
    if (m_sendCookies) wire += FormatCookieLine(m_requestHeaders);
    wire += FormatHeaders(m_requestHeaders);
    wire += "\r\n";
    wire += body;
    bool sent = Send(wire.c_str(), wire.GetLength()) == wire.GetLength();
    OnHeadersSent();
    if (!sent) {
      Close();
      return false;
    }
  }
  OnRequestSent();

  m_responseHeaders.RemoveAll();
  ReadResponseHead();
  if (m_status == 0) {
    // No valid status line (nothing came, a line too long, not HTTP): nothing in the
    // connection can be trusted any more.
    Close();
    return false;
  }
  bool noBody = method == kHttpHead || m_status == 204 || m_status == 304 || m_status < 200;
  m_bodyPending = !noBody;
  if (m_status >= 400) return false;

  OnResponseLine("");
  SetCookies(m_responseHeaders, m_url);
  CLibString redirect = GetResponseHeader("location");
  if (redirect.GetLength() > 0 && method != kHttpHead && m_redirectDepth++ < m_redirectLimit) {
    // Past the limit the redirect itself is the answer, its body still to be read.
    CloseUnlessKeepAlive();
    redirect.Replace(" ", "%20");
    location = redirect;
  }
  return true;
}

bool CSockHttpClient::BothKeepAlive() const {
  return GetRequestHeader("Connection").Lower() == "keep-alive" &&
         GetResponseHeader("connection").Lower() == "keep-alive";
}

void CSockHttpClient::CloseUnlessKeepAlive() {
  if (!BothKeepAlive()) Close();
}

CLibString CSockHttpClient::FormatHeaders(const CNVList& headers) {
  CLibString block;
  for (const char* name : kSevenFirst) {
    CLibString value = headers.GetValue(name);
    if (value.GetLength() > 0) block += CLibString(name) + ": " + value + "\r\n";
  }
  headers.ForEach([&](const CNVItem& item) {
    if (item.m_value.GetLength() == 0) return;
    for (const char* name : kSevenFirst)
      if (item.m_name == name) return;
    block += item.m_name + ": " + item.m_value + "\r\n";
  });
  return block;
}

CLibString CSockHttpClient::FormatCookieLine(const CNVList& headers) {
  CLibString line;
  headers.ForEach([&](const CNVItem& item) {
    if (strncmp(item.m_name.c_str(), "Cookie:", 7) != 0) return;
    if (line.GetLength() == 0) {
      line = item.m_name;
    } else {
      const char* text = item.m_name.c_str() + 7;
      while (*text == ' ') ++text;
      line += "; ";
      line += text;
    }
  });
  if (line.GetLength() > 0) line += "\r\n";
  return line;
}

// ---- responses ----

int CSockHttpClient::ReadResponseHead() {
  m_setCookieCount = 0;
  int count = 0;
  do {
    OnIdle();
    m_status = 0;
    m_statusText = CLibString();
    count = ReadHeadLines(true);
  } while (m_status == 100 && m_connected);
  return count;
}

int CSockHttpClient::ReadHeadLines(bool statusWanted) {
  bool first = statusWanted;
  while (m_connected) {
    CLibString line = ReadLine();
    if (IsLineTooLong()) {
      // Not a protocol line: the request fails rather than read on in mid-stream.
      m_status = 0;
      break;
    }
    if (line.GetLength() == 0) break;
    if (first) {
      first = false;
      // Without a status line the answer is no HTTP head at all (a bare page, say).
      if (strncmp(line.c_str(), "HTTP", 4) != 0 || line.FindChar('<') > 0) break;
      OnResponseLine(line.c_str());
      string text = line.c_str();
      size_t slash = text.find('/');
      string rest = slash == string::npos ? string() : text.substr(slash + 1);
      size_t blank = rest.find(' ');
      string code = blank == string::npos ? string() : Trim(rest.substr(blank + 1));
      size_t codeEnd = code.find(' ');
      string reason = codeEnd == string::npos ? string() : Trim(code.substr(codeEnd + 1));
      code = code.substr(0, codeEnd);
      bool valid = code.size() == 3;
      for (char c : code) valid = valid && c >= '0' && c <= '9';
      if (valid && code[0] >= '1') {
        m_status = atoi(code.c_str());
        m_statusText = reason.c_str();
      }
      continue;
    }
    OnResponseLine(line.c_str());
    string text = line.c_str();
    size_t colon = text.find(':');
    if (colon == string::npos) continue;
    string name = Lower(Trim(text.substr(0, colon)));
    if (name.empty()) continue;
    if (name == "set-cookie") name += std::to_string(m_setCookieCount++);
    m_responseHeaders.SetAt(name.c_str(), Trim(text.substr(colon + 1)).c_str());
  }
  return static_cast<int>(m_responseHeaders.GetCount());
}

int CSockHttpClient::ReadBody(CLibString& text) {
  return static_cast<int>(ReadBodyInto(&text, nullptr));
}

long CSockHttpClient::ReadBodyToFile(void* file) {
  if (!file || file == INVALID_HANDLE_VALUE) return 0;
  return ReadBodyInto(nullptr, file);
}

long CSockHttpClient::ReadBodyInto(CLibString* text, void* file) {
  // Nothing is left of this response (read already, or a response without a body).
  if (!m_bodyPending) return 0;
  CLibString lengthText;
  bool hasLength = m_responseHeaders.GetValue("content-length", lengthText);
  long expected = hasLength ? lengthText.ToLong() : 0;
  if (expected < 0) expected = 0;
  bool chunked = GetResponseHeader("transfer-encoding").Lower().Find("chunked") > 0;
  // A chunked body carries its own framing; a length beside it means nothing.
  if (chunked) {
    expected = 0;
    hasLength = false;
  }

  int bufferSize = static_cast<int>(m_recvChunk) + 100;
  if (bufferSize < 101) bufferSize = 101;
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[bufferSize]);
  if (!buffer) {
    OnNoMemory();
    return 0;
  }
  if (hasLength && expected == 0) {
    m_bodyPending = false;
    return 0;
  }
  // The text is gathered apart and appended once: appending to a long text piece by piece
  // measures it again each time.
  string& gathered = m_gathered;
  gathered.clear();
  if (text && expected > 0)
    gathered.reserve(static_cast<size_t>(
        expected < kMaxBodyInMemory ? expected : kMaxBodyInMemory + bufferSize));

  long total = 0;
  long chunkLeft = 0;
  bool complete = false;
  bool reported = false;
  for (;;) {
    if (m_abort) {
      OnAbort();
      Close();
      break;
    }
    if (!m_connected) break;
    OnIdle();
    long want = bufferSize - 1;
    if (chunked) {
      if (chunkLeft == 0) {
        string line = ReadLine().c_str();
        if (IsLineTooLong()) break;
        line = Trim(line.substr(0, line.find(';')));
        char* end = nullptr;
        long size = strtol(line.c_str(), &end, 16);
        if (line.empty() || *end || size < 0) break;  // no chunk header: the framing is lost
        if (size == 0) {
          // The trailer: header lines that may follow the last chunk. The status stays.
          ReadHeadLines(false);
          complete = !IsLineTooLong();
          break;
        }
        chunkLeft = size;
      }
      if (want > chunkLeft) want = chunkLeft;
    }
    if (expected > 0 && want > expected - total) want = expected - total;
    if (m_readLimit > 0 && want > m_readLimit - total) want = m_readLimit - total;
    int got = Recv(buffer.get(), static_cast<int>(want));
    if (got <= 0) break;
    bool stored;
    if (text) {
      gathered.append(buffer.get(), static_cast<size_t>(got));
      stored = true;
    } else {
      DWORD written = 0;
      stored = WriteFile(static_cast<HANDLE>(file), buffer.get(), static_cast<DWORD>(got), &written,
                         nullptr) &&
               written == static_cast<DWORD>(got);
    }
    total += got;
    if (!stored) break;
    if (!reported) {
      OnReceiveProgress(0, static_cast<uint32_t>(expected));
      reported = true;
    }
    OnReceiveProgress(static_cast<uint32_t>(total), static_cast<uint32_t>(expected));
    if (got < want) break;  // closed, timed out or aborted in the middle
    if (chunked) {
      chunkLeft -= got;
      if (chunkLeft == 0) ReadLine();  // the line end after the chunk
    }
    if (text && total > kMaxBodyInMemory) break;
    if (expected > 0 && total >= expected) {
      complete = true;
      break;
    }
    if (m_readLimit > 0 && total >= m_readLimit) {
      OnReadLimit();
      break;
    }
  }
  if (text && !gathered.empty()) {
    // A NUL in the body ends the text there, as it would any C string.
    text->Grow(static_cast<size_t>(text->GetLength()) + gathered.size());
    *text += gathered.c_str();
  }
  // Without a length, the body ends where the server closed the connection.
  if (!chunked && !hasLength && !m_connected && !m_abort) complete = true;
  m_bodyPending = !complete;
  return total;
}

// ---- pages and files ----

CLibString CSockHttpClient::GetPage(const CLibString& url, int port,
                                    const CLibString& interfaceAddress) {
  CLibString text;
  CUrl target = m_url;
  target.Parse(url);
  CLibString scheme = target.GetScheme().Lower();
  if (scheme == "file") {
    text.ReadFromFile(LocalPath(url).c_str());
    bool read = text.m_status == 0;
    m_status = read ? 200 : 404;
    m_statusText = read ? "OK" : "Not Found";
  } else if (scheme.GetLength() == 0 || scheme == "http" || scheme == "https") {
    CLibString accepted = GetRequestHeader("Accept").Lower();
    if (accepted.GetLength() == 0) accepted = ", text/html, text/plain";
    if (Request(kHttpGet, url, port, interfaceAddress) && m_status < 400) {
      string type = MediaType(GetResponseHeader("content-type"));
      if (type.empty() || accepted.Find(type.c_str()) > 0 || accepted.Find("*/*") > 0)
        ReadBody(text);
      CloseUnlessKeepAlive();
    }
  }
  OnPageDone();
  return text;
}

CLibString CSockHttpClient::PostPage(const CLibString& url, int port,
                                     const CLibString& interfaceAddress) {
  CLibString text;
  CUrl target = m_url;
  target.Parse(url);
  CLibString scheme = target.GetScheme().Lower();
  if (scheme.GetLength() == 0 || scheme == "http" || scheme == "https") {
    CLibString accepted = GetRequestHeader("Accept").Lower();
    if (accepted.GetLength() == 0) accepted = ", text/html, text/plain";
    if (Request(kHttpPost, url, port, interfaceAddress) && m_status < 400) {
      string type = MediaType(GetResponseHeader("content-type"));
      if (type.empty() || accepted.Find(type.c_str()) > 0 || accepted.Find("*/*") > 0)
        ReadBody(text);
      CloseUnlessKeepAlive();
    }
  }
  OnPostDone();
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
    }
  }
  CloseUnlessKeepAlive();
  OnPageDone();
  return result;
}

// ---- cookie jar ----

void CSockHttpClient::SetCookies(const CNVList& responseHeaders, const CUrl& url) {
  std::vector<CLibString> values;
  responseHeaders.ForEach([&](const CNVItem& item) {
    if (item.m_name.Find("set-cookie") > 0) values.push_back(item.m_value);
  });
  for (const CLibString& value : values) {
    CLibString key;
    CNVList record;
    if (!ParseCookie(value.c_str(), url, key, record)) continue;
    OnSetCookie(value.c_str());
    CSockletLock lock(kLockCookieJar);
    g_cookieJar.SetAt(key, WriteRecord(record));
  }
}

void CSockHttpClient::AddCookieHeaders(const CUrl& url, CNVList& requestHeaders) {
  std::vector<CLibString> stale;
  requestHeaders.ForEach([&](const CNVItem& item) {
    if (strncmp(item.m_name.Lower().c_str(), "cookie:", 7) == 0) stale.push_back(item.m_name);
  });
  for (const CLibString& name : stale) delete requestHeaders.Remove(name);

  string host = Lower(url.GetHost().c_str());
  string path = RequestPath(url).c_str();
  std::vector<CLibString> lines;
  {
    CSockletLock lock(kLockCookieJar);
    g_cookieJar.ForEach([&](const CNVItem& item) {
      string domain = RecordValue(item.m_value, "domain").c_str();
      string cookiePath = RecordValue(item.m_value, "path").c_str();
      if (cookiePath.empty()) cookiePath = "/";
      if (!DomainMatches(host, domain) || !PathMatches(path, cookiePath)) return;
      lines.push_back("Cookie: " + RecordValue(item.m_value, "Cookie_Name") + "=" +
                      RecordValue(item.m_value, "Cookie_Value"));
    });
  }
  for (const CLibString& line : lines) requestHeaders.SetAt(line, CLibString());
}

CNVList CSockHttpClient::GetCookieJar() {
  CSockletLock lock(kLockCookieJar);
  return g_cookieJar;
}

void CSockHttpClient::ClearCookieJar() {
  CSockletLock lock(kLockCookieJar);
  g_cookieJar.RemoveAll();
}
