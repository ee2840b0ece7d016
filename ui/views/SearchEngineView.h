// CSearchEngineView: the lower-right pane of the main window. One row per engine of the current
// engine set: name and icon with a check box for the engine's enabled flag, country, language,
// submission mark, submission count and date, previous rank, rank with its change, page,
// position and a status text that follows a running check. Rows are coloured by their rank
// movement and sorted on a column click. The view carries the engine-level commands and ends an
// automated run.
//
// One class across files by duty: SearchEngineView.cpp (the list, its rows and the hints),
// SearchEngineViewEvents.cpp (engine events of a run), SearchEngineViewCommands.cpp (commands,
// check boxes, templates, select-by, sorting).
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "framework/gdi/ImageList.h"
#include "ui/views/ListViewEx.h"

class CEngineCache;
class CSearchEngine;
class CUpdateItem;
class CZubrinDoc;

class CSearchEngineView : public CListViewEx {
  DECLARE_DYNCREATE(CSearchEngineView)
 public:
  enum Column {
    kColName,
    kColCountry,
    kColLanguage,
    kColMark,
    kColSubmissions,
    kColSubmitted,
    kColPrevious,
    kColRank,
    kColPage,
    kColPosition,
    kColStatus,
    kColumnCount
  };

  // What ComputeRankCells gives for one engine: the texts of the rank, page, position and
  // status columns and the row state.
  struct RankCells {
    CString rank = "0", page = "0", position = "0", status;
    int state = kRowNormal;
  };

  CSearchEngineView();
  ~CSearchEngineView() override;

  CZubrinDoc* GetDocument() const;
  void OnInitialUpdate() override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  COLORREF GetRowTextColor(int rowState) override;
  COLORREF GetRowBkColor(int rowState) override;
  void OnCheckChanged(int item, BOOL checked, BOOL fromKeyboard) override;

  // ---- operations the frame, the document and the templates call ----
  // The engine of the first selected or focused row, in the current set; null when none.
  CSearchEngine* GetSelectedEngine() const;
  void CheckAll(BOOL flag);
  void ApplyTemplate(const CString& name);
  // False when the templates file could not be written (the template is kept all the same).
  bool CollectTemplate(const CString& name);
  void UpdateFlagColumn();
  // Rewrites the named engine's row (mark, submission count and date, ranks) after the
  // document changed its engine-cache entry; nothing when it has no row.
  void RefreshEngineRow(const CString& name);
  // Sorts by the column: order -1 takes the column's remembered order (a header click).
  void SortColumn(int column, int order = -1);
  // What the select-by dialog's OK does with its choices (empty: criterion not used); mode 0
  // checks exactly the matching engines, any other mode leaves checked rows checked.
  void SelectByCriteria(const CString& category, const CString& column1, const CString& column2,
                        const CString& column3, int mode);

  int FindEngineRow(const CString& name) const;
  CSearchEngine* GetRowEngine(int row) const;
  RankCells ComputeRankCells(CSearchEngine& engine);
  CString EventText(int code, CSearchEngine& engine, const CUpdateItem& record) const;
  CString MarkText(CSearchEngine& engine);

  // Seams for tests: how a web page is opened (CUrlLink::Open by default), and how long a row
  // keeps its transfer progress before a newer figure replaces it.
  using UrlOpenFn = BOOL (*)(LPCSTR url);
  static void SetUrlOpenFunction(UrlOpenFn open);
  static void SetProgressInterval(DWORD milliseconds);

 protected:
  // ---- the list and the document (SearchEngineView.cpp) ----
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnNcDestroy();
  void OnSize(UINT nType, int cx, int cy);
  LRESULT OnEngineBroadcast(WPARAM wParam, LPARAM lParam);
  void ApplyListColors();
  void FillList();
  void RefreshRows();
  void InsertEngineRow(int index, CSearchEngine& engine);
  void UpdateRow(int index, CSearchEngine& engine);
  void ResetRowForRun(int index);
  void ShowUpdateNotice();
  void SetCell(int row, int column, const CString& text);
  void SetRowState(int row, int state);
  // The engine cache entry of the name; a missing one is made (zeroed) unless a run is active,
  // when the run's workers may be reading the cache.
  CEngineCache* CacheEntry(const CString& name, bool create);
  void ForgetRunState();

  // ---- engine events (SearchEngineViewEvents.cpp) ----
  void OnEngineEvent(int row, CSearchEngine& engine, const CUpdateItem& record);
  void ShowProgress(int row, CSearchEngine& engine, const CUpdateItem& record);
  CString ErrorText(int lastCode, CSearchEngine& engine) const;
  CString CountsText(UINT formatId, bool found, CSearchEngine& engine) const;
  // The engine of the current set that raised the event, found by address only: the event
  // may be older than the engine's set.
  CSearchEngine* FindSender(const CUpdateItem& record) const;

  // ---- commands (SearchEngineViewCommands.cpp) ----
  void OnContextMenu(CWnd* pWnd, CPoint point);
  void OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
  void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
  void OnSelectAll();
  void OnUpdateSelectAll(CCmdUI* pCmdUI);
  void OnUpdateSelectedPane(CCmdUI* pCmdUI);
  void OnPrevPane();
  void OnNextPane();
  void OnOpenHomePage();
  void OnUpdateOpenHomePage(CCmdUI* pCmdUI);
  void OnOpenAddPage();
  void OnUpdateOpenAddPage(CCmdUI* pCmdUI);
  void OnResultsReport();
  void OnUpdateResultsReport(CCmdUI* pCmdUI);
  void OnCheckAllEngines();
  void OnCheckNoEngines();
  void OnEngineOptions();
  void OnSelectBy();
  void SendToFrame(UINT command);
  // The frame offers every command to the active view first: while this view hands one on to
  // the frame, it declines commands, so the frame's own handler answers instead of this view
  // asking the frame again without end.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  bool m_bForwardingToFrame = false;
  void SetEngineChecked(int row, BOOL flag, BOOL leaveBox);
  int FirstSelectedRow() const;
  DECLARE_MESSAGE_MAP()

  CImageList m_images;
  // The texts the select-by dialog offers, collected on the first fill.
  std::vector<CString> m_categories, m_column1Texts, m_column2Texts, m_column3Texts;
  int m_sortOrders[kColumnCount];
  // Per engine name: the last event code a row showed, and when its transfer progress was last
  // shown (with the figure), so that a burst of progress events repaints a row only now and
  // then.
  struct ProgressShown {
    DWORD tick = 0;
    CString text;
  };
  std::map<std::string, int> m_lastEvent;
  std::map<std::string, ProgressShown> m_progressShown;
};
