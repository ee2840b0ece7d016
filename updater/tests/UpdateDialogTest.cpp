// The update dialog on the screen: whole updates against the local update server into a scratch
// program folder, with the test in the user's place (confirming, declining, cancelling and
// answering the message boxes), and the main program started again afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "foundation/codec/Crusher.h"
#include "framework/app/AfxResource.h"
#include "resources/resource.h"
#include "tests/servers/UpdateTestServer.h"
#include "tests/support/TempFolder.h"
#include "updater/app/UpdateSession.h"
#include "updater/dialogs/ZBUpdateDlg.h"
#include "updater/startup/NQCommandLineInfo.h"
#include "updater/startup/UpdateStartup.h"
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

// The windows are driven by other threads and processes, so a check waits for the state it
// reads instead of a fixed time: it polls until the condition holds, for at most kSettleMs.
// False when it still does not hold then.
const DWORD kSettleMs = 20000;
const DWORD kPollMs = 20;

bool WaitUntil(const std::function<bool()>& settled, DWORD limitMs = kSettleMs) {
  ULONGLONG start = GetTickCount64();
  while (!settled()) {
    if (GetTickCount64() - start >= limitMs) return false;
    Sleep(kPollMs);
  }
  return true;
}

// The message boxes' text control, the same on every system.
const int kMessageBoxText = 0xFFFF;

