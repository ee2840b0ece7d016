// CFormView: a view whose window is a child dialog made from a template of the resource module.
// Its controls come from the template; values move between them and members through
// DoDataExchange (UpdateData), first in OnInitialUpdate. Tab and the dialog keys work between
// the controls as in a dialog, and the control that had the focus gets it back when the view is
// activated again.
#pragma once
#include "framework/docview/View.h"

class CFormView : public CView {
  DECLARE_DYNAMIC(CFormView)
 public:
  explicit CFormView(UINT nIDTemplate);
  explicit CFormView(LPCSTR lpszTemplateName);
  ~CFormView() override = default;

  // The splitter's and the frame's way of making a view: the class and title are ignored, the
  // template gives the window; the style's WS_BORDER and the id, rectangle and parent are kept.
  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
              CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr) override;
  // Called once the template's controls exist (WM_INITDIALOG); TRUE lets the dialog manager
  // put the focus on the first control.
  virtual BOOL OnInitDialog();
  void OnInitialUpdate() override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  LPCSTR m_lpszTemplateName;

 protected:
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnSetFocus(CWnd* pOldWnd);
  LRESULT HandleInitDialog(WPARAM, LPARAM);
  // The control that had the focus last (kept while the view is not active).
  void SaveFocusControl();
  DECLARE_MESSAGE_MAP()

  CCreateContext* m_pCreateContext = nullptr;  // only while the window is being made
  HWND m_hWndFocus = nullptr;
};
