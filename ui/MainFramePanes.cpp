// CMainFrame: the three panes, the search-term pane shown or hidden, commands forwarded to the
// panes and the focus commands.
#include "ui/MainFrame.h"

#include "app/document/ZubrinDoc.h"
#include "framework/docview/CreateContext.h"
#include "framework/docview/View.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/Panes.h"

namespace {

const int kFormHeight = 72;
const int kFormWidth = 200;
const int kTermPaneWidth = 175;

// The search form's edits: the site address and the search term.
const int kSiteEditId = 7003;
const int kTermEditId = 7004;

// Commands the search-term view carries out, whichever pane is active; those whose enabling
// it decides itself (they depend on its selection or the clipboard).
const UINT kTermCommands[] = {ID_TERM_ADD,    ID_TERM_EXPORT,  ID_TERM_PASTE,     ID_TERM_IMPORT,
                              ID_TERM_IMPORT_PAGE, ID_TERM_EDIT, ID_TERM_DELETE,  ID_TERM_MOVE_UP,
                              ID_TERM_MOVE_DOWN,   ID_TERM_CLEAR};
const UINT kTermViewUi[] = {ID_TERM_PASTE, ID_TERM_DELETE, ID_TERM_MOVE_UP, ID_TERM_MOVE_DOWN,
                            ID_TERM_CLEAR};
bool IsTermCommand(UINT id) {
  for (UINT term : kTermCommands)
    if (term == id) return true;
  return false;
}
bool TermViewDecidesUi(UINT id) {
  for (UINT term : kTermViewUi)
    if (term == id) return true;
  return false;
}
// Engine commands work whichever pane is active: the engine view carries them out.
const UINT kEngineCommands[] = {ID_ENGINE_HOMEPAGE, ID_ENGINE_ADDPAGE, ID_ENGINE_ALL,
                                ID_ENGINE_NONE, ID_ENGINE_OPTIONS};
bool IsEngineCommand(UINT id) {
  for (UINT engine : kEngineCommands)
    if (engine == id) return true;
  return false;
}

}  // namespace

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (!m_wndSplitter.CreateStatic(this, 2, 1, WS_CHILD | WS_VISIBLE, ID_MAINFRAME_SPLITTER))
    return FALSE;
  if (!m_wndSplitter.CreateView(0, 0, SearchFormClass(), CSize(kFormWidth, kFormHeight), pContext))
    return FALSE;
  if (!m_wndSplitter2.CreateStatic(&m_wndSplitter, 1, 2, WS_CHILD | WS_VISIBLE,
                                   m_wndSplitter.IdFromRowCol(1, 0)))
    return FALSE;
  if (!m_wndSplitter2.CreateView(0, 0, SearchTermViewClass(), CSize(kTermPaneWidth, 0), pContext) ||
      !m_wndSplitter2.CreateView(0, 1, EngineViewClass(), CSize(0, 0), pContext))
    return FALSE;
  m_wndSplitter2.RecalcLayout();
  m_wndSplitter.RecalcLayout();
  // The form keeps its height: the user cannot drag the bar below it.
  m_wndSplitter.SetSplitterStyle(TKSPLIT_NOFULLDRAG | TKSPLIT_NOSIZING);
  m_bTermPaneShown = TRUE;
  // The engine list is where the user starts; the frame routes commands through it.
  CWnd* engines = m_wndSplitter2.GetPane(0, 1);
  if (engines && engines->IsKindOf(RUNTIME_CLASS(CView)))
    SetActiveView(static_cast<CView*>(engines), FALSE);
  return TRUE;
}

CWnd* CMainFrame::GetSearchFormPane() const {
  return m_wndSplitter.m_hWnd ? m_wndSplitter.GetPane(0, 0) : nullptr;
}

CWnd* CMainFrame::GetSearchTermPane() const {
  if (!m_wndSplitter2.m_hWnd) return nullptr;
  return m_bTermPaneShown ? m_wndSplitter2.GetPane(0, 0) : m_wndSplitter2.GetHiddenPane(0);
}

CWnd* CMainFrame::GetEngineViewPane() const {
  if (!m_wndSplitter2.m_hWnd) return nullptr;
  return m_wndSplitter2.GetPane(0, m_bTermPaneShown ? 1 : 0);
}

void CMainFrame::OnViewSearchTerms() {
  if (m_bTermPaneShown)
    m_wndSplitter2.HideColumn(0);
  else
    m_wndSplitter2.ShowColumn();
  m_bTermPaneShown = !m_bTermPaneShown;
}

void CMainFrame::OnUpdateViewSearchTerms(CCmdUI* pCmdUI) {
  pCmdUI->Enable(TRUE);
  pCmdUI->SetCheck(m_bTermPaneShown ? 1 : 0);
  pCmdUI->SetText(m_bTermPaneShown ? m_strHideTerms : m_strShowTerms);
}

void CMainFrame::OnUpdateTermCommand(CCmdUI* pCmdUI) {
  CZubrinDoc* doc = GetZubrinDoc();
  bool running = doc && ::InterlockedCompareExchange(&doc->m_running, 0, 0) != 0;
  pCmdUI->Enable(!running && CZubrinDoc::s_busy == 0);
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  BOOL handled = FALSE;
  if (RouteToPane(nID, nCode, pExtra, pHandlerInfo, &handled)) return handled;
  return CTkFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// Term commands make the (possibly hidden) search-term view active, then it runs them; engine
// commands go to the engine view. The update of each goes to the same view.
BOOL CMainFrame::RouteToPane(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo,
                             BOOL* pHandled) {
  bool term = IsTermCommand(nID);
  if (!term && !IsEngineCommand(nID)) return FALSE;
  if (nCode != CN_COMMAND && nCode != CN_UPDATE_COMMAND_UI) return FALSE;
  CWnd* pane = term ? GetSearchTermPane() : GetEngineViewPane();
  if (nCode == CN_UPDATE_COMMAND_UI) {
    if (term && !TermViewDecidesUi(nID)) {
      if (!pHandlerInfo) OnUpdateTermCommand(static_cast<CCmdUI*>(pExtra));
      *pHandled = TRUE;
      return TRUE;
    }
    *pHandled = pane ? pane->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) : FALSE;
    return TRUE;
  }
  if (pHandlerInfo) {
    *pHandled = pane ? pane->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) : FALSE;
    return TRUE;
  }
  if (pane) {
    if (term && pane->IsKindOf(RUNTIME_CLASS(CView))) SetActiveView(static_cast<CView*>(pane));
    pane->SendMessage(WM_COMMAND, nID);
  }
  *pHandled = TRUE;
  return TRUE;
}

void CMainFrame::OnFocusSearchTerm() {
  CWnd* form = GetSearchFormPane();
  if (!form) return;
  if (form->IsKindOf(RUNTIME_CLASS(CView))) SetActiveView(static_cast<CView*>(form));
  HWND edit = ::GetDlgItem(form->m_hWnd, kTermEditId);
  if (edit) ::SetFocus(edit);
}

void CMainFrame::OnFocusSite() {
  CWnd* form = GetSearchFormPane();
  if (!form) return;
  if (form->IsKindOf(RUNTIME_CLASS(CView))) SetActiveView(static_cast<CView*>(form));
  HWND edit = ::GetDlgItem(form->m_hWnd, kSiteEditId);
  if (edit) ::SetFocus(edit);
}
