// ZBPro, the main program: its application object and entry point.
#include <windows.h>

#include "framework/AfxResource.h"
#include "framework/CommandLineInfo.h"
#include "framework/WinApp.h"
#include "framework/docview/DocTemplate.h"
#include "app/ZubrinDoc.h"
#include "resources/resource.h"
#include "ui/MainFrame.h"
#include "ui/PlaceholderView.h"

class CZubrinApp : public CWinApp {
 public:
  CZubrinApp() : CWinApp("ZBPro") {}
  BOOL InitInstance() override;
  int ExitInstance() override;

 private:
  HINSTANCE m_hLanguage = nullptr;
  BOOL m_bStarted = FALSE;
};

BOOL CZubrinApp::InitInstance() {
  SetRegistryKey("Orvandel Labs, Inc.");
  // Every text of the program lives in the language module; without it the program cannot run.
  m_hLanguage = AfxInitLanguageModule("ZBResENU.dll", "ZBPro");
  if (!m_hLanguage) return FALSE;
  LoadStdProfileSettings(4);
  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZubrinDoc),
                                        RUNTIME_CLASS(CMainFrame),
                                        RUNTIME_CLASS(CPlaceholderView)));
  CCommandLineInfo cmdInfo;
  ParseCommandLine(cmdInfo);
  if (!ProcessShellCommand(cmdInfo)) return FALSE;
  m_bStarted = TRUE;
  return TRUE;
}

int CZubrinApp::ExitInstance() {
  int code = CWinApp::ExitInstance();
  if (m_hLanguage) {
    ::FreeLibrary(m_hLanguage);
    m_hLanguage = nullptr;
  }
  // A start that failed ends the program with a failure, whatever the loop never ran to say.
  return m_bStarted ? code : 1;
}

CZubrinApp theApp;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
