// The shared version record: read once, kept on failure as zeros, and the decisions taken from
// given version numbers rather than from the machine that runs the test.
#include <gtest/gtest.h>

#include "toolkit/services/OSVersion.h"

namespace {

int g_queries = 0;
DWORD g_major = 0, g_minor = 0, g_platform = 0;
BOOL g_succeed = TRUE;

BOOL WINAPI FakeQuery(LPOSVERSIONINFOA info) {
  ++g_queries;
  if (!g_succeed) {
    info->dwMajorVersion = 99;  // a failing query may leave rubbish behind
    return FALSE;
  }
  info->dwMajorVersion = g_major;
  info->dwMinorVersion = g_minor;
  info->dwPlatformId = g_platform;
  return TRUE;
}

class OSVersionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_queries = 0;
    g_succeed = TRUE;
    tk_test::ResetOSVersionInfo(FakeQuery);
  }
  void TearDown() override { tk_test::ResetOSVersionInfo(nullptr); }
};

OSVERSIONINFOA Version(DWORD platform, DWORD major, DWORD minor) {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  info.dwPlatformId = platform;
  info.dwMajorVersion = major;
  info.dwMinorVersion = minor;
  return info;
}

}  // namespace

TEST_F(OSVersionTest, TheRecordIsReadOnceAndSharedFromThenOn) {
  g_major = 5;
  g_minor = 1;
  g_platform = VER_PLATFORM_WIN32_NT;
  const OSVERSIONINFOA* first = GetOSVersionInfo();
  const OSVERSIONINFOA* second = GetOSVersionInfo();
  EXPECT_EQ(first, second);
  EXPECT_EQ(g_queries, 1);
  EXPECT_EQ(first->dwOSVersionInfoSize, 148u);
  EXPECT_EQ(first->dwMajorVersion, 5u);
  EXPECT_EQ(first->dwMinorVersion, 1u);
}

TEST_F(OSVersionTest, AFailedQueryLeavesZerosAndIsNotRepeated) {
  g_succeed = FALSE;
  const OSVERSIONINFOA* info = GetOSVersionInfo();
  GetOSVersionInfo();
  EXPECT_EQ(g_queries, 1);
  EXPECT_EQ(info->dwOSVersionInfoSize, 148u);
  EXPECT_EQ(info->dwMajorVersion, 0u);
  EXPECT_EQ(info->dwPlatformId, 0u);
}

TEST_F(OSVersionTest, TheMachinesOwnVersionIsRead) {
  tk_test::ResetOSVersionInfo(nullptr);
  const OSVERSIONINFOA* info = GetOSVersionInfo();
  EXPECT_EQ(info->dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_GE(info->dwMajorVersion, 5u);
}

TEST(OSVersionDecisions, ByGivenVersionNumbers) {
  struct Case {
    const char* system;
    DWORD platform, major, minor;
    bool windows95, beforeXP;
  };
  const Case cases[] = {
      // Only 95 (4.0) of the 9x line; 98 is 4.10 and ME 4.90.
      {"95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, true, true},
      {"98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, false, true},
      {"ME", VER_PLATFORM_WIN32_WINDOWS, 4, 90, false, true},
      // NT 4.0 has the same numbers as 95 on the other platform.
      {"NT 4", VER_PLATFORM_WIN32_NT, 4, 0, false, true},
      {"2000", VER_PLATFORM_WIN32_NT, 5, 0, false, true},
      {"XP", VER_PLATFORM_WIN32_NT, 5, 1, false, false},
      {"Vista", VER_PLATFORM_WIN32_NT, 6, 0, false, false},
      {"10", VER_PLATFORM_WIN32_NT, 10, 0, false, false},
      // What a failed query leaves.
      {"unknown", 0, 0, 0, false, true},
  };
  for (const Case& c : cases) {
    OSVERSIONINFOA info = Version(c.platform, c.major, c.minor);
    EXPECT_EQ(TkIsWindows95(info), c.windows95) << c.system;
    EXPECT_EQ(TkIsBeforeWindowsXP(info), c.beforeXP) << c.system;
  }
}
