#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

#include "foundation/net/ProxySettings.h"
#include "tests/support/TempFolder.h"
#include "updater/startup/NQCommandLineInfo.h"
#include "updater/startup/UpdateStartup.h"
#include "updater/tests/UpdaterTestFiles.h"
#include "updater/update/UpdateProfile.h"
#include "updater/update/UpdateTexts.h"
#include "updater/update/UpdateWorker.h"

namespace {

using zbtest::ModuleFolder;

using zbtest::ReadFileText;
using zbtest::WriteFileText;

TEST(UpdateCommandLine, SwitchesAndTokens) {
  struct Case {
    const char* line;
    bool update, launch, file, debug;
    const char* document;
    const char* fileName;
    int shell;
  } cases[] = {
      {"/update /launch /file \"C:\\My Sites\\a site.zbp\"", true, true, true, false,
       "C:\\My Sites\\a site.zbp", "", 0},
      {"/update /launch", true, true, false, false, "", "", 0},
      {"/file first second", false, false, true, false, "first", "second", 1},
      {"-DEBUG", false, false, false, true, "", "", 0},
      {"/debug /file,x", false, false, true, true, "x", "", 0},
      {"/FILE 'quoted path' /Update", true, false, true, false, "quoted path", "", 0},
      {"/unregister", false, false, false, false, "", "", 3},
      {"/unknown token", false, false, false, false, "", "token", 1},
      {"", false, false, false, false, "", "", 0},
  };
  for (const Case& c : cases) {
    NQCommandLineInfo info(c.line);
    EXPECT_EQ(info.m_update, c.update) << c.line;
    EXPECT_EQ(info.m_launch, c.launch) << c.line;
    EXPECT_EQ(info.m_file, c.file) << c.line;
    EXPECT_EQ(info.m_debug, c.debug) << c.line;
    EXPECT_EQ(info.m_documentPath, c.document) << c.line;
    EXPECT_EQ(info.m_fileName, c.fileName) << c.line;
    EXPECT_EQ(info.m_shellCommand, c.shell) << c.line;
    EXPECT_EQ(info.m_automated, c.update || c.launch || c.file) << c.line;
    EXPECT_EQ(info.m_showSplash, !(c.update || c.launch || c.file)) << c.line;
  }
  NQCommandLineInfo info("/update /launch /file \"C:\\a b\\x.zbp\"");
  EXPECT_EQ(RelaunchParameters(info.m_documentPath), "\"C:\\a b\\x.zbp\"");
  EXPECT_EQ(RelaunchParameters(""), "\"\"");
  EXPECT_EQ(DebugStartLines(NQCommandLineInfo("/update /file d y")),
            "Update:   1\r\nLaunch:   0\r\nFile:     1\r\nFileName: y\r\n");
}

TEST(UpdateStartup, RelaunchErrorTexts) {
  EXPECT_STREQ(RelaunchErrorText(2), "The specified file was not found.");
  EXPECT_STREQ(RelaunchErrorText(26), "A sharing violation occurred. ");
  EXPECT_STREQ(RelaunchErrorText(32), "The specified dynamic-link library was not found.");
  EXPECT_STREQ(RelaunchErrorText(33), "Unknown Error");
  EXPECT_STREQ(RelaunchErrorText(-1), "Unknown Error");
}

// The setting names a file in the program folder: a plain name only, in lower case.
TEST(UpdateStartup, LanguageModuleNameIsAPlainFileName) {
  struct Case {
    const char* setting;
    const char* name;
  } cases[] = {{"ZBResDEU.dll", "zbresdeu.dll"},     {"", "zbresenu.dll"},
               {"..\\..\\evil.dll", "zbresenu.dll"}, {"C:\\x\\zbresdeu.dll", "zbresenu.dll"},
               {"nul.dll", "zbresenu.dll"},          {"zbresdeu.exe", "zbresenu.dll"},
               {"sub/zbres.dll", "zbresenu.dll"}};
  for (const Case& c : cases) EXPECT_EQ(GetLanguageModuleName(c.setting), c.name) << c.setting;
}

// The wait lasts only while the module is in use, and only up to its limit.
TEST(UpdateStartup, ModuleWaitIsBounded) {
  zbtest::TempFolder folder;
  std::string module = folder.File("zbresenu.dll");
  EXPECT_EQ(WaitForModuleRelease(module, 60000, 10), kModuleMissing);
  WriteFileText(module, "module");
  EXPECT_EQ(WaitForModuleRelease(module, 60000, 10), kModuleReady);

  HANDLE held = CreateFileA(module.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(WaitForModuleRelease(module, 200, 10), kModuleStillInUse);
  std::thread release([held] {
    Sleep(200);
    CloseHandle(held);
  });
  EXPECT_EQ(WaitForModuleRelease(module, 60000, 10), kModuleReady);
  release.join();
}

TEST(UpdateStartup, LanguageModuleFallsBackToEnglish) {
  zbtest::TempFolder folder;
  WriteFileText(folder.File("zbresdeu.dll"), "deu");
  WriteFileText(folder.File("zbresenu.dll"), "enu");
  LanguageModuleChoice chosen = ChooseLanguageModule(folder.Path(), "ZBResDEU.dll", 1000, 10);
  EXPECT_EQ(chosen.path, folder.File("zbresdeu.dll"));
  EXPECT_FALSE(chosen.fellBack);

  HANDLE held = CreateFileA(folder.File("zbresdeu.dll").c_str(), GENERIC_READ, FILE_SHARE_READ,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  chosen = ChooseLanguageModule(folder.Path(), "zbresdeu.dll", 100, 10);
  EXPECT_EQ(chosen.path, folder.File("zbresenu.dll"));
  EXPECT_TRUE(chosen.fellBack);
  CloseHandle(held);

  chosen = ChooseLanguageModule(folder.Path(), "zbresfra.dll", 100, 10);  // not installed
  EXPECT_EQ(chosen.path, folder.File("zbresenu.dll"));
  held = CreateFileA(folder.File("zbresenu.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                     OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(ChooseLanguageModule(folder.Path(), "", 100, 10).path, "");
  CloseHandle(held);
  DeleteFileA(folder.File("zbresenu.dll").c_str());
  EXPECT_EQ(ChooseLanguageModule(folder.Path(), "zbresfra.dll", 100, 10).path, "");
}

// The working copy is always the module's current content, and at exit only it goes.
TEST(UpdateStartup, ModuleCopyIsFreshAndRemovedAlone) {
  zbtest::TempFolder folder;
  std::string temp = folder.Path() + "temp\\";
  WriteFileText(folder.File("zbresenu.dll"), "new module");
  CreateDirectoryA(temp.c_str(), nullptr);
  WriteFileText(temp + "zbresenu.dll", "old copy");
  WriteFileText(temp + "user.txt", "not ours");
  std::string copy = CopyModuleFresh(folder.File("zbresenu.dll"), temp);
  ASSERT_EQ(copy, temp + "zbresenu.dll");
  EXPECT_EQ(ReadFileText(copy), "new module");
  RemoveModuleCopy(copy, temp);
  EXPECT_EQ(ReadFileText(copy), "<missing>");
  EXPECT_EQ(ReadFileText(temp + "user.txt"), "not ours");
  DeleteFileA((temp + "user.txt").c_str());
  copy = CopyModuleFresh(folder.File("zbresenu.dll"), temp);
  RemoveModuleCopy(copy, temp);
  EXPECT_EQ(GetFileAttributesA(temp.c_str()), INVALID_FILE_ATTRIBUTES);
}

// The main program comes back with the document path as its one argument, blanks and all; a
// recorder program stands in for it and writes down what it got.
TEST(UpdateStartup, RelaunchPassesTheDocumentPath) {
  zbtest::TempFolder folder;
  ASSERT_TRUE(CopyFileA((ModuleFolder() + "zbtest_url_recorder.exe").c_str(),
                        folder.File("ZBPro.exe").c_str(), FALSE));
  struct Case {
    std::string document, recorded;
  } cases[] = {{"C:\\My Sites\\a site.zbp", "1\nC:\\My Sites\\a site.zbp\n"}, {"", "1\n\n"}};
  for (const Case& c : cases) {
    std::string out = folder.File("args.txt");
    DeleteFileA(out.c_str());
    SetEnvironmentVariableA("ZB_URL_RECORDER_OUT", out.c_str());
    std::string log;
    EXPECT_GT(RelaunchMainProgram(folder.Path(), c.document, &log), 32);
    EXPECT_EQ(log,
              "App:      " + folder.File("ZBPro.exe") + "\r\nParams:   \"" + c.document + "\"\r\n");
    for (int i = 0; i < 200 && ReadFileText(out) == "<missing>"; ++i) Sleep(100);
    EXPECT_EQ(ReadFileText(out), c.recorded) << c.document;
  }
  SetEnvironmentVariableA("ZB_URL_RECORDER_OUT", nullptr);
  zbtest::TempFolder empty;
  EXPECT_EQ(RelaunchMainProgram(empty.Path(), ""), 2);  // no program there
  // The program's own folder names its files.
  EXPECT_EQ(GetModuleFolder(), ModuleFolder());
  EXPECT_EQ(GetMainProgramPath(), ModuleFolder() + "ZBPro.exe");
  EXPECT_EQ(GetDebugStartLogPath(), ModuleFolder() + "zbu_dbgs.txt");
}

class UpdateProfileTest : public ::testing::Test {
 protected:
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str()); }
  const std::string key =
      "Software\\ZBUpdateTests\\Profile" + std::to_string(GetCurrentProcessId());
};

TEST_F(UpdateProfileTest, ServerListAndSettingsRoundTrip) {
  CRegistryServerStore store(key);
  EXPECT_EQ(store.GetInt("Count", 1), 1);
  EXPECT_EQ(store.GetString("Server0"), "");
  store.SetInt("StartServer", 2);
  store.SetString("Server0", "127.0.0.1:8080");
  EXPECT_EQ(CRegistryServerStore(key).GetInt("StartServer", 0), 2);
  EXPECT_EQ(CRegistryServerStore(key).GetString("Server0"), "127.0.0.1:8080");
  EXPECT_EQ(ReadUpdateTimeout(key), 30);
  DWORD seconds = 7;
  RegSetKeyValueA(HKEY_CURRENT_USER, (key + "\\Properties").c_str(), "Timeout", REG_DWORD, &seconds,
                  sizeof seconds);
  EXPECT_EQ(ReadUpdateTimeout(key), 7);
}

TEST_F(UpdateProfileTest, ProxyFollowsTheMainProgram) {
  UpdateSettings settings;
  EXPECT_FALSE(ReadProxySettings(settings, key));
  std::string props = key + "\\Properties";
  DWORD one = 1, port = 3128;
  RegSetKeyValueA(HKEY_CURRENT_USER, props.c_str(), "UseProxy", REG_DWORD, &one, sizeof one);
  RegSetKeyValueA(HKEY_CURRENT_USER, props.c_str(), "ProxyPort", REG_DWORD, &port, sizeof port);
  RegSetKeyValueA(HKEY_CURRENT_USER, props.c_str(), "ProxyServer", REG_SZ, "127.0.0.1", 10);
  RegSetKeyValueA(HKEY_CURRENT_USER, props.c_str(), "ProxyUser", REG_SZ, "zbuser", 7);
  // "secret" as the main program stores it: each character xor 0x5A.
  std::string stored;
  for (char c : std::string("secret")) stored += static_cast<char>(c ^ 0x5A);
  RegSetKeyValueA(HKEY_CURRENT_USER, props.c_str(), "ProxyPassword", REG_SZ, stored.c_str(),
                  static_cast<DWORD>(stored.size() + 1));
  ASSERT_TRUE(ReadProxySettings(settings, key));
  EXPECT_EQ(settings.proxy.GetPort(), 3128u);
  EXPECT_EQ(settings.proxyUser, "zbuser");
  EXPECT_EQ(settings.proxyPassword, "secret");
  EXPECT_EQ(CProxySettings::Unscramble(std::string("\x7F\x01\x7F\x02", 4)),
            std::string("\x5A\x25", 2));
}

TEST(UpdateTexts, RateTimeLeftAndThousands) {
  struct RateCase {
    uint32_t rate;
    RateUnit unit;
    const char* number;
  } rates[] = {{1023, kRateBytes, "1023 "},
               {1024, kRateKilobytes, "1.00 "},
               {1048576, kRateMegabytes, "1.00 "},
               {0, kRateBytes, "0 "},
               {1536, kRateKilobytes, "1.50 "}};
  for (const RateCase& c : rates) {
    RateText t = FormatRate(c.rate);
    EXPECT_EQ(t.unit, c.unit) << c.rate;
    EXPECT_EQ(t.number, c.number) << c.rate;
  }
  struct TimeCase {
    uint64_t total, done;
    uint32_t rate;
    bool under;
    unsigned hours, minutes;
  } times[] = {{59, 0, 1, true, 0, 0},
               {60, 0, 1, false, 0, 2},
               {7200, 0, 1, false, 2, 1},
               {100, 200, 1, true, 0, 0},  // more came than said
               {1000000, 0, 0, true, 0, 0}};
  for (const TimeCase& c : times) {
    TimeLeft t = ComputeTimeLeft(c.total, c.done, c.rate);
    EXPECT_EQ(t.underAMinute, c.under) << c.total << "/" << c.done;
    EXPECT_EQ(t.hours, c.hours) << c.total;
    EXPECT_EQ(t.minutes, c.minutes) << c.total;
  }
  struct ThousandsCase {
    long n;
    const char* text;
  } numbers[] = {{999, "999"},
                 {1000, "1,000"},
                 {1234567, "1,234,567"},
                 {0, "0"},
                 {123456789, "123,456,789"},
                 {1000000000, ""}};
  for (const ThousandsCase& c : numbers) EXPECT_EQ(FormatThousands(c.n), c.text) << c.n;
}

}  // namespace

// The system's proxy text as both programs read it: blanks around the parts do not count.
TEST(SharedProxyReader, SystemProxyText) {
  struct Case {
    const char* text;
    bool ok;
    const char* host;
    unsigned port;
  } cases[] = {{"127.0.0.1:3128", true, "127.0.0.1", 3128},
               {"  proxy.local:8080  ", true, "proxy.local", 8080},
               {"ftp=f:21; http=web.proxy :3128 ;https=s:443", true, "web.proxy", 3128},
               {"proxy.local", true, "proxy.local", 80},
               {"ftp=f:21", false, "", 0},
               {"host:0", false, "", 0},
               {"   ", false, "", 0}};
  for (const Case& c : cases) {
    std::string host;
    unsigned port = 0;
    EXPECT_EQ(CProxySettings::ParseSystemProxy(c.text, host, port), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(host, c.host) << c.text;
      EXPECT_EQ(port, c.port) << c.text;
    }
  }
}
