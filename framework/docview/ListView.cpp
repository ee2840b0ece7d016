#include "framework/docview/ListView.h"

IMPLEMENT_DYNCREATE(CListView, CView)

BEGIN_MESSAGE_MAP(CListView, CView)
  ON_WM_PAINT()
END_MESSAGE_MAP()

// A list control wrapper holds nothing but the window handle of CWnd, so the view (a CWnd with
// the same handle first in its layout) can be used through it without a second handle-map entry.
static_assert(sizeof(CListCtrl) == sizeof(CWnd), "CListCtrl must add no data to CWnd");

CListCtrl& CListView::GetListCtrl() const {
  return *reinterpret_cast<CListCtrl*>(const_cast<CListView*>(this));
}

BOOL CListView::PreCreateWindow(CREATESTRUCTA& cs) {
  cs.lpszClass = WC_LISTVIEWA;
  return CView::PreCreateWindow(cs);
}
