// CSearchForm: the top pane of the main window. Two fields: the address of the user's site and
// the current search term (the name of the document's current engine set). The fields follow
// the document's hints and write back what the user types; while a run is active they are
// disabled. Enter starts a check of all terms, Escape stops the run.
#pragma once
#include "framework/Gdi.h"
#include "framework/docview/FormView.h"
#include "toolkit/widgets/TkBrowseEdit.h"

class CZubrinDoc;

class CSearchForm : public CFormView {
  DECLARE_DYNCREATE(CSearchForm)
 public:
  CSearchForm();
  ~CSearchForm() override;

  CZubrinDoc* GetDocument() const;
  void OnInitialUpdate() override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  void OnDraw(CDC* pDC) override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;

  // The two fields' texts as the form last wrote or read them.
  CString m_strSiteUrl;
  CString m_strSearchTerm;

 protected:
  // ---- settings, layout and drawing (SearchForm.cpp) ----
  void ApplySettings();
  void LayoutFields();
  int LabelWidth();
  void GetRowRects(CRect& row1, CRect& row2);
  void ShowDocumentFields();
  void ShowCurrentTerm();
  void EnableFields(BOOL bEnable);
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnSize(UINT nType, int cx, int cy);
  BOOL OnEraseBkgnd(CDC* pDC);
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  LRESULT OnUpdateBroadcast(WPARAM wParam, LPARAM lParam);

  // ---- fields, edit and focus commands, keys (SearchFormCommands.cpp) ----
  void OnSiteChange();
  void OnTermChange();
  HWND FocusedField() const;
  void OnEditCopy();
  void OnEditCut();
  void OnEditPaste();
  void OnEditSelectAll();
  void OnUpdateEditCopyCut(CCmdUI* pCmdUI);
  void OnUpdateEditPaste(CCmdUI* pCmdUI);
  void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
  void OnNextPane();
  void OnPrevPane();
  void OnFocusTerm();
  void OnFocusSite();
  void FocusField(int nID);
  void ActivatePane(CView* pView);
  CView* TermView() const;
  CView* EngineView() const;
  bool IsKeywordIgnored(UINT ch) const;
  DECLARE_MESSAGE_MAP()

  COLORREF m_crViewBk = RGB(255, 255, 255);
  COLORREF m_crViewText = RGB(0, 0, 0);
  CBrush m_brViewBk;
  CFont m_fontNormal;
  CFont m_fontLabel;
  int m_nKeywordAlert = 1;
  CString m_strKeywordIgnore;
  CString m_strLabels[2];
  CTkBrowseEdit m_wndSearchTerm;  // the search-term field, with its drop-down button
  BOOL m_bUpdating = FALSE;  // the form writes the fields: their change notices are its own
  BOOL m_bRunActive = FALSE;
  // Banner (a later addition): its rectangle, click address, picture, timers and active flag
  // belong here; while it shows a picture the fields are hidden.
};
