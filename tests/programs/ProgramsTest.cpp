// Both programs start as GUI programs, take their texts from the language module, end with 0
// when their window is closed, and refuse to start without the language module. Both and the
// language module carry the build's version, which the About box shows and the update check
// compares with the catalogue.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "app/update/UpdateCheck.h"
#include "foundation/net/Socklet.h"
#include "foundation/os/VersionInfo.h"
#include "resources/resource.h"
#include "tests/servers/HttpTestServer.h"
#include "tests/support/ProcessDriver.h"
#include "tests/support/TempFolder.h"

namespace {

using zbtest::ProcessDriver;

struct Program {
  const char* exe;
  const char* windowClass;
  const char* title;      // as the English language module has it
  const char* dataFile;   // a file of the installation the program reads at start, or null
  const char* arguments;
};

void PrintTo(const Program& p, std::ostream* os) {
  *os << p.exe;
}

const Program kPrograms[] = {
    // Started without a document; it reads the engine definitions that are installed with it.
    {"ZBPro.exe", "ZBProMainFrame", "ZBPro - Untitled", "engines.dat", ""},
    // The update program's one window is its update dialog.
    {"ZBUpdate.exe", "#32770", "ZBPro Update", nullptr, "/update"},
};

const DWORD kStartTimeout = 30000;  // Wine's first start of a program can be slow

// An update server on 127.0.0.1 that takes the connection and never answers, so the update
// program waits on its first step until it is told to stop. Its server list names it.
class SilentUpdateServer {
 public:
  SilentUpdateServer() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(socket_, 4);
    int length = sizeof address;
    getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    std::string host = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    const char* key = "Software\\Orvandel Labs, Inc.\\ZBUpdate\\FTP Servers";
    DWORD one = 1, zero = 0;
    RegSetKeyValueA(HKEY_CURRENT_USER, key, "Count", REG_DWORD, &one, sizeof one);
    RegSetKeyValueA(HKEY_CURRENT_USER, key, "StartServer", REG_DWORD, &zero, sizeof zero);
    RegSetKeyValueA(HKEY_CURRENT_USER, key, "Server0", REG_SZ, host.c_str(),
                    static_cast<DWORD>(host.size() + 1));
  }
  ~SilentUpdateServer() {
    closesocket(socket_);
    WSACleanup();
  }

 private:
  SOCKET socket_;
};

