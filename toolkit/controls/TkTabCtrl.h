// CTkTabCtrl: a tab control whose tabs each own a window (a view made from a class, or any ready
// window). It paints its tabs flat when the toolkit's flat look is on, condenses long labels,
// keeps a tooltip per tab, offers a context menu, and cycles its tabs on Ctrl+Tab and F6.
#pragma once
#include "framework/controls/TabCtrl.h"
#include "toolkit/controls/TkTabViewHost.h"

// Private message: the deferred set-up, with the counter it was posted for.
#define WM_TK_TAB_INIT 0x0802

class CTkTabCtrl : public CTabCtrl, public CTkTabViewHost {
  DECLARE_DYNAMIC(CTkTabCtrl)
 public:
  CTkTabCtrl();

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  virtual BOOL EnableToolTipsForTabs(BOOL bEnable) { return ActivateToolTips(bEnable); }

  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  BOOL OnSelChangingReflect(NMHDR* pNMHDR, LRESULT* pResult);
  BOOL OnSelChangeReflect(NMHDR* pNMHDR, LRESULT* pResult);
  void OnWindowPosChanged(WINDOWPOS* pPos);
  void OnRButtonDown(UINT nFlags, CPoint point);
  void OnPaint();
  BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
  void OnSysColorChange();

 protected:
  void PreSubclassWindow() override;
  void ScheduleInit();
  LRESULT OnDeferredInit(WPARAM, LPARAM lParam);
  LRESULT OnInitialUpdate(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()
};
