// The main window's panes, bars, progress, closing during a run, mail items and the enabling of
// its commands, on real windows under the X display with the English language module.
#include <gtest/gtest.h>

#include "toolkit/menus/TkMenuItemData.h"
#include <windows.h>

#include <dlgs.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/settings/SearchProperties.h"
#include "app/services/AppPaths.h"
#include "app/program/NQCommandLineInfo.h"
#include "app/settings/SelectionTemplates.h"
#include "app/document/ZubrinDoc.h"
#include "app/tests/AppTestSupport.h"
#include "engines/db/EngineServices.h"
#include "reports/ReportCommands.h"
#include "toolkit/frame/WindowPlacement.h"
#include "framework/app/MessageBox.h"
#include "framework/app/WinApp.h"
#include "framework/app/AppIds.h"
#include "framework/docview/DocTemplate.h"
#include "framework/docview/View.h"
#include "framework/gdi/Menu.h"
#include "resources/resource.h"
#include "ui/MainFrame.h"
#include "ui/PlaceholderView.h"
#include "toolkit/usertools/WgUserTool.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkExpMenuWnd.h"
#include "toolkit/bars/TkHiddenButtonsMenu.h"
#include "toolkit/bars/TkToolBarLayout.h"
#include "toolkit/services/TkProfileStore.h"
#include "ui/Panes.h"
#include "ui/views/SearchEngineView.h"

namespace {

int g_boxCount = 0;
std::string g_lastBox;
int CountBox(LPCSTR text, UINT) {
  ++g_boxCount;
  g_lastBox = text;
  return IDNO;
}
int QuietEngineBox(HWND, const char*, const char*, unsigned) { return IDOK; }

bool g_mail = false;
bool MailSource() { return g_mail; }

// The help requests the window makes, instead of a help program.
struct HelpCall {
  DWORD_PTR data;
  UINT command;
  bool operator==(const HelpCall& o) const { return data == o.data && command == o.command; }
};
std::vector<HelpCall> g_help;
class HelpApp : public CWinApp {
 public:
  HelpApp() : CWinApp("ZBProFrameTest") {}
  void WinHelp(DWORD_PTR dwData, UINT nCmd) override { g_help.push_back({dwData, nCmd}); }
};

// The state an update handler gives a command.
class StateCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    enabled = bOn != FALSE;
  }
  void SetCheck(int n) override { checked = n; }
  void SetText(LPCSTR text) override { this->text = text; }
  bool enabled = false;
  int checked = -1;
  std::string text;
};

// The text the item shows, also when the owner-drawn menus draw it.
std::string MenuText(HMENU menu, UINT id) {
  return TkGetMenuItemText(menu, id, MF_BYCOMMAND).GetString();
}

CRect ChildRect(CWnd* parent, CWnd* child) {
  CRect r;
  child->GetWindowRect(&r);
  parent->ScreenToClient(&r);
  return r;
}

class MainFrameWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { Open(false); }
  void Open(bool mail) {
    ASSERT_TRUE(language_.Loaded()) << "ZBResENU.dll is not beside the test";
    g_boxCount = 0;
    g_mail = mail;
    // Runs in these tests never ask a banner server: no address but the loopback is contacted.
    GetSearchProperties().m_nBannersOn = 0;

    CMainFrame::SetMailAvailableSource(MailSource);
    AfxSetMessageBoxHandler(CountBox);
    SetEngineMessageBox(QuietEngineBox);
    apptest::WriteBytes(folder_.File("engines.dat"), "[Alpha]\nenabled=1\n\n[Beta]\nenabled=1\n");
    SetEngineDataFolder(folder_.Path().c_str());
    app_ = std::make_unique<HelpApp>();
    app_->AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZubrinDoc),
                                                RUNTIME_CLASS(CMainFrame),
                                                RUNTIME_CLASS(CPlaceholderView)));
    app_->OnFileNew();
    frame_ = dynamic_cast<CMainFrame*>(app_->m_pMainWnd);
    ASSERT_NE(frame_, nullptr);
    hFrame_ = frame_->m_hWnd;
    frame_->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER);
  }
  void TearDown() override {
    if (::IsWindow(hFrame_)) {
      if (Doc()) {
        Doc()->m_running = 0;
        Doc()->SetModifiedFlag(FALSE);
      }
      ::DestroyWindow(hFrame_);
    }
    app_.reset();
    CMainFrame::SetMailAvailableSource(nullptr);
    SetCsvExportAsker(nullptr);
    SetReportOpener(nullptr);
    CZubrinDoc::s_busy = 0;
    SetCommandLineInfo(nullptr);
    SetEngineDataFolder("");
    SetEngineMessageBox(nullptr);
    AfxSetMessageBoxHandler(nullptr);
    Pump();
  }
  void Reopen(bool mail) {
    TearDown();
    Open(mail);
  }
  static void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  }
  CZubrinDoc* Doc() { return dynamic_cast<CZubrinDoc*>(frame_->GetActiveDocument()); }
  StateCmdUI Update(UINT id) {
    StateCmdUI ui;
    ui.m_nID = id;
    frame_->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    return ui;
  }
  HMENU Popup(const char* title) {
    HMENU bar = frame_->GetMenu()->m_hMenu;
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
      char text[64] = {};
      ::GetMenuStringA(bar, i, text, sizeof text, MF_BYPOSITION);
      if (std::string(text) == title) return ::GetSubMenu(bar, i);
    }
    return nullptr;
  }
  void OpenPopup(HMENU popup) {
    ::SendMessageA(hFrame_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
  }
  int ProgressControls() {
    int count = 0;
    for (HWND child = ::GetWindow(frame_->GetStatusBar()->m_hWnd, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
      char cls[64] = {};
      ::GetClassNameA(child, cls, sizeof cls);
      if (std::string(cls) == PROGRESS_CLASSA) ++count;
    }
    return count;
  }

  apptest::LanguageModuleScope language_;
  apptest::TempFolder folder_;
  std::unique_ptr<CWinApp> app_;
  CMainFrame* frame_ = nullptr;
  HWND hFrame_ = nullptr;
};

TEST_F(MainFrameWindowTest, TheFormKeepsItsHeightAndTheTermPaneItsWidthAtEverySize) {
  struct Size {
    int cx, cy;
  };
  for (Size s : {Size{800, 600}, Size{500, 400}, Size{1100, 900}}) {
    SCOPED_TRACE(s.cx);
    frame_->SetWindowPos(nullptr, 0, 0, s.cx, s.cy, SWP_NOZORDER);
    CTkSplitterWnd* outer = frame_->GetOuterSplitter();
    CRect form = ChildRect(outer, frame_->GetSearchFormPane());
    CRect terms = ChildRect(frame_->GetInnerSplitter(), frame_->GetSearchTermPane());
    CRect engines = ChildRect(frame_->GetInnerSplitter(), frame_->GetEngineViewPane());
    EXPECT_EQ(form.Height(), 72);
    EXPECT_EQ(terms.Width(), 175);
    EXPECT_GT(engines.left, terms.right - 1) << "the engines are right of the terms";
    EXPECT_EQ(::GetDlgCtrlID(outer->m_hWnd), ID_MAINFRAME_SPLITTER);
  }
  // The user cannot drag the bar under the form.
  EXPECT_NE(frame_->GetOuterSplitter()->GetSplitterStyle() & TKSPLIT_NOSIZING, 0u);
  EXPECT_EQ(frame_->GetInnerSplitter()->GetSplitterStyle() & TKSPLIT_NOSIZING, 0u);
}

TEST_F(MainFrameWindowTest, TheTermPaneHidesAndShowsWithItsMenuTextAndStillTakesItsCommands) {
  HMENU view = Popup("&View");
  ASSERT_NE(view, nullptr);
  CWnd* terms = frame_->GetSearchTermPane();
  CWnd* engines = frame_->GetEngineViewPane();
  struct Step {
    bool shown;
    const char* menuText;
  };
  // Shown at first, then hidden, then shown again by the same command.
  const Step steps[] = {{true, "Hide &Search Terms"}, {false, "Show &Search Terms"},
                        {true, "Hide &Search Terms"}};
  for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
    SCOPED_TRACE(i);
    const Step& step = steps[i];
    if (i > 0) ::SendMessageA(hFrame_, WM_COMMAND, ID_VIEW_SEARCHTERMS, 0);
    EXPECT_EQ(frame_->IsSearchTermPaneShown() != FALSE, step.shown);
    EXPECT_EQ(terms->IsWindowVisible() != FALSE, step.shown);
    EXPECT_EQ(frame_->GetSearchTermPane(), terms) << "the pane is kept while hidden";
    CRect inner;
    frame_->GetInnerSplitter()->GetClientRect(&inner);
    CRect list = ChildRect(frame_->GetInnerSplitter(), engines);
    if (step.shown)
      EXPECT_GT(list.left, 175);
    else
      EXPECT_LT(list.left, 10) << "the engines take the whole width";
    OpenPopup(view);
    EXPECT_EQ(MenuText(view, ID_VIEW_SEARCHTERMS), step.menuText);
    EXPECT_EQ((::GetMenuState(view, ID_VIEW_SEARCHTERMS, MF_BYCOMMAND) & MF_CHECKED) != 0,
              step.shown);
  }

  // Hidden, a term command still makes the term view active and reaches it.
  ::SendMessageA(hFrame_, WM_COMMAND, ID_VIEW_SEARCHTERMS, 0);
  ASSERT_FALSE(terms->IsWindowVisible());
  static HWND s_target;
  static std::vector<UINT> s_commands;
  s_target = terms->m_hWnd;
  s_commands.clear();
  HHOOK hook = ::SetWindowsHookExA(
      WH_CALLWNDPROC,
      [](int code, WPARAM w, LPARAM l) -> LRESULT {
        auto* msg = reinterpret_cast<CWPSTRUCT*>(l);
        if (code >= 0 && msg->hwnd == s_target && msg->message == WM_COMMAND)
          s_commands.push_back(LOWORD(msg->wParam));
        return ::CallNextHookEx(nullptr, code, w, l);
      },
      nullptr, ::GetCurrentThreadId());
  frame_->OnCmdMsg(ID_TERM_ADD, CN_COMMAND, nullptr, nullptr);
  ::UnhookWindowsHookEx(hook);
  // The command arrives first; what the view then does (an edit of the new row's label, whose
  // notices also come as commands) is its own.
  ASSERT_FALSE(s_commands.empty());
  EXPECT_EQ(s_commands.front(), static_cast<UINT>(ID_TERM_ADD));
  EXPECT_EQ(static_cast<CWnd*>(frame_->GetActiveView()), terms);
}

