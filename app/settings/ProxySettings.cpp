#include "app/settings/ProxySettings.h"

#include <windows.h>

#include <string>

#include "foundation/net/InetAddress.h"
#include "foundation/net/ProxySettings.h"
#include "foundation/net/SockHttpClient.h"

namespace {

const char kProgramKey[] = "Software\\Orvandel Labs, Inc.\\ZBPro";
const char kPropertiesKey[] = "Software\\Orvandel Labs, Inc.\\ZBPro\\Properties";

}  // namespace

CString ScrambleProxyPassword(const CString& plain) {
  return CString(
      CProxySettings::Scramble(std::string(plain.GetString(), plain.GetLength())).c_str());
}

CString UnscrambleProxyPassword(const CString& scrambled) {
  std::string plain =
      CProxySettings::Unscramble(std::string(scrambled.GetString(), scrambled.GetLength()));
  return CString(plain.c_str());
}

void ApplyProxySettings(CSockHttpClient& client) {
  // The reader both programs share; only the main program records the system's proxy.
  CProxySettings proxy = CProxySettings::Read(kProgramKey);
  if (!proxy.IsSet()) return;
  if (proxy.fromSystem) {
    HKEY props = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPropertiesKey, 0, KEY_WRITE, &props) == ERROR_SUCCESS) {
      DWORD one = 1, number = proxy.port;
      RegSetValueExA(props, "UseProxy", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), sizeof one);
      RegSetValueExA(props, "ProxyServer", 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(proxy.host.c_str()),
                     static_cast<DWORD>(proxy.host.size() + 1));
      RegSetValueExA(props, "ProxyPort", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number),
                     sizeof number);
      RegCloseKey(props);
    }
  }
  client.SetProxy(CInetAddress(proxy.host.c_str(), proxy.port), proxy.user.c_str(),
                  proxy.password.c_str());
}
