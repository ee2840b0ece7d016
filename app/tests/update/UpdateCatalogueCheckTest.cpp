// The update check against a local catalogue server: what it decides, how it ends when the
// server is slow, and that the window's messages keep flowing while it waits.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/tests/AppTestSupport.h"
#include "app/update/DailyUpdateCheck.h"
#include "app/update/UpdateCheck.h"
#include "foundation/net/Socklet.h"
#include "foundation/update/UpdateCatalog.h"
#include "tests/servers/HttpTestServer.h"

namespace {

std::string TestFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// A catalogue of one file.
std::string Catalogue(const std::string& name, const std::string& version,
                      const std::string& extra = "") {
  return "[File List]\r\nCount=1\r\nFile0=" + name + "\r\n\r\n[" + name +
         "]\r\nVersion=" + version + "\r\nSize=5000\r\nHttpPath=/zubrin/latest/tool.arq\r\n" +
         extra;
}

class NoticeViews : public IUpdateViews {
 public:
  void ShowCheckingNotice(const std::shared_ptr<UpdateCheckBlock>& shown) override {
    block = shown;
    ++noticesShown;
    if (cancelByTimer) {
      s_block = shown.get();
      // Fires only when the waiting thread dispatches its messages.
      timer = SetTimer(nullptr, 0, 100, &CancelFromTimer);
    }
  }
  void CloseCheckingNotice() override {
    ++noticesClosed;
    if (timer) KillTimer(nullptr, timer);
  }
  bool ShowUpdateNotice() override {
    ++offers;
    return accept;
  }
  void PostCloseMainWindow() override {}

  static void CALLBACK CancelFromTimer(HWND, UINT, UINT_PTR, DWORD) {
    s_timerFired = true;
    s_block->cancel = 1;
  }

  bool accept = true;
  bool cancelByTimer = false;
  UINT_PTR timer = 0;
  int noticesShown = 0, noticesClosed = 0, offers = 0;
  std::shared_ptr<UpdateCheckBlock> block;
  static inline UpdateCheckBlock* s_block = nullptr;
  static inline bool s_timerFired = false;
};

class UpdateCatalogueCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SockletStartup());
    ASSERT_TRUE(server.Start());
    // The installed file: a module whose version resource says 7.0.1.5.
    ASSERT_TRUE(CopyFileA((TestFolder() + "zbtest_updater_old.dll").c_str(),
                          folder.File("tool.dll").c_str(), FALSE));
    job.url = server.Url(updatecheck::kCataloguePath);
    job.folder = folder.Path();
  }
  void TearDown() override { updatecheck::SetTimeLimit(updatecheck::kTimeLimit); }

  zbtest::HttpTestServer server;
  apptest::TempFolder folder;
  updatecheck::CheckJob job;
  NoticeViews views;
};