TEST_F(MainFrameWindowTest, ProgressTakesItsRangeAndPlaceAndASecondBeginReplacesTheFirst) {
  struct Case {
    int upper, lower;
    const char* caption;
    int low, high;
  };
  // A lower bound of 1 means "from nothing done"; other bounds stay.
  const Case cases[] = {{50, 1, "Reading the document", 0, 50},
                        {10, 3, nullptr, 3, 10},
                        {200, 0, "Saving", 0, 200}};
  CStatusBar* bar = frame_->GetStatusBar();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.upper);
    CMainFrame::BeginProgress(c.upper, c.lower, c.caption);
    ASSERT_NE(frame_->GetProgressCtrl(), nullptr);
    EXPECT_EQ(ProgressControls(), 1) << "a begin while one is shown replaces it";
    int low = -1, high = -1;
    frame_->GetProgressCtrl()->GetRange(low, high);
    EXPECT_EQ(low, c.low);
    EXPECT_EQ(high, c.high);
    EXPECT_EQ(frame_->GetProgressCtrl()->GetPos(), c.low);

    CRect pane, placed = ChildRect(bar, frame_->GetProgressCtrl());
    bar->GetItemRect(0, &pane);
    EXPECT_EQ(placed.right, pane.right - 8);
    EXPECT_EQ(placed.top, pane.top + 2);
    EXPECT_EQ(placed.bottom, pane.bottom - 2);
    if (c.caption) {
      EXPECT_EQ(std::string(bar->GetPaneText(0)), c.caption);
      EXPECT_GT(placed.left, pane.left + 10) << "right of the caption";
    } else {
      EXPECT_EQ(placed.left, pane.left);
    }
  }

  // A counter pane that widens during the run narrows the message pane: the bar follows it,
  // and so it does when the window is sized.
  for (int sized : {0, 1}) {
    if (sized)
      frame_->SetWindowPos(nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    else
      frame_->SetPaneTextSized(ID_INDICATOR_ENGINES, "Engines: 12345 with a longer text");
    CRect pane, placed = ChildRect(bar, frame_->GetProgressCtrl());
    bar->GetItemRect(0, &pane);
    EXPECT_EQ(placed.right, pane.right - 8) << (sized ? "window sized" : "pane widened");
  }

  int before = frame_->GetProgressCtrl()->GetPos();
  CMainFrame::StepProgress();
  EXPECT_EQ(frame_->GetProgressCtrl()->GetPos(), before + 1);
  // Unattended, the bar stands still.
  SetCommandLineInfo(new NQCommandLineInfo("/auto"));
  CMainFrame::StepProgress();
  EXPECT_EQ(frame_->GetProgressCtrl()->GetPos(), before + 1);

  CMainFrame::EndProgress();
  EXPECT_EQ(frame_->GetProgressCtrl(), nullptr);
  EXPECT_EQ(ProgressControls(), 0);
  Pump();
  EXPECT_EQ(std::string(bar->GetPaneText(0)), "Ready");
}

TEST_F(MainFrameWindowTest, ClosingDuringARunWaitsForItsEndAndThenClosesOnce) {
  static int s_destroys;
  static HWND s_frame;
  s_destroys = 0;
  s_frame = hFrame_;
  HHOOK hook = ::SetWindowsHookExA(
      WH_CALLWNDPROC,
      [](int code, WPARAM w, LPARAM l) -> LRESULT {
        auto* msg = reinterpret_cast<CWPSTRUCT*>(l);
        if (code >= 0 && msg->hwnd == s_frame && msg->message == WM_DESTROY) ++s_destroys;
        return ::CallNextHookEx(nullptr, code, w, l);
      },
      nullptr, ::GetCurrentThreadId());
  Doc()->SetModifiedFlag(TRUE);
  Doc()->m_running = 1;
  ::SendMessageA(hFrame_, WM_CLOSE, 0, 0);
  ::SendMessageA(hFrame_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindow(hFrame_)) << "the run keeps the window";
  EXPECT_EQ(Doc()->m_closePending, 1);
  EXPECT_EQ(g_boxCount, 0) << "no save prompt while the run goes on";

  // The run's end clears its flags and closes the window it was asked to close.
  Doc()->m_running = 0;
  Doc()->m_closePending = 0;
  ::PostMessageA(hFrame_, WM_CLOSE, 0, 0);
  Pump();
  ::UnhookWindowsHookEx(hook);
  EXPECT_FALSE(::IsWindow(hFrame_));
  EXPECT_EQ(s_destroys, 1);
  EXPECT_EQ(g_boxCount, 1) << "the save prompt comes once, at the real close";
}

TEST_F(MainFrameWindowTest, WithoutMailTheMailItemsAndTheirDoubledSeparatorGo) {
  struct Case {
    bool mail;
    bool itemsThere;
  };
  for (Case c : {Case{false, false}, Case{true, true}}) {
    SCOPED_TRACE(c.mail);
    Reopen(c.mail);
    HMENU reports = Popup("&Reports");
    ASSERT_NE(reports, nullptr);
    int before = ::GetMenuItemCount(reports);
    OpenPopup(reports);
    for (UINT id : {ID_MAIL_SUMMARY, ID_MAIL_KEYWORD, ID_MAIL_SUBMITTAL, ID_MAIL_COMPETITOR,
                    ID_MAIL_KEYWORDSTAT, ID_MAIL_URLSUMMARY}) {
      EXPECT_EQ(::GetMenuState(reports, id, MF_BYCOMMAND) != static_cast<UINT>(-1),
                c.itemsThere)
          << id;
    }
    // The view reports and the CSV export stay, one separator between them.
    int count = ::GetMenuItemCount(reports);
    EXPECT_EQ(count, c.mail ? before : before - 7);
    for (int i = 1; i < count; ++i) {
      bool sep = ::GetMenuItemID(reports, i) == 0 && ::GetMenuItemID(reports, i - 1) == 0;
      EXPECT_FALSE(sep) << "two separators at " << i;
    }
    EXPECT_NE(::GetMenuState(reports, ID_EXPORT_CSV, MF_BYCOMMAND), static_cast<UINT>(-1));
    // The document's own mail in the File menu goes the same way.
    HMENU file = Popup("&File");
    OpenPopup(file);
    EXPECT_EQ(::GetMenuState(file, ID_FILE_SEND_MAIL, MF_BYCOMMAND) != static_cast<UINT>(-1),
              c.itemsThere);
    for (int i = 1; i < ::GetMenuItemCount(file); ++i)
      EXPECT_FALSE(::GetMenuItemID(file, i) == 0 && ::GetMenuItemID(file, i - 1) == 0) << i;
    // The toolbar loses the mail button and the separator after it.
    CTkToolBar* bar = frame_->GetMainToolBar();
    EXPECT_EQ(bar->CommandToIndex(ID_MAIL_SUMMARY) >= 0, c.mail);
    EXPECT_EQ(bar->GetCount(), c.mail ? 11 : 9);
  }
}

