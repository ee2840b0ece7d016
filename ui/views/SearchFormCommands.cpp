// The search form's message map: what the user types into the fields, the edit commands, the
// pane and focus commands, and the keys the form takes before its fields see them.
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/sets/EngineSet.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/CmdUI.h"
#include "resources/resource.h"
#include "ui/Panes.h"
#include "ui/views/SearchForm.h"
#include "ui/views/SearchFormBanner.h"
#include "ui/views/SearchFormHints.h"
#include "ui/views/SearchTermView.h"

BEGIN_MESSAGE_MAP(CSearchForm, CFormView)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_CTLCOLOR()
  ON_EN_CHANGE(IDC_FORM_SITE_URL, OnSiteChange)
  ON_EN_CHANGE(IDC_FORM_SEARCH_TERM, OnTermChange)
  ON_EN_MAXTEXT(IDC_FORM_SITE_URL, OnSiteFull)
  ON_EN_MAXTEXT(IDC_FORM_SEARCH_TERM, OnTermFull)
  ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
  ON_COMMAND(ID_EDIT_CUT, OnEditCut)
  ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
  ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
  ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopyCut)
  ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCopyCut)
  ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
  ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateEditSelectAll)
  ON_COMMAND(ID_NEXT_PANE_CMD, OnNextPane)
  ON_COMMAND(ID_PREV_PANE_CMD, OnPrevPane)
  ON_COMMAND(ID_FOCUS_SEARCHTERM, OnFocusTerm)
  ON_COMMAND(ID_FOCUS_SITE, OnFocusSite)
  ON_MESSAGE(WM_ZB_UPDATE, OnUpdateBroadcast)
  ON_WM_TIMER()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_MESSAGE(WM_ZB_BANNER_RETRY, OnBannerRetry)
END_MESSAGE_MAP()

// ---- the fields ----

void CSearchForm::OnSiteChange() {
  CZubrinDoc* doc = GetDocument();
  if (m_bUpdating || !doc) return;
  GetDlgItemText(IDC_FORM_SITE_URL, m_strSiteUrl);
  doc->m_siteUrl = m_strSiteUrl;
  doc->SetModifiedFlag(TRUE);
}

void CSearchForm::OnTermChange() {
  CZubrinDoc* doc = GetDocument();
  if (m_bUpdating || !doc || !doc->m_currentSet) return;
  GetDlgItemText(IDC_FORM_SEARCH_TERM, m_strSearchTerm);
  doc->m_currentSet->m_name = m_strSearchTerm;
  doc->SetModifiedFlag(TRUE);
  BroadcastUpdate(HINT_TERM_RENAMED, reinterpret_cast<LPARAM>(static_cast<CObject*>(this)));
}

// A field took no more than its most characters: the user learns why the rest is missing.
void CSearchForm::OnSiteFull() {
  if (CZubrinDoc* doc = GetDocument())
    doc->TellLimit(IDS_SITE_TOO_LONG, CZubrinDoc::kMaxSiteUrlLength);
}

void CSearchForm::OnTermFull() {
  if (CZubrinDoc* doc = GetDocument())
    doc->TellLimit(IDS_TERM_TOO_LONG, CZubrinDoc::kMaxSearchTermLength);
}

// ---- edit commands: they work on whichever field has the focus ----

HWND CSearchForm::FocusedField() const {
  HWND focus = ::GetFocus();
  if (!focus) return nullptr;
  if (focus == ::GetDlgItem(m_hWnd, IDC_FORM_SITE_URL)) return focus;
  if (focus == ::GetDlgItem(m_hWnd, IDC_FORM_SEARCH_TERM)) return focus;
  return nullptr;
}

void CSearchForm::OnEditCopy() {
  if (HWND field = FocusedField()) ::SendMessageA(field, WM_COPY, 0, 0);
}

void CSearchForm::OnEditCut() {
  if (HWND field = FocusedField()) ::SendMessageA(field, WM_CUT, 0, 0);
}

void CSearchForm::OnEditPaste() {
  if (HWND field = FocusedField()) ::SendMessageA(field, WM_PASTE, 0, 0);
}

void CSearchForm::OnEditSelectAll() {
  if (HWND field = FocusedField()) {
    ::SendMessageA(field, EM_SETSEL, 0, -1);
    ::SendMessageA(field, EM_SCROLLCARET, 0, 0);
  }
}

