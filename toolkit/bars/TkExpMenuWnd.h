// CTkExpMenuWnd: the small popup a toolbar's chevron opens when the bar is too short for all its
// buttons. It shows the hidden buttons in a toolbar of its own (lending it the controls placed
// in them) and, for a bar the user may customise, a second toolbar with the add-or-remove
// command. A hook on the frame takes the commands of the popup's buttons, closes the popup and
// hands the command to the frame afterwards. The popup deletes itself once its window is gone.
#pragma once
#include "framework/gdi/Rect.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/services/TkWndHook.h"

class CTkExpMenuWnd;

// Sent to a frame (and passed on by its hook) to close an open chevron popup.
constexpr UINT WM_TK_CLOSE_EXPMENU = 0x07EB;
// The command toolbar's only command: add or remove buttons.
constexpr UINT kTkAddRemoveButtonsCmd = 52782;

class CTkHiddenButtonsToolbar : public CTkToolBar {
 public:
  CTkHiddenButtonsToolbar();
  // Wraps the buttons into rows at most nLength wide (all buttons of this bar lie flat).
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  CTkExpMenuWnd* m_pPopup = nullptr;  // null when used outside a popup
};

class CTkHiddenButtonsWndHook : public CTkWndHook {
 public:
  explicit CTkHiddenButtonsWndHook(CTkExpMenuWnd* pPopup) : m_pPopup(pPopup) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CTkExpMenuWnd* m_pPopup;
};

// Widest row of the popup: six buttons, at most 250 pixels.
int TkExpMenuWidthLimit(int nButtonWidth);
// Where a popup of size (cx, cy) opens beside a chevron on a bar docked by the CBRS_ALIGN_* bit
// (0 or CBRS_ALIGN_TOP for a bar at the top or floating).
POINT TkExpMenuPosition(const RECT& rcChevron, int cx, int cy, DWORD dwDockSide);

class CTkExpMenuWnd : public CWnd {
  DECLARE_DYNAMIC(CTkExpMenuWnd)
 public:
  // nNotifyMsg (0 for none) is posted to pNotifyWnd when the popup is gone.
  CTkExpMenuWnd(CWnd* pNotifyWnd, UINT nNotifyMsg);
  ~CTkExpMenuWnd() override;

  // Opens the popup beside the chevron (screen coordinates) with the hidden buttons of the
  // toolbar; FALSE when the window cannot be made. The object is gone either way once its
  // window is: also after a failed creation, so a caller never deletes it.
  BOOL Create(int left, int top, int right, int bottom, CTkToolBar* pOwnerToolBar);

  // A popup that is its own and only owner: makes and opens it, and returns its window, or null
  // when it could not be made. Whoever opened it keeps the window, never the object.
  static HWND Open(CWnd* pNotifyWnd, UINT nNotifyMsg, const RECT& rcChevron,
                   CTkToolBar* pOwnerToolBar);
  // The popup of that window while the window is there; null once it has gone, whether or not
  // its closing note has arrived yet.
  static CTkExpMenuWnd* FromOpenWindow(HWND hWnd);
  // Closes the popup of that window if it is still open.
  static void Close(HWND hWnd);
  // Runs once; a second request on a closing popup does nothing.
  BOOL DestroyWindow() override;

  CTkHiddenButtonsToolbar& GetHiddenToolBar() { return m_wndHidden; }
  CTkHiddenButtonsToolbar& GetCommandToolBar() { return m_wndCommand; }
  CTkToolBar* GetOwnerToolBar() const { return m_pOwnerToolBar; }
  HWND GetFrameWnd() const { return m_hook.m_hWnd; }
  BOOL IsClosing() const { return m_bDestroyed; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override { delete this; }
  int OnCreate();
  void OnDestroy();
  void OnWindowPosChanged(const WINDOWPOS* lpwp);
  void OnNcPaint();
  // Window size less client size, measured on a 100 x 100 rectangle.
  CSize FrameSize();
  BOOL IsFlatMenuLook() const;

  CTkHiddenButtonsToolbar m_wndHidden;
  CTkHiddenButtonsToolbar m_wndCommand;
  CTkHiddenButtonsWndHook m_hook;
  CRect m_rcChevron;
  CTkToolBar* m_pOwnerToolBar = nullptr;
  HWND m_hWndNotify;
  UINT m_nNotifyMsg;
  BOOL m_bDestroyed = FALSE;

  friend class CTkHiddenButtonsWndHook;
};
