// Entry point of ZBUpdate, the update program.
#include <windows.h>

#include "framework/AfxResource.h"
#include "framework/SimpleFrame.h"
#include "resources/resource.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow) {
  // The message of a missing language module cannot come from that module.
  HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
  if (!language) {
    MessageBoxA(nullptr,
                "The language module ZBResENU.dll could not be loaded from the program's folder.\n"
                "Please reinstall ZBPro.",
                "ZBPro Update", MB_OK | MB_ICONSTOP);
    return 1;
  }
  AfxSetResourceHandle(language);
  int rc = AfxRunSimpleFrame(hInstance, "ZBUpdateFrame", AfxLoadString(IDS_ZBUPDATE_TITLE),
                             AfxLoadString(AFX_IDS_IDLEMESSAGE), nCmdShow);
  FreeLibrary(language);
  return rc;
}
