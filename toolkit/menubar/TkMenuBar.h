// CTkMenuBar: the frame's menu as a dockable bar. A toolbar with one text button per top-level
// item of the current menu; a button opens its item's popup below (or beside) itself, and the
// keyboard works as on a native menu bar (Alt or F10, arrows, mnemonics, Escape). In an MDI
// frame whose active child is maximised the bar also carries the child's icon and its minimise,
// restore and close buttons, and it keeps the numbered list of children in the window menu.
//
// The bar's duties are split by file: TkMenuBar.cpp (creation, menus, the hooks' questions),
// TkMenuBarLayout.cpp (sizes and the MDI rectangles), TkMenuBarPaint.cpp (painting),
// TkMenuBarMDI.cpp (the MDI child's buttons and the window list), TkMenuBarTracking.cpp
// (popups and the keyboard). The arithmetic that needs no window is in TkMenuBarGeometry.h.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <vector>

#include "framework/gdi/Menu.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/services/TkMBarWndHook.h"

class CDC;

// The bar's control id when the frame gives none of its own.
constexpr UINT kTkMenuBarId = 0xE81F;
// The expand timer: while the mouse rests on the button of the open popup, the popup shows its
// rarely used items after this long.
constexpr UINT_PTR kTkMenuBarExpandTimerId = 1000;
constexpr UINT kTkMenuBarExpandElapse = 4500;
// The window list: child windows carry ids from here on; the item that lists more windows.
constexpr UINT kTkFirstMDIChildId = 0xFF00;
constexpr UINT kTkMoreWindowsId = 0xFF09;

class CTkMenuBar : public CTkToolBar, public CTkMenuBarSite {
  DECLARE_DYNAMIC(CTkMenuBar)

 public:
  // Tracking states.
  enum { kTrackNone = 0, kTrackHot = 1, kTrackPopup = 2 };
  // The MDI rectangles, in order.
  enum { kMDIIcon = 0, kMDIMinimize = 1, kMDIRestore = 2, kMDIClose = 3 };

