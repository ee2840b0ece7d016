#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "foundation/codec/Crusher.h"
#include "foundation/os/VersionInfo.h"
#include "tests/servers/UpdateTestServer.h"
#include "tests/support/TempFolder.h"
#include "updater/tests/TunnelTestProxy.h"
#include "updater/tests/UpdaterTestFiles.h"
#include "updater/update/UpdateIds.h"
#include "updater/update/UpdateWorker.h"

namespace {

using zbtest::MapStore;

using zbtest::ModuleFolder;

using zbtest::ReadFileText;
using zbtest::WriteFileText;

// Records what the dialogs would show; hooks let a test cancel at a chosen step.
class FakeUi : public UpdateUi {
 public:
  void PostStatus(int id) override {
    statuses.push_back(id);
    if (onStatus) onStatus(id);
  }
  void SetStatusOnly(int id) override { statuses.push_back(id); }
  void ShowCurrentFile(const std::string& path) override { files.push_back(path); }
  void SetProgress(int percent) override {
    progress.push_back(percent);
    if (onProgress) onProgress(percent);
  }
  void SetTransferRate(uint32_t, uint32_t secondsLeft) override {
    timesLeft.push_back(secondsLeft);
  }
  void ShowHost(const std::string& host) override { hosts.push_back(host); }
  bool ConfirmUpdates(const CFileInfoTable&, const std::vector<std::string>& names) override {
    confirmed = names;
    if (onConfirm) onConfirm();
    return confirm;
  }
  void ShowMessage(int id) override { messages.push_back(id); }
  void StopAnimation() override {}
  void Finish() override { finished = true; }

  std::vector<int> statuses, progress, messages;
  std::vector<uint32_t> timesLeft;
  std::vector<std::string> files, hosts, confirmed;
  bool confirm = true;
  bool finished = false;
  std::function<void(int)> onStatus, onProgress;
  std::function<void()> onConfirm;
};

// A scratch program folder with tool.dll 2.10.300.4000 and a text file, and a local server that
// offers tool.dll 2.10.301.0 and a new readme in two archives.
class UpdateWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFileA((ModuleFolder() + "zbtest_versioned.dll").c_str(),
                          app.File("tool.dll").c_str(), FALSE));
    WriteFileText(app.File("readme.txt"), "old readme\r\n");
    SetOldTime(app.File("readme.txt"));
    newDll = ReadFileText(ModuleFolder() + "zbtest_updated.dll");
    oldDll = ReadFileText(app.File("tool.dll"));
    ASSERT_TRUE(server.Start());
    CrusherInit();
    toolArq = zbtest::ArchiveOf({{"tool.dll", newDll}});
    readmeArq = zbtest::ArchiveOf({{"readme.txt", "new readme\r\n"}});
    CrusherShutdown();
    server.PublishArchive("/zubrin/latest/tool.arq", toolArq);
    server.PublishArchive("/zubrin/latest/readme.arq", readmeArq);
    Publish(Files());
    store.values = {{"Count", "1"}, {"Server0", server.Host()}};
    settings.programFolder = app.Path();
    settings.finalPauseMs = 0;
    settings.timeoutSeconds = 5;
  }

  // The scratch folder removes only its own files: what a test left in the staging folder
  // goes here.
  void TearDown() override { zbtest::RemoveStagingFolders(app.Path()); }

  static void SetOldTime(const std::string& path) {
    SYSTEMTIME s = {2020, 1, 0, 1, 0, 0, 0, 0};
    FILETIME t;
    SystemTimeToFileTime(&s, &t);
    HANDLE f =
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(f, nullptr, nullptr, &t);
    CloseHandle(f);
  }

  // The catalogue gives each archive's exact size unless told otherwise.
  std::vector<zbtest::UpdateFileSpec> Files(long toolSize = 0) {
    if (!toolSize) toolSize = static_cast<long>(toolArq.size());
    return {{"tool.dll", "2.10.301.0", toolSize, "/zubrin/latest/tool.arq", 0, ""},
            {"readme.txt", "0.0.0.0", static_cast<long>(readmeArq.size()),
             "/zubrin/latest/readme.arq", 0, "6/1/2024 10:00:00"},
            {"same.dll", "0.0.0.0", 10, "/zubrin/latest/same.arq", 0, ""},
            {"zbresdeu.dll", "9.0.0.0", 10, "/zubrin/latest/deu.arq", 1, ""}};
  }
  void Publish(const std::vector<zbtest::UpdateFileSpec>& files) {
    server.PublishCatalogue(zbtest::MakeCatalogue(files, {server.Host()}));
  }
  void Run() {
    CUpdateWorker worker(settings, store, ui);
    cancel = [&worker] { worker.Cancel(); };
    worker.Run();
  }
  bool Untouched() {
    return ReadFileText(app.File("tool.dll")) == oldDll &&
           ReadFileText(app.File("readme.txt")) == "old readme\r\n";
  }

  zbtest::TempFolder app;
  zbtest::UpdateTestServer server;
  MapStore store;
  UpdateSettings settings;
  FakeUi ui;
  std::function<void()> cancel;
  std::string oldDll, newDll, toolArq, readmeArq;
};

