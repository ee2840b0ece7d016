// CControlBar: a strip along an edge of its frame (status line, tool bar). The frame lays its bars
// out by WM_SIZEPARENT: each visible bar takes the size CalcDynamicLayout (or CalcFixedLayout)
// gives from the free rectangle. At idle the bar asks its frame's command route for the state of
// its items (OnUpdateCmdUI).
#pragma once
#include "framework/bars/BarStyles.h"
#include "framework/wnd/Wnd.h"

class CFrameWnd;
class CDockBar;
class CDockContext;
class CControlBarInfo;

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)
 public:
  CControlBar();
  ~CControlBar() override;

  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  // By default the fixed layout for the mode's stretch and orientation.
  virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
  // The client rectangle less the bar's borders (edges swapped for a vertical bar).
  virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
  virtual void DoPaint(CDC* pDC);
  virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);
  // Paints the border area outside the client rectangle.
  void EraseNonClient();
  void DrawBorders(CDC* pDC, CRect& rect);

  DWORD GetBarStyle() const { return m_dwStyle; }
  void SetBarStyle(DWORD dwStyle);
  void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
  BOOL IsFloating() const { return (m_dwStyle & CBRS_FLOATING) != 0; }
  BOOL IsHorzDocked() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
  BOOL IsVertDocked() const { return (m_dwStyle & CBRS_ORIENT_VERT) != 0; }
  // Visible, counting a show or hide that waits for the next layout.
  BOOL IsVisible() const;
  // Shows or hides at the next layout instead of now (no flicker while several change). Virtual:
  // a sizing bar gives its row back before it hides.
  virtual void DelayShow(BOOL bShow);
  CFrameWnd* GetDockingFrame() const;
  int GetCount() const { return m_nCount; }

  // CBRS_TOOLTIPS: a tip over each item from its command's string (the part after the line
  // break); CBRS_FLYBY: the prompt (the part before it) in the frame's message pane while the
  // mouse is over the item, the idle text back when it leaves.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  UINT GetFlyByCommand() const { return m_nFlyById; }

  // --- docking ---
  // The edges (CBRS_ALIGN_*) the user may dock the bar to; gives it a dock context.
  void EnableDocking(DWORD dwDockStyle);
  virtual BOOL IsDockBar() const { return FALSE; }
  BOOL IsDocked() const { return m_pDockBar != nullptr && !IsFloating(); }
  // Fill in and apply the bar's entry of a saved layout.
  virtual void GetBarInfo(CControlBarInfo* pInfo);
  virtual void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);

  DWORD m_dwStyle = 0;
  BOOL m_bAutoDelete = FALSE;  // deleted with its window
  int m_cxLeftBorder = 6, m_cxRightBorder = 6;
  int m_cyTopBorder = 1, m_cyBottomBorder = 1;
  int m_cxDefaultGap = 2;
  int m_nCount = 0;
  CFrameWnd* m_pDockSite = nullptr;
  enum { delayHide = 1, delayShow = 2 };
  UINT m_nStateFlags = 0;
  DWORD m_dwDockStyle = 0;              // where the user may dock it
  CDockBar* m_pDockBar = nullptr;       // the dock bar holding it, docked or floating
  CDockContext* m_pDockContext = nullptr;  // its drag and toggle, once docking is enabled

  // The window style the bar will have once a pending show or hide is done; applied now when
  // the layout moves windows. Public: a dock bar that lays its bars out itself applies theirs.
  DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);

 protected:
  void PostNcDestroy() override;
  // Takes the bar out of its dock bar's rows (its window is going).
  void DetachFromDockBar();
  // Shows the prompt of the item under the point (client coordinates), or the idle text.
  void UpdateFlyBy(CPoint point);
  void OnTimer(UINT_PTR nIDEvent);
  UINT m_nFlyById = 0;  // the command whose prompt the message pane shows, 0 for none

  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnPaint();
  void OnNcPaint();
  void OnLButtonDown(UINT nFlags, CPoint pt);
  void OnLButtonDblClk(UINT nFlags, CPoint pt);
  LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
