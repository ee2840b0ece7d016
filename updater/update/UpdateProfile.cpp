#include "updater/update/UpdateProfile.h"

#include <windows.h>

#include <cstdlib>

#include "updater/update/UpdateWorker.h"

namespace {

constexpr const char* kInternetSettings =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

std::string ReadText(const std::string& key, const char* name) {
  char value[2049] = {};
  DWORD size = sizeof value - 1;
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return std::string();
  return value;
}

bool ReadNumber(const std::string& key, const char* name, long& out) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value,
                   &size) != ERROR_SUCCESS)
    return false;
  out = static_cast<long>(value);
  return true;
}

long ReadNumberOr(const std::string& key, const char* name, long fallback) {
  long value = fallback;
  return ReadNumber(key, name, value) ? value : fallback;
}

// "host:port", or the http entry of "http=host:port;ftp=..."; port 80 when none is given.
bool ParseProxyText(std::string text, std::string& host, unsigned& port) {
  size_t eq = text.find('=');
  if (eq != std::string::npos) {
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    size_t at = lower.find("http=");
    if (at == std::string::npos) return false;
    text = text.substr(at + 5);
  }
  text = text.substr(0, text.find(';'));
  size_t colon = text.rfind(':');
  host = text.substr(0, colon);
  long p = colon == std::string::npos ? 80 : std::atol(text.c_str() + colon + 1);
  port = static_cast<unsigned>(p);
  return !host.empty() && p > 0 && p < 65536;
}

}  // namespace

CRegistryServerStore::CRegistryServerStore(const std::string& profileKey)
    : m_key(profileKey + "\\FTP Servers") {}

long CRegistryServerStore::GetInt(const char* name, long fallback) {
  long value = fallback;
  if (ReadNumber(m_key, name, value)) return value;
  // A number written as text counts too.
  std::string text = ReadText(m_key, name);
  return text.empty() ? fallback : std::atol(text.c_str());
}

void CRegistryServerStore::SetInt(const char* name, long value) {
  DWORD number = static_cast<DWORD>(value);
  RegSetKeyValueA(HKEY_CURRENT_USER, m_key.c_str(), name, REG_DWORD, &number, sizeof number);
}

std::string CRegistryServerStore::GetString(const char* name) {
  return ReadText(m_key, name).substr(0, 254);
}

void CRegistryServerStore::SetString(const char* name, const std::string& value) {
  RegSetKeyValueA(HKEY_CURRENT_USER, m_key.c_str(), name, REG_SZ, value.c_str(),
                  static_cast<DWORD>(value.size() + 1));
}

int ReadUpdateTimeout(const std::string& profileKey) {
  long seconds = ReadNumberOr(profileKey + "\\Properties", "Timeout", 30);
  return seconds > 0 ? static_cast<int>(seconds) : 30;
}

std::string ReadLanguageSetting(const std::string& mainKey) {
  return ReadText(mainKey, "LanguageDLL");
}

std::string UnscrambleProxyPassword(const std::string& stored) {
  // The main program stores each character xor 0x5A, with 0x7F as an escape for the two
  // results a registry text cannot hold plainly.
  std::string out;
  for (size_t i = 0; i < stored.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(stored[i]);
    if (c == 0x7F && i + 1 < stored.size()) {
      unsigned char code = static_cast<unsigned char>(stored[i + 1]);
      if (code == 0x01 || code == 0x02) {
        c = code == 0x01 ? 0 : 0x7F;
        ++i;
      }
    }
    out += static_cast<char>(c ^ 0x5A);
  }
  return out;
}

bool ReadProxySettings(UpdateSettings& settings, const std::string& mainKey) {
  std::string props = mainKey + "\\Properties";
  if (ReadNumberOr(props, "UseProxy", 0) != 0) {
    unsigned port = static_cast<unsigned>(ReadNumberOr(props, "ProxyPort", 80));
    settings.proxy = CInetAddress(ReadText(props, "ProxyServer").c_str(), port);
    settings.proxyUser = ReadText(props, "ProxyUser");
    settings.proxyPassword = UnscrambleProxyPassword(ReadText(props, "ProxyPassword"));
    return settings.proxy.IsValid();
  }
  if (ReadNumberOr(props, "AutoProxy", ReadNumberOr(props, "AutoDetect", 0)) == 0) return false;
  std::string host;
  unsigned port = 0;
  if (ReadNumberOr(kInternetSettings, "ProxyEnable", 0) == 0 ||
      !ParseProxyText(ReadText(kInternetSettings, "ProxyServer"), host, port))
    return false;
  settings.proxy = CInetAddress(host.c_str(), port);
  return settings.proxy.IsValid();
}
