// A small program under test: a document template with a frame, a view, a status bar and a bar
// at the top. Real windows under the X display; messages sent the way the system and the message
// loop send them (commands, menu selection, idle updates, closing).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/files/Archive.h"
#include "framework/app/CommandLineInfo.h"
#include "framework/docview/Document.h"
#include "framework/app/MessageBox.h"
#include "framework/app/WinApp.h"
#include "framework/app/AppIds.h"
#include "framework/app/RecentFileList.h"
#include "framework/bars/StatusBar.h"
#include "framework/docview/DocTemplate.h"
#include "framework/docview/View.h"
#include "framework/frame/FrameWnd.h"
#include "framework/tests/frame/FrameTestIds.h"

namespace {

class SiteDoc : public CDocument {
  DECLARE_DYNCREATE(SiteDoc)
 public:
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring())
      ar << m_text;
    else
      ar >> m_text;
  }
  void DeleteContents() override { m_text.Empty(); }
  CString m_text;
};
IMPLEMENT_DYNCREATE(SiteDoc, CDocument)

class SiteView : public CView {
  DECLARE_DYNCREATE(SiteView)
 public:
  void OnUpdate(CView*, LPARAM lHint, CObject*) override { m_hints.push_back(lHint); }
  std::vector<LPARAM> m_hints;
};
IMPLEMENT_DYNCREATE(SiteView, CView)

// A plain bar along the top, 24 pixels high.
class TopBar : public CControlBar {
 public:
  BOOL Create(CWnd* parent) {
    m_dwStyle = CBRS_TOP;
    m_bAutoDelete = TRUE;
    CRect rect(0, 0, 0, 0);
    return CWnd::Create(AfxRegisterWndClass(0), "top", WS_CHILD | WS_VISIBLE, rect, parent,
                        IDW_TEST_TOPBAR);
  }
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override {
    return CSize(bStretch && bHorz ? 32767 : 100, 24);
  }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override { ++m_updates; }
  int m_updates = 0;
};

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_TEST_CAPS, ID_INDICATOR_TEST_MODE};

class SiteFrame : public CFrameWnd {
  DECLARE_DYNCREATE(SiteFrame)
 public:
  CStatusBar m_status;
  TopBar* m_top = nullptr;
  BOOL m_capsOn = TRUE;
  CString m_modeText = "INS";
  int m_actions = 0;

