#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/Crusher.h"
#include "foundation/update/ArqFormat.h"
#include "tests/support/TempFolder.h"
#include "updater/archive/ArchiveLayer.h"
#include "updater/tests/UpdaterTestFiles.h"

namespace {

using zbtest::ReadFileText;
using zbtest::WriteFileText;

std::vector<std::string> Names(const std::string& archive) {
  std::vector<std::string> names;
  EXPECT_EQ(ListArchive(archive.c_str(), names), ARQ_OK);
  return names;
}

int Extract(const std::string& archive, const std::string& folder, int mode = 0) {
  int status = OpenArchive(archive.c_str(), mode);
  if (status) return status;
  SelectExtract("*", folder.c_str());
  status = ProcessArchive();
  int closed = CloseArchive();
  return status ? status : closed;
}

class ArchiveLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileText(src.File("readme.txt"), zbtest::TextLines(200));
    WriteFileText(src.File("tool.dll"), std::string(3000, '\0') + "MZ payload");
    WriteFileText(src.File("notes.ini"), "[a]\r\nb=c\r\n");
  }
  void TearDown() override {
    SetArchiveCallback(100, nullptr);
    SetArchiveCallback(101, nullptr);
  }
  std::string MakeArchive(const char* pattern = "*.*") {
    std::string archive = work.File("pack.arq");
    EXPECT_EQ(OpenArchive(archive.c_str(), 0), ARQ_OK);
    EXPECT_EQ(SelectAdd((src.Path() + pattern).c_str()), ARQ_OK);
    EXPECT_EQ(ProcessArchive(), ARQ_OK);
    EXPECT_EQ(CloseArchive(), ARQ_OK);
    return archive;
  }
  zbtest::TempFolder src, work, out;
};

// Add, list, test, extract, delete: what went in comes out, and the working copies go away.
TEST_F(ArchiveLayerTest, AddListTestExtractDelete) {
  std::string archive = MakeArchive();
  EXPECT_EQ(Names(archive), (std::vector<std::string>{"notes.ini", "readme.txt", "tool.dll"}));
  EXPECT_EQ(TestArchive(archive.c_str()), ARQ_OK);
  EXPECT_EQ(work.CountFiles(), 1);  // the temporary copy is gone

  ASSERT_EQ(Extract(archive, out.Path()), ARQ_OK);
  for (const char* name : {"readme.txt", "tool.dll", "notes.ini"})
    EXPECT_EQ(ReadFileText(out.File(name)), ReadFileText(src.File(name))) << name;
  EXPECT_EQ(out.CountFiles(), 3);  // no temporary file left beside them

  ASSERT_EQ(OpenArchive(archive.c_str(), 0), ARQ_OK);
  SelectDelete("TOOL.DLL");
  EXPECT_EQ(ProcessArchive(), ARQ_OK);
  EXPECT_EQ(CloseArchive(), ARQ_OK);
  EXPECT_EQ(Names(archive), (std::vector<std::string>{"notes.ini", "readme.txt"}));
  EXPECT_EQ(TestArchive(archive.c_str()), ARQ_OK);
}

TEST_F(ArchiveLayerTest, AddingAFileAgainReplacesItsMember) {
  std::string archive = MakeArchive();
  WriteFileText(src.File("notes.ini"), "[new]\r\n");
  ASSERT_EQ(OpenArchive(archive.c_str(), 0), ARQ_OK);
  SelectAdd(src.File("notes.ini").c_str());
  EXPECT_EQ(ProcessArchive(), ARQ_OK);
  EXPECT_EQ(CloseArchive(), ARQ_OK);
  EXPECT_EQ(Names(archive), (std::vector<std::string>{"notes.ini", "readme.txt", "tool.dll"}));
  ASSERT_EQ(Extract(archive, out.Path()), ARQ_OK);
  EXPECT_EQ(ReadFileText(out.File("notes.ini")), "[new]\r\n");
}

TEST_F(ArchiveLayerTest, ExtractOnlyLeavesTheArchiveAsItWas) {
  std::string archive = MakeArchive();
  std::string before = ReadFileText(archive);
  ASSERT_EQ(Extract(archive, out.Path()), ARQ_OK);
  EXPECT_EQ(ReadFileText(archive), before);
  EXPECT_EQ(work.CountFiles(), 1);
  ASSERT_EQ(Extract(archive, out.Path(), ARCHIVE_READ_ONLY), ARQ_OK);
}

