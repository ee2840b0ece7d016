// The application's printer choice: the print setup dialog and the settings it keeps.
#include <windows.h>
#include <commdlg.h>

#include "framework/app/WinApp.h"
#include "framework/threads/WinThread.h"
#include "framework/wnd/Wnd.h"

void CWinApp::OnFilePrintSetup() {
  PRINTDLGA pd = {};
  pd.lStructSize = sizeof pd;
  CWnd* main = AfxGetMainWnd();
  pd.hwndOwner = main ? main->m_hWnd : nullptr;
  pd.Flags = PD_PRINTSETUP;
  // The dialog starts on the printer and settings chosen last time and may hand back new
  // blocks; the old ones are then freed, never leaked or freed twice.
  pd.hDevMode = m_hDevMode;
  pd.hDevNames = m_hDevNames;
  if (!DoPrintDialog(&pd)) {
    // Cancelled: blocks the dialog made for itself go, the kept ones stay.
    if (pd.hDevMode && pd.hDevMode != m_hDevMode) ::GlobalFree(pd.hDevMode);
    if (pd.hDevNames && pd.hDevNames != m_hDevNames) ::GlobalFree(pd.hDevNames);
    return;
  }
  if (m_hDevMode && pd.hDevMode != m_hDevMode) ::GlobalFree(m_hDevMode);
  if (m_hDevNames && pd.hDevNames != m_hDevNames) ::GlobalFree(m_hDevNames);
  m_hDevMode = pd.hDevMode;
  m_hDevNames = pd.hDevNames;
}

BOOL CWinApp::DoPrintDialog(PRINTDLGA* pPD) { return ::PrintDlgA(pPD); }
