// The start of the update program, and the update check before a run.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/document/ZubrinDoc.h"
#include "app/run/RunControl.h"
#include "app/tests/AppTestSupport.h"
#include "app/tests/RunTestSupport.h"
#include "app/update/DailyUpdateCheck.h"
#include "app/update/PendingUpdate.h"
#include "app/update/UpdateCheck.h"
#include "app/update/UpdateLauncher.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "foundation/net/Socklet.h"
#include "framework/app/MessageBox.h"
#include "tests/servers/HttpTestServer.h"

namespace {

struct Launch {
  std::string program, arguments;
};
std::vector<Launch> g_launches;
long long g_shellCode = 42;

int QuietBox(HWND, const char*, const char*, unsigned) {
  return IDOK;
}

long long RecordLaunch(const char* program, const char* arguments) {
  g_launches.push_back({program, arguments});
  return g_shellCode;
}

class LaunchViews : public apptest::FakeRunViews {
 public:
  bool ShowUpdateNotice() override {
    ++offers;
    return acceptUpdate;
  }
  bool AskSaveModified() override {
    ++saveQuestions;
    return saveAnswer;
  }
  void ReportUpdateStartFailure(const char* text) override { failures.push_back(text); }

  bool acceptUpdate = true;
  bool saveAnswer = true;
  int offers = 0, saveQuestions = 0;
  std::vector<std::string> failures;
};

TEST(UpdateProgramArguments, DocumentPathIsQuoted) {
  struct Case {
    const char* path;
    const char* arguments;
  } cases[] = {
      {"", "/update /launch"},
      {"C:\\My Sites\\shop.zbp", "/update /launch /file \"C:\\My Sites\\shop.zbp\""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(updatelauncher::UpdateProgramArguments(c.path), c.arguments) << c.path;
}

TEST(UpdateProgramArguments, FailureTexts) {
  struct Case {
    long long code;
    const char* text;
  } cases[] = {
      {0, "The system is out of memory or resources."},
      {2, "The specified file was not found."},
      {3, "The specified path was not found."},
      {11, "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image)."},
      {5, "Unknown error."},
  };
  for (const Case& c : cases) EXPECT_STREQ(updatelauncher::StartFailureText(c.code), c.text);
}

class UpdateLauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_launches.clear();
    g_shellCode = 42;
    updatelauncher::SetShellOpen(&RecordLaunch);
    // The document loads its engines: a small list, and no message box that would wait.
    SetEngineMessageBox(QuietBox);
    apptest::WriteBytes(folder.File("engines.dat"), "[Alpha]\nenabled=1\n");
    SetEngineDataFolder(folder.Path().c_str());
    doc = std::make_unique<CZubrinDoc>();
    ASSERT_TRUE(doc->OnNewDocument());
  }
  void TearDown() override {
    doc.reset();
    CRunControl::SetPendingUpdateCheck(nullptr);
    CRunControl::SetWorkerBody(nullptr);
    CRunControl::SetSleepFunction(nullptr);
    SetEngineDataFolder("");
    SetEngineMessageBox(nullptr);
    updatelauncher::SetShellOpen(nullptr);
  }

  apptest::TempFolder folder;
  std::unique_ptr<CZubrinDoc> doc;
  LaunchViews views;
};

// The modified flag is cleared only once the program runs, so unsaved work stays guarded when
// the start fails or the user cancels the save question.
TEST_F(UpdateLauncherTest, ModifiedFlagClearedOnlyAfterTheProgramStarted) {
  struct Case {
    const char* what;
    bool modified;
    bool saveAnswer;
    long long shellCode;
    bool started;
    int saveQuestions;
    int launches;
    bool modifiedAfter;
    const char* failure;  // null: none
  } cases[] = {
      {"clean document", false, true, 42, true, 0, 1, false, nullptr},
      {"modified, saved", true, true, 42, true, 1, 1, false, nullptr},
      {"modified, cancelled", true, false, 42, false, 1, 0, true, nullptr},
      {"start refused", true, true, 2, false, 1, 1, true, "The specified file was not found."},
      {"out of resources", false, true, 0, false, 0, 1, false,
       "The system is out of memory or resources."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_launches.clear();
    g_shellCode = c.shellCode;
    LaunchViews seen;
    seen.saveAnswer = c.saveAnswer;
    doc->SetModifiedFlag(c.modified);
    EXPECT_EQ(updatelauncher::StartUpdateProgram(*doc, seen), c.started);
    EXPECT_EQ(seen.saveQuestions, c.saveQuestions);
    EXPECT_EQ(static_cast<int>(g_launches.size()), c.launches);
    EXPECT_EQ(doc->IsModified() != FALSE, c.modifiedAfter);
    EXPECT_EQ(seen.closes, c.started ? 1 : 0);
    ASSERT_EQ(seen.failures.size(), c.failure ? 1u : 0u);
    if (c.failure) {
      EXPECT_EQ(seen.failures[0], c.failure);
    }
  }
}

TEST_F(UpdateLauncherTest, StartsTheUpdateProgramBesideTheMainProgram) {
  doc->SetPathName("C:\\sites\\shop.zbp", FALSE);
  ASSERT_TRUE(updatelauncher::StartUpdateProgram(*doc, views));
  ASSERT_EQ(g_launches.size(), 1u);
  std::string program = g_launches[0].program;
  EXPECT_EQ(program.substr(program.find_last_of('\\') + 1), "ZBUpdate.exe");
  EXPECT_EQ(g_launches[0].arguments, "/update /launch /file \"C:\\sites\\shop.zbp\"");
}

bool g_updateAccepted = false;
int g_pendingCalls = 0;
bool FakePendingUpdate(CZubrinDoc&, IUpdateViews&, bool, bool) {
  ++g_pendingCalls;
  return g_updateAccepted;
}
void NoWork(WorkerJob&) {}
void NoPause(unsigned) {}

// Every run command asks the update check first; only without an accepted update does it run.
TEST_F(UpdateLauncherTest, RunCommandsAskTheUpdateCheckFirst) {
  CRunControl::SetPendingUpdateCheck(&FakePendingUpdate);
  CRunControl::SetWorkerBody(&NoWork);
  CRunControl::SetSleepFunction(&NoPause);
  doc->SetRunViews(&views);
  doc->m_currentSet->m_name = "shoes";
  struct Case {
    const char* what;
    CRunControl::Kind kind;
    bool accepted;
  } cases[] = {
      {"check, update accepted", CRunControl::Kind::CheckCurrent, true},
      {"check, no update", CRunControl::Kind::CheckCurrent, false},
      {"submit, update accepted", CRunControl::Kind::SubmitCurrent, true},
  };
  CRunControl& run = doc->GetRunControl();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_updateAccepted = c.accepted;
    g_pendingCalls = 0;
    views.begins = 0;
    EXPECT_EQ(run.Start(c.kind), !c.accepted);
    EXPECT_EQ(g_pendingCalls, 1);
    EXPECT_EQ(views.begins, c.accepted ? 0 : 1);
    for (int i = 0; i < 500 && (run.IsRunning() || !run.WaitForRunThread(0)); ++i) Sleep(10);
    EXPECT_FALSE(run.IsRunning());
  }
}

// Once a day, before the first run: the catalogue server named in the update program's
// profile is asked, and an accepted update starts the update program instead of the run.
class UpdateBeforeRunTest : public UpdateLauncherTest {
 protected:
  void SetUp() override {
    UpdateLauncherTest::SetUp();
    ASSERT_TRUE(SockletStartup());
    ASSERT_TRUE(server.Start());
    Clean();
    std::string host = server.Url("").substr(7);
    if (!host.empty() && host.back() == '/') host.pop_back();
    std::string key = std::string(dailycheck::kKey) + "\\FTP Servers";
    DWORD count = 1;
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Count", REG_DWORD, &count, sizeof count);
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Server0", REG_SZ, host.c_str(),
                    static_cast<DWORD>(host.size() + 1));
    // A file of the program folder with a date far ahead of the installed one.
    server.Route(updatecheck::kCataloguePath,
                 zbtest::HttpResponse::Text("[File List]\r\nCount=1\r\nFile0=app_tests.exe\r\n"
                                            "[app_tests.exe]\r\nDateTime=12/31/2099 00:00:00\r\n"));
  }
  void TearDown() override {
    Clean();
    UpdateLauncherTest::TearDown();
  }
  static void Clean() {
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(dailycheck::kKey) + "\\FTP Servers").c_str());
    RegDeleteKeyValueA(HKEY_CURRENT_USER, dailycheck::kKey, dailycheck::kLastDate);
    dailycheck::ResetDailyCheckFlag();
  }
  zbtest::HttpTestServer server;
};

