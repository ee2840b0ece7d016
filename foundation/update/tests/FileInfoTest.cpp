#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "foundation/update/FileInfo.h"
#include "tests/support/TempFolder.h"

namespace {

std::string ModuleFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

void WriteText(const std::string& path, const std::string& text) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD put = 0;
  WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
  CloseHandle(f);
}

// The installed module has version 2.10.300.4000; plain.txt has no version, only its time.
class FileInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFileA((ModuleFolder() + "zbtest_versioned.dll").c_str(),
                          folder.File("tool.dll").c_str(), FALSE));
    WriteText(folder.File("plain.txt"), "x");
    FILETIME t;
    SYSTEMTIME s = {2020, 6, 0, 15, 12, 0, 0, 0};
    SystemTimeToFileTime(&s, &t);
    HANDLE f = CreateFileA(folder.File("plain.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    SetFileTime(f, nullptr, nullptr, &t);
    CloseHandle(f);
  }
  bool Decide(const std::string& name, const std::string& version, const std::string& dateTime,
              int isResource) {
    CatalogueEntry e;
    e.name = name;
    e.version = version;
    e.dateTime = dateTime;
    e.isResource = isResource;
    return CFileInfo(e, folder.Path()).NeedsUpdate();
  }
  zbtest::TempFolder folder;
};

TEST_F(FileInfoTest, InstalledVersionsAgainstTheCatalogue) {
  struct Case {
    const char* what;
    const char* name;
    const char* version;
    const char* dateTime;
    int isResource;
    bool update;
  } cases[] = {
      {"newer build", "tool.dll", "2.10.300.4001", "", 0, true},
      {"same version", "tool.dll", "2.10.300.4000", "", 0, false},
      {"older", "tool.dll", "2.9.999.9999", "", 0, false},
      {"newer major, optional but installed", "tool.dll", "3.0.0.0", "", 1, true},
      {"missing optional file, never", "zbresdeu.dll", "9.0.0.0", "", 1, false},
      {"missing plain file: fetched", "new.dll", "1.0.0.0", "", 0, true},
      {"later date", "plain.txt", "0.0.0.0", "6/16/2020 12:00:00", 0, true},
      {"same minute", "plain.txt", "0.0.0.0", "6/15/2020 12:00:30", 0, false},
      {"earlier date", "plain.txt", "0.0.0.0", "1/1/2019 00:00:00", 0, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Decide(c.name, c.version, c.dateTime, c.isResource), c.update) << c.what;
}

TEST_F(FileInfoTest, CatalogueFileIsReadIntoEntries) {
  WriteText(folder.File("versions.ini"),
            "[File List]\r\nCount=3\r\nFile0=tool.dll\r\nFile1=..\\outside.dll\r\n"
            "File2=plain.txt\r\n[tool.dll]\r\nVersion=2.10.301.0\r\nSize=5000\r\n"
            "HttpPath=/zubrin/latest/tool.arq\r\n[FTP Servers]\r\nCount=1\r\n"
            "Server0=127.0.0.1\r\n");
  CFileInfoTable table;
  UpdateCatalog parsed;
  ASSERT_TRUE(ReadCatalogueFile(folder.File("versions.ini"), folder.Path(), table, &parsed));
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0]->m_path, folder.File("tool.dll"));
  EXPECT_EQ(table[0]->m_localVersion.GetBuild(), 300);
  EXPECT_TRUE(table[0]->NeedsUpdate());
  EXPECT_FALSE(table[1]->NeedsUpdate());
  EXPECT_EQ(parsed.servers.size(), 1u);
  EXPECT_NE(table[0]->DescribeDecision().find("Update: 1"), std::string::npos);
  EXPECT_FALSE(ReadCatalogueFile(folder.File("missing.ini"), folder.Path(), table));
  EXPECT_TRUE(table.empty());
}

}  // namespace
