// Shared by the window tests: a log that handlers write to, and message pumping.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "framework/threads/WinThread.h"
#include "framework/wnd/Wnd.h"

struct CallLog {
  std::vector<std::string> calls;
  void Add(const std::string& s) { calls.push_back(s); }
  std::string Joined() const {
    std::string out;
    for (const auto& c : calls) out += (out.empty() ? "" : ",") + c;
    return out;
  }
};

// Dispatches what is queued for the thread, through the framework's PreTranslateMessage route.
inline void PumpPending() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
      continue;
    }
    AfxPumpMessage();
  }
}

// A plain top-level test window of the given object.
inline BOOL CreateTestWindow(CWnd& wnd, LPCSTR title = "test") {
  return wnd.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), title, WS_OVERLAPPEDWINDOW, 10, 10, 300,
                      200, nullptr, nullptr);
}
