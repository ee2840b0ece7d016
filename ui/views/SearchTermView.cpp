// The search-term list: its rows as the document's engine sets, the selection as the current
// set, check boxes as the sets' active flags, in-place renaming, and the hints it follows.
#include "ui/views/SearchTermView.h"

#include "app/services/AppServices.h"
#include "app/settings/SearchProperties.h"
#include "app/program/StartupPhases.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/sets/EngineSet.h"
#include "framework/gdi/WaitCursor.h"
#include "resources/resource.h"
#include "ui/Panes.h"
#include "ui/views/SearchFormHints.h"

IMPLEMENT_DYNCREATE(CSearchTermView, CListViewEx)

namespace {

// The styles the term list adds to the base's: one selected row shown always, labels edited in
// place, a header that does not sort.
const DWORD kTermListStyles = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS |
                              LVS_ALIGNLEFT | LVS_NOSORTHEADER;

}  // namespace

CSearchTermView::~CSearchTermView() {
  if (g_pSearchTermView == this) g_pSearchTermView = nullptr;
}

CZubrinDoc* CSearchTermView::GetDocument() const {
  CDocument* doc = CView::GetDocument();
  return doc && doc->IsKindOf(RUNTIME_CLASS(CZubrinDoc)) ? static_cast<CZubrinDoc*>(doc) : nullptr;
}

int CSearchTermView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CListViewEx::OnCreate(lpcs) == -1) return -1;
  ModifyStyle(0, kTermListStyles);
  GetListCtrl().InsertColumn(0, LoadResString(IDS_TERMS_COLUMN), LVCFMT_LEFT, 100);
  ApplyListColors();
  g_pSearchTermView = this;
  RegisterUpdateWindow(m_hWnd);
  return 0;
}

void CSearchTermView::OnDestroy() {
  if (g_pSearchTermView == this) g_pSearchTermView = nullptr;
  // Engine events queued for the list hold their records until it lets go of them.
  ReleaseQueuedUpdates(m_hWnd);
  CListViewEx::OnDestroy();
}

void CSearchTermView::OnSize(UINT nType, int cx, int cy) {
  CListViewEx::OnSize(nType, cx, cy);
  CRect client;
  GetClientRect(&client);
  GetListCtrl().SetColumnWidth(0, client.Width());
  ShowScrollBar(SB_HORZ, FALSE);
}

void CSearchTermView::ApplyListColors() {
  const CSearchProperties& settings = GetSearchProperties();
  SetListColors(settings.m_colors[CSearchProperties::NormalText],
                settings.m_colors[CSearchProperties::NormalBk]);
}

COLORREF CSearchTermView::GetRowTextColor(int rowState) {
  const CSearchProperties& settings = GetSearchProperties();
  if (rowState == kRowDisabled) return settings.m_colors[CSearchProperties::DisabledText];
  if (rowState == kRowHighlight) return settings.m_colors[CSearchProperties::HighlightText];
  return settings.m_colors[CSearchProperties::NormalText];
}

COLORREF CSearchTermView::GetRowBkColor(int rowState) {
  const CSearchProperties& settings = GetSearchProperties();
  if (rowState == kRowDisabled) return settings.m_colors[CSearchProperties::DisabledBk];
  if (rowState == kRowHighlight) return settings.m_colors[CSearchProperties::HighlightBk];
  return settings.m_colors[CSearchProperties::NormalBk];
}

// ---- rows and sets ----

CEngineSet* CSearchTermView::GetRowSet(int item) const {
  if (item < 0 || item >= GetListCtrl().GetItemCount()) return nullptr;
  return reinterpret_cast<CEngineSet*>(GetListCtrl().GetItemData(item));
}

int CSearchTermView::FindSetRow(const CEngineSet* set) const {
  if (!set) return -1;
  for (int i = 0, n = GetListCtrl().GetItemCount(); i < n; ++i)
    if (GetRowSet(i) == set) return i;
  return -1;
}

int CSearchTermView::SelectedRow() const { return GetListCtrl().GetNextItem(-1, LVNI_SELECTED); }

