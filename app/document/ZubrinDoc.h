// CZubrinDoc: the one document of the program: the site, its search terms as engine sets with
// their results, the submission values and rules, the report mail settings and the engine cache.
// It owns the engine database. The file is an archive stored through CCrusherFile; version 9 is
// written, versions 6 to 9 are read.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "app/document/EngineCache.h"
#include "app/run/RunRules.h"
#include "engines/db/EngineList.h"
#include "engines/sets/EngineManager.h"
#include "foundation/core/NVList.h"
#include "framework/threads/CriticalSection.h"
#include "framework/docview/Document.h"
#include "framework/collections/MapStringToOb.h"
#include "framework/core/OleDateTime.h"
#include "resources/resource.h"

class CCmdUI;
class CEngineSet;
class CRunControl;
class IRunViews;
class CSearchEngine;
class CSearchResult;

// The main frame's progress bar, which the window side connects; unset calls do nothing.
struct DocumentProgressHooks {
  void (*begin)(UINT upper, UINT lower, UINT captionId) = nullptr;
  void (*step)() = nullptr;
  void (*end)() = nullptr;
  void (*postCommand)(UINT command) = nullptr;  // to the main window
  void (*fitPane)(UINT paneId) = nullptr;       // a status pane fits its width to its text
};
void SetDocumentProgressHooks(const DocumentProgressHooks& hooks);
const DocumentProgressHooks& GetDocumentProgressHooks();

// The command and view hints of the document (its texts are in resources/resource.h).
enum : UINT {
  ID_START_UPDATE = 32774,
  HINT_DOC_NEW = 110,
  HINT_DOC_OPEN = 111,
  HINT_DOC_SAVE = 112,
  HINT_DOC_OPENING = 140,
};

class CZubrinDoc : public CDocument {
  DECLARE_DYNCREATE(CZubrinDoc)
 public:
  static const UINT kFileVersion = 9;
  // A first word above this is not taken for a version of a newer program.
  static const UINT kMaxPlausibleVersion = 0xFFFF;
  // Lengths no user types, far beyond any address or term an engine takes; the edit fields stop
  // there and a document with a longer one is refused rather than run for hours.
  static constexpr int kMaxSiteUrlLength = 4096;
  static constexpr int kMaxSearchTermLength = 1024;
  // Every search term holds an engine object per engine of the database, however little of it
  // the file stores: the terms a document may have are bounded by both counts.
  static constexpr UINT kMaxSearchTerms = 5000;
  static constexpr UINT kMaxEngineEntries = 500000;
  // The most search terms a document may have with a database of that many engines.
  static UINT MaxSearchTerms(int engineCount);
  UINT MaxSearchTerms() const { return MaxSearchTerms(m_database.GetCount()); }
  // Tells the user that an edit stopped at a limit: the message with %1 the limit and %2 the
  // number of engines of the database.
  void TellLimit(UINT messageId, UINT limit) const;

  CZubrinDoc();
  ~CZubrinDoc() override;

