// CInetAddress: an IPv4 endpoint (address and port) made from a host name, a dotted address or a
// URL. Forward and reverse name look-ups are cached process-wide; the caches and the count of
// failed look-ups are the only shared state and live under the socket library's locks.
#pragma once

#include <cstdint>

#include "foundation/core/LibString.h"

class CInetAddress {
 public:
  static constexpr uint32_t kNone = 0xFFFFFFFFu;
  // Entries a look-up cache holds before the first in name order is dropped.
  static constexpr unsigned kCacheLimit = 1000;
  // After this many failed look-ups in a row the process asks the name service no more.
  static constexpr int kMaxFailedLookups = 20;

  CInetAddress() = default;
  // Resolves a host name, dotted address or URL; the URL's port is used when port is 0.
  CInetAddress(const CLibString& text, unsigned port);
  CInetAddress(const char* text, unsigned port);
  // address in host byte order.
  CInetAddress(uint32_t address, unsigned port);
  CInetAddress(const CInetAddress& other) = default;
  CInetAddress& operator=(const CInetAddress& other) = default;
  virtual ~CInetAddress() = default;

  // True when an address was found.
  bool Resolve(const CLibString& text, unsigned port);
  void SetAddress(uint32_t address, unsigned port);
  void SetPort(unsigned port) { m_port = port; }

  uint32_t GetAddress() const { return m_address; }
  unsigned GetPort() const { return m_port; }
  bool IsValid() const { return m_address != kNone; }
  // The name it was made from, else the name found by reverse look-up (empty when none).
  CLibString GetHostName();
  // "a.b.c.d" with the given separator, most significant byte first.
  CLibString Format(char separator = '.') const;

  bool operator==(const CInetAddress& other) const { return m_address == other.m_address; }
  bool operator==(uint32_t address) const { return m_address == address; }
  // The host text is resolved for the comparison.
  bool operator==(const CLibString& host) const;
  bool operator!=(const CInetAddress& other) const { return !(*this == other); }

  // Name service used for look-ups: the system's by default. Tests install their own so that no
  // real name is ever asked; null restores the system's. Addresses are in host byte order.
  using LookupFn = bool (*)(const char* name, uint32_t& address);
  using ReverseFn = bool (*)(uint32_t address, CLibString& name);
  static void SetNameService(LookupFn lookup, ReverseFn reverse);
  // Empties both caches and the failure count (the library does this at its first start-up).
  static void ResetShared();
  static int GetFailedLookups();
  // Stores an address for a host name in the forward cache, as a look-up would: a client that
  // was told where a host lives connects there again without asking the name service.
  static void RememberHost(const CLibString& host, uint32_t address);
  static unsigned GetCacheCount(bool reverse);
  // The caches live from the socket library's first start-up to its last clean-up.
  static void OpenCaches();
  static void CloseCaches();
  // Strict "a.b.c.d" (four decimal parts of 0 to 255) into a host-order address.
  static bool ParseDotted(const char* text, uint32_t& address);
  // False for a host that no name service could know (a mail address, a bit of script, blanks
  // or control characters): Resolve leaves such a host unresolved without asking.
  static bool IsLookupName(const CLibString& host);

 protected:
  uint32_t m_address = kNone;
  unsigned m_port = 0;
  CLibString m_hostName;
};
