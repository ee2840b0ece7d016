#include "foundation/net/ProxySettings.h"

#include <windows.h>

#include <cctype>
#include <cstdlib>

namespace {

const char kInternetSettingsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const unsigned char kKey = 0x5A;
// An ASCII escape, so that the stored text reads back the same under every ANSI code page.
const unsigned char kEscape = 0x7F;
const unsigned char kEscapedZero = 0x01;    // stands for the scrambled "Z"
const unsigned char kEscapedEscape = 0x02;  // stands for a scrambled character 0x7F ("%")

bool ReadNumber(const std::string& key, const char* name, DWORD& out) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value,
                   &size) != ERROR_SUCCESS)
    return false;
  out = value;
  return true;
}

DWORD ReadNumberOr(const std::string& key, const char* name, DWORD fallback) {
  DWORD value = fallback;
  return ReadNumber(key, name, value) ? value : fallback;
}

std::string ReadText(const std::string& key, const char* name) {
  char value[2049] = {};
  DWORD size = sizeof value - 1;
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return std::string();
  return value;
}

std::string Trimmed(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

}  // namespace

bool CProxySettings::ParseSystemProxy(const std::string& value, std::string& host, unsigned& port) {
  std::string text = value;
  if (text.find('=') != std::string::npos) {
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t at = lower.find("http=");
    if (at == std::string::npos) return false;
    text = text.substr(at + 5);
  }
  text = Trimmed(text.substr(0, text.find(';')));
  size_t colon = text.rfind(':');
  host = Trimmed(text.substr(0, colon));
  long p = colon == std::string::npos ? 80 : std::atol(text.c_str() + colon + 1);
  port = p > 0 && p < 65536 ? static_cast<unsigned>(p) : 0;
  return !host.empty() && port != 0;
}

CProxySettings CProxySettings::Read(const std::string& programKey) {
  CProxySettings proxy;
  std::string props = programKey + "\\Properties";
  if (ReadNumberOr(props, "UseProxy", 0) != 0) {
    proxy.host = Trimmed(ReadText(props, "ProxyServer"));
    proxy.port = ReadNumberOr(props, "ProxyPort", 80);
    proxy.user = ReadText(props, "ProxyUser");
    proxy.password = Unscramble(ReadText(props, "ProxyPassword"));
    return proxy;
  }
  if (ReadNumberOr(props, "AutoProxy", ReadNumberOr(props, "AutoDetect", 0)) == 0) return proxy;
  if (ReadNumberOr(kInternetSettingsKey, "ProxyEnable", 0) == 0) return proxy;
  if (ParseSystemProxy(ReadText(kInternetSettingsKey, "ProxyServer"), proxy.host, proxy.port))
    proxy.fromSystem = true;
  else
    proxy.host.clear();
  return proxy;
}

std::string CProxySettings::Scramble(const std::string& plain) {
  std::string out;
  for (char ch : plain) {
    unsigned char c = static_cast<unsigned char>(ch) ^ kKey;
    if (c == 0 || c == kEscape) {
      out += static_cast<char>(kEscape);
      out += static_cast<char>(c == 0 ? kEscapedZero : kEscapedEscape);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string CProxySettings::Unscramble(const std::string& stored) {
  std::string out;
  for (size_t i = 0; i < stored.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(stored[i]);
    if (c == kEscape && i + 1 < stored.size()) {
      unsigned char code = static_cast<unsigned char>(stored[i + 1]);
      if (code == kEscapedZero || code == kEscapedEscape) {
        c = code == kEscapedZero ? 0 : kEscape;
        ++i;
      }
    }
    out += static_cast<char>(c ^ kKey);
  }
  return out;
}
