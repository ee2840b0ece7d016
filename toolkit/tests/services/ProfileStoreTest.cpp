// The profile store in both of its forms: in the registry, a scratch section under the program's
// own key in the test's Wine prefix (removed afterwards); in an INI file, a temporary file.
// Every value kind is written and read back, and checked in the stored form that other code
// (and older files) rely on.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "framework/app/WinApp.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/services/TkProfileStore.h"

namespace {

const char kCompany[] = "Orvandel Labs, Inc.";
const char kProgram[] = "ZBPro";

class ProfileStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_section.Format("TkServicesTest-%lu", GetCurrentProcessId());
    m_app = std::make_unique<CWinApp>(kProgram);
    m_app->SetRegistryKey(kCompany);
    ToolkitData().m_strIniFile.Empty();
  }
  void TearDown() override {
    ToolkitData().m_strIniFile.Empty();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, SectionPath());
    m_app.reset();
  }
  CString SectionPath(LPCSTR below = "") const {
    CString path;
    path.Format("Software\\%s\\%s\\%s%s", kCompany, kProgram, m_section.GetString(), below);
    return path;
  }
  // The stored type and size of a value, read past the store; 0 type when it is missing.
  std::pair<DWORD, DWORD> Stored(LPCSTR entry, LPCSTR below = "") const {
    HKEY key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(below), 0, KEY_READ, &key) != 0) {
      return {0, 0};
    }
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) != 0) type = 0;
    ::RegCloseKey(key);
    return {type, size};
  }
  bool KeyExists(LPCSTR below) const {
    HKEY key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(below), 0, KEY_READ, &key) != 0) {
      return false;
    }
    ::RegCloseKey(key);
    return true;
  }

  CString m_section;
  std::unique_ptr<CWinApp> m_app;
};

// A temporary INI file that the store is pointed at for the test's length.
class IniProfileStoreTest : public ProfileStoreTest {
 protected:
  void SetUp() override {
    ProfileStoreTest::SetUp();
    char folder[MAX_PATH], file[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    ::GetTempFileNameA(folder, "tks", 0, file);
    m_file = file;
    ToolkitData().m_strIniFile = m_file;
  }
  void TearDown() override {
    ::DeleteFileA(m_file);
    ProfileStoreTest::TearDown();
  }
  CString Raw(LPCSTR section, LPCSTR entry) const {
    char text[8192] = "";
    ::GetPrivateProfileStringA(section, entry, "<none>", text, sizeof text, m_file);
    return text;
  }
  CString m_file;
};

}  // namespace