TEST_F(ArchiveLayerTest, NamesAndAppendedArchives) {
  std::string archive = MakeArchive("readme.txt");
  // A name without extension gets ".arq".
  ASSERT_EQ(OpenArchive(work.File("pack").c_str(), ARCHIVE_READ_ONLY), ARQ_OK);
  EXPECT_EQ(CloseArchive(), ARQ_OK);
  // An archive appended to a program is found behind it, and the program stays in front.
  std::string exe = work.File("setup.exe");
  WriteFileText(exe, std::string(5000, 'P') + ReadFileText(archive));
  ASSERT_EQ(Extract(exe, out.Path()), ARQ_OK);
  EXPECT_EQ(ReadFileText(out.File("readme.txt")), ReadFileText(src.File("readme.txt")));
  ASSERT_EQ(OpenArchive(exe.c_str(), 0), ARQ_OK);
  SelectDelete("*");
  EXPECT_EQ(ProcessArchive(), ARQ_OK);
  EXPECT_EQ(CloseArchive(), ARQ_OK);
  EXPECT_EQ(ReadFileText(exe).substr(0, 5000), std::string(5000, 'P'));
  EXPECT_EQ(OpenArchive(nullptr, 0), ARQ_BAD_ARGUMENT);
  EXPECT_EQ(ProcessArchive(), ARQ_NOT_OPEN);
  EXPECT_EQ(SelectExtract("*", out.Path().c_str()), ARQ_NOT_OPEN);
  EXPECT_EQ(OpenArchive(work.File("missing.arq").c_str(), ARCHIVE_READ_ONLY), ARQ_BAD_FILE);
}

