// CWnd: a window and the object that stands for it. Each thread keeps a map from window handles
// to objects: permanent objects are attached while their window lives (from its first message
// when the object creates it, from SubclassWindow or Attach otherwise); FromHandle gives a
// temporary wrapper for any other window, deleted when the thread next goes idle. Messages go
// through the object's message map; what it does not handle goes to the window's original
// procedure (Default, DefWindowProc).
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "framework/core/String.h"
#include "framework/gdi/Dc.h"
#include "framework/gdi/Menu.h"
#include "framework/gdi/Rect.h"
#include "framework/wnd/CmdTarget.h"
#include "framework/wnd/MessageMap.h"

class CDC;
class CFont;
class CMenu;
class CPoint;
class CRect;
class CScrollBar;
class CDataExchange;

// Modal loop flags.
#define MLF_NOIDLEMSG 0x0001   // no WM_ENTERIDLE to the owner
#define MLF_NOKICKIDLE 0x0002  // no WM_KICKIDLE to the window
#define MLF_SHOWONIDLE 0x0004  // show the window when the queue first runs empty

// Registers (once) a window class with these traits under a generated name and returns it.
LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                           HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);
HINSTANCE AfxGetInstanceHandle();

class CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)
 public:
  CWnd() = default;
  // A wrapper that does not own the window (temporary objects, wndTop and its kind).
  explicit CWnd(HWND hWnd) : m_hWnd(hWnd), m_bTemporary(TRUE) {}
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  // Destroys a window the object still holds (its own, not a temporary wrapper's).
  ~CWnd() override;

  // --- handle map ---
  static CWnd* FromHandle(HWND hWnd);            // temporary wrapper when none is attached
  static CWnd* FromHandlePermanent(HWND hWnd);   // null when none is attached
  static void DeleteTempMap();                   // frees this thread's temporary wrappers
  BOOL Attach(HWND hWndNew);
  HWND Detach();
  // Null for a null object too (callers write pWnd->GetSafeHwnd() with pWnd possibly null).
  HWND GetSafeHwnd() const;
  operator HWND() const { return GetSafeHwnd(); }  // NOLINT

  // --- creation ---
  virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
  virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                      const RECT& rect, CWnd* pParentWnd, UINT nID,
                      LPVOID lpParam = nullptr);
  virtual BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName,
                        DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                        HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
  virtual BOOL DestroyWindow();

  // --- subclassing ---
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow();
  virtual void PreSubclassWindow() {}

  // --- messages ---
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The message being handled, passed on to the original procedure.
  LRESULT Default();
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Offers the message to each window from pMsg's target up through its parents (stopping
  // after hWndStop); TRUE when one of them took it.
  static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Hands a parent's notification to the control that caused it; TRUE when it took it.
  static BOOL ReflectLastMsg(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT* pResult);
  // Called after the window is gone and the object detached: self-deleting classes delete
  // themselves here.
  virtual void PostNcDestroy() {}
  virtual void DoDataExchange(CDataExchange* pDX);
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;
  const MSG* GetCurrentMessage() const;

  // A loop of its own until EndModalLoop (or WM_QUIT, which is posted again for the loop
  // outside): messages go through PreTranslateMessage; when the queue is empty the window's
  // descendants get WM_IDLEUPDATECMDUI and the window WM_KICKIDLE. Returns the result.
  int RunModalLoop(DWORD dwFlags = 0);
  virtual void EndModalLoop(int nResult);
  virtual BOOL ContinueModal() { return m_bContinueModal; }

  LRESULT SendMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, m, w, l); }
  BOOL PostMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageA(m_hWnd, m, w, l); }
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                BOOL bDeep = TRUE, BOOL bOnlyPerm = FALSE);
  // Runs the update route for each child control with this window as command target.
  void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

  // --- relatives ---
  CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
  CWnd* SetParent(CWnd* pNew) { return FromHandle(::SetParent(m_hWnd, pNew->GetSafeHwnd())); }
  CWnd* GetOwner() const;
  void SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = pOwnerWnd->GetSafeHwnd(); }
  CWnd* GetTopLevelParent() const;
  CWnd* GetTopLevelOwner() const;
  // The nearest parent (not this window) that is a frame window; see IsFrameWnd.
  CWnd* GetParentFrame() const;
  CWnd* GetTopLevelFrame() const;
  virtual BOOL IsFrameWnd() const { return FALSE; }
  CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  int SetDlgCtrlID(int nID) { return static_cast<int>(::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID)); }
  CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
  CWnd* GetNextDlgTabItem(CWnd* pCtl, BOOL bPrev = FALSE) const;
  CWnd* GetNextDlgGroupItem(CWnd* pCtl, BOOL bPrev = FALSE) const;
  BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }
  CWnd* ChildWindowFromPoint(POINT pt) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, pt)); }
  static CWnd* WindowFromPoint(POINT pt) { return FromHandle(::WindowFromPoint(pt)); }
  static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
  static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
  static CWnd* GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
  static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
  static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
  static CWnd* FindWindow(LPCSTR cls, LPCSTR name) { return FromHandle(::FindWindowA(cls, name)); }
  CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
  CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
  BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
  CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
  CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }

  // --- state and styles ---
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)); }
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
  BOOL IsWindow() const { return ::IsWindow(m_hWnd); }

  // --- text ---
  void SetWindowText(LPCSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
  int GetWindowText(LPSTR lpszString, int nMaxCount) const { return ::GetWindowTextA(m_hWnd, lpszString, nMaxCount); }
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
  void SetDlgItemText(int nID, LPCSTR lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
  int GetDlgItemText(int nID, CString& rString) const;
  void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
  UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const { return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned); }
  void CheckDlgButton(int nID, UINT nCheck) { ::CheckDlgButton(m_hWnd, nID, nCheck); }
  UINT IsDlgButtonChecked(int nID) const { return ::IsDlgButtonChecked(m_hWnd, nID); }
  void CheckRadioButton(int nFirst, int nLast, int nCheck) { ::CheckRadioButton(m_hWnd, nFirst, nLast, nCheck); }
  LRESULT SendDlgItemMessage(int nID, UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::SendDlgItemMessageA(m_hWnd, nID, m, w, l); }
  void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
  CFont* GetFont() const;
  HICON SetIcon(HICON hIcon, BOOL bBigIcon);
  HICON GetIcon(BOOL bBigIcon) const;

  // --- geometry ---
  void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
  void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
  void ClientToScreen(LPPOINT p) const { ::ClientToScreen(m_hWnd, p); }
  void ClientToScreen(LPRECT r) const;
  void ScreenToClient(LPPOINT p) const { ::ScreenToClient(m_hWnd, p); }
  void ScreenToClient(LPRECT r) const;
  void MapWindowPoints(CWnd* pTo, LPPOINT p, UINT n) const { ::MapWindowPoints(m_hWnd, pTo->GetSafeHwnd(), p, n); }
  void MapWindowPoints(CWnd* pTo, LPRECT r) const { ::MapWindowPoints(m_hWnd, pTo->GetSafeHwnd(), reinterpret_cast<LPPOINT>(r), 2); }
  void MoveWindow(int x, int y, int w, int h, BOOL bRepaint = TRUE) { ::MoveWindow(m_hWnd, x, y, w, h, bRepaint); }
  void MoveWindow(LPCRECT r, BOOL bRepaint = TRUE) { MoveWindow(r->left, r->top, r->right - r->left, r->bottom - r->top, bRepaint); }
  BOOL SetWindowPos(const CWnd* pAfter, int x, int y, int cx, int cy, UINT nFlags);
  BOOL GetWindowPlacement(WINDOWPLACEMENT* p) const { p->length = sizeof *p; return ::GetWindowPlacement(m_hWnd, p); }
  BOOL SetWindowPlacement(const WINDOWPLACEMENT* p) { return ::SetWindowPlacement(m_hWnd, p); }
  // Centres over the owner (or the given window), kept inside the work area.
  void CenterWindow(CWnd* pAlternateOwner = nullptr);
  int SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }
  void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }

  // --- painting ---
  void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
  void InvalidateRect(LPCRECT r, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, r, bErase); }
  void InvalidateRgn(HRGN h, BOOL bErase = TRUE) { ::InvalidateRgn(m_hWnd, h, bErase); }
  void ValidateRect(LPCRECT r) { ::ValidateRect(m_hWnd, r); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  BOOL RedrawWindow(LPCRECT r = nullptr, HRGN rgn = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
    return ::RedrawWindow(m_hWnd, r, rgn, flags);
  }
  void SetRedraw(BOOL bRedraw = TRUE) { SendMessage(WM_SETREDRAW, bRedraw); }
  BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
  void UnlockWindowUpdate() { ::LockWindowUpdate(nullptr); }
  CDC* GetDC();
  CDC* GetWindowDC();
  int ReleaseDC(CDC* pDC);

  // --- menus ---
  CMenu* GetMenu() const;
  BOOL SetMenu(CMenu* pMenu);
  CMenu* GetSystemMenu(BOOL bRevert) const;
  void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

  // --- timers, scrolling, clipboard of the window ---
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfn = nullptr) { return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfn); }
  BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
  int GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
  int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
  void GetScrollRange(int nBar, LPINT pMin, LPINT pMax) const { ::GetScrollRange(m_hWnd, nBar, pMin, pMax); }
  void SetScrollRange(int nBar, int nMin, int nMax, BOOL bRedraw = TRUE) { ::SetScrollRange(m_hWnd, nBar, nMin, nMax, bRedraw); }
  BOOL GetScrollInfo(int nBar, LPSCROLLINFO p, UINT nMask = SIF_ALL) const;
  BOOL SetScrollInfo(int nBar, LPSCROLLINFO p, BOOL bRedraw = TRUE) { return ::SetScrollInfo(m_hWnd, nBar, p, bRedraw); }
  int GetScrollLimit(int nBar) const;
  void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, nBar, bShow); }
  void ScrollWindow(int dx, int dy, LPCRECT r = nullptr, LPCRECT clip = nullptr) { ::ScrollWindow(m_hWnd, dx, dy, r, clip); }
  void DragAcceptFiles(BOOL bAccept = TRUE);
  // The tooltip control of EnableToolTips, made on first use.
  BOOL EnableToolTips(BOOL bEnable = TRUE);
  BOOL FilterToolTipMessage(MSG* pMsg);

  // --- base handlers: the framework's own handling of each message (the original procedure) ---
  int OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
  BOOL OnNcCreate(LPCREATESTRUCT) { return static_cast<BOOL>(Default()); }
  void OnDestroy() { Default(); }
  void OnNcDestroy();
  void OnClose() { Default(); }
  void OnPaint() { Default(); }
  BOOL OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
  void OnNcPaint() { Default(); }
  void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
  LRESULT OnNcHitTest(CPoint);
  BOOL OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }
  void OnNcLButtonDown(UINT, CPoint);
  void OnNcLButtonUp(UINT, CPoint);
  void OnNcLButtonDblClk(UINT, CPoint);
  void OnNcRButtonDown(UINT, CPoint);
  void OnNcRButtonUp(UINT, CPoint);
  void OnNcMouseMove(UINT, CPoint);
  void OnSize(UINT, int, int) { Default(); }
  void OnMove(int, int) { Default(); }
  void OnSizing(UINT, LPRECT) { Default(); }
  void OnMoving(UINT, LPRECT) { Default(); }
  void OnWindowPosChanging(WINDOWPOS*) { Default(); }
  void OnWindowPosChanged(WINDOWPOS*) { Default(); }
  void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
  void OnEnable(BOOL) { Default(); }
  void OnShowWindow(BOOL, UINT) { Default(); }
  void OnActivate(UINT, CWnd*, BOOL) { Default(); }
  void OnActivateApp(BOOL, DWORD) { Default(); }
  int OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
  void OnCancelMode() { Default(); }
  void OnCaptureChanged(CWnd*) { Default(); }
  void OnSysColorChange() { Default(); }
  void OnSettingChange(UINT, LPCSTR) { Default(); }
  void OnSysCommand(UINT, LPARAM) { Default(); }
  void OnDropFiles(HDROP) { Default(); }
  void OnParentNotify(UINT, LPARAM) { Default(); }
  UINT OnGetDlgCode() { return static_cast<UINT>(Default()); }
  void OnMouseMove(UINT, CPoint);
  void OnLButtonDown(UINT, CPoint);
  void OnLButtonUp(UINT, CPoint);
  void OnLButtonDblClk(UINT, CPoint);
  void OnRButtonDown(UINT, CPoint);
  void OnRButtonUp(UINT, CPoint);
  void OnRButtonDblClk(UINT, CPoint);
  void OnMButtonDown(UINT, CPoint);
  void OnMButtonUp(UINT, CPoint);
  BOOL OnMouseWheel(UINT, short, CPoint);
  void OnMouseLeave() { Default(); }
  BOOL OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
  void OnContextMenu(CWnd*, CPoint);
  void OnKeyDown(UINT, UINT, UINT) { Default(); }
  void OnKeyUp(UINT, UINT, UINT) { Default(); }
  void OnChar(UINT, UINT, UINT) { Default(); }
  void OnSysKeyDown(UINT, UINT, UINT) { Default(); }
  void OnSysKeyUp(UINT, UINT, UINT) { Default(); }
  void OnSysChar(UINT, UINT, UINT) { Default(); }
  void OnSetFocus(CWnd*) { Default(); }
  void OnKillFocus(CWnd*) { Default(); }
  void OnTimer(UINT_PTR) { Default(); }
  void OnMenuSelect(UINT, UINT, HMENU) { Default(); }
  void OnInitMenu(CMenu*) { Default(); }
  void OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
  LRESULT OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
  void OnEnterMenuLoop(BOOL) { Default(); }
  void OnExitMenuLoop(BOOL) { Default(); }
  void OnEnterIdle(UINT, CWnd*) { Default(); }
  void OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
  void OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
  HBRUSH OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
  void OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }
  void OnMeasureItem(int, LPMEASUREITEMSTRUCT) { Default(); }
  LRESULT OnPrintClient(CDC*, UINT) { return Default(); }

  HWND m_hWnd = nullptr;
  static const CWnd wndTop, wndBottom, wndTopMost, wndNoTopMost;

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  const AFX_MSGMAP* GetMessageMap() const override;
  // Makes this object receive the window's messages, keeping the previous procedure.
  BOOL SubclassAttached();
  LRESULT OnNeedToolText(WPARAM, LPARAM);
  // The same for a tooltip control that asks in wide characters, as the system's toolbar, its
  // parent, tells it to.
  LRESULT OnNeedToolTextW(LPARAM lParam);

  WNDPROC m_pfnSuper = nullptr;  // the window's procedure before ours
  HWND m_hWndOwner = nullptr;    // SetOwner's choice, else the system's
  HWND m_hWndToolTip = nullptr;  // EnableToolTips' control
  BOOL m_bTemporary = FALSE;
  BOOL m_bContinueModal = FALSE;
  int m_nModalResult = -1;

  BOOL DispatchWndMsg(UINT nMapMessage, UINT message, WPARAM wParam, LPARAM lParam, UINT nExtra,
                      LRESULT* pResult);
  // Lets go of the destroyed window: restores its procedure, detaches, then PostNcDestroy.
  void NcDestroyCleanup();

  friend LRESULT AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK AfxCbtHook(int, WPARAM, LPARAM);
  friend class CWinThread;
  friend class CPropertyPage;  // tells its sheet how it ends
};

// Attaches the window being created to the object waiting for it (AfxHookWindowCreate).
LRESULT CALLBACK AfxCbtHook(int code, WPARAM wParam, LPARAM lParam);
// The window procedure of every attached window.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Sends a message to the object's window procedure directly (as if the system had).
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The calling thread's record of the message being handled (what GetCurrentMessage and Default
// see); window procedures of their own, such as subclassing hooks, set and restore it.
MSG* AfxGetCurrentMessage();
// While set, the next window the thread creates is attached to pWnd from its first message.
void AfxHookWindowCreate(CWnd* pWnd);
// Ends the creation hook; FALSE when the window never came (creation failed before it).
BOOL AfxUnhookWindowCreate();

// A scroll bar control; the scroll handlers receive it for scroll-bar controls.
class CScrollBar : public CWnd {
 public:
  int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
  int SetScrollPos(int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw); }
};
