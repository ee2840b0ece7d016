// The registry wrapper in a scratch key under HKEY_CURRENT_USER of the test's own Wine prefix,
// removed afterwards.
#include <gtest/gtest.h>

#include "foundation/os/WgRegistry.h"

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_scratch.Format("Software\\ZBRegistryTest-%lu", GetCurrentProcessId());
    ASSERT_TRUE(m_registry.Connect(HKEY_CURRENT_USER));
  }
  void TearDown() override {
    m_registry.Close();
    RegDeleteTreeA(HKEY_CURRENT_USER, m_scratch);
    RegDeleteKeyA(HKEY_CURRENT_USER, m_scratch);
  }
  CString Key(const char* below = "") const { return m_scratch + below; }

  CString m_scratch;
  CWgRegistry m_registry;
};

}  // namespace

TEST_F(RegistryTest, CreateWriteAndReadEveryKindOfValue) {
  DWORD disposition = 0;
  ASSERT_TRUE(m_registry.CreateKey(Key("\\Values"), "", REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                   nullptr, &disposition));
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  EXPECT_EQ(m_registry.GetKeyName(), Key("\\Values"));

  const BYTE bytes[] = {0, 1, 2, 0xFF};
  CStringArray list;
  list.Add("first");
  list.Add("second");
  EXPECT_TRUE(m_registry.SetStringValue("Text", "hello"));
  EXPECT_TRUE(m_registry.SetDoubleWordValue("Number", 0xDEADBEEF));
  EXPECT_TRUE(m_registry.SetBinaryValue("Bytes", bytes, sizeof bytes));
  EXPECT_TRUE(m_registry.SetStringArrayValue("List", list));
  EXPECT_TRUE(m_registry.SetValue("", "default"));
  EXPECT_TRUE(m_registry.SetValue("Number2", static_cast<DWORD>(7)));

  // Read back through a second object, as another part of the program would.
  CWgRegistry reader;
  ASSERT_TRUE(reader.Connect("HKEY_CURRENT_USER"));
  ASSERT_TRUE(reader.Open(Key("\\Values"), KEY_READ));
  CString text;
  EXPECT_TRUE(reader.GetStringValue("Text", text));
  EXPECT_EQ(text, "hello");
  EXPECT_TRUE(reader.GetValue("", text));
  EXPECT_EQ(text, "default");
  DWORD number = 0;
  EXPECT_TRUE(reader.GetDoubleWordValue("Number", number));
  EXPECT_EQ(number, 0xDEADBEEFu);
  EXPECT_TRUE(reader.GetValue("Number2", number));
  EXPECT_EQ(number, 7u);
  BYTE got[8] = {};
  DWORD size = sizeof got;
  EXPECT_TRUE(reader.GetBinaryValue("Bytes", got, size));
  EXPECT_EQ(size, sizeof bytes);
  EXPECT_EQ(memcmp(got, bytes, sizeof bytes), 0);
  CStringArray back;
  EXPECT_TRUE(reader.GetStringArrayValue("List", back));
  ASSERT_EQ(back.GetSize(), 2);
  EXPECT_EQ(back[0], "first");
  EXPECT_EQ(back[1], "second");
  DWORD type = 0;
  size = 0;
  EXPECT_TRUE(reader.QueryValue("Text", type, nullptr, size));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 6u);  // with its terminator
}

