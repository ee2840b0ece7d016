// The guard over every command of the main window: each item of the main menu, of the two
// toolbars and of the context menus, with each of the three panes active in turn, with and
// without a run. An item that is enabled must have an effect the test can see (a window, a
// message, a changed document or window, a file, a page handed to the browser, a mail through
// the stand-in mail library, a help request, a close); an item that is disabled must be so by
// a rule of the table below, which names the rule.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/services/AppPaths.h"
#include "app/services/AppServices.h"
#include "app/document/EngineCache.h"
#include "app/program/NQCommandLineInfo.h"
#include "app/settings/SearchProperties.h"
#include "app/settings/SelectionTemplates.h"
#include "app/program/ZubrinApp.h"
#include "app/program/ZubrinAppLog.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/RunControl.h"
#include "app/tests/AppTestSupport.h"
#include "app/update/UpdateLauncher.h"
#include "engines/db/EngineKeys.h"
#include "engines/db/EnginePrototypes.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "framework/app/MessageBox.h"
#include "framework/app/AppIds.h"
#include "framework/docview/DocTemplate.h"
#include "framework/docview/View.h"
#include "framework/gdi/Menu.h"
#include "reports/ReportCommands.h"
#include "resources/resource.h"
#include "toolkit/dialogs/TkTipOfTheDay.h"
#include "toolkit/menus/TkMenuItemData.h"
#include "ui/MainFrame.h"
#include "ui/Panes.h"
#include "ui/RunWindows.h"
#include "ui/SupportMail.h"
#include "ui/dialogs/AboutBox2.h"
#include "ui/dialogs/ExportCSV.h"
#include "ui/views/SearchEngineView.h"
#include "ui/views/SearchForm.h"
#include "ui/views/SearchTermView.h"

namespace {

enum Pane { kForm, kTerms, kEngines, kPaneCount };
const char* const kPaneNames[] = {"search form", "search terms", "engine list"};

// ---- what the commands do, as the test sees it ----

struct Effects {
  std::vector<std::string> boxes;    // message texts
  std::vector<std::string> windows;  // titles of windows that opened
  std::vector<std::string> opened;   // reports and pages handed to the browser
  std::vector<std::string> help;     // requests to the system's help
  std::vector<std::string> shell;    // programs started
  int workers = 0;                   // engines a run started
};
Effects g_effects;

int RecordBox(LPCSTR text, UINT type) {
  g_effects.boxes.push_back(text ? text : "");
  // The careful answer: nothing is deleted or replaced because of the guard.
  switch (type & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
      return IDNO;
    case MB_OKCANCEL:
    case MB_RETRYCANCEL:
      return IDCANCEL;
    default:
      return IDOK;
  }
}
int QuietEngineBox(HWND, const char*, const char*, unsigned) { return IDOK; }
bool RecordReport(const char* path) {
  g_effects.opened.push_back(path);
  return true;
}
BOOL RecordPage(LPCSTR url) {
  g_effects.opened.push_back(url);
  return TRUE;
}
BOOL WINAPI RecordHelp(HWND, LPCSTR file, UINT command, ULONG_PTR) {
  g_effects.help.push_back(std::string(file) + " " + std::to_string(command));
  return TRUE;
}
long long RecordShell(const char* program, const char*) {
  g_effects.shell.push_back(program);
  return 33;
}
void CountWorker(WorkerJob&) { ++g_effects.workers; }
void NoPause(unsigned) {}
bool MailAvailable() { return true; }

// The CSV export asks in its dialog, as the program does.
BOOL AskInDialog(CWnd* owner, CsvExportChoice& choice) {
  CExportCSV dialog(owner);
  dialog.m_strFileName = choice.fileName;
  dialog.m_strFolder = choice.folder;
  return dialog.DoModal() == IDOK;
}

// Windows that open while a command runs are noted and closed at once, as a user who cancels
// them would; the known ones (the main window and its bars) are left alone.
std::set<HWND> g_known;
// What a test does in a window instead of cancelling it; true when it took care of it.
std::function<bool(HWND)> g_inWindow;
BOOL CALLBACK NoteWindow(HWND window, LPARAM) {
  if (g_known.count(window) || !::IsWindowVisible(window)) return TRUE;
  char cls[64] = {}, title[256] = {};
  ::GetClassNameA(window, cls, sizeof cls);
  const LONG style = ::GetWindowLongA(window, GWL_STYLE);
  if (std::string(cls) != "#32770" && (style & WS_CAPTION) != WS_CAPTION) return TRUE;
  g_known.insert(window);
  ::GetWindowTextA(window, title, sizeof title);
  g_effects.windows.push_back(title[0] ? title : cls);
  if (g_inWindow && g_inWindow(window)) return TRUE;
  ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}
VOID CALLBACK WatchWindows(HWND, UINT, UINT_PTR, DWORD) {
  ::EnumThreadWindows(::GetCurrentThreadId(), NoteWindow, 0);
}
BOOL CALLBACK KnowWindow(HWND window, LPARAM) {
  g_known.insert(window);
  return TRUE;
}

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

// ---- the items ----

enum class Source { MainMenu, MainToolBar, TemplateBar, EngineMenu, TermMenu, FormTermMenu, OpenMenu };
const char* SourceName(Source s) {
  switch (s) {
    case Source::MainMenu: return "main menu";
    case Source::MainToolBar: return "main toolbar";
    case Source::TemplateBar: return "template toolbar";
    case Source::EngineMenu: return "engine list's menu";
    case Source::TermMenu: return "search terms' menu";
    case Source::FormTermMenu: return "search term field's menu";
    case Source::OpenMenu: return "Open button's menu";
  }
  return "";
}

struct Item {
  Source source;
  UINT id;
  std::string text;
  bool enabled;
};

struct State {
  Pane pane;
  bool running;
};

}  // namespace

class CommandGuardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(language_.Loaded()) << "ZBResENU.dll is not beside the test";
    GetSearchProperties().m_nBannersOn = 0;
    GetSearchProperties().m_nKeywordAlert = 0;
    apptest::WriteBytes(
        folder_.File("engines.dat"),
        "[Alpha]\nenabled=1\ncountry=us\nlanguage=enu\nhomepage=http://alpha.example/\n"
        "addpage=http://alpha.example/add\nsubmit=http://127.0.0.1:9/add?u=#URL#\n\n"
        "[Beta]\nenabled=1\ncountry=de\nhomepage=http://beta.example/\n\n");
    SetEngineDataFolder(folder_.Path().c_str());
    AfxSetMessageBoxHandler(RecordBox);
    SetEngineMessageBox(QuietEngineBox);
    SetReportOpener(RecordReport);
    CSearchEngineView::SetUrlOpenFunction(RecordPage);
    CZubrinApp::SetHelpCall(RecordHelp);
    updatelauncher::SetShellOpen(RecordShell);
    CMainFrame::SetMailAvailableSource(MailAvailable);
    SetCsvExportAsker(AskInDialog);
    CRunControl::SetWorkerBody(CountWorker);
    CRunControl::SetSleepFunction(NoPause);
    CRunControl::SetPendingUpdateCheck(nullptr);
    ::SetEnvironmentVariableA("ZB_MAPI_RECORD", folder_.File("mail.txt").c_str());
    // The templates file lives beside the program; the guard's saves must not stay there.
    templatesPath_ = GetTemplatesFilePath().GetString();
    templatesBefore_ = apptest::ReadBytes(templatesPath_);
    hadTemplates_ = ::GetFileAttributesA(templatesPath_.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  void TearDown() override {
    Close();
    if (hadTemplates_)
      apptest::WriteBytes(templatesPath_, templatesBefore_);
    else
      ::DeleteFileA(templatesPath_.c_str());
    ::DeleteFileA((templatesPath_ + ".bak").c_str());
    ::SetEnvironmentVariableA("ZB_MAPI_RECORD", nullptr);
    CRunControl::SetWorkerBody(nullptr);
    CRunControl::SetSleepFunction(nullptr);
    SetCsvExportAsker(nullptr);
    CMainFrame::SetMailAvailableSource(nullptr);
    updatelauncher::SetShellOpen(nullptr);
    CZubrinApp::SetHelpCall(nullptr);
    CSearchEngineView::SetUrlOpenFunction(nullptr);
    SetReportOpener(nullptr);
    SetEngineMessageBox(nullptr);
    AfxSetMessageBoxHandler(nullptr);
    SetEngineDataFolder("");
    // The definitions' keys stay process-wide; the guard's own (Alpha takes submissions) must
    // not reach the tests that follow.
    EngineKeyList.RemoveAll();
  }

  // The main window, made once per state of the walk (and again after a command closed it).
  void Open() {
    Close();
    SetSelectionTemplates(new NQSelectionTemplates);
    ZubrinAppWindows windows;
    windows.frameClass = RUNTIME_CLASS(CMainFrame);
    windows.viewClass = SearchFormClass();
    windows.showAbout = [] {
      CAboutBox2 about(AfxGetMainWnd());
      about.DoModal();
    };
    windows.showTipOfTheDay = [](const char* file) {
      CTkTipOfTheDay tip(file, AfxGetMainWnd());
      tip.DoModal();
    };
    app_ = std::make_unique<CZubrinApp>(windows);
    app_->AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZubrinDoc),
                                                RUNTIME_CLASS(CMainFrame), SearchFormClass()));
    app_->OnFileNew();
    frame_ = dynamic_cast<CMainFrame*>(app_->m_pMainWnd);
    ASSERT_NE(frame_, nullptr);
    hFrame_ = frame_->m_hWnd;
    frame_->SetWindowPos(nullptr, 0, 0, 900, 650, SWP_NOZORDER | SWP_SHOWWINDOW);
    runViews_.SetMainWindow(hFrame_);
  }

  // Puts everything a command may have changed back: a document with two search terms and a
  // site, saved under a path in the test's folder, with results (not fresh); both engines
  // checked and the first selected; two templates, one chosen; the first term selected; text
  // on the clipboard; the pane active (the search form with the caret in its term field and
  // part of the text selected), and a run on when asked (the flag alone: no thread works).
  void Reset(const State& state) {
    if (!::IsWindow(hFrame_)) Open();
    ASSERT_NE(frame_, nullptr);
    CZubrinDoc* doc = Doc();
    ASSERT_NE(doc, nullptr);
    doc->SetRunViews(&runViews_);
    doc->m_running = 0;
    doc->m_stop = 0;
    doc->m_closePending = 0;
    doc->m_fresh = 0;
    doc->m_readOnly = 0;
    doc->m_submitAuto = 0;
    doc->m_siteUrl = "http://www.zb-testsite.com/";
    doc->m_reportsDir = folder_.Path().c_str();
    doc->m_currentSet = nullptr;
    doc->m_manager.RemoveAll();
    for (const char* term : {"alpha term", "beta term"}) {
      auto* set = new CEngineSet(&doc->m_database, 1, CString(term));
      doc->m_manager.AddSet(set);
      if (!doc->m_currentSet) doc->m_currentSet = set;
    }
    for (const char* name : {"Alpha", "Beta"}) {
      SetEngineEnabled(doc->m_database, name, 1);
      doc->SetEngineEnabledInAllSets(name, 1);
    }
    for (POSITION p = doc->m_engineCache.GetStartPosition(); p;) {
      CString name;
      CObject* entry = nullptr;
      doc->m_engineCache.GetNextAssoc(p, name, entry);
      static_cast<CEngineCache*>(entry)->m_excluded = 0;
    }
    NQSelectionTemplates* templates = GetSelectionTemplates();
    templates->Templates().clear();
    templates->Add("Both", {"Alpha", "Beta"});
    templates->Add("Only Beta", {"Beta"});
    HWND combo = frame_->GetTemplateCombo()->m_hWnd;
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const auto& entry : templates->Templates())
      ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.first.c_str()));
    doc->m_templateIndex = 1;
    doc->m_templateName = "Only Beta";
    doc->SetPathName(folder_.File("site.zbp").c_str(), FALSE);
    doc->UpdateAllViews(nullptr, 110);  // the lists show the document anew
    if (!frame_->IsSearchTermPaneShown()) ::SendMessageA(hFrame_, WM_COMMAND, ID_VIEW_SEARCHTERMS, 0);
    Pump();
    SelectFirstRow(g_hEngineViewWnd);
    SelectFirstRow(g_pSearchTermView ? g_pSearchTermView->m_hWnd : nullptr);
    SetClipboardText("gamma term");
    CWnd* panes[] = {frame_->GetSearchFormPane(), frame_->GetSearchTermPane(),
                     frame_->GetEngineViewPane()};
    CWnd* pane = panes[state.pane];
    frame_->SetActiveView(static_cast<CView*>(pane));
    HWND field = ::GetDlgItem(frame_->GetSearchFormPane()->m_hWnd, IDC_FORM_SEARCH_TERM);
    ::SetWindowTextA(field, "alpha term");
    if (state.pane == kForm) {
      ::SetFocus(field);
      ::SendMessageA(field, EM_SETSEL, 0, 5);
    } else {
      ::SetFocus(pane->m_hWnd);
    }
    doc->m_running = state.running ? 1 : 0;
    running_ = state.running;
    doc->SetModifiedFlag(FALSE);
    UpdateBars();
    Pump();
  }
  static void SelectFirstRow(HWND list) {
    if (!list) return;
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  static void SetClipboardText(const char* text) {
    if (!::OpenClipboard(nullptr)) return;
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
    memcpy(::GlobalLock(memory), text, strlen(text) + 1);
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_TEXT, memory);
    ::CloseClipboard();
  }
  static std::string ClipboardText() {
    std::string text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
      text = static_cast<const char*>(::GlobalLock(data));
      ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
  }
  void Close() {
    if (::IsWindow(hFrame_)) {
      if (CZubrinDoc* doc = Doc()) {
        doc->m_running = 0;
        doc->m_closePending = 0;
        doc->SetModifiedFlag(FALSE);
        doc->SetRunViews(nullptr);
      }
      ::DestroyWindow(hFrame_);
    }
    hFrame_ = nullptr;
    frame_ = nullptr;
    app_.reset();
    SetCommandLineInfo(nullptr);
    CZubrinDoc::s_busy = 0;
    Pump();
  }
  CZubrinDoc* Doc() {
    return frame_ ? dynamic_cast<CZubrinDoc*>(frame_->GetActiveDocument()) : nullptr;
  }
  void UpdateBars() {
    frame_->GetMainToolBar()->OnUpdateCmdUI(frame_, TRUE);
    frame_->GetTemplateBar()->OnUpdateCmdUI(frame_, TRUE);
  }

  // ---- the items and their states ----

  static bool MenuItemEnabled(HMENU menu, int position) {
    return (::GetMenuState(menu, position, MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED)) == 0;
  }
  void AddPopupItems(Source source, HMENU popup, std::vector<Item>& items) {
    ::SendMessageA(hFrame_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
      if (HMENU sub = ::GetSubMenu(popup, i)) {
        AddPopupItems(source, sub, items);
        continue;
      }
      UINT id = ::GetMenuItemID(popup, i);
      if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators
      items.push_back({source, id, TkGetMenuItemText(popup, i, MF_BYPOSITION).GetString(),
                       MenuItemEnabled(popup, i)});
    }
  }
  void AddToolBarItems(Source source, CTkToolBar* bar, std::vector<Item>& items) {
    for (int i = 0; i < bar->GetCount(); ++i) {
      TBBUTTON button = {};
      bar->SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
      if (button.idCommand == 0) continue;
      bool enabled;
      if (button.fsStyle & TBSTYLE_SEP) {
        // A control in a separator's place: the template combo.
        HWND control = ::GetDlgItem(bar->m_hWnd, button.idCommand);
        if (!control) continue;
        enabled = ::IsWindowEnabled(control) != FALSE;
      } else {
        enabled = bar->SendMessage(TB_ISBUTTONENABLED, button.idCommand) != 0;
      }
      items.push_back({source, static_cast<UINT>(button.idCommand), "", enabled});
    }
  }
  void AddContextMenu(Source source, UINT menuId, std::vector<Item>& items) {
    HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(menuId));
    ASSERT_NE(menu, nullptr) << menuId;
    AddPopupItems(source, ::GetSubMenu(menu, 0), items);
    ::DestroyMenu(menu);
  }
  std::vector<Item> Items() {
    std::vector<Item> items;
    HMENU bar = frame_->GetMenu()->m_hMenu;
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i)
      if (HMENU popup = ::GetSubMenu(bar, i)) AddPopupItems(Source::MainMenu, popup, items);
    UpdateBars();
    AddToolBarItems(Source::MainToolBar, frame_->GetMainToolBar(), items);
    AddToolBarItems(Source::TemplateBar, frame_->GetTemplateBar(), items);
    AddContextMenu(Source::EngineMenu, IDR_ENGINES_POPUP, items);
    AddContextMenu(Source::TermMenu, IDR_TERMS_POPUP, items);
    AddContextMenu(Source::FormTermMenu, IDR_FORM_TERM_MENU, items);
    AddContextMenu(Source::OpenMenu, IDR_OPEN_DROPDOWN, items);
    return items;
  }

  // ---- what a command changed ----

  std::string DocState() {
    CZubrinDoc* doc = Doc();
    if (!doc) return "no document";
    std::ostringstream s;
    s << doc->m_siteUrl.GetString() << '|' << doc->GetSearchTerm().GetString() << '|'
      << doc->IsModified() << doc->m_running << doc->m_stop << doc->m_closePending << '|'
      << doc->m_submitAuto << '|' << doc->m_templateIndex << doc->m_templateName.GetString()
      << '|' << doc->GetPathName().GetString() << '|';
    for (POSITION p = doc->m_manager.GetHeadPosition(); p;) {
      CEngineSet* set = doc->m_manager.GetNext(p);
      s << set->GetName().GetString() << set->m_active << '[';
      for (const char* name : {"Alpha", "Beta"})
        if (CSearchEngine* engine = set->FindEngine(name)) s << engine->m_enabled;
      s << ']';
    }
    for (POSITION p = doc->m_engineCache.GetStartPosition(); p;) {
      CString name;
      CObject* entry = nullptr;
      doc->m_engineCache.GetNextAssoc(p, name, entry);
      s << name.GetString() << static_cast<CEngineCache*>(entry)->m_excluded;
    }
    return s.str();
  }
  std::string WindowState() {
    std::ostringstream s;
    s << frame_->IsSearchTermPaneShown() << '|' << frame_->GetActiveView() << '|' << ::GetFocus()
      << '|';
    for (HWND list : {g_hEngineViewWnd, g_pSearchTermView ? g_pSearchTermView->m_hWnd : nullptr}) {
      if (!list) continue;
      int count = ListView_GetItemCount(list);
      s << count << ':';
      for (int row = 0; row < count; ++row)
        s << (ListView_GetItemState(list, row, LVIS_SELECTED) ? 's' : '-');
      s << '|';
    }
    HWND combo = frame_->GetTemplateCombo()->m_hWnd;
    s << ::SendMessageA(combo, CB_GETCOUNT, 0, 0) << ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    for (int id : {IDC_FORM_SITE_URL, IDC_FORM_SEARCH_TERM}) {
      HWND field = ::GetDlgItem(frame_->GetSearchFormPane()->m_hWnd, id);
      char text[256] = {};
      ::GetWindowTextA(field, text, sizeof text);
      DWORD start = 0, end = 0;
      ::SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      s << '|' << text << start << ':' << end;
    }
    s << '|' << ClipboardText();
    return s.str();
  }
  std::string Files() {
    std::ostringstream s;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((folder_.Path() + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        s << found.cFileName << ' ' << found.nFileSizeLow << ' '
          << found.ftLastWriteTime.dwLowDateTime << ';';
      } while (::FindNextFileA(find, &found));
      ::FindClose(find);
    }
    s << apptest::ReadBytes(templatesPath_).size();
    return s.str();
  }

  // Runs the command as a menu item or a key would send it and says what it did; empty when
  // nothing could be seen.
  std::string Run(UINT id) {
    g_effects = Effects();
    g_known.clear();
    ::EnumThreadWindows(::GetCurrentThreadId(), KnowWindow, 0);
    const std::string doc = DocState(), window = WindowState(), files = Files();
    UINT_PTR timer = ::SetTimer(nullptr, 0, 40, WatchWindows);
    ::SendMessageA(hFrame_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    // A run the command started ends before the next command.
    for (int i = 0; i < 300 && Doc() && Doc()->GetRunControl().IsRunning() && !running_; ++i) {
      Pump();
      ::Sleep(10);
    }
    Pump();
    WatchWindows(nullptr, 0, 0, 0);
    Pump();
    ::KillTimer(nullptr, timer);
    std::string seen;
    auto note = [&seen](const std::string& what) { seen += (seen.empty() ? "" : ", ") + what; };
    for (const std::string& text : g_effects.boxes) note("message \"" + text.substr(0, 40) + "\"");
    for (const std::string& title : g_effects.windows) note("window \"" + title + "\"");
    for (const std::string& page : g_effects.opened) note("browser " + page);
    for (const std::string& call : g_effects.help) note("help " + call);
    for (const std::string& program : g_effects.shell) note("started " + program);
    if (g_effects.workers) note("run of " + std::to_string(g_effects.workers) + " engines");
    MSG close;
    if (::PeekMessageA(&close, hFrame_, WM_CLOSE, WM_CLOSE, PM_REMOVE)) note("close asked");
    if (!::IsWindow(hFrame_)) {
      note("window closed");
      hFrame_ = nullptr;
      frame_ = nullptr;
      return seen;
    }
    if (DocState() != doc) note("document changed");
    if (WindowState() != window) note("window changed");
    if (Files() != files) note("files changed");
    const std::string mail = apptest::ReadBytes(folder_.File("mail.txt"));
    if (!mail.empty()) {
      note("mail sent");
      ::DeleteFileA(folder_.File("mail.txt").c_str());
    }
    return seen;
  }

  apptest::LanguageModuleScope language_;
  apptest::TempFolder folder_;
  std::unique_ptr<CZubrinApp> app_;
  CMainFrame* frame_ = nullptr;
  HWND hFrame_ = nullptr;
  CMainRunViews runViews_;
  std::string templatesPath_, templatesBefore_;
  bool hadTemplates_ = false;
  bool running_ = false;
};


