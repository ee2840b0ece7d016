// CFile and CStdioFile on real files in a temporary folder: open modes and sharing, reading,
// writing, seeking, status, and the exceptions of failures.
#include <gtest/gtest.h>

#include <string>

#include "framework/files/StdioFile.h"

namespace {

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    m_folder.Format("%sfwfile%lu-%lu\\", temp, GetCurrentProcessId(), GetTickCount());
    ASSERT_TRUE(CreateDirectoryA(m_folder, nullptr));
  }
  void TearDown() override {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(m_folder + "*", &data);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        CString path = m_folder + data.cFileName;
        SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path);
      } while (FindNextFileA(h, &data));
      FindClose(h);
    }
    RemoveDirectoryA(m_folder);
  }
  CString Path(const char* name) const { return m_folder + name; }
  std::string Contents(const char* name) const {
    CFile file(Path(name), CFile::modeRead | CFile::shareDenyNone);
    std::string text(static_cast<size_t>(file.GetLength()), '\0');
    file.Read(text.data(), static_cast<UINT>(text.size()));
    return text;
  }

  CString m_folder;
};

}  // namespace

TEST_F(FileTest, WriteSeekReadAndLength) {
  CFile file;
  ASSERT_TRUE(file.Open(Path("a.bin"), CFile::modeCreate | CFile::modeReadWrite));
  file.Write("hello world", 11);
  EXPECT_EQ(file.GetLength(), 11u);
  EXPECT_EQ(file.GetPosition(), 11u);
  EXPECT_EQ(file.Seek(-5, CFile::end), 6u);
  char buffer[16] = {};
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 5u);
  EXPECT_STREQ(buffer, "world");
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);  // at the end: no exception
  file.SeekToBegin();
  file.Write("J", 1);
  file.SetLength(5);
  EXPECT_EQ(file.SeekToEnd(), 5u);
  EXPECT_EQ(file.GetFileName(), "a.bin");
  EXPECT_EQ(file.GetFilePath(), Path("a.bin"));
  file.Close();
  EXPECT_EQ(file.m_hFile, CFile::hFileNull);
  EXPECT_EQ(Contents("a.bin"), "Jello");
}

