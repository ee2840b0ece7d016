#include "toolkit/frame/WindowPlacement.h"

#include <cstring>

#include "framework/wnd/Wnd.h"
#include "resources/ids/ToolkitFrameIds.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/services/TkProfileStore.h"

namespace {

constexpr UINT kRecordSize = sizeof(DWORD) + sizeof(WINDOWPLACEMENT);

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

void LoadToolkitString(UINT id, const char* fallback, char* out, int cch) {
  HINSTANCE module = TkResourceModule();
  if (!module || !::LoadStringA(module, id, out, cch)) lstrcpynA(out, fallback, cch);
}

}  // namespace

WindowPlacement::WindowPlacement() : m_dwReserved(0), m_wp() {
  m_wp.length = sizeof(WINDOWPLACEMENT);
  m_wp.showCmd = SW_SHOW;
}

void WindowPlacement::GetProfileNames(LPCSTR lpszEntry, char* section, int cchSection,
                                      char* entry, int cchEntry) {
  // The module's names; the English ones when the module lacks them, so a placement is never
  // written under an empty name.
  LoadToolkitString(IDS_TK_PLACEMENT_SECTION, "Settings", section, cchSection);
  if (lpszEntry)
    lstrcpynA(entry, lpszEntry, cchEntry);
  else
    LoadToolkitString(IDS_TK_PLACEMENT_ENTRY, "WindowPos", entry, cchEntry);
}

BOOL WindowPlacement::SaveWindowPos(CWnd* pWnd, LPCSTR lpszEntry) {
  if (!pWnd || !pWnd->m_hWnd || !::IsWindow(pWnd->m_hWnd)) return FALSE;
  WindowPlacement record;
  if (!::GetWindowPlacement(pWnd->m_hWnd, &record.m_wp)) return FALSE;
  if (!lpszEntry && record.m_wp.showCmd != SW_SHOWMAXIMIZED) record.m_wp.showCmd = SW_SHOWNORMAL;
  char section[64], entry[128];
  GetProfileNames(lpszEntry, section, sizeof section, entry, sizeof entry);
  BYTE bytes[kRecordSize];
  std::memcpy(bytes, &record.m_dwReserved, sizeof(DWORD));
  std::memcpy(bytes + sizeof(DWORD), &record.m_wp, sizeof(WINDOWPLACEMENT));
  return CTkProfileStore(HKEY_CURRENT_USER).WriteProfileBinary(section, entry, bytes, kRecordSize);
}

BOOL WindowPlacement::ReadPlacement(LPCSTR lpszEntry, WINDOWPLACEMENT& wp) {
  char section[64], entry[128];
  GetProfileNames(lpszEntry, section, sizeof section, entry, sizeof entry);
  BYTE* data = nullptr;
  UINT size = 0;
  if (!CTkProfileStore(HKEY_CURRENT_USER).GetProfileBinary(section, entry, &data, &size)) {
    return FALSE;
  }
  // Only a whole record of the system's layout is taken; anything else is damaged.
  bool whole = size == kRecordSize;
  if (whole) std::memcpy(&wp, data + sizeof(DWORD), sizeof wp);
  delete[] data;
  if (!whole || wp.length != sizeof(WINDOWPLACEMENT)) return FALSE;
  wp.flags &= WPF_SETMINPOSITION | WPF_RESTORETOMAXIMIZED;
  // A window restored minimised or hidden would be lost to the user.
  if (wp.showCmd != SW_SHOWNORMAL && wp.showCmd != SW_SHOWMAXIMIZED) wp.showCmd = SW_SHOWNORMAL;
  // Saved on a monitor that is gone, or garbage: the caller's default place instead.
  return OnScreen(wp.rcNormalPosition);
}

BOOL WindowPlacement::LoadWindowPos(CWnd* pWnd, LPCSTR lpszEntry) {
  if (!pWnd || !pWnd->m_hWnd || !::IsWindow(pWnd->m_hWnd)) return FALSE;
  WINDOWPLACEMENT wp = {};
  if (!ReadPlacement(lpszEntry, wp)) return FALSE;
  return ::SetWindowPlacement(pWnd->m_hWnd, &wp);
}
