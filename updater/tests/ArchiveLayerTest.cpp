#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "foundation/codec/Crusher.h"
#include "foundation/update/ArqFileTable.h"
#include "foundation/update/ArqFormat.h"
#include "framework/app/AfxResource.h"
#include "resources/resource.h"
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

// ---- the layer as a whole ----

namespace {

struct PromptRecord {
  std::string text, caption;
  unsigned type = 0;
  int answer = IDOK;
};
PromptRecord g_prompt;
int RecordPrompt(const char* text, const char* caption, unsigned type) {
  g_prompt.text = text;
  g_prompt.caption = caption;
  g_prompt.type = type;
  return g_prompt.answer;
}

int g_answer = 0;
int AnswerEvent(int, int64_t, const char*) {
  return g_answer;
}

// Drives that the test describes: one path counts as removable.
class StandInDrive : public ArchiveDrive {
 public:
  bool IsRemovable(const std::string& path) override {
    return path.compare(0, removable.size(), removable) == 0;
  }
  int64_t FreeBytes(const std::string&) override { return free; }
  std::string removable = "<none>";
  int64_t free = -1;
};

int Process(const std::string& archive, int mode, const std::function<void()>& select) {
  int status = OpenArchive(archive.c_str(), mode);
  if (status) return status;
  select();
  status = ProcessArchive();
  int closed = CloseArchive();
  return status ? status : closed;
}

}  // namespace

class ArchiveLayerWholeTest : public ArchiveLayerTest {
 protected:
  void SetUp() override {
    ArchiveLayerTest::SetUp();
    ASSERT_EQ(CrusherArchiveInit(), CRUSHER_OK);
  }
  void TearDown() override {
    ResetArchiveSettings();
    SetArchiveDrive(nullptr);
    SetArchivePrompt(nullptr);
    CrusherArchiveShutdown();
    ArchiveLayerTest::TearDown();
  }
};

