// CListView: a view that is itself a common-controls list view ("SysListView32") filling its
// pane. The control paints itself; its notifications come back to the view by reflection from
// the parent (ON_NOTIFY_REFLECT, ON_WM_DRAWITEM_REFLECT), so a derived view handles its own
// clicks, column clicks, key presses and owner drawing.
#pragma once
#include "framework/controls/ListCtrl.h"
#include "framework/docview/View.h"

class CListView : public CView {
  DECLARE_DYNCREATE(CListView)
 public:
  // The view's own window seen as the list control it is.
  CListCtrl& GetListCtrl() const;
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  void OnDraw(CDC*) override {}

 protected:
  // The control paints itself; the view's painting through OnDraw would erase its rows.
  void OnPaint() { Default(); }
  DECLARE_MESSAGE_MAP()
};
