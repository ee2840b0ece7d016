// Entry point of ZBPro, the main program.
#include <windows.h>

#include "framework/AfxResource.h"
#include "framework/SimpleFrame.h"
#include "resources/resource.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow) {
  // Every text of the program lives in the language module; without it nothing can be shown
  // but this one message, which therefore cannot come from the module itself.
  HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
  if (!language) {
    MessageBoxA(nullptr,
                "The language module ZBResENU.dll could not be loaded from the program's folder.\n"
                "Please reinstall ZBPro.",
                "ZBPro", MB_OK | MB_ICONSTOP);
    return 1;
  }
  AfxSetResourceHandle(language);
  int rc = AfxRunSimpleFrame(hInstance, "ZBProMainFrame", AfxLoadString(IDR_MAINFRAME),
                             AfxLoadString(AFX_IDS_IDLEMESSAGE), nCmdShow);
  FreeLibrary(language);
  return rc;
}
