#include "foundation/net/InetAddress.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "foundation/core/NVList.h"
#include "foundation/net/Socklet.h"
#include "foundation/net/Url.h"

namespace {

CNVList* g_forward = nullptr;  // host name -> address as "%lu"; under kLockHostCache
CNVList* g_reverse = nullptr;  // dotted address -> host name; under kLockReverseCache
std::atomic<int> g_failedLookups{0};
std::atomic<CInetAddress::LookupFn> g_lookup{nullptr};
std::atomic<CInetAddress::ReverseFn> g_reverseLookup{nullptr};

bool SystemLookup(const char* name, uint32_t& address) {
  addrinfo hints = {};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* answer = nullptr;
  if (getaddrinfo(name, nullptr, &hints, &answer) != 0 || !answer) return false;
  bool found = false;
  for (addrinfo* a = answer; a && !found; a = a->ai_next) {
    if (a->ai_family != AF_INET || !a->ai_addr) continue;
    address = ntohl(reinterpret_cast<sockaddr_in*>(a->ai_addr)->sin_addr.s_addr);
    found = true;
  }
  freeaddrinfo(answer);
  return found;
}

bool SystemReverse(uint32_t address, CLibString& name) {
  sockaddr_in sa = {};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(address);
  char host[NI_MAXHOST] = {};
  if (getnameinfo(reinterpret_cast<sockaddr*>(&sa), sizeof sa, host, sizeof host, nullptr, 0,
                  NI_NAMEREQD) != 0)
    return false;
  name = host;
  return host[0] != 0;
}

bool Lookup(const char* name, uint32_t& address) {
  CInetAddress::LookupFn fn = g_lookup;
  return fn ? fn(name, address) : SystemLookup(name, address);
}

bool Reverse(uint32_t address, CLibString& name) {
  CInetAddress::ReverseFn fn = g_reverseLookup;
  return fn ? fn(address, name) : SystemReverse(address, name);
}

// Stores name -> value, dropping the first entry in name order when the cache is full, so that
// a long run cannot grow it without bound. The caller holds the cache's lock.
void StoreBounded(CNVList* cache, const CLibString& name, const CLibString& value) {
  if (!cache) return;
  if (!cache->Contains(name) && cache->GetCount() >= CInetAddress::kCacheLimit) {
    CLibString first;
    if (cache->GetNextName(first, CLibString())) delete cache->Remove(first);
  }
  cache->SetAt(name, value);
}

}  // namespace

CInetAddress::CInetAddress(const CLibString& text, unsigned port) {
  Resolve(text, port);
}

CInetAddress::CInetAddress(const char* text, unsigned port) {
  Resolve(CLibString(text), port);
}

CInetAddress::CInetAddress(uint32_t address, unsigned port) : m_address(address), m_port(port) {}

bool CInetAddress::ParseDotted(const char* text, uint32_t& address) {
  if (!text) return false;
  uint32_t result = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0 && *text++ != '.') return false;
    int digits = 0;
    unsigned value = 0;
    while (*text >= '0' && *text <= '9' && digits < 4) {
      value = value * 10 + static_cast<unsigned>(*text++ - '0');
      ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255) return false;
    result = (result << 8) | value;
  }
  if (*text) return false;
  address = result;
  return true;
}

bool CInetAddress::IsLookupName(const CLibString& host) {
  // A mail address ("mailto:" parts), a script, blanks or control characters: no name service
  // knows such a name, and asking would only spend the budget of failed look-ups.
  for (const char* p = host.c_str(); *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c <= ' ' || c == 0x7F || strchr("@/\\()'\"<>;,", c)) return false;
  }
  return true;
}

