// CTkMenuPopupHook: sits on every popup-menu window ("#32768") of the user-interface thread from
// its creation to its destruction. While any menu window exists the system's menu animation is
// off and, from Windows XP on, the system's menu drop shadow follows the toolkit's menu-shadows
// flag; the last menu window puts both settings back. In the flat look it takes the 3D frame
// off the popup. Before Windows XP it draws the menu's shadow itself.
// A computer-based-training hook, installed for the thread that starts the program, makes one
// for each menu window as it is created.
#pragma once
#include <windows.h>

#include <vector>

#include "toolkit/services/TkWndHook.h"

class CTkCoolMenu;
class CTkMemDC;
class CDC;

// Private steps posted to a popup: re-measure its items, then draw its own shadow.
constexpr UINT WM_TK_MENU_REMEASURE = 0x800A;
constexpr UINT WM_TK_MENU_SHADOW = 0x800B;
// Menu-window messages of the system that it does not document.
constexpr UINT WM_TK_MN_SIZEWINDOW = 0x01E2;
constexpr UINT WM_TK_MN_FIRSTMOUSE = 0x01EB;
constexpr UINT WM_TK_MN_LASTMOUSE = 0x01F0;
constexpr UINT WM_TK_NCUAHDRAWFRAME = 0x00AF;
// How far a shadow reaches right of and below the popup.
constexpr int kTkMenuShadowDepth = 4;

// The shadow pair along the right and bottom edges of a popup, drawn by the toolkit's popup
// shadow (made through a factory the program sets; none is made while it is unset).
class CTkMenuShadow {
 public:
  virtual ~CTkMenuShadow() = default;
  // Shows the shadow again after the popup repainted.
  virtual void Show() = 0;
};
using TkMenuShadowFactory = CTkMenuShadow* (*)(HWND hPopup);
void TkSetMenuShadowFactory(TkMenuShadowFactory factory);

class CTkMenuPopupHook : public CTkWndHook {
  DECLARE_DYNAMIC(CTkMenuPopupHook)

 public:
  CTkMenuPopupHook();
  ~CTkMenuPopupHook() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Takes the menu the window shows and strips its frame in the flat look.
  void SetMenu(HMENU hMenu);
  // The toolkit draws this menu's shadow itself.
  BOOL OwnShadows() const;
  // Drops the shadow and the captured screen and keeps the next paint from making a new one.
  void DropShadow();
  // Copies the screen under the popup's rectangle (grown by the shadow's depth).
  void CaptureBackground(const RECT& rcWindow);
  void CaptureBackground();
  void StripFrame();

  HMENU m_hMenu = nullptr;
  CTkMenuShadow* m_pShadow = nullptr;
  CTkMemDC* m_pBackground = nullptr;
  BYTE m_bSkipShadow = 0;
  CTkCoolMenu* m_pOwner = nullptr;  // the cool menu that drew the popup's first item
  CDC* m_pScreenDC = nullptr;

 private:
  void OnWindowPosChanged(const WINDOWPOS* pPos);
  void OnShadowStep();
  void Remeasure();
};

// The hooks of the open menu windows, oldest first.
std::vector<CTkMenuPopupHook*>& TkMenuPopupHooks();
// The hook on a menu window, null when none.
CTkMenuPopupHook* TkFindMenuPopupHook(HWND hPopup);
// The popup most recently announced by WM_INITMENUPOPUP and the hook of a menu window that came
// before its menu was announced.
HMENU& TkPendingMenu();
CTkMenuPopupHook*& TkPendingMenuHook();
// Asks every hooked menu window to close (posted WM_CLOSE), before a new popup is tracked.
void TkCloseHookedMenus();

// The training hook on the thread's window creation; installed for the thread that starts the
// program and removed when it ends. Install is idempotent; a test thread may install its own.
BOOL TkInstallMenuCbtHook();
void TkRemoveMenuCbtHook();
BOOL TkIsMenuCbtHookInstalled();

// The system settings saved by the first menu window, and whether that system is Windows XP or
// later; read by tests.
struct TkMenuPopupSettings {
  int nHooks;
  BOOL bSavedAnimation;
  BOOL bSavedDropShadow;
  BOOL bXPOrLater;
};
TkMenuPopupSettings TkGetMenuPopupSettings();
