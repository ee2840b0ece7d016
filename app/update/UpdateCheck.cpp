#include "app/update/UpdateCheck.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include "app/services/AppPaths.h"
#include "app/settings/ProxySettings.h"
#include "app/update/DailyUpdateCheck.h"
#include "foundation/net/SockHttpClient.h"
#include "foundation/update/FileInfo.h"

namespace updatecheck {
namespace {

std::atomic<unsigned> g_timeLimit{kTimeLimit};

std::string ServerValue(const std::string& name) {
  std::string key = std::string(dailycheck::kKey) + "\\FTP Servers";
  char text[256] = {};
  DWORD size = sizeof text;
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text,
                   &size) != ERROR_SUCCESS)
    return std::string();
  return text;
}

long ServerNumber(const char* name) {
  std::string key = std::string(dailycheck::kKey) + "\\FTP Servers";
  DWORD value = 0, size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value,
                   &size) == ERROR_SUCCESS)
    return static_cast<long>(value);
  // The update program takes a number written as text too.
  return std::atol(ServerValue(name).c_str());
}

// The catalogue request stops as soon as the check is cancelled.
bool AbortWhenCancelled(CSock*, int, uintptr_t, uintptr_t user) {
  return reinterpret_cast<UpdateCheckBlock*>(user)->cancel == 0;
}

bool Download(const CheckJob& job, UpdateCheckBlock& block) {
  CSockHttpClient client;
  ApplyProxySettings(client);
  client.SetCallback(&AbortWhenCancelled, reinterpret_cast<uintptr_t>(&block));
  client.SetRequestHeader("User-Agent", kUserAgent);
  client.SetDownloadFolder(job.folder.c_str());
  long received = client.DownloadFile(job.url.c_str(), kCatalogueFile);
  // A body shorter than its length is removed and reported as 0 by the client.
  return received > 0 && client.GetStatus() == 200 && !client.IsBodyBroken();
}

void AppendLog(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

bool AnyNeedsUpdate(const CheckJob& job, const std::string& path) {
  CFileInfoTable table;
  if (!ReadCatalogueFile(path, job.folder, table)) return false;
  bool any = false;
  for (const auto& entry : table) {
    if (!job.debugLog.empty()) AppendLog(job.debugLog, entry->DescribeDecision());
    any = any || entry->NeedsUpdate();
  }
  return any;
}

struct ThreadStart {
  CheckJob job;
  std::shared_ptr<UpdateCheckBlock> block;
};

DWORD WINAPI CheckThread(LPVOID param) {
  ThreadStart* start = static_cast<ThreadStart*>(param);
  start->block->result = FetchAndDecide(start->job, *start->block);
  delete start;
  return 0;
}

enum class WaitEnd { Ended, TimedOut, Cancelled, Failed };

// Waits for the thread while dispatching the thread's messages, so the notice and the main
// window stay live; the notice's Cancel is seen within a few milliseconds.
WaitEnd WaitPumping(HANDLE thread, unsigned limit, const UpdateCheckBlock* block) {
  ULONGLONG deadline = GetTickCount64() + limit;
  for (;;) {
    if (block && block->cancel) return WaitEnd::Cancelled;
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return WaitEnd::TimedOut;
    DWORD slice = static_cast<DWORD>(deadline - now < 50 ? deadline - now : 50);
    DWORD got = MsgWaitForMultipleObjects(1, &thread, FALSE, slice, QS_ALLINPUT);
    if (got == WAIT_OBJECT_0) return WaitEnd::Ended;
    if (got == WAIT_FAILED) return WaitEnd::Failed;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        // The program is ending: keep the quit for the main loop and give the check up.
        PostQuitMessage(static_cast<int>(msg.wParam));
        return WaitEnd::Cancelled;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

// True when the thread ended with an update found.
bool WaitForCheck(HANDLE thread, UpdateCheckBlock& block) {
  WaitEnd end = WaitPumping(thread, g_timeLimit, &block);
  if (end == WaitEnd::Ended) return block.result == 1 && block.cancel == 0;
  block.cancel = 1;
  // The socket sees the cancel at its next step; a thread that still does not end is left to
  // finish on its own (it holds its own reference to the block).
  WaitPumping(thread, kCancelWait, nullptr);
  return false;
}

}  // namespace

std::string CatalogueUrl() {
  long count = ServerNumber("Count");
  long start = ServerNumber("StartServer");
  if (start < 0 || start >= count) start = 0;
  std::string host = count > 0 ? ServerValue("Server" + std::to_string(start)) : std::string();
  if (host.empty()) host = kDefaultUpdateHost;
  return "http://" + host + kCataloguePath;
}

CheckJob ProgramCheckJob(bool debug) {
  CheckJob job;
  job.url = CatalogueUrl();
  job.folder = static_cast<LPCSTR>(GetAppFolder());
  if (debug) job.debugLog = static_cast<LPCSTR>(GetDebugLogPath());
  return job;
}

int FetchAndDecide(const CheckJob& job, UpdateCheckBlock& block) {
  std::string path = job.folder + kCatalogueFile;
  int result = 0;
  if (Download(job, block) && block.cancel == 0 && AnyNeedsUpdate(job, path) && block.cancel == 0)
    result = 1;
  DeleteFileA(path.c_str());
  return result;
}

bool RunUpdateCheck(IUpdateViews& views, const CheckJob& job) {
  auto block = std::make_shared<UpdateCheckBlock>();
  views.ShowCheckingNotice(block);
  auto* start = new ThreadStart{job, block};
  HANDLE thread = CreateThread(nullptr, 0, &CheckThread, start, 0, nullptr);
  if (!thread) delete start;
  bool found = thread && WaitForCheck(thread, *block);
  if (thread) CloseHandle(thread);
  views.CloseCheckingNotice();
  return found && views.ShowUpdateNotice();
}

void SetTimeLimit(unsigned milliseconds) {
  g_timeLimit = milliseconds;
}

}  // namespace updatecheck
