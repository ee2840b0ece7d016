// The end of a run started from the command line, with the program's window and document: the
// CSV file beside the document, the save, the log of what failed, and one close of the main
// window however often the end is reached.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "app/settings/SearchProperties.h"
#include "app/program/NQCommandLineInfo.h"
#include "app/program/ZubrinAppLog.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "app/tests/AppTestSupport.h"
#include "engines/db/EngineServices.h"
#include "framework/app/MessageBox.h"
#include "framework/app/WinApp.h"
#include "framework/docview/DocTemplate.h"
#include "resources/resource.h"
#include "ui/AutomatedRun.h"
#include "ui/MainFrame.h"
#include "ui/PlaceholderView.h"

namespace {

int g_closes = 0;
WNDPROC g_frameProc = nullptr;
// Counts the closes the frame is sent and keeps it open, so a second close would be seen.
LRESULT CALLBACK CountCloses(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    ++g_closes;
    return 0;
  }
  return CallWindowProcA(g_frameProc, window, message, wParam, lParam);
}
int QuietBox(LPCSTR, UINT type) {
  return AfxDefaultMessageBoxAnswer(type);
}
int QuietEngineBox(HWND, const char*, const char*, unsigned) {
  return IDOK;
}

class AutomatedRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(language_.Loaded());
    // Runs in these tests never ask a banner server: no address but the loopback is contacted.
    GetSearchProperties().m_nBannersOn = 0;
    AfxSetMessageBoxHandler(QuietBox);
    SetEngineMessageBox(QuietEngineBox);
    apptest::WriteBytes(folder_.File("engines.dat"), "[Alpha]\nenabled=1\n\n[Beta]\nenabled=1\n");
    SetEngineDataFolder(folder_.Path().c_str());
    CZubrinDoc::ResetAutomatedEnd();
    CZubrinAppLog::Reset();
    app_ = std::make_unique<CWinApp>("ZBProUiTest");
    app_->AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZubrinDoc),
                                                RUNTIME_CLASS(CMainFrame),
                                                RUNTIME_CLASS(CPlaceholderView)));
    app_->OnFileNew();
    ASSERT_NE(app_->m_pMainWnd, nullptr);
    hFrame_ = app_->m_pMainWnd->m_hWnd;
    g_closes = 0;
    g_frameProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hFrame_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountCloses)));
  }
  void TearDown() override {
    if (::IsWindow(hFrame_)) {
      SetWindowLongPtrA(hFrame_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_frameProc));
      if (CZubrinDoc* doc = CZubrinDoc::GetDocument()) doc->SetModifiedFlag(FALSE);
      ::DestroyWindow(hFrame_);
    }
    app_.reset();
    ClearUpdateWindows();
    SetCommandLineInfo(nullptr);
    CZubrinAppLog::Reset();
    CZubrinDoc::ResetAutomatedEnd();
    SetEngineDataFolder("");
    SetEngineMessageBox(nullptr);
    AfxSetMessageBoxHandler(nullptr);
  }
  // The window's document under a file name, modified as a run leaves it.
  CZubrinDoc* DocumentAt(const std::string& path) {
    CZubrinDoc* doc = CZubrinDoc::GetDocument();
    doc->SetPathName(path.c_str(), FALSE);
    doc->SetModifiedFlag(TRUE);
    CZubrinAppLog::Open(path.c_str());
    return doc;
  }
  static void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  }

  apptest::LanguageModuleScope language_;
  apptest::TempFolder folder_;
  std::unique_ptr<CWinApp> app_;
  HWND hFrame_ = nullptr;
};

// Where the CSV goes without a csv_to path: beside the document, never in the current folder.
TEST(AutomatedCsvPath, IsTheDocumentsTitleWithoutExtensionBesideIt) {
  const struct {
    const char* path;
    const char* title;
    const char* csv;
  } cases[] = {
      {"C:\\sites\\shop.zbp", "shop.zbp", "C:\\sites\\shop.csv"},
      {"C:\\sites\\shop", "shop", "C:\\sites\\shop.csv"},
      {"C:\\my.sites\\shop.v2.zbp", "shop.v2.zbp", "C:\\my.sites\\shop.v2.csv"},
  };
  for (const auto& c : cases)
    EXPECT_STREQ(DefaultAutomatedCsvPath(c.path, c.title).GetString(), c.csv) << c.path;
}