TEST_F(ProfileStoreTest, EveryValueKindRoundTripsThroughTheRegistry) {
  CTkProfileStore store(HKEY_CURRENT_USER);
  const CString section = m_section;
  CString longText('x', 6000);
  const BYTE bytes[] = {0x00, 0x12, 0xAB, 0xFF, 0x7F, 0x80, 0x01};
  EXPECT_TRUE(store.WriteProfileInt(section, "Int", -123456));
  EXPECT_TRUE(store.WriteProfileString(section, "Text", "Hello, world"));
  EXPECT_TRUE(store.WriteProfileString(section, "Long", longText));
  EXPECT_TRUE(store.WriteProfileString(section, "Empty", ""));
  EXPECT_TRUE(store.WriteProfileBinary(section, "Bytes", bytes, sizeof bytes));
  EXPECT_TRUE(store.WriteProfilePoint(section, "Point", POINT{-5, 7}));
  EXPECT_TRUE(store.WriteProfileSize(section, "Size", SIZE{640, 480}));
  EXPECT_TRUE(store.WriteProfilePair(section, "Pair", 11, -22));
  EXPECT_TRUE(store.WriteProfileRect(section, "Rect", RECT{1, 2, 300, 400}));
  EXPECT_TRUE(store.WriteProfileDword(section, "Dword", 0xDEADBEEF));
  EXPECT_TRUE(store.WriteProfileColor(section, "Color", RGB(1, 2, 3)));
  EXPECT_TRUE(store.WriteProfileInt(section + "\\Deeper", "Nested", 9));

  // The stored forms that other readers of the profile see.
  struct Form {
    const char* entry;
    DWORD type, size;
  };
  const Form forms[] = {
      {"Int", REG_DWORD, 4},      {"Text", REG_SZ, 13},      {"Long", REG_SZ, 6001},
      {"Empty", REG_SZ, 1},       {"Bytes", REG_BINARY, 7},  {"Point", REG_BINARY, 8},
      {"Size", REG_BINARY, 8},    {"Pair", REG_BINARY, 8},   {"Rect", REG_BINARY, 16},
      {"Dword", REG_BINARY, 4},   {"Color", REG_BINARY, 4},
  };
  for (const Form& f : forms) {
    EXPECT_EQ(Stored(f.entry), std::make_pair(f.type, f.size)) << f.entry;
  }

  // A fresh store for reading: nothing is cached between operations.
  CTkProfileStore reader(HKEY_CURRENT_USER);
  EXPECT_EQ(static_cast<int>(reader.GetProfileInt(section, "Int", 0)), -123456);
  EXPECT_EQ(reader.GetProfileString(section, "Text"), "Hello, world");
  EXPECT_TRUE(reader.GetProfileString(section, "Long") == longText) << "no 4096 limit";
  EXPECT_EQ(reader.GetProfileString(section, "Empty", "dflt"), "");
  BYTE* data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(reader.GetProfileBinary(section, "Bytes", &data, &size));
  ASSERT_EQ(size, sizeof bytes);
  EXPECT_EQ(std::memcmp(data, bytes, size), 0);
  delete[] data;
  POINT pt = {};
  SIZE sz = {};
  LONG first = 0, second = 0;
  RECT rc = {};
  DWORD dw = 0;
  COLORREF color = 0;
  EXPECT_TRUE(reader.GetProfilePoint(section, "Point", pt));
  EXPECT_TRUE(reader.GetProfileSize(section, "Size", sz));
  EXPECT_TRUE(reader.GetProfilePair(section, "Pair", first, second));
  EXPECT_TRUE(reader.GetProfileRect(section, "Rect", rc));
  EXPECT_TRUE(reader.GetProfileDword(section, "Dword", dw));
  EXPECT_TRUE(reader.GetProfileColor(section, "Color", color));
  EXPECT_EQ(pt.x, -5);
  EXPECT_EQ(pt.y, 7);
  EXPECT_EQ(sz.cx, 640);
  EXPECT_EQ(sz.cy, 480);
  EXPECT_EQ(first, 11);
  EXPECT_EQ(second, -22);
  const RECT wrote = {1, 2, 300, 400};
  EXPECT_TRUE(::EqualRect(&rc, &wrote));
  EXPECT_EQ(dw, 0xDEADBEEFu);
  EXPECT_EQ(color, RGB(1, 2, 3));
  EXPECT_EQ(reader.GetProfileInt(section + "\\Deeper", "Nested", 0), 9u);

  // The section's contents as the enumerations see them.
  CTkValueTypeMap types;
  CStringList names;
  EXPECT_EQ(reader.GetSectionValues(section, &types, &names), 11);
  EXPECT_EQ(names.GetCount(), 11);
  DWORD type = 0;
  EXPECT_TRUE(types.Lookup("Int", type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_TRUE(types.Lookup("Rect", type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  CStringList keys;
  EXPECT_EQ(reader.GetSectionKeys(section, &keys), 1);
  EXPECT_EQ(keys.GetHead(), "Deeper");
}

TEST_F(ProfileStoreTest, MissingAndMisfitValuesGiveTheirDefaults) {
  CTkProfileStore store(HKEY_CURRENT_USER);
  const CString section = m_section;
  const BYTE eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  const BYTE two[2] = {0x34, 0x12};
  store.WriteProfileBinary(section, "Eight", eight, sizeof eight);
  store.WriteProfileBinary(section, "Two", two, sizeof two);

  EXPECT_EQ(store.GetProfileInt(section, "Missing", 77), 77u);
  EXPECT_EQ(store.GetProfileInt(section, "Eight", 77), 77u) << "more than four bytes";
  EXPECT_EQ(store.GetProfileInt(section, "Two", 77), 0x1234u) << "whatever its type";
  EXPECT_EQ(store.GetProfileString(section, "Missing", "dflt"), "dflt");
  EXPECT_EQ(store.GetProfileString(section, "Missing"), "");
  BYTE* data = reinterpret_cast<BYTE*>(1);
  UINT size = 5;
  EXPECT_FALSE(store.GetProfileBinary(section, "Missing", &data, &size));
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 0u);
  // A typed read never takes more than its object holds.
  DWORD dw = 42;
  EXPECT_FALSE(store.GetProfileDword(section, "Eight", dw));
  POINT pt = {};
  EXPECT_FALSE(store.GetProfilePoint(section, "Missing", pt));
}

TEST_F(ProfileStoreTest, EntriesSectionsAndKeysAreDeleted) {
  CTkProfileStore store(HKEY_CURRENT_USER);
  const CString section = m_section;
  store.WriteProfileString(section, "A", "1");
  store.WriteProfileString(section, "B", "2");
  EXPECT_TRUE(store.WriteProfileString(section, "A", nullptr)) << "a null value removes it";
  EXPECT_EQ(Stored("A").first, 0u);
  EXPECT_TRUE(store.DeleteValue(section, "B"));
  EXPECT_EQ(Stored("B").first, 0u);
  EXPECT_FALSE(store.DeleteValue(section, "B")) << "already gone";

  // A section with subkeys survives the plain delete; DeleteKey takes a key with all below it.
  store.WriteProfileInt(section + "\\Sub\\Deep\\Deeper", "X", 1);
  store.WriteProfileInt(section + "\\Sub", "Y", 2);
  EXPECT_FALSE(store.WriteProfileString(section, nullptr, nullptr));
  EXPECT_TRUE(KeyExists(""));
  EXPECT_TRUE(store.DeleteKey(section, "Sub"));
  EXPECT_FALSE(KeyExists("\\Sub"));
  EXPECT_TRUE(KeyExists(""));
  EXPECT_FALSE(store.DeleteKey(section, "Sub")) << "nothing left to delete";
  EXPECT_TRUE(store.WriteProfileString(section, nullptr, nullptr)) << "no subkeys now";
  EXPECT_FALSE(KeyExists(""));
}

TEST_F(ProfileStoreTest, WithoutACompanyKeyWritesFailAndReadsGiveDefaults) {
  m_app = std::make_unique<CWinApp>(kProgram);  // SetRegistryKey never called
  CTkProfileStore store(HKEY_CURRENT_USER);
  const CString section = m_section;
  const BYTE bytes[] = {1, 2};
  EXPECT_FALSE(store.WriteProfileInt(section, "I", 1));
  EXPECT_FALSE(store.WriteProfileString(section, "S", "x"));
  EXPECT_FALSE(store.WriteProfileString(section, nullptr, nullptr));
  EXPECT_FALSE(store.WriteProfileBinary(section, "B", bytes, 2));
  EXPECT_FALSE(store.WriteProfileRect(section, "R", RECT{}));
  EXPECT_FALSE(store.DeleteKey(section, "K"));
  EXPECT_FALSE(store.DeleteValue(section, "I"));
  EXPECT_EQ(store.GetProfileInt(section, "I", 42), 42u);
  EXPECT_EQ(store.GetProfileString(section, "S", "dflt"), "dflt");
  BYTE* data = nullptr;
  UINT size = 0;
  EXPECT_FALSE(store.GetProfileBinary(section, "B", &data, &size));
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(store.GetSectionValues(section, nullptr, nullptr), 0);
  EXPECT_FALSE(KeyExists(""));
}

TEST_F(IniProfileStoreTest, EveryValueKindRoundTripsThroughTheFile) {
  CTkProfileStore store(HKEY_CURRENT_USER);
  const BYTE bytes[] = {0x12, 0xAB};
  EXPECT_TRUE(store.WriteProfileInt("Bars", "Count", -7));
  EXPECT_TRUE(store.WriteProfileString("Bars", "Name", "Standard"));
  EXPECT_TRUE(store.WriteProfileBinary("Bars", "Bytes", bytes, sizeof bytes));
  EXPECT_TRUE(store.WriteProfileRect("Bars", "Rect", RECT{1, -2, 0x100, 0x7FFFFFFF}));
  EXPECT_TRUE(store.WriteProfilePoint("Bars", "Point", POINT{3, 4}));

  // The file's own text: integers in decimal, bytes as two letters each, low nibble first.
  EXPECT_EQ(Raw("Bars", "Count"), "-7");
  EXPECT_EQ(Raw("Bars", "Name"), "Standard");
  EXPECT_EQ(Raw("Bars", "Bytes"), "CBLK");
  EXPECT_EQ(Raw("Bars", "Point"), "DAAAAAAAEAAAAAAA");
  EXPECT_EQ(Stored("Count").first, 0u) << "nothing goes to the registry";

  EXPECT_EQ(static_cast<int>(store.GetProfileInt("Bars", "Count", 0)), -7);
  EXPECT_EQ(store.GetProfileInt("Bars", "Missing", 5), 5u);
  EXPECT_EQ(store.GetProfileString("Bars", "Name"), "Standard");
  EXPECT_EQ(store.GetProfileString("Bars", "Missing", "dflt"), "dflt");
  EXPECT_EQ(store.GetProfileString("Bars", "Missing"), "");
  BYTE* data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(store.GetProfileBinary("Bars", "Bytes", &data, &size));
  ASSERT_EQ(size, 2u);
  EXPECT_EQ(data[0], 0x12);
  EXPECT_EQ(data[1], 0xAB);
  delete[] data;
  RECT rc = {};
  POINT pt = {};
  EXPECT_TRUE(store.GetProfileRect("Bars", "Rect", rc));
  EXPECT_TRUE(store.GetProfilePoint("Bars", "Point", pt));
  EXPECT_EQ(rc.top, -2);
  EXPECT_EQ(rc.bottom, 0x7FFFFFFF);
  EXPECT_EQ(pt.y, 4);
  EXPECT_FALSE(store.GetProfileRect("Bars", "Missing", rc));
}

TEST_F(IniProfileStoreTest, DamagedAndOversizedTextsStayWithinBounds) {
  CTkProfileStore store(HKEY_CURRENT_USER);
  struct Case {
    const char* text;
    UINT count;
    BYTE first;
    const char* why;
  };
  const Case cases[] = {
      {"CBLKA", 2, 0x12, "an odd last letter is ignored"},
      {"A", 0, 0, "a single letter decodes to nothing"},
      {"PPPP", 2, 0xFF, "the highest letters"},
  };
  for (const Case& c : cases) {
    ::WritePrivateProfileStringA("Raw", "Bytes", c.text, m_file);
    BYTE* data = nullptr;
    UINT size = 99;
    ASSERT_TRUE(store.GetProfileBinary("Raw", "Bytes", &data, &size)) << c.why;
    EXPECT_EQ(size, c.count) << c.why;
    if (c.count) {
      EXPECT_EQ(data[0], c.first) << c.why;
    }
    delete[] data;
  }
  BYTE* data = nullptr;
  UINT size = 0;
  ::WritePrivateProfileStringA("Raw", "Empty", "", m_file);
  EXPECT_FALSE(store.GetProfileBinary("Raw", "Empty", &data, &size));
  EXPECT_EQ(data, nullptr);

  // A text longer than the object it is read into fills the object and no more.
  ::WritePrivateProfileStringA("Raw", "Point", "BAAAAAAACAAAAAAAPPPPPPPPPPPPPPPP", m_file);
  struct {
    POINT pt;
    DWORD guard;
  } box = {{0, 0}, 0x5A5A5A5A};
  EXPECT_TRUE(store.GetProfilePoint("Raw", "Point", box.pt));
  EXPECT_EQ(box.pt.x, 1);
  EXPECT_EQ(box.pt.y, 2);
  EXPECT_EQ(box.guard, 0x5A5A5A5Au);

  // Strings read from a file stop at 4095 characters.
  CString longText('y', 5000);
  store.WriteProfileString("Raw", "Long", longText);
  EXPECT_EQ(store.GetProfileString("Raw", "Long").GetLength(), 4095);
}

TEST_F(IniProfileStoreTest, NullEntriesAndValuesRemoveFromTheFile) {
  CTkProfileStore store(HKEY_CURRENT_USER);
  store.WriteProfileString("One", "A", "1");
  store.WriteProfileString("One", "B", "2");
  store.WriteProfileString("Two", "C", "3");
  EXPECT_TRUE(store.WriteProfileString("One", "A", nullptr));
  EXPECT_EQ(Raw("One", "A"), "<none>");
  EXPECT_EQ(Raw("One", "B"), "2");
  EXPECT_TRUE(store.WriteProfileString("One", nullptr, nullptr));
  EXPECT_EQ(Raw("One", "B"), "<none>");
  EXPECT_EQ(Raw("Two", "C"), "3");
}

TEST_F(IniProfileStoreTest, KeyAndValueDeletionStillWorkOnTheRegistry) {
  ToolkitData().m_strIniFile.Empty();
  CTkProfileStore registry(HKEY_CURRENT_USER);
  registry.WriteProfileInt(m_section, "V", 1);
  registry.WriteProfileInt(m_section + "\\K", "W", 2);
  ToolkitData().m_strIniFile = m_file;
  CTkProfileStore store(HKEY_CURRENT_USER);
  EXPECT_TRUE(store.DeleteValue(m_section, "V"));
  EXPECT_TRUE(store.DeleteKey(m_section, "K"));
  EXPECT_EQ(Stored("V").first, 0u);
  EXPECT_FALSE(KeyExists("\\K"));
}
