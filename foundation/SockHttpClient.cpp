#include "foundation/SockHttpClient.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
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

// The order in which the jar's cookies came, so that the oldest go first when a bound is met.
struct JarAges {
  uint64_t next = 0;
  std::map<string, uint64_t> ageOf;                 // key -> age
  std::map<uint64_t, string> byAge;                 // age -> key, oldest first
  std::map<string, std::map<uint64_t, string>> byDomain;  // domain -> age -> key

  void Clear() {
    ageOf.clear();
    byAge.clear();
    byDomain.clear();
  }
  void Forget(const string& key, const string& domain) {
    auto it = ageOf.find(key);
    if (it == ageOf.end()) return;
    byAge.erase(it->second);
    auto own = byDomain.find(domain);
    if (own != byDomain.end()) {
      own->second.erase(it->second);
      if (own->second.empty()) byDomain.erase(own);
    }
    ageOf.erase(it);
  }
  void Note(const string& key, const string& domain) {
    Forget(key, domain);
    uint64_t age = next++;
    ageOf[key] = age;
    byAge[age] = key;
    byDomain[domain][age] = key;
  }
};
JarAges g_jarAges;

// The domain part of a jar key: everything before the path.
string DomainOfKey(const string& key) {
  return key.substr(0, key.find('/'));
}

void DropFromJar(string key) {  // a copy: the maps it is taken from lose it on the way
  g_jarAges.Forget(key, DomainOfKey(key));
  delete g_cookieJar.Remove(key.c_str());
}

// Stores a cookie and drops the oldest ones past the bounds. Under kLockCookieJar.
void StoreInJar(const CLibString& key, const CLibString& record) {
  string text = key.c_str();
  string domain = DomainOfKey(text);
  g_cookieJar.SetAt(key, record);
  g_jarAges.Note(text, domain);
  auto& own = g_jarAges.byDomain[domain];
  while (own.size() > static_cast<size_t>(CSockHttpClient::kMaxCookiesPerDomain))
    DropFromJar(own.begin()->second);
  while (g_jarAges.ageOf.size() > static_cast<size_t>(CSockHttpClient::kMaxCookies))
    DropFromJar(g_jarAges.byAge.begin()->second);
}

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

// ---- what goes on the wire ----

bool IsControl(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u < 0x20 || u == 0x7F;
}

bool IsWebScheme(const CLibString& scheme) {
  CLibString lower = scheme.Lower();
  return lower.GetLength() == 0 || lower == "http" || lower == "https";
}

CLibString WithoutLineBreaks(const CLibString& text) {
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
  // No name, or more than a browser would keep of one cookie.
  if (name.empty() || name.size() + value.size() > CSockHttpClient::kMaxCookieSize) return false;
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
  CUrl target = m_url;
  bool usable = ParseTarget(url, target);
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

  if (m_redirectDepth == 0) m_previousUrl = m_url;
  m_url = target;
  bool secure = m_url.GetScheme().Lower() == "https";
  int usePort = m_url.GetPort() > 0 ? m_url.GetPort() : port;
  if (usePort <= 0) usePort = secure ? 443 : 80;

  // A server on another port than the scheme's own needs it in Host to build its own addresses.
  CLibString host = m_url.GetHost();
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
  if (!IsWebScheme(target.GetScheme())) return false;
  // No name service knows a host with blanks or control characters in it. A host left empty
  // (nothing given, or a port beyond 65535) goes on: the connect reports that nothing is there
  // to connect to, without a look-up.
  CLibString host = target.GetHost();
  for (const char* p = host.c_str(); *p; ++p)
    if (IsControl(*p) || *p == ' ') return false;
  return true;
}

bool CSockHttpClient::OpenConnection(int usePort, const CLibString& interfaceAddress) {
  CLibString host = m_url.GetHost();
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
  bool secure = m_url.GetScheme().Lower() == "https";
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
  if (m_sendCookies) wire += FormatCookieLine(headers).c_str();
  wire += FormatHeaders(headers).c_str();
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
  CLibString text;
  if (!m_responseHeaders.GetValue("content-length", text)) return true;
  long length = 0;
  return ParseLength(text, length);
}