// Each way the end can go: what is written, whether the log holds a failure, and one close.
TEST_F(AutomatedRunTest, WritesSavesLogsAndClosesOnce) {
  struct Case {
    const char* why;
    const char* switches;  // before the document's path
    bool documentInMissingFolder;
    const char* expectedFile;  // in the folder, or null
    bool failed;
    const char* logged;  // a part of the log, or null
  };
  const Case cases[] = {
      {"CSV named after the document", "/auto /csv", false, "shop.csv", false, nullptr},
      {"CSV to a folder that does not exist", "/auto /csv_to \"Q:\\no\\such\\r.csv\"", false,
       nullptr, true, "CSV"},
      // The log beside it cannot be written either; the failure still counts.
      {"the document cannot be saved", "/auto", true, nullptr, true, nullptr},
      {"only r1_email: nothing written, saved", "/auto /r1_email", false, "shop.zbp", false,
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CZubrinDoc::ResetAutomatedEnd();
    CZubrinAppLog::Reset();
    g_closes = 0;
    std::string path =
        c.documentInMissingFolder ? folder_.File("gone\\shop.zbp") : folder_.File("shop.zbp");
    DeleteFileA(folder_.File("shop.zbp").c_str());
    DeleteFileA(folder_.File("shop.csv").c_str());
    DeleteFileA(folder_.File("shop.log").c_str());
    std::string line = std::string(c.switches) + " \"" + path + "\"";
    SetCommandLineInfo(new NQCommandLineInfo(line.c_str()));
    CZubrinDoc* doc = DocumentAt(path);

    FinishAutomatedRun(doc);
    FinishAutomatedRun(doc);  // a second receiver of the finish
    Pump();

    EXPECT_EQ(g_closes, 1);
    EXPECT_FALSE(doc->IsModified()) << "the close would wait for a save question";
    EXPECT_EQ(CZubrinAppLog::HasFailed(), c.failed);
    if (c.expectedFile) {
      EXPECT_NE(GetFileAttributesA(folder_.File(c.expectedFile).c_str()), INVALID_FILE_ATTRIBUTES);
    }
    std::string log = apptest::ReadBytes(CZubrinAppLog::GetPath().GetString());
    if (c.logged) {
      EXPECT_NE(log.find(c.logged), std::string::npos) << log;
    }
    if (!c.failed) {
      EXPECT_EQ(log, "");
    }
  }
}

}  // namespace

namespace {

// A debug run without auto writes the named engine's detail report into the debug folder and
// closes without saving the document.
TEST_F(AutomatedRunTest, ADebugRunWritesTheDetailReportAndLeavesTheDocument) {
  std::string options = folder_.File("debug.txt");
  apptest::WriteBytes(options, "engine=Alpha\ndirectory=" + folder_.Path() + "\n");
  std::string path = folder_.File("shop.zbp");
  std::string line = "/debug_opt \"" + options + "\" \"" + path + "\"";
  SetCommandLineInfo(new NQCommandLineInfo(line.c_str()));
  CZubrinDoc* doc = DocumentAt(path);

  FinishAutomatedRun(doc);
  Pump();

  EXPECT_EQ(g_closes, 1);
  EXPECT_FALSE(CZubrinAppLog::HasFailed())
      << apptest::ReadBytes(CZubrinAppLog::GetPath().GetString());
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << "the document was saved";
  WIN32_FIND_DATAA report;
  HANDLE found = FindFirstFileA(folder_.File("*.htm").c_str(), &report);
  EXPECT_NE(found, INVALID_HANDLE_VALUE) << "no detail report in the debug folder";
  if (found != INVALID_HANDLE_VALUE) FindClose(found);
}

}  // namespace
