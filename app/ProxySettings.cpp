#include "app/ProxySettings.h"

#include <windows.h>

#include <cstdlib>

#include "foundation/InetAddress.h"
#include "foundation/SockHttpClient.h"

namespace {

const char kPropertiesKey[] = "Software\\Orvandel Labs, Inc.\\ZBPro\\Properties";
const char kInternetSettingsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";
const unsigned char kKey = 0x5A;
// An ASCII escape, so that the stored text reads back the same under every ANSI code page.
const unsigned char kEscape = 0x7F;
const unsigned char kEscapedZero = 0x01;    // stands for the scrambled "Z"
const unsigned char kEscapedEscape = 0x02;  // stands for a scrambled character 0x7F ("%")

bool QueryNumber(HKEY key, const char* name, DWORD& value) {
  DWORD type = 0, size = sizeof value;
  return RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
             ERROR_SUCCESS &&
         type == REG_DWORD;
}

DWORD ReadNumber(HKEY key, const char* name, DWORD fallback) {
  DWORD value = 0;
  return QueryNumber(key, name, value) ? value : fallback;
}

CString ReadText(HKEY key, const char* name) {
  char value[2049] = {};
  DWORD type = 0, size = sizeof value - 1;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return CString();
  return CString(value);
}

// "host:port", or the http entry of "http=host:port;ftp=..."; port 80 when none is given.
bool ParseProxyText(CString text, CString& host, unsigned& port) {
  if (text.Find('=') >= 0) {
    CString lower = text;
    lower.MakeLower();
    int at = lower.Find("http=");
    if (at < 0) return false;
    text = text.Mid(at + 5);
  }
  int end = text.Find(';');
  if (end >= 0) text = text.Left(end);
  text.Trim();
  int colon = text.ReverseFind(':');
  host = colon >= 0 ? text.Left(colon) : text;
  port = colon >= 0 ? static_cast<unsigned>(atoi(text.Mid(colon + 1))) : 80;
  return !host.IsEmpty() && port > 0 && port < 65536;
}

}  // namespace

CString ScrambleProxyPassword(const CString& plain) {
  CString out;
  for (int i = 0; i < plain.GetLength(); ++i) {
    unsigned char c = static_cast<unsigned char>(plain[i]) ^ kKey;
    if (c == 0 || c == kEscape) {
      out += static_cast<char>(kEscape);
      out += static_cast<char>(c == 0 ? kEscapedZero : kEscapedEscape);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

CString UnscrambleProxyPassword(const CString& scrambled) {
  CString out;
  for (int i = 0; i < scrambled.GetLength(); ++i) {
    unsigned char c = static_cast<unsigned char>(scrambled[i]);
    if (c == kEscape && i + 1 < scrambled.GetLength()) {
      unsigned char code = static_cast<unsigned char>(scrambled[i + 1]);
      if (code == kEscapedZero || code == kEscapedEscape) {
        c = code == kEscapedZero ? 0 : kEscape;
        ++i;
      }
    }
    out += static_cast<char>(c ^ kKey);
  }
  return out;
}

void ApplyProxySettings(CSockHttpClient& client) {
  HKEY props = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kPropertiesKey, 0, KEY_READ | KEY_WRITE, &props) !=
      ERROR_SUCCESS)
    return;
  if (ReadNumber(props, "UseProxy", DWORD(0)) != 0) {
    unsigned port = ReadNumber(props, "ProxyPort", DWORD(80));
    CInetAddress address(ReadText(props, "ProxyServer").GetString(), port);
    client.SetProxy(address, ReadText(props, "ProxyUser").GetString(),
                    UnscrambleProxyPassword(ReadText(props, "ProxyPassword")).GetString());
  } else if (ReadNumber(props, "AutoProxy", ReadNumber(props, "AutoDetect", DWORD(0))) != 0) {
    HKEY system = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kInternetSettingsKey, 0, KEY_READ, &system) ==
        ERROR_SUCCESS) {
      CString host;
      unsigned port = 0;
      if (ReadNumber(system, "ProxyEnable", DWORD(0)) != 0 &&
          ParseProxyText(ReadText(system, "ProxyServer"), host, port)) {
        DWORD one = 1, number = port;
        RegSetValueExA(props, "UseProxy", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), sizeof one);
        RegSetValueExA(props, "ProxyServer", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(host.GetString()), host.GetLength() + 1);
        RegSetValueExA(props, "ProxyPort", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number),
                       sizeof number);
        client.SetProxy(CInetAddress(host.GetString(), port), CLibString(), CLibString());
      }
      RegCloseKey(system);
    }
  }
  RegCloseKey(props);
}
