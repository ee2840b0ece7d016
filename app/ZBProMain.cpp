// Entry point of ZBPro, the main program.
#include <windows.h>

#include "framework/AfxResource.h"
#include "framework/SimpleFrame.h"
#include "resources/resource.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow) {
  // Every text of the program lives in the language module; without it the program cannot run.
  HINSTANCE language = AfxInitLanguageModule("ZBResENU.dll", "ZBPro");
  if (!language) return 1;
  int rc = AfxRunSimpleFrame(hInstance, "ZBProMainFrame", AfxLoadString(IDR_MAINFRAME),
                             AfxLoadString(AFX_IDS_IDLEMESSAGE), nCmdShow);
  FreeLibrary(language);
  return rc;
}