void CSearchForm::OnUpdateEditCopyCut(CCmdUI* pCmdUI) {
  DWORD start = 0, end = 0;
  HWND field = FocusedField();
  if (field)
    ::SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  pCmdUI->Enable(field && start != end);
}

void CSearchForm::OnUpdateEditPaste(CCmdUI* pCmdUI) {
  pCmdUI->Enable(FocusedField() && ::IsClipboardFormatAvailable(CF_TEXT));
}

void CSearchForm::OnUpdateEditSelectAll(CCmdUI* pCmdUI) {
  HWND field = FocusedField();
  int line = field ? static_cast<int>(::SendMessageA(field, EM_LINEINDEX, static_cast<WPARAM>(-1), 0)) : 0;
  pCmdUI->Enable(field && ::SendMessageA(field, EM_LINELENGTH, line, 0) > 0);
}

// ---- panes and focus ----

CView* CSearchForm::TermView() const { return g_pSearchTermView; }

CView* CSearchForm::EngineView() const {
  CWnd* wnd = CWnd::FromHandlePermanent(g_hEngineViewWnd);
  return wnd && wnd->IsKindOf(RUNTIME_CLASS(CView)) ? static_cast<CView*>(wnd) : nullptr;
}

void CSearchForm::ActivatePane(CView* pView) {
  if (!pView || !pView->m_hWnd) return;
  if (CFrameWnd* frame = GetParentFrame()) frame->SetActiveView(pView);
  ::SetFocus(pView->m_hWnd);
}

void CSearchForm::OnNextPane() {
  if (::GetFocus() == ::GetDlgItem(m_hWnd, IDC_FORM_SEARCH_TERM)) {
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_FORM_SITE_URL));
    return;
  }
  // A hidden term list cannot take the focus; the engine list stands in for it.
  CView* term = TermView();
  ActivatePane(term && term->m_hWnd && ::IsWindowVisible(term->m_hWnd) ? term : EngineView());
}

void CSearchForm::OnPrevPane() {
  if (::GetFocus() == ::GetDlgItem(m_hWnd, IDC_FORM_SITE_URL)) {
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_FORM_SEARCH_TERM));
    return;
  }
  CView* term = TermView();
  ActivatePane(term && term->m_hWnd && ::IsWindowVisible(term->m_hWnd) ? term : EngineView());
}

void CSearchForm::FocusField(int nID) {
  if (CFrameWnd* frame = GetParentFrame()) frame->SetActiveView(this);
  if (HWND field = ::GetDlgItem(m_hWnd, nID)) ::SetFocus(field);
}

void CSearchForm::OnFocusTerm() { FocusField(IDC_FORM_SEARCH_TERM); }

void CSearchForm::OnFocusSite() { FocusField(IDC_FORM_SITE_URL); }

void CSearchForm::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  CFormView::OnActivateView(bActivate, pActivateView, pDeactiveView);
  if (bActivate && pActivateView == this) {
    if (HWND site = ::GetDlgItem(m_hWnd, IDC_FORM_SITE_URL)) ::SetFocus(site);
    if (m_pBanner) {
      m_nBannerFrame = 0;
      SetTimer(kAnimationTimer, 10, nullptr);
    }
  }
}

// ---- keys ----

bool CSearchForm::IsKeywordIgnored(UINT ch) const {
  return ch != 0 && ch < 256 && m_strKeywordIgnore.Find(static_cast<char>(ch)) >= 0;
}

BOOL CSearchForm::PreTranslateMessage(MSG* pMsg) {
  const bool ours = pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd);
  if (ours && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
    PostMessage(WM_COMMAND, ID_RUN_CHECK_ALL);
    ActivatePane(EngineView());
    return TRUE;
  }
  if (ours && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
    PostMessage(WM_COMMAND, ID_RUN_STOP);
    return TRUE;
  }
  if (pMsg->message == WM_CHAR && pMsg->hwnd == ::GetDlgItem(m_hWnd, IDC_FORM_SEARCH_TERM) &&
      m_nKeywordAlert && IsKeywordIgnored(static_cast<UINT>(pMsg->wParam))) {
    ::MessageBeep(MB_OK);
    return TRUE;
  }
  return CFormView::PreTranslateMessage(pMsg);
}