// An archive written, added to, thinned, listed, tested member by member through the file
// table, extracted with text conversion, and with an enciphered member that only its password
// opens.
TEST_F(ArchiveLayerWholeTest, WriteAddDeleteListTestExtract) {
  std::string archive = work.File("layer.arq");
  WriteFileText(src.File("unix.txt"),
                std::string("first\nsecond\r\nthird\n") + zbtest::TextLines(30));
  ASSERT_EQ(Process(archive, 0, [&] { SelectAdd(src.File("*.txt").c_str()); }), ARQ_OK);
  EXPECT_EQ(Names(archive), (std::vector<std::string>{"readme.txt", "unix.txt"}));
  ASSERT_EQ(Process(archive, 0,
                    [&] {
                      SelectAdd(src.File("tool.dll").c_str());
                      SelectAdd(src.File("notes.ini").c_str());
                    }),
            ARQ_OK);
  ASSERT_EQ(Process(archive, 0, [] { SelectDelete("readme.*"); }), ARQ_OK);
  // Added members come first, in the order they were selected.
  EXPECT_EQ(Names(archive), (std::vector<std::string>{"tool.dll", "notes.ini", "unix.txt"}));
  EXPECT_EQ(TestArchive(archive.c_str()), ARQ_OK);

  // Member by member through the file table; a flipped data byte is found by its checksum.
  int handle = ArqFileOpen(archive.c_str(), arq::kOpenRead);
  ASSERT_GE(handle, 0);
  ArchiveMemberContext member;
  member.handle = handle;
  std::vector<std::string> tested;
  for (int status = ReadFirstMember(member); status == 0; status = ReadNextMember(member)) {
    EXPECT_EQ(TestMember(member), ARQ_OK) << member.header.name;
    tested.push_back(member.header.name);
  }
  EXPECT_EQ(tested, (std::vector<std::string>{"tool.dll", "notes.ini", "unix.txt"}));
  EXPECT_EQ(TestMember(member), ARQ_END);
  ArqFileClose(handle);
  ArchiveMemberContext closed;
  EXPECT_EQ(ReadFirstMember(closed), ARQ_BAD_FILE);
  EXPECT_EQ(TestMember(closed), ARQ_BAD_FILE);
  std::string bytes = ReadFileText(archive);
  std::string damaged = work.File("damaged.arq");
  WriteFileText(damaged, bytes.substr(0, 60) + static_cast<char>(bytes[60] ^ 1) + bytes.substr(61));
  handle = ArqFileOpen(damaged.c_str(), arq::kOpenRead);
  member = ArchiveMemberContext();
  member.handle = handle;
  ASSERT_EQ(ReadFirstMember(member), ARQ_OK);
  EXPECT_EQ(TestMember(member), ARQ_BAD_CRC);
  ArqFileClose(handle);
  EXPECT_EQ(TestArchive(damaged.c_str()), ARQ_BAD_CRC);

  // Text members get this system's line ends when asked; binary members never change.
  ASSERT_EQ(Extract(archive, out.Path(), ARCHIVE_TEXT), ARQ_OK);
  std::string expected = std::string("first\r\nsecond\r\nthird\r\n") + zbtest::TextLines(30);
  EXPECT_EQ(ReadFileText(out.File("unix.txt")), expected);
  EXPECT_EQ(ReadFileText(out.File("tool.dll")), ReadFileText(src.File("tool.dll")));
  ASSERT_EQ(Extract(archive, out.Path()), ARQ_OK);
  EXPECT_EQ(ReadFileText(out.File("unix.txt")), ReadFileText(src.File("unix.txt")));

  // Added under a password: enciphered, passed over without it, extracted with it.
  EXPECT_EQ(SetArchivePassword(nullptr), ARQ_BAD_ARGUMENT);
  ASSERT_EQ(SetArchivePassword("Open Sesame"), ARQ_OK);
  WriteFileText(src.File("secret.txt"), "the secret\r\n");
  ASSERT_EQ(Process(archive, 0, [&] { SelectAdd(src.File("secret.txt").c_str()); }), ARQ_OK);
  EXPECT_EQ(ReadFileText(archive).find("the secret"), std::string::npos);
  EXPECT_EQ(TestArchive(archive.c_str()), ARQ_OK);
  ResetArchiveSettings();
  EXPECT_EQ(TestArchive(archive.c_str()), ARQ_WRONG_PASSWORD);  // cannot be installed
  g_events.clear();
  SetArchiveCallback(100, reinterpret_cast<void*>(RecordEvent));
  ASSERT_EQ(Extract(archive, out.Path()), ARQ_OK);
  SetArchiveCallback(100, nullptr);
  EXPECT_EQ(ReadFileText(out.File("secret.txt")), "<missing>");
  EXPECT_NE(std::find(g_events.begin(), g_events.end(), ARCHIVE_EVENT_ENCRYPTED), g_events.end());
  SetArchivePassword("open sesame");
  ASSERT_EQ(Extract(archive, out.Path()), ARQ_OK);
  EXPECT_EQ(ReadFileText(out.File("secret.txt")), "<missing>");
  SetArchivePassword("Open Sesame");
  ASSERT_EQ(Extract(archive, out.Path()), ARQ_OK);
  EXPECT_EQ(ReadFileText(out.File("secret.txt")), "the secret\r\n");
  EXPECT_EQ(work.CountFiles(), 2);  // the archive and the damaged copy: no temporary file
}

// Where an archive starts: at 0, behind a program, or nowhere.
TEST_F(ArchiveLayerWholeTest, FindArchiveStart) {
  std::string archive = MakeArchive("readme.txt");
  std::string exe = work.File("setup.exe");
  WriteFileText(exe, std::string(7000, 'P') + ReadFileText(archive));
  WriteFileText(work.File("plain.txt"), "no archive in here");
  EXPECT_EQ(FindArchiveStart(archive.c_str()), 0);
  EXPECT_EQ(FindArchiveStart(exe.c_str()), 7000);
  EXPECT_EQ(FindArchiveStart(work.File("plain.txt").c_str()), ARQ_BAD_HEADER);
  EXPECT_EQ(FindArchiveStart(work.File("missing.bin").c_str()), ARQ_SEARCH_FAILED);
  EXPECT_EQ(FindArchiveStart(""), ARQ_BAD_ARGUMENT);
  EXPECT_EQ(FindArchiveStart(7), ARQ_BAD_ARGUMENT);
  int handle = ArqFileOpen(exe.c_str(), arq::kOpenRead);
  EXPECT_EQ(FindArchiveStart(handle), 7000);
  ArchiveMemberContext member;
  member.handle = handle;
  ASSERT_EQ(ReadFirstMember(member), ARQ_OK);
  EXPECT_EQ(member.header.name, "readme.txt");
  EXPECT_EQ(TestMember(member), ARQ_OK);
  ArqFileClose(handle);
}

