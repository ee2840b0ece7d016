// CProxySettings: the proxy the main program's settings ask for, read by both programs from the
// one place it is kept: the section "Properties" of the main program's key (current user).
// "UseProxy" gives the stored proxy ("ProxyServer", "ProxyPort" (80 when missing), "ProxyUser"
// and the scrambled "ProxyPassword"); else "AutoProxy" ("AutoDetect" when that is missing)
// takes the system's proxy from the Internet Settings ("ProxyEnable", "ProxyServer"), without
// user and password; else there is none.
#pragma once

#include <string>

class CProxySettings {
 public:
  std::string host;  // empty: no proxy
  unsigned port = 0;
  std::string user;
  std::string password;     // plain
  bool fromSystem = false;  // the system's proxy, taken for "AutoProxy"

  bool IsSet() const { return !host.empty(); }

  // programKey: e.g. "Software\\Orvandel Labs, Inc.\\ZBPro"; its "Properties" are read.
  static CProxySettings Read(const std::string& programKey);

  // The system's proxy text: "host:port", or the http entry of "http=host:port;ftp=...", with
  // blanks around it ignored; port 80 when none is given. False for no usable proxy.
  static bool ParseSystemProxy(const std::string& text, std::string& host, unsigned& port);

  // How the password is stored: each character combined with 0x5A. A character that would
  // become a zero byte ("Z") or the escape byte 0x7F ("%") is written as 0x7F and a code, so no
  // password is cut short in the store; text without that pair reads as it always did.
  static std::string Scramble(const std::string& plain);
  static std::string Unscramble(const std::string& stored);
};