// Each window is known by a control only it has. The two dialogs' unnamed labels share their
// id with a message box's text, so a message box is what is neither of them.
bool IsUpdateDialog(HWND w) {
  return GetDlgItem(w, IDC_UPDATE_PROGRESS) != nullptr;
}
bool IsConfirmation(HWND w) {
  return GetDlgItem(w, IDC_CONFIRM_LIST) != nullptr;
}
bool IsMessageBox(HWND w) {
  return GetDlgItem(w, kMessageBoxText) && !IsUpdateDialog(w) && !IsConfirmation(w);
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
// confirmation list and every message box, presses Cancel when the status line shows a chosen
// step, and notes what the windows showed. A state it waited for in vain is noted in problems.
class User {
 public:
  // cancelWhen, when given, must hold as well before Cancel is pressed at the chosen step.
  explicit User(Answer answer, UINT cancelAtStatus = 0, std::function<bool()> cancelWhen = {})
      : m_answer(answer),
        m_cancelAt(cancelAtStatus ? AfxLoadString(cancelAtStatus) : std::string()),
        m_cancelWhen(std::move(cancelWhen)),
        m_reading(AfxLoadString(IDS_UPDATE_READING)),
        m_thread([this] { Loop(); }) {}
  ~User() { Stop(); }
  // Call before reading what was noted.
  void Stop() {
    m_done = true;
    if (m_thread.joinable()) m_thread.join();
  }

  std::vector<std::string> rows;  // "description|file|size" per row of the confirmation list
  std::string total, statusAtConfirm, hostAtConfirm;
  HICON iconAtConfirm = nullptr;
  bool confirmed = false, cancelled = false;
  std::vector<std::string> messages;  // the text of every message box
  // The box a double-click on the first row shows (kInstall only): its text and caption.
  std::string versionBox, versionCaption;
  std::vector<std::string> problems;

 private:
  void Loop() {
    while (!m_done) {
      // The update dialog is looked for in the whole pass first: the worker may show the
      // confirmation list before the update dialog is on the screen, and the window shown last
      // comes first in the list.
      std::vector<HWND> dialogs = OurDialogs();
      for (HWND w : dialogs)
        if (IsUpdateDialog(w)) m_updateDialog = w;
      if (m_updateDialog) CancelAtStep();
      for (HWND w : dialogs)
        if (!IsUpdateDialog(w)) Handle(w);
      Sleep(kPollMs);
    }
  }

  void Handle(HWND w) {
    if (m_handled.count(w)) return;
    if (IsConfirmation(w)) {
      m_handled.insert(w);
      Confirm(w, GetDlgItem(w, IDC_CONFIRM_LIST));
    } else if (IsMessageBox(w)) {
      // A box is taken once, and only when it is whole: a box still being built has no text.
      std::string text = Text(GetDlgItem(w, kMessageBoxText));
      if (text.empty()) return;
      m_handled.insert(w);
      if (m_versionsOf) {
        versionBox = text;
        versionCaption = Text(w);
      } else {
        messages.push_back(text);
      }
      PostMessageA(w, WM_COMMAND, IDOK, 0);
      // The confirmation is answered once the versions box is closed.
      if (m_versionsOf) PostMessageA(m_versionsOf, WM_COMMAND, IDOK, 0);
      m_versionsOf = nullptr;
    }
  }

  void CancelAtStep() {
    if (cancelled || m_cancelAt.empty()) return;
    if (Text(GetDlgItem(m_updateDialog, IDC_UPDATE_STATUS)) != m_cancelAt) return;
    if (m_cancelWhen && !m_cancelWhen()) return;
    cancelled = true;
    SendMessageA(m_updateDialog, WM_COMMAND, IDCANCEL, 0);
  }

  // The update dialog once it is on the screen (null until then).
  HWND FindUpdateDialog() {
    for (HWND w : OurDialogs())
      if (IsUpdateDialog(w)) m_updateDialog = w;
    return m_updateDialog;
  }

  // What the update dialog shows while the list is open. The worker posted its last status
  // before it asked and waits for the answer, so the status line settles on it; the server's
  // name was posted before that status and has been shown by then.
  void NoteUpdateDialog() {
    if (!WaitUntil([this] { return FindUpdateDialog() != nullptr; })) {
      problems.push_back("the update dialog did not show while the confirmation list was open");
      return;
    }
    HWND status = GetDlgItem(m_updateDialog, IDC_UPDATE_STATUS);
    if (!WaitUntil([&] { return Text(status) == m_reading; }))
      problems.push_back("the status line did not come to \"" + m_reading +
                         "\" while the confirmation list was open");
    statusAtConfirm = Text(status);
    hostAtConfirm = Text(GetDlgItem(m_updateDialog, IDC_UPDATE_HOST));
    iconAtConfirm = reinterpret_cast<HICON>(SendMessageA(m_updateDialog, WM_GETICON, ICON_BIG, 0));
  }

  // The list and the total are filled before the box is shown.
  void Confirm(HWND w, HWND list) {
    int n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
      rows.push_back(ListText(list, i, 0) + "|" + ListText(list, i, 1) + "|" +
                     ListText(list, i, 2));
    total = Text(GetDlgItem(w, IDC_CONFIRM_TOTAL));
    NoteUpdateDialog();
    if (m_answer == kCancelThenInstall && m_updateDialog) {
      // Cancel is answered on the dialog's own thread: wait for it before going on.
      SendMessageA(m_updateDialog, WM_COMMAND, IDCANCEL, 0);
      cancelled = true;
    }
    confirmed = m_answer != kDecline;
    if (m_answer == kInstall && n > 0) {
      // A double-click on the first row first: it shows the two versions in a box.
      m_activate = NMITEMACTIVATE{};
      m_activate.hdr.hwndFrom = list;
      m_activate.hdr.idFrom = IDC_CONFIRM_LIST;
      m_activate.hdr.code = NM_DBLCLK;
      m_activate.iItem = 0;
      m_versionsOf = w;
      PostMessageA(w, WM_NOTIFY, IDC_CONFIRM_LIST, reinterpret_cast<LPARAM>(&m_activate));
      return;
    }
    PostMessageA(w, WM_COMMAND, confirmed ? IDOK : IDCANCEL, 0);
  }

  Answer m_answer;
  std::string m_cancelAt;
  std::function<bool()> m_cancelWhen;
  std::string m_reading;  // the status line while the confirmation list is open
  std::atomic<bool> m_done{false};
  HWND m_updateDialog = nullptr;
  HWND m_versionsOf = nullptr;  // the confirmation waiting for its versions box
  NMITEMACTIVATE m_activate{};
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
    server.PublishArchive("/zubrin/latest/readme.arq",
                          zbtest::ArchiveOf({{"readme.txt", "new readme\r\n"}}));
    CrusherShutdown();
    server.PublishCatalogue(zbtest::MakeCatalogue(
        {{"tool.dll", "2.10.301.0", 1234567, "/zubrin/latest/tool.arq", 0, ""},
         // Sizes bound the downloads: the catalogue's are at least the archives'.
         {"readme.txt", "0.0.0.0", 300, "/zubrin/latest/readme.arq", 0, "6/1/2024 10:00:00"}},
        {server.Host()}));
    store.values = {{"Count", "1"}, {"Server0", server.Host()}};
    settings.programFolder = app.Path();
    settings.finalPauseMs = 0;
    settings.timeoutSeconds = 5;
  }

  void TearDown() override { zbtest::RemoveStagingFolders(app.Path()); }

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

TEST_F(UpdateDialogTest, ConfirmedUpdateInstallsAndStartsTheMainProgramWithTheDocument) {
  UpdateSessionResult result;
  {
    User user(kInstall);
    result = Run("/update /launch /file \"C:\\my sites\\shop.zbp\"");
    user.Stop();
    EXPECT_EQ(user.problems, std::vector<std::string>{});
    EXPECT_EQ(user.statusAtConfirm, AfxLoadString(IDS_UPDATE_READING));
    EXPECT_EQ(user.hostAtConfirm, server.Host());
    EXPECT_EQ(user.rows, (std::vector<std::string>{"The file tool.dll|tool.dll|1,234,567",
                                                   "The file readme.txt|readme.txt|300"}));
    EXPECT_EQ(user.total, "1,234,867 " + AfxLoadString(IDS_UPDATE_BYTES_TOTAL));
    ASSERT_EQ(user.messages.size(), 1u) << testing::PrintToString(user.messages);
    // The versions box carries the program's caption (without one the system titles it
    // "Error").
    EXPECT_EQ(user.versionBox, "Local Version: 2.10.300.4000\nRemote Version: 2.10.301.0");
    EXPECT_EQ(user.versionCaption, AfxLoadString(IDS_UPDATE_CAPTION));
    EXPECT_TRUE(Mentions(user.messages, IDS_UPDATE_INSTALLED)) << user.messages[0];
    // The dialog shows the module's own icon, not the system's.
    EXPECT_NE(user.iconAtConfirm, nullptr);
    EXPECT_NE(user.iconAtConfirm, LoadIconA(nullptr, MAKEINTRESOURCEA(32512)));
  }
  EXPECT_EQ(ReadFileText(app.File("tool.dll")), newDll);
  EXPECT_EQ(ReadFileText(app.File("readme.txt")), "new readme\r\n");
  EXPECT_EQ(app.CountFiles(), 2);  // no catalogue, archive or temporary file left
  EXPECT_TRUE(result.relaunched);
  EXPECT_EQ(relaunchFolder, app.Path());
  EXPECT_EQ(relaunchDocument, "C:\\my sites\\shop.zbp");
}

// The runs that must leave the program folder as it was: the user says no, cancels at one step
// or another, or a file is held open so it cannot be replaced. The dialog still ends and the
// main program is still started again with its document.
struct KeptCase {
  const char* name;
  Answer answer;
  UINT cancelAtStatus;         // 0: Cancel is not pressed on the update dialog
  bool stallFirstArchive;      // the first archive's transfer stops halfway
  bool lockReadme;             // readme.txt is held open without delete sharing
  std::vector<UINT> messages;  // the boxes shown, in order
  int archiveRequests;         // requests for either archive
  bool archivesKept;           // both archives left in the download folder for a retry
};

class UpdateDialogKeepsFiles : public UpdateDialogTest,
                               public ::testing::WithParamInterface<KeptCase> {};

TEST_P(UpdateDialogKeepsFiles, OldFilesStayAndTheMainProgramStartsAgain) {
  const KeptCase& c = GetParam();
  if (c.stallFirstArchive) {
    CrusherInit();
    server.PublishStalledArchive("/zubrin/latest/tool.arq",
                                 zbtest::ArchiveOf({{"tool.dll", newDll}}), 100);
    CrusherShutdown();
  }
  HANDLE locked = INVALID_HANDLE_VALUE;
  if (c.lockReadme) {
    locked = CreateFileA(app.File("readme.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  }
  // A cancel in the middle of the transfer waits until the server was asked for the archive:
  // the status line shows the step before the request goes out.
  std::function<bool()> transferStarted;
  if (c.stallFirstArchive)
    transferStarted = [this] { return server.RequestsFor("/zubrin/latest/tool.arq") > 0; };
  User user(c.answer, c.cancelAtStatus, transferStarted);
  UpdateSessionResult result = Run("/update /launch /file \"C:\\my sites\\shop.zbp\"");
  user.Stop();
  if (locked != INVALID_HANDLE_VALUE) CloseHandle(locked);

  EXPECT_EQ(user.problems, std::vector<std::string>{});
  EXPECT_EQ(user.rows.size(), 2u) << "the confirmation list showed";
  EXPECT_EQ(user.cancelled, c.answer == kCancelThenInstall || c.cancelAtStatus != 0);
  ASSERT_EQ(user.messages.size(), c.messages.size()) << testing::PrintToString(user.messages);
  for (size_t i = 0; i < c.messages.size(); ++i)
    EXPECT_EQ(user.messages[i], AfxLoadString(c.messages[i]));
  EXPECT_EQ(server.RequestsFor("/zubrin/latest/tool.arq") +
                server.RequestsFor("/zubrin/latest/readme.arq"),
            c.archiveRequests);
  EXPECT_EQ(ReadFileText(app.File("tool.dll")), oldDll);
  EXPECT_EQ(ReadFileText(app.File("readme.txt")), "old readme\r\n");
  EXPECT_EQ(app.CountFiles(), 2);  // nothing new beside them
  for (const char* archive : {"download\\tool.arq", "download\\readme.arq"})
    EXPECT_EQ(GetFileAttributesA(app.File(archive).c_str()) != INVALID_FILE_ATTRIBUTES,
              c.archivesKept)
        << archive;
  EXPECT_TRUE(result.relaunched);
  EXPECT_EQ(relaunchDocument, "C:\\my sites\\shop.zbp");
}

INSTANTIATE_TEST_SUITE_P(
    , UpdateDialogKeepsFiles,
    ::testing::Values(
        // Saying no downloads nothing and says nothing.
        KeptCase{"Declined", kDecline, 0, false, false, {}, 0, false},
        // Cancel while the list is open, then Install: the worker sees the flag first.
        KeptCase{"CancelledWhileConfirming", kCancelThenInstall, 0, false, false, {}, 0, false},
        // Cancel in the middle of a transfer ends it at once, without a message; the part
        // fetched is never taken for the archive.
        KeptCase{
            "CancelledDuringDownload", kInstall, IDS_UPDATE_DOWNLOADING, true, false, {}, 1, false},
        // A file in use cannot be replaced: the install fails as a whole, says so, and keeps
        // the tested archives for another try.
        KeptCase{"LockedFile", kInstall, 0, false, true, {IDS_UPDATE_INSTALL_FAILED}, 2, true}),
    [](const ::testing::TestParamInfo<KeptCase>& info) { return std::string(info.param.name); });

// The dialog's clip must be one the animation control can play (uncompressed, from the module's
// resources), and its icon must be there in both sizes.
TEST(UpdateDialogResources, ClipPlaysAndIconLoadsFromTheModule) {
  HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
  ASSERT_NE(language, nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_ANIMATE_CLASS};
  InitCommonControlsEx(&controls);
  HWND animate = CreateWindowExA(0, ANIMATE_CLASSA, "", WS_POPUP, 0, 0, 60, 50, nullptr, nullptr,
                                 nullptr, nullptr);
  ASSERT_NE(animate, nullptr);
  EXPECT_TRUE(SendMessageA(animate, ACM_OPENA, reinterpret_cast<WPARAM>(language),
                           reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(IDR_UPDATE_ANIMATION))));
  EXPECT_TRUE(SendMessageA(animate, ACM_PLAY, 1, MAKELPARAM(0, 0xFFFF)));
  SendMessageA(animate, ACM_STOP, 0, 0);
  SendMessageA(animate, ACM_OPENA, 0, 0);
  DestroyWindow(animate);
  for (int size : {32, 16}) {
    HICON icon = static_cast<HICON>(
        LoadImageA(language, MAKEINTRESOURCEA(IDI_ZBUPDATE), IMAGE_ICON, size, size, 0));
    EXPECT_NE(icon, nullptr) << size;
    if (icon) DestroyIcon(icon);
  }
  FreeLibrary(language);
}

// The program itself, copied into a scratch folder with its module and a stand-in for the main
// program: with /debug it writes its start log, ends when no server answers, starts the main
// program again and leaves nothing of its own behind.
TEST(UpdateProgram, DebugRunWritesTheStartLogAndStartsTheMainProgram) {
  zbtest::TempFolder folder;
  for (const char* name : {"ZBUpdate.exe", "ZBResENU.dll"})
    ASSERT_TRUE(CopyFileA((ModuleFolder() + name).c_str(), folder.File(name).c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((ModuleFolder() + "zbtest_url_recorder.exe").c_str(),
                        folder.File("ZBPro.exe").c_str(), FALSE));
  // One server, on a port where nothing listens: the catalogue fails at once.
  const char* key = "Software\\Orvandel Labs, Inc.\\ZBUpdate\\FTP Servers";
  DWORD one = 1;
  RegSetKeyValueA(HKEY_CURRENT_USER, key, "Count", REG_DWORD, &one, sizeof one);
  RegSetKeyValueA(HKEY_CURRENT_USER, key, "Server0", REG_SZ, "127.0.0.1:1", 12);
  std::string out = folder.File("args.txt");
  SetEnvironmentVariableA("ZB_URL_RECORDER_OUT", out.c_str());

  std::string command = "\"" + folder.File("ZBUpdate.exe") + "\" /debug /update /launch";
  STARTUPINFOA start = {};
  start.cb = sizeof start;
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder.Path().c_str(), &start, &process));
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
  TerminateProcess(process.hProcess, 1);  // only when it hung
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // The main program was started just before the update program ended, and writes its record
  // on its own time.
  WaitUntil([&] { return ReadFileText(out) != "<missing>"; });
  SetEnvironmentVariableA("ZB_URL_RECORDER_OUT", nullptr);
  RegDeleteTreeA(HKEY_CURRENT_USER, key);

  EXPECT_EQ(ReadFileText(folder.File("zbu_dbgs.txt")),
            "Update:   1\r\nLaunch:   1\r\nFile:     0\r\nFileName: \r\n"
            "App:      " +
                folder.File("ZBPro.exe") + "\r\nParams:   \"\"\r\n");
  EXPECT_EQ(ReadFileText(folder.File("zbu_dbg.txt")), "");  // made empty; no catalogue came
  EXPECT_EQ(ReadFileText(out), "1\n\n");  // the main program, with an empty document
  EXPECT_EQ(GetFileAttributesA(folder.File("temp").c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileA(out.c_str());
}

TEST(UpdateDialogLines, RateAndTimeLeftInTheModuleUnits) {
  HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
  ASSERT_NE(language, nullptr);
  AfxSetResourceHandle(language);
  struct RateCase {
    uint32_t rate;
    std::string line;
  };
  for (const RateCase& c :
       {RateCase{0, "0 bytes/s"}, RateCase{1023, "1023 bytes/s"}, RateCase{1024, "1.00 KB/s"},
        RateCase{1048575, "1024.00 KB/s"}, RateCase{1048576, "1.00 MB/s"}})
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

// ---- the hand-over from the main program ----

namespace handover {

// A stand-in for the main program's window: its class, and a title with a document in it, as
// the main program shows. It lives on a thread of its own until closeAfterMs have passed.
class MainWindowStandIn {
 public:
  explicit MainWindowStandIn(DWORD closeAfterMs) {
    m_thread = std::thread([this, closeAfterMs] {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = DefWindowProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = ZBPRO_MAINFRAME_CLASS;
      RegisterClassA(&wc);
      HWND w = CreateWindowA(ZBPRO_MAINFRAME_CLASS, "ZBPro - shop.zbp", WS_OVERLAPPEDWINDOW, 0, 0,
                             200, 100, nullptr, nullptr, wc.hInstance, nullptr);
      m_created = true;
      ULONGLONG start = GetTickCount64();
      while (GetTickCount64() - start < closeAfterMs && !m_stop) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(20);
      }
      DestroyWindow(w);
      UnregisterClassA(ZBPRO_MAINFRAME_CLASS, wc.hInstance);
    });
    while (!m_created) Sleep(5);
  }
  ~MainWindowStandIn() {
    m_stop = true;
    m_thread.join();
  }

 private:
  std::thread m_thread;
  std::atomic<bool> m_created{false}, m_stop{false};
};

// A scratch program folder with the update program, optionally its language module, and the
// recorder standing in for the main program; one server where nothing listens.
struct ProgramFolder {
  explicit ProgramFolder(bool withModule) {
    std::vector<const char*> names = {"ZBUpdate.exe"};
    if (withModule) names.push_back("ZBResENU.dll");
    for (const char* name : names)
      EXPECT_TRUE(CopyFileA((ModuleFolder() + name).c_str(), folder.File(name).c_str(), FALSE));
    EXPECT_TRUE(CopyFileA((ModuleFolder() + "zbtest_url_recorder.exe").c_str(),
                          folder.File("ZBPro.exe").c_str(), FALSE));
    DWORD one = 1;
    RegSetKeyValueA(HKEY_CURRENT_USER, kServersKey, "Count", REG_DWORD, &one, sizeof one);
    RegSetKeyValueA(HKEY_CURRENT_USER, kServersKey, "Server0", REG_SZ, "127.0.0.1:1", 12);
    SetEnvironmentVariableA("ZB_URL_RECORDER_OUT", Recorded().c_str());
  }
  ~ProgramFolder() {
    SetEnvironmentVariableA("ZB_URL_RECORDER_OUT", nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, kServersKey);
    DeleteFileA(Recorded().c_str());
  }
  std::string Recorded() const { return folder.File("args.txt"); }

  // Runs the program to its end; every message box it shows is answered with OK.
  DWORD Run(const std::string& arguments, int* boxes = nullptr) {
    std::string command = "\"" + folder.File("ZBUpdate.exe") + "\" " + arguments;
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.Path().c_str(), &start, &process))
      return static_cast<DWORD>(-1);
    std::set<HWND> answered;
    ULONGLONG began = GetTickCount64();
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT &&
           GetTickCount64() - began < 60000) {
      std::pair<DWORD, std::set<HWND>*> ctx{process.dwProcessId, &answered};
      EnumWindows(
          [](HWND w, LPARAM p) {
            auto* c = reinterpret_cast<std::pair<DWORD, std::set<HWND>*>*>(p);
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            char cls[32] = {};
            GetClassNameA(w, cls, sizeof cls);
            // Only message boxes: the update dialog must end by itself.
            if (pid == c->first && std::string(cls) == "#32770" && IsWindowVisible(w) &&
                IsMessageBox(w) && c->second->insert(w).second)
              PostMessageA(w, WM_COMMAND, IDOK, 0);
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&ctx));
    }
    if (boxes) *boxes = static_cast<int>(answered.size());
    TerminateProcess(process.hProcess, 1);  // only when it hung
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
  }

  // What the stand-in for the main program was started with, once it wrote it ("<missing>": not
  // started within limitMs).
  std::string WaitForRecorder(DWORD limitMs = kSettleMs) const {
    WaitUntil([this] { return ReadFileText(Recorded()) != "<missing>"; }, limitMs);
    return ReadFileText(Recorded());
  }

  static constexpr const char* kServersKey = "Software\\Orvandel Labs, Inc.\\ZBUpdate\\FTP Servers";
  zbtest::TempFolder folder;
};

}  // namespace handover

// The main program is found by its window class, whatever document its title names.
TEST(UpdateHandOver, MainProgramIsFoundByItsWindowClass) {
  EXPECT_FALSE(IsMainProgramRunning());
  {
    handover::MainWindowStandIn main(60000);
    EXPECT_TRUE(IsMainProgramRunning());
    EXPECT_FALSE(WaitForMainProgramToClose(50, 10));
  }
  {
    handover::MainWindowStandIn main(300);
    EXPECT_TRUE(WaitForMainProgramToClose(10000, 20));
  }
  EXPECT_FALSE(IsMainProgramRunning());
}

// The update program beside a main program that stays: it replaces nothing, starts no second
// main program and ends; one that closes shortly after starting the update hands over.
TEST(UpdateHandOver, UpdateWaitsForTheMainProgramToClose) {
  {
    handover::ProgramFolder program(true);
    handover::MainWindowStandIn main(60000);
    program.Run("/debug /update /launch");
    // Ended before the command line's start log: nothing of the update ran.
    EXPECT_EQ(ReadFileText(program.folder.File("zbu_dbgs.txt")), "<missing>");
    // A main program started by mistake would have been started before the update program
    // ended (and named in the start log above); a short look is enough.
    EXPECT_EQ(program.WaitForRecorder(1000), "<missing>");
  }
  {
    handover::ProgramFolder program(true);
    handover::MainWindowStandIn main(1000);
    program.Run("/debug /update /launch");
    EXPECT_NE(ReadFileText(program.folder.File("zbu_dbgs.txt")), "<missing>");
    EXPECT_EQ(program.WaitForRecorder(), "1\n\n");
    EXPECT_EQ(GetFileAttributesA(program.folder.File("temp").c_str()), INVALID_FILE_ATTRIBUTES);
  }
}

// Without a language module the update cannot start; it says so, and the main program, which
// closed for the update, is started again with its document.
TEST(UpdateHandOver, MissingLanguageModuleBringsTheMainProgramBack) {
  handover::ProgramFolder program(false);
  int boxes = 0;
  EXPECT_EQ(program.Run("/update /launch /file \"C:\\my sites\\shop.zbp\"", &boxes), 1u);
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(program.WaitForRecorder(), "1\nC:\\my sites\\shop.zbp\n");
}