// The default answers: message codes let the thread's messages through, the diskette prompts
// ask (Cancel at the numbered one gives up), an application callback answers instead.
TEST_F(ArchiveLayerWholeTest, NotifyArchiveDefaults) {
  SetArchivePrompt(RecordPrompt);
  HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
  ASSERT_NE(language, nullptr);
  HINSTANCE before = AfxGetResourceHandle();
  AfxSetResourceHandle(language);

  static int s_seen;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_USER + 7) ++s_seen;
    return DefWindowProcA(w, m, wp, lp);
  };
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ArchivePumpTest";
  RegisterClassA(&wc);
  HWND window = CreateWindowA("ArchivePumpTest", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
  for (int code : {1, 3, 43, 50}) {
    s_seen = 0;
    PostMessageA(window, WM_USER + 7, 0, 0);
    EXPECT_EQ(NotifyArchive("x", code, 0), 0) << code;
    EXPECT_EQ(s_seen, 1) << code;
  }
  DestroyWindow(window);
  UnregisterClassA("ArchivePumpTest", wc.hInstance);

  g_prompt = PromptRecord();
  EXPECT_EQ(NotifyArchive(nullptr, ARCHIVE_EVENT_NEW_DISKETTE, 0), 0);
  EXPECT_EQ(g_prompt.text, AfxLoadString(IDS_ARCHIVE_NEW_DISKETTE));
  EXPECT_EQ(g_prompt.caption, AfxLoadString(IDS_ARCHIVE_DISKETTE));
  g_prompt = PromptRecord();
  EXPECT_EQ(NotifyArchive(nullptr, ARCHIVE_EVENT_DISKETTE, 3), 0);
  EXPECT_EQ(g_prompt.text, "Please insert diskette number 3");
  EXPECT_EQ(g_prompt.type, static_cast<unsigned>(MB_OKCANCEL | MB_ICONQUESTION));
  g_prompt.answer = IDCANCEL;
  EXPECT_EQ(NotifyArchive(nullptr, ARCHIVE_EVENT_DISKETTE, 2), kArchiveGiveUp);
  g_prompt = PromptRecord();
  EXPECT_EQ(NotifyArchive(nullptr, 77, 0), 0);
  EXPECT_TRUE(g_prompt.text.empty());

  SetArchiveCallback(100, reinterpret_cast<void*>(AnswerEvent));
  g_answer = 5;
  EXPECT_EQ(NotifyArchive(nullptr, ARCHIVE_EVENT_DISKETTE, 1), 5);
  EXPECT_TRUE(g_prompt.text.empty());
  SetArchiveCallback(100, nullptr);
  AfxSetResourceHandle(before);
  FreeLibrary(language);
}

// A folder for temporary archives takes the rewritten copy of an archive on a removable drive;
// archives elsewhere keep theirs beside them.
TEST_F(ArchiveLayerWholeTest, TemporaryFolderForRemovableDrives) {
  zbtest::TempFolder temp, diskette;
  EXPECT_EQ(SetArchiveTempFolder(""), ARQ_BAD_ARGUMENT);
  EXPECT_EQ(SetArchiveTempFolder(nullptr), ARQ_BAD_ARGUMENT);
  EXPECT_EQ(SetArchiveTempFolder(temp.File("no\\such\\folder").c_str()), ARQ_BAD_FILE);
  ASSERT_EQ(SetArchiveTempFolder(temp.Path().c_str()), ARQ_OK);
  EXPECT_EQ(SetArchiveTempFolder(temp.Path().c_str()), ARQ_ALREADY_OPEN);
  EXPECT_EQ(temp.CountFiles(), 0);

  StandInDrive drive;
  drive.removable = diskette.Path();
  SetArchiveDrive(&drive);
  std::string archive = diskette.File("pack.arq");
  ASSERT_EQ(OpenArchive(archive.c_str(), 0), ARQ_OK);
  EXPECT_EQ(temp.CountFiles(), 1);
  EXPECT_EQ(diskette.CountFiles(), 1);  // only the (new) archive itself
  SelectAdd(src.File("notes.ini").c_str());
  EXPECT_EQ(ProcessArchive(), ARQ_OK);
  EXPECT_EQ(CloseArchive(), ARQ_OK);
  EXPECT_EQ(temp.CountFiles(), 0);
  EXPECT_EQ(Names(archive), std::vector<std::string>{"notes.ini"});

  // Too little room on the target drive: the member is not written.
  drive.free = 5;
  EXPECT_EQ(Extract(archive, out.Path()), ARQ_NO_SPACE);
  EXPECT_EQ(ReadFileText(out.File("notes.ini")), "<missing>");
}

