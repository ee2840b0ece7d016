// Both programs start as GUI programs, take their texts from the language module, end with 0
// when their window is closed, and refuse to start without the language module.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "tests/support/ProcessDriver.h"

namespace {

using zbtest::ProcessDriver;

struct Program {
  const char* exe;
  const char* windowClass;
  const char* title;  // as the English language module has it
};

void PrintTo(const Program& p, std::ostream* os) {
  *os << p.exe;
}

const Program kPrograms[] = {
    {"ZBPro.exe", "ZBProMainFrame", "ZBPro"},
    {"ZBUpdate.exe", "ZBUpdateFrame", "ZBPro Update"},
};

const DWORD kStartTimeout = 30000;  // Wine's first start of a program can be slow

class ProgramTest : public testing::TestWithParam<Program> {};

TEST_P(ProgramTest, ShowsWindowWithModuleTextsAndExitsCleanlyOnClose) {
  const Program& p = GetParam();
  ProcessDriver program;
  ASSERT_TRUE(program.Start(zbtest::BinFolder() + p.exe)) << "cannot start " << p.exe;

  HWND frame = program.WaitForWindow(p.windowClass, kStartTimeout);
  ASSERT_NE(frame, nullptr) << p.exe << " showed no window";
  EXPECT_EQ(zbtest::WindowText(frame), p.title);
  auto texts = zbtest::ChildTexts(frame);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Ready"), texts.end())
      << "no \"Ready\" status text";

  PostMessageA(frame, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.WaitForExit(kStartTimeout)) << p.exe << " did not end after WM_CLOSE";
  EXPECT_EQ(program.ExitCode(), 0u);
}

// A copy of the program in a folder without the language module must say so and fail.
TEST_P(ProgramTest, WithoutLanguageModuleShowsMessageAndFails) {
  const Program& p = GetParam();
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string folder = std::string(temp) + "zbtest-nodll-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string copy = folder + "\\" + p.exe;
  ASSERT_TRUE(CopyFileA((zbtest::BinFolder() + p.exe).c_str(), copy.c_str(), FALSE));

  {
    ProcessDriver program;
    ASSERT_TRUE(program.Start(copy));
    HWND box = program.WaitForWindow("#32770", kStartTimeout);
    ASSERT_NE(box, nullptr) << "no message box about the missing module";
    bool namesModule = false;
    for (const auto& text : zbtest::ChildTexts(box))
      namesModule = namesModule || text.find("ZBResENU.dll") != std::string::npos;
    EXPECT_TRUE(namesModule) << "the message does not name the missing module";

    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(program.WaitForExit(kStartTimeout));
    EXPECT_NE(program.ExitCode(), 0u);
  }
  DeleteFileA(copy.c_str());
  RemoveDirectoryA(folder.c_str());
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramTest, testing::ValuesIn(kPrograms),
                         [](const testing::TestParamInfo<Program>& info) {
                           std::string name = info.param.exe;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