bool CSockHttpClient::BothKeepAlive() const {
  return GetRequestHeader("Connection").Lower() == "keep-alive" &&
         GetResponseHeader("connection").Lower() == "keep-alive";
}

void CSockHttpClient::CloseUnlessKeepAlive() {
  if (!BothKeepAlive()) Close();
}

CLibString CSockHttpClient::FormatHeaders(const CNVList& headers) {
  // Built as one string: appending to a CLibString measures it again each time.
  string block;
  auto add = [&](const CLibString& name, const CLibString& value) {
    AppendClean(block, name.c_str());
    block += ": ";
    AppendClean(block, value.c_str());
    block += "\r\n";
  };
  for (const char* name : kSevenFirst) {
    CLibString value = headers.GetValue(name);
    if (value.GetLength() > 0) add(name, value);
  }
  headers.ForEach([&](const CNVItem& item) {
    if (item.m_value.GetLength() == 0) return;
    for (const char* name : kSevenFirst)
      if (item.m_name == name) return;
    add(item.m_name, item.m_value);
  });
  return block.c_str();
}

CLibString CSockHttpClient::FormatCookieLine(const CNVList& headers) {
  string line;
  headers.ForEach([&](const CNVItem& item) {
    if (strncmp(item.m_name.c_str(), "Cookie:", 7) != 0) return;
    if (line.empty()) {
      AppendClean(line, item.m_name.c_str());
    } else {
      const char* text = item.m_name.c_str() + 7;
      while (*text == ' ') ++text;
      line += "; ";
      AppendClean(line, text);
    }
  });
  if (!line.empty()) line += "\r\n";
  return line.c_str();
}

// ---- responses ----

int CSockHttpClient::ReadResponseHead() {
  m_setCookieCount = 0;
  int count = 0;
  // Interim heads are skipped, but only so many: a server that sends nothing else would hold
  // the call for ever.
  for (int interim = 0;; ++interim) {
    OnIdle();
    m_status = 0;
    m_statusText = CLibString();
    bool whole = ReadHeadLines(true, count);
    if (!whole) m_status = 0;
    if (m_status != 100 || !m_connected) break;
    if (interim >= kMaxInterimHeads) {
      m_status = 0;
      break;
    }
  }
  return count;
}

