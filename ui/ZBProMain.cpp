// ZBPro, the main program: its application object with the window classes and the window side's
// start-up calls, and the entry point.
#include <windows.h>

#include "app/program/ZubrinApp.h"
#include "app/program/ZubrinAppLog.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/UpdateBroadcast.h"
#include "framework/threads/WinThread.h"
#include "framework/wnd/Wnd.h"
#include "reports/EngineReports.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/dialogs/TkTipOfTheDay.h"
#include "reports/EngineRows.h"
#include "reports/ReportCommands.h"
#include "ui/MainFrame.h"
#include "ui/Panes.h"
#include "ui/RunWindows.h"
#include "ui/views/SearchEngineView.h"
#include "ui/dialogs/AboutBox2.h"
#include "ui/dialogs/ExportCSV.h"
#include "ui/dialogs/SplashScreen.h"

#include <memory>

namespace {

CMainRunViews g_runViews;

// What the report writers say of an unattended run goes into the run's log.
void ReportLine(const char* line) {
  CZubrinAppLog::Note(line);
}

// The Detail report is of the engine list's selected engine.
CSearchEngine* SelectedEngine(CZubrinDoc&) {
  return g_pSearchEngineView ? g_pSearchEngineView->GetSelectedEngine() : nullptr;
}

// The reports list the engines as the engine list shows them.
std::vector<CLibString> EngineViewRows(const CZubrinDoc&) {
  std::vector<CLibString> names;
  for (const CString& name : CMainRunViews::RowNames(g_hEngineViewWnd))
    names.emplace_back(static_cast<LPCSTR>(name));
  return names;
}

void ConnectWindows(CZubrinDoc* doc) {
  CWnd* main = AfxGetMainWnd();
  g_runViews.SetMainWindow(main ? main->m_hWnd : nullptr);
  if (doc) doc->SetRunViews(&g_runViews);
}

void DisconnectWindows() {
  if (CZubrinDoc* doc = CZubrinDoc::GetDocument()) doc->SetRunViews(nullptr);
  ClearUpdateWindows();
}

std::unique_ptr<CSplashScreen> g_splash;

void ShowSplash() {
  g_splash = std::make_unique<CSplashScreen>();
  if (!g_splash->Create()) g_splash.reset();
}
void DestroySplash() {
  if (g_splash && g_splash->m_hWnd) g_splash->DestroyWindow();
  g_splash.reset();
}
void RestorePlacement(CWnd* mainWnd, int showCommand) {
  if (mainWnd && mainWnd->IsKindOf(RUNTIME_CLASS(CMainFrame)))
    static_cast<CMainFrame*>(mainWnd)->RestorePlacement(showCommand);
  else if (mainWnd)
    mainWnd->ShowWindow(showCommand);
}
// The toolkit's bars, cursors and texts come from the language module too.
void LanguageLoaded(HINSTANCE module) {
  ToolkitData().Initialize(module);
}
void ShowTipOfTheDay(const char* tipsFile) {
  CTkTipOfTheDay tip(tipsFile, AfxGetMainWnd());
  tip.DoModal();
}
void ShowAbout() {
  CAboutBox2 about(AfxGetMainWnd());
  about.DoModal();
}
// The main frame's CSV command asks through the export dialog.
BOOL AskCsvExportInDialog(CWnd* owner, CsvExportChoice& choice) {
  CExportCSV dialog(owner);
  dialog.m_strFileName = choice.fileName;
  dialog.m_strFolder = choice.folder;
  dialog.m_bHeader = choice.writeHeader;
  dialog.m_bAppend = choice.append;
  if (dialog.DoModal() != IDOK) return FALSE;
  choice.fileName = dialog.m_strFileName;
  choice.folder = dialog.m_strFolder;
  choice.writeHeader = dialog.m_bHeader;
  choice.append = dialog.m_bAppend;
  return TRUE;
}

ZubrinAppWindows Windows() {
  ZubrinAppWindows windows;
  windows.frameClass = RUNTIME_CLASS(CMainFrame);
  windows.viewClass = SearchFormClass();
  windows.showSplash = ShowSplash;
  windows.destroySplash = DestroySplash;
  windows.restorePlacement = RestorePlacement;
  windows.showAbout = ShowAbout;
  windows.showTipOfTheDay = ShowTipOfTheDay;
  windows.languageLoaded = LanguageLoaded;
  windows.connect = ConnectWindows;
  windows.disconnect = DisconnectWindows;
  return windows;
}

CZubrinApp theApp(Windows());

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  // The document's and the report writers' progress and the document's panes go to the main
  // frame's status bar (the frame connects them again when it is made).
  CMainFrame::ConnectProgressHooks();
  SetReportLog(ReportLine);
  SetEngineRowSource(EngineViewRows);
  SetSelectedEngineSource(SelectedEngine);
  SetCsvExportAsker(AskCsvExportInDialog);
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
