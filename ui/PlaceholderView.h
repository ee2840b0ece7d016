// CPlaceholderView: the main window's single view until the search form and the two lists take
// its place. It shows which document is open.
#pragma once
#include "framework/docview/View.h"

class CPlaceholderView : public CView {
  DECLARE_DYNCREATE(CPlaceholderView)
 public:
  CPlaceholderView() = default;
  ~CPlaceholderView() override = default;

  void OnDraw(CDC* pDC) override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
};
