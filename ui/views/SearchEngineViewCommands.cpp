// The engine list's commands: selection, check boxes, templates, select-by, sorting, the web
// pages of an engine, the reports of a double click, the context menu and the pane keys.
#include <atomic>

#include "app/services/AppPaths.h"
#include "app/services/AppServices.h"
#include "app/document/EngineCache.h"
#include "app/settings/SelectionTemplates.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/db/EnginePrototypes.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "foundation/os/UrlLink.h"
#include "framework/frame/FrameWnd.h"
#include "framework/gdi/Menu.h"
#include "framework/gdi/WaitCursor.h"
#include "framework/wnd/CmdUI.h"
#include "framework/wnd/WindowDc.h"
#include "resources/resource.h"
#include "ui/MainFrame.h"
#include "ui/Panes.h"
#include "ui/dialogs/SelectBy.h"
#include "ui/sheets/options/SearchPropertySheet.h"
#include "ui/views/SearchEngineView.h"
#include "ui/views/SearchForm.h"
#include "ui/views/SearchTermView.h"
#include "ui/views/SortClass.h"
#include "ui/views/ViewShared.h"

BEGIN_MESSAGE_MAP(CSearchEngineView, CListViewEx)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_NCDESTROY()
  ON_WM_SIZE()
  ON_WM_CONTEXTMENU()
  ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClick)
  ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
  ON_MESSAGE(WM_ZB_UPDATE, OnEngineBroadcast)
  ON_COMMAND(ID_ENGINE_SELECT_ALL, OnSelectAll)
  ON_UPDATE_COMMAND_UI(ID_ENGINE_SELECT_ALL, OnUpdateSelectAll)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_SELECTED, OnUpdateSelectedPane)
  ON_COMMAND(ID_PREV_PANE_CMD, OnPrevPane)
  ON_COMMAND(ID_NEXT_PANE_CMD, OnNextPane)
  ON_COMMAND(ID_ENGINE_HOMEPAGE, OnOpenHomePage)
  ON_UPDATE_COMMAND_UI(ID_ENGINE_HOMEPAGE, OnUpdateOpenHomePage)
  ON_COMMAND(ID_ENGINE_ADDPAGE, OnOpenAddPage)
  ON_UPDATE_COMMAND_UI(ID_ENGINE_ADDPAGE, OnUpdateOpenAddPage)
  ON_COMMAND(ID_VIEW_RESULTS, OnResultsReport)
  ON_UPDATE_COMMAND_UI(ID_VIEW_RESULTS, OnUpdateResultsReport)
  ON_COMMAND(ID_ENGINE_ALL, OnCheckAllEngines)
  ON_COMMAND(ID_ENGINE_NONE, OnCheckNoEngines)
  ON_COMMAND(ID_ENGINE_SELECT_BY, OnSelectBy)
  ON_UPDATE_COMMAND_UI(ID_ENGINE_SELECT_BY, OnUpdateSelectAll)
  ON_COMMAND(ID_ENGINE_OPTIONS, OnEngineOptions)
END_MESSAGE_MAP()

namespace {

std::atomic<CSearchEngineView::UrlOpenFn> g_openUrl{nullptr};

BOOL OpenUrl(LPCSTR url) {
  CSearchEngineView::UrlOpenFn open = g_openUrl.load();
  return open ? open(url) : CUrlLink::Open(url);
}

CString Formatted(UINT formatId, const char* text) {
  CString result;
  result.Format(LoadResString(formatId), text);
  return result;
}

}  // namespace

void CSearchEngineView::SetUrlOpenFunction(UrlOpenFn open) { g_openUrl = open; }

// ---- selection ----

int CSearchEngineView::FirstSelectedRow() const {
  return GetListCtrl().GetNextItem(-1, LVNI_SELECTED);
}

