#include "framework/SimpleFrame.h"

#include <commctrl.h>

namespace {

const int kStatusBarId = 0xE801;  // the framework's conventional id of a frame's status bar

LRESULT CALLBACK SimpleFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
      HWND bar = CreateWindowExA(0, STATUSCLASSNAMEA, static_cast<const char*>(cs->lpCreateParams),
                                 WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)),
                                 cs->hInstance, nullptr);
      return bar ? 0 : -1;
    }
    case WM_SIZE:
      // The status bar places itself at the bottom when it is told of a size change.
      SendDlgItemMessageA(hwnd, kStatusBarId, WM_SIZE, 0, 0);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int AfxRunSimpleFrame(HINSTANCE hInstance, const char* className, const std::string& title,
                      const std::string& status, int nCmdShow) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);

  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = SimpleFrameProc;
  wc.hInstance = hInstance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = className;
  if (!RegisterClassExA(&wc)) return 1;

  HWND hwnd = CreateWindowExA(0, className, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 640, 480, nullptr, nullptr, hInstance,
                              const_cast<char*>(status.c_str()));
  if (!hwnd) return 1;
  ShowWindow(hwnd, nCmdShow);
  UpdateWindow(hwnd);

  MSG msg;
  BOOL got;
  while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