// "StartUp" of the tip of the day: 0 shows the tip after the main window at start-up.
const char kTipKey[] = "Software\\Orvandel Labs, Inc.\\ZBPro\\Tip";
void SetTipAtStartUp(bool show) {
  DWORD value = show ? 0 : 1;
  RegSetKeyValueA(HKEY_CURRENT_USER, kTipKey, "StartUp", REG_DWORD, &value, sizeof value);
}
DWORD TipStartUpValue() {
  DWORD value = 0, size = sizeof value;
  RegGetValueA(HKEY_CURRENT_USER, kTipKey, "StartUp", RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

// The program's dialog of that title (the splash screen is a dialog too).
HWND WaitForDialog(const ProcessDriver& program, const std::string& title, DWORD timeoutMs) {
  for (DWORD waited = 0;; waited += 100) {
    for (HWND dialog : program.TopWindows("#32770"))
      if (IsWindowVisible(dialog) && zbtest::WindowText(dialog) == title) return dialog;
    if (waited >= timeoutMs) return nullptr;
    Sleep(100);
  }
}

class ProgramTest : public testing::TestWithParam<Program> {
 protected:
  // The windows these tests drive are the main windows; the tip has its own test.
  void SetUp() override { SetTipAtStartUp(false); }
};

// The texts the children give when asked: GetWindowText of another process's window reads only
// the text stored with the window, while a status bar answers WM_GETTEXT with its first pane.
BOOL CALLBACK AskChildText(HWND child, LPARAM lParam) {
  char text[512] = {};
  DWORD_PTR got = 0;
  if (SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                          SMTO_ABORTIFHUNG, 5000, &got)) {
    reinterpret_cast<std::vector<std::string>*>(lParam)->push_back(text);
  }
  return TRUE;
}
std::vector<std::string> AskedChildTexts(HWND frame) {
  std::vector<std::string> texts;
  EnumChildWindows(frame, AskChildText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

// The status texts come a moment after the window: looks again until they do.
bool ShowsText(HWND window, const std::string& text, DWORD timeoutMs) {
  for (DWORD waited = 0;; waited += 100) {
    auto texts = AskedChildTexts(window);
    if (std::find(texts.begin(), texts.end(), text) != texts.end()) return true;
    if (waited >= timeoutMs) return false;
    Sleep(100);
  }
}

// The program as installed: beside it the language module and its data file (from the fixtures).
class Installation {
 public:
  explicit Installation(const Program& p) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "zbtest-install-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    Copy(zbtest::BinFolder() + p.exe, p.exe);
    Copy(zbtest::BinFolder() + "ZBResENU.dll", "ZBResENU.dll");
    if (p.dataFile) Copy(zbtest::BinFolder() + "fixtures\\" + p.dataFile, p.dataFile);
  }
  ~Installation() {
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  std::string File(const std::string& name) const { return folder_ + "\\" + name; }
  bool Complete() const { return copied_; }

 private:
  void Copy(const std::string& from, const std::string& name) {
    files_.push_back(File(name));
    copied_ = copied_ && CopyFileA(from.c_str(), File(name).c_str(), FALSE);
  }
  std::string folder_;
  std::vector<std::string> files_;
  bool copied_ = true;
};

TEST_P(ProgramTest, ShowsWindowWithModuleTextsAndExitsCleanlyOnClose) {
  const Program& p = GetParam();
  SilentUpdateServer updateServer;
  Installation installed(p);
  ASSERT_TRUE(installed.Complete()) << "cannot copy " << p.exe << " and its files";
  ProcessDriver program;
  ASSERT_TRUE(program.Start(installed.File(p.exe), p.arguments)) << "cannot start " << p.exe;

  HWND frame = program.WaitForWindow(p.windowClass, kStartTimeout);
  ASSERT_NE(frame, nullptr) << p.exe << " showed no window";
  EXPECT_EQ(zbtest::WindowText(frame), p.title);
  EXPECT_TRUE(ShowsText(frame, "Ready", 5000)) << "no \"Ready\" status text";

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
    ASSERT_TRUE(program.Start(copy, p.arguments));
    HWND box = program.WaitForWindow("#32770", kStartTimeout);
    ASSERT_NE(box, nullptr) << "no message box about the missing module";
    bool namesModule = false;
    for (auto text : zbtest::ChildTexts(box)) {
      for (char& ch : text) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
      namesModule = namesModule || text.find("zbresenu.dll") != std::string::npos;
    }
    EXPECT_TRUE(namesModule) << "the message does not name the missing module";

    // Each box is answered in turn (the program may add why it cannot go on) until it ends.
    for (int boxes = 0; box && boxes < 4; ++boxes) {
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      if (program.WaitForExit(2000)) break;
      box = program.WaitForWindow("#32770", kStartTimeout);
    }
    ASSERT_TRUE(program.WaitForExit(kStartTimeout));
    EXPECT_NE(program.ExitCode(), 0u);
  }
  DeleteFileA(copy.c_str());
  RemoveDirectoryA(folder.c_str());
}

// The tip of the day follows the main window at start-up until the user switches it off in the
// tip itself; the next start then shows only the main window.
TEST(ZBProTipTest, TheTipFollowsTheMainWindowUntilSwitchedOff) {
  SetTipAtStartUp(true);
  Installation installed(kPrograms[0]);
  ASSERT_TRUE(installed.Complete());
  ASSERT_TRUE(CopyFileA((zbtest::BinFolder() + "ZBProenu.tip").c_str(),
                        installed.File("ZBProenu.tip").c_str(), FALSE));
  {
    ProcessDriver program;
    ASSERT_TRUE(program.Start(installed.File("ZBPro.exe")));
    HWND frame = program.WaitForWindow("ZBProMainFrame", kStartTimeout);
    ASSERT_NE(frame, nullptr);
    HWND tip = WaitForDialog(program, "Tip of the Day", kStartTimeout);
    ASSERT_NE(tip, nullptr) << "no tip of the day at start-up";
    HWND box = GetDlgItem(tip, 5523);  // show tips at start-up
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
    PostMessageA(tip, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 100 && IsWindow(tip); ++i) Sleep(50);
    EXPECT_FALSE(IsWindow(tip));
    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForExit(kStartTimeout));
    EXPECT_EQ(program.ExitCode(), 0u);
  }
  EXPECT_NE(TipStartUpValue(), 0u) << "switching the tips off was not kept";
  {
    ProcessDriver program;
    ASSERT_TRUE(program.Start(installed.File("ZBPro.exe")));
    HWND frame = program.WaitForWindow("ZBProMainFrame", kStartTimeout);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(WaitForDialog(program, "Tip of the Day", 3000), nullptr)
        << "a tip although switched off";
    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForExit(kStartTimeout));
  }
  DeleteFileA(installed.File("ZBProenu.tip").c_str());
}

// Every file of the product carries the one version of the build.
TEST(VersionTest, ProgramsAndLanguageModuleCarryTheBuildsVersion) {
  for (const char* file : {"ZBPro.exe", "ZBUpdate.exe", "ZBResENU.dll"}) {
    SCOPED_TRACE(file);
    CVersionInfo version;
    EXPECT_TRUE(version.FromFile((zbtest::BinFolder() + file).c_str()));
    EXPECT_STREQ(version.Format().GetString(), ZB_VERSION_TEXT);
  }
}

