#include <mutex>
#include <set>
#include <string>

#include "framework/app/WinApp.h"
#include "framework/wnd/Wnd.h"

HINSTANCE AfxGetInstanceHandle() {
  CWinApp* app = AfxGetApp();
  return app && app->m_hInstance ? app->m_hInstance : ::GetModuleHandleA(nullptr);
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  // Names are made from the traits, so the same traits give the same class; the names live as
  // long as the process (classes are the process's, not a thread's).
  static std::mutex lock;
  static std::set<std::string> names;
  HINSTANCE hInst = AfxGetInstanceHandle();
  char name[128];
  wsprintfA(name, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(hInst), nClassStyle,
            static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
            static_cast<void*>(hIcon));
  std::lock_guard<std::mutex> guard(lock);
  auto it = names.find(name);
  if (it != names.end()) return it->c_str();
  WNDCLASSA wc = {};
  if (!::GetClassInfoA(hInst, name, &wc)) {
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInst;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    if (!::RegisterClassA(&wc)) return nullptr;
  }
  return names.insert(name).first->c_str();
}
