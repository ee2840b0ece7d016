// CTkTabCtrlBar: a docking window whose client is one tab control with a window on each tab, so
// that a docked or floating bar carries several views the user switches with the tabs at its
// bottom. The bar tells its owner of the control's selection changes under its own id, keeps the
// control's clipping in step with docking, and hands the frame's active view back when the view
// inside the bar must give it up. The rest is the tab control's, forwarded.
#pragma once
#include "toolkit/controls/TkTabCtrl.h"
#include "toolkit/docking/window/TkDockWindow.h"

// The tab control's id inside the bar.
#define ID_TK_TABCTRLBAR_TABS 0x3020

class CTkTabCtrlBar : public CTkDockWindow {
  DECLARE_DYNAMIC(CTkTabCtrlBar)
 protected:
  // The tab control, with the view it hands the frame back.
  class CBarTabCtrl : public CTkTabCtrl {
   public:
    CView* GetPrevActiveView() const { return m_pPrevActiveView; }
  };

 public:
  CTkTabCtrlBar();
  ~CTkTabCtrlBar() override;

  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

  virtual CTkTabCtrl* GetTabCtrl() const { return const_cast<CBarTabCtrl*>(&m_wndTabCtrl); }
  virtual HIMAGELIST SetTabImageList(CImageList* pImageList);
  virtual void SetTabPopupMenu(UINT nMenuID, int nSubMenu = 0);
  virtual UINT GetTabPopupMenu() const;
  virtual void GetChildRect(CRect& rect) const;
  virtual void ResizeTabWnd(CWnd* pWnd);
  virtual void ApplyTabFont();
  virtual BOOL ModifyTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  virtual CWnd* GetToolTips() const;
  virtual void SetToolTips(CWnd* pToolTip);
  virtual void AddToolTip(UINT nID, LPCSTR lpszText);
  virtual void SetTabToolTip(int nIndex, LPCSTR lpszText);
  virtual void SetTabToolTip(CRuntimeClass* pClass, LPCSTR lpszText);
  virtual void ResetToolTips();
  virtual BOOL ActivateToolTips(BOOL bActivate);
  virtual BOOL AddView(LPCSTR lpszLabel, CRuntimeClass* pViewClass, CDocument* pDoc = nullptr,
                       CCreateContext* pContext = nullptr, int nIndex = -1);
  virtual BOOL AddView(LPCSTR lpszLabel, CWnd* pWnd, int nIndex = -1, int nImage = -1);
  virtual BOOL AddControl(LPCSTR lpszLabel, CWnd* pWnd, int nIndex = -1);
  virtual CWnd* GetTabWnd(CRuntimeClass* pClass) const;
  virtual CWnd* GetTabWnd(int nIndex) const;
  virtual CWnd* GetActiveTabWnd() const;
  virtual void SetActiveTab(CRuntimeClass* pClass);
  virtual void SetActiveTab(CWnd* pWnd);
  virtual void SetActiveTab(int nIndex);
  virtual void DeleteTab(int nIndex, BOOL bDestroy = TRUE);
  virtual void DeleteTab(CWnd* pWnd, BOOL bDestroy = TRUE);
  virtual void DeleteTab(CRuntimeClass* pClass, BOOL bDestroy = TRUE);
  virtual LPCSTR GetTabLabel(int nIndex) const;
  virtual LPCSTR GetTabLabel(CRuntimeClass* pClass) const;
  virtual BOOL DeleteAllTabs();
  virtual int HitTestTab(CPoint point) const;
  virtual BOOL IsTabWnd(CWnd* pWnd) const;
  // Tell the bar's owner, with the bar's own id, that the selection changed or is changing.
  virtual LRESULT OnTabSelChange(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnTabSelChanging(WPARAM wParam, LPARAM lParam);

 protected:
  BOOL IsTabBar() const override { return TRUE; }
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  LRESULT OnTabSelChangeMsg(WPARAM wParam, LPARAM lParam) { OnTabSelChange(wParam, lParam); return 0; }
  LRESULT OnTabSelChangingMsg(WPARAM wParam, LPARAM lParam) { OnTabSelChanging(wParam, lParam); return 0; }
  DECLARE_MESSAGE_MAP()

  CBarTabCtrl m_wndTabCtrl;
};