// The About box of the running program, as the Help menu's last item opens it, names its
// version.
TEST(VersionTest, AboutBoxShowsTheProgramsVersion) {
  HMODULE module = LoadLibraryExA((zbtest::BinFolder() + "ZBResENU.dll").c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDR_MAINFRAME));
  ASSERT_NE(menu, nullptr);
  HMENU help = GetSubMenu(menu, GetMenuItemCount(menu) - 1);
  EXPECT_EQ(GetMenuItemID(help, GetMenuItemCount(help) - 1), static_cast<UINT>(ID_APP_ABOUT_ZB));
  DestroyMenu(menu);
  FreeLibrary(module);

  SetTipAtStartUp(false);
  Installation installed(kPrograms[0]);
  ASSERT_TRUE(installed.Complete());
  ProcessDriver program;
  ASSERT_TRUE(program.Start(installed.File("ZBPro.exe")));
  HWND frame = program.WaitForWindow("ZBProMainFrame", kStartTimeout);
  ASSERT_NE(frame, nullptr);
  PostMessageA(frame, WM_COMMAND, ID_APP_ABOUT_ZB, 0);
  HWND about = WaitForDialog(program, "About ZBPro", kStartTimeout);
  ASSERT_NE(about, nullptr) << "no About box";
  std::vector<std::string> texts = AskedChildTexts(about);
  EXPECT_NE(std::find(texts.begin(), texts.end(), std::string("Version ") + ZB_VERSION_TEXT),
            texts.end());
  PostMessageA(about, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 100 && IsWindow(about); ++i) Sleep(50);
  PostMessageA(frame, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.WaitForExit(kStartTimeout));
  EXPECT_EQ(program.ExitCode(), 0u);
}

class OfferCounter : public IUpdateViews {
 public:
  bool ShowUpdateNotice() override {
    ++offers;
    return false;
  }
  void PostCloseMainWindow() override {}
  int offers = 0;
};

// The update check against the installed files: a catalogue that lists them at the installed
// version offers nothing; one that lists any of them at a later version offers the update.
TEST(VersionTest, UpdateCheckOffersOnlyALaterVersionThanTheInstalledOne) {
  ASSERT_TRUE(SockletStartup());
  zbtest::HttpTestServer server;
  ASSERT_TRUE(server.Start());
  zbtest::TempFolder folder;
  const char* const files[] = {"ZBPro.exe", "ZBUpdate.exe", "ZBResENU.dll"};
  for (const char* file : files)
    ASSERT_TRUE(CopyFileA((zbtest::BinFolder() + file).c_str(), (folder.Path() + file).c_str(),
                          FALSE));
  CVersionInfo installed;
  installed.FromFile((folder.Path() + "ZBPro.exe").c_str());
  auto catalogue = [&](const char* later, const std::string& version) {
    std::string text = "[File List]\r\nCount=3\r\n";
    for (int i = 0; i < 3; ++i) text += "File" + std::to_string(i) + "=" + files[i] + "\r\n";
    for (const char* file : files)
      text += std::string("[") + file + "]\r\nVersion=" +
              (later && std::string(later) == file ? version : ZB_VERSION_TEXT) +
              "\r\nSize=1000\r\nHttpPath=/zubrin/latest/file.arq\r\n";
    return text;
  };
  const struct {
    const char* what;
    const char* later;  // the file listed at the other version, or none
    std::string version;
    int offers;
  } cases[] = {
      {"every file at the installed version", nullptr, "", 0},
      {"the program one build later", "ZBPro.exe",
       std::to_string(installed.GetMajor()) + "." + std::to_string(installed.GetMinor()) + "." +
           std::to_string(installed.GetBuild()) + "." + std::to_string(installed.GetRevision() + 1),
       1},
      {"the language module a major version later", "ZBResENU.dll",
       std::to_string(installed.GetMajor() + 1) + ".0.0.0", 1},
      {"the update program a version earlier", "ZBUpdate.exe",
       std::to_string(installed.GetMajor() - 1) + ".9.9.9", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    server.Route(updatecheck::kCataloguePath,
                 zbtest::HttpResponse::Text(catalogue(c.later, c.version)));
    updatecheck::CheckJob job;
    job.url = server.Url(updatecheck::kCataloguePath);
    job.folder = folder.Path();
    OfferCounter views;
    updatecheck::RunUpdateCheck(views, job);
    EXPECT_EQ(views.offers, c.offers);
  }
  SockletCleanup();
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramTest, testing::ValuesIn(kPrograms),
                         [](const testing::TestParamInfo<Program>& info) {
                           std::string name = info.param.exe;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
