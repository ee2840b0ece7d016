// The main window as the program assembles it: the document template that ties the program's
// document to the main frame and its view, with the English language module. Real windows under
// the X display; commands and closing sent as the menu and the system send them.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/settings/SearchProperties.h"
#include "app/document/ZubrinDoc.h"
#include "app/tests/AppTestSupport.h"
#include "engines/db/EngineList.h"
#include "engines/db/EngineServices.h"
#include "framework/app/MessageBox.h"
#include "framework/app/WinApp.h"
#include "framework/app/AppIds.h"
#include "framework/docview/DocTemplate.h"
#include "resources/resource.h"
#include "ui/MainFrame.h"
#include "ui/PlaceholderView.h"
#include "ui/views/SearchEngineView.h"

namespace {

std::vector<std::string> g_boxes;
int g_answer = IDCANCEL;
int RecordBox(LPCSTR text, UINT) {
  g_boxes.push_back(text);
  return g_answer;
}
int QuietEngineBox(HWND, const char*, const char*, unsigned) { return IDOK; }

std::string WindowText(HWND wnd) {
  char text[512] = {};
  ::GetWindowTextA(wnd, text, sizeof text);
  return text;
}

class MainFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(language_.Loaded()) << "ZBResENU.dll is not beside the test";
    g_boxes.clear();
    g_answer = IDCANCEL;
    // Runs in these tests never ask a banner server: no address but the loopback is contacted.
    GetSearchProperties().m_nBannersOn = 0;
    AfxSetMessageBoxHandler(RecordBox);
    SetEngineMessageBox(QuietEngineBox);
    apptest::WriteBytes(folder_.File("engines.dat"), "[Alpha]\nenabled=1\n\n[Beta]\nenabled=1\n");
    SetEngineDataFolder(folder_.Path().c_str());
    site_ = folder_.File("site.zbp");
    WriteDocument(site_, "http://www.site.example/");
    original_ = apptest::ReadBytes(site_);

    app_ = std::make_unique<CWinApp>("ZBProUiTest");
    app_->LoadStdProfileSettings(4);
    app_->AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZubrinDoc),
                                                RUNTIME_CLASS(CMainFrame),
                                                RUNTIME_CLASS(CPlaceholderView)));
    app_->OnFileNew();
    frame_ = dynamic_cast<CMainFrame*>(app_->m_pMainWnd);
    ASSERT_NE(frame_, nullptr) << "the main window is not a CMainFrame";
    hFrame_ = frame_->m_hWnd;
  }
  void TearDown() override {
    if (::IsWindow(hFrame_)) ::DestroyWindow(hFrame_);
    app_.reset();
    SetEngineDataFolder("");
    SetEngineMessageBox(nullptr);
    AfxSetMessageBoxHandler(nullptr);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  // A document file as the program writes it, made before the window's document exists (the
  // program has one document at a time).
  static void WriteDocument(const std::string& path, const char* site) {
    auto doc = std::make_unique<CZubrinDoc>();
    ASSERT_TRUE(doc->OnNewDocument());
    doc->m_siteUrl = site;
    ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
  }
  // The site a document file holds, read once the window's document is gone.
  CString SiteOnDisk() {
    if (::IsWindow(hFrame_)) {
      if (Doc()) Doc()->SetModifiedFlag(FALSE);
      ::DestroyWindow(hFrame_);
    }
    auto doc = std::make_unique<CZubrinDoc>();
    if (!doc->OnOpenDocument(site_.c_str())) return "(unreadable)";
    return doc->m_siteUrl;
  }
  CZubrinDoc* Doc() { return dynamic_cast<CZubrinDoc*>(frame_->GetActiveDocument()); }
  void Idle() {
    ::SendMessageA(hFrame_, WM_IDLEUPDATECMDUI, TRUE, 0);
    frame_->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
  }
  std::string PaneText(int index) {
    char text[256] = {};
    frame_->GetStatusBar()->SendMessage(SB_GETTEXTA, index, reinterpret_cast<LPARAM>(text));
    return text;
  }
  void OpenSite() {
    ASSERT_NE(app_->OpenDocumentFile(site_.c_str()), nullptr);
    ASSERT_EQ(Doc()->m_siteUrl, CString("http://www.site.example/"));
  }

  apptest::LanguageModuleScope language_;
  apptest::TempFolder folder_;
  std::string site_;
  std::string original_;
  std::unique_ptr<CWinApp> app_;
  CMainFrame* frame_ = nullptr;
  HWND hFrame_ = nullptr;
};