CSearchEngine* CSearchEngineView::GetSelectedEngine() const {
  const CListCtrl& list = GetListCtrl();
  for (int row = 0, count = list.GetItemCount(); row < count; ++row)
    if (list.GetItemState(row, LVIS_SELECTED | LVIS_FOCUSED)) return GetRowEngine(row);
  return nullptr;
}

void CSearchEngineView::OnSelectAll() {
  CWaitCursor wait;
  CListCtrl& list = GetListCtrl();
  SetRedraw(FALSE);
  for (int row = 0, count = list.GetItemCount(); row < count; ++row)
    list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  SetRedraw(TRUE);
  Invalidate();
}

void CSearchEngineView::OnUpdateSelectAll(CCmdUI* pCmdUI) { pCmdUI->Enable(!IsRunActive()); }

void CSearchEngineView::OnUpdateSelectedPane(CCmdUI* pCmdUI) {
  CString text;
  text.Format(LoadResString(ID_INDICATOR_SELECTED), static_cast<int>(GetListCtrl().GetSelectedCount()));
  pCmdUI->SetText(text);
  CMainFrame::SetPaneText(ID_INDICATOR_SELECTED);
}

// ---- check boxes ----

void CSearchEngineView::SetEngineChecked(int row, BOOL flag, BOOL leaveBox) {
  CZubrinDoc* doc = GetDocument();
  CSearchEngine* engine = GetRowEngine(row);
  if (!doc || !engine) return;
  const CLibString name = engine->GetName();
  SetEngineEnabled(doc->m_database, name, flag ? 1 : 0);
  doc->SetEngineEnabledInAllSets(name, flag ? 1 : 0);
  UpdateRow(row, *engine);
  // An engine that has not been asked yet has nothing to tell.
  if (engine->m_maxResults == 0) SetCell(row, kColStatus, CString());
  if (!leaveBox) SetCheck(row, flag);
  doc->SetModifiedFlag(TRUE);
}

void CSearchEngineView::OnCheckChanged(int item, BOOL checked, BOOL fromKeyboard) {
  // Neither a click nor the space bar changes an engine while a run reads the flags.
  if (IsRunActive()) return;
  CZubrinDoc* doc = GetDocument();
  CListCtrl& list = GetListCtrl();
  const bool selected = list.GetItemState(item, LVIS_SELECTED) != 0;
  if ((selected || fromKeyboard) && list.GetSelectedCount() > 1) {
    CWaitCursor wait;
    SetRedraw(FALSE);
    for (int row = list.GetNextItem(-1, LVNI_SELECTED); row != -1; row = list.GetNextItem(row, LVNI_SELECTED)) {
      // The control turns the box of the focused row itself on the space bar.
      const bool leave = fromKeyboard && row == item;
      SetEngineChecked(row, checked, leave);
    }
    SetRedraw(TRUE);
    Invalidate();
  } else {
    SetEngineChecked(item, checked, fromKeyboard);
  }
  if (doc) doc->m_templateIndex = -1;
}

void CSearchEngineView::CheckAll(BOOL flag) {
  CWaitCursor wait;
  SetRedraw(FALSE);
  for (int row = 0, count = GetListCtrl().GetItemCount(); row < count; ++row)
    SetEngineChecked(row, flag, FALSE);
  SetRedraw(TRUE);
  Invalidate();
  if (CZubrinDoc* doc = GetDocument()) doc->m_templateIndex = -1;
}

void CSearchEngineView::OnCheckAllEngines() {
  if (!IsRunActive()) CheckAll(TRUE);
}

void CSearchEngineView::OnCheckNoEngines() {
  if (!IsRunActive()) CheckAll(FALSE);
}

// ---- templates and select-by ----

