// The proxy password's scrambling and the proxy set-up of an HTTP client from the settings.
#include <gtest/gtest.h>

#include "app/settings/ProxySettings.h"
#include "app/tests/AppRegistryFixture.h"
#include "foundation/net/InetAddress.h"
#include "foundation/net/SockHttpClient.h"

TEST(ProxyPasswordTest, ScramblingIsXorWithTheFixedKeyAndRoundTrips) {
  EXPECT_EQ(ScrambleProxyPassword("abc"),
            CString("\x3b\x38\x39"));  // 'a' ^ 0x5A, 'b' ^ 0x5A, 'c' ^ 0x5A
  const char* passwords[] = {"",    "secret", "Zebra",       "ZZZ",
                             "aZb", "100%",   "%Z%\x7f\x01", "\xa5\xff pass word!"};
  for (const char* plain : passwords) {
    SCOPED_TRACE(plain);
    CString scrambled = ScrambleProxyPassword(plain);
    EXPECT_EQ(static_cast<int>(strlen(scrambled)), scrambled.GetLength()) << "no zero byte";
    EXPECT_EQ(UnscrambleProxyPassword(scrambled), plain);
  }
}

TEST(ProxyPasswordTest, APasswordStoredPlainXorIsStillRead) {
  // What the store held before: every character combined with the key, none escaped.
  EXPECT_EQ(UnscrambleProxyPassword("\x3b\x38\x39"), "abc");
  EXPECT_EQ(UnscrambleProxyPassword("\xff"), "\xa5");
  EXPECT_EQ(UnscrambleProxyPassword("\x7f"), "%");
  EXPECT_EQ(UnscrambleProxyPassword("\x7f\x7f"), "%%");
}

namespace {

class ProxySetupTest : public AppRegistryFixture {
 protected:
  static constexpr const char* kSystemKey =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

  void SetUp() override {
    AppRegistryFixture::SetUp();
    m_hadEnable = GetNumber(kSystemKey, "ProxyEnable", m_enable);
    m_hadServer = GetText(kSystemKey, "ProxyServer", m_server);
  }
  void TearDown() override {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSystemKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
      if (m_hadEnable)
        RegSetValueExA(key, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<BYTE*>(&m_enable),
                       sizeof m_enable);
      else
        RegDeleteValueA(key, "ProxyEnable");
      if (m_hadServer)
        RegSetValueExA(key, "ProxyServer", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(m_server.GetString()),
                       m_server.GetLength() + 1);
      else
        RegDeleteValueA(key, "ProxyServer");
      RegCloseKey(key);
    }
    AppRegistryFixture::TearDown();
  }
  static void Proxy(CSockHttpClient& client, CInetAddress& address, CLibString& user,
                    CLibString& password) {
    client.GetProxy(address, user, password);
  }

  bool m_hadEnable = false, m_hadServer = false;
  DWORD m_enable = 0;
  CString m_server;
};

}  // namespace

TEST_F(ProxySetupTest, TheStoredProxyIsUsedWithItsUserAndPlainPassword) {
  SetNumber(kPropertiesKey, "UseProxy", 1);
  SetText(kPropertiesKey, "ProxyServer", "127.0.0.1");
  SetNumber(kPropertiesKey, "ProxyPort", 3128);
  SetText(kPropertiesKey, "ProxyUser", "joe");
  SetText(kPropertiesKey, "ProxyPassword", ScrambleProxyPassword("Zorro"));
  CSockHttpClient client;
  ApplyProxySettings(client);
  CInetAddress address;
  CLibString user, password;
  Proxy(client, address, user, password);
  ASSERT_TRUE(client.HasProxy());
  EXPECT_EQ(address.GetAddress(), 0x7F000001u);
  EXPECT_EQ(address.GetPort(), 3128u);
  EXPECT_STREQ(user.c_str(), "joe");
  EXPECT_STREQ(password.c_str(), "Zorro");
}

TEST_F(ProxySetupTest, WithoutAnySettingTheClientConnectsDirectly) {
  CSockHttpClient client;
  ApplyProxySettings(client);
  EXPECT_FALSE(client.HasProxy());
  SetNumber(kPropertiesKey, "UseProxy", 0);
  SetNumber(kPropertiesKey, "AutoProxy", 0);
  ApplyProxySettings(client);
  EXPECT_FALSE(client.HasProxy());
}

TEST_F(ProxySetupTest, DetectionTakesTheSystemProxyAndRecordsIt) {
  SetNumber(kSystemKey, "ProxyEnable", 1);
  SetText(kSystemKey, "ProxyServer", "127.0.0.2:8081");
  for (const char* flag : {"AutoProxy", "AutoDetect"}) {
    SCOPED_TRACE(flag);
    RegDeleteTreeA(HKEY_CURRENT_USER, kPropertiesKey);
    SetNumber(kPropertiesKey, flag, 1);
    CSockHttpClient client;
    ApplyProxySettings(client);
    CInetAddress address;
    CLibString user, password;
    Proxy(client, address, user, password);
    ASSERT_TRUE(client.HasProxy());
    EXPECT_EQ(address.GetAddress(), 0x7F000002u);
    EXPECT_EQ(address.GetPort(), 8081u);
    EXPECT_STREQ(user.c_str(), "");
    DWORD useProxy = 0, port = 0;
    CString server;
    EXPECT_TRUE(GetNumber(kPropertiesKey, "UseProxy", useProxy));
    EXPECT_EQ(useProxy, 1u);
    EXPECT_TRUE(GetText(kPropertiesKey, "ProxyServer", server));
    EXPECT_EQ(server, "127.0.0.2");
    EXPECT_TRUE(GetNumber(kPropertiesKey, "ProxyPort", port));
    EXPECT_EQ(port, 8081u);
  }
}

TEST_F(ProxySetupTest, DetectionDoesNothingWhenTheSystemHasNoProxy) {
  SetNumber(kSystemKey, "ProxyEnable", 0);
  SetText(kSystemKey, "ProxyServer", "127.0.0.2:8081");
  SetNumber(kPropertiesKey, "AutoProxy", 1);
  // AutoProxy 0 wins over an old AutoDetect 1.
  CSockHttpClient client;
  ApplyProxySettings(client);
  EXPECT_FALSE(client.HasProxy());
  SetNumber(kSystemKey, "ProxyEnable", 1);
  SetNumber(kPropertiesKey, "AutoProxy", 0);
  SetNumber(kPropertiesKey, "AutoDetect", 1);
  ApplyProxySettings(client);
  EXPECT_FALSE(client.HasProxy());
  DWORD useProxy = 0;
  EXPECT_FALSE(GetNumber(kPropertiesKey, "UseProxy", useProxy));
}