// The menus show the shortcut texts of their resource: also the keys that no accelerator carries
// (the views handle Ins, F2, Del and Esc themselves, the edit controls the edit keys), and the
// page keys as the user knows them. The frame's table is the resource's, and nothing about the
// keys is stored.
TEST_F(MainFrameWindowTest, MenusKeepTheShortcutTextsOfTheirResource) {
  EXPECT_FALSE(frame_->GetAccelManager()->IsInitialized());
  struct Case {
    const char* popup;
    UINT id;
    const char* text;
  };
  const Case cases[] = {
      {"&File", ID_FILE_OPEN, "&Open...\tCtrl+O"},
      {"&Edit", ID_EDIT_CUT, "Cu&t\tCtrl+X"},
      {"&Edit", ID_EDIT_COPY, "&Copy\tCtrl+C"},
      {"&Edit", ID_EDIT_PASTE, "&Paste\tCtrl+V"},
      {"&Edit", ID_EDIT_SELECT_ALL, "Select A&ll\tCtrl+A"},
      {"&Edit", ID_TERM_ADD, "&Add Search Term\tIns"},
      {"&Edit", ID_TERM_EDIT, "&Edit Search Term\tF2"},
      {"&Edit", ID_TERM_DELETE, "&Delete Search Term\tDel"},
      {"&View", ID_TERM_NEXT, "&Next Search Term\tCtrl+PgDn"},
      {"&View", ID_TERM_PREVIOUS, "&Previous Search Term\tCtrl+PgUp"},
      {"&Search", 32885, "S&top\tEsc"},
  };
  for (const Case& c : cases) {
    HMENU popup = Popup(c.popup);
    ASSERT_NE(popup, nullptr) << c.popup;
    OpenPopup(popup);
    EXPECT_EQ(MenuText(popup, c.id), c.text);
  }
  // The frame's table, tried on a window of no consequence: the frame itself would open the
  // file dialog.
  HWND quiet = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 nullptr, nullptr);
  MSG msg = {quiet, WM_KEYDOWN, 'O', 0, 0, {0, 0}};
  BYTE state[256] = {};
  ::GetKeyboardState(state);
  BYTE saved = state[VK_CONTROL];
  state[VK_CONTROL] = 0x80;
  ::SetKeyboardState(state);
  EXPECT_NE(::TranslateAcceleratorA(quiet, frame_->m_hAccelTable, &msg), 0);
  state[VK_CONTROL] = saved;
  ::SetKeyboardState(state);
  ::DestroyWindow(quiet);
  // Closing stores no table of keys.
  app_->SetRegistryKey("ZBPro Frame Tests");
  CTkProfileStore store(HKEY_CURRENT_USER);
  store.WriteProfileString("Settings", "kbdAccel_MainFrame", nullptr);
  ::SendMessageA(hFrame_, WM_CLOSE, 0, 0);
  BYTE* data = nullptr;
  UINT size = 0;
  EXPECT_FALSE(store.GetProfileBinary("Settings", "kbdAccel_MainFrame", &data, &size));
  delete[] data;
}

TEST_F(MainFrameWindowTest, CommandsFollowTheRunTheNewDocumentAndMail) {
  struct Flags {
    const char* name;
    LONG running, fresh, busy;
    bool mail;
  };
  struct Expect {
    UINT id;
    bool idle, running, fresh, busy, noMail;
  };
  const Flags flags[] = {{"idle", 0, 0, 0, true},
                         {"running", 1, 0, 0, true},
                         {"fresh", 0, 1, 0, true},
                         {"busy", 0, 0, 1, true},
                         {"no mail", 0, 0, 0, false}};
  const Expect expects[] = {
      {ID_EXPORT_CSV, true, false, true, false, true},
      // The frame's rule (not while a new document is set up) and the document's (not during
      // a run) together.
      {ID_FILE_NEW, true, false, true, false, true},
      {ID_FILE_OPEN, true, false, true, false, true},
      {ID_MAIL_SUMMARY, true, false, false, false, false},
      {ID_MAIL_URLSUMMARY, true, false, false, false, false},
      // The reports read the engine sets that a run re-creates.
      {ID_VIEW_SUMMARY, true, false, true, false, true},
      {ID_VIEW_KEYWORD, true, false, true, false, true},
      {ID_VIEW_SUBMITTAL, true, false, true, false, true},
      {ID_VIEW_COMPETITOR, true, false, true, false, true},
      {ID_VIEW_KEYWORDSTAT, true, false, true, false, true},
      {ID_VIEW_URLSUMMARY, true, false, true, false, true},
      {ID_VIEW_DETAIL, true, false, true, false, true},
      {ID_TERM_ADD, true, false, true, false, true},
      {ID_TERM_IMPORT, true, false, true, false, true},
      {ID_VIEW_SEARCHTERMS, true, true, true, true, true},
      // No engine selected: no results report.
      {ID_VIEW_RESULTS, false, false, false, false, false},
      // No user tools yet: their commands stay off.
      {ID_TOOLS_FIRST, false, false, false, false, false},
  };
  for (const Flags& f : flags) {
    SCOPED_TRACE(f.name);
    g_mail = f.mail;
    Doc()->m_running = f.running;
    Doc()->m_fresh = f.fresh;
    CZubrinDoc::s_busy = f.busy;
    for (const Expect& e : expects) {
      SCOPED_TRACE(e.id);
      bool want = f.running ? e.running : f.fresh ? e.fresh : f.busy ? e.busy
                  : !f.mail ? e.noMail : e.idle;
      StateCmdUI ui = Update(e.id);
      EXPECT_TRUE(ui.m_bEnableChanged) << "the frame decides this command";
      EXPECT_EQ(ui.enabled, want);
    }
  }
  CZubrinDoc::s_busy = 0;
}

TEST_F(MainFrameWindowTest, BarsStandInTheirOrderWithTheirTextsAndTheTemplateCombo) {
  CTkReBar* rebar = frame_->GetReBar();
  EXPECT_EQ(::GetDlgCtrlID(rebar->m_hWnd), ID_MAINFRAME_REBAR);
  EXPECT_NE(rebar->GetBarStyle() & CBRS_HIDE_INPLACE, 0u);
  struct Band {
    UINT id;
    HWND child;
  };
  const Band bands[] = {{0, frame_->GetMenuBar()->m_hWnd},
                        {1, ::GetDlgItem(rebar->m_hWnd, ID_MAINFRAME_DIALOGBAR)},
                        {2, frame_->GetMainToolBar()->m_hWnd},
                        {3, frame_->GetTemplateBar()->m_hWnd}};
  ASSERT_EQ(rebar->GetBandCount(), 4u);
  for (UINT i = 0; i < 4; ++i) {
    REBARBANDINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_ID | RBBIM_CHILD;
    rebar->SendMessage(RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.wID, bands[i].id);
    EXPECT_EQ(info.hwndChild, bands[i].child);
  }

  CTkToolBar* main = frame_->GetMainToolBar();
  struct Text {
    UINT id;
    const char* text;
  };
  for (Text t : {Text{ID_FILE_NEW, "New"}, Text{ID_FILE_OPEN, "Open"}, Text{ID_FILE_SAVE, "Save"},
                 Text{32883, "Check"}, Text{32885, "Stop"},
                 Text{ID_PROJECT_PROPERTIES, "Properties"}}) {
    EXPECT_EQ(std::string(main->GetButtonText(main->CommandToIndex(t.id))), t.text);
  }
  EXPECT_EQ(main->GetDropDownMenu(ID_FILE_OPEN), static_cast<UINT>(IDR_OPEN_DROPDOWN));
  EXPECT_NE(LOWORD(main->GetButtonStyle(main->CommandToIndex(ID_FILE_OPEN))) & BTNS_DROPDOWN, 0);

  CTkToolBar* templates = frame_->GetTemplateBar();
  CRect slot;
  templates->GetItemRect(templates->CommandToIndex(ID_TEMPLATE_COMBO), &slot);
  CRect combo = ChildRect(templates, frame_->GetTemplateCombo());
  EXPECT_EQ(slot.Width(), 200);
  EXPECT_EQ(combo.left, slot.left);
  EXPECT_EQ(std::string(templates->GetButtonText(templates->CommandToIndex(ID_TEMPLATE_APPLY))),
            "Apply");
  EXPECT_EQ(frame_->GetTemplateCombo()->m_bFlatLook, FALSE) << "the normal look";
}