 protected:
  int OnCreate(LPCREATESTRUCT lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
    m_top = new TopBar;
    if (!m_top->Create(this)) return -1;
    if (!m_status.CreateEx(this, SBARS_SIZEGRIP)) return -1;
    m_status.SetIndicators(kIndicators, 3);
    RecalcLayout();
    return 0;
  }
  void OnAction() { ++m_actions; }
  void OnUpdateCaps(CCmdUI* ui) { ui->Enable(m_capsOn); }
  void OnUpdateMode(CCmdUI* ui) { ui->SetText(m_modeText); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(SiteFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(SiteFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND(ID_TEST_ACTION, OnAction)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_TEST_CAPS, OnUpdateCaps)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_TEST_MODE, OnUpdateMode)
END_MESSAGE_MAP()

int g_answer = IDCANCEL;
std::vector<std::string> g_boxes;
int AnswerBox(LPCSTR text, UINT) {
  g_boxes.push_back(text);
  return g_answer;
}

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_boxes.clear();
    g_answer = IDCANCEL;
    AfxSetMessageBoxHandler(AnswerBox);
    m_app = std::make_unique<CWinApp>("FwFrameTest");
    m_app->m_nCmdShow = SW_SHOWNORMAL;
    m_app->LoadStdProfileSettings(4);
    m_app->AddDocTemplate(new CSingleDocTemplate(IDR_TEST_FRAME, RUNTIME_CLASS(SiteDoc),
                                                 RUNTIME_CLASS(SiteFrame), RUNTIME_CLASS(SiteView)));
    m_app->OnFileNew();
    m_frame = static_cast<SiteFrame*>(m_app->m_pMainWnd);
    ASSERT_NE(m_frame, nullptr);
    m_hFrame = m_frame->m_hWnd;
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    m_dir = dir;
  }
  void TearDown() override {
    if (::IsWindow(m_hFrame)) ::DestroyWindow(m_hFrame);
    m_app.reset();
    AfxSetMessageBoxHandler(nullptr);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  SiteDoc* Doc() { return static_cast<SiteDoc*>(m_frame->GetActiveDocument()); }
  SiteView* View() { return static_cast<SiteView*>(m_frame->GetActiveView()); }
  CRect ChildRect(CWnd* child) {
    CRect r;
    child->GetWindowRect(&r);
    m_frame->ScreenToClient(&r);
    return r;
  }
  void ResizeClient(int cx, int cy) {
    CRect want(0, 0, cx, cy);
    ::AdjustWindowRectEx(&want, m_frame->GetStyle(), TRUE, m_frame->GetExStyle());
    m_frame->SetWindowPos(nullptr, 0, 0, want.Width(), want.Height(),
                          SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }
  void Idle() {
    ::SendMessageA(m_hFrame, WM_IDLEUPDATECMDUI, TRUE, 0);
    m_frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
  }
  CString ShownPaneText(int index) {
    char text[128] = {};
    m_frame->m_status.SendMessage(SB_GETTEXTA, index, reinterpret_cast<LPARAM>(text));
    return CString(text);
  }
  BOOL Command(UINT id) {
    return m_frame->OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
  }

  std::unique_ptr<CWinApp> m_app;
  SiteFrame* m_frame = nullptr;
  HWND m_hFrame = nullptr;
  std::string m_dir;
};

TEST_F(FrameTest, TheTemplateMakesDocumentFrameAndViewTogether) {
  ASSERT_NE(View(), nullptr);
  ASSERT_NE(Doc(), nullptr);
  EXPECT_EQ(View()->GetDocument(), Doc());
  EXPECT_EQ(View()->GetParentFrame(), m_frame);
  EXPECT_EQ(Doc()->GetDocTemplate(), m_app->GetFirstDocTemplate());
  EXPECT_EQ(View()->m_hints, (std::vector<LPARAM>{0})) << "one initial update";
  CString title;
  m_frame->GetWindowText(title);
  EXPECT_EQ(title, "Frame Test - Site");
  EXPECT_NE(m_frame->m_hAccelTable, nullptr);
  EXPECT_TRUE(m_frame->IsWindowVisible());

  Doc()->UpdateAllViews(nullptr, 7);
  Doc()->UpdateAllViews(View(), 8);  // the sender is not told its own change
  EXPECT_EQ(View()->m_hints, (std::vector<LPARAM>{0, 7}));
}

// The file boxes offer the document's own type first and give a typed name its extension; a
// template whose strings name no type offers every file. A new title shows in the frame at once.
TEST_F(FrameTest, TheDocumentsTypeReachesTheFileBoxesAndItsTitleTheFrame) {
  struct Case {
    const char* why;
    CDocTemplate* docTemplate;
    const char* filter;
    const char* extension;
  };
  CSingleDocTemplate bare(0xBEEF, RUNTIME_CLASS(SiteDoc), RUNTIME_CLASS(SiteFrame),
                          RUNTIME_CLASS(SiteView));
  const Case cases[] = {
      {"the strings name a type", Doc()->GetDocTemplate(),
       "Test Sites (*.zbt)|*.zbt|All Files (*.*)|*.*||", "zbt"},
      {"no strings at all", &bare, "All Files (*.*)|*.*||", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    ASSERT_NE(c.docTemplate, nullptr);
    EXPECT_STREQ(c.docTemplate->GetFileFilter(), c.filter);
    EXPECT_STREQ(c.docTemplate->GetDefaultExtension(), c.extension);
  }
  Doc()->SetTitle("Renamed.zbt");
  CString title;
  m_frame->GetWindowText(title);
  EXPECT_EQ(title, "Frame Test - Renamed.zbt");
}

TEST_F(FrameTest, BarsTakeTheirEdgesAndTheViewTheRestAfterEveryResize) {
  struct Case {
    int cx, cy;
  };
  const Case sizes[] = {{400, 300}, {640, 480}, {250, 200}};
  for (const Case& s : sizes) {
    ResizeClient(s.cx, s.cy);
    CRect client;
    m_frame->GetClientRect(&client);
    CRect top = ChildRect(m_frame->m_top);
    CRect status = ChildRect(&m_frame->m_status);
    CRect view = ChildRect(View());
    SCOPED_TRACE(testing::Message() << client.Width() << "x" << client.Height());
    EXPECT_EQ(top, CRect(0, 0, client.Width(), 24));
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(status.Width(), client.Width());
    EXPECT_GT(status.Height(), 10);
    EXPECT_EQ(view, CRect(0, 24, client.Width(), status.top));
  }
}

TEST_F(FrameTest, BarCommandsHideAndShowBarsAndTheirMenuItemsFollow) {
  ResizeClient(400, 300);
  CMenu* file = m_frame->GetMenu()->GetSubMenu(0);
  ASSERT_NE(file, nullptr);
  auto checked = [&](UINT id) {
    AfxUpdateMenuCmdUI(file, m_frame, TRUE);
    return (file->GetMenuState(id, MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  EXPECT_TRUE(checked(AFX_IDW_STATUS_BAR));
  EXPECT_TRUE(checked(IDW_TEST_TOPBAR));

  EXPECT_TRUE(Command(AFX_IDW_STATUS_BAR));
  EXPECT_FALSE(m_frame->m_status.IsWindowVisible());
  EXPECT_FALSE(checked(AFX_IDW_STATUS_BAR));
  EXPECT_EQ(ChildRect(View()).bottom, 300) << "the view takes the status bar's place";

  EXPECT_TRUE(Command(IDW_TEST_TOPBAR));
  EXPECT_EQ(ChildRect(View()), CRect(0, 0, 400, 300));

  EXPECT_TRUE(Command(AFX_IDW_STATUS_BAR));
  EXPECT_TRUE(m_frame->m_status.IsWindowVisible());
  EXPECT_TRUE(checked(AFX_IDW_STATUS_BAR));
  EXPECT_LT(ChildRect(View()).bottom, 300);

  // A delayed hide waits for the idle layout, but already counts as hidden.
  m_frame->ShowControlBar(m_frame->m_top, TRUE, TRUE);
  EXPECT_TRUE(m_frame->m_top->IsVisible());
  EXPECT_FALSE(m_frame->m_top->IsWindowVisible());
  Idle();
  EXPECT_TRUE(m_frame->m_top->IsWindowVisible());
  EXPECT_EQ(ChildRect(View()).top, 24);

  // An id in the bar range with no bar is not the frame's to handle.
  EXPECT_FALSE(Command(0xE8F0));
  EXPECT_EQ(m_frame->GetControlBar(0xE8F0), nullptr);
}

TEST_F(FrameTest, StatusPanesShowTheirIndicatorsAndFollowIdleUpdates) {
  ResizeClient(500, 300);
  CStatusBar& bar = m_frame->m_status;
  struct Case {
    UINT id;
    int index;
  };
  const Case lookups[] = {{ID_SEPARATOR, 0},
                          {ID_INDICATOR_TEST_CAPS, 1},
                          {ID_INDICATOR_TEST_MODE, 2},
                          {ID_TEST_ACTION, -1}};
  for (const Case& c : lookups) EXPECT_EQ(bar.CommandToIndex(c.id), c.index) << c.id;
  EXPECT_EQ(bar.GetPaneText(1), "CAP");
  EXPECT_EQ(ShownPaneText(1), "CAP");
  EXPECT_TRUE(bar.GetPaneStyle(0) & SBPS_STRETCH);

  // The stretch pane takes what the fixed panes leave; the wider string gets the wider pane.
  CRect caps, mode, message;
  bar.GetItemRect(0, &message);
  bar.GetItemRect(1, &caps);
  bar.GetItemRect(2, &mode);
  EXPECT_GT(mode.Width(), caps.Width());
  EXPECT_GT(message.Width(), 200);
  ResizeClient(600, 300);
  CRect wider;
  bar.GetItemRect(0, &wider);
  EXPECT_EQ(wider.Width() - message.Width(), 100) << "only the stretch pane grows";

  m_frame->m_capsOn = FALSE;
  m_frame->m_modeText = "OVR";
  Idle();
  EXPECT_EQ(ShownPaneText(1), "") << "a disabled pane shows nothing";
  EXPECT_EQ(bar.GetPaneText(1), "CAP") << "and keeps its text for later";
  EXPECT_EQ(ShownPaneText(2), "OVR");
  m_frame->m_capsOn = TRUE;
  Idle();
  EXPECT_EQ(ShownPaneText(1), "CAP");
  EXPECT_GT(m_frame->m_top->m_updates, 0) << "every visible bar is asked at idle";

  EXPECT_FALSE(bar.SetPaneText(9, "x")) << "no such pane";
}

// Dark pixels (text) inside the rectangle of the window, as drawn on the screen.
int DarkPixels(CWnd& wnd, const CRect& rect) {
  wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_FRAME);
  HDC dc = ::GetDC(wnd.m_hWnd);
  int dark = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      COLORREF c = ::GetPixel(dc, x, y);
      if (c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++dark;
    }
  }
  ::ReleaseDC(wnd.m_hWnd, dc);
  return dark;
}

TEST_F(FrameTest, TheStatusControlDrawsItsPaneTexts) {
  ResizeClient(500, 300);
  CStatusBar& bar = m_frame->m_status;
  CRect caps;
  bar.GetItemRect(1, &caps);
  EXPECT_GT(DarkPixels(bar, caps), 0) << "the text CAP is drawn";
  m_frame->m_capsOn = FALSE;
  Idle();
  EXPECT_EQ(DarkPixels(bar, caps), 0) << "a disabled pane is blank";
}

TEST_F(FrameTest, MenuSelectionShowsHelpTextAndTheIdleTextComesBack) {
  CStatusBar& bar = m_frame->m_status;
  struct Case {
    const char* why;
    WPARAM wParam;
    LPARAM lParam;
    const char* expected;
  };
  HMENU menu = ::GetMenu(m_hFrame);
  const Case cases[] = {
      {"an item shows the first line of its string", MAKEWPARAM(ID_TEST_ACTION, MF_STRING),
       reinterpret_cast<LPARAM>(menu), "Does the action"},
      {"an item without a string shows nothing", MAKEWPARAM(ID_TEST_NOHANDLER, MF_STRING),
       reinterpret_cast<LPARAM>(menu), ""},
      {"a popup shows nothing", MAKEWPARAM(0, MF_POPUP), reinterpret_cast<LPARAM>(menu), ""},
      {"the menu closing brings the idle text back", MAKEWPARAM(0, 0xFFFF), 0, "Ready"},
  };
  for (const Case& c : cases) {
    ::SendMessageA(m_hFrame, WM_MENUSELECT, c.wParam, c.lParam);
    EXPECT_EQ(bar.GetPaneText(0), c.expected) << c.why;
  }
  m_frame->SetMessageText("Working");
  EXPECT_EQ(ShownPaneText(0), "Working");
  ::SendMessageA(m_hFrame, WM_POPMESSAGESTRING, 0, 0);
  EXPECT_EQ(ShownPaneText(0), "Ready");
}

TEST_F(FrameTest, CommandsAndAcceleratorsReachTheFrameAndMenusDisableWhatNobodyHandles) {
  // The frame's menu-popup handler applies m_bAutoMenuEnable.
  CMenu* file = m_frame->GetMenu()->GetSubMenu(0);
  auto openMenu = [&] {
    ::SendMessageA(m_hFrame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file->m_hMenu), 0);
  };
  m_frame->m_bAutoMenuEnable = FALSE;
  openMenu();
  EXPECT_FALSE(file->GetMenuState(ID_TEST_NOHANDLER, MF_BYCOMMAND) & MF_GRAYED);
  m_frame->m_bAutoMenuEnable = TRUE;
  openMenu();
  EXPECT_FALSE(file->GetMenuState(ID_TEST_ACTION, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(file->GetMenuState(ID_TEST_NOHANDLER, MF_BYCOMMAND) & MF_GRAYED);

  // The accelerator of the template's resource reaches the frame's handler.
  MSG msg = {};
  msg.hwnd = m_hFrame;
  msg.message = WM_KEYDOWN;
  msg.wParam = 'T';
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  EXPECT_TRUE(m_frame->PreTranslateMessage(&msg));
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  EXPECT_EQ(m_frame->m_actions, 1);
}

TEST_F(FrameTest, ClosingAModifiedDocumentAsksFirst) {
  std::string path = m_dir + "zb-frame-close.zbt";
  DeleteFileA(path.c_str());
  Doc()->m_text = "changed";
  Doc()->SetPathName(path.c_str());
  Doc()->SetModifiedFlag();

  g_answer = IDCANCEL;
  ::SendMessageA(m_hFrame, WM_CLOSE, 0, 0);
  ASSERT_TRUE(::IsWindow(m_hFrame)) << "Cancel keeps the window and the changes";
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_NE(g_boxes[0].find("Save changes to"), std::string::npos);
  EXPECT_TRUE(Doc()->IsModified());

  g_answer = IDYES;
  ::SendMessageA(m_hFrame, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(m_hFrame)) << "Yes saves, then closes";
  EXPECT_EQ(m_app->m_pMainWnd, nullptr);
  EXPECT_EQ(::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES, true);
  DeleteFileA(path.c_str());
}

TEST_F(FrameTest, ASaveThatFailsKeepsTheWindowAndTheChanges) {
  std::string path = m_dir + "no-such-folder-zb\\site.zbt";
  Doc()->m_text = "precious";
  Doc()->SetPathName(path.c_str());
  Doc()->SetModifiedFlag();
  g_answer = IDYES;
  ::SendMessageA(m_hFrame, WM_CLOSE, 0, 0);
  ASSERT_TRUE(::IsWindow(m_hFrame));
  EXPECT_TRUE(Doc()->IsModified());
  EXPECT_EQ(Doc()->m_text, "precious");
  EXPECT_GE(g_boxes.size(), 2u) << "the question, then the failure";

  g_answer = IDNO;
  ::SendMessageA(m_hFrame, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(m_hFrame)) << "No drops the changes and closes";
}

TEST_F(FrameTest, AFileThatCannotBeOpenedLeavesTheDocumentAsItWas) {
  std::string saved = m_dir + "zb-frame-open.zbt";
  Doc()->m_text = "kept";
  ASSERT_TRUE(Doc()->OnSaveDocument(saved.c_str()));
  ASSERT_NE(m_app->OpenDocumentFile(saved.c_str()), nullptr);
  EXPECT_EQ(Doc()->m_text, "kept");
  CString title;
  m_frame->GetWindowText(title);
  EXPECT_EQ(title, "Frame Test - zb-frame-open.zbt");

  g_boxes.clear();
  std::string missing = m_dir + "zb-frame-missing.zbt";
  DeleteFileA(missing.c_str());
  EXPECT_EQ(m_app->OpenDocumentFile(missing.c_str()), nullptr);
  ASSERT_EQ(g_boxes.size(), 1u) << "the failure is reported";
  EXPECT_EQ(Doc()->m_text, "kept");
  EXPECT_EQ(lstrcmpiA(Doc()->GetPathName(), saved.c_str()), 0);
  EXPECT_TRUE(::IsWindow(m_hFrame));
  EXPECT_EQ(lstrcmpiA((*m_app->m_pRecentFileList)[0], saved.c_str()), 0)
      << "only the file that opened is remembered";
  DeleteFileA(saved.c_str());
}

}  // namespace

namespace {

// The start of a program from its command line, with no window made beforehand.
class ShellStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_boxes.clear();
    AfxSetMessageBoxHandler(AnswerBox);
    m_app = std::make_unique<CWinApp>("FwShellTest");
    m_app->AddDocTemplate(new CSingleDocTemplate(IDR_TEST_FRAME, RUNTIME_CLASS(SiteDoc),
                                                 RUNTIME_CLASS(SiteFrame), RUNTIME_CLASS(SiteView)));
  }
  void TearDown() override {
    if (m_app->m_pMainWnd) m_app->m_pMainWnd->DestroyWindow();
    m_app.reset();  // deletes the template; a document left behind would be deleted twice
    AfxSetMessageBoxHandler(nullptr);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  std::unique_ptr<CWinApp> m_app;
};

TEST_F(ShellStartTest, AFileThatCannotBeOpenedFailsTheStartCleanly) {
  CCommandLineInfo info;
  info.m_nShellCommand = CCommandLineInfo::FileOpen;
  info.m_strFileName = "C:\\no-such-folder-zb\\site.zbt";
  EXPECT_FALSE(m_app->ProcessShellCommand(info));
  EXPECT_EQ(m_app->m_pMainWnd, nullptr) << "the window made for the document is gone again";
  auto* tmpl = static_cast<CSingleDocTemplate*>(m_app->GetFirstDocTemplate());
  EXPECT_EQ(tmpl->GetDocument(), nullptr) << "and so is the document";
  EXPECT_EQ(g_boxes.size(), 1u) << "the user is told why";
  EXPECT_EQ(m_app->ExitInstance(), 0) << "a defined exit code after the failed start";
}

TEST_F(ShellStartTest, AnEmptyCommandLineStartsANewDocument) {
  CCommandLineInfo fresh;
  EXPECT_TRUE(m_app->ProcessShellCommand(fresh));
  ASSERT_NE(m_app->m_pMainWnd, nullptr);
  EXPECT_TRUE(m_app->m_pMainWnd->IsKindOf(RUNTIME_CLASS(SiteFrame)));
}

}  // namespace

namespace {

CString ClassValue(const char* key) {
  char value[MAX_PATH] = {};
  DWORD size = sizeof value;
  CString path = CString("Software\\Classes\\") + key;
  if (RegGetValueA(HKEY_CURRENT_USER, path, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return CString("(none)");
  return CString(value);
}

TEST_F(ShellStartTest, TheDocumentTypeIsRegisteredForTheUserOnly) {
  struct Case {
    const char* key;
    const char* expected;
  };
  m_app->EnableShellOpen();
  ASSERT_TRUE(m_app->RegisterShellFileTypes());
  const Case cases[] = {
      {".zbt", "ZBFrameTest.Site"},
      {"ZBFrameTest.Site", "Test Site"},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassValue(c.key), c.expected) << c.key;
  CString command = ClassValue("ZBFrameTest.Site\\shell\\open\\command");
  EXPECT_NE(command.Find("framework_app_tests"), -1) << static_cast<LPCSTR>(command);
  EXPECT_NE(command.Find("\"%1\""), -1) << "the file name is quoted";
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\ZBFrameTest.Site");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Classes\\ZBFrameTest.Site");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Classes\\.zbt");
}

}  // namespace
