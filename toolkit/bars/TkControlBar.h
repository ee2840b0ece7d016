// CTkControlBar: the framework's control bar with the toolkit's looks and behaviour: borders and
// a gripper in the toolkit's colours, an extended bar style, 8-point fonts, a context menu that
// lists the frame's bars, the toolkit's private bar messages and a watch on the frame the bar
// lives in. The toolkit's toolbar, docking window and rebar derive from it.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "framework/bars/ControlBar.h"
#include "toolkit/services/TkWndHook.h"

class CFrameWnd;
class CTkControlBar;

// Watches the frame a bar lives in for the bar: the system's colour and setting changes reach
// only top-level windows, and the bar needs them too (a toolbar's bitmap in the new colours).
class CTkBarFrameHook : public CTkWndHook {
 public:
  explicit CTkBarFrameHook(CTkControlBar* pBar) : m_pBar(pBar) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CTkControlBar* m_pBar;
};

// Extended bar style bits of the base (the others belong to the subclasses).
#define TKBS_DOUBLE_GRIPPER 0x0004  // two grip bars instead of one
#define TKBS_DEFAULT 0x0023

// The toolkit's private messages between bars, the rebar and the floating frame.
#define TKM_GETBANDSIZE 0x0804     // wParam: horizontal; lParam: REBARBANDINFOA* to fill
#define TKM_BANDCHILDSIZE 0x0805   // wParam: horizontal; lParam: the band's notification
#define TKM_FULLWINDOWDRAG 0x0806  // does the bar want to be dragged whole?
#define TKM_FLOATDRAGSIZE 0x0807   // lParam: SIZE* of the floating frame's drag
#define TKM_FRAMECHANGED 0x0808    // a drag or resize ended: the parent frame may be another

// Builds the popup menu listing the frame's bars (each checked when visible, its command the
// bar's id); null when there is nothing to list. pClicked decides the customise item.
HMENU BuildBarContextMenu(CFrameWnd* pFrame, CControlBar* pClicked);

class CTkControlBar : public CControlBar {
  DECLARE_DYNAMIC(CTkControlBar)
 public:
  CTkControlBar();
  ~CTkControlBar() override;

  void DoPaint(CDC* pDC) override;  // the subclasses draw their content
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  // The prompt of the command under the mouse (-1: the idle text) in the frame's message pane.
  virtual void SetStatusText(int nHit);

  virtual void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
  virtual void SetBorders(LPCRECT lpRect);
  virtual CRect GetBorders() const;
  virtual DWORD GetTkBarStyle() const { return m_dwTkStyle; }
  virtual void SetTkBarStyle(DWORD dwStyle) { m_dwTkStyle = dwStyle; }
  virtual BOOL ModifyTkBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
  // The bar's own context menu (a sub-menu of a menu resource); 0 for the list of bars.
  virtual void SetMenuID(UINT nMenuID, int nSubMenu = 0);
  virtual UINT GetMenuID() const { return m_nMenuID; }
  virtual void DrawGripper(CDC* pDC, const CRect& rect);
  virtual void DrawBorders(CDC* pDC, CRect& rect);
  virtual BOOL IsLeftDocked() const;
  virtual BOOL IsRightDocked() const;
  virtual BOOL IsTopDocked() const;
  virtual BOOL IsBottomDocked() const;
  virtual BOOL IsHorzDocked() const { return IsTopDocked() || IsBottomDocked(); }
  virtual BOOL IsVertDocked() const { return IsLeftDocked() || IsRightDocked(); }
  virtual BOOL IsDocked() const { return IsHorzDocked() || IsVertDocked(); }
  // The face tint with the flat look, else the face colour.
  virtual COLORREF GetBackgroundColor() const;
  virtual BOOL GetTkFlag() const { return m_bTkFlag; }
  // The size a rebar band needs for the bar: its fixed layout as the band's least child size.
  virtual BOOL GetBandSize(REBARBANDINFOA* pInfo, BOOL bHorz);
  virtual void OnBandChildSizeChanged(BOOL, LPARAM) {}
  virtual BOOL WantsFullWindowDrag() { return FALSE; }
  virtual BOOL OnFloatDragSize(SIZE*) { return FALSE; }
  // A drag or resize ended: the watch moves to the bar's new parent frame when it changed.
  virtual void OnFrameChanged();
  virtual void CreateFonts();
  virtual void ShowContextMenu(CPoint point, CFrameWnd* pFrame);
  void CalcInsideRect(CRect& rect, BOOL bHorz) const override;
  virtual void DrawNonClient();

  void EnableDocking(DWORD dwDockStyle);
  BOOL IsGripperShown() const {
    return (m_dwStyle & CBRS_GRIPPER) && !(m_dwStyle & CBRS_FLOATING);
  }
  BOOL IsInReBar() const { return m_bInReBar; }
  CFrameWnd* GetWatchedFrame() const { return m_pWatchedFrame; }
  HFONT GetNormalFont() const { return m_hFontNormal; }
  HFONT GetVertFont() const { return m_hFontVert; }
  HFONT GetBoldFont() const { return m_hFontBold; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The sizes of the docking subclasses: horizontal, vertical, floating and last.
  CSize m_szHorz{200, 100}, m_szVert{200, 100}, m_szFloat{200, 100}, m_szLast{200, 100};
  DWORD m_dwSpare1 = 0, m_dwSpare2 = 0;
  int m_nMRUWidth = 32767;
  BOOL m_bInReBar = FALSE;
  BOOL m_bContextMenu = TRUE;  // a right click opens a context menu

 protected:
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnNcPaint();
  void OnPaint();
  void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  void OnRButtonDown(UINT nFlags, CPoint point);
  LRESULT OnGetBandSize(WPARAM wParam, LPARAM lParam);
  LRESULT OnBandChildSize(WPARAM wParam, LPARAM lParam);
  LRESULT OnFullWindowDrag(WPARAM wParam, LPARAM lParam);
  LRESULT OnFloatDragSizeMsg(WPARAM wParam, LPARAM lParam);
  LRESULT OnFrameChangedMsg(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  // The child that a notification of these kinds comes from, or null.
  HWND NotifyingChild(UINT message, WPARAM wParam, LPARAM lParam) const;
  void DeleteFonts();

  DWORD m_dwTkStyle = TKBS_DEFAULT;
  // The frame the bar watches (its parent frame), hooked, and the top-level frame above it when
  // that is another window (a bar in a child frame): the one that hears of system changes.
  CFrameWnd* m_pWatchedFrame = nullptr;
  CTkBarFrameHook m_frameHook{this};
  CTkBarFrameHook m_topFrameHook{this};
  UINT m_nMenuID = 0;
  int m_nSubMenu = 0;
  HFONT m_hFontNormal = nullptr, m_hFontVert = nullptr, m_hFontBold = nullptr;
  BOOL m_bTkFlag = FALSE;  // the subclasses' own flag
};