  CTkMenuBar();
  ~CTkMenuBar() override;

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
              UINT nID = kTkMenuBarId);
  // The toolbar's creation, then the bar takes the frame's menu over: the frame's own menu goes,
  // the frame (and its MDI client) are watched, the floating caption is set.
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT | TBSTYLE_LIST,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, UINT nID = kTkMenuBarId);

  // Loads menu nIDMenu from whichever module holds it and shows it. FALSE when it is missing,
  // and FALSE also when the bar showed a menu before. Works before the bar has a window: the
  // menu is kept and its buttons come with the window.
  BOOL LoadMenuBar(UINT nIDMenu);
  // Shows hMenu and returns the menu shown before; (null, null) shows the loaded menu again and
  // forgets the window menu.
  HMENU SetMenu(HMENU hMenu, HMENU hWindowMenu);
  HMENU GetMenu() const { return m_hMenu; }
  // A button's text, mnemonics kept. The first button's command is 0, which the framework's
  // toolbar takes for a separator, so the text is read by position.
  CString GetButtonText(int nIndex) const;
  HMENU GetDefaultMenu() const { return m_hMenuDefault; }
  UINT GetMenuID() const { return m_nIDMenu; }
  // Underlines the mnemonics (keyboard mode) for every bar and repaints this one.
  void ShowMnemonics(BOOL bShow);
  void SetExpandTimer(UINT nElapse, UINT_PTR nIDEvent);
  UINT GetExpandElapse() const { return m_nExpandElapse; }
  UINT_PTR GetExpandTimerId() const { return m_nExpandTimerId; }
  void SetStretch(BOOL bStretch) { m_bStretch = bStretch; }
  void SetListMoreWindows(BOOL bList) { m_bListMoreWindows = bList ? 1 : 0; }

  // The first look at each message of the frame, from its PreTranslateMessage; TRUE when used.
  virtual BOOL TranslateFrameMessage(MSG* pMsg);
  virtual BOOL AddHideableCommand(UINT nID);
  virtual BOOL AddHideableCommands(const UINT* pIDs, int nCount);
  BOOL HasHideableCommands() const { return !m_hideable.empty(); }
  BOOL IsExpandTimerRunning() const { return m_bExpandTimerRunning != 0; }
  // Narrows the client rectangle by the MDI child's icon and buttons.
  virtual void AdjustForMDIButtons(CRect& rect);
  virtual void CalcMDIButtonRects();
  // 0 to 3 for the MDI rectangle that holds the point (window coordinates), else -1.
  virtual int HitTestMDIButton(CPoint point);
  // Where the popup of a button (screen rectangle) opens; fills the exclusion parameters.
  virtual CPoint ComputeTrackPoint(const CRect& rcButton, TPMPARAMS& params);
  virtual void RefreshWindowList();
  virtual void DrawMDIButton(CDC* pDC, int nIndex, BOOL bPushed);
  // The mouse on the MDI rectangles (client coordinates); TRUE when handled.
  virtual BOOL OnMDIButtonMouse(UINT message, UINT nFlags, CPoint point);
  // Input while a popup is open; TRUE when the message is to be eaten. With bClientCoords the
  // mouse point is in the client coordinates of the message's window, else on the screen.
  virtual BOOL OnMenuInput(MSG& msg, BOOL bClientCoords);
  // The tracking state; nIndex gets the button whose popup is open.
  virtual int GetTrackingState(int& nIndex) const;
  virtual void SetWrapAll(BOOL bWrap);
  // The bar on one row: its buttons, the edges and the MDI child's room.
  virtual CSize CalcMenuBarSize();

  // Tracking (TkMenuBarTracking.cpp).
  void TrackPopup(int nIndex);
  // A button chosen in the chevron's popup: its menu opens below the copy there (nID is the
  // item's position, as on the bar); an item without a menu runs its command.
  BOOL OpensMenusFromPopup() const override { return TRUE; }
  void OpenHiddenButtonMenu(UINT nID, const RECT& rcScreen) override;
  void TrackNext(int nIndex);
  void SetTrackingState(int nState, int nIndex);
  int GetNextButton(int nIndex, BOOL bPrevious) const;
  int HitTestButton(CPoint point) const;
  int GetHotIndex() const { return m_nHotIndex; }
  int GetTrackingStateValue() const { return m_nTrackingState; }
  // Underlined mnemonics for every bar.
  static BOOL IsShowingMnemonics();

  // The MDI state (TkMenuBarMDI.cpp).
  BOOL IsMDIMaximized() const { return m_bMDIMaximized; }
  const CRect& GetMDIRect(int nIndex) const { return m_rcMDI[nIndex]; }
  void SetMDIMaximizedForLayout(BOOL bMaximized) { m_bMDIMaximized = bMaximized; }
  BOOL IsFrameActive() const { return m_bFrameActive; }

  // CTkMenuBarSite: what the frame and MDI client hooks ask and tell.
  HWND GetBarWindow() const override { return m_hWnd; }
  HWND GetOwnerFrame() const override;
  BOOL OwnerStaysActive() const override { return FALSE; }
  HWND GetInPlaceTarget(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bSend) override;
  void ResetFont() override;
  HWND GetTrackedMDIClient() const override { return m_hWndMDIClient; }
  void RefreshMDIButtons() override;
  void SetFrameActive(BOOL bActive) override { m_bFrameActive = bActive; }
  int GetTrackedIndex() const override { return m_nTrackedIndex; }
  HMENU GetMDIWindowMenu() const override { return m_hWindowMenu; }
  void UpdateWindowList() override { RefreshWindowList(); }
  void NoteMenuSelect(HMENU hMenu, UINT nItem) override;
  void SetMDIMenu(HMENU hFrameMenu, HMENU hWindowMenu) override;

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
  // The face colour of the toolkit.
  COLORREF GetBackgroundColor() const;

  // Left-arrow and right-arrow chaining while a popup is open, and Escape in it.
  BOOL m_bRightArrowMoves = FALSE;
  BOOL m_bLeftArrowMoves = FALSE;
  BOOL m_bEscapePressed = FALSE;
  // Alt went down and no other key or click came since.
  BOOL m_bAltAlone = FALSE;

 protected:
  // Seams. The popup of a button, tracked modally (the toolkit's tracked menu); the command
  // chosen or 0. A test replaces it to play the user's part.
  virtual UINT TrackButtonPopup(HMENU hPopup, UINT nFlags, CPoint point, TPMPARAMS* pParams);
  // The beep of a letter that names no button.
  virtual void Beep();
  // The child's system menu at the icon.
  virtual void TrackSystemMenu(HMENU hSysMenu, CPoint point, TPMPARAMS* pParams);

  HWND GetActiveMDIChild(BOOL* pbMaximized = nullptr) const;
  void RecalcFrame();
  void RecalcOwnerLayout();
  void BuildButtons();
  void MergeInPlaceMenus();
  void SetHotItem(int nIndex);
  // Tracking helpers.
  static LRESULT CALLBACK MenuInputFilter(int nCode, WPARAM wParam, LPARAM lParam);
  int MapMnemonic(UINT nChar) const;
  int ButtonCount() const;

  void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  void OnNcPaint();
  void OnPaint();
  void OnSize(UINT nType, int cx, int cy);
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  void OnLButtonDown(UINT nFlags, CPoint point);
  void OnLButtonUp(UINT nFlags, CPoint point);
  void OnLButtonDblClk(UINT nFlags, CPoint point);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  LRESULT OnIdleUpdate(WPARAM wParam, LPARAM lParam);
  LRESULT OnFullWindowDragAsk(WPARAM wParam, LPARAM lParam);
  LRESULT OnFloatDragSizeAsk(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  // Draws one text button; returns the custom-draw answer.
  LRESULT DrawTextButton(NMTBCUSTOMDRAW* pDraw);
  void DrawOpenButtonShadow();

  UINT_PTR m_nExpandTimerId = kTkMenuBarExpandTimerId;
  UINT m_nExpandElapse = kTkMenuBarExpandElapse;
  int m_nOpenIndex = -1;   // the button whose popup is open
  int m_nNextIndex = -1;   // the button whose popup opens next
  int m_nMDIPressed = -1;  // the MDI rectangle under a press
  int m_nButtonExtent = 0; // far edge of the last button plus 2
  int m_nTrackedIndex = -1;
  int m_nHotIndex = -1;    // the highlighted button in keyboard mode
  UINT m_nIDMenu = 0;
  BYTE m_bExpandTimerRunning = 0;
  BYTE m_bListMoreWindows = 1;
  BOOL m_bKeyboardCues = FALSE;
  BOOL m_bFrameActive = TRUE;
  BOOL m_bMDIPushed = FALSE;
  BOOL m_bMDIMaximized = FALSE;
  BOOL m_bStretch = TRUE;
  CRect m_rcMDI[4];
  CPoint m_ptLastMouse{0, 0};
  BOOL m_bLastMouseValid = FALSE;
  HWND m_hWndMDIClient = nullptr;
  HMENU m_hMenu = nullptr;         // the menu whose items are the buttons
  HMENU m_hPopup = nullptr;        // the open popup
  HMENU m_hMenuDefault = nullptr;  // loaded by LoadMenuBar
  HMENU m_hWindowMenu = nullptr;   // receives the window list
  int m_nTrackingState = kTrackNone;
  int m_cyButtonBase = 0;          // the control's button height before the bar trims it
  CTkMBarWndHook m_frameHook;
  CTkMBarMDIWndHook m_mdiHook;
  std::vector<UINT> m_hideable;
  std::map<int, BOOL> m_inPlaceButtons;
};