TEST_F(FileTest, CreateTruncatesUnlessNoTruncate) {
  {
    CFile file(Path("t.txt"), CFile::modeCreate | CFile::modeWrite);
    file.Write("123456", 6);
  }
  {
    CFile file(Path("t.txt"), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
    file.SeekToEnd();
    file.Write("78", 2);
  }
  EXPECT_EQ(Contents("t.txt"), "12345678");
  { CFile file(Path("t.txt"), CFile::modeCreate | CFile::modeWrite); }
  EXPECT_EQ(Contents("t.txt"), "");
}

TEST_F(FileTest, OpenFailuresReportTheirCause) {
  CFileException error;
  CFile file;
  EXPECT_FALSE(file.Open(Path("missing.txt"), CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(error.m_lOsError, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(error.m_strFileName, Path("missing.txt"));
  EXPECT_NE(error.GetErrorText().Find("missing.txt"), -1);

  EXPECT_FALSE(
      file.Open(Path("no\\such\\folder\\x.txt"), CFile::modeCreate | CFile::modeWrite, &error));
  EXPECT_EQ(error.m_cause, CFileException::badPath);
  EXPECT_FALSE(file.Open("", CFile::modeRead, &error));

  try {
    CFile thrown(Path("missing.txt"), CFile::modeRead);
    FAIL() << "no exception";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    char text[256];
    EXPECT_TRUE(e.GetErrorMessage(text, sizeof text));
    EXPECT_NE(strstr(text, "missing.txt"), nullptr);
  }
}

TEST_F(FileTest, ShareFlagsDecideWhoElseMayOpen) {
  struct Case {
    UINT first;
    UINT second;
    bool secondOpens;
  } cases[] = {
      {CFile::modeRead | CFile::shareDenyNone, CFile::modeReadWrite | CFile::shareDenyNone, true},
      {CFile::modeRead | CFile::shareDenyWrite, CFile::modeRead | CFile::shareDenyNone, true},
      {CFile::modeRead | CFile::shareDenyWrite, CFile::modeWrite | CFile::shareDenyNone, false},
      {CFile::modeRead | CFile::shareExclusive, CFile::modeRead | CFile::shareDenyNone, false},
      {CFile::modeWrite | CFile::shareDenyRead, CFile::modeRead | CFile::shareDenyNone, false},
  };
  { CFile create(Path("s.txt"), CFile::modeCreate | CFile::modeWrite); }
  for (const Case& c : cases) {
    CFile first(Path("s.txt"), c.first);
    CFile second;
    CFileException error;
    EXPECT_EQ(second.Open(Path("s.txt"), c.second, &error) != FALSE, c.secondOpens);
    if (!c.secondOpens) {
      EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    }
  }
}

TEST_F(FileTest, FailedReadsAndWritesThrow) {
  { CFile create(Path("r.txt"), CFile::modeCreate | CFile::modeWrite); }
  CFile readOnly(Path("r.txt"), CFile::modeRead);
  try {
    readOnly.Write("x", 1);
    FAIL() << "no exception";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::accessDenied);
  }
  EXPECT_THROW(readOnly.Seek(-10, CFile::begin), CFileException);
  readOnly.Abort();
  EXPECT_EQ(readOnly.m_hFile, CFile::hFileNull);
}

TEST_F(FileTest, StatusRenameAndRemove) {
  {
    CFile file(Path("st.txt"), CFile::modeCreate | CFile::modeWrite);
    file.Write("12345", 5);
    CFileStatus open;
    ASSERT_TRUE(file.GetStatus(open));
    EXPECT_EQ(open.m_size, 5u);
  }
  CFileStatus status;
  ASSERT_TRUE(CFile::GetStatus(Path("st.txt"), status));
  EXPECT_EQ(status.m_size, 5u);
  EXPECT_EQ(status.m_attribute & CFile::directory, 0);
  EXPECT_LE(llabs(status.m_mtime.GetTime() - CTime::GetCurrentTime().GetTime()), 120);
  EXPECT_STREQ(status.m_szFullName, Path("st.txt"));

  ASSERT_TRUE(CFile::GetStatus(m_folder, status));
  EXPECT_NE(status.m_attribute & CFile::directory, 0);
  EXPECT_FALSE(CFile::GetStatus(Path("none.txt"), status));
  EXPECT_FALSE(CFile::GetStatus(Path("*.txt"), status));

  CFile::Rename(Path("st.txt"), Path("moved.txt"));
  EXPECT_FALSE(CFile::GetStatus(Path("st.txt"), status));
  CFile::Remove(Path("moved.txt"));
  EXPECT_FALSE(CFile::GetStatus(Path("moved.txt"), status));
  EXPECT_THROW(CFile::Remove(Path("moved.txt")), CFileException);
  EXPECT_THROW(CFile::Rename(Path("moved.txt"), Path("x.txt")), CFileException);
}

TEST_F(FileTest, TextFilesTranslateLineEnds) {
  {
    CStdioFile file(Path("lines.txt"), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
    file.WriteString("first\n");
    file.WriteString(CString('L', 1500) + "\n");
    file.WriteString("last without end");
  }
  EXPECT_EQ(Contents("lines.txt").substr(0, 7), "first\r\n");

  CStdioFile file(Path("lines.txt"), CFile::modeRead);
  CString line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, "first");
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line.GetLength(), 1500);
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, "last without end");
  EXPECT_FALSE(file.ReadString(line));
  EXPECT_TRUE(line.IsEmpty());

  file.SeekToBegin();
  char buffer[4];
  ASSERT_NE(file.ReadString(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "fir");
  file.Close();
}

TEST_F(FileTest, BinaryStdioFilesKeepBytes) {
  {
    CStdioFile file(Path("b.bin"), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
    file.Write("a\nb\r\n", 5);
    EXPECT_EQ(file.GetLength(), 5u);
  }
  EXPECT_EQ(Contents("b.bin"), "a\nb\r\n");
  CStdioFile file(Path("b.bin"), CFile::modeRead | CFile::typeBinary);
  file.Seek(2, CFile::begin);
  char buffer[8] = {};
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 3u);
  EXPECT_STREQ(buffer, "b\r\n");
  EXPECT_EQ(file.GetPosition(), 5u);
}
