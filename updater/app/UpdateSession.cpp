#include "updater/app/UpdateSession.h"

#include "framework/app/AfxResource.h"
#include "framework/threads/WinThread.h"
#include "resources/resource.h"
#include "updater/dialogs/ZBUpdateDlg.h"
#include "updater/startup/NQCommandLineInfo.h"
#include "updater/startup/UpdateStartup.h"

std::string RelaunchErrorMessage(long code) {
  return AfxLoadString(IDS_RELAUNCH_FAILED) + RelaunchErrorText(code);
}

UpdateSessionResult RunUpdateSession(const UpdateSettings& settings, ServerStore& servers,
                                     const NQCommandLineInfo& command, const Relauncher& relaunch,
                                     CWinThread* thread) {
  {
    CZBUpdateDlg dialog(settings, servers);
    if (thread) thread->m_pMainWnd = &dialog;
    dialog.DoModal();
    if (thread) thread->m_pMainWnd = nullptr;
  }
  UpdateSessionResult result;
  if (!command.m_launch && !command.m_file) return result;
  result.relaunched = true;
  result.relaunchResult = relaunch(settings.programFolder, command.m_documentPath);
  if (result.relaunchResult <= 32) ShowRelaunchError(result.relaunchResult);
  return result;
}

void ShowRelaunchError(long code) {
  ::MessageBoxA(nullptr, RelaunchErrorMessage(code).c_str(),
                AfxLoadString(IDS_UPDATE_CAPTION).c_str(), MB_OK | MB_ICONEXCLAMATION);
}