TEST_F(UpdateWorkerTest, UpdatesOnlyWhatIsNewerAndReportsIt) {
  WriteFileText(app.File("same.dll"), "x");  // no version: compared by date, and it is newer
  Run();
  EXPECT_TRUE(ui.finished);
  EXPECT_EQ(ui.confirmed, (std::vector<std::string>{"tool.dll", "readme.txt"}));
  EXPECT_EQ(ui.messages, std::vector<int>{IDS_UPD_INSTALLED});
  EXPECT_EQ(ReadFileText(app.File("tool.dll")), newDll);
  CVersionInfo v;
  ASSERT_TRUE(v.FromFile(app.File("tool.dll").c_str()));
  EXPECT_EQ(v.GetBuild(), 301);
  EXPECT_EQ(ReadFileText(app.File("readme.txt")), "new readme\r\n");
  EXPECT_EQ(ui.statuses,
            (std::vector<int>{IDS_UPD_FETCHING, IDS_UPD_READING, IDS_UPD_DOWNLOADING,
                              IDS_UPD_TESTING, IDS_UPD_INSTALLING, IDS_UPD_DONE, IDS_UPD_READY}));
  // Nothing is left behind: no catalogue, no archives, no staging folder, no old copies.
  EXPECT_EQ(app.CountFiles(), 3);
  EXPECT_EQ(GetFileAttributesA((app.Path() + "download").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(server.RequestsFor("/zubrin/latest/deu.arq"), 0);
  EXPECT_EQ(server.RequestsFor("/zubrin/latest/same.arq"), 0);
  for (int p : ui.progress) EXPECT_TRUE(p >= 0 && p <= 100) << p;
}

TEST_F(UpdateWorkerTest, NextServerIsTriedWhenTheFirstIsDown) {
  zbtest::UpdateTestServer down;
  ASSERT_TRUE(down.Start());
  std::string deadHost = down.Host();
  down.Stop();
  store.values = {{"Count", "3"},
                  {"StartServer", "0"},
                  {"Server0", deadHost},
                  {"Server1", server.Host()},
                  {"Server2", "127.0.0.1:1"}};
  Run();
  EXPECT_EQ(ui.hosts, (std::vector<std::string>{deadHost, server.Host()}));
  EXPECT_EQ(ui.messages, std::vector<int>{IDS_UPD_INSTALLED});
  // The catalogue's own list replaced the stored one; the start moved past the server used.
  EXPECT_EQ(store.values["Count"], "1");
  EXPECT_EQ(store.values["Server0"], server.Host());
  EXPECT_EQ(store.values["StartServer"], "2");
}

TEST_F(UpdateWorkerTest, NoServerAnswers) {
  store.values = {{"Count", "1"}, {"Server0", "127.0.0.1:1"}};
  Run();
  EXPECT_TRUE(ui.finished);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.statuses, (std::vector<int>{IDS_UPD_FETCHING, IDS_UPD_READY}));
  EXPECT_EQ(app.CountFiles(), 2);
}

// Cancel at any step before the install installs nothing and leaves no archive behind.
TEST_F(UpdateWorkerTest, CancelAtEachStepInstallsNothing) {
  struct Case {
    const char* what;
    int status;  // cancel when this status is posted (0: see below)
    bool inConfirm;
    bool inDownload;
  } cases[] = {{"while reading the catalogue", IDS_UPD_READING, false, false},
               {"in the confirmation", 0, true, false},
               {"during the download", 0, false, true},
               {"when the test starts", IDS_UPD_TESTING, false, false}};
  for (const Case& c : cases) {
    ui = FakeUi();
    ui.onStatus = [&](int id) {
      if (id == c.status) cancel();
    };
    if (c.inConfirm) ui.onConfirm = [&] { cancel(); };
    if (c.inDownload) ui.onProgress = [&](int) { cancel(); };
    server.ClearRequests();
    Run();
    EXPECT_TRUE(ui.finished) << c.what;
    EXPECT_TRUE(Untouched()) << c.what;
    EXPECT_TRUE(ui.messages.empty()) << c.what;
    EXPECT_EQ(ReadFileText(app.File("download\\tool.arq")), "<missing>") << c.what;
    EXPECT_EQ(GetFileAttributesA(app.File("download").c_str()), INVALID_FILE_ATTRIBUTES) << c.what;
    EXPECT_EQ(app.CountFiles(), 2) << c.what;
    if (c.inConfirm) {
      EXPECT_EQ(server.RequestsFor("/zubrin/latest/tool.arq"), 0);
    }
  }
  ui = FakeUi();
  ui.confirm = false;
  server.ClearRequests();
  Run();
  EXPECT_TRUE(Untouched());
  EXPECT_EQ(server.RequestsFor("/zubrin/latest/tool.arq"), 0);
}

// One bad archive keeps every archive from being installed; the archives stay for a retry.
TEST_F(UpdateWorkerTest, DamagedArchiveInstallsNothing) {
  std::string bad = readmeArq;
  bad[bad.size() - 50] ^= 0x11;
  server.PublishArchive("/zubrin/latest/readme.arq", bad);
  Run();
  EXPECT_EQ(ui.messages, std::vector<int>{IDS_UPD_TEST_FAILED});
  EXPECT_TRUE(Untouched());
  EXPECT_EQ(ReadFileText(app.File("download\\tool.arq")), toolArq);
}

// A file that cannot be replaced fails the install, which says so and puts back every file
// it had replaced already.
TEST_F(UpdateWorkerTest, LockedFileFailsTheInstallAndKeepsTheOldFiles) {
  HANDLE locked = CreateFileA(app.File("readme.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  Run();
  CloseHandle(locked);
  EXPECT_EQ(ui.messages, std::vector<int>{IDS_UPD_INSTALL_FAILED});
  EXPECT_TRUE(Untouched());
  EXPECT_EQ(ReadFileText(app.File("download\\readme.arq")), readmeArq);
  EXPECT_EQ(app.CountFiles(), 2);  // no old copies or temporary files left
}

// Downloads that are short, or would be stored under anything but a plain archive name, fail.
TEST_F(UpdateWorkerTest, ShortOrHostileDownloadsFail) {
  struct Case {
    const char* what;
    std::string httpPath;
    bool shortBody;
  } cases[] = {{"short body", "/zubrin/latest/tool.arq", true},
               {"name leaving the folder", "/zubrin/latest/..\\..\\evil.arq", false},
               {"not an archive name", "/zubrin/latest/tool.dll", false},
               {"device name", "/zubrin/latest/nul.arq", false}};
  for (const Case& c : cases) {
    ui = FakeUi();
    if (c.shortBody) {
      server.PublishShortArchive(c.httpPath, toolArq, toolArq.size() / 2);
    } else {
      server.PublishArchive(c.httpPath, toolArq);
    }
    std::vector<zbtest::UpdateFileSpec> files = Files();
    files[0].httpPath = c.httpPath;
    Publish(files);
    Run();
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_UPD_DOWNLOAD_FAILED}) << c.what;
    EXPECT_TRUE(Untouched()) << c.what;
    EXPECT_EQ(ReadFileText(app.File("download\\tool.arq")), "<missing>") << c.what;
    EXPECT_EQ(ReadFileText(app.Path() + "..\\evil.arq"), "<missing>") << c.what;
  }
}

// Wrong sizes in the catalogue never push the bar past 100 % or wrap the time left.
TEST_F(UpdateWorkerTest, ProgressStaysInRangeWhenSizesAreWrong) {
  for (long size : {-5L, 2000000000L}) {
    ui = FakeUi();
    Publish(Files(size));
    CopyFileA((ModuleFolder() + "zbtest_versioned.dll").c_str(), app.File("tool.dll").c_str(),
              FALSE);
    Run();
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_UPD_INSTALLED}) << size;
    for (int p : ui.progress) EXPECT_TRUE(p >= 0 && p <= 100) << size << ": " << p;
    for (uint32_t t : ui.timesLeft) EXPECT_LT(t, 0x80000000u) << size;
  }
}

