// The application object's profile functions, in a scratch company key under HKEY_CURRENT_USER
// of the test's own Wine prefix, removed afterwards.
#include <gtest/gtest.h>

#include <memory>

#include "framework/app/WinApp.h"

namespace {

class WinAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_company.Format("ZBFrameworkTest-%lu", GetCurrentProcessId());
    m_app = std::make_unique<CWinApp>("FwTest");
  }
  void TearDown() override {
    m_app.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + m_company);
    RegDeleteKeyA(HKEY_CURRENT_USER, CString("Software\\") + m_company);
  }
  bool KeyExists(const char* below) const {
    HKEY key;
    CString path = CString("Software\\") + m_company + below;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  CString m_company;
  std::unique_ptr<CWinApp> m_app;
};

}  // namespace

TEST_F(WinAppTest, TheApplicationIsReachableByItsNameAndPointer) {
  EXPECT_EQ(AfxGetApp(), m_app.get());
  EXPECT_STREQ(AfxGetAppName(), "FwTest");
  EXPECT_EQ(m_app->m_pszRegistryKey, nullptr);
  m_app->SetRegistryKey(m_company);
  EXPECT_STREQ(m_app->m_pszRegistryKey, m_company);
  EXPECT_STREQ(m_app->m_pszProfileName, "FwTest");

  CWinApp unnamed;
  EXPECT_STREQ(unnamed.m_pszAppName, "framework_tests");
}

TEST_F(WinAppTest, WithoutARegistryKeyReadsGiveDefaultsAndWritesFail) {
  EXPECT_FALSE(m_app->WriteProfileInt("S", "I", 1));
  EXPECT_FALSE(m_app->WriteProfileString("S", "T", "x"));
  EXPECT_EQ(m_app->GetProfileInt("S", "I", 42), 42u);
  EXPECT_EQ(m_app->GetProfileString("S", "T", "dflt"), "dflt");
  LPBYTE data = reinterpret_cast<LPBYTE>(1);
  UINT size = 9;
  EXPECT_FALSE(m_app->GetProfileBinary("S", "B", &data, &size));
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 0u);
}

TEST_F(WinAppTest, ValuesRoundTripUnderTheProfileKey) {
  m_app->SetRegistryKey(m_company);
  EXPECT_TRUE(m_app->WriteProfileInt("Properties", "MaxThreads", -5));
  EXPECT_TRUE(m_app->WriteProfileString("Properties", "ReportsDir", "C:\\Reports"));
  BYTE bytes[44];
  for (int i = 0; i < 44; ++i) bytes[i] = static_cast<BYTE>(i * 7);
  EXPECT_TRUE(m_app->WriteProfileBinary("MainFrame", "WindowPlacement", bytes, sizeof bytes));
  EXPECT_TRUE(m_app->WriteProfileString("", "LanguageDLL", "ZBResENU.dll"));
  EXPECT_TRUE(m_app->WriteProfileString("Properties\\Templates", "Count", "2"));
  CString longText('v', 6000);
  EXPECT_TRUE(m_app->WriteProfileString("Properties", "Long", longText));

  EXPECT_EQ(static_cast<int>(m_app->GetProfileInt("Properties", "MaxThreads", 0)), -5);
  EXPECT_EQ(m_app->GetProfileString("Properties", "ReportsDir"), "C:\\Reports");
  EXPECT_EQ(m_app->GetProfileString("", "LanguageDLL"), "ZBResENU.dll");
  EXPECT_EQ(m_app->GetProfileString("Properties\\Templates", "Count"), "2");
  EXPECT_TRUE(m_app->GetProfileString("Properties", "Long") == longText);
  LPBYTE data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(m_app->GetProfileBinary("MainFrame", "WindowPlacement", &data, &size));
  ASSERT_EQ(size, 44u);
  EXPECT_EQ(memcmp(data, bytes, 44), 0);
  delete[] data;

  // The values sit where other code of the program looks for them.
  HKEY key;
  CString path = CString("Software\\") + m_company + "\\FwTest\\Properties";
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0, value = 0, length = sizeof value;
  EXPECT_EQ(RegQueryValueExA(key, "MaxThreads", nullptr, &type, reinterpret_cast<LPBYTE>(&value),
                             &length),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  RegCloseKey(key);
}

TEST_F(WinAppTest, MissingOrMistypedValuesGiveDefaults) {
  m_app->SetRegistryKey(m_company);
  EXPECT_EQ(m_app->GetProfileInt("Nowhere", "X", 3), 3u);
  EXPECT_EQ(m_app->GetProfileString("Nowhere", "X", nullptr), "");
  EXPECT_FALSE(KeyExists("\\FwTest\\Nowhere"));  // reading creates nothing

  BYTE eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_TRUE(m_app->WriteProfileBinary("S", "Binary", eight, sizeof eight));
  ASSERT_TRUE(m_app->WriteProfileString("S", "Text", "12"));
  ASSERT_TRUE(m_app->WriteProfileInt("S", "Number", 12));
  EXPECT_EQ(m_app->GetProfileInt("S", "Binary", 99), 99u);
  EXPECT_EQ(m_app->GetProfileInt("S", "Text", 99), 99u);
  EXPECT_EQ(m_app->GetProfileString("S", "Number", "d"), "d");
  LPBYTE data = nullptr;
  UINT size = 0;
  EXPECT_FALSE(m_app->GetProfileBinary("S", "Text", &data, &size));
  EXPECT_EQ(data, nullptr);
}

TEST_F(WinAppTest, NullEntryDeletesTheSectionAndNullValueTheEntry) {
  m_app->SetRegistryKey(m_company);
  ASSERT_TRUE(m_app->WriteProfileString("Gone", "A", "1"));
  ASSERT_TRUE(m_app->WriteProfileString("Gone", "B", "2"));
  EXPECT_TRUE(m_app->WriteProfileString("Gone", "A", nullptr));
  EXPECT_EQ(m_app->GetProfileString("Gone", "A", "none"), "none");
  EXPECT_EQ(m_app->GetProfileString("Gone", "B", "none"), "2");
  EXPECT_TRUE(m_app->WriteProfileString("Gone", nullptr, nullptr));
  EXPECT_FALSE(KeyExists("\\FwTest\\Gone"));
  EXPECT_FALSE(m_app->WriteProfileString("Gone", nullptr, nullptr));
}