TEST_F(RegistryTest, FailedReadsKeepTheErrorAndLeaveStringsEmpty) {
  ASSERT_TRUE(m_registry.CreateKey(Key()));
  ASSERT_TRUE(m_registry.SetDoubleWordValue("Number", 5));
  ASSERT_TRUE(m_registry.SetStringValue("Long", CString('x', 3000)));

  CString text("old");
  EXPECT_FALSE(m_registry.GetStringValue("Missing", text));
  EXPECT_EQ(m_registry.GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_FALSE(m_registry.GetStringValue("Long", text));  // beyond the 2048-byte buffer
  EXPECT_EQ(m_registry.GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_FALSE(m_registry.GetStringValue("Number", text));  // not a string
  EXPECT_EQ(m_registry.GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  DWORD number = 0;
  EXPECT_FALSE(m_registry.GetDoubleWordValue("Long", number));

  struct Case {
    const char* what;
    BOOL result;
  } nullNames[] = {
      {"GetStringValue", m_registry.GetStringValue(nullptr, text)},
      {"GetDoubleWordValue", m_registry.GetDoubleWordValue(nullptr, number)},
      {"SetStringValue", m_registry.SetStringValue(nullptr, "x")},
      {"SetDoubleWordValue", m_registry.SetDoubleWordValue(nullptr, 1)},
      {"DeleteValue", m_registry.DeleteValue(nullptr)},
      {"CreateKey", m_registry.CreateKey(nullptr)},
  };
  for (const Case& c : nullNames) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(c.result);
  }
  EXPECT_EQ(m_registry.GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(RegistryTest, EnumerateQueryAndDelete) {
  ASSERT_TRUE(m_registry.CreateKey(Key("\\Tree\\A\\Deep")));
  ASSERT_TRUE(m_registry.CreateKey(Key("\\Tree\\B")));
  ASSERT_TRUE(m_registry.Open(Key("\\Tree"), KEY_ALL_ACCESS));
  ASSERT_TRUE(m_registry.SetStringValue("One", "1"));
  ASSERT_TRUE(m_registry.SetDoubleWordValue("Two", 2));

  ASSERT_TRUE(m_registry.QueryInfo());
  EXPECT_EQ(m_registry.GetNumberOfSubkeys(), 2u);
  EXPECT_EQ(m_registry.GetNumberOfValues(), 2u);
  EXPECT_EQ(m_registry.GetLongestValueNameLength(), 3u);

  CString name;
  EXPECT_TRUE(m_registry.EnumerateKeys(0, name));
  CString second;
  CString className;
  FILETIME written;
  EXPECT_TRUE(m_registry.EnumerateKeys(1, second, className, written));
  EXPECT_EQ((name == "A" && second == "B") || (name == "B" && second == "A"), true);
  EXPECT_FALSE(m_registry.EnumerateKeys(2, name));
  EXPECT_EQ(m_registry.GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));

  int seen = 0;
  DWORD type = 0;
  for (DWORD i = 0; m_registry.EnumerateValues(i, name, type); ++i) {
    ++seen;
    EXPECT_EQ(type, name == "One" ? static_cast<DWORD>(REG_SZ) : static_cast<DWORD>(REG_DWORD));
  }
  EXPECT_EQ(seen, 2);
  BYTE small[1];
  DWORD smallSize = sizeof small;
  EXPECT_TRUE(m_registry.EnumerateValues(0, name, type, small, smallSize));  // more data is fine

  EXPECT_TRUE(m_registry.DeleteValue("One"));
  EXPECT_FALSE(m_registry.DeleteValue("One"));
  EXPECT_TRUE(m_registry.Flush());

  EXPECT_FALSE(m_registry.DeleteKey(Key("\\Tree\\A")));  // it has a subkey
  EXPECT_TRUE(m_registry.DeleteKey(Key("\\Tree\\A"), TRUE));
  EXPECT_FALSE(m_registry.Open(Key("\\Tree\\A")));
  EXPECT_TRUE(m_registry.DeleteKey(Key("\\Tree"), TRUE));
  EXPECT_FALSE(m_registry.Open(Key("\\Tree")));
  EXPECT_FALSE(m_registry.DeleteKey(""));  // never the root itself
}

TEST_F(RegistryTest, ConnectingLocallyByHandleOrName) {
  CWgRegistry registry;
  EXPECT_TRUE(registry.Connect(HKEY_LOCAL_MACHINE, ""));
  EXPECT_FALSE(registry.IsRemote());
  EXPECT_FALSE(registry.GetMachineName().IsEmpty());
  EXPECT_TRUE(registry.Open("Software"));
  EXPECT_TRUE(registry.Close());

  EXPECT_FALSE(registry.Connect("HKEY_NOWHERE"));
  EXPECT_EQ(registry.GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(CWgRegistry::GetRootKeyFromName("HKEY_USERS"), HKEY_USERS);
  EXPECT_EQ(CWgRegistry::GetRootKeyFromName("HKEY_DYN_DATA"), HKEY_DYN_DATA);

  // The classes root and the current user's root exist only on this computer.
  EXPECT_FALSE(registry.Connect(HKEY_CURRENT_USER, "OTHERPC"));
  EXPECT_EQ(registry.GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(registry.Connect(HKEY_CLASSES_ROOT, "OTHERPC"));
  EXPECT_EQ(registry.GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(RegistryTest, WithoutAConnectionKeysAreOpenedUnderTheClassesRoot) {
  CWgRegistry registry;
  ASSERT_TRUE(registry.Open("CLSID"));  // present in every registry
  EXPECT_TRUE(registry.QueryInfo());
  EXPECT_GT(registry.GetNumberOfSubkeys(), 0u);
}
