// CZubrinApp: the application object of ZBPro. Its start-up loads the language module, the
// command line, the templates, the settings and the document template, opens or creates the
// document, places the main window and starts a run asked for on the command line; its exit
// frees what it made and puts a downloaded copy of the update program in place.
//
// The application core knows no window class: the program's main file hands the frame and
// view classes and the window side's start-up calls in through ZubrinAppWindows.
#pragma once
#include <windows.h>

#include "framework/app/WinApp.h"

struct CRuntimeClass;
class CZubrinDoc;

struct ZubrinAppWindows {
  CRuntimeClass* frameClass = nullptr;  // the main frame
  CRuntimeClass* viewClass = nullptr;   // the view the template names (the search form)
  void (*showSplash)() = nullptr;
  void (*destroySplash)() = nullptr;  // also called when no splash was shown
  // The document and the main window exist: the window side connects its seams.
  void (*connect)(CZubrinDoc* doc) = nullptr;
  // Places the main window as last saved with the show command; null shows it plainly.
  void (*restorePlacement)(CWnd* mainWnd, int showCommand) = nullptr;
  void (*disconnect)() = nullptr;  // at exit, before the globals go
  void (*showAbout)() = nullptr;   // the about box, modally
  // The language module is loaded: the window side takes its resources from it.
  void (*languageLoaded)(HINSTANCE module) = nullptr;
  // The tip of the day with the tips file, modally; at start-up only when the user has not
  // switched it off.
  void (*showTipOfTheDay)(const char* tipsFile) = nullptr;
};

// Maker's web pages, opened by the two web-page commands.
#define ZBPRO_HOME_PAGE "http://www.orvandel-labs.example/zbpro/"
#define ZBPRO_SUPPORT_PAGE "http://www.orvandel-labs.example/zbpro/support/"

class CZubrinApp : public CWinApp {
 public:
  explicit CZubrinApp(const ZubrinAppWindows& windows);
  ~CZubrinApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;

  // Context help of a control: its popup topic; answers TRUE.
  BOOL OnContextHelp(const HELPINFO* info);
  HINSTANCE GetLanguageModule() const { return m_hLanguage; }

  // The help context of a help-topic command (32841..32855); 0 for another id.
  static DWORD HelpContextOf(UINT commandId);

  // Every help request ends here: the system's help on the program's help file (the popup help
  // file for a control's popup topic); a missing file, or one the system's help refuses, is
  // told to the user.
  void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;
  // Seam for tests: the call of the system's help (WinHelpA by default).
  using HelpCallFn = BOOL(WINAPI*)(HWND owner, LPCSTR file, UINT command, ULONG_PTR data);
  static void SetHelpCall(HelpCallFn call);

 protected:
  void OnAppAbout();
  void OnTipOfTheDay();
  void OnHelpContents();
  void OnHelpTopic(UINT commandId);
  void OnHelpSearch();
  void OnHelpOnHelp();
  void OnSupportPage();
  void OnHomePage();
  BOOL OnRecentFile(UINT commandId);
  void OnUpdateRecentFile(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  // Start-up steps; each says whether start-up may go on.
  BOOL LoadLanguage();
  void MakeTemplates();
  BOOL StartSockets();
  BOOL OpenFirstDocument();
  void ShowMainWindow();
  void StartRequestedRun();
  void DestroySplash();
  // Frees what start-up made, each once, however far it got.
  void FreeGlobals();
  // Whether the run started from the command line may stay unattended (no boxes).
  static bool Automated();

  ZubrinAppWindows m_windows;
  HINSTANCE m_hLanguage = nullptr;
  BOOL m_bStarted = FALSE;
  BOOL m_bSockets = FALSE;
};