  BOOL OnNewDocument() override;
  BOOL OnOpenDocument(LPCSTR lpszPathName) override;
  BOOL OnSaveDocument(LPCSTR lpszPathName) override;
  void Serialize(CArchive& ar) override;
  CFile* GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) override;
  void DeleteContents() override;
  // Closing the window during a run only marks the close as pending; the run's end closes it.
  BOOL SaveModified() override;

  // ---- engine-set operations of the run control and the views ----
  int CountActiveSets() const { return m_manager.CountActive(); }
  // Sets the named engine's enabled flag in every engine set.
  void SetEngineEnabledInAllSets(const CLibString& name, int32_t flag);
  // The first result of the engine in the current set that matches the site; false when none.
  // During a run it is the first result its worker flagged (places only, no texts).
  bool FindSiteResult(const CLibString& engineName, CSearchResult& out);
  bool FollowedLinkMatches(CSearchEngine& engine, CSearchResult& record);
  void RecloneCurrentSet();
  CString GetSearchTerm() const;

  // Puts one zero entry per database engine into the cache, dropping everything else.
  void ResetEngineCache();
  // Totals and latest submission days from the sets; every flag 0.
  void RecomputeEngineCache();
  CEngineCache* FindEngineCache(const CString& name) const;
  // The entry of the engine, added with zero words when missing. The map is the user-interface
  // thread's; the workers of a run only ask whether an engine is excluded. Both take the cache
  // lock, so the question never meets the map while an entry is added.
  CEngineCache* AddEngineCache(const CString& name);
  bool IsEngineExcluded(const CString& name) const;

  // ---- run commands (ZubrinDocRun.cpp) ----
  void OnCheckAll();
  void OnCheckSelected();
  void OnCheckCurrent();
  void OnSubmitCurrent();
  void OnSubmitSelected();
  void OnDebugRun();
  void OnStop();
  void OnToggleSubmitAuto();
  void OnMarkSubmitted();
  void OnEngineFlag();
  // Enabled and checked state of a run command, for its update handler.
  runrules::CommandUi GetRunCommandUi(UINT commandId);
  // The windows the run talks to; null until the main frame connects them.
  void SetRunViews(IRunViews* views);
  CRunControl& GetRunControl();

  // ---- document commands and status panes (ZubrinDocCommands.cpp) ----
  // The end of a run started from the command line is taken once: true for the first caller.
  static bool MarkAutomatedEnd();
  static bool AutomatedEndReached();
  static void ResetAutomatedEnd();  // tests
  // The check of all active sets asked for on the command line. An unattended run that cannot
  // start ends the program with the reason in the log instead of waiting for nobody.
  void StartCommandLineCheck();
  // Texts of the rate pane (bytes per second; no meter: empty) and of the elapsed-time pane.
  static CString RatePaneText(bool running, bool hasMeter, uint32_t bytesPerSecond);
  static CString ElapsedPaneText(long seconds);
  // Makes the next (or previous) search term current, wrapping; false when there is no other.
  bool MoveToTerm(bool next);

  // The window that the engine database's loader moves while the constructor loads it.
  static void SetLoadProgressWindow(HWND progress);
  static CZubrinDoc* GetDocument() { return s_document; }
  static CEngineList* GetEngineDatabase() { return s_database; }
  static volatile LONG s_busy;  // 1 while new, open or save runs

  // ---- fields, in this order ----
  CString m_siteUrl;
  CString m_lastRunUrl;
  COleDateTime m_lastRun;
  CMapStringToOb m_engineCache;  // name -> CEngineCache, owned
  CString m_reportTo, m_emailCc, m_emailFrom, m_emailSubject, m_emailBody;
  CString m_reportsDir;
  CNVList m_missing;  // not saved
  CNVList m_profile;
  int32_t m_submitAuto = 0, m_submitWhen = 0, m_submitRanking = 10, m_submitPageNo = 1,
          m_limitTo = 3, m_submitNotListed = 0;
  volatile LONG m_running = 0, m_readOnly = 0, m_stop = 0, m_closePending = 0, m_fresh = 1,
                m_spare = 0;
  CEngineList m_database;
  CEngineSet* m_currentSet = nullptr;
  CEngineManager m_manager;
  int32_t m_templateIndex = -1;
  CString m_templateName;

 protected:
  void OnRunCheckAll() { StartCommandLineCheck(); }
  void OnNextTerm();
  void OnPreviousTerm();
  void OnUpdateTermMove(CCmdUI* pCmdUI);
  void OnStartUpdate();

 public:
  // After the user accepted the update notice: starts the update program (which closes the
  // main window). True when it acted.
  bool CheckPendingUpdate();
  // Keeps the toolbar's template combo in step with the chosen template (index and name): a
  // deleted template leaves the combo, a saved one joins it, an opened document's is found.
  void SyncTemplateCombo(HWND combo);

 protected:
  void OnSaveTemplate();
  void OnDeleteTemplate();
  void OnUpdateTemplateCombo(CCmdUI* pCmdUI);
  void OnUpdateRunCommand(CCmdUI* pCmdUI);
  void OnUpdateIdleOnly(CCmdUI* pCmdUI);
  void OnUpdateIdleNotBusy(CCmdUI* pCmdUI);
  void OnUpdateDeleteTemplate(CCmdUI* pCmdUI);
  void OnUpdateFileSave(CCmdUI* pCmdUI);
  void OnUpdateSendMail(CCmdUI* pCmdUI);
  void OnUpdateEnginesPane(CCmdUI* pCmdUI);
  void OnUpdateActivePane(CCmdUI* pCmdUI);
  void OnUpdateRatePane(CCmdUI* pCmdUI);
  void OnUpdateElapsedPane(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  void ShowPane(CCmdUI* pCmdUI, const CString& text);
  long m_elapsedSeconds = 0;  // of the current or last run, as the pane shows it
  void UpdateSubmittedCache(const CString& name);
  std::unique_ptr<CRunControl> m_runControl;
  IRunViews* m_runViews = nullptr;
  void ClearEngineCache();
  mutable CCriticalSection m_engineCacheLock;
  // Empties the cache and sizes its table for about that many entries, so that lookups by
  // name stay short whatever the number of engines a file names.
  void PrepareEngineCache(UINT entries);
  void LoadEngineCache(CArchive& ar);
  void LoadSets(CArchive& ar);
  // Tells the user which limit the file passes and fails the open, leaving the file as it is.
  [[noreturn]] void RefuseFile(CArchive& ar, UINT messageId, UINT limit, UINT count = 0);
  void AddProfileKeys();
  void StoreFile(CArchive& ar);
  void LoadFile(CArchive& ar, UINT version);
  static CZubrinDoc* s_document;
  static CEngineList* s_database;
};