// A server that sends more than it may: an endless catalogue, an archive past the catalogue's
// size (announced or not). The step fails, the partial file is deleted and nothing stays.
TEST_F(UpdateWorkerTest, DownloadsStopAtTheirSizeBound) {
  struct Case {
    const char* what;
    bool catalogue;
    zbtest::HttpResponse response;
  } cases[] = {
      {"endless catalogue", true,
       zbtest::HttpResponse::Endless("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n"
                                     "[File List]\r\n",
                                     "; a comment line that never ends the catalogue\r\n")},
      {"endless archive", false,
       zbtest::HttpResponse::Endless("HTTP/1.0 200 OK\r\n\r\n", std::string(4096, 'A'))},
      {"archive larger than listed", false,
       zbtest::HttpResponse::Text(toolArq + std::string(100, 'A'), "application/octet-stream")},
  };
  for (Case& c : cases) {
    ui = FakeUi();
    Publish(Files());
    if (c.catalogue)
      server.Route(zbtest::UpdateTestServer::kCataloguePath, c.response);
    else
      server.Route("/zubrin/latest/tool.arq", c.response);
    Run();
    EXPECT_TRUE(ui.finished) << c.what;
    EXPECT_TRUE(Untouched()) << c.what;
    if (c.catalogue)
      EXPECT_TRUE(ui.messages.empty()) << c.what;
    else
      EXPECT_EQ(ui.messages, std::vector<int>{IDS_UPD_DOWNLOAD_FAILED}) << c.what;
    EXPECT_EQ(ReadFileText(app.File("versions.ini")), "<missing>") << c.what;
    EXPECT_EQ(GetFileAttributesA(app.File("download").c_str()), INVALID_FILE_ATTRIBUTES) << c.what;
    EXPECT_EQ(app.CountFiles(), 2) << c.what;
    server.PublishArchive("/zubrin/latest/tool.arq", toolArq);
  }
}

