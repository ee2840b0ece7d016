// CMiniFrameWnd: a small tool-window frame. CMiniDockFrameWnd: the one a floating control bar
// lives in, through a floating dock bar that fills it; closing it hides the bar.
#pragma once
#include "framework/docking/DockBar.h"
#include "framework/frame/FrameWnd.h"

class CMiniFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMiniFrameWnd)
 public:
  BOOL CreateMini(LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd);
};

class CMiniDockFrameWnd : public CMiniFrameWnd {
  DECLARE_DYNCREATE(CMiniDockFrameWnd)
 public:
  CMiniDockFrameWnd();
  virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
  // Fits the frame around its bars.
  void RecalcLayout(BOOL bNotify = TRUE) override;

  CDockBar m_wndDockBar;

 protected:
  void OnClose();
  DECLARE_MESSAGE_MAP()
};
