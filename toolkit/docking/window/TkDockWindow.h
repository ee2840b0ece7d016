// CTkDockWindow: a sizing control bar. It docks in a row of a dock bar beside other docking
// windows, floats in a mini frame, and hosts one child window (often a view made inside it).
// Docked it shows a gripper or a caption bar with a hide and an expand/contract button; the
// expand button gives the window its whole row while the others shrink to their gripper. Its
// sizes (docked lying, docked standing, floating, current) and its two row flags live in the
// base bar's fields, so that the dock bar lays its row out from them.
#pragma once
#include "toolkit/docking/TkDockSizing.h"
#include <windows.h>

#include "framework/controls/ToolTipCtrl.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/docking/window/TkDockWindowGeometry.h"

class CTkBarButton;
class CDocument;
class CView;
struct CCreateContext;

// The toolkit style bits of a docking window (the last argument of Create).
#define TKDW_GRIPPER 0x0001
#define TKDW_TITLE 0x0002
#define TKDW_TWO_LINES 0x0004
#define TKDW_CAPTION 0x0008
#define TKDW_GRADIENT 0x0010
#define TKDW_BUTTONS 0x0020
#define TKDW_FLAT_BUTTONS 0x0040
#define TKDW_THIN_BUTTONS 0x0100
#define TKDW_EDGE_ETCHED 0x0200
#define TKDW_EDGE_SUNKEN 0x0400
#define TKDW_EDGE_RAISED 0x0800
#define TKDW_NEWLY_DOCKED 0x1000

// Private message: the deferred first update of a floating window's views, with the counter it
// was posted for.
#define WM_TK_DOCKWND_INIT 0x0802
#ifndef WM_INITIALUPDATE
#define WM_INITIALUPDATE 0x0364
#endif

// Moves a few windows in one step, or none when the batch never started. A failing step throws
// the framework's resource exception.
class CTkDeferPos {
 public:
  explicit CTkDeferPos(int nWindows) : m_nWindows(nWindows) {}
  ~CTkDeferPos() { End(); }
  CTkDeferPos(const CTkDeferPos&) = delete;
  CTkDeferPos& operator=(const CTkDeferPos&) = delete;
  // Shows the window at the rectangle; an empty rectangle hides it.
  void Move(HWND hWnd, const CRect& rect);
  void End();

 private:
  HDWP m_hdwp = nullptr;
  int m_nWindows;
};

class CTkDockWindow : public CTkControlBar, public CTkDockSizing {
  DECLARE_DYNAMIC(CTkDockWindow)
 public:
  CTkDockWindow();
  ~CTkDockWindow() override;

