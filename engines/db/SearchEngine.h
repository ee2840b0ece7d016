// CSearchEngine: one search engine or directory. The engine database makes one prototype per
// enabled engine definition; each engine set clones the prototypes, and a worker thread runs
// one clone's query (and submission) at a time. Everything an engine does is driven by its
// definition keys, read from EngineKeyList under the engine's name.
//
// The class is split over several files: construction, cloning, the query call and the hooks
// live in SearchEngine.cpp; request generation, result parsing, submission and the other
// interpreter operations live in the interpreter's own files.
#pragma once

#include <cstdint>

#include "engines/parse/FormRecord.h"
#include "engines/submit/FormSubmitter.h"
#include "engines/db/SearchResult.h"
#include "foundation/core/LibString.h"
#include "foundation/core/LinkedList.h"
#include "foundation/core/NVList.h"

class CSearchEngine : public CFormSubmitter {
 public:
  CSearchEngine();
  ~CSearchEngine() override;

  // Back to the state of a fresh engine: query state and counters cleared, enabled, a new
  // empty form record, the debug flag from the debug options. The name and results stay.
  void Init();

  // Definition lookup: the value of key (which begins with ".") for this engine; empty when
  // absent. The number form reads it with atoi (empty = 0).
  CLibString GetKey(const char* key) const;
  int GetKeyInt(const char* key) const;

  // Asks the engine for one search term: raises the query start, runs the page loop and raises
  // the query end with the connection-success flag. Returns the number of results.
  int32_t RunQuery(const CLibString& keywords, int32_t maxResults, int32_t timeoutSeconds);

  // ---- virtual operations, in this order ----
  // A new engine with this one's name and forms only (no results, query state or history);
  // null when memory runs out.
  virtual CSearchEngine* Clone() const;
  virtual int GetIcon() const;
  virtual CLibString GetCountry() const;
  virtual CLibString GetLanguage() const;
  virtual CLibString GetCategory() const;
  virtual CLibString GetName() const;
  virtual CLibString GetSearchUrl() const;
  virtual CLibString GetHomePage() const;
  virtual CLibString GetAddPage() const;
  // The first request text of a query, and the next one (empty: no further page).
  virtual CLibString GenFirst();
  virtual CLibString GenNext();
  // Reads the current page text; returns the number of result blocks found.
  virtual int32_t ParseResultsPage();
  virtual bool CanSubmit() const;
  // Submits the site of the profile; true when the last attempted address was taken.
  virtual bool Submit(const CNVList& profile);
  virtual void OnBegin();
  // Makes, reports and appends the record of one result block; returns the results added from
  // the current page so far.
  virtual int32_t FollowResultLinks(const CLibString& blockText);
  virtual void OnEnd();

  // ---- interpreter operations (not virtual) ----
  // Request texts.
  void SubstitutePlaceholders(CLibString& text, bool encodeKeywords);
  CLibString ResolveUrl(const CLibString& request);
  // The page loop of a query, and one request (method: "get"/"post", or null to take it from
  // the request's prefix; interfaceAddress: a dotted address to connect to, or empty).
  void GetResults();
  CLibString SendForm(CLibString& page, const CLibString& request, const char* method,
                      const CLibString& interfaceAddress);
  // Result pages.
  void TakeNextPageLink(int position, int lastLinkOpening, bool marker1Seen, bool marker2Seen,
                        int marker1Length, int marker2Length);
  // Results.
  void AddResult(const CSearchResult& record);
  CLibString GetResultLink(const CLibString& block);
  CLibString GetResultUrl(const CLibString& block, bool decode);
  int32_t GetPageIndex() const { return m_pageIndex; }
  int32_t GetTotalHits() const { return m_totalHits; }
  int32_t GetResultCount() const { return static_cast<int32_t>(m_results.GetCount()); }
  // Submission.
  int MarkSubmitted(bool submitted);
  CLibString GetSubmitText() const;
  int GetNeededSiteFields(CNVList& list) const;
  int FindMissingSiteFields(const CNVList& profile, CNVList& missing) const;
  CLibString GetSubmitImageCode(const CLibString& page);
  // Directory categories.
  int CategoryDrillDown(const CLibString& address, CNVList& list, int32_t& addUrlFound,
                        const CNVList& profile);
  int ReadCategoryPage(const CLibString& page, CNVList& list, CLibString& request);

  // Raises an engine event through the socket callback.
  void RaiseEvent(int code, uintptr_t data = 0) { Notify(code, data); }

  // ---- fields, in this order (public: the engine sets, the run and the reports read them) ----
  CLibString m_name;      // the engine's section name in the definitions
  CLinkedList m_results;  // owned CSearchResult records, with their count
  int32_t m_enabled = 1;
  CLibString m_urlToFind;  // the user's site addresses
  CLibString m_nextUrl;    // the next-page address a result page gave (#NEXTURL#)
  CLibString m_keywords;
  int32_t m_maxResults = 0;
  int32_t m_timeout = 0;        // seconds, for the socket
  CLibString m_currentUrl;      // address of the page being looked at
  int32_t m_pageIndex = 0;      // 0 for the first result page of a query
  int32_t m_pageResults = 0;    // results added from the current page
  int32_t m_previousRank = 0;   // -1 none recorded, 0 not found, else the rank of the last run
  CLibString m_resultsPerPage;  // the results-per-page log of a dumping run
  CFormRecord* m_forms = nullptr;
  CLibString m_pageText;  // text of the page last fetched
  int32_t m_submitCount = 0;
  int32_t m_firstSubmitDate = 0;  // day numbers, 0 = never
  int32_t m_lastSubmitDate = 0;
  int32_t m_lastVisitDate = 0;
  uint8_t m_submitted = 0;         // outcome of the last attempt
  CLibString m_responseText;       // the last submission's answer, or the mail outcome
  int32_t m_pagesParsed = 0;       // #TOTALPAGES#
  int32_t m_firstPageResults = 0;  // #FIRSTPAGERESULTS#
  uint8_t m_debug = 0;             // page dumps on
  // Query state the interpreter keeps besides.
  int32_t m_nextLinkFound = 0;
  // What TakeNextPageLink learnt about the page while ParseResultsPage reads it, so that a page
  // full of next-page markers outside links costs one look at each link, not one per marker.
  struct NextLinkMemo {
    const char* page = nullptr;  // the page it was learnt on; null: nothing known
    int length = 0;
    int opening = -1;  // the link last looked at, and where its tag ends
    int tagEnd = -1;
    int closeFrom = -1;  // the first "</a" at or after closeFrom (-1: none)
    int close = -1;
    int refused = -1;  // a link whose address is no web address
  };
  NextLinkMemo m_nextLinkMemo;
  int32_t m_totalHits = 0;  // the total the engine reported; not read today

 protected:
  // The socket's idle hook, then the engine's idle tick.
  void OnIdle() override;

 private:
  void FreeResults();
};
