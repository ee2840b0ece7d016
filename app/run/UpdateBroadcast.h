// The broadcast of view updates from any thread: registered windows get WM_USER+1222 with the
// hint in wParam and an object in lParam. Engine events travel as CUpdateItem records.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "framework/core/Object.h"

constexpr UINT WM_ZB_UPDATE = WM_USER + 1222;

class CSearchEngine;

// One engine event on its way to the windows. The record is shared by every window it was
// posted to; each receiver calls Release once, and the last one frees it (with the copied
// transfer figures of a progress event).
class CUpdateItem : public CObject {
 public:
  CUpdateItem(CSearchEngine* sender, int32_t code, uintptr_t data, uint32_t user);
  ~CUpdateItem() override;
  CUpdateItem(const CUpdateItem&) = delete;
  CUpdateItem& operator=(const CUpdateItem&) = delete;

  void Release();
  // The receive progress figures {so far, total} of event 11012; null for other events.
  const uint32_t* Progress() const;
  // Percent of the transfer done, 0..100; 0 when the total is unknown.
  int ProgressPercent() const;
  // The found result's position on its page (0-based) for event 11016, copied when the event
  // was raised: the record itself belongs to the engine, which may have cleared its results by
  // the time a window reads the event. -1 for other events.
  int32_t ResultPosition() const { return m_resultPosition; }

  CSearchEngine* m_sender;
  int32_t m_code;
  uintptr_t m_data;
  uint32_t m_user;

 private:
  friend int BroadcastItem(CUpdateItem* item);
  std::atomic<int> m_holders{0};
  int32_t m_resultPosition = -1;
  static std::atomic<long> s_live;  // records not yet freed, for the tests

 public:
  static long LiveCount() { return s_live.load(); }
};

// Puts the window at the front of the list; a window already listed is not added twice.
void RegisterUpdateWindow(HWND window);
// Takes the window off the list (a window being destroyed): posts to a dead handle, or to a
// later window that got the same handle, would hold records that nobody lets go.
void UnregisterUpdateWindow(HWND window);
// For a window being destroyed, on its own thread: takes it off the list and lets go of the
// engine-event records still queued for it, which it would otherwise never see.
void ReleaseQueuedUpdates(HWND window);
// Forgets every window (tests and the end of the program).
void ClearUpdateWindows();
// Posts the hint with the object to every listed window, the latest registered first; returns
// how many posts the system took.
int BroadcastUpdate(UINT hint, LPARAM object);
// Posts the record with hint 141 to every window; it is freed here when no post was taken.
int BroadcastItem(CUpdateItem* item);

// A seam for tests: the post that the broadcast uses (PostMessageA by default).
using UpdatePostFn = BOOL (*)(HWND, UINT, WPARAM, LPARAM);
void SetUpdatePostFunction(UpdatePostFn post);