void CSearchEngineView::ApplyTemplate(const CString& name) {
  NQSelectionTemplates* templates = GetSelectionTemplates();
  const NQSelectionTemplates::EngineNames* engines = templates ? templates->Find(name.GetString()) : nullptr;
  CWaitCursor wait;
  SetRedraw(FALSE);
  for (int row = 0, count = GetListCtrl().GetItemCount(); row < count; ++row) {
    std::string engine = GetListCtrl().GetItemText(row, kColName).GetString();
    SetEngineChecked(row, engines && engines->count(engine) ? TRUE : FALSE, FALSE);
  }
  SortColumn(kColName, CSortClass::kCheckedFirst);
  SetRedraw(TRUE);
  SelectRow(0);
  Invalidate();
}

bool CSearchEngineView::CollectTemplate(const CString& name) {
  NQSelectionTemplates* templates = GetSelectionTemplates();
  if (!templates) return false;
  NQSelectionTemplates::EngineNames checked;
  for (int row = 0, count = GetListCtrl().GetItemCount(); row < count; ++row)
    if (GetCheck(row)) checked.insert(GetListCtrl().GetItemText(row, kColName).GetString());
  templates->Templates()[name.GetString()] = checked;
  return templates->Save(GetTemplatesFilePath().GetString());
}

void CSearchEngineView::SelectByCriteria(const CString& category, const CString& column1,
                                         const CString& column2, const CString& column3, int mode) {
  CListCtrl& list = GetListCtrl();
  const bool anyCriterion = !category.IsEmpty() || !column1.IsEmpty() || !column2.IsEmpty() ||
                            !column3.IsEmpty();
  CWaitCursor wait;
  SetRedraw(FALSE);
  for (int row = 0, count = list.GetItemCount(); row < count; ++row) {
    CSearchEngine* engine = GetRowEngine(row);
    if (!engine) continue;
    if (mode != 0 && GetCheck(row)) continue;
    bool match = anyCriterion;
    if (match && !category.IsEmpty()) match = category == engine->GetCategory().c_str();
    if (match && !column1.IsEmpty()) match = column1 == list.GetItemText(row, kColCountry);
    if (match && !column2.IsEmpty()) match = column2 == list.GetItemText(row, kColLanguage);
    if (match && !column3.IsEmpty()) match = column3 == list.GetItemText(row, kColMark);
    SetEngineChecked(row, match, FALSE);
  }
  SortColumn(kColName, CSortClass::kCheckedFirst);
  SetRedraw(TRUE);
  if (CZubrinDoc* doc = GetDocument()) doc->m_templateIndex = -1;
  SelectRow(0);
  Invalidate();
}

void CSearchEngineView::OnSelectBy() {
  if (IsRunActive()) return;
  CSelectBy dialog(m_categories, m_column1Texts, m_column2Texts, m_column3Texts, this);
  if (dialog.DoModal() != IDOK) return;
  SelectByCriteria(dialog.m_strCategory, dialog.m_strColumn1, dialog.m_strColumn2,
                   dialog.m_strColumn3, dialog.m_nMode);
}

// The options sheet on its column page, where the list's columns are set up.
void CSearchEngineView::OnEngineOptions() {
  if (IsRunActive()) return;
  CSearchPropertySheet sheet(CSearchPropertySheet::ConfigureColumns, GetParentFrame());
  sheet.DoModal();
}

// ---- sorting ----

void CSearchEngineView::SortColumn(int column, int order) {
  if (column < 0 || column >= kColumnCount) return;
  int kind = CSortClass::kText;
  if (column == kColSubmissions || column == kColPrevious || column == kColRank ||
      column == kColPage || column == kColPosition)
    kind = CSortClass::kNumber;
  else if (column == kColSubmitted)
    kind = CSortClass::kDate;
  if (order == -1)
    order = m_sortOrders[column];
  else
    m_sortOrders[column] = order;
  {
    CSortClass sorter(&GetListCtrl(), column, kind);
    sorter.Sort(order);
  }
  if (column == kColName)
    m_sortOrders[column] = (order + 1) % 3;
  else
    m_sortOrders[column] = order == 0 ? 1 : 0;
}