namespace {

// ---- the rules ----

// Why an item is off in a state of the guard's document; null when it must be on, and then
// show an effect.
using Rule = const char* (*)(const State&);

const char* Always(const State&) { return nullptr; }
const char* NoRun(const State& s) {
  return s.running ? "off during a run: the run works on the document and the engines" : nullptr;
}
const char* OnlyDuringRun(const State& s) {
  return s.running ? nullptr : "stop needs a run";
}
// Cut and copy need a selection in a field of the search form (the guard selects part of the
// term field when the form is active); paste needs the form and text on the clipboard.
const char* FormField(const State& s) {
  return s.pane == kForm ? nullptr : "the edit commands act on the search form's fields";
}
// Select All: the engine list's rows (not during a run) or the text of the form's field.
const char* SelectAll(const State& s) {
  if (s.pane == kForm) return nullptr;
  if (s.pane == kTerms) return "the search-term list has no select-all";
  return NoRun(s);
}
const char* FirstTermUp(const State&) { return "the first search term cannot move up"; }
const char* NoRecentFiles(const State&) { return "the recent-file list is empty"; }
const char* SendDocument(const State& s) {
  if (!IsMapiAvailable()) return "no simple mail on this system";
  return NoRun(s);
}

struct Expectation {
  UINT id;
  Rule rule;
  // Where the item cannot show a change in a state, the reason (the item is still checked to
  // be on).
  Rule noChange = nullptr;
};

const char* FocusAlreadyInTerm(const State& s) {
  return s.pane == kForm ? "the caret is in the term field already" : nullptr;
}

const Expectation kExpectations[] = {
    // File
    {ID_FILE_NEW, NoRun},
    {ID_FILE_OPEN, NoRun},
    {ID_FILE_SAVE, NoRun},
    {ID_FILE_SAVE_AS, NoRun},
    {ID_EXPORT_CSV, NoRun},
    {ID_FILE_SEND_MAIL, SendDocument},
    {ID_FILE_PRINT_SETUP, Always},
    {ID_FILE_MRU_FIRST, NoRecentFiles},
    {ID_APP_EXIT, Always},
    // Edit
    {ID_EDIT_CUT, FormField},
    {ID_EDIT_COPY, FormField},
    {ID_EDIT_PASTE, FormField},
    {ID_EDIT_SELECT_ALL, SelectAll},
    {ID_TERM_ADD, NoRun},
    {ID_TERM_EDIT, NoRun},
    {ID_TERM_DELETE, NoRun},
    {ID_TERM_MOVE_UP, FirstTermUp},
    {ID_TERM_MOVE_DOWN, NoRun},
    {ID_TERM_PASTE, NoRun},
    {ID_TERM_CLEAR, NoRun},
    {ID_TERM_IMPORT, NoRun},
    {ID_TERM_IMPORT_PAGE, NoRun},
    {ID_TERM_EXPORT, NoRun},
    // View
    {ID_VIEW_SEARCHTERMS, Always},
    {ID_TERM_NEXT, NoRun},
    {ID_TERM_PREVIOUS, NoRun},
    {ID_FOCUS_SEARCHTERM, Always, FocusAlreadyInTerm},
    {ID_FOCUS_SITE, Always},
    {ID_NEXT_PANE_CMD, Always},
    // Search
    {ID_RUN_CHECK_ALL, NoRun},
    {ID_RUN_CHECK_CURRENT, NoRun},
    {ID_RUN_CHECK_SELECTED, NoRun},
    {ID_RUN_STOP, OnlyDuringRun},
    {ID_RUN_SUBMIT_CURRENT, NoRun},
    {ID_RUN_SUBMIT_SELECTED, NoRun},
    {ID_RUN_SUBMIT_AUTO, NoRun},
    {ID_RUN_MARK_SUBMITTED, NoRun},
    {ID_RUN_ENGINE_FLAG, NoRun},
    // Engines
    {ID_ENGINE_HOMEPAGE, Always},
    {ID_ENGINE_ADDPAGE, Always},
    {ID_ENGINE_ALL, NoRun},
    {ID_ENGINE_NONE, NoRun},
    {ID_TEMPLATE_COMBO, NoRun},
    {ID_TEMPLATE_SAVE, NoRun},
    {ID_TEMPLATE_DELETE, NoRun},
    {ID_TEMPLATE_APPLY, NoRun},
    {ID_ENGINE_SELECT_BY, NoRun},
    // Reports
    {ID_VIEW_DETAIL, NoRun},
    {ID_VIEW_RESULTS, NoRun},
    {ID_VIEW_SUMMARY, NoRun},
    {ID_VIEW_KEYWORD, NoRun},
    {ID_VIEW_SUBMITTAL, NoRun},
    {ID_VIEW_COMPETITOR, NoRun},
    {ID_VIEW_KEYWORDSTAT, NoRun},
    {ID_VIEW_URLSUMMARY, NoRun},
    {ID_MAIL_SUMMARY, NoRun},
    {ID_MAIL_KEYWORD, NoRun},
    {ID_MAIL_SUBMITTAL, NoRun},
    {ID_MAIL_COMPETITOR, NoRun},
    {ID_MAIL_KEYWORDSTAT, NoRun},
    {ID_MAIL_URLSUMMARY, NoRun},
    // Tools
    {ID_OPTIONS, NoRun},
    {ID_PROJECT_PROPERTIES, NoRun},
    {ID_TOOLS_EDIT, Always},
    {ID_ENGINE_OPTIONS, NoRun},
    {ID_PROJECT_PAGE0, NoRun},
    {ID_PROJECT_PAGE1, NoRun},
    {ID_PROJECT_PAGE2, NoRun},
    {ID_PROJECT_PAGE3, NoRun},
    {ID_CHECK_UPDATE, NoRun},
    // Help
    {ID_DEFAULT_HELP, Always},
    {ID_SUPPORT_MAIL, NoRun},
    {ID_APP_ABOUT_ZB, Always},
};

const Expectation* ExpectationOf(UINT id) {
  for (const Expectation& e : kExpectations)
    if (e.id == id) return &e;
  return nullptr;
}

// A context menu opens on its own pane, which the click that opens it makes active.
bool Shown(Source source, Pane pane) {
  switch (source) {
    case Source::EngineMenu: return pane == kEngines;
    case Source::TermMenu: return pane == kTerms;
    case Source::FormTermMenu: return pane == kForm;
    default: return true;
  }
}

}  // namespace

