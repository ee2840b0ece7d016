// The update dialog on the screen: whole updates against the local update server into a scratch
// program folder, with the test in the user's place (confirming, declining, cancelling and
// answering the message boxes), and the main program started again afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "foundation/Crusher.h"
#include "framework/AfxResource.h"
#include "resources/resource.h"
#include "tests/servers/UpdateTestServer.h"
#include "tests/support/TempFolder.h"
#include "updater/app/UpdateSession.h"
#include "updater/dialogs/ZBUpdateDlg.h"
#include "updater/startup/NQCommandLineInfo.h"
#include "updater/tests/UpdaterTestFiles.h"

namespace {

using zbtest::MapStore;

using zbtest::ModuleFolder;

using zbtest::ReadFileText;
using zbtest::WriteFileText;

std::string Text(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ChildTexts(HWND window) {
  std::string all;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM p) {
        *reinterpret_cast<std::string*>(p) += Text(child) + "\n";
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

std::vector<HWND> OurDialogs() {
  std::vector<HWND> found;
  EnumWindows(
      [](HWND w, LPARAM p) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        char cls[32] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (pid == GetCurrentProcessId() && IsWindowVisible(w) && std::string(cls) == "#32770")
          reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string ListText(HWND list, int row, int column) {
  char text[256] = {};
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

// What the user does when the confirmation list shows.
enum Answer { kInstall, kDecline, kCancelThenInstall };

// Plays the user on a thread of its own while the test's thread runs the dialogs: answers the
// confirmation list and every message box, and notes what the windows showed.
class User {
 public:
  explicit User(Answer answer) : m_answer(answer), m_thread([this] { Loop(); }) {}
  ~User() { Stop(); }
  // Call before reading what was noted.
  void Stop() {
    m_done = true;
    if (m_thread.joinable()) m_thread.join();
  }

  std::vector<std::string> rows;  // "description|file|size" per row of the confirmation list
  std::string total, statusAtConfirm, hostAtConfirm;
  std::vector<std::string> messages;  // the text of every message box

 private:
  void Loop() {
    while (!m_done) {
      for (HWND w : OurDialogs()) Handle(w);
      Sleep(20);
    }
  }

  void Handle(HWND w) {
    if (GetDlgItem(w, IDC_UPDATE_PROGRESS)) {
      m_updateDialog = w;
      return;
    }
    if (!m_handled.insert(w).second) return;
    if (HWND list = GetDlgItem(w, IDC_CONFIRM_LIST)) {
      Confirm(w, list);
      return;
    }
    messages.push_back(ChildTexts(w));
    PostMessageA(w, WM_COMMAND, IDOK, 0);
  }

  void Confirm(HWND w, HWND list) {
    int n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
      rows.push_back(ListText(list, i, 0) + "|" + ListText(list, i, 1) + "|" + ListText(list, i, 2));
    total = Text(GetDlgItem(w, IDC_CONFIRM_TOTAL));
    if (m_updateDialog) {
      statusAtConfirm = Text(GetDlgItem(m_updateDialog, IDC_UPDATE_STATUS));
      hostAtConfirm = Text(GetDlgItem(m_updateDialog, IDC_UPDATE_HOST));
    }
    if (m_answer == kCancelThenInstall && m_updateDialog) {
      // Cancel is answered on the dialog's own thread: wait for it before going on.
      SendMessageA(m_updateDialog, WM_COMMAND, IDCANCEL, 0);
    }
    PostMessageA(w, WM_COMMAND, m_answer == kDecline ? IDCANCEL : IDOK, 0);
  }

  Answer m_answer;
  std::atomic<bool> m_done{false};
  HWND m_updateDialog = nullptr;
  std::set<HWND> m_handled;
  std::thread m_thread;
};

class UpdateDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_ANIMATE_CLASS};
    InitCommonControlsEx(&controls);
    s_language = AfxLoadResourceModule("ZBResENU.dll");
    AfxSetResourceHandle(s_language);
  }
  static void TearDownTestSuite() {
    AfxSetResourceHandle(nullptr);
    FreeLibrary(s_language);
  }

  void SetUp() override {
    ASSERT_NE(s_language, nullptr);
    ASSERT_TRUE(CopyFileA((ModuleFolder() + "zbtest_versioned.dll").c_str(),
                          app.File("tool.dll").c_str(), FALSE));
    oldDll = ReadFileText(app.File("tool.dll"));
    newDll = ReadFileText(ModuleFolder() + "zbtest_updated.dll");
    WriteFileText(app.File("readme.txt"), "old readme\r\n");
    SYSTEMTIME s = {2020, 1, 0, 1, 0, 0, 0, 0};
    FILETIME t;
    SystemTimeToFileTime(&s, &t);
    HANDLE f = CreateFileA(app.File("readme.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    SetFileTime(f, nullptr, nullptr, &t);
    CloseHandle(f);

    ASSERT_TRUE(server.Start());
    CrusherInit();
    server.PublishArchive("/zubrin/latest/tool.arq", zbtest::ArchiveOf({{"tool.dll", newDll}}));
    server.PublishArchive("/zubrin/latest/readme.arq", zbtest::ArchiveOf({{"readme.txt", "new readme\r\n"}}));
    CrusherShutdown();
    server.PublishCatalogue(zbtest::MakeCatalogue(
        {{"tool.dll", "2.10.301.0", 1234567, "/zubrin/latest/tool.arq", 0, ""},
         {"readme.txt", "0.0.0.0", 30, "/zubrin/latest/readme.arq", 0, "6/1/2024 10:00:00"}},
        {server.Host()}));
    store.values = {{"Count", "1"}, {"Server0", server.Host()}};
    settings.programFolder = app.Path();
    settings.finalPauseMs = 0;
    settings.timeoutSeconds = 5;
  }

  void TearDown() override {
    for (const char* folder : {"download\\files\\", "download\\"}) {
      std::string path = app.Path() + folder;
      WIN32_FIND_DATAA found;
      HANDLE h = FindFirstFileA((path + "*").c_str(), &found);
      if (h != INVALID_HANDLE_VALUE) {
        do {
          if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((path + found.cFileName).c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
      }
      RemoveDirectoryA(path.c_str());
    }
  }

  // Runs the program's session with the command line; the relaunch is recorded.
  UpdateSessionResult Run(const char* commandLine) {
    NQCommandLineInfo command(commandLine);
    return RunUpdateSession(settings, store, command,
                            [this](const std::string& folder, const std::string& document) {
                              relaunchFolder = folder;
                              relaunchDocument = document;
                              return 42L;
                            });
  }

  static bool Mentions(const std::vector<std::string>& messages, UINT id) {
    std::string text = AfxLoadString(id);
    for (const auto& m : messages)
      if (m.find(text) != std::string::npos) return true;
    return false;
  }

  static HINSTANCE s_language;
  zbtest::TempFolder app;
  zbtest::UpdateTestServer server;
  MapStore store;
  UpdateSettings settings;
  std::string oldDll, newDll;
  std::string relaunchFolder, relaunchDocument = "<none>";
};
HINSTANCE UpdateDialogTest::s_language = nullptr;

// Off until an intermittent hang is found: in about half the runs under Wine a thread of the
// process waits forever on the process heap's lock held by another thread, so the whole test
// program (and every test that shares the socket layer's named mutex) stops.
TEST_F(UpdateDialogTest, DISABLED_ConfirmedUpdateInstallsAndStartsTheMainProgramWithTheDocument) {
  UpdateSessionResult result;
  {
    User user(kInstall);
    result = Run("/update /launch /file \"C:\\my sites\\shop.zbp\"");
    user.Stop();
    EXPECT_EQ(user.statusAtConfirm, AfxLoadString(IDS_UPDATE_READING));
    EXPECT_EQ(user.hostAtConfirm, server.Host());
    EXPECT_EQ(user.rows, (std::vector<std::string>{"The file tool.dll|tool.dll|1,234,567",
                                                   "The file readme.txt|readme.txt|30"}));
    EXPECT_EQ(user.total, "1,234,597 " + AfxLoadString(IDS_UPDATE_BYTES_TOTAL));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_TRUE(Mentions(user.messages, IDS_UPDATE_INSTALLED)) << user.messages[0];
  }
  EXPECT_EQ(ReadFileText(app.File("tool.dll")), newDll);
  EXPECT_EQ(ReadFileText(app.File("readme.txt")), "new readme\r\n");
  EXPECT_EQ(app.CountFiles(), 2);  // no catalogue, archive or temporary file left
  EXPECT_TRUE(result.relaunched);
  EXPECT_EQ(relaunchFolder, app.Path());
  EXPECT_EQ(relaunchDocument, "C:\\my sites\\shop.zbp");
}

TEST(UpdateDialogLines, RateAndTimeLeftInTheModuleUnits) {
  HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
  ASSERT_NE(language, nullptr);
  AfxSetResourceHandle(language);
  struct RateCase {
    uint32_t rate;
    std::string line;
  };
  for (const RateCase& c : {RateCase{0, "0 bytes/s"}, RateCase{1023, "1023 bytes/s"},
                            RateCase{1024, "1.00 KB/s"}, RateCase{1048575, "1024.00 KB/s"},
                            RateCase{1048576, "1.00 MB/s"}})
    EXPECT_EQ(CZBUpdateDlg::RateLine(c.rate), c.line) << c.rate;
  struct TimeCase {
    uint32_t seconds;
    std::string line;
  };
  for (const TimeCase& c :
       {TimeCase{0, "Less than a minute left"}, TimeCase{59, "Less than a minute left"},
        TimeCase{60, "About 0 h 2 min left"}, TimeCase{3599, "About 0 h 60 min left"},
        TimeCase{7260, "About 2 h 2 min left"}})
    EXPECT_EQ(CZBUpdateDlg::TimeLeftLine(c.seconds), c.line) << c.seconds;
  AfxSetResourceHandle(nullptr);
  FreeLibrary(language);
}

}  // namespace