  // --- the framework's and the base bar's ---
  BOOL PreTranslateMessage(MSG* pMsg) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  void DelayShow(BOOL bShow) override;
  void DoPaint(CDC* pDC) override;
  BOOL ModifyTkBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE) override;
  void DrawBorders(CDC* pDC, CRect& rect) override;
  // Draws nothing: the docking window has no frame of its own around the client area.
  void DrawNonClient() override {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // --- its own ---
  virtual BOOL Create(CWnd* pParentWnd, UINT nID, LPCSTR lpszTitle, int cx, int cy,
                      DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                      DWORD dwTkStyle = TKDW_GRIPPER | TKDW_TITLE | TKDW_BUTTONS);
  // The child's area (client coordinates).
  virtual void GetInsideRect(CRect& rect) const;
  virtual int GetMinLength() const;
  BOOL IsExpanded() const override { return m_dwSpare2 != 0; }
  BOOL IsAlone() const override { return m_dwSpare1 != 0; }
  void SetDockedSize(const CSize& size) override;
  // What the toolkit's dock bars ask of a sizing bar.
  CSize GetCurrentSize() const override { return m_szLast; }
  CSize GetMinSize() const override { return CSize(GetMinLength(), GetMinLength()); }
  BOOL IsNewlyDocked() const override { return (m_dwTkStyle & TKDW_NEWLY_DOCKED) != 0; }
  void SetNewlyDocked(BOOL bNew) override {
    ModifyTkBarStyle(bNew ? 0 : TKDW_NEWLY_DOCKED, bNew ? TKDW_NEWLY_DOCKED : 0, FALSE);
  }
  virtual void UseMRUSize();
  void Restore() override;
  // Shrinks to the gripper; returns the length given up (0 floating).
  int Minimize() override;
  void Expand(int nLength) override;
  virtual void EnableDocking(DWORD dwDockStyle);
  virtual int GetCurrentWidth() const { return m_szLast.cx; }
  virtual int GetCurrentHeight() const { return m_szLast.cy; }
  virtual CWnd* CreateView(CRuntimeClass* pViewClass, CDocument* pDoc = nullptr,
                           CCreateContext* pContext = nullptr);
  virtual void SetChild(CWnd* pWnd) { m_pChild = pWnd; }
  // Ten 32-bit values: the sizes standing, lying, floating and current, alone, expanded.
  virtual void SetBarState(const DWORD* pState);
  virtual void GetGripperRect(CRect& rect) const;
  virtual void GetButtonRect(CRect& rect) const;
  void DrawGripper(CDC* pDC, const CRect& rect) override;
  virtual void DrawCaption(CDC* pDC, const CRect& rect);
  virtual void UpdateButtonLook();

  void SetTitle(LPCSTR lpszTitle);
  // The sizes and flags in the profile store's section (44 bytes, the style word last).
  void SaveState(LPCSTR lpszProfileName);
  void LoadState(LPCSTR lpszProfileName);

  CWnd* GetChild() const { return m_pChild; }
  BOOL IsActive() const { return m_bActive; }
  BOOL IsSideFloating() const { return GetSide() == tkdock::Side::Floating; }
  tkdock::Side GetSide() const;
  int GetExpandState() const { return m_nExpandState; }
  CTkBarButton* GetHideButton() const { return m_pHideButton; }
  CTkBarButton* GetExpandButton() const { return m_pExpandButton; }
  HICON GetGlyph(int nIndex) const { return nIndex >= 0 && nIndex < 9 ? m_hGlyphs[nIndex] : nullptr; }
  // The window's size fields, named.
  CSize& VertSize() { return m_szVert; }
  CSize& HorzSize() { return m_szHorz; }
  CSize& FloatSize() { return m_szFloat; }
  CSize& CurrentSize() { return m_szLast; }
  void SetAlone(BOOL bAlone) override { m_dwSpare1 = bAlone; }

  // The row steps of the dock bar that holds the window (expand over the row, give it back).
  virtual void ExpandInRow();
  virtual void RestoreInRow();
  // After the window went into a floating frame: it takes its floating size.
  virtual void OnFloated() { UseMRUSize(); }

 protected:
  // A tab control bar lets its child grow into the bottom edge.
  virtual BOOL IsTabBar() const { return FALSE; }
  BOOL HasButtons() const { return (m_dwTkStyle & TKDW_BUTTONS) != 0; }
  void LoadGlyphs();
  void DestroyGlyphs();
  void FillCaption(CDC* pDC, CRect rect, COLORREF start, COLORREF end, BOOL gradient);
  tkdock::Sizes GetSizes() const;
  void PutSizes(const tkdock::Sizes& sizes);

  LRESULT OnNcHitTest(CPoint point);
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  void OnHide();
  void OnExpand();
  void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  void OnLButtonDown(UINT nFlags, CPoint point);
  LRESULT OnInitialUpdate(WPARAM wParam, LPARAM lParam);
  LRESULT OnDeferredInit(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  int m_nExpandState = 0;
  CWnd* m_pChild = nullptr;
  CTkBarButton* m_pHideButton = nullptr;
  CTkBarButton* m_pExpandButton = nullptr;
  CToolTipCtrl m_wndToolTip;
  BOOL m_bActive = FALSE;
  BOOL m_bSysMenuRemoved = FALSE;
  CWnd* m_pParentWnd = nullptr;
  HICON m_hGlyphs[9] = {};
  int m_nInitCounter = 1;
};
