#include "app/program/ZubrinApp.h"

#include <commctrl.h>

#include <clocale>

#include "app/services/AppPaths.h"
#include "app/program/NQCommandLineInfo.h"
#include "app/settings/SearchProperties.h"
#include "app/settings/SelectionTemplates.h"
#include "app/settings/SettingsMigration.h"
#include "app/program/StartupPhases.h"
#include "app/program/ZubrinAppLog.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/update/UpdateProgramFile.h"
#include "engines/db/EngineServices.h"
#include "foundation/net/Socklet.h"
#include "framework/app/AfxResource.h"
#include "framework/app/CommandLineInfo.h"
#include "framework/app/MessageBox.h"
#include "framework/app/AppIds.h"
#include "framework/docview/DocTemplate.h"
#include "framework/wnd/Wnd.h"
#include "resources/resource.h"
#include "resources/ids/DocIds.h"

namespace {

// The texts shown when no language module could be loaded: the program's own file holds no
// string table, so they cannot come from resources.
const char kNoModuleText[] = "The language module %s could not be loaded.";
const char kCannotStartText[] =
    "ZBPro cannot start without its language module. Please reinstall the program.";

// The command line as typed, without the program's own name.
const char* ArgumentsOf(const char* line) {
  if (!line) return "";
  while (*line == ' ' || *line == '\t') ++line;
  if (*line == '"') {
    ++line;
    while (*line && *line != '"') ++line;
    if (*line) ++line;
  } else {
    while (*line && *line != ' ' && *line != '\t') ++line;
  }
  return line;
}

CString FullPath(const CString& path) {
  if (path.IsEmpty()) return path;
  char full[MAX_PATH * 2];
  DWORD n = GetFullPathNameA(path, sizeof full, full, nullptr);
  return n > 0 && n < sizeof full ? CString(full) : path;
}

bool EngineDatabaseUsable(const CEngineList& database) {
  return database.GetCount() > 0 && !database.IsDamaged();
}

// Nobody answers a box in an unattended run: its text is the log's, its answer the safe one.
int LogBox(LPCSTR text, UINT type) {
  CString line(text);
  line.Replace("\r\n", " ");
  line.Replace('\n', ' ');
  CZubrinAppLog::Fail("%s", line.GetString());
  return AfxDefaultMessageBoxAnswer(type);
}
int LogEngineBox(HWND, const char* text, const char*, unsigned type) {
  return LogBox(text, type);
}

// A module named by a path is taken as it is; a bare name from the program's folder.
HINSTANCE LoadModule(const CString& name) {
  if (name.IsEmpty()) return nullptr;
  if (name.Find('\\') >= 0 || name.Find(':') >= 0)
    return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  return AfxLoadResourceModule(name);
}

}  // namespace

BEGIN_MESSAGE_MAP(CZubrinApp, CWinApp)
  ON_COMMAND(ID_APP_ABOUT_ZB, OnAppAbout)
  ON_COMMAND(ID_HELP_TIP_OF_DAY, OnTipOfTheDay)
  ON_COMMAND(ID_HELP_CONTENTS_ZB, OnHelpContents)
  ON_COMMAND_RANGE(ID_HELP_TOPIC_FIRST, ID_HELP_TOPIC_LAST, OnHelpTopic)
  ON_COMMAND(ID_HELP_SEARCH_ZB, OnHelpSearch)
  ON_COMMAND(ID_HELP_ON_HELP, OnHelpOnHelp)
  ON_COMMAND(ID_HELP_SUPPORT_PAGE, OnSupportPage)
  ON_COMMAND(ID_HELP_HOME_PAGE, OnHomePage)
  ON_COMMAND_EX_RANGE(ID_FILE_MRU_FIRST, ID_FILE_MRU_LAST, OnRecentFile)
  ON_UPDATE_COMMAND_UI_RANGE(ID_FILE_MRU_FIRST, ID_FILE_MRU_LAST, OnUpdateRecentFile)
END_MESSAGE_MAP()

CZubrinApp::CZubrinApp(const ZubrinAppWindows& windows) : CWinApp("ZBPro"), m_windows(windows) {}

CZubrinApp::~CZubrinApp() { FreeGlobals(); }

