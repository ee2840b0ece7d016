#include "toolkit/WindowPlacement.h"

#include <cstdio>

#include "framework/WinApp.h"
#include "framework/wnd/Wnd.h"

namespace {
const char kValue[] = "Placement";

// A window must keep a grip on the screen: at least this much of it on the desktop.
constexpr int kMinVisible = 32;

bool OnScreen(const RECT& rect) {
  RECT desktop = {::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN), 0,
                  0};
  desktop.right = desktop.left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
  desktop.bottom = desktop.top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  RECT common = {};
  return rect.right - rect.left >= kMinVisible && rect.bottom - rect.top >= kMinVisible &&
         ::IntersectRect(&common, &rect, &desktop) && common.right - common.left >= kMinVisible &&
         common.bottom - common.top >= kMinVisible;
}
}  // namespace

BOOL WindowPlacement::SaveWindowPos(CWnd* pWnd, LPCSTR lpszEntry) {
  CWinApp* app = AfxGetApp();
  if (!app || !pWnd || !pWnd->m_hWnd) return FALSE;
  WINDOWPLACEMENT wp = {};
  wp.length = sizeof wp;
  if (!::GetWindowPlacement(pWnd->m_hWnd, &wp)) return FALSE;
  char text[160];
  std::snprintf(text, sizeof text, "%u,%u,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld", wp.flags, wp.showCmd,
                wp.ptMinPosition.x, wp.ptMinPosition.y, wp.ptMaxPosition.x, wp.ptMaxPosition.y,
                wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.right,
                wp.rcNormalPosition.bottom);
  return app->WriteProfileString(lpszEntry, kValue, text);
}

BOOL WindowPlacement::ReadPlacement(LPCSTR lpszEntry, WINDOWPLACEMENT& wp) {
  CWinApp* app = AfxGetApp();
  if (!app) return FALSE;
  CString text = app->GetProfileString(lpszEntry, kValue, "");
  wp = {};
  wp.length = sizeof wp;
  unsigned flags = 0, show = 0;
  long v[8] = {};
  char rest = 0;
  int fields = std::sscanf(text.GetString(), "%u,%u,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld%c", &flags,
                           &show, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &rest);
  if (fields != 10) return FALSE;
  wp.flags = flags & (WPF_SETMINPOSITION | WPF_RESTORETOMAXIMIZED);
  // A window restored minimised or hidden would be lost to the user.
  if (show != SW_SHOWNORMAL && show != SW_SHOWMAXIMIZED) show = SW_SHOWNORMAL;
  wp.showCmd = show;
  wp.ptMinPosition = {v[0], v[1]};
  wp.ptMaxPosition = {v[2], v[3]};
  wp.rcNormalPosition = {v[4], v[5], v[6], v[7]};
  return OnScreen(wp.rcNormalPosition);
}

BOOL WindowPlacement::LoadWindowPos(CWnd* pWnd, LPCSTR lpszEntry) {
  if (!pWnd || !pWnd->m_hWnd) return FALSE;
  WINDOWPLACEMENT wp;
  if (!ReadPlacement(lpszEntry, wp)) return FALSE;
  return ::SetWindowPlacement(pWnd->m_hWnd, &wp);
}