// A cancel while the catalogue comes leaves no part of it behind.
TEST_F(UpdateWorkerTest, CancelDuringTheCatalogueLeavesNoPartOfIt) {
  std::string text = zbtest::MakeCatalogue(Files(), {server.Host()});
  server.PublishStalledArchive(zbtest::UpdateTestServer::kCataloguePath, text, text.size() / 2);
  std::thread canceller([&] {
    server.WaitForRequests(1);
    Sleep(300);
    cancel();
  });
  CUpdateWorker worker(settings, store, ui);
  cancel = [&worker] { worker.Cancel(); };
  worker.Run();
  canceller.join();
  EXPECT_EQ(ui.statuses, (std::vector<int>{IDS_UPD_FETCHING, IDS_UPD_READY}));
  EXPECT_EQ(ReadFileText(app.File("versions.ini")), "<missing>");
  EXPECT_EQ(app.CountFiles(), 2);
}

// Archives kept after a failed run are used again when their size and checksums hold, and
// downloaded anew otherwise; a damaged one is not kept at all.
TEST_F(UpdateWorkerTest, KeptArchivesAreReusedOrReplaced) {
  std::string bad = readmeArq;
  bad[bad.size() - 50] ^= 0x11;
  server.PublishArchive("/zubrin/latest/readme.arq", bad);
  Run();
  ASSERT_EQ(ui.messages, std::vector<int>{IDS_UPD_TEST_FAILED});
  EXPECT_EQ(ReadFileText(app.File("download\\tool.arq")), toolArq);
  EXPECT_EQ(ReadFileText(app.File("download\\readme.arq")), "<missing>");

  // The next run takes the kept tool archive without asking the server for it.
  ui = FakeUi();
  server.PublishArchive("/zubrin/latest/readme.arq", readmeArq);
  server.ClearRequests();
  Run();
  EXPECT_EQ(ui.messages, std::vector<int>{IDS_UPD_INSTALLED});
  EXPECT_EQ(server.RequestsFor("/zubrin/latest/tool.arq"), 0);
  EXPECT_EQ(ReadFileText(app.File("tool.dll")), newDll);
  EXPECT_EQ(GetFileAttributesA(app.File("download").c_str()), INVALID_FILE_ATTRIBUTES);

  // A kept archive that is not the catalogue's (another size) is fetched again.
  CopyFileA((ModuleFolder() + "zbtest_versioned.dll").c_str(), app.File("tool.dll").c_str(), FALSE);
  CreateDirectoryA(app.File("download").c_str(), nullptr);
  WriteFileText(app.File("download\\tool.arq"), toolArq + "x");
  ui = FakeUi();
  server.ClearRequests();
  Run();
  EXPECT_EQ(ui.messages, std::vector<int>{IDS_UPD_INSTALLED});
  EXPECT_EQ(server.RequestsFor("/zubrin/latest/tool.arq"), 1);
  EXPECT_EQ(ReadFileText(app.File("tool.dll")), newDll);
}

