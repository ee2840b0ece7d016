// CTkPopupShadow: ties one shadow window to one popup. With its hook on the popup the shadow
// follows it (shown, hidden, moved) and goes with it: when the popup's window is destroyed the
// hook deletes this object, so users that let it hook keep no pointer. Without the hook its user
// shows, hides and deletes it (the owner-drawn menus, whose windows the system owns).
#pragma once
#include <windows.h>

#include "toolkit/services/TkWndHook.h"

class CTkPopupShadow;
class CTkShadowWnd;

class CTkMenuShadowHook : public CTkWndHook {
 public:
  explicit CTkMenuShadowHook(CTkPopupShadow* pOwner) : m_pOwner(pOwner) {}
  // Hooks only a window that still exists.
  BOOL HookWindow(HWND hWnd) override;
  using CTkWndHook::HookWindow;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CTkPopupShadow* m_pOwner;
  int m_nDepth = 0;  // nested calls of WindowProc; the owner goes only at the outermost return
  BOOL m_bDestroyed = FALSE;
};

class CTkPopupShadow {
 public:
  CTkPopupShadow(HWND hWndPopup, BOOL bShowNow, BOOL bHookNow);
  virtual ~CTkPopupShadow();
  CTkPopupShadow(const CTkPopupShadow&) = delete;
  CTkPopupShadow& operator=(const CTkPopupShadow&) = delete;

  void Show();
  void Hide();
  // The popup moved or changed size: the shadow goes to its new place.
  void FollowPopup(BOOL bMoved);

  CTkShadowWnd* GetShadowWnd() const { return m_pShadow; }
  HWND GetPopup() const { return m_hWndPopup; }
  BOOL IsCreated() const { return m_bCreated; }

 private:
  HWND m_hWndPopup;
  CTkShadowWnd* m_pShadow;
  CTkMenuShadowHook m_hook;
  BOOL m_bDeferredShow = FALSE;
  BOOL m_bCreated = FALSE;
};
