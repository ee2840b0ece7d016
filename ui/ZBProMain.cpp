// ZBPro, the main program: its application object with the window classes and the window side's
// start-up calls, and the entry point.
#include <windows.h>

#include "app/ZubrinApp.h"
#include "app/ZubrinAppLog.h"
#include "app/ZubrinDoc.h"
#include "app/run/UpdateBroadcast.h"
#include "framework/WinThread.h"
#include "framework/wnd/Wnd.h"
#include "reports/EngineReports.h"
#include "ui/AutomatedRunReceiver.h"
#include "ui/MainFrame.h"
#include "ui/Panes.h"

namespace {

CInterimRunViews g_runViews;

void BeginDocumentProgress(UINT upper, UINT lower, UINT captionId) {
  g_runViews.BeginProgress(upper, lower, captionId);
}
void StepDocumentProgress() {
  CMainFrame::StepProgress();
}
void EndDocumentProgress() {
  CMainFrame::EndProgress();
}
void PostMainCommand(UINT command) {
  if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_COMMAND, command);
}
void FitPane(UINT paneId) {
  CMainFrame::SetPaneText(paneId);
}
// What the report writers say of an unattended run goes into the run's log.
void ReportLine(const char* line) {
  CZubrinAppLog::Note(line);
}

void ConnectWindows(CZubrinDoc* doc) {
  CWnd* main = AfxGetMainWnd();
  g_runViews.SetMainWindow(main ? main->m_hWnd : nullptr);
  if (doc) doc->SetRunViews(&g_runViews);
  CAutomatedRunReceiver::Create();
}

void DisconnectWindows() {
  if (CZubrinDoc* doc = CZubrinDoc::GetDocument()) doc->SetRunViews(nullptr);
  ClearUpdateWindows();
  CAutomatedRunReceiver::Destroy();
}

ZubrinAppWindows Windows() {
  ZubrinAppWindows windows;
  windows.frameClass = RUNTIME_CLASS(CMainFrame);
  windows.viewClass = SearchFormClass();
  // GAP: the splash screen (CSplashWnd), the about box and the saved window placement come
  // with the dialogs and the toolkit; until then no splash, no about box, a plain show.
  windows.connect = ConnectWindows;
  windows.disconnect = DisconnectWindows;
  return windows;
}

CZubrinApp theApp(Windows());

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  DocumentProgressHooks hooks;
  hooks.begin = BeginDocumentProgress;
  hooks.step = StepDocumentProgress;
  hooks.end = EndDocumentProgress;
  hooks.postCommand = PostMainCommand;
  hooks.fitPane = FitPane;
  SetDocumentProgressHooks(hooks);
  SetReportLog(ReportLine);
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