// Old copies of replaced files that an earlier run could not delete go at the next start;
// members stored without the write bit are installed writable, so the next update works.
TEST_F(UpdateWorkerTest, LeftoversGoAndInstalledFilesStayWritable) {
  WriteFileText(app.File("OLD00042.$$$"), "an old copy");
  SetFileAttributesA(app.File("OLD00042.$$$").c_str(), FILE_ATTRIBUTE_READONLY);
  CreateDirectoryA(app.File("download").c_str(), nullptr);
  WriteFileText(app.File("download\\DL00007.$$$"), "a partial download");
  CrusherInit();
  struct : ArqSink {
    std::string bytes;
    int Write(const void* d, int n) override {
      bytes.append(static_cast<const char*>(d), n);
      return 0;
    }
  } sink;
  ArqMemberHeader h;
  h.name = "readme.txt";
  h.mode = 0x8124;  // r--r--r--
  std::string text = "read-only readme\r\n";
  ArqWriteMember(sink, h, text.data(), text.size());
  ArqWriteEnd(sink);
  CrusherShutdown();
  readmeArq = sink.bytes;
  server.PublishArchive("/zubrin/latest/readme.arq", readmeArq);
  Publish(Files());
  Run();
  EXPECT_EQ(ui.messages, std::vector<int>{IDS_UPD_INSTALLED});
  EXPECT_EQ(ReadFileText(app.File("readme.txt")), text);
  EXPECT_FALSE(GetFileAttributesA(app.File("readme.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ReadFileText(app.File("OLD00042.$$$")), "<missing>");
  EXPECT_EQ(app.CountFiles(), 2);
  EXPECT_EQ(GetFileAttributesA(app.File("download").c_str()), INVALID_FILE_ATTRIBUTES);
}

// The installed version of the main program goes to the maker's page; other entries do not.
TEST_F(UpdateWorkerTest, InstalledVersionIsReportedForTheMainProgramOnly) {
  server.Route("/version.cgi", zbtest::HttpResponse::Text("thanks"));
  settings.versionReportUrl = "http://" + server.Host() + "/version.cgi";
  CUpdateWorker worker(settings, store, ui);
  CFileInfo main;
  main.m_name = "ZBPro.exe";
  main.m_localVersion.Parse("3.1.4.15");
  CFileInfo other = main;
  other.m_name = "tool.dll";
  EXPECT_FALSE(worker.ReportInstalledVersion(other));
  EXPECT_EQ(server.RequestCount(), 0u);
  EXPECT_TRUE(worker.ReportInstalledVersion(main));
  ASSERT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(server.LastRequest().target,
            "/version.cgi?product_id=3&contact_id=&software_version=3.1.4.15");
  EXPECT_EQ(app.CountFiles(), 2);
}

TEST_F(UpdateWorkerTest, WholeUpdateThroughTheTunnel) {
  zbtest::TunnelTestProxy proxy("zbuser", "secret");
  ASSERT_TRUE(proxy.Start());
  settings.proxy = CInetAddress("127.0.0.1", proxy.Port());
  settings.proxyUser = "zbuser";
  settings.proxyPassword = "secret";
  Run();
  EXPECT_EQ(ui.messages, std::vector<int>{IDS_UPD_INSTALLED});
  EXPECT_EQ(proxy.TunnelCount(), 3);  // the catalogue and two archives
  EXPECT_EQ(ReadFileText(app.File("tool.dll")), newDll);
}

TEST_F(UpdateWorkerTest, DebugLogHoldsEveryDecision) {
  settings.debug = true;
  ui.confirm = false;
  Run();
  std::string log = ReadFileText(app.File("zbu_dbg.txt"));
  EXPECT_NE(log.find("File:   " + app.File("tool.dll") + "\r\n"), std::string::npos);
  EXPECT_NE(log.find("Ver:    2.10.300.4000\r\nFtpVer: "), std::string::npos);
  EXPECT_NE(log.find("FtpVer: 2.10.301.0\r\nUpdate: 1"), std::string::npos);
  // The missing optional file is listed without a decision.
  size_t deu = log.find("zbresdeu.dll");
  ASSERT_NE(deu, std::string::npos);
  EXPECT_EQ(log.find("Update:", deu), std::string::npos);
}

}  // namespace
