// CTkTabViewHost: the tabs of a tab control and the window each one owns. Selecting a tab hides
// the others' windows and shows, enables, focuses and sizes its own; when the windows are views
// in a frame, the frame's active view follows the selected tab and is handed back when a view
// goes away.
#pragma once
#include "framework/collections/PtrList.h"
#include "framework/docview/CreateContext.h"
#include "toolkit/controls/TkFlatTabPainter.h"

class CDocument;
class CFrameWnd;
class CView;

// Private messages of the tab control to its owner, with the control's id and the control.
#define WM_TK_TAB_SELCHANGED 0x07FC
#define WM_TK_TAB_SELCHANGING 0x07FD

struct CTkTabItem {
  CWnd* m_pWnd = nullptr;
  CString m_strLabel;
  CString m_strToolTip;
  CString m_strFullLabel;
  UINT m_nToolID = 0;
};

class CTkTabViewHost : public CTkFlatTabPainter {
 public:
  CTkTabViewHost();
  ~CTkTabViewHost() override;

  virtual CWnd* GetToolTips() const;
  virtual void SetToolTips(CWnd* pToolTip);
  virtual void AddToolTip(UINT nID, LPCSTR lpszText);
  virtual void SetTabToolTip(CRuntimeClass* pClass, LPCSTR lpszText);
  virtual void SetTabToolTip(int nIndex, LPCSTR lpszText);
  virtual void ResetToolTips();
  virtual BOOL ActivateToolTips(BOOL bActivate);
  virtual BOOL AddView(LPCSTR lpszLabel, CWnd* pWnd, int nIndex = -1, int nImage = -1);
  virtual BOOL AddView(LPCSTR lpszLabel, CRuntimeClass* pViewClass, CDocument* pDoc = nullptr,
                       CCreateContext* pContext = nullptr, int nIndex = -1, int nImage = -1);
  virtual BOOL AddControl(LPCSTR lpszLabel, CWnd* pWnd, int nIndex = -1, int nImage = -1);
  virtual CWnd* GetTabWnd(int nIndex) const;
  virtual CWnd* GetTabWnd(CRuntimeClass* pClass) const;
  virtual CWnd* GetActiveTabWnd() const;
  virtual void ShowTabWnd(CWnd* pWnd);
  virtual void SetActiveTab(int nIndex);
  virtual void SetActiveTab(CWnd* pWnd);
  virtual void SetActiveTab(CRuntimeClass* pClass);
  virtual void DeleteTab(CRuntimeClass* pClass, BOOL bDestroy = TRUE);
  virtual void DeleteTab(CWnd* pWnd, BOOL bDestroy = TRUE);
  virtual void DeleteTab(int nIndex, BOOL bDestroy = TRUE);
  virtual LPCSTR GetTabLabel(CRuntimeClass* pClass) const;
  virtual LPCSTR GetTabLabel(int nIndex) const;
  virtual void ResizeTabWnd(CWnd* pWnd);
  virtual void RemoveTabItem(POSITION pos, BOOL bDestroy);
  virtual BOOL DeleteAllTabs();
  virtual int HitTestTab(CPoint point) const;
  virtual BOOL IsTabWnd(CWnd* pWnd) const;
  virtual BOOL ModifyTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  virtual void SetTabPopupMenu(UINT nMenuID, int nSubMenu = 0);
  virtual UINT GetTabPopupMenu() const { return m_nPopupMenuID; }
  virtual void SetSendInitialUpdate(BOOL bSend) { m_bSendInitialUpdate = bSend; }
  virtual void OnSelChanging();
  virtual void OnSelChange();
  virtual CWnd* CreateTabView(CRuntimeClass* pViewClass, CDocument* pDoc,
                              CCreateContext* pContext);

  CWnd* NextTab();
  CWnd* PreviousTab();
  void SetCondenseLabels(BOOL bCondense);
  BOOL IsCondenseLabels() const { return m_bCondense; }
  void CondenseLabels();
  int GetTabCount() const { return static_cast<int>(m_tabs.GetCount()); }

 protected:
  CTkTabItem* ItemAt(int nIndex) const;
  int IndexOf(CWnd* pWnd) const;
  int IndexOf(CRuntimeClass* pClass) const;
  // A hosted view that is the frame's active view gives the place back to the view that was
  // active before it, or to none when that one is gone.
  void ReleaseActiveView(CWnd* pWnd);
  CFrameWnd* GetFrame() const { return m_pParentFrame; }
  void Initialise();
  CWnd* Owner() const;

  CView* m_pPrevActiveView = nullptr;
  CWnd* m_pOwnerWnd = nullptr;
  CFrameWnd* m_pParentFrame = nullptr;
  int m_nPopupSubMenu = 0;
  UINT m_nPopupMenuID = 0;
  BOOL m_bSendInitialUpdate = FALSE;
  BOOL m_bCondense = FALSE;
  CPtrList m_tabs;
  int m_nInitCounter = 1;
  BOOL m_bInitPending = FALSE;
  int m_nPrevSel = -1;
};
