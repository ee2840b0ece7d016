#include "engines/query/DebugOptions.h"

#include <gtest/gtest.h>

#include <string>

#include "engines/db/ModuleString.h"

namespace {

class DebugOptionsTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetDebugOptions(); }
};

TEST_F(DebugOptionsTest, OffUntilSet) {
  EXPECT_FALSE(IsDebugOn());
  EXPECT_EQ(GetDumpFolder(), "");
  EXPECT_EQ(GetAlternateEnginesFile(), "");
}

TEST_F(DebugOptionsTest, FolderEndsInOneBackslash) {
  SetDebugOptions("C:\\dumps", "C:\\test\\engines.txt");
  EXPECT_TRUE(IsDebugOn());
  EXPECT_EQ(GetDumpFolder(), "C:\\dumps\\");
  EXPECT_EQ(GetAlternateEnginesFile(), "C:\\test\\engines.txt");

  SetDebugOptions("C:\\other\\", nullptr);  // no file given: the one set stays
  EXPECT_EQ(GetDumpFolder(), "C:\\other\\");
  EXPECT_EQ(GetAlternateEnginesFile(), "C:\\test\\engines.txt");
}

TEST(LoadModuleString, EmptyWithoutModuleOrString) {
  EXPECT_EQ(LoadModuleString(nullptr, 57345), "");
  EXPECT_EQ(LoadModuleString(GetModuleHandleA(nullptr), 57345), "");  // the test has no strings
}

TEST(LoadModuleString, ReadsTheLanguageModule) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.erase(folder.find_last_of("\\/") + 1);
  HMODULE module =
      LoadLibraryExA((folder + "ZBResENU.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) GTEST_SKIP() << "ZBResENU.dll is not built beside the tests";
  EXPECT_EQ(LoadModuleString(module, 57345), "Ready");  // the idle status text
  FreeLibrary(module);
}

}  // namespace
