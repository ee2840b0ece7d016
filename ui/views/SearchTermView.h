// CSearchTermView: the lower-left pane of the main window. One row per engine set of the
// document (per search term), in the document's order, with a check box for the set's active
// flag. Selecting a row makes its set the document's current set. Terms are added, edited in
// place, deleted, moved, imported from and exported to text files, pasted from the clipboard
// and taken from a web page's keywords. While a run is active the user can change neither the selection nor the terms.
#pragma once
#include "framework/collections/StringList.h"
#include "ui/views/ListViewEx.h"

class CEngineSet;

// Posted by the view to itself: lParam is a set that was added and left empty.
constexpr UINT WM_TERM_DROP_EMPTY = WM_APP + 0x145;
class CZubrinDoc;

class CSearchTermView : public CListViewEx {
  DECLARE_DYNCREATE(CSearchTermView)
 public:
  CSearchTermView() = default;
  ~CSearchTermView() override;

  CZubrinDoc* GetDocument() const;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  COLORREF GetRowTextColor(int rowState) override;
  COLORREF GetRowBkColor(int rowState) override;
  void OnCheckChanged(int item, BOOL checked, BOOL fromKeyboard) override;

  // What the import and export commands do with the file the user chose; false when the file
  // cannot be read or written (the user is told) or the user keeps an existing file.
  bool ImportTermsFrom(const CString& path);
  bool ExportTermsTo(const CString& path);
  // What the import from a page does with the page's keywords: cut at commas when there is one,
  // else at blanks, each piece a new term. An empty text adds nothing and tells the user; false
  // then, and when no terms can be changed.
  bool AddKeywordTerms(const CString& keywords);
  // Adds the texts as new active terms at the end (see AddPendingTerms); the tests' way in.
  void AddTerms(const CStringList& texts);

  CEngineSet* GetRowSet(int item) const;
  int FindSetRow(const CEngineSet* set) const;

 protected:
  // ---- the list and the document (SearchTermView.cpp) ----
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnSize(UINT nType, int cx, int cy);
  void ApplyListColors();
  void FillTerms();
  void SetRow(int item, CEngineSet* set);
  void SelectRowQuietly(int item);
  void SelectCurrentSet();
  void ShowCurrentSetName();
  void AddPendingTerms();
  bool CanChangeTerms() const;
  void MarkModified();
  void OnItemChanging(NMHDR* pNMHDR, LRESULT* pResult);
  void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
  void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
  void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
  void RemoveRowSet(int item, CEngineSet* nextCurrent = nullptr);
  LRESULT OnDropEmptyTerm(WPARAM, LPARAM lParam);
  LRESULT OnTermsBroadcast(WPARAM wParam, LPARAM lParam);

  // ---- commands (SearchTermViewCommands.cpp) ----
  void OnContextMenu(CWnd* pWnd, CPoint point);
  void OnTermAdd();
  void OnTermEdit();
  void OnTermDelete();
  void OnTermClearAll();
  void OnTermMoveUp();
  void OnTermMoveDown();
  void MoveTerm(int from, int to);
  void OnTermImport();
  void OnTermExport();
  void OnTermPaste();
  void OnTermImportPage();
  void OnNextPane();
  void OnPrevPane();
  void OnUpdateTermCommand(CCmdUI* pCmdUI);
  void OnUpdateTermDelete(CCmdUI* pCmdUI);
  void OnUpdateTermMoveUp(CCmdUI* pCmdUI);
  void OnUpdateTermMoveDown(CCmdUI* pCmdUI);
  void OnUpdateTermPaste(CCmdUI* pCmdUI);
  int SelectedRow() const;
  DECLARE_MESSAGE_MAP()

  CStringList m_pending;            // texts waiting to become terms
  BOOL m_bSelecting = FALSE;        // the view moves the selection itself (allowed in a run)
  BOOL m_bFilling = FALSE;          // rows are being rebuilt from the document
  CEngineSet* m_pAddedSet = nullptr;  // the term just added, until its first edit ends
  CEngineSet* m_pBeforeAddSet = nullptr;  // the term that was current before that add
};
