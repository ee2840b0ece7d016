// User tools: the tools file's bytes and round trip, damaged and oversized files, text
// replacements, the menu they fill, and starting a tool (a small recorder program of the tests).
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/collections/StringArray.h"
#include "framework/gdi/Menu.h"
#include "toolkit/usertools/WgUserTool.h"

namespace {

std::string TempPath(const char* name) {
  char dir[MAX_PATH];
  ::GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

CWgUserTool* MakeTool(const char* text, const char* command, const char* args = "",
                      const char* dir = "", DWORD wait = 1, DWORD show = SW_SHOWNORMAL) {
  auto* tool = new CWgUserTool;
  tool->m_strMenuText = text;
  tool->m_strCommand = command;
  tool->m_strArguments = args;
  tool->m_strInitialDir = dir;
  tool->m_bWait = wait;
  tool->m_nShowCmd = show;
  return tool;
}

// Owns the tools of a list for the length of a test.
struct ToolList {
  CObArray tools;
  ~ToolList() { CWgUserTool::FreeTools(tools); }
  CWgUserTool* At(INT_PTR i) const { return static_cast<CWgUserTool*>(tools.GetAt(i)); }
};

std::string Le32(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

TEST(UserToolFile, TwoToolsHaveTheClassRecordOnceThenAClassReference) {
  std::string path = TempPath("zb_tools_bytes.dat");
  ToolList list;
  list.tools.Add(MakeTool("Ed", "ed.exe", "%f", "c:\\w", 1, 1));
  list.tools.Add(MakeTool("X", "x", "", "", 0, 3));
  ASSERT_TRUE(CWgUserTool::SaveTools(path.c_str(), list.tools));
  std::string expected = std::string("\x02\x00", 2) + std::string("\xFF\xFF\x01\x00\x0B\x00", 6) +
                         "CWgUserTool" + Le32(1) + "\x02" "Ed" "\x06" "ed.exe" "\x02" "%f" +
                         "\x04" "c:\\w" + Le32(1) + std::string("\x01\x80", 2) + Le32(0) +
                         "\x01" "X" "\x01" "x" + std::string("\x00\x00", 2) + Le32(3);
  EXPECT_EQ(ReadAll(path), expected);
  EXPECT_EQ(::GetFileAttributesA((path + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES)
      << "the temporary file is moved into place";

  ToolList back;
  BOOL damaged = TRUE;
  ASSERT_TRUE(CWgUserTool::LoadTools(path.c_str(), back.tools, &damaged));
  EXPECT_FALSE(damaged);
  ASSERT_EQ(back.tools.GetSize(), 2);
  EXPECT_EQ(CString(back.At(0)->m_strInitialDir), "c:\\w");
  EXPECT_EQ(back.At(1)->m_nShowCmd, 3u);
  EXPECT_EQ(back.At(1)->m_bWait, 0u);
  ::DeleteFileA(path.c_str());
}

TEST(UserToolFile, AMissingDamagedOrForeignFileLoadsWhatItCanAndSaysSo) {
  std::string path = TempPath("zb_tools_damaged.dat");
  ToolList good;
  good.tools.Add(MakeTool("One", "one.exe"));
  good.tools.Add(MakeTool("Two", "two.exe"));
  ASSERT_TRUE(CWgUserTool::SaveTools(path.c_str(), good.tools));
  std::string whole = ReadAll(path);

  struct Case {
    const char* what;
    std::string bytes;
    BOOL grew;
    int count;
    BOOL damaged;
  };
  std::string foreign = whole;
  foreign.replace(foreign.find("CWgUserTool"), 11, "CWgOtherOne");
  std::string schema = whole;
  schema[4] = 2;
  const Case cases[] = {
      {"cut inside the second tool", whole.substr(0, whole.size() - 6), TRUE, 1, TRUE},
      {"cut inside the first tool", whole.substr(0, 30), FALSE, 0, TRUE},
      {"another class", foreign, FALSE, 0, TRUE},
      {"another schema", schema, FALSE, 0, TRUE},
      {"empty file", "", FALSE, 0, TRUE},
      {"no tools", std::string("\0\0", 2), FALSE, 0, FALSE},
  };
  for (const Case& c : cases) {
    WriteAll(path, c.bytes);
    ToolList list;
    BOOL damaged = !c.damaged;
    EXPECT_EQ(CWgUserTool::LoadTools(path.c_str(), list.tools, &damaged), c.grew) << c.what;
    EXPECT_EQ(list.tools.GetSize(), c.count) << c.what;
    EXPECT_EQ(damaged, c.damaged) << c.what;
  }
  ::DeleteFileA(path.c_str());
  ToolList none;
  BOOL damaged = TRUE;
  EXPECT_FALSE(CWgUserTool::LoadTools(path.c_str(), none.tools, &damaged));
  EXPECT_FALSE(damaged) << "a missing file is no damage";
}

TEST(UserToolFile, AListLongerThanTheMenuTakesIsCutAtTheMost) {
  std::string path = TempPath("zb_tools_long.dat");
  ToolList many;
  for (int i = 0; i < CWgUserTool::kMaxTools + 3; ++i)
    many.tools.Add(MakeTool(("T" + std::to_string(i)).c_str(), "t.exe"));
  ASSERT_TRUE(CWgUserTool::SaveTools(path.c_str(), many.tools));
  ToolList list;
  BOOL damaged = FALSE;
  EXPECT_TRUE(CWgUserTool::LoadTools(path.c_str(), list.tools, &damaged));
  EXPECT_EQ(list.tools.GetSize(), CWgUserTool::kMaxTools);
  EXPECT_TRUE(damaged);
  ::DeleteFileA(path.c_str());
}

// The archive gives a back-reference the object it read before: whatever the file repeats, each
// tool is in the list once (FreeTools deletes each once), also one kept aside past the menu's
// count. A file of many MB of such references or one huge text is read in bounded time.
TEST(UserToolFile, ABackReferenceNeverPutsAToolInTheListTwice) {
  std::string path = TempPath("zb_tools_backref.dat");
  ToolList made;
  for (int i = 0; i < CWgUserTool::kMaxTools + 1; ++i)
    made.tools.Add(MakeTool(("T" + std::to_string(i)).c_str(), "t.exe"));
  ASSERT_TRUE(CWgUserTool::SaveTools(path.c_str(), made.tools));
  const std::string many = ReadAll(path);
  auto withCount = [](std::string bytes, WORD count) {
    memcpy(bytes.data(), &count, 2);
    return bytes;
  };
  // Object tags: 1 is the class record, 2 the first tool, kMaxTools + 2 the one past the menu.
  auto ref = [](WORD tag) { return std::string(reinterpret_cast<const char*>(&tag), 2); };
  const WORD kept = static_cast<WORD>(CWgUserTool::kMaxTools + 2);
  const WORD full = static_cast<WORD>(CWgUserTool::kMaxTools + 1);
  const DWORD kRefs = 4u << 20;
  std::string oneTool;
  {
    ToolList one;
    one.tools.Add(MakeTool("One", "one.exe"));
    ASSERT_TRUE(CWgUserTool::SaveTools(path.c_str(), one.tools));
    oneTool = ReadAll(path);
  }
  std::string hugeText = std::string("\x01\x00", 2) + std::string("\xFF\xFF\x01\x00\x0B\x00", 6) +
                         "CWgUserTool" + Le32(1) + "\xFF\xFF\xFF" + Le32(12u << 20) +
                         std::string(12u << 20, 'x') + std::string(3, '\0') + Le32(1);
  struct Case {
    const char* what;
    std::string bytes;
    int count;
  };
  const Case cases[] = {
      {"the first tool again", withCount(oneTool, 2) + ref(2), 1},
      {"a tool kept aside past the menu, again", withCount(many, full + 1) + ref(kept),
       CWgUserTool::kMaxTools},
      {"a tool in the list, after the list is full", withCount(many, full + 1) + ref(2),
       CWgUserTool::kMaxTools},
      {"8 MB of references", std::string("\xFF\xFF", 2) + Le32(kRefs + 1) + oneTool.substr(2) +
                                 [&] {
                                   std::string refs;
                                   for (DWORD i = 0; i < kRefs; ++i) refs += ref(2);
                                   return refs;
                                 }(),
       1},
      {"a menu text of 12 MB", hugeText, 1},
  };
  for (const Case& c : cases) {
    WriteAll(path, c.bytes);
    ToolList list;
    BOOL damaged = FALSE;
    EXPECT_TRUE(CWgUserTool::LoadTools(path.c_str(), list.tools, &damaged)) << c.what;
    EXPECT_EQ(list.tools.GetSize(), c.count) << c.what;
    for (INT_PTR i = 0; i < list.tools.GetSize(); ++i)
      for (INT_PTR j = i + 1; j < list.tools.GetSize(); ++j)
        EXPECT_NE(list.tools.GetAt(i), list.tools.GetAt(j)) << c.what;
  }
  ::DeleteFileA(path.c_str());
}

TEST(UserToolFile, AFailedSaveLeavesTheOldFileAsItWas) {
  std::string path = TempPath("zb_tools_keep.dat");
  ToolList list;
  list.tools.Add(MakeTool("Keep", "keep.exe"));
  ASSERT_TRUE(CWgUserTool::SaveTools(path.c_str(), list.tools));
  std::string before = ReadAll(path);
  // The temporary file's place is taken by a folder: the write fails before the move.
  std::string temp = path + ".tmp";
  ASSERT_TRUE(::CreateDirectoryA(temp.c_str(), nullptr));
  list.tools.Add(MakeTool("More", "more.exe"));
  EXPECT_FALSE(CWgUserTool::SaveTools(path.c_str(), list.tools));
  EXPECT_EQ(ReadAll(path), before);
  ::RemoveDirectoryA(temp.c_str());
  ::DeleteFileA(path.c_str());
}

TEST(ReplaceTextTest, ReplacesEveryOccurrenceLeftToRight) {
  struct Case {
    const char* text;
    const char* find;
    const char* repl;
    UINT flags;
    int result;
    const char* after;
  };
  const Case cases[] = {
      {"x %f %f", "%f", "a.txt", 0, 2, "x a.txt a.txt"},
      {"x %F %f", "%f", "a", 0, 1, "x %F a"},
      {"x %F %f", "%f", "a", TK_REPLACE_NOCASE, 2, "x a a"},
      {"aaa", "aa", "b", 0, 1, "ba"},  // no overlap
      {"ab", "abc", "z", 0, 0, "ab"},  // shorter than the find text
      {"abc", "b", "", 0, 1, "ac"},
      {"abc", "", "z", 0, -1, "abc"},
      {"abc", "b", nullptr, 0, -1, "abc"},
  };
  for (const Case& c : cases) {
    CString s = c.text;
    EXPECT_EQ(ReplaceText(s, c.find, c.repl, c.flags), c.result) << c.text << " / " << c.find;
    EXPECT_EQ(CString(s), c.after) << c.text << " / " << c.find;
  }
}

std::vector<std::string> MenuTexts(HMENU menu) {
  std::vector<std::string> texts;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    char buf[64] = "";
    UINT id = ::GetMenuItemID(menu, i);
    ::GetMenuStringA(menu, i, buf, sizeof buf, MF_BYPOSITION);
    texts.push_back(id == 0 && !*buf ? "-" : std::string(buf) + "=" + std::to_string(id));
  }
  return texts;
}

TEST(UserToolMenu, ToolsReplaceTheEarlierOnesAndTheSeparatorGoesWithTheLast) {
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  ::AppendMenuA(menu, MF_STRING, 100, "Edit tools");
  ToolList list;
  list.tools.Add(MakeTool("A", "a"));
  list.tools.Add(MakeTool("B", "b"));
  EXPECT_TRUE(CWgUserTool::AppendToMenu(&menu, 500, list.tools));
  EXPECT_EQ(MenuTexts(menu), (std::vector<std::string>{"Edit tools=100", "-", "A=500", "B=501"}));
  CWgUserTool::FreeTools(list.tools);
  list.tools.Add(MakeTool("C", "c"));
  EXPECT_TRUE(CWgUserTool::AppendToMenu(&menu, 500, list.tools));
  EXPECT_EQ(MenuTexts(menu), (std::vector<std::string>{"Edit tools=100", "-", "C=500"}));
  CWgUserTool::FreeTools(list.tools);
  EXPECT_TRUE(CWgUserTool::AppendToMenu(&menu, 500, list.tools));
  EXPECT_EQ(MenuTexts(menu), (std::vector<std::string>{"Edit tools=100"}));
  EXPECT_FALSE(CWgUserTool::AppendToMenu(nullptr, 500, list.tools));
  EXPECT_FALSE(CWgUserTool::AppendToMenu(&menu, 0, list.tools));
}

class UserToolRun : public ::testing::Test {
 protected:
  void SetUp() override {
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    m_dir = exe;
    m_dir.resize(m_dir.rfind('\\'));
    m_recorder = m_dir + "\\ZBToolRecorder.exe";
    ASSERT_NE(::GetFileAttributesA(m_recorder.c_str()), INVALID_FILE_ATTRIBUTES);
    m_out = TempPath("zb_tool_record.txt");
    ::DeleteFileA(m_out.c_str());
  }
  std::vector<std::string> Record() {
    std::ifstream in(m_out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::string m_dir, m_recorder, m_out;
};

TEST_F(UserToolRun, AWaitingToolHasEndedWhenExecuteReturnsAndGotItsArguments) {
  char before[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, before);
  CWgUserTool tool;
  tool.m_strCommand = ("\"" + m_recorder + "\"").c_str();
  tool.m_strArguments = "%out% slow %name%";
  CStringArray replace;
  replace.Add(("%out%=" + m_out).c_str());
  replace.Add("%name%=");  // no value: left as it is
  replace.Add("=x");       // no name: skipped
  // A posted message reaches its window while the tool runs.
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, nullptr);
  EXPECT_TRUE(tool.Execute(&replace));
  ::KillTimer(nullptr, timer);
  std::vector<std::string> rec = Record();
  ASSERT_EQ(rec.size(), 2u) << "the tool had not ended";
  EXPECT_NE(rec[1].find(m_out + " slow %name%"), std::string::npos) << rec[1];
  char after[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, after);
  EXPECT_STREQ(after, before) << "an empty initial folder leaves the current one";
  EXPECT_EQ(rec[0], before);
}

TEST_F(UserToolRun, TheToolStartsInItsFolderAndOursComesBack) {
  char before[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, before);
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::string folder = temp;
  if (folder.back() == '\\') folder.pop_back();
  CWgUserTool tool;
  tool.m_strCommand = ("\"" + m_recorder + "\"").c_str();
  tool.m_strArguments = m_out.c_str();
  tool.m_strInitialDir = folder.c_str();
  EXPECT_TRUE(tool.Execute());
  std::vector<std::string> rec = Record();
  ASSERT_EQ(rec.size(), 2u);
  EXPECT_EQ(_stricmp(rec[0].c_str(), folder.c_str()), 0) << rec[0];
  char after[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, after);
  EXPECT_STREQ(after, before);
}

TEST_F(UserToolRun, AProgramThatCannotStartIsAFailure) {
  CWgUserTool tool;
  tool.m_strCommand = (m_dir + "\\no_such_program_here.exe").c_str();
  EXPECT_FALSE(tool.Execute());
}

}  // namespace