TEST_F(CommandGuardTest, EveryItemIsOnWithAnEffectOrOffForARule) {
  for (bool running : {false, true}) {
    for (int pane = 0; pane < kPaneCount; ++pane) {
      const State state{static_cast<Pane>(pane), running};
      SCOPED_TRACE(std::string(kPaneNames[pane]) + (running ? " active, during a run" : " active, no run"));
      Reset(state);
      bool dirty = false;
      std::map<UINT, std::string> effects;  // each command is run once per state
      for (const Item& item : Items()) {
        if (!Shown(item.source, state.pane)) continue;
        const std::string where = std::string(SourceName(item.source)) + " item " +
                                  std::to_string(item.id) + " \"" + item.text + "\"";
        const Expectation* expectation = ExpectationOf(item.id);
        if (!expectation) {
          ADD_FAILURE() << where << " has no rule in the guard's table";
          continue;
        }
        const char* offBecause = expectation->rule(state);
        if (item.enabled != (offBecause == nullptr)) {
          std::ostringstream what;
          what << where << (item.enabled ? " is on, but should be off: " : " is off, but should be on")
               << (offBecause ? offBecause : "");
          ADD_FAILURE() << what.str();
        }
        if (!item.enabled) continue;
        auto done = effects.find(item.id);
        if (done == effects.end()) {
          // Only what changed something needs the document and the window set up anew.
          if (dirty) Reset(state);
          done = effects.emplace(item.id, Run(item.id)).first;
          dirty = done->second.find("changed") != std::string::npos ||
                  done->second.find("close") != std::string::npos ||
                  done->second.find("run of") != std::string::npos ||
                  done->second.find("started") != std::string::npos;
        }
        if (done->second.empty() && !(expectation->noChange && expectation->noChange(state)))
          ADD_FAILURE() << where << " is on but nothing could be seen to happen";
      }
    }
  }
}

