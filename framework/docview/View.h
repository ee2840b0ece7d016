// CView: a window that shows a document in a frame. It joins its document when it is created
// (from the frame's create context) and leaves it when destroyed; the document's UpdateAllViews
// reaches it through OnUpdate. Commands reach the view first, then its document.
#pragma once
#include "framework/bars/BarStyles.h"
#include "framework/docview/CreateContext.h"
#include "framework/wnd/Wnd.h"

class CDocument;
class CFrameWnd;

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)
 public:
  CView() = default;
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }
  // The first update after the document is read: by default OnUpdate with no hint.
  virtual void OnInitialUpdate();
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
  virtual void OnDraw(CDC* pDC);
  // bActivate: this view becomes (TRUE) or stops being (FALSE) the frame's active view.
  virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  CFrameWnd* GetParentFrame() const;

 protected:
  void PostNcDestroy() override;
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnPaint();
  int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

  CDocument* m_pDocument = nullptr;
  friend class CDocument;
};