// ---- across diskettes ----

namespace {

// The user at the diskette drive: a full diskette is taken out and kept (event 39), a new one
// with the next free bytes goes in; when reading, the diskette asked for goes back in (event
// 40), or the user gives up.
struct DisketteUser {
  StandInDrive* drive = nullptr;
  std::string archive;             // the archive's path on the diskette
  std::vector<std::string> shelf;  // the full diskettes' archives, in order
  std::vector<int64_t> newFree;    // free bytes of each new diskette put in
  std::vector<int64_t> asked39, asked40;
  int giveUpAt = -1;  // diskette number at whose prompt the user gives up
};
DisketteUser* g_user = nullptr;

int DisketteEvent(int code, int64_t number, const char*) {
  DisketteUser& u = *g_user;
  if (code == ARCHIVE_EVENT_NEW_DISKETTE) {
    u.asked39.push_back(number);
    if (number == u.giveUpAt) return kArchiveGiveUp;
    // A diskette found without room is put aside empty, as it came.
    if (GetFileAttributesA(u.archive.c_str()) != INVALID_FILE_ATTRIBUTES)
      u.shelf.push_back(ReadFileText(u.archive));
    DeleteFileA(u.archive.c_str());
    size_t i = u.asked39.size() - 1;
    u.drive->free = i < u.newFree.size() ? u.newFree[i] : 0;
    return 0;
  }
  if (code == ARCHIVE_EVENT_DISKETTE) {
    u.asked40.push_back(number);
    if (number == u.giveUpAt) return kArchiveGiveUp;
    WriteFileText(u.archive, u.shelf[static_cast<size_t>(number - 1)]);
    return 0;
  }
  return 0;
}

void RemoveFilesIn(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      DeleteFileA((folder + found.cFileName).c_str());
  } while (FindNextFileA(h, &found));
  FindClose(h);
}

std::string Noise(size_t n, uint32_t seed) {
  std::string s(n, '\0');
  for (char& c : s) {
    seed = seed * 1664525u + 1013904223u;
    c = static_cast<char>(seed >> 24);
  }
  return s;
}

}  // namespace

class ArchiveSpanningTest : public ArchiveLayerWholeTest {
 protected:
  void SetUp() override {
    ArchiveLayerWholeTest::SetUp();
    drive.removable = diskette.Path();
    SetArchiveDrive(&drive);
    ASSERT_EQ(SetArchiveTempFolder(temp.Path().c_str()), ARQ_OK);
    user.drive = &drive;
    user.archive = diskette.File("pack.arq");
    g_user = &user;
    SetArchiveCallback(100, reinterpret_cast<void*>(DisketteEvent));
    WriteFileText(big.File("first.bin"), Noise(500000, 1));
    WriteFileText(big.File("second.bin"), Noise(300000, 2));
    WriteFileText(big.File("note.txt"), zbtest::TextLines(20));
  }
  void TearDown() override {
    g_user = nullptr;
    ArchiveLayerWholeTest::TearDown();
  }
  // Writes the three files onto diskettes; the last one stays in the drive.
  int WriteOntoDiskettes() {
    int status = Process(user.archive, 0, [&] { SelectAdd(big.File("*").c_str()); });
    if (status == 0) user.shelf.push_back(ReadFileText(user.archive));
    return status;
  }
  StandInDrive drive;
  DisketteUser user;
  zbtest::TempFolder temp, diskette, big;
};