// ---- the commands of this change, one by one through the window's routing ----

// Save Template: the dialog is preset with the chosen template's name; OK keeps the checked
// engines under the entered name in templates.dat, and the combo shows the new template.
TEST_F(CommandGuardTest, SaveTemplateWritesTheFileAndTheComboShowsTheNewTemplate) {
  std::string preset;
  g_inWindow = [&preset](HWND dialog) {
    HWND name = ::GetDlgItem(dialog, IDC_TEMPLATE_NAME);
    if (!name) return false;
    char text[128] = {};
    ::GetWindowTextA(name, text, sizeof text);
    preset = text;
    ::SetWindowTextA(name, "Alpha Only");
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return true;
  };
  // Beta unchecked: the template holds Alpha alone.
  Reset({kEngines, false});
  SetEngineEnabled(Doc()->m_database, "Beta", 0);
  Doc()->SetEngineEnabledInAllSets("Beta", 0);
  Doc()->UpdateAllViews(nullptr, 111);
  Pump();
  const std::string effect = Run(ID_TEMPLATE_SAVE);
  g_inWindow = nullptr;
  EXPECT_EQ(preset, "Only Beta");
  EXPECT_NE(effect.find("Save Selection Template"), std::string::npos) << effect;
  const std::string file = apptest::ReadBytes(templatesPath_);
  EXPECT_NE(file.find("[Alpha Only]\r\nAlpha\r\n\r\n"), std::string::npos) << file;
  EXPECT_EQ(Doc()->m_templateIndex, -3);
  UpdateBars();
  HWND combo = frame_->GetTemplateCombo()->m_hWnd;
  const int chosen = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
  ASSERT_GE(chosen, 0);
  char text[64] = {};
  ::SendMessageA(combo, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Alpha Only");
  EXPECT_EQ(Doc()->m_templateIndex, chosen);
}

// Delete Template: once deleted, the template leaves the file and the combo, nothing is chosen
// and Delete is off; Apply then checks the engines of whatever the combo shows.
TEST_F(CommandGuardTest, ADeletedTemplateLeavesTheComboAndDeleteGoesOff) {
  Reset({kTerms, false});
  AfxSetMessageBoxHandler([](LPCSTR, UINT) { return IDOK; });
  ::SendMessageA(hFrame_, WM_COMMAND, ID_TEMPLATE_DELETE, 0);
  AfxSetMessageBoxHandler(RecordBox);
  UpdateBars();
  HWND combo = frame_->GetTemplateCombo()->m_hWnd;
  EXPECT_EQ(::SendMessageA(combo, CB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(::SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(Doc()->m_templateIndex, -1);
  EXPECT_STREQ(Doc()->m_templateName.GetString(), "");
  EXPECT_FALSE(frame_->GetTemplateBar()->SendMessage(TB_ISBUTTONENABLED, ID_TEMPLATE_DELETE));
  EXPECT_EQ(apptest::ReadBytes(templatesPath_).find("Only Beta"), std::string::npos);
  // The combo's remaining template applied from the toolbar's button.
  ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
  SetEngineEnabled(Doc()->m_database, "Beta", 0);
  Doc()->SetEngineEnabledInAllSets("Beta", 0);
  ::SendMessageA(hFrame_, WM_COMMAND, ID_TEMPLATE_APPLY,
                 reinterpret_cast<LPARAM>(frame_->GetTemplateBar()->m_hWnd));
  EXPECT_EQ(Doc()->m_currentSet->FindEngine("Beta")->m_enabled, 1);
  EXPECT_STREQ(Doc()->m_templateName.GetString(), "Both");
}

// The debug switch posts the debug run at start-up: the window passes it to the document,
// which runs the named engine; a name the current term lacks ends the program with a log line.
TEST_F(CommandGuardTest, TheDebugRunStartsThroughTheWindowOrEndsWithALogLine) {
  const std::string options = folder_.File("debug.txt");
  struct Case {
    const char* engine;
    int workers;
    bool closes;
  } cases[] = {{"Alpha", 1, false}, {"Nowhere", 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.engine);
    Reset({kEngines, false});
    apptest::WriteBytes(options, std::string("engine=") + c.engine + "\nurltofind=http://dbg.example/\n");
    SetCommandLineInfo(new NQCommandLineInfo(("/debug_opt \"" + options + "\"").c_str()));
    CZubrinDoc::ResetAutomatedEnd();
    CZubrinAppLog::Open(folder_.File("site.zbp").c_str());
    g_effects = Effects();
    ::PostMessageA(hFrame_, WM_COMMAND, ID_RUN_DEBUG, 0);
    for (int i = 0; i < 300; ++i) {
      Pump();
      if (c.closes ? !::IsWindow(hFrame_) : g_effects.workers >= c.workers) break;
      ::Sleep(10);
    }
    EXPECT_EQ(g_effects.workers, c.workers);
    EXPECT_EQ(!::IsWindow(hFrame_), c.closes);
    const std::string log = apptest::ReadBytes(folder_.File("site.log"));
    EXPECT_EQ(log.find("no engine named \"Nowhere\"") != std::string::npos, c.closes) << log;
    CZubrinAppLog::Reset();
    CZubrinDoc::ResetAutomatedEnd();
    ::DeleteFileA(folder_.File("site.log").c_str());
    Close();
  }
}

// Help and F1 reach the system's help with the program's help file; without the file the user
// is told which file is missing.
TEST_F(CommandGuardTest, HelpOpensTheHelpFileOrSaysItIsMissing) {
  const std::string help = GetHelpFilePath().GetString();
  ASSERT_EQ(::GetFileAttributesA(help.c_str()), INVALID_FILE_ATTRIBUTES) << help;
  Reset({kTerms, false});
  // F1 arrives as an accelerator's command.
  g_effects = Effects();
  ::SendMessageA(hFrame_, WM_COMMAND, MAKEWPARAM(ID_DEFAULT_HELP, 1), 0);
  ASSERT_EQ(g_effects.boxes.size(), 1u);
  EXPECT_NE(g_effects.boxes[0].find(help), std::string::npos) << g_effects.boxes[0];
  EXPECT_TRUE(g_effects.help.empty());
  apptest::WriteBytes(help, "help");
  g_effects = Effects();
  ::SendMessageA(hFrame_, WM_COMMAND, ID_DEFAULT_HELP, 0);
  ::DeleteFileA(help.c_str());
  EXPECT_TRUE(g_effects.boxes.empty());
  EXPECT_EQ(g_effects.help, std::vector<std::string>{help + " 11"});  // the help finder
}

// Closing the window while the update check before a run waits: the window stays until the
// check is over, no run starts, and then the window closes.
bool g_closeDuringCheck = false;
bool CloseDuringCheck(CZubrinDoc&, IUpdateViews&, bool, bool) {
  ::SendMessageA(AfxGetMainWnd()->m_hWnd, WM_CLOSE, 0, 0);
  g_closeDuringCheck = ::IsWindow(AfxGetMainWnd()->m_hWnd) != FALSE;
  return false;
}
TEST_F(CommandGuardTest, ClosingTheWindowDuringTheUpdateCheckWaitsForItsEnd) {
  Reset({kEngines, false});
  CRunControl::SetPendingUpdateCheck(CloseDuringCheck);
  g_effects = Effects();
  ::SendMessageA(hFrame_, WM_COMMAND, ID_RUN_CHECK_ALL, 0);
  CRunControl::SetPendingUpdateCheck(nullptr);
  EXPECT_TRUE(g_closeDuringCheck) << "the window stayed while the check ran";
  Pump();
  EXPECT_EQ(g_effects.workers, 0);
  EXPECT_FALSE(::IsWindow(hFrame_)) << "the close was carried out after the check";
}

// Engine Options opens the options sheet on its column page, from whichever pane is active.
TEST_F(CommandGuardTest, EngineOptionsOpensTheOptionsOnTheColumnPage) {
  for (Pane pane : {kForm, kTerms, kEngines}) {
    SCOPED_TRACE(kPaneNames[pane]);
    Reset({pane, false});
    int page = -1;
    g_inWindow = [&page](HWND sheet) {
      HWND tab = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
      page = tab ? static_cast<int>(::SendMessageA(tab, TCM_GETCURSEL, 0, 0)) : -1;
      return false;  // and cancel it
    };
    const std::string effect = Run(ID_ENGINE_OPTIONS);
    g_inWindow = nullptr;
    EXPECT_NE(effect.find("window \"Options\""), std::string::npos) << effect;
    EXPECT_EQ(page, 4);
  }
}

// Report Broken Engines: the support mail goes through the system's mail (here the stand-in
// library) with the site, the terms and the selected engines' rows.
TEST_F(CommandGuardTest, ReportBrokenEnginesMailsTheSelectedEngines) {
  Reset({kTerms, false});
  ::SendMessageA(hFrame_, WM_COMMAND, ID_SUPPORT_MAIL, 0);
  const std::string mail = apptest::ReadBytes(folder_.File("mail.txt"));
  ::DeleteFileA(folder_.File("mail.txt").c_str());
  for (const char* line :
       {"subject: Zubrin Support Request - Broken Engines", "recipient: 1 " ZBPRO_SUPPORT_ADDRESS,
        "recipient: 2 " ZBPRO_SUPPORT_COPY, "URL Address To Find: http://www.zb-testsite.com/\r\n",
        "Current Search Term: alpha term\r\n\r\n",
        "Search Terms:\r\n-------------\r\nalpha term\r\nbeta term\r\n\r\n",
        "Selected Search Engines:\r\n------------------------\r\nAlpha, R:0, Pg:0, Pos:0, "})
    EXPECT_NE(mail.find(line), std::string::npos) << line << "\n" << mail;
  EXPECT_EQ(mail.find("Beta, R:"), std::string::npos) << "only the selected row";
}
