#include "updater/update/UpdateProfile.h"

#include <windows.h>

#include <cstdlib>

#include "foundation/net/ProxySettings.h"
#include "updater/update/UpdateWorker.h"

namespace {

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

bool ReadProxySettings(UpdateSettings& settings, const std::string& mainKey) {
  // The main program's own reader: both programs go through the same proxy.
  CProxySettings proxy = CProxySettings::Read(mainKey);
  if (!proxy.IsSet()) return false;
  settings.proxy = CInetAddress(proxy.host.c_str(), proxy.port);
  settings.proxyUser = proxy.user;
  settings.proxyPassword = proxy.password;
  return settings.proxy.IsValid();
}