void CSearchTermView::SetRow(int item, CEngineSet* set) {
  CListCtrl& list = GetListCtrl();
  list.SetItemText(item, 0, set->m_name);
  list.SetItemData(item, reinterpret_cast<DWORD_PTR>(set));
  SetCheck(item, set->m_active != 0);
}

void CSearchTermView::SelectRowQuietly(int item) {
  BOOL was = m_bSelecting;
  m_bSelecting = TRUE;
  SelectRow(item);
  m_bSelecting = was;
}

void CSearchTermView::SelectCurrentSet() {
  CZubrinDoc* doc = GetDocument();
  if (doc) SelectRowQuietly(FindSetRow(doc->m_currentSet));
}

void CSearchTermView::FillTerms() {
  CZubrinDoc* doc = GetDocument();
  if (!doc || !m_hWnd) return;
  CWaitCursor wait;
  CListCtrl& list = GetListCtrl();
  m_bFilling = TRUE;
  // Sets the view remembered may be gone with the old contents.
  m_pAddedSet = nullptr;
  m_pBeforeAddSet = nullptr;
  SetRedraw(FALSE);
  list.DeleteAllItems();
  int row = 0;
  for (POSITION pos = doc->m_manager.GetHeadPosition(); pos;) {
    CEngineSet* set = doc->m_manager.GetNext(pos);
    list.InsertItem(row, set->m_name);
    SetRow(row, set);
    ++row;
  }
  SetRedraw(TRUE);
  m_bFilling = FALSE;
  SelectCurrentSet();
  Invalidate();
}

void CSearchTermView::ShowCurrentSetName() {
  CZubrinDoc* doc = GetDocument();
  if (!doc) return;
  int row = FindSetRow(doc->m_currentSet);
  if (row >= 0) GetListCtrl().SetItemText(row, 0, doc->m_currentSet->m_name);
}

bool CSearchTermView::CanChangeTerms() const {
  CZubrinDoc* doc = GetDocument();
  return doc && !doc->m_running && !CZubrinDoc::s_busy;
}

void CSearchTermView::MarkModified() {
  if (CZubrinDoc* doc = GetDocument()) doc->SetModifiedFlag(TRUE);
}

void CSearchTermView::OnCheckChanged(int item, BOOL checked, BOOL fromKeyboard) {
  CEngineSet* set = GetRowSet(item);
  if (!set || !CanChangeTerms()) return;
  set->m_active = checked ? 1 : 0;
  // From the keyboard the control turns the box itself; a click leaves it to us.
  if (!fromKeyboard) SetCheck(item, checked);
  MarkModified();
}

// ---- notifications ----

void CSearchTermView::OnItemChanging(NMHDR* pNMHDR, LRESULT* pResult) {
  (void)pNMHDR;
  CZubrinDoc* doc = GetDocument();
  // During a run the user may change neither the selection nor a check box.
  *pResult = (doc && doc->m_running && !m_bSelecting && !m_bFilling) ? TRUE : FALSE;
}

void CSearchTermView::OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  auto* change = reinterpret_cast<NMLISTVIEW*>(pNMHDR);
  CZubrinDoc* doc = GetDocument();
  if (!doc || m_bFilling || CZubrinDoc::s_busy || !(change->uChanged & LVIF_STATE)) return;
  CEngineSet* set = GetRowSet(change->iItem);
  if (!set) return;
  // The control turns a check box on the space bar by itself; the set follows the box.
  if ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) {
    int32_t active = ((change->uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2 ? 1 : 0;
    if ((change->uOldState & LVIS_STATEIMAGEMASK) && set->m_active != active) {
      set->m_active = active;
      MarkModified();
    }
  }
  bool selected = (change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED);
  if (selected && set != doc->m_currentSet) {
    doc->m_currentSet = set;
    BroadcastUpdate(HINT_CURRENT_SET, reinterpret_cast<LPARAM>(static_cast<CObject*>(this)));
  }
}

void CSearchTermView::OnBeginLabelEdit(NMHDR*, LRESULT* pResult) {
  *pResult = CanChangeTerms() ? FALSE : TRUE;
  // A longer term would make a document that cannot be opened again.
  if (HWND edit = ListView_GetEditControl(GetListCtrl().m_hWnd))
    ::SendMessageA(edit, EM_LIMITTEXT, CZubrinDoc::kMaxSearchTermLength, 0);
}

void CSearchTermView::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* info = reinterpret_cast<NMLVDISPINFOA*>(pNMHDR);
  *pResult = FALSE;
  CZubrinDoc* doc = GetDocument();
  CEngineSet* set = GetRowSet(info->item.iItem);
  const bool added = set && set == m_pAddedSet;
  m_pAddedSet = nullptr;
  if (!doc || !set) return;
  if (info->item.pszText) {
    set->m_name = info->item.pszText;
    if (set == doc->m_currentSet)
      BroadcastUpdate(HINT_TERM_RENAMED, reinterpret_cast<LPARAM>(static_cast<CObject*>(this)));
    MarkModified();
    *pResult = TRUE;
  }
  // A term that was added and left empty is not kept: it would only make an empty query.
  CString name = set->m_name;
  name.Trim();
  if (added && name.IsEmpty() && doc->m_manager.GetCount() > 1) {
    *pResult = FALSE;
    // The control still holds its edit; the row goes once the control has finished with it.
    PostMessage(WM_TERM_DROP_EMPTY, 0, reinterpret_cast<LPARAM>(set));
  }
}