bool CZubrinApp::Automated() {
  const NQCommandLineInfo* commandLine = GetCommandLineInfo();
  return commandLine && commandLine->m_bAutomated;
}

BOOL CZubrinApp::InitInstance() {
  SetRegistryKey("Orvandel Labs, Inc.");
  // The command line comes first so that an unattended run is known before anything can fail:
  // from then on its failures go to the log instead of waiting in a box for nobody.
  SetCommandLineInfo(new NQCommandLineInfo(ArgumentsOf(GetCommandLineA())));
  if (Automated()) {
    CZubrinAppLog::Open(FullPath(GetCommandLineInfo()->m_strFileName));
    AfxSetMessageBoxHandler(LogBox);
    SetEngineMessageBox(LogEngineBox);
  } else {
    AfxEnableMessageBoxWindows(TRUE);
  }
  if (!LoadLanguage()) return FALSE;
  if (GetCommandLineInfo()->m_bShowSplash && m_windows.showSplash) m_windows.showSplash();
  MakeTemplates();
  if (!StartSockets()) return FALSE;
  // Help: every help file is data beside the program; the popup topics of the controls come
  // from GetPopupHelpFilePath when a control asks.
  GetSearchProperties().Load();
  InitCommonControls();
  LoadStdProfileSettings(4);
  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZubrinDoc),
                                        m_windows.frameClass, m_windows.viewClass));
  EnableShellOpen();
  RegisterShellFileTypes(TRUE);
  MarkStartupPhase(startup::kLanguage);
  if (!OpenFirstDocument()) return FALSE;
  ShowMainWindow();
  MarkStartupPhase(startup::kShown);
  if (!Automated() && m_windows.showTipOfTheDay && GetProfileInt("Tip", "StartUp", 0) == 0) {
    DestroySplash();
    m_windows.showTipOfTheDay(GetTipsFilePath());
  }
  DestroySplash();
  StartRequestedRun();
  m_bStarted = TRUE;
  return TRUE;
}

BOOL CZubrinApp::LoadLanguage() {
  CString name = GetResourceDllPath();
  m_hLanguage = LoadModule(name);
  if (!m_hLanguage) m_hLanguage = LoadModule(GetDefaultResourceDllPath());
  if (!m_hLanguage) {
    char text[MAX_PATH + 128];
    snprintf(text, sizeof text, kNoModuleText, name.GetString());
    if (Automated()) {
      CZubrinAppLog::Fail("%s %s", text, kCannotStartText);
    } else {
      ::MessageBoxA(nullptr, text, "ZBPro", MB_OK | MB_ICONSTOP);
      ::MessageBoxA(nullptr, kCannotStartText, "ZBPro", MB_OK | MB_ICONSTOP);
    }
    return FALSE;
  }
  AfxSetResourceHandle(m_hLanguage);
  setlocale(LC_ALL, GetLanguageCode());
  SetReportResourceModule(m_hLanguage);
  if (m_windows.languageLoaded) m_windows.languageLoaded(m_hLanguage);
  return TRUE;
}

void CZubrinApp::MakeTemplates() {
  NQSelectionTemplates* templates = new NQSelectionTemplates;
  SetSelectionTemplates(templates);
  const std::string path = GetTemplatesFilePath().GetString();
  templates->Load(path);
  MigrateSettings(SaveMigratedTemplatesTo(*templates, path));
}

BOOL CZubrinApp::StartSockets() {
  m_bSockets = SockletStartup();
  if (m_bSockets) return TRUE;
  DestroySplash();
  AfxMessageBox(IDP_SOCKETS_INIT_FAILED, MB_OK | MB_ICONSTOP);
  return FALSE;
}

