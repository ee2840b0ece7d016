// Entry point of ZBUpdate, the update program.
#include <windows.h>

#include "updater/app/ZBUpdateApp.h"

namespace {
CZBUpdateApp theApp;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  theApp.m_commandLine = lpCmdLine ? lpCmdLine : "";
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
