// The engine list: its columns and rows from the current engine set, the row cells from the
// engines, the engine cache and the document's rank matching, and the hints it follows.
#include "ui/views/SearchEngineView.h"

#include "app/services/AppServices.h"
#include "app/services/CountryNames.h"
#include "app/document/EngineCache.h"
#include "app/settings/SearchProperties.h"
#include "app/program/StartupPhases.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "framework/threads/WinThread.h"
#include "framework/gdi/WaitCursor.h"
#include "resources/resource.h"
#include "ui/AutomatedRun.h"
#include "ui/LanguageNames.h"
#include "ui/MainFrame.h"
#include "ui/Panes.h"
#include "ui/dialogs/InstantUpdateMessage.h"
#include "ui/views/SearchFormHints.h"
#include "ui/views/SortClass.h"

IMPLEMENT_DYNCREATE(CSearchEngineView, CListViewEx)

namespace {

const DWORD kEngineListStyles = LVS_REPORT | LVS_SHOWSELALWAYS | LVS_ALIGNLEFT;
const int kFirstColumnWidth = 150;  // room for most engine names
// Room beside a heading's text: the header's margins left and right of it, and its divider.
const int kHeadingRoom = 16;

const UINT kHeaderIds[CSearchEngineView::kColumnCount] = {
    IDS_ENGINE_COL_NAME,     IDS_ENGINE_COL_COUNTRY,   IDS_ENGINE_COL_LANGUAGE,
    IDS_ENGINE_COL_MARK,     IDS_ENGINE_COL_SUBMISSIONS, IDS_ENGINE_COL_SUBMITTED,
    IDS_ENGINE_COL_PREVIOUS, IDS_ENGINE_COL_RANK,      IDS_ENGINE_COL_PAGE,
    IDS_ENGINE_COL_POSITION, IDS_ENGINE_COL_STATUS};

// The hints this view answers; anything else that is broadcast is someone else's.
const LPARAM kFirstHint = 101;
const LPARAM kLastHint = 160;
const LPARAM kHintApplyColors = 101;
const LPARAM kHintProgressEnd = 132;
const LPARAM kHintUpdateAvailable = 160;

CString Number(int value) {
  CString text;
  text.Format("%d", value);
  return text;
}

// Engine data names a country by its two-letter code and a language by its three-letter one;
// data that gives the name itself ("USA", "English"), or a code the tables do not hold, shows
// that text rather than an empty cell.
CString CountryText(const CSearchEngine& engine) {
  CString code = engine.GetCountry().c_str();
  CString name = GetCountryName(code);
  return name.IsEmpty() ? code : name;
}

CString LanguageText(const CSearchEngine& engine) {
  CString code = engine.GetLanguage().c_str();
  CString name = LanguageName(code, false);
  return name.IsEmpty() ? code : name;
}

CString PreviousRankText(const CSearchEngine& engine) {
  return engine.m_previousRank == -1 ? CString() : Number(engine.m_previousRank);
}

}  // namespace

CSearchEngineView::CSearchEngineView() {
  // The first click on a number column sorts descending; on the engine column checked first.
  for (int& order : m_sortOrders) order = CSortClass::kDescending;
  m_sortOrders[kColName] = CSortClass::kCheckedFirst;
}

CSearchEngineView::~CSearchEngineView() {
  if (g_pSearchEngineView == this) g_pSearchEngineView = nullptr;
}

CZubrinDoc* CSearchEngineView::GetDocument() const {
  CDocument* doc = CView::GetDocument();
  return doc && doc->IsKindOf(RUNTIME_CLASS(CZubrinDoc)) ? static_cast<CZubrinDoc*>(doc) : nullptr;
}

// ---- window ----