BOOL CZubrinApp::OpenFirstDocument() {
  CCommandLineInfo shell;
  ParseCommandLine(shell);
  NQCommandLineInfo* own = GetCommandLineInfo();
  if (own->m_nShellCommand == NQCommandLineInfo::FileNew) {
    shell.m_nShellCommand = CCommandLineInfo::FileNew;
    shell.m_strFileName.Empty();
  } else if (own->m_nShellCommand == NQCommandLineInfo::FileOpen) {
    shell.m_nShellCommand = CCommandLineInfo::FileOpen;
    shell.m_strFileName = own->m_strFileName;
  }
  if (ProcessShellCommand(shell) && m_pMainWnd && CZubrinDoc::GetDocument()) return TRUE;
  if (Automated()) {
    if (shell.m_nShellCommand == CCommandLineInfo::FileOpen)
      CZubrinAppLog::Fail("The document %s could not be opened; nothing was run.",
                          FullPath(shell.m_strFileName).GetString());
    else
      CZubrinAppLog::Fail("The main window could not be made; nothing was run.");
  }
  DestroySplash();
  // Deleted through its owner, which forgets it: the exit that follows finds nothing to free.
  SetCommandLineInfo(nullptr);
  return FALSE;
}

void CZubrinApp::ShowMainWindow() {
  if (m_windows.connect) m_windows.connect(CZubrinDoc::GetDocument());
  const NQCommandLineInfo* commandLine = GetCommandLineInfo();
  int show = commandLine && commandLine->m_bHide ? SW_SHOWMINNOACTIVE : m_nCmdShow;
  if (m_windows.restorePlacement)
    m_windows.restorePlacement(m_pMainWnd, show);
  else
    m_pMainWnd->ShowWindow(show);
  m_pMainWnd->UpdateWindow();
  ::DragAcceptFiles(m_pMainWnd->m_hWnd, TRUE);
}

void CZubrinApp::StartRequestedRun() {
  const NQCommandLineInfo* commandLine = GetCommandLineInfo();
  if (commandLine->m_bDebug) {
    m_pMainWnd->PostMessage(WM_COMMAND, ID_RUN_DEBUG);
    return;
  }
  if (!commandLine->m_bAuto) return;
  CZubrinDoc* doc = CZubrinDoc::GetDocument();
  // A run over a database that lost engines would check too few and save the document as if
  // that were all: nobody is there to notice, so nothing is run or saved.
  if (doc && Automated() && !EngineDatabaseUsable(doc->m_database)) {
    if (CZubrinDoc::MarkAutomatedEnd()) {
      CZubrinAppLog::Fail(doc->m_database.GetCount() == 0
                              ? "The engine definitions file %s holds no engines; nothing was run "
                                "and the document was not saved."
                              : "The engine definitions file %s is damaged; nothing was run and "
                                "the document was not saved.",
                          FullPath(ProgramFolderFile("engines.dat").c_str()).GetString());
    }
    m_pMainWnd->PostMessage(WM_CLOSE);
    return;
  }
  // The window passes a disabled command by: a check that cannot start is told at once.
  if (doc && !doc->GetRunCommandUi(ID_RUN_CHECK_ALL).enabled)
    doc->StartCommandLineCheck();
  else
    m_pMainWnd->PostMessage(WM_COMMAND, ID_RUN_CHECK_ALL);
}

void CZubrinApp::DestroySplash() {
  if (m_windows.destroySplash) m_windows.destroySplash();
}

int CZubrinApp::ExitInstance() {
  int code = CWinApp::ExitInstance();
  if (m_windows.disconnect) m_windows.disconnect();
  const bool automated = Automated();
  const NQCommandLineInfo* commandLine = GetCommandLineInfo();
  if (m_bStarted && automated && commandLine->m_bAuto && !CZubrinDoc::AutomatedEndReached())
    CZubrinAppLog::Fail("The run was ended before it finished; no report or CSV file was written "
                        "and the document was not saved.");
  FreeGlobals();
  ReplaceUpdateProgram(GetAppFolder());
  // A start that failed ends the program with a failure, whatever the loop never ran to say.
  if (!m_bStarted && code == 0) code = 1;
  return CZubrinAppLog::ExitCode(code);
}

void CZubrinApp::FreeGlobals() {
  SetCommandLineInfo(nullptr);
  delete GetSelectionTemplates();
  SetSelectionTemplates(nullptr);
  if (m_bSockets) {
    SockletCleanup();
    m_bSockets = FALSE;
  }
  if (m_hLanguage) {
    if (AfxGetResourceHandle() == m_hLanguage) AfxSetResourceHandle(nullptr);
    if (GetReportResourceModule() == m_hLanguage) SetReportResourceModule(nullptr);
    ::FreeLibrary(m_hLanguage);
    m_hLanguage = nullptr;
  }
}
