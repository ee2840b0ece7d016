#include "framework/frame/SimpleFrame.h"

#include <commctrl.h>

#include "framework/threads/WinThread.h"
#include "framework/wnd/Wnd.h"

namespace {

const int kStatusBarId = 0xE801;  // the framework's conventional id of a frame's status bar

class CSimpleFrame : public CWnd {
 public:
  explicit CSimpleFrame(std::string status) : m_status(std::move(status)) {}

 protected:
  int OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    HWND bar = ::CreateWindowExA(0, STATUSCLASSNAMEA, m_status.c_str(),
                                 WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)),
                                 cs->hInstance, nullptr);
    return bar ? 0 : -1;
  }
  void OnSize(UINT, int, int) {
    // The status bar places itself at the bottom when it is told of a size change.
    SendDlgItemMessage(kStatusBarId, WM_SIZE, 0, 0);
  }
  DECLARE_MESSAGE_MAP()
  std::string m_status;
};

BEGIN_MESSAGE_MAP(CSimpleFrame, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
END_MESSAGE_MAP()

}  // namespace

int AfxRunSimpleFrame(HINSTANCE hInstance, const char* className, const std::string& title,
                      const std::string& status, int nCmdShow) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);

  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;  // the frame object takes the window over from its first message
  wc.hInstance = hInstance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = className;
  if (!RegisterClassExA(&wc)) return 1;

  // The application's loop when there is an application object, else one of its own.
  CWinThread localThread;
  CWinThread* thread = AfxGetThread();
  if (!thread) {
    thread = &localThread;
    AfxSetThread(thread);
  }
  CSimpleFrame frame(status);
  int rc = 1;
  if (frame.CreateEx(0, className, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                     CW_USEDEFAULT, 640, 480, nullptr, nullptr)) {
    // Closing the main window ends the loop with 0.
    thread->m_pMainWnd = &frame;
    frame.ShowWindow(nCmdShow);
    frame.UpdateWindow();
    rc = thread->Run();
  }
  if (thread == &localThread) AfxSetThread(nullptr);
  return rc;
}
