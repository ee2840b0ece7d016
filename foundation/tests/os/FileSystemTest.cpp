// File and folder operations in a temporary folder.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "foundation/os/WgFileSystem.h"

namespace {

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    m_root.Format("%szbfs%lu-%lu\\", temp, GetCurrentProcessId(), GetTickCount());
    ASSERT_TRUE(CreateDirectoryA(m_root, nullptr));
  }
  void TearDown() override { EXPECT_TRUE(CWgFileSystem().DeleteDirectory(m_root)); }

  CString Path(const char* below) const { return m_root + below; }
  void Write(const char* below, const std::string& text) const {
    HANDLE h = CreateFileA(Path(below), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
  }
  std::string Read(const char* below) const {
    HANDLE h =
        CreateFileA(Path(below), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<none>";
    std::string text(GetFileSize(h, nullptr), '\0');
    DWORD read;
    ReadFile(h, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(h);
    return text;
  }
  static std::set<std::string> Names(CStringList* list) {
    std::set<std::string> names;
    for (POSITION pos = list->GetHeadPosition(); pos;)
      names.insert(std::string(list->GetNext(pos)));
    delete list;
    return names;
  }

  CString m_root;
  CWgFileSystem m_fs;
};

}  // namespace

TEST_F(FileSystemTest, MakePathCreatesEveryMissingLevel) {
  EXPECT_TRUE(m_fs.MakePath(Path("one\\two\\three")));
  EXPECT_TRUE(m_fs.DirectoryExists(Path("one\\two\\three")));
  Write("one\\two\\three\\keep.txt", "kept");
  EXPECT_TRUE(m_fs.MakePath(Path("one\\two\\three\\")));  // exists: nothing changes
  EXPECT_EQ(Read("one\\two\\three\\keep.txt"), "kept");
  EXPECT_TRUE(m_fs.MakePath(Path("a/b/c/")));
  EXPECT_TRUE(m_fs.DirectoryExists(Path("a\\b\\c")));

  Write("blocker", "a file where a folder should be");
  EXPECT_FALSE(m_fs.MakePath(Path("blocker\\below")));
  EXPECT_FALSE(m_fs.MakePath(""));

  EXPECT_TRUE(m_fs.MakeDirectory(Path("single")));
  EXPECT_FALSE(m_fs.MakeDirectory(Path("single")));
  EXPECT_FALSE(m_fs.MakeDirectory(Path("x\\y\\z")));
}

TEST_F(FileSystemTest, CopyFileNeverOverwrites) {
  std::string big(25000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 31);
  Write("source.bin", big);
  EXPECT_TRUE(m_fs.CopyFile(Path("source.bin"), Path("copy.bin"), 10240));
  EXPECT_EQ(Read("copy.bin"), big);

  Write("target.txt", "mine");
  EXPECT_FALSE(m_fs.CopyFile(Path("source.bin"), Path("target.txt"), 10240));
  EXPECT_EQ(Read("target.txt"), "mine");
  EXPECT_FALSE(m_fs.CopyFile(Path("missing.bin"), Path("new.bin"), 10240));
  EXPECT_FALSE(m_fs.FileExists(Path("new.bin")));
  EXPECT_FALSE(m_fs.CopyFile(Path("source.bin"), Path("new.bin"), 0));
  EXPECT_FALSE(m_fs.FileExists(Path("new.bin")));
  EXPECT_FALSE(m_fs.CopyFile(Path("source.bin"), Path("no\\folder\\new.bin"), 10240));

  Write("empty.txt", "");
  EXPECT_TRUE(m_fs.CopyFile(Path("empty.txt"), Path("empty2.txt"), 1));
  EXPECT_EQ(Read("empty2.txt"), "");
}

TEST_F(FileSystemTest, ExistenceAndDeletion) {
  Write("file.txt", "x");
  CreateDirectoryA(Path("folder"), nullptr);
  struct Case {
    CString path;
    bool file, folder;
  } cases[] = {
      {Path("file.txt"), true, false}, {Path("folder"), true, true}, {Path("folder\\"), true, true},
      {Path("missing"), false, false}, {CString(), false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.GetString());
    EXPECT_EQ(m_fs.FileExists(c.path) != FALSE, c.file);
    EXPECT_EQ(m_fs.DirectoryExists(c.path) != FALSE, c.folder);
  }
  EXPECT_TRUE(m_fs.DeleteFile(Path("file.txt")));
  EXPECT_FALSE(m_fs.DeleteFile(Path("file.txt")));
  EXPECT_FALSE(m_fs.FileExists(Path("file.txt")));
}

TEST_F(FileSystemTest, PathsSplitAtEitherSeparator) {
  struct Case {
    const char* path;
    const char* name;
    const char* folder;
    const char* folderWithoutDrive;
    const char* extension;
    const char* base;
  } cases[] = {
      {"C:\\dir\\file.txt", "file.txt", "C:\\dir\\", "\\dir\\", "txt", "file"},
      {"C:/dir/sub/archive.tar.gz", "archive.tar.gz", "C:/dir/sub/", "/dir/sub/", "gz",
       "archive.tar"},
      {"dir.v2\\README", "README", "dir.v2\\", "dir.v2\\", "", "README"},
      {"plain", "plain", "", "", "", "plain"},
      {"C:\\dir\\", "", "C:\\dir\\", "\\dir\\", "", ""},
      {".profile", ".profile", "", "", "profile", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(m_fs.GetFileName(c.path), c.name);
    EXPECT_EQ(m_fs.GetPath(c.path), c.folder);
    EXPECT_EQ(m_fs.GetPath(c.path, FALSE), c.folderWithoutDrive);
    EXPECT_EQ(m_fs.GetExtension(c.path), c.extension);
    EXPECT_EQ(m_fs.GetBaseName(c.path), c.base);
  }
}

TEST_F(FileSystemTest, CurrentDriveAndFolder) {
  CString saved = m_fs.GetCurrentDirectory();
  ASSERT_FALSE(saved.IsEmpty());
  CString drive = m_fs.GetCurrentDrive();
  ASSERT_EQ(drive.GetLength(), 3);
  EXPECT_EQ(drive.Right(2), ":\\");

  ASSERT_TRUE(m_fs.ChangeDirectory(m_root));
  CString now = m_fs.GetCurrentDirectory();
  EXPECT_EQ(now.CompareNoCase(m_root.Left(m_root.GetLength() - 1)), 0);
  EXPECT_EQ(m_fs.GetCurrentDirectory(m_root.Left(2)).CompareNoCase(now), 0);
  EXPECT_FALSE(m_fs.ChangeDirectory(Path("missing")));
  EXPECT_TRUE(m_fs.GetCurrentDirectory("?").IsEmpty());
  EXPECT_TRUE(m_fs.ChangeDirectory(saved));
}

TEST_F(FileSystemTest, SearchingAndListing) {
  Write("a.txt", "");
  Write("b.txt", "");
  Write("c.dat", "");
  ASSERT_TRUE(m_fs.MakePath(Path("sub\\deeper")));
  Write("sub\\d.txt", "");
  Write("sub\\deeper\\e.txt", "");

  std::set<std::string> found;
  for (CString name = m_fs.GetFirstFileName(Path("*.*")); !name.IsEmpty();
       name = m_fs.GetNextFileName()) {
    found.insert(std::string(name));
  }
  EXPECT_EQ(found, (std::set<std::string>{"a.txt", "b.txt", "c.dat"}));
  EXPECT_TRUE(m_fs.GetNextFileName().IsEmpty());  // stays at the end
  EXPECT_EQ(m_fs.GetFirstFileName(Path("*"), FILE_ATTRIBUTE_DIRECTORY), "sub");
  EXPECT_TRUE(m_fs.GetNextFileName().IsEmpty());
  EXPECT_TRUE(m_fs.GetFirstFileName(Path("*.none")).IsEmpty());

  std::string root(m_root);
  EXPECT_EQ(Names(m_fs.GetFileList(m_root, "*.txt")),
            (std::set<std::string>{root + "a.txt", root + "b.txt"}));
  EXPECT_EQ(Names(m_fs.GetFileList(m_root.Left(m_root.GetLength() - 1), "*.txt", TRUE)),
            (std::set<std::string>{root + "a.txt", root + "b.txt", root + "sub\\d.txt",
                                   root + "sub\\deeper\\e.txt"}));
  EXPECT_TRUE(Names(m_fs.GetFileList(Path("missing\\"), "*.*")).empty());
  EXPECT_EQ(Names(m_fs.GetDirectoryList(m_root)), (std::set<std::string>{root + "sub\\"}));
}

TEST_F(FileSystemTest, DeleteDirectoryRemovesEverythingBelow) {
  ASSERT_TRUE(m_fs.MakePath(Path("temp\\x\\y")));
  Write("temp\\one.txt", "1");
  Write("temp\\x\\y\\two.txt", "2");
  SetFileAttributesA(Path("temp\\x\\y\\two.txt"), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(m_fs.DeleteDirectory(Path("temp")));
  EXPECT_FALSE(m_fs.DirectoryExists(Path("temp")));
  EXPECT_TRUE(m_fs.DeleteDirectory(Path("temp")));  // already gone
  Write("file", "");
  EXPECT_FALSE(m_fs.DeleteDirectory(Path("file")));
}
