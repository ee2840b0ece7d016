// Doubles of the windows a run talks to: the views' seam, and a message-only window that
// registers for the broadcast and keeps what reaches it.
#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "app/run/RunViews.h"
#include "app/run/UpdateBroadcast.h"

namespace apptest {

class FakeRunViews : public IRunViews {
 public:
  std::vector<CString> SelectedEngines() override { return selected; }
  void BeginProgress(UINT upper, UINT lower, UINT captionId) override {
    progressTotal = upper;
    progressLower = lower;
    progressCaption = captionId;
    ++begins;
  }
  void StepProgress() override {}
  void EndProgress() override { ++ends; }
  int Ask(UINT messageId, UINT) override {
    asked.push_back(messageId);
    return answer;
  }
  bool ShowMissingInfo(const CNVList& missing) override {
    missingShown = missing.GetCount();
    return missingOk;
  }
  bool ShowUpdateNotice() override { return false; }
  void RefreshEngineRow(const CString& name) override { refreshed.push_back(name); }
  void ReportRunFailure(RunFailure failure) override {
    std::lock_guard<std::mutex> lock(mutex);
    failures.push_back(failure);
  }
  void PostCloseMainWindow() override { ++closes; }

  std::vector<CString> selected;
  int answer = IDYES;
  bool missingOk = true;
  UINT progressTotal = 0, progressLower = 0, progressCaption = 0;
  int begins = 0;
  std::atomic<int> ends{0};
  std::vector<UINT> asked;
  int missingShown = -1;
  std::vector<CString> refreshed;
  std::mutex mutex;
  std::vector<RunFailure> failures;
  std::atomic<int> closes{0};
};

// A registered message-only window of the calling thread. Pump() delivers what was posted;
// engine records are kept by code and given back as a view does.
class HintWindow {
 public:
  struct Hint {
    UINT hint;
    int code;  // of a 141 record, else 0
  };
  HintWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZbHintWindow";
    RegisterClassA(&wc);
    m_window = CreateWindowA("ZbHintWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             wc.hInstance, nullptr);
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    RegisterUpdateWindow(m_window);
  }
  ~HintWindow() {
    Pump();
    ClearUpdateWindows();
    DestroyWindow(m_window);
  }
  HintWindow(const HintWindow&) = delete;
  HintWindow& operator=(const HintWindow&) = delete;
  HWND Handle() const { return m_window; }
  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, m_window, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  // The hints without the engine records, in arrival order.
  std::vector<UINT> RunHints() const {
    std::vector<UINT> out;
    for (const Hint& h : hints)
      if (h.hint != 141) out.push_back(h.hint);
    return out;
  }
  int CountCode(int code) const {
    int n = 0;
    for (const Hint& h : hints) n += h.code == code;
    return n;
  }
  std::vector<Hint> hints;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_ZB_UPDATE) return DefWindowProcA(window, message, wParam, lParam);
    auto* self = reinterpret_cast<HintWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    int code = 0;
    if (wParam == 141) {
      auto* item = reinterpret_cast<CUpdateItem*>(lParam);
      code = item->m_code;
      item->Release();
    }
    if (self) self->hints.push_back({static_cast<UINT>(wParam), code});
    return 0;
  }
  HWND m_window = nullptr;
};

}  // namespace apptest
