// CSockHttpClient: the cookie jar that all clients of the process share, bounded as browsers
// bound theirs, and the cookies of requests and responses.
#include "foundation/net/SockHttpClient.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "foundation/net/InetAddress.h"
#include "foundation/net/SockHttpText.h"
#include "foundation/net/Socklet.h"

namespace {

using std::string;
using namespace sockhttp;

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

}  // namespace

// ---- cookie jar ----

void CSockHttpClient::SetCookies(const CNVList& responseHeaders, const CUrl& url) {
  // In order of arrival ("set-cookie0", "set-cookie1", ... "set-cookie10"), not of name: a
  // later cookie replaces an earlier one, and the jar drops the oldest first.
  std::vector<std::pair<long, CLibString>> numbered;
  responseHeaders.ForEach([&](const CNVItem& item) {
    const char* at = strstr(item.m_name.c_str(), "set-cookie");
    if (at) numbered.emplace_back(atol(at + 10), item.m_value);
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
    // Compared in place: a lower-case copy of every header name would be an allocation each.
    if (StartsWithNoCase(item.m_name.c_str(), "cookie:")) stale.push_back(item.m_name);
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
