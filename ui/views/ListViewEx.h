// CListViewEx: the owner-drawn report list that both list panes of the main window derive from.
// It draws every row itself across all columns in colours chosen by a row state (the row's item
// data, 0-5), draws the check boxes and icons, sends check-box clicks and the space bar through
// OnCheckChanged so that the derived view decides what a check means, keeps the column widths as
// one settings value, and holds the handlers the list panes share (keys, update broadcast, pane
// switching).
#pragma once
#include "app/run/RunCommands.h"
#include "framework/docview/ListView.h"
#include "resources/resource.h"

// Row states kept in the item data. A value above kRowHighlight is no row state (the sorter has
// put its own record there) and counts as normal or disabled by the row's check box.
enum ListRowState : int {
  kRowNormal = 0,
  kRowDisabled = 1,
  kRowMovedUp = 2,
  kRowMovedDown = 3,
  kRowFirst = 4,
  kRowHighlight = 5,
};

class CListViewEx : public CListView {
  DECLARE_DYNCREATE(CListViewEx)
 public:
  CListViewEx() = default;
  ~CListViewEx() override = default;

  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

  // ---- the operations a derived view overrides, in this order ----
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual COLORREF GetRowTextColor(int rowState);
  virtual COLORREF GetRowBkColor(int rowState);
  // A click on a row's check box or the space bar asks for the box to become `checked`.
  virtual void OnCheckChanged(int item, BOOL checked, BOOL fromKeyboard);

  // True while the document's run is going: check boxes cannot be changed then.
  virtual bool IsRunActive() const;

  // ---- row helpers the derived views share ----
  int GetRowState(int item) const;
  BOOL GetCheck(int item) const;
  void SetCheck(int item, BOOL checked);
  // Repaints one row only; during a run whole-list repaints would make the list flicker and lag.
  void InvalidateRow(int item);
  // Deselects every row, then selects and focuses the given one.
  void SelectRow(int item);
  int GetColumnCount() const;
  void SaveColumnWidths();
  void RestoreColumnWidths();
  // Text colour, text background and background of the list control itself.
  void SetListColors(COLORREF text, COLORREF background);

 protected:
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnLButtonDown(UINT nFlags, CPoint point);
  void OnLButtonDblClk(UINT nFlags, CPoint point);
  void OnRButtonDown(UINT nFlags, CPoint point);
  void OnRButtonDblClk(UINT nFlags, CPoint point);
  void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  void OnListKeyDown(NMHDR* pNMHDR, LRESULT* pResult);
  void OnSetFocus(CWnd* pOldWnd);
  void OnKillFocus(CWnd* pNewWnd);
  void OnPaint();
  LRESULT OnUpdateBroadcast(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  // The item whose check box lies under the point, or -1.
  int CheckBoxHit(CPoint point) const;
  int ItemAt(CPoint point) const;
  void RedrawSelectedRows();
};
