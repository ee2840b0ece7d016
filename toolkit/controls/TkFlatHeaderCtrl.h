// CTkFlatHeaderCtrl: a header painted flat that owner-draws its items with a sort arrow on the
// sort column and offers a context menu to sort by a column and set its alignment. The toolkit's
// list subclasses its own header window with one.
#pragma once
#include "toolkit/controls/TkHeaderCtrl.h"

// Private message: the header finishes its set-up once its parent is in place.
#define WM_TK_DEFERRED_INIT 0x0802

class CTkFlatHeaderCtrl : public CTkHeaderCtrl {
 public:
  // A menu of the caller's in place of the built-in sort menu.
  virtual void SetHeaderMenu(UINT nMenuID, int nSubMenu);
  virtual void SetBoldFont(BOOL bBold);
  virtual void SetBoldFontNoRedraw(BOOL bBold);
  // Makes the column the sort column with its direction; the column is owner-drawn from then on.
  virtual int SetSortImage(int nCol, BOOL bAscending);
  virtual void ShowSortArrow(BOOL bShow);
  virtual int HitTestItem(CPoint point) const;
  virtual void SetColumnAlign(int nFormat);
  virtual void DrawFlatBorders(CDC* pDC, const CRect& rcClient);
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);

  int GetSortColumn() const { return m_nSortCol; }
  int GetAscending() const { return m_nAscending; }
  BOOL IsSortArrowShown() const { return m_bShowArrow; }
  void EnableSortMenu(BOOL bEnable) { m_bSortMenu = bEnable; }
  // Runs the sort command as if chosen on the column from the context menu.
  void SortFromMenu(int nCol, BOOL bAscending);

  int OnCreate(LPCREATESTRUCT lpcs);
  void OnPaint();
  BOOL OnEraseBkgnd(CDC*) { return FALSE; }
  void OnLButtonDown(UINT nFlags, CPoint point);
  void OnLButtonUp(UINT nFlags, CPoint point);
  void OnWindowPosChanged(WINDOWPOS* pPos);
  void OnRButtonDown(UINT nFlags, CPoint point);

 protected:
  void PreSubclassWindow() override;
  LRESULT OnDeferredInit(WPARAM, LPARAM);
  void OnSortAscending();
  void OnSortDescending();
  void OnAlignLeft() { SetColumnAlign(LVCFMT_LEFT); }
  void OnAlignCenter() { SetColumnAlign(LVCFMT_CENTER); }
  void OnAlignRight() { SetColumnAlign(LVCFMT_RIGHT); }
  void NotifySort(int nCol);
  // The list this header belongs to, when its parent is one.
  HWND GetParentList() const;
  BOOL HasClickableHeader() const;
  void DrawArrow(CDC* pDC, const CRect& rcItem, BOOL bAscending) const;
  DECLARE_MESSAGE_MAP()

  CPoint m_ptLastRClick;
  UINT m_nMenuID = 0;
  int m_nSubMenu = 0;
  int m_nArrowSize = 6;
  int m_nSortCol = -1;
  BOOL m_bLButtonDown = FALSE;
  int m_nAscending = -1;
  BOOL m_bShowArrow = FALSE;
  BOOL m_bSortMenu = TRUE;
  BOOL m_bInitPending = TRUE;
};
