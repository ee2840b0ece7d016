// File versions: parsing, comparing, reading the version block of a test module built with a
// version resource, and a file version's archive form.
#include <gtest/gtest.h>

#include <string>

#include "foundation/os/FileVersion.h"
#include "foundation/os/VersionInfo.h"
#include "framework/files/Archive.h"

namespace {

CString ModuleFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  CString folder(path, static_cast<int>(n));
  return folder.Left(folder.ReverseFind('\\') + 1);
}

CString TempFile(const char* name, const std::string& contents) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  CString path;
  path.Format("%szbver%lu-%s", temp, GetCurrentProcessId(), name);
  HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(h, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
  CloseHandle(h);
  return path;
}

CVersionInfo Parsed(const char* text) {
  CVersionInfo v;
  v.Parse(text);
  return v;
}

}  // namespace

TEST(VersionInfo, ParsesAndFormatsVersions) {
  struct Case {
    const char* text;
    const char* formatted;
  } cases[] = {
      {"1.2", "1.2.-1.-1"},     {"1.2.3.4", "1.2.3.4"}, {"1.2.3.4.5", "1.2.3.4"},
      {"10.0.0.1", "10.0.0.1"}, {"3.", "3.-1.-1.-1"},   {"..7.8", "7.8.-1.-1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Parsed(c.text).Format(), c.formatted);
  }
  CVersionInfo v = Parsed("1.2");
  EXPECT_EQ(v.GetMajor(), 1);
  EXPECT_EQ(v.GetMinor(), 2);
  EXPECT_EQ(v.GetBuild(), -1);
  EXPECT_EQ(v.GetRevision(), -1);
  EXPECT_EQ(v.GetDateTime().GetStatus(), COleDateTime::null);
}

TEST(VersionInfo, ParsesDatesIntoBothForms) {
  CVersionInfo v = Parsed("12/9/2026 15:04:05\r\n");
  EXPECT_EQ(v.GetMajor(), -1);
  const struct tm& t = v.GetCalendar();
  EXPECT_EQ(t.tm_mon, 11);
  EXPECT_EQ(t.tm_mday, 9);
  EXPECT_EQ(t.tm_year, 126);
  EXPECT_EQ(t.tm_hour, 15);
  EXPECT_EQ(t.tm_min, 4);
  EXPECT_EQ(t.tm_sec, 5);
  EXPECT_EQ(v.GetDateTime(), COleDateTime(2026, 12, 9, 15, 4, 5));

  v.Reset();
  EXPECT_EQ(v.Format(), "-1.-1.-1.-1");
  EXPECT_EQ(v.GetCalendar().tm_year, 0);
  EXPECT_EQ(v.GetDateTime().GetStatus(), COleDateTime::null);
}

TEST(VersionInfo, ComparesPartsOrDatesToTheMinute) {
  struct Case {
    const char* a;
    const char* b;
    bool aLess, bLess;
  } cases[] = {
      {"1.2.0.5", "1.10.0.0", true, false},
      {"1.2.3.4", "1.2.3.4", false, false},
      {"2.0", "1.9.9.9", false, true},
      {"1/2/2003 10:20:30", "1/2/2003 10:20:59", false, false},  // seconds do not count
      {"1/2/2003 10:20:30", "1/2/2003 10:21:00", true, false},
      {"12/31/2002 23:59:00", "1/1/2003 0:00:00", true, false},
      {"1/2/2003 10:20:30", "0.0.0.1", true, false},  // a version part above 0: parts compare
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    EXPECT_EQ(Parsed(c.a) < Parsed(c.b), c.aLess);
    EXPECT_EQ(Parsed(c.b) < Parsed(c.a), c.bLess);
  }
  CVersionInfo copy = Parsed("1/2/2003 10:20:30");
  CVersionInfo assigned;
  assigned = copy;
  EXPECT_EQ(assigned.GetCalendar().tm_min, 20);
  EXPECT_EQ(assigned.GetDateTime(), copy.GetDateTime());
}

TEST(VersionInfo, FromFileReadsTheResourceOrTheTime) {
  CVersionInfo v;
  ASSERT_TRUE(v.FromFile(ModuleFolder() + "zbtest_versioned.dll"));
  EXPECT_EQ(v.Format(), "2.10.300.4000");

  // Any other extension gives the modification time in UTC.
  CString data = TempFile("catalogue.dat", "data");
  HANDLE h = CreateFileA(data, FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SYSTEMTIME when = {2024, 2, 0, 29, 13, 14, 15, 0};
  FILETIME ft;
  SystemTimeToFileTime(&when, &ft);
  SetFileTime(h, nullptr, nullptr, &ft);
  CloseHandle(h);
  ASSERT_TRUE(v.FromFile(data));
  EXPECT_EQ(v.GetMajor(), -1);
  EXPECT_EQ(v.GetCalendar().tm_year, 124);
  EXPECT_EQ(v.GetCalendar().tm_mon, 1);
  EXPECT_EQ(v.GetCalendar().tm_mday, 29);
  EXPECT_EQ(v.GetCalendar().tm_hour, 13);
  EXPECT_EQ(v.GetCalendar().tm_min, 14);
  EXPECT_EQ(v.GetDateTime(), COleDateTime(2024, 2, 29, 13, 14, 15));
  DeleteFileA(data);

  // An executable without a version resource, and a file that is not there.
  CString fake = TempFile("fake.dll", "not a module");
  EXPECT_FALSE(v.FromFile(fake));
  EXPECT_EQ(v.Format(), "-1.-1.-1.-1");
  DeleteFileA(fake);
  EXPECT_FALSE(v.FromFile(data));
  EXPECT_EQ(v.GetDateTime().GetStatus(), COleDateTime::null);
}

TEST(FileVersion, ReadsTheVersionOfExecutablesOnly) {
  CFileVersion dll(ModuleFolder() + "zbtest_versioned.dll");
  EXPECT_EQ(dll.GetMajor(), 2u);
  EXPECT_EQ(dll.GetMinor(), 10u);
  EXPECT_EQ(dll.GetBuild(), 300u);
  EXPECT_EQ(dll.GetRevision(), 4000u);

  CString copyPath = TempFile("copy.DLL", "");
  CopyFileA(ModuleFolder() + "zbtest_versioned.dll", copyPath, FALSE);
  EXPECT_TRUE(CFileVersion(copyPath) == dll);  // the extension's case does not matter
  CString renamed = TempFile("copy.txt", "");
  CopyFileA(copyPath, renamed, FALSE);
  EXPECT_TRUE(CFileVersion(renamed) == CFileVersion());  // not an executable's extension
  EXPECT_TRUE(CFileVersion(ModuleFolder() + "missing.exe") == CFileVersion());
  DeleteFileA(copyPath);
  DeleteFileA(renamed);

  CFileVersion other;
  EXPECT_TRUE(dll != other);
  other = dll;
  EXPECT_TRUE(dll == other);
  EXPECT_TRUE(CFileVersion(dll) == dll);
}

TEST(FileVersion, ArchiveFormIsFourWords) {
  CFileVersion dll(ModuleFolder() + "zbtest_versioned.dll");
  CString path = TempFile("version.bin", "");
  {
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    dll.Serialize(ar);
    ar << &dll;  // and as an object
    ar.Close();
  }
  {
    CFile file(path, CFile::modeRead);
    BYTE bytes[16];
    ASSERT_EQ(file.Read(bytes, sizeof bytes), sizeof bytes);
    const BYTE expected[16] = {2, 0, 0, 0, 10, 0, 0, 0, 0x2C, 1, 0, 0, 0xA0, 0x0F, 0, 0};
    EXPECT_EQ(memcmp(bytes, expected, sizeof bytes), 0);
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CFileVersion back;
    back.Serialize(ar);
    EXPECT_TRUE(back == dll);
    CFileVersion* object = nullptr;
    ar >> object;
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(*object == dll);
    delete object;
  }
  DeleteFileA(path);
}
