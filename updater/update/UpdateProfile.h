// The update program's settings in the registry: its own profile (the server list and the
// time-out) and the main program's proxy settings, which it follows.
#pragma once

#include <string>

#include "foundation/update/ServerRotation.h"

struct UpdateSettings;

constexpr const char* kUpdateProfileKey = "Software\\Orvandel Labs, Inc.\\ZBUpdate";
constexpr const char* kMainProfileKey = "Software\\Orvandel Labs, Inc.\\ZBPro";

// "FTP Servers" under the profile key of the current user.
class CRegistryServerStore : public ServerStore {
 public:
  explicit CRegistryServerStore(const std::string& profileKey = kUpdateProfileKey);
  long GetInt(const char* name, long fallback) override;
  void SetInt(const char* name, long value) override;
  std::string GetString(const char* name) override;
  void SetString(const char* name, const std::string& value) override;

 private:
  std::string m_key;
};

// "Properties" / "Timeout" in seconds, 30 when missing or not positive.
int ReadUpdateTimeout(const std::string& profileKey = kUpdateProfileKey);
// The main program's "LanguageDLL" value, empty when missing.
std::string ReadLanguageSetting(const std::string& mainKey = kMainProfileKey);
// The proxy the main program uses, read by its own reader (foundation/net/ProxySettings.h), into
// the settings. False for none.
bool ReadProxySettings(UpdateSettings& settings, const std::string& mainKey = kMainProfileKey);