// Written across diskettes: a new one with too little room is asked for again, each full
// diskette ends in a continued part; read back (extracted and tested) by asking for each one.
TEST_F(ArchiveSpanningTest, WrittenAcrossDiskettesAndReadBack) {
  drive.free = 400000;
  user.newFree = {3000, 1457664};  // a full diskette first: asked again
  ASSERT_EQ(WriteOntoDiskettes(), ARQ_OK);
  EXPECT_EQ(user.asked39, (std::vector<int64_t>{2, 2}));
  ASSERT_EQ(user.shelf.size(), 2u);
  EXPECT_LE(user.shelf[0].size(), 400000u);
  EXPECT_EQ(temp.CountFiles(), 0);
  // The first diskette ends in the continued first part of a member, volume 0.
  ArqMemorySource first(user.shelf[0].data(), user.shelf[0].size());
  ArqMemberHeader h;
  ASSERT_EQ(ArqReadHeader(first, h), ARQ_OK);
  EXPECT_EQ(h.name, "first.bin");
  EXPECT_TRUE(h.flags & arq::kFlagContinued);
  EXPECT_EQ(h.volume, 0u);
  ArqMemorySource second(user.shelf[1].data(), user.shelf[1].size());
  ASSERT_EQ(ArqReadHeader(second, h), ARQ_OK);
  EXPECT_EQ(h.name, "first.bin");
  EXPECT_EQ(h.volume, 1u);

  // Extracting from the first diskette asks for the second.
  WriteFileText(user.archive, user.shelf[0]);
  ASSERT_EQ(Extract(user.archive, out.Path(), ARCHIVE_READ_ONLY), ARQ_OK);
  EXPECT_EQ(user.asked40, std::vector<int64_t>{2});
  for (const char* name : {"first.bin", "second.bin", "note.txt"})
    EXPECT_TRUE(ReadFileText(out.File(name)) == ReadFileText(big.File(name))) << name;

  // Tested member by member across the diskettes, and as a whole.
  WriteFileText(user.archive, user.shelf[0]);
  user.asked40.clear();
  int handle = ArqFileOpen(user.archive.c_str(), arq::kOpenRead);
  ArchiveMemberContext member;
  member.handle = handle;
  std::vector<std::string> tested;
  for (int status = ReadFirstMember(member); status == 0; status = ReadNextMember(member)) {
    EXPECT_EQ(TestMember(member), ARQ_OK) << member.header.name;
    tested.push_back(member.header.name);
  }
  ArqFileClose(handle);
  EXPECT_EQ(tested.size(), 3u);
  EXPECT_EQ(user.asked40, std::vector<int64_t>{2});
  WriteFileText(user.archive, user.shelf[0]);
  EXPECT_EQ(TestArchive(user.archive.c_str()), ARQ_OK);
}

// Giving up at a prompt, a diskette that is too small, and nine diskettes without room.
TEST_F(ArchiveSpanningTest, PromptsGivenUpAndDiskettesTooSmall) {
  struct Case {
    const char* what;
    std::vector<int64_t> newFree;
    int giveUpAt;
    int status;
    size_t prompts;
  } cases[] = {
      {"cancel at the new diskette", {}, 2, ARQ_GAVE_UP, 1},
      {"a 100 KB diskette", {100000}, -1, ARQ_DISKETTE_TOO_SMALL, 1},
      {"never more than 4096 bytes free", std::vector<int64_t>(12, 4096), -1, ARQ_GAVE_UP, 9}};
  for (const Case& c : cases) {
    user.shelf.clear();
    user.asked39.clear();
    user.newFree = c.newFree;
    user.giveUpAt = c.giveUpAt;
    drive.free = 400000;
    DeleteFileA(user.archive.c_str());
    EXPECT_EQ(WriteOntoDiskettes(), c.status) << c.what;
    EXPECT_EQ(user.asked39.size(), c.prompts) << c.what;
    // The complete copy stays on the fixed drive.
    EXPECT_EQ(temp.CountFiles(), 1) << c.what;
    RemoveFilesIn(temp.Path());
  }

  // Reading: giving up at the second diskette ends the extraction and the member's test.
  user = DisketteUser();
  user.drive = &drive;
  user.archive = diskette.File("pack.arq");
  drive.free = 400000;
  user.newFree = {1457664};
  ASSERT_EQ(WriteOntoDiskettes(), ARQ_OK);
  user.giveUpAt = 2;
  WriteFileText(user.archive, user.shelf[0]);
  EXPECT_EQ(Extract(user.archive, out.Path(), ARCHIVE_READ_ONLY), ARQ_GAVE_UP);
  EXPECT_EQ(ReadFileText(out.File("first.bin")), "<missing>");
  WriteFileText(user.archive, user.shelf[0]);
  int handle = ArqFileOpen(user.archive.c_str(), arq::kOpenRead);
  ArchiveMemberContext member;
  member.handle = handle;
  ASSERT_EQ(ReadFirstMember(member), ARQ_OK);
  EXPECT_EQ(TestMember(member), kArchiveGiveUp);
  ArqFileClose(handle);
}