// Steps of program runs: "restart" starts a new program run, "newDay" forgets the stored day.
TEST_F(UpdateBeforeRunTest, AcceptedUpdateStartsTheUpdateProgramOncePerDay) {
  struct Step {
    const char* what;
    bool restart, newDay, automated, accept;
    bool runBlocked;
    size_t requests;  // catalogue requests so far
    size_t launches;  // update program starts so far
  } steps[] = {
      {"automated: never checked", false, false, true, true, false, 0, 0},
      {"and not later in that run", false, false, false, true, false, 0, 0},
      {"first run of the day, declined", true, false, false, false, false, 1, 0},
      {"later run, same program run", false, false, false, true, false, 1, 0},
      {"started again the same day", true, false, false, true, false, 1, 0},
      {"next day, accepted", true, true, false, true, true, 2, 1},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    if (s.restart) dailycheck::ResetDailyCheckFlag();
    if (s.newDay) RegDeleteKeyValueA(HKEY_CURRENT_USER, dailycheck::kKey, dailycheck::kLastDate);
    views.acceptUpdate = s.accept;
    EXPECT_EQ(pendingupdate::UpdateBeforeRun(*doc, views, s.automated, false), s.runBlocked);
    EXPECT_EQ(server.RequestCount(), s.requests);
    EXPECT_EQ(g_launches.size(), s.launches);
    EXPECT_EQ(views.closes, static_cast<int>(s.launches));
  }
}

// The run commands run the check first: an accepted update means no run at all.
TEST_F(UpdateBeforeRunTest, RunStartsOnlyWithoutAnAcceptedUpdate) {
  CRunControl::SetPendingUpdateCheck(&pendingupdate::UpdateBeforeRun);
  doc->SetRunViews(&views);
  doc->m_currentSet->m_name = "shoes";
  views.acceptUpdate = true;
  EXPECT_FALSE(doc->GetRunControl().Start(CRunControl::Kind::CheckCurrent));
  EXPECT_FALSE(doc->GetRunControl().IsRunning());
  EXPECT_EQ(views.begins, 0);
  EXPECT_EQ(views.offers, 1);
  ASSERT_EQ(g_launches.size(), 1u);
  EXPECT_EQ(g_launches[0].arguments, "/update /launch");
  EXPECT_EQ(views.closes, 1);
}

}  // namespace