// Member names that would leave the target folder are refused; nothing is written for them
// and processing reports the refusal.
TEST_F(ArchiveLayerTest, HostileMemberNamesWriteNothingOutside) {
  const char* hostile[] = {"..\\escaped.txt",
                           "..\\..\\escaped.txt",
                           "C:\\escaped.txt",
                           "\\escaped.txt",
                           "sub\\..\\..\\escaped.txt",
                           "c:escaped.txt",
                           "nul",
                           "a/../../escaped.txt",
                           "CON.txt"};
  CrusherInit();
  for (const char* name : hostile) {
    std::string archive = work.File("hostile.arq");
    WriteFileText(archive, zbtest::ArchiveWithRawName(name, "evil\r\n"));
    EXPECT_EQ(TestArchive(archive.c_str()), ARQ_UNSAFE_NAME) << name;
    zbtest::TempFolder target;
    std::string inner = target.Path() + "in\\";
    CreateDirectoryA(inner.c_str(), nullptr);
    EXPECT_EQ(Extract(archive, inner, ARCHIVE_KEEP_PATHS), ARQ_UNSAFE_NAME) << name;
    EXPECT_EQ(Extract(archive, inner, 0), ARQ_UNSAFE_NAME) << name;
    EXPECT_EQ(target.CountFiles(), 0) << name;
    EXPECT_EQ(GetFileAttributesA(target.File("escaped.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    RemoveDirectoryA(inner.c_str());
  }
  CrusherShutdown();
}

// A file that cannot be replaced keeps its old content, and the failure is reported.
TEST_F(ArchiveLayerTest, TargetsThatCannotBeReplacedStayAsTheyWere) {
  std::string archive = MakeArchive("readme.txt");
  WriteFileText(out.File("readme.txt"), "old");
  SetFileAttributesA(out.File("readme.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Extract(archive, out.Path()), ARQ_CANNOT_WRITE);
  SetFileAttributesA(out.File("readme.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFileText(out.File("readme.txt")), "old");

  HANDLE locked = CreateFileA(out.File("readme.txt").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Extract(archive, out.Path()), ARQ_CANNOT_WRITE);
  CloseHandle(locked);
  EXPECT_EQ(ReadFileText(out.File("readme.txt")), "old");
  EXPECT_EQ(out.CountFiles(), 1);  // no temporary file left

  ASSERT_EQ(Extract(archive, out.Path()), ARQ_OK);
  EXPECT_EQ(ReadFileText(out.File("readme.txt")), ReadFileText(src.File("readme.txt")));
}

int g_overwriteAnswer = 0;
std::vector<int> g_events;

int AnswerOverwrite(const char*) {
  return g_overwriteAnswer;
}
int RecordEvent(int code, int64_t, const char* text) {
  g_events.push_back(code);
  // Skip the extraction of notes.ini when asked before it.
  return code == ARCHIVE_EVENT_EXTRACT && std::string(text).find("notes.ini") != std::string::npos;
}

// The application decides about existing targets and may skip members before extraction.
TEST_F(ArchiveLayerTest, CallbacksDecideOverwritesAndSkips) {
  std::string archive = MakeArchive();
  WriteFileText(out.File("readme.txt"), "mine");
  ASSERT_EQ(SetArchiveCallback(101, reinterpret_cast<void*>(AnswerOverwrite)), ARQ_OK);
  ASSERT_EQ(SetArchiveCallback(100, reinterpret_cast<void*>(RecordEvent)), ARQ_OK);
  g_overwriteAnswer = 0;
  g_events.clear();
  ASSERT_EQ(Extract(archive, out.Path()), ARQ_OK);
  EXPECT_EQ(ReadFileText(out.File("readme.txt")), "mine");
  EXPECT_EQ(ReadFileText(out.File("notes.ini")), "<missing>");
  EXPECT_EQ(ReadFileText(out.File("tool.dll")), ReadFileText(src.File("tool.dll")));
  EXPECT_EQ(g_events.front(), ARCHIVE_EVENT_OPENED);
  EXPECT_EQ(g_events.back(), ARCHIVE_EVENT_CLOSED);
  g_overwriteAnswer = 1;
  ASSERT_EQ(Extract(archive, out.Path()), ARQ_OK);
  EXPECT_EQ(ReadFileText(out.File("readme.txt")), ReadFileText(src.File("readme.txt")));
}

TEST_F(ArchiveLayerTest, TooLongTargetIsRefusedNotCut) {
  std::string archive = MakeArchive("readme.txt");
  std::string deep = out.Path() + std::string(240, 'd') + "\\";
  EXPECT_EQ(Extract(archive, deep), ARQ_PATH_TOO_LONG);
  EXPECT_EQ(out.CountFiles(), 0);
}

// A damaged member is never written; an archive whose rewrite fails is never replaced.
TEST_F(ArchiveLayerTest, DamagedArchivesWriteNothingAndStayUnchanged) {
  std::string archive = MakeArchive("readme.txt");
  std::string bytes = ReadFileText(archive);
  bytes[bytes.size() - 60] ^= 0x40;  // inside the member's data
  WriteFileText(archive, bytes);
  EXPECT_EQ(TestArchive(archive.c_str()), ARQ_BAD_CRC);
  EXPECT_EQ(Extract(archive, out.Path()), ARQ_BAD_CRC);
  EXPECT_EQ(out.CountFiles(), 0);

  archive = MakeArchive();
  std::string cut = ReadFileText(archive);
  cut.resize(cut.size() - 20);  // the end marker is cut short
  WriteFileText(archive, cut);
  ASSERT_EQ(OpenArchive(archive.c_str(), 0), ARQ_OK);
  SelectDelete("notes.ini");
  EXPECT_EQ(ProcessArchive(), ARQ_BAD_HEADER);
  EXPECT_EQ(CloseArchive(), ARQ_OK);
  EXPECT_EQ(ReadFileText(archive), cut);
  EXPECT_EQ(work.CountFiles(), 1);
}

TEST(ArchiveNames, TemporaryNamesAndExtensions) {
  zbtest::TempFolder folder;
  std::string first = MakeTempName(folder.Path(), "");
  std::string stem = first.substr(folder.Path().size());
  EXPECT_EQ(stem.size(), std::string("CX00001.$$$").size());
  EXPECT_EQ(stem.substr(0, 2), "CX");
  EXPECT_EQ(stem.substr(7), ".$$$");
  std::string cut = MakeTempName(folder.Path().substr(0, folder.Path().size() - 1), "ABCDEF");
  EXPECT_EQ(cut.substr(folder.Path().size(), 3), "ABC");
  EXPECT_TRUE(IsArchiveName("a.arq"));
  EXPECT_FALSE(IsArchiveName("dir.d\\a"));
  EXPECT_EQ(SetArchiveCallback(99, nullptr), ARQ_BAD_ARGUMENT);
}

}  // namespace