int CSearchEngineView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CListViewEx::OnCreate(lpcs) == -1) return -1;
  g_hEngineViewWnd = m_hWnd;
  g_pSearchEngineView = this;
  RegisterUpdateWindow(m_hWnd);
  ModifyStyle(0, kEngineListStyles);
  CListCtrl& list = GetListCtrl();
  // Until widths are stored, each column starts as wide as its heading (the engine names need
  // more); the stored widths or the options then give them. The heading is measured here: the
  // control's own sizing to the header gives nothing while the list is still empty under Wine.
  for (int column = 0; column < kColumnCount; ++column) {
    CString heading = LoadResString(kHeaderIds[column]);
    list.InsertColumn(column, heading, LVCFMT_LEFT);
    int text = static_cast<int>(
        list.SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(heading.GetString())));
    list.SetColumnWidth(column, text + kHeadingRoom);
  }
  if (list.GetColumnWidth(0) < kFirstColumnWidth) list.SetColumnWidth(0, kFirstColumnWidth);
  // The setting's first value is nobody's choice, and its narrow columns would cut most
  // headings: the heading widths stand until the view has stored widths of the user's.
  const CSearchProperties& settings = GetSearchProperties();
  if (settings.m_nColAutoSave && settings.m_strColWidths != CSearchProperties::kDefaultColWidths)
    RestoreColumnWidths();
  // The view owns the images: the control must not destroy them when it goes.
  ModifyStyle(0, LVS_SHAREIMAGELISTS);
  if (CreateEngineImageList(m_images))
    list.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_images.m_hImageList));
  ApplyListColors();
  return 0;
}

void CSearchEngineView::OnDestroy() {
  if (GetSearchProperties().m_nColAutoSave) SaveColumnWidths();
  UnregisterUpdateWindow(m_hWnd);
  if (g_hEngineViewWnd == m_hWnd) g_hEngineViewWnd = nullptr;
  if (g_pSearchEngineView == this) g_pSearchEngineView = nullptr;
  CListViewEx::OnDestroy();
}

// Engine events still queued for this window would never be delivered once it is gone; each
// holds its record, so they are taken out here and let go. The window has left the broadcast
// list in OnDestroy, so nothing new is posted to it after this.
void CSearchEngineView::OnNcDestroy() {
  ReleaseQueuedUpdates(m_hWnd);
  CListViewEx::OnNcDestroy();
}

void CSearchEngineView::OnSize(UINT nType, int cx, int cy) {
  CListViewEx::OnSize(nType, cx, cy);
  CListCtrl& list = GetListCtrl();
  int used = 0;
  for (int column = 0; column < kColStatus; ++column) used += list.GetColumnWidth(column);
  CRect client;
  GetClientRect(&client);
  if (used < client.Width()) {
    list.SetColumnWidth(kColStatus, client.Width() - used);
    ShowScrollBar(SB_HORZ, FALSE);
  }
}

void CSearchEngineView::OnInitialUpdate() {
  // The list is filled by the document's new and open hints, not by the first update.
}

// ---- colours ----

void CSearchEngineView::ApplyListColors() {
  const CSearchProperties& settings = GetSearchProperties();
  SetListColors(settings.m_colors[CSearchProperties::NormalText],
                settings.m_colors[CSearchProperties::NormalBk]);
}

COLORREF CSearchEngineView::GetRowTextColor(int rowState) {
  const COLORREF* colors = GetSearchProperties().m_colors;
  switch (rowState) {
    case kRowDisabled: return colors[CSearchProperties::DisabledText];
    case kRowMovedUp: return colors[CSearchProperties::MovedUpText];
    case kRowMovedDown: return colors[CSearchProperties::MovedDownText];
    case kRowFirst: return colors[CSearchProperties::ZubrinText];
    case kRowHighlight: return colors[CSearchProperties::HighlightText];
    default: return colors[CSearchProperties::NormalText];
  }
}

COLORREF CSearchEngineView::GetRowBkColor(int rowState) {
  const COLORREF* colors = GetSearchProperties().m_colors;
  switch (rowState) {
    case kRowDisabled: return colors[CSearchProperties::DisabledBk];
    case kRowMovedUp: return colors[CSearchProperties::MovedUpBk];
    case kRowMovedDown: return colors[CSearchProperties::MovedDownBk];
    case kRowFirst: return colors[CSearchProperties::ZubrinBk];
    case kRowHighlight: return colors[CSearchProperties::HighlightBk];
    default: return colors[CSearchProperties::NormalBk];
  }
}

