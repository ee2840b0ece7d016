// The daily due test of the update check, and the replacement of the update program at exit.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/tests/AppTestSupport.h"
#include "app/update/DailyUpdateCheck.h"
#include "app/update/UpdateProgramFile.h"
#include "foundation/os/FileVersion.h"

namespace {

class DailyUpdateCheckTest : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteKeyA(HKEY_CURRENT_USER, dailycheck::kKey);
    dailycheck::ResetDailyCheckFlag();
  }
  static DWORD Stored() {
    DWORD value = 0, size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, dailycheck::kKey, dailycheck::kLastDate, RRF_RT_REG_DWORD,
                 nullptr, &value, &size);
    return value;
  }
};

// Steps of program runs: "restart" starts a new program run (the process flag is forgotten).
TEST_F(DailyUpdateCheckTest, DueOnceADayAndNeverWhenAutomated) {
  struct Step {
    bool restart;
    int today;
    bool automated;
    bool due;
    DWORD stored;
  } steps[] = {
      {false, 9000, false, true, 9000},   // no value yet
      {false, 9000, false, false, 9000},  // second run of the day
      {false, 9001, false, false, 9000},  // same program run, next day: checked already
      {true, 9000, false, false, 9000},   // started again on the same day
      {true, 9001, false, true, 9001},    // next day
      {true, 9005, true, false, 9001},    // automated: no check, nothing stored
      {false, 9005, false, false, 9001},  // and none later in that program run
      {true, 8000, false, true, 8000},    // a clock set back still checks once
  };
  int index = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(index++);
    if (s.restart) dailycheck::ResetDailyCheckFlag();
    EXPECT_EQ(dailycheck::UpdateCheckDue(s.today, s.automated), s.due);
    EXPECT_EQ(Stored(), s.stored);
  }
}

TEST_F(DailyUpdateCheckTest, AnUnreadableValueCountsAsDue) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, dailycheck::kKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, dailycheck::kLastDate, 0, REG_SZ, reinterpret_cast<const BYTE*>("9000"), 5);
  RegCloseKey(key);
  EXPECT_TRUE(dailycheck::UpdateCheckDue(9000, false));
  EXPECT_EQ(Stored(), 9000u);
}

std::string ModuleFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

class UpdateProgramFileTest : public ::testing::Test {
 protected:
  std::string Place(const char* which, const char* name) {
    std::string target = folder.File(name);
    if (*which)
      CopyFileA((ModuleFolder() + "zbtest_updater_" + which + ".dll").c_str(), target.c_str(),
                FALSE);
    return target;
  }
  DWORD Build(const char* name) { return CFileVersion(folder.File(name).c_str()).GetBuild(); }
  CString Folder() { return CString(folder.File("").c_str()); }
  apptest::TempFolder folder;
};

// Builds: the old program is 7.0.1.5, the new one 7.0.2.0 ("" = no such file).
TEST_F(UpdateProgramFileTest, OnlyANewerCopyReplacesTheProgram) {
  struct Case {
    const char* copy;
    const char* installed;
    bool replaced;
    DWORD buildAfter;  // of ZBUpdate.exe, 0 when absent
  } cases[] = {
      {"new", "old", true, 2},  {"new", "", true, 2},    {"old", "new", false, 2},
      {"old", "old", false, 1}, {"", "old", false, 1},   {"new", "new", false, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.copy) + " over " + c.installed);
    DeleteFileA(folder.File("ZBU.exe").c_str());
    DeleteFileA(folder.File("ZBUpdate.exe").c_str());
    Place(c.copy, "ZBU.exe");
    Place(c.installed, "ZBUpdate.exe");
    EXPECT_EQ(ReplaceUpdateProgram(Folder()), c.replaced);
    EXPECT_EQ(Build("ZBUpdate.exe"), c.buildAfter);
    EXPECT_EQ(GetFileAttributesA(folder.File("ZBU.exe").c_str()) != INVALID_FILE_ATTRIBUTES,
              *c.copy != 0);  // the copy itself stays
    EXPECT_EQ(GetFileAttributesA(folder.File("ZBUpdate.exe.new").c_str()),
              INVALID_FILE_ATTRIBUTES);
  }
}

// A copy that cannot be made leaves the installed program as it was.
TEST_F(UpdateProgramFileTest, AFailedCopyLeavesTheOldProgram) {
  Place("new", "ZBU.exe");
  std::string installed = Place("old", "ZBUpdate.exe");
  std::string before = apptest::ReadBytes(installed);
  // The temporary file's name is taken by a folder, so the copy fails.
  ASSERT_TRUE(CreateDirectoryA(folder.File("ZBUpdate.exe.new").c_str(), nullptr));
  EXPECT_FALSE(ReplaceUpdateProgram(Folder()));
  EXPECT_EQ(apptest::ReadBytes(installed), before);
  EXPECT_EQ(Build("ZBUpdate.exe"), 1u);
  RemoveDirectoryA(folder.File("ZBUpdate.exe.new").c_str());
}

}  // namespace