bool CInetAddress::Resolve(const CLibString& text, unsigned port) {
  m_address = kNone;
  m_port = port;
  m_hostName = CLibString();
  if (text.GetLength() == 0) return false;
  // A dotted address, the usual text of a client that knows where to connect, is its own
  // host: no URL parse needed (it is one allocation after another).
  uint32_t address = 0;
  if (ParseDotted(text.c_str(), address)) {
    m_address = address;
    return true;
  }

  CUrl url(text);
  CLibString host = url.GetHost();
  if (port == 0 && url.GetPort() > 0) m_port = static_cast<unsigned>(url.GetPort());
  if (host.GetLength() == 0 || !IsLookupName(host)) return false;

  if (ParseDotted(host.c_str(), address)) {
    m_address = address;
    return true;
  }

  {
    CSockletLock lock(kLockHostCache);
    CLibString cached;
    if (g_forward && g_forward->GetValue(host, cached) && cached.GetLength() > 0) {
      m_address = static_cast<uint32_t>(strtoul(cached.c_str(), nullptr, 10));
      m_hostName = host;
      return true;
    }
  }

  // When the name service has failed often in a row (the machine is offline), asking again
  // would only cost every engine two waits; cached names and dotted addresses still work.
  if (g_failedLookups >= kMaxFailedLookups) return false;
  bool found = Lookup(host.c_str(), address);
  if (!found) {
    SockletSleep(1000);
    found = Lookup(host.c_str(), address);
  }
  if (!found) {
    ++g_failedLookups;
    return false;
  }
  g_failedLookups = 0;
  m_address = address;
  m_hostName = host;
  CSockletLock lock(kLockHostCache);
  StoreBounded(g_forward, host, CLibString(static_cast<unsigned long>(address)));
  return true;
}

void CInetAddress::SetAddress(uint32_t address, unsigned port) {
  m_address = address;
  m_port = port;
  m_hostName = CLibString();
}

CLibString CInetAddress::GetHostName() {
  if (m_hostName.GetLength() > 0 || !IsValid()) return m_hostName;
  CLibString dotted = Format('.');
  {
    CSockletLock lock(kLockReverseCache);
    CLibString cached;
    if (g_reverse && g_reverse->GetValue(dotted, cached) && cached.GetLength() > 0) {
      m_hostName = cached;
      return m_hostName;
    }
  }
  CLibString name;
  if (!Reverse(m_address, name) || name.GetLength() == 0) return m_hostName;
  m_hostName = name;
  CSockletLock lock(kLockReverseCache);
  StoreBounded(g_reverse, dotted, name);
  return m_hostName;
}

CLibString CInetAddress::Format(char separator) const {
  CLibString text;
  text.Format("%u%c%u%c%u%c%u", (m_address >> 24) & 0xFFu, separator, (m_address >> 16) & 0xFFu,
              separator, (m_address >> 8) & 0xFFu, separator, m_address & 0xFFu);
  return text;
}

bool CInetAddress::operator==(const CLibString& host) const {
  CInetAddress other(host, 0);
  return other.IsValid() && other.m_address == m_address;
}

void CInetAddress::SetNameService(LookupFn lookup, ReverseFn reverse) {
  g_lookup = lookup;
  g_reverseLookup = reverse;
}

void CInetAddress::ResetShared() {
  {
    CSockletLock lock(kLockHostCache);
    if (g_forward) g_forward->RemoveAll();
  }
  {
    CSockletLock lock(kLockReverseCache);
    if (g_reverse) g_reverse->RemoveAll();
  }
  g_failedLookups = 0;
}

void CInetAddress::RememberHost(const CLibString& host, uint32_t address) {
  uint32_t dotted = 0;
  if (host.GetLength() == 0 || address == kNone || ParseDotted(host.c_str(), dotted)) return;
  CSockletLock lock(kLockHostCache);
  StoreBounded(g_forward, host, CLibString(static_cast<unsigned long>(address)));
}

int CInetAddress::GetFailedLookups() {
  return g_failedLookups;
}

unsigned CInetAddress::GetCacheCount(bool reverse) {
  CSockletLock lock(reverse ? kLockReverseCache : kLockHostCache);
  CNVList* cache = reverse ? g_reverse : g_forward;
  return cache ? cache->GetCount() : 0;
}

void CInetAddress::OpenCaches() {
  if (!g_forward) g_forward = new CNVList;
  if (!g_reverse) g_reverse = new CNVList;
  g_failedLookups = 0;
}

void CInetAddress::CloseCaches() {
  delete g_forward;
  g_forward = nullptr;
  delete g_reverse;
  g_reverse = nullptr;
}
