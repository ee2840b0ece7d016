// CTkMiniDockFrameWnd: the toolkit's floating frame of a bar. For toolbars (and the menu bar) it
// draws its own caption, with a close button and, for toolbars that offer their hidden buttons,
// an expand button, each with a tip; presses on its caption and borders go to the toolkit's dock
// context. Docking windows draw their own look, so for them it only changes its frame.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "framework/collections/PtrList.h"
#include "framework/controls/ToolTipCtrl.h"
#include "framework/docking/MiniDockFrameWnd.h"

class CDockContext;
class CTkMiniDockFrameWnd;

// Private messages: the deferred caption set-up, and the expand popup closing.
#define WM_TK_SETUP_CAPTION 0x0802
#define WM_TK_POPUP_CLOSED 0x0803
// The chevron's command: add or remove buttons.
#define ID_TK_FLOAT_CUSTOMIZE 52782

// One button of the floating caption.
struct CTkCaptionButton {
  enum Kind { kClose = 0, kExpand = 1 };
  BYTE m_bClipped = 0;      // it does not fit in the caption
  BYTE m_bHot = 0;          // the mouse is over it
  BYTE m_bPressed = 0;      // the left button went down on it
  BYTE m_bHighlighted = 0;  // drawn with a border last time
  int m_nKind = kClose;
  CTkMiniDockFrameWnd* m_pFrame = nullptr;
  CControlBar* m_pBar = nullptr;

  BOOL IsNormal() const { return !m_bHot && !m_bPressed && !m_bHighlighted; }
  void Reset() { m_bHot = m_bPressed = m_bHighlighted = 0; }
  // Its rectangle from the frame's window rectangle (screen), or from the one given.
  CRect GetRect(const CRect* pWindowRect = nullptr);
};

// The caption-button rectangle within a window rectangle; clipped tells whether it leaves too
// little of the caption (its left edge within twice the edge width of the window's).
CRect TkCaptionButtonRect(const CRect& window, int nKind, bool flatLook, CSize edge,
                          CSize button, bool* pClipped);

class CTkMiniDockFrameWnd : public CMiniDockFrameWnd {
  DECLARE_DYNCREATE(CTkMiniDockFrameWnd)
 public:
  CTkMiniDockFrameWnd();
  ~CTkMiniDockFrameWnd() override;

  BOOL Create(CWnd* pParent, DWORD dwBarStyle) override;
  virtual BOOL IsToolBar(CControlBar* pBar) const;
  virtual BOOL IsMenuBar(CControlBar* pBar) const;
  virtual BOOL IsDockWindow(CControlBar* pBar) const;
  virtual CDockBar* GetDockBar() { return &m_wndDockBar; }
  virtual CControlBar* GetFirstBar();
  virtual CDockContext* GetDockContext(CControlBar* pBar);
  virtual void DrawCaptionButton(CDC* pDC, const CRect* pWindowRect, CTkCaptionButton* pButton);
  virtual void ShowButtonTip(int x, int y, BOOL bClose);

  // 1 for the flat look, 2 for the plain look.
  static int GetCaptionLook();
  int GetLookCode() const { return m_nLook; }
  CPtrList& GetButtons() { return m_buttons; }
  CTkCaptionButton* FindButton(int nKind);

 protected:
  // Whether the toolbar offers its hidden buttons in a popup (the expand button), and the popup
  // itself; the toolkit's chevron popup answers here.
  virtual BOOL OffersExpandPopup(CControlBar* pBar);
  // The popup owns itself (it is deleted with its window): the frame keeps its window only.
  virtual HWND CreateExpandPopup(const CRect& rcAnchor, CControlBar* pBar);
  BOOL IsExpandPopupOpen() const { return m_hWndExpandPopup != nullptr; }
  void DeleteButtons();
  void RepaintCaption();

  void OnNcLButtonDown(UINT nHitTest, CPoint point);
  void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  void OnNcLButtonUp(UINT nHitTest, CPoint point);
  void OnNcMouseMove(UINT nHitTest, CPoint point);
  void OnNcPaint();
  BOOL OnNcActivate(BOOL bActive);
  LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  void OnCustomize();
  LRESULT OnSetupCaption(WPARAM wParam, LPARAM lParam);
  LRESULT OnPopupClosed(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  int m_nLook = 0;
  CPtrList m_buttons;
  HWND m_hWndExpandPopup = nullptr;  // until the popup's closing note arrives
  CTkCaptionButton* m_pPressed = nullptr;
  CToolTipCtrl m_wndToolTip;
  HIMAGELIST m_hGlyphs = nullptr;
  BOOL m_bActive = FALSE;
};