TEST_F(UpdateCatalogueCheckTest, DecidesFromTheServersAnswer) {
  using zbtest::HttpResponse;
  HttpResponse shortBody = HttpResponse::Text(Catalogue("tool.dll", "9.0.0.0"), "text/plain");
  shortBody.truncateAfter = 60;  // the head and a little of the body, then the close
  struct Case {
    const char* what;
    HttpResponse response;
    bool accept;
    bool found;
    int offers;
  } cases[] = {
      {"newer version", HttpResponse::Text(Catalogue("tool.dll", "9.0.0.0")), true, true, 1},
      {"user declines", HttpResponse::Text(Catalogue("tool.dll", "9.0.0.0")), false, false, 1},
      {"same version", HttpResponse::Text(Catalogue("tool.dll", "7.0.1.5")), true, false, 0},
      {"older version", HttpResponse::Text(Catalogue("tool.dll", "7.0.0.9")), true, false, 0},
      {"missing optional file",
       HttpResponse::Text(Catalogue("extra.dll", "9.0.0.0", "IsResource=1\r\n")), true, false, 0},
      {"missing required file", HttpResponse::Text(Catalogue("extra.dll", "9.0.0.0")), true, true,
       1},
      {"date replaces version",
       HttpResponse::Text(Catalogue("tool.dll", "9.0.0.0", "DateTime=1/1/1990 00:00:00\r\n")), true,
       false, 0},
      {"no file list", HttpResponse::Text("[Other]\r\nCount=3\r\n"), true, false, 0},
      {"not a catalogue", HttpResponse::Text("<html>\x01\x02 garbage =\r\n[[[\r\n"), true, false,
       0},
      {"not found", HttpResponse::Text("gone", "text/html", 404), true, false, 0},
      {"server error", HttpResponse::Text(Catalogue("tool.dll", "9.0.0.0"), "text/plain", 500),
       true, false, 0},
      {"body cut short", shortBody, true, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server.Route(updatecheck::kCataloguePath, c.response);
    server.ClearRequests();
    NoticeViews seen;
    seen.accept = c.accept;
    EXPECT_EQ(updatecheck::RunUpdateCheck(seen, job), c.found);
    EXPECT_EQ(seen.offers, c.offers);
    EXPECT_EQ(seen.noticesShown, 1);
    EXPECT_EQ(seen.noticesClosed, 1);
    EXPECT_EQ(GetFileAttributesA(folder.File(updatecheck::kCatalogueFile).c_str()),
              INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(server.LastRequest().Header("User-Agent"), updatecheck::kUserAgent);
  }
}

TEST_F(UpdateCatalogueCheckTest, DebugLogRecordsEachDecision) {
  server.Route(updatecheck::kCataloguePath,
               zbtest::HttpResponse::Text(Catalogue("tool.dll", "9.0.0.0")));
  job.debugLog = folder.File("zbu_dbg.txt");
  EXPECT_TRUE(updatecheck::RunUpdateCheck(views, job));
  std::string log = apptest::ReadBytes(job.debugLog);
  EXPECT_NE(log.find("tool.dll"), std::string::npos) << log;
  EXPECT_NE(log.find("Update: 1"), std::string::npos) << log;
}

// A server that never answers in time: the check gives up (cancelled by the user through the
// notice, or by its time limit) and answers "no update" without waiting for the server.
TEST_F(UpdateCatalogueCheckTest, SlowServerIsCancelled) {
  zbtest::HttpResponse slow = zbtest::HttpResponse::Text(Catalogue("tool.dll", "9.0.0.0"));
  slow.delayMs = 30000;
  server.Route(updatecheck::kCataloguePath, slow);
  struct Case {
    const char* what;
    bool byUser;
    unsigned limit;
  } cases[] = {
      {"the notice's Cancel", true, updatecheck::kTimeLimit},
      {"the time limit", false, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    updatecheck::SetTimeLimit(c.limit);
    NoticeViews::s_timerFired = false;
    NoticeViews seen;
    seen.cancelByTimer = c.byUser;
    EXPECT_FALSE(updatecheck::RunUpdateCheck(seen, job));
    EXPECT_EQ(seen.offers, 0);
    EXPECT_EQ(seen.block->cancel, 1);
    EXPECT_EQ(seen.block->result, 0);
    EXPECT_EQ(NoticeViews::s_timerFired, c.byUser);
    EXPECT_EQ(seen.noticesClosed, 1);
  }
}

class UpdateServerProfileTest : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(dailycheck::kKey) + "\\FTP Servers").c_str());
  }
};

TEST_F(UpdateServerProfileTest, CatalogueComesFromTheProfilesServer) {
  struct Case {
    const char* what;
    int count;  // -1: no list at all
    int start;  // -1: no value
    const char* host;
  } cases[] = {
      {"no list", -1, -1, kDefaultUpdateHost},  {"first server", 2, -1, "127.0.0.1:8001"},
      {"start server", 2, 1, "127.0.0.1:8002"}, {"start outside the list", 2, 7, "127.0.0.1:8001"},
      {"empty list", 0, 0, kDefaultUpdateHost},
  };
  std::string key = std::string(dailycheck::kKey) + "\\FTP Servers";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Clean();
    if (c.count >= 0) {
      DWORD count = static_cast<DWORD>(c.count);
      RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Count", REG_DWORD, &count, sizeof count);
      RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Server0", REG_SZ, "127.0.0.1:8001", 15);
      RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Server1", REG_SZ, "127.0.0.1:8002", 15);
    }
    if (c.start >= 0) {
      DWORD start = static_cast<DWORD>(c.start);
      RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "StartServer", REG_DWORD, &start,
                      sizeof start);
    }
    EXPECT_EQ(updatecheck::CatalogueUrl(),
              std::string("http://") + c.host + updatecheck::kCataloguePath);
  }
}

}  // namespace
