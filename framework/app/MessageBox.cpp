#include "framework/app/MessageBox.h"

#include <cstdio>

#include "framework/core/String.h"
#include "framework/app/WinApp.h"
#include "framework/wnd/Wnd.h"

namespace {

int LogMessageBox(LPCSTR lpszText, UINT nType) {
  CString line;
  line.Format("message box (0x%x): %s\n", nType, lpszText ? lpszText : "");
  OutputDebugStringA(line);
  fputs(line, stderr);
  return AfxDefaultMessageBoxAnswer(nType);
}

AfxMessageBoxHandler g_handler = LogMessageBox;

}  // namespace

int AfxDefaultMessageBoxAnswer(UINT nType) {
  switch (nType & MB_TYPEMASK) {
    case MB_YESNO:
      return IDNO;
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL:
      return IDCANCEL;
    case MB_ABORTRETRYIGNORE:
      return IDABORT;
    default:
      return IDOK;
  }
}

void AfxSetMessageBoxHandler(AfxMessageBoxHandler handler) {
  g_handler = handler ? handler : LogMessageBox;
}

int AfxMessageBox(LPCSTR lpszText, UINT nType) {
  return g_handler(lpszText ? lpszText : "", nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType) {
  CString text;
  if (!text.LoadString(nIDPrompt)) text.Format("%u", nIDPrompt);
  return AfxMessageBox(text, nType);
}

int AfxWindowMessageBox(LPCSTR lpszText, UINT nType) {
  CWnd* pMain = AfxGetMainWnd();
  HWND hOwner = pMain ? pMain->m_hWnd : nullptr;
  if (hOwner) hOwner = ::GetLastActivePopup(hOwner);
  LPCSTR caption = AfxGetAppName();
  return ::MessageBoxA(hOwner, lpszText, caption ? caption : "", nType);
}

void AfxEnableMessageBoxWindows(BOOL bShow) {
  AfxSetMessageBoxHandler(bShow ? AfxWindowMessageBox : nullptr);
}