void CSearchEngineView::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  SortColumn(reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem, -1);
}

// ---- pages, reports, menu, panes ----

void CSearchEngineView::OnOpenHomePage() {
  if (CSearchEngine* engine = GetSelectedEngine()) OpenUrl(engine->GetHomePage().c_str());
}

void CSearchEngineView::OnUpdateOpenHomePage(CCmdUI* pCmdUI) {
  CSearchEngine* engine = GetSelectedEngine();
  pCmdUI->Enable(TRUE);
  pCmdUI->SetText(engine ? Formatted(IDS_ENGINE_OPEN_HOME, engine->GetName().c_str())
                         : LoadResString(IDS_ENGINE_NO_SELECTION));
}

void CSearchEngineView::OnOpenAddPage() {
  CSearchEngine* engine = GetSelectedEngine();
  if (engine && engine->GetAddPage().GetLength()) OpenUrl(engine->GetAddPage().c_str());
}

void CSearchEngineView::OnUpdateOpenAddPage(CCmdUI* pCmdUI) {
  CSearchEngine* engine = GetSelectedEngine();
  if (!engine) {
    pCmdUI->Enable(FALSE);
    return;
  }
  const bool hasAddPage = engine->GetAddPage().GetLength() > 0;
  pCmdUI->SetText(Formatted(hasAddPage ? IDS_ENGINE_OPEN_ADD_PAGE : IDS_ENGINE_NO_ADD_PAGE,
                            engine->GetName().c_str()));
  pCmdUI->Enable(hasAddPage);
}

BOOL CSearchEngineView::OnCmdMsg(UINT nID, int nCode, void* pExtra,
                                 AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (m_bForwardingToFrame) return FALSE;
  return CListViewEx::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

namespace {
// Sets the flag for the time of a hand-over to the frame.
class ForwardingScope {
 public:
  explicit ForwardingScope(bool& flag) : m_flag(flag), m_old(flag) { m_flag = true; }
  ~ForwardingScope() { m_flag = m_old; }
  ForwardingScope(const ForwardingScope&) = delete;
  ForwardingScope& operator=(const ForwardingScope&) = delete;

 private:
  bool& m_flag;
  bool m_old;
};
}  // namespace

void CSearchEngineView::SendToFrame(UINT command) {
  CWnd* frame = GetParentFrame();
  ForwardingScope scope(m_bForwardingToFrame);
  if (frame) frame->SendMessage(WM_COMMAND, command, 0);
}

void CSearchEngineView::OnResultsReport() { SendToFrame(ID_VIEW_RESULTS); }

void CSearchEngineView::OnUpdateResultsReport(CCmdUI* pCmdUI) {
  CWnd* frame = GetParentFrame();
  ForwardingScope scope(m_bForwardingToFrame);
  if (!frame || !frame->OnCmdMsg(ID_VIEW_RESULTS, CN_UPDATE_COMMAND_UI, pCmdUI, nullptr))
    pCmdUI->Enable(FALSE);
}

void CSearchEngineView::OnDblClick(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  if (::GetKeyState(VK_CONTROL) < 0)
    SendToFrame(ID_VIEW_RESULTS);
  else if (::GetKeyState(VK_SHIFT) < 0)
    SendMessage(WM_COMMAND, ID_ENGINE_HOMEPAGE, 0);
  else
    SendToFrame(ID_VIEW_DETAIL);
}

void CSearchEngineView::OnContextMenu(CWnd*, CPoint point) {
  TrackViewContextMenu(this, IDR_ENGINES_POPUP, point.x, point.y);
}

void CSearchEngineView::OnPrevPane() {
  CWnd* terms = g_pSearchTermView;
  ActivatePane(IsPaneShown(terms) ? terms : static_cast<CWnd*>(g_pSearchForm));
}

void CSearchEngineView::OnNextPane() { ActivatePane(g_pSearchForm); }
