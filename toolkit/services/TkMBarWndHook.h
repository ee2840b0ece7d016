// The two hooks through which the menu bar watches its frame window and, in an MDI frame, the
// MDI client: they keep the bar in step with the frame's activation, menus and colours, and pass
// the menus of an in-place active server on to it.
#pragma once
#include <windows.h>

#include "toolkit/services/TkWndHook.h"

// The command of the menus' expand item; the menu bar reads whether it was the last command.
constexpr WPARAM kTkExpandMenuCommand = 52783;
// True when the last WM_COMMAND seen on a watched frame or MDI client was the expand item.
BOOL& TkExpandCommandFlag();

// What the hooks ask of and tell the menu bar. The menu bar implements it.
class CTkMenuBarSite {
 public:
  virtual ~CTkMenuBarSite() = default;
  // The bar's own window; while it does not exist the hooks only pass messages on.
  virtual HWND GetBarWindow() const = 0;
  // The frame window the bar belongs to.
  virtual HWND GetOwnerFrame() const = 0;
  // The frame keeps itself shown active (a floating palette of it has the focus).
  virtual BOOL OwnerStaysActive() const = 0;
  // The window of an in-place active server that must get this message instead, or null;
  // bSend says whether it is sent (set) or posted (clear).
  virtual HWND GetInPlaceTarget(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bSend) = 0;
  // Sets the bar's font again from the toolkit's standard font, with redraw.
  virtual void ResetFont() = 0;
  virtual HWND GetTrackedMDIClient() const = 0;
  virtual void RefreshMDIButtons() = 0;
  virtual void SetFrameActive(BOOL bActive) = 0;
  // The index of the item whose popup is tracked, -1 when none.
  virtual int GetTrackedIndex() const = 0;
  // The window menu last given by WM_MDISETMENU.
  virtual HMENU GetMDIWindowMenu() const = 0;
  virtual void UpdateWindowList() = 0;
  virtual void NoteMenuSelect(HMENU hMenu, UINT nItem) = 0;
  // A new frame menu and window menu (a null pair keeps the current menu).
  virtual void SetMDIMenu(HMENU hFrameMenu, HMENU hWindowMenu) = 0;
};

// On the frame window.
class CTkMBarWndHook : public CTkWndHook {
  DECLARE_DYNAMIC(CTkMBarWndHook)

 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual BOOL Install(CTkMenuBarSite* pMenuBar, HWND hWndToHook);

 protected:
  bool BarAlive() const;
  // The cases both hooks share; TRUE with the result when the message ends here.
  BOOL HandleShared(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  CTkMenuBarSite* m_pMenuBar = nullptr;
};

// On the MDI client: the frame hook's menu, command, paint and activation cases only.
class CTkMBarMDIWndHook : public CTkMBarWndHook {
  DECLARE_DYNAMIC(CTkMBarMDIWndHook)

 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
