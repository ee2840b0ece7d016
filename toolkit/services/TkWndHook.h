// CTkWndHook: lets a toolkit object see every message of a window it does not own (the frame,
// the MDI client, popup menus) before the window's own procedure does, without deriving from the
// window's class. Any number of hooks may sit on one window: the shared procedure HookWndProc
// walks them from the newest to the oldest and then calls the window's previous procedure.
// User-interface thread only; the map and the chains have no lock.
#pragma once
#include <windows.h>

#include "framework/collections/Map.h"
#include "framework/core/Object.h"

class CWnd;
class CTkWindowMap;

class CTkWndHook : public CObject {
  DECLARE_DYNAMIC(CTkWndHook)

 public:
  CTkWndHook() = default;
  // Unhooks first when still on a window.
  ~CTkWndHook() override;
  CTkWndHook(const CTkWndHook&) = delete;
  CTkWndHook& operator=(const CTkWndHook&) = delete;

  virtual BOOL IsHooked() const { return m_hWnd != nullptr; }
  // A window puts the hook at the head of that window's chain; null takes it off its window.
  // A hook that is on a window must come off before it goes on another. Always TRUE.
  virtual BOOL HookWindow(HWND hWnd);
  virtual BOOL HookWindow(CWnd* pWnd);
  // The hook's handler. Subclasses end with this base version for every message they do not
  // swallow: it passes the message to the next older hook, or to the window's own procedure.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Passes the message being handled (as the thread's current message records it) on.
  LRESULT Default();

  HWND m_hWnd = nullptr;
  // The procedure the window had before its first hook; every hook of a chain holds the same.
  WNDPROC m_pOldWndProc = nullptr;
  CTkWndHook* m_pNext = nullptr;  // the hook installed before this one on the same window

 private:
  // The window's own procedure for a hook that was taken off during the message it handles.
  static LRESULT PassToOwnProcedure(UINT message, WPARAM wParam, LPARAM lParam);

  friend class CTkWindowMap;
};

// The window procedure of every hooked window.
LRESULT CALLBACK HookWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Maps a window to the newest hook on it. The map holds a window exactly while a hook is on it,
// and for exactly that time the window's procedure is HookWndProc.
class CTkWindowMap : public CObject {
  DECLARE_DYNAMIC(CTkWindowMap)

 public:
  explicit CTkWindowMap(INT_PTR nBlockSize = 10) : m_map(nBlockSize) {}

  CTkWndHook* Lookup(HWND hWnd) const;
  void SetAt(HWND hWnd, CTkWndHook* pHook) { m_map.SetAt(hWnd, pHook); }
  // Links the hook at the head of the window's chain; the first hook subclasses the window.
  void Add(HWND hWnd, CTkWndHook* pHook);
  // Unlinks the hook; the last one gives the window its own procedure back.
  void Remove(CTkWndHook* pHook);
  // Takes every hook off the window.
  void RemoveAll(HWND hWnd);
  INT_PTR GetCount() const { return m_map.GetCount(); }

 private:
  CMap<HWND, HWND, CTkWndHook*, CTkWndHook*> m_map;
};

// The process's one window map.
CTkWindowMap& TkGetWindowMap();