LRESULT CSearchTermView::OnDropEmptyTerm(WPARAM, LPARAM lParam) {
  CZubrinDoc* doc = GetDocument();
  auto* set = reinterpret_cast<CEngineSet*>(lParam);
  int row = FindSetRow(set);  // the set may be gone already (a refill, a delete)
  if (!doc || row < 0 || !doc->m_manager.Find(set) || !CanChangeTerms()) return 0;
  CString name = set->m_name;
  name.Trim();
  if (!name.IsEmpty()) return 0;
  // The term that was current before the add is current again.
  CEngineSet* before = m_pBeforeAddSet;
  m_pBeforeAddSet = nullptr;
  RemoveRowSet(row, before && before != set && doc->m_manager.Find(before) ? before : nullptr);
  return 0;
}

// The row's set leaves the document; the given set, else the one before it (wrapping to the
// last), becomes current.
void CSearchTermView::RemoveRowSet(int item, CEngineSet* nextCurrent) {
  CZubrinDoc* doc = GetDocument();
  CEngineSet* set = GetRowSet(item);
  if (!doc || !set || doc->m_manager.GetCount() < 2) return;
  CEngineSet* previous = nextCurrent ? nextCurrent : doc->m_manager.GetPrevSet(set);
  if (m_pAddedSet == set) m_pAddedSet = nullptr;
  m_bFilling = TRUE;
  GetListCtrl().DeleteItem(item);
  m_bFilling = FALSE;
  doc->m_currentSet = previous;
  doc->m_manager.RemoveSet(set);
  MarkModified();
  BroadcastUpdate(HINT_CURRENT_SET, reinterpret_cast<LPARAM>(static_cast<CObject*>(this)));
  SelectCurrentSet();
}

// ---- hints ----

LRESULT CSearchTermView::OnTermsBroadcast(WPARAM wParam, LPARAM lParam) {
  OnUpdate(nullptr, static_cast<LPARAM>(wParam), reinterpret_cast<CObject*>(lParam));
  // Every window an engine event was posted to holds the record once; the term list has no
  // use for it but must give its hold back.
  if (wParam == HINT_ENGINE_EVENT && lParam) reinterpret_cast<CUpdateItem*>(lParam)->Release();
  return 0;
}

void CSearchTermView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
  if (!m_hWnd) return;
  const bool fromMe = pSender == this || pHint == this;
  switch (lHint) {
    case HINT_LIST_COLORS:
      ApplyListColors();
      Invalidate();
      break;
    case HINT_DOC_NEW:
    case HINT_DOC_OPEN:
      FillTerms();
      MarkStartupPhase(startup::kTermList);
      break;
    case HINT_CURRENT_SET:
    case HINT_TERMS_CHANGED:
      if (!fromMe) SelectCurrentSet();
      break;
    case HINT_TERM_RENAMED:
      if (!fromMe) ShowCurrentSetName();
      break;
    default:
      break;
  }
}
