// EngineViewBench [ENGINES [EVENTS]]: how the engine list keeps up with a run. A worker thread
// posts the engine events of a run (ENGINES engines x EVENTS events each, default 300 x 20: a
// query start, the request, the connection, the transfer's progress, the page and the query's
// end) to the engine list as fast as it can, while the window's thread handles them. Prints the
// events handled per second, how far the window was behind when the last event was posted, and
// how many paints and row drawings the run cost. Figures only; run by scripts/bench-ui.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "app/tests/AppTestSupport.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/submit/FormSubmitter.h"
#include "engines/db/SearchEngine.h"
#include "framework/app/MessageBox.h"
#include "framework/app/WinApp.h"
#include "framework/docview/DocTemplate.h"
#include "framework/frame/FrameWnd.h"
#include "resources/resource.h"
#include "ui/Panes.h"

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<long> g_paints{0}, g_rowsDrawn{0};
WNDPROC g_listProc = nullptr, g_frameProc = nullptr;

LRESULT CALLBACK CountingListProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ++g_paints;
  return CallWindowProcA(g_listProc, wnd, message, wParam, lParam);
}
// An owner-drawn list asks its parent to draw each row it repaints.
LRESULT CALLBACK CountingFrameProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) ++g_rowsDrawn;
  return CallWindowProcA(g_frameProc, wnd, message, wParam, lParam);
}

int QuietBox(HWND, const char*, const char*, unsigned) { return IDOK; }
int QuietAfxBox(LPCSTR, UINT) { return IDOK; }

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// One engine's events, in the order a query of one result page raises them.
std::vector<int32_t> EventCodes(int count) {
  std::vector<int32_t> codes = {kEngineQueryStart, kEngineGetRequest, kEngineResolving,
                                kEngineConnected, kEngineRequestSent};
  while (static_cast<int>(codes.size()) < count - 3) codes.push_back(kEngineReceiveProgress);
  codes.push_back(kEnginePageFetched);
  codes.push_back(kEnginePageParsed);
  codes.push_back(kEngineQueryEnd);
  codes.resize(count);
  return codes;
}

}  // namespace

int main(int argc, char** argv) {
  const int engines = argc > 1 ? atoi(argv[1]) : 300;
  const int perEngine = argc > 2 ? atoi(argv[2]) : 20;
  if (engines < 1 || perEngine < 4) {
    fprintf(stderr, "usage: EngineViewBench [ENGINES [EVENTS, at least 4]]\n");
    return 2;
  }
  apptest::LanguageModuleScope language;
  if (!language.Loaded()) {
    fprintf(stderr, "ZBResENU.dll is not beside the benchmark\n");
    return 1;
  }
  AfxSetMessageBoxHandler(QuietAfxBox);
  SetEngineMessageBox(QuietBox);
  apptest::TempFolder folder;
  std::string data;
  for (int i = 0; i < engines; ++i) {
    char section[64];
    snprintf(section, sizeof section, "[Engine %03d]\nenabled=1\n\n", i + 1);
    data += section;
  }
  apptest::WriteBytes(folder.File("engines.dat"), data);
  SetEngineDataFolder(folder.Path().c_str());

  auto app = std::make_unique<CWinApp>("ZBProEngineViewBench");
  app->m_nCmdShow = SW_SHOWNORMAL;
  app->AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZubrinDoc),
                                             RUNTIME_CLASS(CFrameWnd), EngineViewClass()));
  app->OnFileNew();
  CWnd* frame = app->m_pMainWnd;
  CZubrinDoc* doc = CZubrinDoc::GetDocument();
  if (!frame || !doc || !g_hEngineViewWnd) {
    fprintf(stderr, "the engine list did not come up\n");
    return 1;
  }
  frame->MoveWindow(0, 0, 1000, 700);
  auto* set = new CEngineSet(&doc->m_database, 1, CString("benchmark"));
  doc->m_manager.AddSet(set);
  doc->m_currentSet = set;
  auto fillStart = Clock::now();
  doc->UpdateAllViews(nullptr, HINT_DOC_OPEN);
  Pump();
  double fill = Seconds(Clock::now() - fillStart);
  std::vector<CSearchEngine*> senders;
  for (const auto& entry : set->GetEngines()) senders.push_back(entry.second);

  g_listProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      g_hEngineViewWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingListProc)));
  HWND parent = GetParent(g_hEngineViewWnd);
  g_frameProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingFrameProc)));
  RegisterUpdateWindow(g_hEngineViewWnd);  // the view registers itself; twice is once

  doc->m_running = 1;
  doc->UpdateAllViews(nullptr, HINT_RUN_START);
  Pump();
  UpdateWindow(g_hEngineViewWnd);
  g_paints = 0;
  g_rowsDrawn = 0;

  const std::vector<int32_t> codes = EventCodes(perEngine);
  std::atomic<bool> posted{false};
  Clock::time_point lastPost;
  auto start = Clock::now();
  // Engines run side by side in a real run: the events of all engines interleave.
  std::thread worker([&] {
    int progress = 0;
    for (size_t step = 0; step < codes.size(); ++step) {
      for (CSearchEngine* engine : senders) {
        uint32_t figures[2] = {static_cast<uint32_t>(++progress % 40000), 40000};
        uintptr_t value = codes[step] == kEngineReceiveProgress
                              ? reinterpret_cast<uintptr_t>(figures)
                              : codes[step] == kEngineQueryEnd ? 1 : 0;
        BroadcastItem(new CUpdateItem(engine, codes[step], value, 0));
      }
    }
    lastPost = Clock::now();
    posted = true;
  });
  MSG msg;
  while (!posted) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else {
      Sleep(0);
    }
  }
  // Every event is in the queue now: what is left is the window's backlog.
  Pump();
  worker.join();
  auto handled = Clock::now();
  UpdateWindow(g_hEngineViewWnd);
  auto painted = Clock::now();
  doc->m_running = 0;

  const long events = static_cast<long>(engines) * perEngine;
  const double handling = Seconds(handled - start);
  printf("engine list: %d rows filled in %.3f s\n", engines, fill);
  printf("run of %d engines x %d events = %ld events\n", engines, perEngine, events);
  printf("  all handled after        %8.3f s  (%.0f events/s)\n", handling,
         handling > 0 ? events / handling : 0.0);
  printf("  behind at the last post  %8.3f s  (time the window still needed once the run was done)\n",
         Seconds(handled - lastPost));
  printf("  final repaint            %8.3f s\n", Seconds(painted - handled));
  printf("  paints %ld, rows drawn %ld (%.1f per engine)\n", g_paints.load(), g_rowsDrawn.load(),
         static_cast<double>(g_rowsDrawn.load()) / engines);
  if (CUpdateItem::LiveCount() > 0)
    printf("  %ld event records were never taken (the list does not handle engine events)\n",
           CUpdateItem::LiveCount());
  SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_frameProc));
  SetWindowLongPtrA(g_hEngineViewWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_listProc));
  frame->DestroyWindow();
  app.reset();
  ClearUpdateWindows();
  SetEngineDataFolder("");
  return 0;
}
