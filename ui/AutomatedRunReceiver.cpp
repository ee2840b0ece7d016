#include "ui/AutomatedRunReceiver.h"

#include "app/NQCommandLineInfo.h"
#include "app/ZubrinAppLog.h"
#include "app/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "framework/MessageBox.h"
#include "ui/AutomatedRun.h"
#include "ui/MainFrame.h"

namespace {

const char kReceiverClass[] = "ZBProRunReceiver";
HWND g_receiver = nullptr;

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_ZB_UPDATE) return DefWindowProcA(window, message, wParam, lParam);
  if (wParam == HINT_ENGINE_EVENT && lParam) {
    // Every receiver of an engine event lets go of the shared record once.
    reinterpret_cast<CUpdateItem*>(lParam)->Release();
  } else if (wParam == HINT_RUN_AUTOMATED_END) {
    FinishAutomatedRun(CZubrinDoc::GetDocument());
  }
  return 0;
}

}  // namespace

bool CAutomatedRunReceiver::Create() {
  if (g_receiver) return true;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc = {};
  if (!GetClassInfoA(instance, kReceiverClass, &wc)) {
    wc.lpfnWndProc = ReceiverProc;
    wc.hInstance = instance;
    wc.lpszClassName = kReceiverClass;
    if (!RegisterClassA(&wc)) return false;
  }
  // A message-only window: never shown, never in the way of window searches.
  g_receiver = CreateWindowExA(0, kReceiverClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               instance, nullptr);
  if (!g_receiver) return false;
  RegisterUpdateWindow(g_receiver);
  return true;
}

void CAutomatedRunReceiver::Destroy() {
  if (!g_receiver) return;
  DestroyWindow(g_receiver);
  g_receiver = nullptr;
}

HWND CAutomatedRunReceiver::GetWindow() {
  return g_receiver;
}
