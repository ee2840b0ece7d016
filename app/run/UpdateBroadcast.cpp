#include "app/run/UpdateBroadcast.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/run/RunCommands.h"
#include "engines/submit/FormSubmitter.h"
#include "engines/db/SearchResult.h"
#include "framework/threads/CriticalSection.h"

std::atomic<long> CUpdateItem::s_live{0};

namespace {

// Views register on the user-interface thread while run and worker threads broadcast.
CCriticalSection& WindowsLock() {
  static CCriticalSection lock;
  return lock;
}
std::vector<HWND>& Windows() {
  static std::vector<HWND> windows;
  return windows;
}
std::vector<HWND> WindowsCopy() {
  WindowsLock().Lock();
  std::vector<HWND> copy = Windows();
  WindowsLock().Unlock();
  return copy;
}
std::atomic<UpdatePostFn> g_post{nullptr};

BOOL Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  UpdatePostFn post = g_post.load();
  return post ? post(window, message, wParam, lParam) : PostMessageA(window, message, wParam, lParam);
}

}  // namespace

CUpdateItem::CUpdateItem(CSearchEngine* sender, int32_t code, uintptr_t data, uint32_t user)
    : m_sender(sender), m_code(code), m_data(data), m_user(user) {
  // The figures of a progress event live on the worker's stack; the record keeps its own copy.
  if (code == kEngineReceiveProgress && data) {
    const uint32_t* figures = reinterpret_cast<const uint32_t*>(data);
    m_data = reinterpret_cast<uintptr_t>(new uint32_t[2]{figures[0], figures[1]});
  }
  if (code == kEngineResultFound && data)
    m_resultPosition = reinterpret_cast<const CSearchResult*>(data)->m_position;
  ++s_live;
}

CUpdateItem::~CUpdateItem() {
  if (m_code == kEngineReceiveProgress) delete[] reinterpret_cast<uint32_t*>(m_data);
  --s_live;
}

void CUpdateItem::Release() {
  if (m_holders.fetch_sub(1) == 1) delete this;
}

const uint32_t* CUpdateItem::Progress() const {
  return m_code == kEngineReceiveProgress ? reinterpret_cast<const uint32_t*>(m_data) : nullptr;
}

int CUpdateItem::ProgressPercent() const {
  const uint32_t* figures = Progress();
  if (!figures || figures[1] == 0) return 0;
  uint64_t percent = static_cast<uint64_t>(figures[0]) * 100 / figures[1];
  return static_cast<int>(std::min<uint64_t>(percent, 100));
}

void RegisterUpdateWindow(HWND window) {
  WindowsLock().Lock();
  std::vector<HWND>& windows = Windows();
  if (std::find(windows.begin(), windows.end(), window) == windows.end())
    windows.insert(windows.begin(), window);
  WindowsLock().Unlock();
}

void UnregisterUpdateWindow(HWND window) {
  WindowsLock().Lock();
  std::vector<HWND>& windows = Windows();
  windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
  WindowsLock().Unlock();
}

void ReleaseQueuedUpdates(HWND window) {
  UnregisterUpdateWindow(window);
  MSG msg;
  while (PeekMessageA(&msg, window, WM_ZB_UPDATE, WM_ZB_UPDATE, PM_REMOVE)) {
    // Wine hands out a pending quit even to a peek filtered by window and message; the quit
    // of a closing main window must stay for the message loop, so it is posted again.
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_ZB_UPDATE && msg.wParam == HINT_ENGINE_EVENT && msg.lParam)
      reinterpret_cast<CUpdateItem*>(msg.lParam)->Release();
  }
}

void ClearUpdateWindows() {
  WindowsLock().Lock();
  Windows().clear();
  WindowsLock().Unlock();
}

int BroadcastUpdate(UINT hint, LPARAM object) {
  int taken = 0;
  for (HWND window : WindowsCopy())
    if (Post(window, WM_ZB_UPDATE, hint, object)) ++taken;
  return taken;
}

int BroadcastItem(CUpdateItem* item) {
  std::vector<HWND> windows = WindowsCopy();
  // Every window holds the record until it has seen it; a post that fails gives its hold back,
  // so the record is freed exactly once whether or not any window received it.
  item->m_holders = static_cast<int>(windows.size()) + 1;
  int taken = 0;
  for (HWND window : windows) {
    if (Post(window, WM_ZB_UPDATE, HINT_ENGINE_EVENT, reinterpret_cast<LPARAM>(item)))
      ++taken;
    else
      item->Release();
  }
  item->Release();  // the broadcaster's own hold
  return taken;
}

void SetUpdatePostFunction(UpdatePostFn post) {
  g_post = post;
}