// ---- rows ----

int CSearchEngineView::FindEngineRow(const CString& name) const {
  LVFINDINFOA find = {};
  find.flags = LVFI_STRING;
  find.psz = name;
  int row = static_cast<int>(
      GetListCtrl().SendMessage(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
  // The control compares without regard to case; rows carry the engine's name exactly.
  if (row >= 0 && GetListCtrl().GetItemText(row, kColName) != name) return -1;
  return row;
}

CSearchEngine* CSearchEngineView::GetRowEngine(int row) const {
  CZubrinDoc* doc = GetDocument();
  if (!doc || !doc->m_currentSet || row < 0 || row >= GetListCtrl().GetItemCount()) return nullptr;
  CString name = GetListCtrl().GetItemText(row, kColName);
  return doc->m_currentSet->FindEngine(CLibString(name.GetString()));
}

void CSearchEngineView::SetCell(int row, int column, const CString& text) {
  CListCtrl& list = GetListCtrl();
  // An unchanged cell is not set again: the control would repaint the row for nothing.
  if (list.GetItemText(row, column) == text) return;
  list.SetItemText(row, column, text);
}

void CSearchEngineView::SetRowState(int row, int state) {
  CListCtrl& list = GetListCtrl();
  if (list.GetItemData(row) == static_cast<DWORD_PTR>(state)) return;
  list.SetItemData(row, static_cast<DWORD_PTR>(state));
  InvalidateRow(row);
}

CEngineCache* CSearchEngineView::CacheEntry(const CString& name, bool create) {
  CZubrinDoc* doc = GetDocument();
  if (!doc) return nullptr;
  // Added through the document, under the lock the run's workers take to read the map.
  return create ? doc->AddEngineCache(name) : doc->FindEngineCache(name);
}

CString CSearchEngineView::MarkText(CSearchEngine& engine) {
  if (!engine.CanSubmit())
    return LoadResString(engine.GetAddPage().GetLength() == 0 ? IDS_ENGINE_MARK_NONE
                                                              : IDS_ENGINE_MARK_ADD_PAGE);
  CZubrinDoc* doc = GetDocument();
  CEngineCache* entry =
      CacheEntry(engine.GetName().c_str(), doc && !doc->m_running);
  return LoadResString(entry && entry->m_excluded ? IDS_ENGINE_MARK_EXCLUDED : IDS_ENGINE_MARK_SUBMIT);
}

void CSearchEngineView::InsertEngineRow(int index, CSearchEngine& engine) {
  CListCtrl& list = GetListCtrl();
  CString name = engine.GetName().c_str();
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = index;
  item.pszText = const_cast<LPSTR>(name.GetString());
  item.iImage = engine.GetIcon();
  item.lParam = engine.m_enabled ? kRowNormal : kRowDisabled;
  int row = list.InsertItem(&item);
  if (row < 0) return;
  list.SetItemText(row, kColCountry, CountryText(engine));
  list.SetItemText(row, kColLanguage, LanguageText(engine));
  list.SetItemText(row, kColMark, MarkText(engine));
  for (int column : {kColSubmissions, kColRank, kColPage, kColPosition}) list.SetItemText(row, column, "0");
  SetCheck(row, engine.m_enabled != 0);
}

CSearchEngineView::RankCells CSearchEngineView::ComputeRankCells(CSearchEngine& engine) {
  RankCells cells;
  cells.state = engine.m_enabled ? kRowNormal : kRowDisabled;
  int rank = 0;
  CSearchResult found;
  CZubrinDoc* doc = GetDocument();
  const bool matched = doc && doc->FindSiteResult(engine.GetName(), found);
  if (matched) {
    rank = found.m_index + 1;
    cells.rank = Number(rank);
    cells.page = Number(found.m_page + 1);
    cells.position = Number(found.m_position + 1);
    if (rank == 1) {
      cells.status = LoadResString(IDS_ENGINE_RANKED_FIRST);
      cells.state = kRowFirst;
    }
  }
  const int previous = engine.m_previousRank;
  if (previous != -1) {
    int change = 0;
    if (previous != 0 && rank != 0)
      change = previous - rank;
    else if (previous == 0)
      change = rank;
    else
      change = -previous;
    if (change != 0) {
      cells.rank.Format("%d (%+d)", rank, change);
      if (rank != 1) cells.state = change < 1 ? kRowMovedDown : kRowMovedUp;
    }
  }
  if (rank != 1) {
    if (engine.m_enabled && engine.m_results.Tail())
      cells.status = CountsText(IDS_ENGINE_COUNTS, matched, engine);
    else if (engine.m_enabled)
      cells.status = LoadResString(IDS_ENGINE_NOT_SEARCHED);
    else
      cells.status.Empty();
  }
  return cells;
}

void CSearchEngineView::UpdateRow(int index, CSearchEngine& engine) {
  for (int column : {kColSubmissions, kColRank, kColPage, kColPosition}) SetCell(index, column, "0");
  for (int column : {kColSubmitted, kColPrevious, kColStatus}) SetCell(index, column, CString());
  if (!engine.m_enabled) {
    SetRowState(index, kRowDisabled);
    return;
  }
  SetCell(index, kColPrevious, PreviousRankText(engine));
  CZubrinDoc* doc = GetDocument();
  if (CEngineCache* entry = CacheEntry(engine.GetName().c_str(), doc && !doc->m_running)) {
    if (entry->m_latest) SetCell(index, kColSubmitted, FormatDateLocale(static_cast<int>(entry->m_latest)));
    SetCell(index, kColSubmissions, Number(static_cast<int>(entry->m_total)));
  }
  RankCells cells = ComputeRankCells(engine);
  SetCell(index, kColRank, cells.rank);
  SetCell(index, kColPage, cells.page);
  SetCell(index, kColPosition, cells.position);
  SetCell(index, kColStatus, cells.status);
  SetRowState(index, cells.state);
}

void CSearchEngineView::ResetRowForRun(int index) {
  CSearchEngine* engine = GetRowEngine(index);
  if (!engine || !engine->m_enabled) {
    SetRowState(index, kRowDisabled);
    return;
  }
  SetCell(index, kColPrevious, PreviousRankText(*engine));
  for (int column : {kColRank, kColPage, kColPosition, kColStatus}) SetCell(index, column, CString());
  SetRowState(index, kRowNormal);
  m_lastEvent.erase(engine->GetName().c_str());
  m_progressShown.erase(engine->GetName().c_str());
}

void CSearchEngineView::ForgetRunState() {
  m_lastEvent.clear();
  m_progressShown.clear();
}

void CSearchEngineView::FillList() {
  CZubrinDoc* doc = GetDocument();
  if (!doc || !m_hWnd) return;
  CWaitCursor wait;
  CListCtrl& list = GetListCtrl();
  ForgetRunState();
  SetRedraw(FALSE);
  list.DeleteAllItems();
  const bool collect = m_categories.empty() && m_column1Texts.empty() && m_column2Texts.empty() &&
                       m_column3Texts.empty();
  if (doc->m_currentSet) {
    for (const auto& entry : doc->m_currentSet->GetEngines()) {
      CSearchEngine& engine = *entry.second;
      int row = list.GetItemCount();
      InsertEngineRow(row, engine);
      if (!collect || row >= list.GetItemCount()) continue;
      m_categories.insert(m_categories.begin(), CString(engine.GetCategory().c_str()));
      m_column1Texts.insert(m_column1Texts.begin(), list.GetItemText(row, kColCountry));
      m_column2Texts.insert(m_column2Texts.begin(), list.GetItemText(row, kColLanguage));
      m_column3Texts.insert(m_column3Texts.begin(), list.GetItemText(row, kColMark));
    }
  }
  SortColumn(kColName, CSortClass::kAscending);
  SetRedraw(TRUE);
  SelectRow(0);
  Invalidate();
}

void CSearchEngineView::RefreshRows() {
  CZubrinDoc* doc = GetDocument();
  if (!doc || !m_hWnd) return;
  CWaitCursor wait;
  SetRedraw(FALSE);
  for (int row = 0, count = GetListCtrl().GetItemCount(); row < count; ++row) {
    CSearchEngine* engine = GetRowEngine(row);
    if (!engine) continue;
    UpdateRow(row, *engine);
    SetCheck(row, engine->m_enabled != 0);
  }
  SortColumn(kColName, CSortClass::kCheckedFirst);
  SetRedraw(TRUE);
  SelectRow(0);
  Invalidate();
}

void CSearchEngineView::UpdateFlagColumn() {
  int row = FirstSelectedRow();
  if (CSearchEngine* engine = GetRowEngine(row)) SetCell(row, kColMark, MarkText(*engine));
}

void CSearchEngineView::RefreshEngineRow(const CString& name) {
  int row = FindEngineRow(name);
  CSearchEngine* engine = GetRowEngine(row);
  if (!engine) return;
  UpdateRow(row, *engine);
  SetCell(row, kColMark, MarkText(*engine));
}

// ---- hints ----

LRESULT CSearchEngineView::OnEngineBroadcast(WPARAM wParam, LPARAM lParam) {
  OnUpdate(nullptr, static_cast<LPARAM>(wParam), reinterpret_cast<CObject*>(lParam));
  // This window holds every engine event it was posted once, whatever became of its row.
  if (wParam == HINT_ENGINE_EVENT && lParam) reinterpret_cast<CUpdateItem*>(lParam)->Release();
  return 0;
}

void CSearchEngineView::ShowUpdateNotice() {
  CInstantUpdateMessage notice(this);
  if (notice.DoModal() != IDOK) return;
  if (CZubrinDoc* doc = GetDocument()) doc->CheckPendingUpdate();
}

void CSearchEngineView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
  if (!m_hWnd) return;
  if (!pSender && !lHint && !pHint) return;
  if (lHint < kFirstHint || lHint > kLastHint) return;
  CListCtrl& list = GetListCtrl();
  switch (lHint) {
    case kHintApplyColors:
      ApplyListColors();
      break;
    case HINT_LIST_COLORS:
      list.SetBkColor(GetSearchProperties().m_colors[CSearchProperties::NormalBk]);
      Invalidate();
      break;
    case HINT_DOC_NEW:
    case HINT_DOC_OPENING:
      FillList();
      MarkStartupPhase(startup::kEngineRows);
      break;
    case HINT_DOC_OPEN:
    case HINT_CURRENT_SET:
      RefreshRows();
      if (lHint == HINT_DOC_OPEN) MarkStartupPhase(startup::kEngineCells);
      break;
    case HINT_RUN_SET_UP: {
      SetRedraw(FALSE);
      for (int row = 0, count = list.GetItemCount(); row < count; ++row) ResetRowForRun(row);
      SetRedraw(TRUE);
      Invalidate();
      break;
    }
    case HINT_RUN_START:
      for (int row = list.GetNextItem(-1, LVNI_SELECTED); row != -1;
           row = list.GetNextItem(row, LVNI_SELECTED))
        ResetRowForRun(row);
      break;
    case HINT_RUN_FINISHED:
      if (CMainFrame* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd())) {
        frame->GetStatusBar()->Invalidate();
        frame->GetStatusBar()->UpdateWindow();
      }
      CMainFrame::EndProgress();
      break;
    case HINT_RUN_AUTOMATED_END:
      // It writes what the command line asked for and posts the one close of the main window.
      FinishAutomatedRun(GetDocument());
      break;
    case HINT_PROGRESS_STEP:
      CMainFrame::StepProgress();
      break;
    case kHintProgressEnd:
      CMainFrame::EndProgress();
      break;
    case HINT_ENGINE_EVENT: {
      const auto* record = reinterpret_cast<const CUpdateItem*>(pHint);
      CSearchEngine* engine = record ? FindSender(*record) : nullptr;
      int row = engine ? FindEngineRow(engine->GetName().c_str()) : -1;
      if (row >= 0) OnEngineEvent(row, *engine, *record);
      break;
    }
    case kHintUpdateAvailable:
      ShowUpdateNotice();
      break;
    default:
      break;
  }
}