TEST_F(MainFrameWindowTest, AStatusPaneFitsItsTextOnceAndMinimumTrackSize) {
  CStatusBar* bar = frame_->GetStatusBar();
  int index = bar->CommandToIndex(ID_INDICATOR_ENGINES);
  for (const char* text : {"Engines: 1234567", "Engines: 1"}) {
    SCOPED_TRACE(text);
    bar->SetPaneText(index, text);
    CMainFrame::SetPaneText(ID_INDICATOR_ENGINES);
    HDC dc = ::GetDC(bar->m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(bar->SendMessage(WM_GETFONT)));
    SIZE extent = {};
    ::GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(bar->m_hWnd, dc);
    UINT id, style;
    int width;
    bar->GetPaneInfo(index, id, style, width);
    EXPECT_EQ(width, extent.cx + 2);
  }
  MINMAXINFO info = {};
  ::SendMessageA(hFrame_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 340);
  EXPECT_EQ(info.ptMinTrackSize.y, 280);
}

// Reports and CSV files go into a folder of the test's own.
std::vector<std::string> g_opened;
bool RecordOpen(const char* path) {
  g_opened.push_back(path);
  return true;
}

int CountFiles(const std::string& folder, const char* pattern) {
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((folder + "\\" + pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    ++count;
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
  return count;
}

TEST_F(MainFrameWindowTest, ReportsAreWrittenAndOpenedOnlyWhenSomebodyWatches) {
  SetReportOpener(RecordOpen);
  Doc()->m_reportsDir = folder_.Path().c_str();
  // No engine row selected (the list may select its first row when it takes the focus).
  if (g_pSearchEngineView) {
    CListCtrl& list = g_pSearchEngineView->GetListCtrl();
    for (int i = 0; i < list.GetItemCount(); ++i) list.SetItemState(i, 0, LVIS_SELECTED);
  }
  struct Case {
    const char* commandLine;
    UINT command;
    int written;
    bool opened;
  };
  const Case cases[] = {
      {"", ID_VIEW_SUMMARY, 1, true},
      {"/auto", ID_VIEW_KEYWORD, 1, false},
      // No engine row is selected: the engine's reports write nothing.
      {"", ID_VIEW_DETAIL, 0, false},
      {"", ID_VIEW_RESULTS, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    SetCommandLineInfo(new NQCommandLineInfo(c.commandLine));
    g_opened.clear();
    g_boxCount = 0;
    int before = CountFiles(folder_.Path(), "*.htm*");
    frame_->OnCmdMsg(c.command, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(CountFiles(folder_.Path(), "*.htm*") - before, c.written);
    EXPECT_EQ(g_opened.size(), c.opened ? 1u : 0u);
    EXPECT_EQ(g_boxCount, 0);
  }
}

// A written report that no program opens (no browser) is not passed over in silence: the user
// learns where the file is.
TEST_F(MainFrameWindowTest, AReportNoProgramOpensIsSaidWithItsPath) {
  SetReportOpener([](const char*) { return false; });
  SetReportResourceModule(AfxGetResourceHandle());
  Doc()->m_reportsDir = folder_.Path().c_str();
  SetCommandLineInfo(new NQCommandLineInfo(""));
  g_boxCount = 0;
  g_lastBox.clear();
  frame_->OnCmdMsg(ID_VIEW_SUMMARY, CN_COMMAND, nullptr, nullptr);
  EXPECT_EQ(CountFiles(folder_.Path(), "*.htm*"), 1);
  EXPECT_EQ(g_boxCount, 1);
  EXPECT_NE(g_lastBox.find("no program could open it"), std::string::npos) << g_lastBox;
  std::string folder = folder_.Path();
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  EXPECT_NE(g_lastBox.find(folder), std::string::npos) << g_lastBox;
  SetReportResourceModule(nullptr);
}

CsvExportChoice g_asked;
bool g_answer = true;
std::string g_folder;
BOOL AnswerCsv(CWnd*, CsvExportChoice& choice) {
  g_asked = choice;
  choice.folder = g_folder.c_str();
  return g_answer;
}

TEST_F(MainFrameWindowTest, TheCsvExportWritesWhereTheUserSaidAndSaysHowItWent) {
  SetCsvExportAsker(AnswerCsv);
  struct Case {
    const char* why;
    bool answer;
    std::string folder;
    int files;
    const char* box;
  };
  const Case cases[] = {
      {"cancelled", false, folder_.Path(), 0, nullptr},
      {"written", true, folder_.Path(), 1, "The results were exported."},
      {"a folder that is not there", true, folder_.Path() + "\\missing", 1,
       "The results could not be exported."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    g_answer = c.answer;
    g_folder = c.folder;
    g_boxCount = 0;
    g_lastBox.clear();
    frame_->OnCmdMsg(ID_EXPORT_CSV, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(std::string(g_asked.fileName), "Untitled.csv") << "the title without extension";
    EXPECT_FALSE(g_asked.writeHeader) << "the caption line box starts unchecked";
    EXPECT_EQ(CountFiles(folder_.Path(), "Untitled.csv"), c.files);
    EXPECT_EQ(g_boxCount, c.box ? 1 : 0);
    if (c.box) {
      EXPECT_EQ(g_lastBox, c.box);
    }
  }
}

TEST_F(MainFrameWindowTest, ThePlaceIsSavedOnCloseAndRestoredAndADamagedOneIsIgnored) {
  app_->SetRegistryKey("ZBPro Frame Tests");
  frame_->SetWindowPos(nullptr, 40, 50, 640, 480, SWP_NOZORDER);
  ::SendMessageA(hFrame_, WM_CLOSE, 0, 0);
  ASSERT_FALSE(::IsWindow(hFrame_));
  WINDOWPLACEMENT saved;
  ASSERT_TRUE(WindowPlacement::ReadPlacement("MainFrame", saved)) << "the close saved it";

  // The stored value is a word and the system's placement record, 48 bytes.
  WindowPlacement offScreen;
  offScreen.m_wp.showCmd = SW_SHOWNORMAL;
  offScreen.m_wp.rcNormalPosition = {-9000, -9000, -8000, -8000};
  const BYTE damaged[] = {12, 'x', 0, 0};
  struct Case {
    const char* why;
    const char* commandLine;
    const void* stored;  // null: what the close saved
    UINT storedSize;
    bool atSavedPlace;
    bool minimised;
  };
  const Case cases[] = {
      {"as closed", "", nullptr, 0, true, false},
      {"hidden start", "/hide", nullptr, 0, false, true},
      {"damaged value", "", damaged, sizeof damaged, false, false},
      {"off the screen", "", &offScreen, sizeof offScreen, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    if (c.stored) {
      char section[64], entry[128];
      WindowPlacement::GetProfileNames("MainFrame", section, sizeof section, entry, sizeof entry);
      app_->WriteProfileBinary(section, entry,
                               static_cast<LPBYTE>(const_cast<void*>(c.stored)), c.storedSize);
    }
    app_->OnFileNew();
    frame_ = dynamic_cast<CMainFrame*>(app_->m_pMainWnd);
    ASSERT_NE(frame_, nullptr);
    hFrame_ = frame_->m_hWnd;
    frame_->ShowWindow(SW_HIDE);
    frame_->SetWindowPos(nullptr, 300, 300, 400, 300, SWP_NOZORDER);
    SetCommandLineInfo(new NQCommandLineInfo(c.commandLine));
    frame_->RestorePlacement(SW_SHOWNORMAL);
    EXPECT_TRUE(frame_->IsWindowVisible());
    EXPECT_EQ(::IsIconic(hFrame_) != FALSE, c.minimised);
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    ::GetWindowPlacement(hFrame_, &wp);
    CRect normal(wp.rcNormalPosition);
    EXPECT_EQ(normal == CRect(40, 50, 680, 530), c.atSavedPlace) << normal.left << "," << normal.top;
    ::DestroyWindow(hFrame_);
    Pump();
  }
}

TEST_F(MainFrameWindowTest, TheWaitCursorShowsWhileANewDocumentIsSetUp) {
  for (LONG busy : {1L, 0L}) {
    SCOPED_TRACE(busy);
    CZubrinDoc::s_busy = busy;
    ::SetCursor(nullptr);
    ::SendMessageA(hFrame_, WM_SETCURSOR, reinterpret_cast<WPARAM>(hFrame_),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor() == ::LoadCursor(nullptr, IDC_WAIT), busy != 0);
  }
}

TEST_F(MainFrameWindowTest, HelpAsksForTheContentsOnTheSplitterAndForTheControlElsewhere) {
  struct Case {
    const char* why;
    int contextType;
    int control;
    std::vector<HelpCall> calls;
  };
  const Case cases[] = {
      {"the splitter", HELPINFO_WINDOW, ID_MAINFRAME_SPLITTER, {{0, HELP_FINDER}}},
      {"a control", HELPINFO_WINDOW, 7003, {{7003, HELP_CONTEXT}}},
      {"a menu item", HELPINFO_MENUITEM, 32883, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    g_help.clear();
    HELPINFO info = {};
    info.cbSize = sizeof info;
    info.iContextType = c.contextType;
    info.iCtrlId = c.control;
    EXPECT_EQ(::SendMessageA(hFrame_, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
    EXPECT_EQ(g_help, c.calls);
  }
  g_help.clear();
  frame_->OnCmdMsg(ID_DEFAULT_HELP, CN_COMMAND, nullptr, nullptr);
  EXPECT_EQ(g_help, (std::vector<HelpCall>{{0, HELP_FINDER}}));
}

TEST_F(MainFrameWindowTest, TheTemplateComboListsTheTemplatesAndTellsTheDocumentOfAChoice) {
  auto* templates = new NQSelectionTemplates;
  templates->Add("Europe");
  templates->Add("Americas");
  SetSelectionTemplates(templates);
  Reopen(false);
  CTkFlatComboBox* combo = frame_->GetTemplateCombo();
  ASSERT_EQ(combo->GetCount(), 2);
  CString first, second;
  combo->GetLBText(0, first);
  combo->GetLBText(1, second);
  EXPECT_EQ(std::string(first), "Americas");
  EXPECT_EQ(std::string(second), "Europe");

  // The combo's change reaches the frame through its bar; the frame posts the command with the
  // combo, for the document to read the choice from.
  Pump();
  combo->SetCurSel(1);
  frame_->GetTemplateBar()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEMPLATE_COMBO, CBN_SELCHANGE),
                                        reinterpret_cast<LPARAM>(combo->m_hWnd));
  MSG msg = {};
  ASSERT_TRUE(::PeekMessageA(&msg, hFrame_, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(ID_TEMPLATE_COMBO));
  EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(combo->m_hWnd));
  SetSelectionTemplates(nullptr);
}

TEST_F(MainFrameWindowTest, TheToolsMenuKeepsItsEditItemWhereTheUserToolsHookIn) {
  HMENU tools = Popup("&Tools");
  ASSERT_NE(tools, nullptr);
  OpenPopup(tools);
  EXPECT_EQ(::GetMenuItemID(tools, 3), static_cast<UINT>(ID_TOOLS_EDIT));
}

TEST_F(MainFrameWindowTest, FocusCommandsActivateTheFormAndFocusItsFields) {
  CWnd* form = frame_->GetSearchFormPane();
  // The form's own edits when the pane is the search form; made here on a stand-in pane.
  auto edit = [form](int id, int y) {
    HWND own = ::GetDlgItem(form->m_hWnd, id);
    return own ? own
               : ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, y, 100, 20,
                                   form->m_hWnd, reinterpret_cast<HMENU>(id), nullptr, nullptr);
  };
  HWND site = edit(7003, 0);
  HWND term = edit(7004, 30);
  ::SetForegroundWindow(hFrame_);
  struct Case {
    UINT command;
    HWND focus;
  };
  for (Case c : {Case{ID_FOCUS_SEARCHTERM, term}, Case{ID_FOCUS_SITE, site}}) {
    SCOPED_TRACE(c.command);
    frame_->SetActiveView(static_cast<CView*>(frame_->GetEngineViewPane()));
    frame_->OnCmdMsg(c.command, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(static_cast<CWnd*>(frame_->GetActiveView()), form);
    EXPECT_EQ(::GetFocus(), c.focus);
  }
}

// toolmenu.dat in the program folder for the length of a test; the recorder program of the
// toolkit's tests stands in for the user's programs.
struct ToolsFile {
  std::string path = std::string(GetAppFolder()) + "toolmenu.dat";
  std::string record = std::string(GetAppFolder()) + "zb_frame_tool_record.txt";
  ToolsFile() {
    ::DeleteFileA(path.c_str());
    ::DeleteFileA(record.c_str());
  }
  ~ToolsFile() {
    ::DeleteFileA(path.c_str());
    ::DeleteFileA(record.c_str());
  }
  void Write(int count, const char* program) {
    CObArray tools;
    for (int i = 0; i < count; ++i) {
      auto* tool = new CWgUserTool;
      tool->m_strMenuText = ("Tool " + std::to_string(i)).c_str();
      tool->m_strCommand = (std::string("\"") + std::string(GetAppFolder()) + program + "\"").c_str();
      tool->m_strArguments = ("\"" + record + "\"").c_str();
      tools.Add(tool);
    }
    ASSERT_TRUE(CWgUserTool::SaveTools(path.c_str(), tools));
    CWgUserTool::FreeTools(tools);
  }
};

TEST_F(MainFrameWindowTest, UserToolsFromTheFileFillTheToolsMenuAndRun) {
  ToolsFile file;
  file.Write(2, "ZBToolRecorder.exe");
  Reopen(false);
  HMENU tools = Popup("&Tools");
  ASSERT_NE(tools, nullptr);
  int before = ::GetMenuItemCount(tools);
  OpenPopup(tools);
  OpenPopup(tools);  // a second opening replaces the items, it does not add more
  int count = ::GetMenuItemCount(tools);
  ASSERT_EQ(count, before + 3);
  EXPECT_EQ(::GetMenuItemID(tools, count - 2), static_cast<UINT>(ID_TOOLS_FIRST));
  EXPECT_EQ(MenuText(tools, ID_TOOLS_FIRST + 1), "Tool 1");
  EXPECT_TRUE(Update(ID_TOOLS_FIRST + 1).enabled);
  EXPECT_FALSE(Update(ID_TOOLS_FIRST + 2).enabled);
  EXPECT_FALSE(Update(ID_TOOLS_LAST).enabled);

  frame_->SendMessage(WM_COMMAND, ID_TOOLS_FIRST + 1);
  EXPECT_NE(::GetFileAttributesA(file.record.c_str()), INVALID_FILE_ATTRIBUTES)
      << "the tool waits and has written its record";
  EXPECT_EQ(g_boxCount, 0);
}

TEST_F(MainFrameWindowTest, AToolThatCannotStartAndADamagedToolsFileAreReported) {
  ToolsFile file;
  file.Write(1, "no_such_tool_program.exe");
  Reopen(false);
  EXPECT_EQ(g_boxCount, 0);
  frame_->SendMessage(WM_COMMAND, ID_TOOLS_FIRST);
  EXPECT_EQ(g_boxCount, 1);
  EXPECT_EQ(g_lastBox, "The tool could not be started.");

  // The file cut short: the first tool is kept, and the user hears of the damage.
  file.Write(2, "ZBToolRecorder.exe");
  std::string bytes;
  {
    FILE* f = std::fopen(file.path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buf[4096];
    size_t n = std::fread(buf, 1, sizeof buf, f);
    std::fclose(f);
    bytes.assign(buf, n - 5);
  }
  apptest::WriteBytes(file.path.c_str(), bytes);
  Reopen(false);
  EXPECT_EQ(g_boxCount, 1);
  EXPECT_NE(g_lastBox.find("damaged"), std::string::npos) << g_lastBox;
  EXPECT_TRUE(Update(ID_TOOLS_FIRST).enabled);
  EXPECT_FALSE(Update(ID_TOOLS_FIRST + 1).enabled);
}

}  // namespace

// ---- the bars in the rebar ----

// A press and release in the middle of a toolbar button, or at dx from its right edge.
void ClickButton(CTkToolBar* bar, UINT id, int fromRight = -1) {
  CRect item;
  bar->GetItemRect(bar->CommandToIndex(id), &item);
  CPoint at = item.CenterPoint();
  if (fromRight >= 0) at.x = item.right - fromRight;
  bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

// Buttons pressed on either toolbar run the frame's and the document's commands.
TEST_F(MainFrameWindowTest, ToolbarButtonsRunTheirCommands) {
  SetReportOpener(RecordOpen);
  Doc()->m_reportsDir = folder_.Path().c_str();
  SetCommandLineInfo(new NQCommandLineInfo(""));
  g_opened.clear();
  ClickButton(frame_->GetMainToolBar(), ID_VIEW_SUMMARY);
  Pump();
  EXPECT_EQ(g_opened.size(), 1u) << "the summary report is written and shown";
  EXPECT_EQ(CountFiles(folder_.Path(), "*.htm*"), 1);

  // The engine buttons of the second toolbar check none, then all engines.
  CListCtrl* list = g_pSearchEngineView ? &g_pSearchEngineView->GetListCtrl() : nullptr;
  ASSERT_NE(list, nullptr);
  ASSERT_GT(list->GetItemCount(), 0);
  for (UINT id : {ID_ENGINE_NONE, ID_ENGINE_ALL}) {
    SCOPED_TRACE(id);
    ClickButton(frame_->GetTemplateBar(), id);
    Pump();
    for (int row = 0; row < list->GetItemCount(); ++row)
      EXPECT_EQ(g_pSearchEngineView->GetCheck(row) != FALSE, id == ID_ENGINE_ALL) << row;
  }
}

// The Open button's arrow opens the recent-files menu below the button; the button itself stays
// a plain command.
std::vector<UINT> g_dropped;
RECT g_droppedAt = {};
void RecordDropDown(HMENU popup, const RECT& rcButton, HWND) {
  g_dropped.clear();
  for (int i = 0; i < ::GetMenuItemCount(popup); ++i) g_dropped.push_back(::GetMenuItemID(popup, i));
  g_droppedAt = rcButton;
}

TEST_F(MainFrameWindowTest, TheOpenButtonsArrowOpensItsMenu) {
  SetDropDownMenuTracker(RecordDropDown);
  g_dropped.clear();
  CMainToolBar* bar = frame_->GetMainToolBar();
  ClickButton(bar, ID_FILE_OPEN, 4);
  SetDropDownMenuTracker(nullptr);
  EXPECT_EQ(g_dropped, (std::vector<UINT>{ID_FILE_OPEN, 0, ID_FILE_MRU_FILE1}));
  CRect item;
  bar->GetItemRect(bar->CommandToIndex(ID_FILE_OPEN), &item);
  bar->ClientToScreen(&item);
  EXPECT_EQ(CRect(g_droppedAt), item) << "below the button";
}

// Tips name the buttons; the prompt of a button the mouse is over shows in the message pane,
// passed on by the rebar the toolbars sit in.
TEST_F(MainFrameWindowTest, ToolbarButtonsHaveTipsAndPrompts) {
  struct Case {
    CTkToolBar* bar;
    UINT id;
    const char* tip;
    const char* prompt;
  };
  const Case cases[] = {
      {frame_->GetMainToolBar(), ID_FILE_NEW, "New", "Creates a new document"},
      {frame_->GetMainToolBar(), ID_VIEW_SUMMARY, "Summary Report",
       "Writes and shows the summary report"},
      {frame_->GetTemplateBar(), ID_ENGINE_ALL, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    ASSERT_GE(c.bar->CommandToIndex(c.id), 0);
    CString full;
    ASSERT_TRUE(full.LoadString(c.id));
    int lineBreak = full.Find('\n');
    std::string tip = c.tip ? c.tip : std::string(full.Mid(lineBreak + 1));
    std::string prompt = c.prompt ? c.prompt : std::string(full.Left(lineBreak));
    NMTTDISPINFOA info = {};
    info.hdr.hwndFrom = c.bar->m_hWnd;
    info.hdr.idFrom = c.id;
    info.hdr.code = TTN_NEEDTEXTA;
    c.bar->SendMessage(WM_NOTIFY, c.id, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_EQ(std::string(info.lpszText), tip);

    ::SendMessageA(::GetParent(c.bar->m_hWnd), WM_SETMESSAGESTRING, c.id, 0);
    EXPECT_EQ(std::string(frame_->GetStatusBar()->GetPaneText(0)), prompt);
  }
}

// At the narrowest the window may be, the main toolbar's last buttons go behind its chevron,
// whose menu lists them and runs the one chosen.
std::vector<UINT> g_chevronItems;
UINT g_chevronChoice = 0;
UINT ChooseHidden(HMENU menu, const RECT&, HWND) {
  g_chevronItems.clear();
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    UINT id = ::GetMenuItemID(menu, i);
    if (id != 0 && id != static_cast<UINT>(-1)) g_chevronItems.push_back(id);
  }
  return g_chevronChoice;
}

TEST_F(MainFrameWindowTest, TheChevronOffersTheButtonsANarrowWindowHides) {
  // With the mail button: on its own row the toolbar is wider than the narrowest window.
  Reopen(true);
  CMainToolBar* bar = frame_->GetMainToolBar();
  ASSERT_NE(bar->GetChevron(), nullptr);
  EXPECT_FALSE(bar->GetChevron()->IsWindowVisible()) << "800 pixels show every button";
  EXPECT_TRUE(bar->GetHiddenButtons().empty());

  frame_->SetWindowPos(nullptr, 0, 0, 340, 400, SWP_NOMOVE | SWP_NOZORDER);
  frame_->RecalcLayout();
  Pump();
  std::vector<UINT> hidden;
  for (const auto& h : bar->GetHiddenButtons()) {
    UINT id = bar->GetItemID(h.first);
    if (id != 0) hidden.push_back(id);
  }
  ASSERT_FALSE(hidden.empty());
  EXPECT_EQ(hidden.back(), static_cast<UINT>(ID_PROJECT_PROPERTIES)) << "the last ones go";
  EXPECT_TRUE(bar->GetChevron()->IsWindowVisible());
  EXPECT_TRUE(bar->GetChevron()->IsWindowEnabled());

  SetHiddenButtonsMenuTracker(ChooseHidden);
  g_chevronChoice = 0;
  bar->GetChevron()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(g_chevronItems, hidden);

  // A band short enough to hide the summary button too (as the rebar tells its toolbar); the
  // report it chooses from the chevron is written and shown.
  SetReportOpener(RecordOpen);
  Doc()->m_reportsDir = folder_.Path().c_str();
  SetCommandLineInfo(new NQCommandLineInfo(""));
  CRect save;
  bar->GetItemRect(bar->CommandToIndex(ID_FILE_SAVE), &save);
  NMREBARCHILDSIZE nm = {};
  nm.rcChild = {0, 0, save.right + 2 * kTkChevronAllowance + 4, save.bottom};
  REBARBANDINFOA band = {};
  TkBandChildSize pair = {&band, &nm};
  bar->SendMessage(TKM_BANDCHILDSIZE, TRUE, reinterpret_cast<LPARAM>(&pair));
  g_chevronChoice = ID_VIEW_SUMMARY;
  g_opened.clear();
  bar->GetChevron()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_NE(std::find(g_chevronItems.begin(), g_chevronItems.end(),
                      static_cast<UINT>(ID_VIEW_SUMMARY)),
            g_chevronItems.end());
  Pump();
  EXPECT_EQ(g_opened.size(), 1u);
  SetHiddenButtonsMenuTracker(nullptr);

  frame_->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
  frame_->RecalcLayout();
  Pump();
  EXPECT_TRUE(bar->GetHiddenButtons().empty()) << "wide again, every button is back";
  EXPECT_FALSE(bar->GetChevron()->IsWindowVisible());
}

// The chevron's own popup in a narrowed window, opened and closed again and again: by a button
// chosen in it, by losing the activation, by the frame's close request; and left open when the
// window closes. The popup frees itself; the chevron must neither read nor free it afterwards
// (a second opening used to end the program).
HWND OpenChevronPopup() {
  HWND found = nullptr;
  for (HWND w = ::GetWindow(::GetDesktopWindow(), GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    CWnd* object = CWnd::FromHandlePermanent(w);
    if (object && object->IsKindOf(RUNTIME_CLASS(CTkExpMenuWnd))) found = w;
  }
  return found;
}

TEST_F(MainFrameWindowTest, TheChevronsPopupOpensAndClosesAgainAndAgain) {
  Reopen(true);
  SetReportOpener(RecordOpen);
  Doc()->m_reportsDir = folder_.Path().c_str();
  SetCommandLineInfo(new NQCommandLineInfo(""));
  frame_->SetWindowPos(nullptr, 0, 0, 350, 400, SWP_NOMOVE | SWP_NOZORDER);
  frame_->RecalcLayout();
  Pump();
  CMainToolBar* bar = frame_->GetMainToolBar();
  // A band short enough to hide the summary button too, as the rebar tells its toolbar.
  CRect save;
  bar->GetItemRect(bar->CommandToIndex(ID_FILE_SAVE), &save);
  NMREBARCHILDSIZE nm = {};
  nm.rcChild = {0, 0, save.right + 2 * kTkChevronAllowance + 4, save.bottom};
  REBARBANDINFOA band = {};
  TkBandChildSize pair = {&band, &nm};
  bar->SendMessage(TKM_BANDCHILDSIZE, TRUE, reinterpret_cast<LPARAM>(&pair));
  CTkExpButton* chevron = bar->GetChevron();
  ASSERT_NE(chevron, nullptr);
  ASSERT_TRUE(chevron->IsWindowVisible());

  enum Way { kChosen, kDeactivated, kCloseRequest };
  for (int round = 0; round < 3; ++round) {
    for (Way way : {kChosen, kDeactivated, kCloseRequest}) {
      SCOPED_TRACE(testing::Message() << "round " << round << ", way " << way);
      chevron->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      chevron->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
      HWND popup = OpenChevronPopup();
      ASSERT_NE(popup, nullptr) << "the chevron opens its popup";
      CTkExpMenuWnd* open = CTkExpMenuWnd::FromOpenWindow(popup);
      ASSERT_NE(open, nullptr);
      CTkHiddenButtonsToolbar& hidden = open->GetHiddenToolBar();
      ASSERT_GE(hidden.CommandToIndex(ID_VIEW_SUMMARY), 0);
      EXPECT_TRUE(hidden.SendMessage(TB_ISBUTTONENABLED, ID_VIEW_SUMMARY));
      g_opened.clear();
      switch (way) {
        case kChosen:
          // As the popup's toolbar tells the frame of a click on the button.
          frame_->SendMessage(WM_COMMAND, MAKEWPARAM(ID_VIEW_SUMMARY, BN_CLICKED),
                              reinterpret_cast<LPARAM>(hidden.m_hWnd));
          break;
        case kDeactivated:
          ::SendMessageA(popup, WM_ACTIVATE, WA_INACTIVE, 0);
          break;
        case kCloseRequest:
          frame_->SendMessage(WM_TK_CLOSE_EXPMENU);
          break;
      }
      Pump();
      EXPECT_FALSE(::IsWindow(popup));
      EXPECT_FALSE(chevron->IsPopupOpen());
      EXPECT_EQ(g_opened.size(), way == kChosen ? 1u : 0u) << "the chosen report, once";
    }
  }
  // Open when the window closes: the popup goes with it.
  chevron->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  HWND popup = OpenChevronPopup();
  ASSERT_NE(popup, nullptr);
  ::DestroyWindow(hFrame_);
  Pump();
  EXPECT_FALSE(::IsWindow(popup));
}

// The bars' context menu: each toolbar under its own title, the status bar, never the menu bar.
TEST_F(MainFrameWindowTest, TheBarsContextMenuNamesEachToolbarOnce) {
  HMENU menu = BuildBarContextMenu(frame_, frame_->GetMainToolBar());
  ASSERT_NE(menu, nullptr);
  std::vector<std::string> titles;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    char text[64] = {};
    ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    titles.push_back(text);
  }
  ::DestroyMenu(menu);
  EXPECT_EQ(titles, (std::vector<std::string>{"Toolbar", "Templates", "Status Bar"}));
}

std::vector<UINT> BandIds(CTkReBar* rebar) {
  std::vector<UINT> ids;
  for (UINT i = 0; i < rebar->GetBandCount(); ++i) {
    REBARBANDINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_ID;
    rebar->SendMessage(RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&info));
    ids.push_back(info.wID);
  }
  return ids;
}
std::vector<UINT> BandWidths(CTkReBar* rebar) {
  std::vector<UINT> widths;
  for (UINT i = 0; i < rebar->GetBandCount(); ++i) {
    REBARBANDINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_SIZE;
    rebar->SendMessage(RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&info));
    widths.push_back(info.cx);
  }
  return widths;
}

// The bands start in the program's own order at every start, whatever the user did to them the
// last time, and closing writes no band layout.
TEST_F(MainFrameWindowTest, TheBandsStartInTheirOwnOrderAndNoLayoutIsStored) {
  app_->SetRegistryKey("ZBPro Frame Tests");
  const char kSection[] = "MainFrame-Bands";
  CTkProfileStore store(HKEY_CURRENT_USER);
  store.WriteProfileString(kSection, nullptr, nullptr);
  CTkReBar* rebar = frame_->GetReBar();
  const std::vector<UINT> start = BandIds(rebar);
  ASSERT_EQ(start, (std::vector<UINT>{0, 1, 2, 3}));
  const std::vector<UINT> widths = BandWidths(rebar);
  // The template bar to the top row, before the menu bar, a little narrower than before.
  rebar->SendMessage(RB_MOVEBAND, 3, 0);
  REBARBANDINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_SIZE;
  rebar->SendMessage(RB_GETBANDINFOA, 0, reinterpret_cast<LPARAM>(&info));
  info.cx -= 20;
  rebar->SendMessage(RB_SETBANDINFOA, 0, reinterpret_cast<LPARAM>(&info));
  frame_->RecalcLayout();
  ASSERT_EQ(BandIds(rebar), (std::vector<UINT>{3, 0, 1, 2}));

  ::SendMessageA(hFrame_, WM_CLOSE, 0, 0);
  ASSERT_FALSE(::IsWindow(hFrame_));
  EXPECT_EQ(store.GetProfileInt(kSection, "Count", -1), static_cast<UINT>(-1)) << "nothing written";
  app_->OnFileNew();
  frame_ = dynamic_cast<CMainFrame*>(app_->m_pMainWnd);
  ASSERT_NE(frame_, nullptr);
  hFrame_ = frame_->m_hWnd;
  frame_->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER);
  frame_->RecalcLayout();
  EXPECT_EQ(BandIds(frame_->GetReBar()), start);
  EXPECT_EQ(BandWidths(frame_->GetReBar()), widths);
}

// Choosing a template in the combo makes it the document's and checks exactly its engines; not
// while a run is going on.
TEST_F(MainFrameWindowTest, ChoosingATemplateInTheComboAppliesIt) {
  auto* templates = new NQSelectionTemplates;
  templates->Add("Europe", {"Alpha"});
  templates->Add("Americas", {"Beta"});
  SetSelectionTemplates(templates);
  Reopen(false);
  CTkFlatComboBox* combo = frame_->GetTemplateCombo();
  CListCtrl* list = g_pSearchEngineView ? &g_pSearchEngineView->GetListCtrl() : nullptr;
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetItemCount(), 2);
  auto checked = [&](const char* name) {
    for (int row = 0; row < list->GetItemCount(); ++row)
      if (std::string(list->GetItemText(row, 0)) == name)
        return g_pSearchEngineView->GetCheck(row) != FALSE;
    ADD_FAILURE() << name << " is not listed";
    return false;
  };
  struct Case {
    const char* name;
    bool running;
    bool alpha, beta;
    int index;
  };
  const Case cases[] = {
      {"Europe", false, true, false, 1},
      {"Americas", false, false, true, 0},
      // During a run the choice waits: the engines stay as the last template left them.
      {"Europe", true, false, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + (c.running ? " during a run" : ""));
    Doc()->m_running = c.running ? 1 : 0;
    combo->SetCurSel(combo->FindStringExact(-1, c.name));
    frame_->GetTemplateBar()->SendMessage(
        WM_COMMAND, MAKEWPARAM(ID_TEMPLATE_COMBO, CBN_SELCHANGE),
        reinterpret_cast<LPARAM>(combo->m_hWnd));
    Pump();
    EXPECT_EQ(checked("Alpha"), c.alpha);
    EXPECT_EQ(checked("Beta"), c.beta);
    EXPECT_EQ(Doc()->m_templateIndex, c.index);
  }
  Doc()->m_running = 0;
  EXPECT_EQ(std::string(Doc()->m_templateName), "Americas");
  SetSelectionTemplates(nullptr);
}

// The menu bar's band, when a bar for it comes, goes first with id 0, and the main toolbar then
// starts a row of its own below it.
TEST_F(MainFrameWindowTest, TheMenuBarsBandGoesFirstAndPushesTheToolbarsDown) {
  CTkReBar* rebar = frame_->GetReBar();
  CTkMenuBar* menuBar = frame_->GetMenuBar();
  ASSERT_TRUE(::IsWindow(menuBar->m_hWnd));
  // The bar holds the program's menu; the window has none of its own any more.
  EXPECT_EQ(::GetMenu(hFrame_), nullptr);
  EXPECT_NE(menuBar->GetMenu(), nullptr);
  EXPECT_EQ(BandIds(rebar), (std::vector<UINT>{0, 1, 2, 3}));
  struct Case {
    UINT id;
    bool breaks;
  };
  for (Case c : {Case{0, false}, Case{1, false}, Case{2, true}, Case{3, true}}) {
    SCOPED_TRACE(c.id);
    REBARBANDINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_STYLE | RBBIM_CHILD;
    rebar->SendMessage(RB_GETBANDINFOA, rebar->SendMessage(RB_IDTOINDEX, c.id),
                       reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ((info.fStyle & RBBS_BREAK) != 0, c.breaks);
    if (c.id == 0) {
      EXPECT_EQ(info.hwndChild, menuBar->m_hWnd);
    }
  }
  CRect menuRow, toolRow;
  rebar->SendMessage(RB_GETRECT, 0, reinterpret_cast<LPARAM>(&menuRow));
  rebar->SendMessage(RB_GETRECT, 2, reinterpret_cast<LPARAM>(&toolRow));
  EXPECT_GE(toolRow.top, menuRow.bottom);
  ::DestroyWindow(hFrame_);
  Pump();
}

namespace {

// What the Save As box showed, and the name typed into it; answered from a timer of this thread
// while the box's own loop runs.
struct SaveAsBox {
  HWND owner = nullptr;
  std::string typed;
  bool seen = false;
  std::vector<std::string> types;
  int ticks = 0;
} g_saveAs;

HWND OwnedDialog(HWND owner) {
  struct Search {
    HWND owner, found;
  } search = {owner, nullptr};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        char cls[16] = {};
        ::GetClassNameA(window, cls, sizeof cls);
        if (std::string(cls) != "#32770" || ::GetWindow(window, GW_OWNER) != s->owner) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void CALLBACK AnswerSaveAs(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = OwnedDialog(g_saveAs.owner);
  if (!box || g_saveAs.seen) return;
  // A box that never shows its controls is given up, so that the test cannot hang.
  HWND types = ::GetDlgItem(box, cmb1);
  HWND name = ::GetDlgItem(box, edt1);
  if (!name || !::IsWindowVisible(name)) name = ::GetDlgItem(box, cmb13);
  if ((!types || !name) && ++g_saveAs.ticks < 40) return;
  g_saveAs.seen = true;
  int count = types ? static_cast<int>(::SendMessageA(types, CB_GETCOUNT, 0, 0)) : 0;
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    ::SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    g_saveAs.types.push_back(text);
  }
  if (!name) {
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return;
  }
  ::SetWindowTextA(name, g_saveAs.typed.c_str());
  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
}

std::string WindowText(HWND window) {
  char text[512] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace

// Save As offers the document's own file type, gives a name typed without an extension the
// document's, and the title bar names the new file at once.
TEST_F(MainFrameWindowTest, SaveAsOffersTheDocumentTypeAndTheTitleFollows) {
  g_saveAs = SaveAsBox();
  g_saveAs.owner = hFrame_;
  g_saveAs.typed = folder_.File("Ranks");
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, AnswerSaveAs);
  ::SendMessageA(hFrame_, WM_COMMAND, ID_FILE_SAVE_AS, 0);
  ::KillTimer(nullptr, timer);
  ASSERT_TRUE(g_saveAs.seen) << "no Save As box";
  ASSERT_FALSE(g_saveAs.types.empty());
  EXPECT_EQ(g_saveAs.types[0], "ZBPro Documents (*.zbp)");
  const std::string saved = folder_.File("Ranks.zbp");
  EXPECT_NE(::GetFileAttributesA(saved.c_str()), INVALID_FILE_ATTRIBUTES) << saved;
  ASSERT_NE(Doc(), nullptr);
  EXPECT_STREQ(Doc()->GetPathName(), saved.c_str());
  EXPECT_NE(WindowText(hFrame_).find("Ranks.zbp"), std::string::npos) << WindowText(hFrame_);
}

// The engine list's columns start at least as wide as their headings while no widths of the
// user's are stored (the setting's first value would cut them); widths the list stored are
// taken as they are.
TEST_F(MainFrameWindowTest, EngineColumnsStartAsWideAsTheirHeadingsAndKeepStoredWidths) {
  CSearchProperties& settings = GetSearchProperties();
  const CString savedWidths = settings.m_strColWidths;
  const int savedAuto = settings.m_nColAutoSave;
  settings.m_nColAutoSave = 1;
  auto columns = [&] {
    HWND list = frame_->GetEngineViewPane()->m_hWnd;
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    std::vector<std::pair<int, int>> widths;  // (width, heading text width)
    int count = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[128] = {};
      HDITEMA item = {};
      item.mask = HDI_TEXT;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      ::SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
      widths.emplace_back(
          static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0)),
          static_cast<int>(::SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text))));
    }
    return widths;
  };

  // Closing stores the widths the list has: the setting is given once the old window is gone.
  TearDown();
  settings.m_strColWidths = CSearchProperties::kDefaultColWidths;
  Open(false);
  auto first = columns();
  ASSERT_EQ(first.size(), 11u);
  // The last column fills what is left; the others are as wide as the heading and its margins.
  for (size_t i = 0; i + 1 < first.size(); ++i)
    EXPECT_GE(first[i].first, first[i].second + 12) << "column " << i;
  EXPECT_GE(first[0].first, 150) << "room for the engine names";

  TearDown();
  settings.m_strColWidths = "160,41,42,43,44,45,46,47,48,49,50,";
  Open(false);
  auto stored = columns();
  ASSERT_EQ(stored.size(), 11u);
  for (size_t i = 0; i + 1 < stored.size(); ++i)
    EXPECT_EQ(stored[i].first, i == 0 ? 160 : 40 + static_cast<int>(i)) << "column " << i;

  settings.m_strColWidths = savedWidths;
  settings.m_nColAutoSave = savedAuto;
}

namespace {

// The mouse over a toolbar button, as the message loop hands it on: the bar's tooltip takes the
// button as a tool and gets its text when it asks, in whichever width the system's toolbar, its
// parent, tells it to ask.
TEST_F(MainFrameWindowTest, TheTooltipOfAToolbarButtonGetsItsText) {
  CMainToolBar* bar = frame_->GetMainToolBar();
  CRect item;
  bar->GetItemRect(0, &item);
  POINT screen = item.CenterPoint();
  bar->ClientToScreen(&screen);
  MSG msg = {};
  msg.hwnd = bar->m_hWnd;
  msg.message = WM_MOUSEMOVE;
  msg.lParam = MAKELPARAM(item.CenterPoint().x, item.CenterPoint().y);
  msg.pt = screen;
  app_->PreTranslateMessage(&msg);
  HWND tip = nullptr;
  for (HWND w = ::GetWindow(::GetDesktopWindow(), GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    char cls[64] = {};
    ::GetClassNameA(w, cls, sizeof cls);
    if (std::string(cls) == TOOLTIPS_CLASSA && ::GetParent(w) == hFrame_) tip = w;
  }
  ASSERT_NE(tip, nullptr) << "the bar made its tooltip";
  EXPECT_EQ(::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

  // What the bar answers when asked in narrow characters.
  NMTTDISPINFOA narrow = {};
  narrow.hdr.hwndFrom = tip;
  narrow.hdr.idFrom = bar->GetItemID(0);
  narrow.hdr.code = TTN_NEEDTEXTA;
  bar->SendMessage(WM_NOTIFY, narrow.hdr.idFrom, reinterpret_cast<LPARAM>(&narrow));
  ASSERT_NE(narrow.lpszText, nullptr);
  std::string expected = narrow.lpszText;
  ASSERT_FALSE(expected.empty());

  TOOLINFOA info = {};
  info.cbSize = sizeof info;
  info.hwnd = bar->m_hWnd;
  info.uId = bar->GetItemID(0);
  char text[128] = {};
  info.lpszText = text;
  ::SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(std::string(text), expected) << "the tooltip asks the bar and shows its answer";
}

}  // namespace