TEST_F(MainFrameTest, ANewDocumentShowsTheFrameWithViewStatusBarAndMenu) {
  char cls[64] = {};
  ::GetClassNameA(hFrame_, cls, sizeof cls);
  EXPECT_STREQ(cls, ZBPRO_MAINFRAME_CLASS);
  EXPECT_EQ(WindowText(hFrame_), "ZBPro - Untitled");
  EXPECT_TRUE(frame_->IsWindowVisible());
  ASSERT_NE(Doc(), nullptr);
  // The engine list is where the user starts.
  ASSERT_NE(dynamic_cast<CSearchEngineView*>(frame_->GetActiveView()), nullptr);
  EXPECT_EQ(frame_->GetActiveView()->GetDocument(), Doc());

  Idle();
  EXPECT_EQ(PaneText(0), "Ready");
  // The counter panes, in their order, show first values rather than their bare formats.
  struct Pane {
    UINT id;
    int index;
    const char* text;
  };
  const Pane panes[] = {
      {ID_INDICATOR_ENGINES, 1, "Engines: 2"},   {ID_INDICATOR_ACTIVE, 2, "Active: 2"},
      {ID_INDICATOR_SELECTED, 3, "Selected: 1"}, {ID_INDICATOR_RATE, 4, "Idle"},
      {ID_INDICATOR_ELAPSED, 5, "00:00:00"},
  };
  for (const Pane& pane : panes) {
    SCOPED_TRACE(pane.text);
    EXPECT_EQ(frame_->GetStatusBar()->CommandToIndex(pane.id), pane.index);
    EXPECT_EQ(PaneText(pane.index), pane.text);
    RECT item = {};
    frame_->GetStatusBar()->GetItemRect(pane.index, &item);
    EXPECT_GE(item.right - item.left, 20) << "the pane is too narrow for its text";
  }

  // Every File command has its handler, so none is greyed when the menu opens.
  HMENU file = ::GetSubMenu(frame_->GetMenu()->m_hMenu, 0);
  ASSERT_NE(file, nullptr);
  ::SendMessageA(hFrame_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  for (UINT id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_APP_EXIT}) {
    SCOPED_TRACE(id);
    UINT state = ::GetMenuState(file, id, MF_BYCOMMAND);
    ASSERT_NE(state, static_cast<UINT>(-1)) << "item missing";
    EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED), 0u);
  }
}

TEST_F(MainFrameTest, OpeningAFileShowsItsNameAndABadFileLeavesAnUntitledDocument) {
  OpenSite();
  EXPECT_EQ(WindowText(hFrame_), "ZBPro - site.zbp");

  std::string bad = folder_.File("bad.zbp");
  apptest::WriteBytes(bad, "not a document at all");
  EXPECT_EQ(app_->OpenDocumentFile(bad.c_str()), nullptr);
  ASSERT_EQ(g_boxes.size(), 1u) << "the failure is reported once";
  EXPECT_NE(g_boxes[0].find("bad.zbp"), std::string::npos) << g_boxes[0];
  // The document reads nothing of a damaged file; the window says it holds a new one.
  EXPECT_TRUE(::IsWindow(hFrame_));
  EXPECT_EQ(Doc()->m_siteUrl, CString(""));
  EXPECT_EQ(WindowText(hFrame_), "ZBPro - Untitled");
}

TEST_F(MainFrameTest, AnOpenedFileIsOfferedInTheFileMenu) {
  HMENU file = ::GetSubMenu(frame_->GetMenu()->m_hMenu, 0);
  ASSERT_NE(file, nullptr);
  ::SendMessageA(hFrame_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  EXPECT_NE(::GetMenuState(file, ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED, 0u)
      << "no recent file yet";

  OpenSite();
  ::SendMessageA(hFrame_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  char text[MAX_PATH] = {};
  ::GetMenuStringA(file, ID_FILE_MRU_FILE1, text, sizeof text, MF_BYCOMMAND);
  EXPECT_NE(std::string(text).find("site.zbp"), std::string::npos) << text;
  EXPECT_EQ(::GetMenuState(file, ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

TEST_F(MainFrameTest, SaveFromTheMenuWritesTheFileTheNextStartReads) {
  OpenSite();
  Doc()->m_siteUrl = "http://changed.example/";
  Doc()->SetModifiedFlag(TRUE);
  ::SendMessageA(hFrame_, WM_COMMAND, ID_FILE_SAVE, 0);
  EXPECT_FALSE(Doc()->IsModified());
  EXPECT_TRUE(g_boxes.empty());

  EXPECT_EQ(SiteOnDisk(), CString("http://changed.example/"));
}

TEST_F(MainFrameTest, ClosingAsksOnlyForChangesAndKeepsOrDropsThemAsAnswered) {
  struct Case {
    const char* name;
    bool viaExit;  // the File menu's Exit instead of the close box
    bool modified;
    int answer;
    bool windowStays;
    const char* siteOnDisk;
  };
  const Case cases[] = {
      {"cancel keeps all", false, true, IDCANCEL, true, "http://www.site.example/"},
      {"no drops the change", false, true, IDNO, false, "http://www.site.example/"},
      {"yes saves first", false, true, IDYES, false, "http://edited.example/"},
      {"exit asks the same", true, true, IDYES, false, "http://edited.example/"},
      {"unchanged closes quietly", true, false, IDCANCEL, false, "http://www.site.example/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!::IsWindow(hFrame_)) {
      app_->OnFileNew();
      frame_ = dynamic_cast<CMainFrame*>(app_->m_pMainWnd);
      ASSERT_NE(frame_, nullptr);
      hFrame_ = frame_->m_hWnd;
    }
    apptest::WriteBytes(site_, original_);
    OpenSite();
    if (c.modified) {
      Doc()->m_siteUrl = "http://edited.example/";
      Doc()->SetModifiedFlag(TRUE);
    }
    g_boxes.clear();
    g_answer = c.answer;
    if (c.viaExit) {
      ::SendMessageA(hFrame_, WM_COMMAND, ID_APP_EXIT, 0);
      MSG msg;
      while (::PeekMessageA(&msg, hFrame_, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    } else {
      ::SendMessageA(hFrame_, WM_CLOSE, 0, 0);
    }
    ASSERT_EQ(g_boxes.size(), c.modified ? 1u : 0u) << "one save prompt, only for changes";
    if (c.modified) {
      EXPECT_NE(g_boxes[0].find("site.zbp"), std::string::npos) << g_boxes[0];
    }
    EXPECT_EQ(::IsWindow(hFrame_) != FALSE, c.windowStays);
    EXPECT_EQ(SiteOnDisk(), CString(c.siteOnDisk));
  }
}

}  // namespace