bool CSockHttpClient::ReadHeadLines(bool statusWanted, int& count) {
  bool first = statusWanted;
  int lines = 0;
  long bytes = 0;
  bool whole = true;
  while (m_connected) {
    CLibString line = ReadLine();
    // Not a protocol line, a line cut off by the time-out, or a head without end: the
    // request fails rather than read on in mid-stream.
    bytes += line.GetLength() + 2;
    if (IsBadLine() || (!IsLineEnded() && m_connected) || ++lines > kMaxHeadLines ||
        bytes > kMaxHeadBytes) {
      whole = false;
      break;
    }
    if (line.GetLength() == 0) break;
    if (first) {
      first = false;
      // Without a status line the answer is no HTTP head at all (a bare page, say).
      if (strncmp(line.c_str(), "HTTP", 4) != 0 || line.FindChar('<') > 0) break;
      OnResponseLine(line.c_str());
      ParseStatusLine(line.c_str());
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
  count = static_cast<int>(m_responseHeaders.GetCount());
  return whole;
}

void CSockHttpClient::ParseStatusLine(const string& text) {
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
}

int CSockHttpClient::ReadBody(CLibString& text) {
  return static_cast<int>(ReadBodyInto(&text, nullptr));
}

long CSockHttpClient::ReadBodyToFile(void* file) {
  if (!file || file == INVALID_HANDLE_VALUE) return 0;
  return ReadBodyInto(nullptr, file);
}

long CSockHttpClient::ReadBodyInto(CLibString* text, void* file) {
  m_bodyBroken = false;
  // Nothing is left of this response (read already, or a response without a body).
  if (!m_bodyPending) return 0;
  CLibString lengthText;
  bool hasLength = m_responseHeaders.GetValue("content-length", lengthText);
  long expected = 0;
  if (hasLength && !ParseLength(lengthText, expected)) {
    // Checked with the head already; a caller who set the headers himself gets nothing.
    m_bodyBroken = true;
    return 0;
  }
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
  // Ended by one of our own bounds (the memory cap, the read limit), not by the peer.
  bool bounded = false;
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
        int next = NextChunk(chunkLeft);
        if (next <= 0) {
          complete = next == 0;
          break;
        }
      }
      if (want > chunkLeft) want = chunkLeft;
    }
    if (expected > 0 && want > expected - total) want = expected - total;
    if (m_readLimit > 0 && want > m_readLimit - total) want = m_readLimit - total;
    int got = Recv(buffer.get(), static_cast<int>(want));
    if (got <= 0) break;
    bool stored = StorePiece(text ? nullptr : file, buffer.get(), got);
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
    if (text && total > kMaxBodyInMemory) {
      bounded = true;
      break;
    }
    if (expected > 0 && total >= expected) {
      complete = true;
      break;
    }
    if (m_readLimit > 0 && total >= m_readLimit) {
      OnReadLimit();
      bounded = true;
      break;
    }
  }
  // Without a length, the body ends where the server closed the connection.
  if (!chunked && !hasLength && !m_connected && !m_abort) complete = true;
  m_bodyPending = !complete;
  // A body cut short (a time-out, a close before its length, lost framing) is a failure, never
  // a success: the status says so, so that nobody keeps it as the whole page. What came is
  // still handed on, for a reader that can use part of a page.
  m_bodyBroken = !complete && !bounded;
  if (m_bodyBroken) m_status = 0;
  if (text && !gathered.empty()) {
    // A NUL in the body ends the text there, as it would any C string.
    text->Grow(static_cast<size_t>(text->GetLength()) + gathered.size());
    *text += gathered.c_str();
  }
  return total;
}

bool CSockHttpClient::StorePiece(void* file, const char* data, int count) {
  if (!file) {
    m_gathered.append(data, static_cast<size_t>(count));
    return true;
  }
  DWORD written = 0;
  return WriteFile(static_cast<HANDLE>(file), data, static_cast<DWORD>(count), &written,
                   nullptr) &&
         written == static_cast<DWORD>(count);
}

int CSockHttpClient::NextChunk(long& size) {
  string line = ReadLine().c_str();
  if (IsBadLine() || !IsLineEnded()) return -1;
  line = Trim(line.substr(0, line.find(';')));
  // Hexadecimal digits only, and no more than a body count holds: the framing is lost else.
  for (char c : line)
    if (!isxdigit(static_cast<unsigned char>(c))) return -1;
  size_t digits = line.find_first_not_of('0');
  if (line.empty() || (digits != string::npos && line.size() - digits > 7)) return -1;
  size = strtol(line.c_str(), nullptr, 16);
  if (size > 0) return 1;
  // The trailer: header lines that may follow the last chunk. The status stays.
  int status = m_status;
  int count = 0;
  bool whole = ReadHeadLines(false, count);
  m_status = status;
  return whole ? 0 : -1;
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

// ---- cookie jar ----

void CSockHttpClient::SetCookies(const CNVList& responseHeaders, const CUrl& url) {
  // In order of arrival ("set-cookie0", "set-cookie1", ... "set-cookie10"), not of name: a
  // later cookie replaces an earlier one, and the jar drops the oldest first.
  std::vector<std::pair<long, CLibString>> numbered;
  responseHeaders.ForEach([&](const CNVItem& item) {
    int at = item.m_name.Find("set-cookie");
    if (at > 0) numbered.emplace_back(atol(item.m_name.c_str() + at - 1 + 10), item.m_value);
  });
  std::stable_sort(numbered.begin(), numbered.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [order, value] : numbered) {
    CLibString key;
    CNVList record;
    if (!ParseCookie(value.c_str(), url, key, record)) continue;
    OnSetCookie(value.c_str());
    CSockletLock lock(kLockCookieJar);
    StoreInJar(key, WriteRecord(record));
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
  g_jarAges.Clear();
}
