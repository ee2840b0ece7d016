// CSearchEngine: the page loop of a query (fetch a result page, let the parser take its results,
// ask the definition for the next request, pause, fetch again) and the sending of one request.
#include <cstdlib>
#include <ctime>

#include "engines/parse/MetaRefresh.h"
#include "engines/parse/PageAddress.h"
#include "engines/query/PageDump.h"
#include "engines/query/RequestGeneration.h"
#include "engines/db/SearchEngine.h"
#include "foundation/net/Socklet.h"

namespace {

// A query ends after this many pages in a row that bring no new result; the last of them is
// fetched but no longer looked at.
constexpr int kPagesWithoutResults = 5;
// A dumping run reads the pages of index 0 to this one.
constexpr int kLastDumpedPage = 2;
// Between two pages an engine is left alone for 1 to 3 seconds, so that it does not take the
// program for a robot.
constexpr unsigned kPauseMinimum = 1000;
constexpr unsigned kPauseRandomPart = 2000;
// Pauses are slept in slices this long. After each slice the engine gives its idle tick and looks
// at its stop and abort flags, so that a stop ends a pause at once instead of after it: the run
// aborts an engine on its next event, and a pause would otherwise hold its event back for up to
// three seconds and then fetch a page nobody wants (a new connect clears the abort flag).
constexpr unsigned kPauseSlice = 250;

// Sleeps ms milliseconds unless stillWanted() answers false after a slice; true when the whole
// pause passed.
template <typename StillWanted>
bool Pause(unsigned long ms, StillWanted stillWanted) {
  while (ms > 0) {
    unsigned slice = ms < kPauseSlice ? static_cast<unsigned>(ms) : kPauseSlice;
    SockletSleep(slice);
    ms -= slice;
    if (!stillWanted()) return false;
  }
  return true;
}

}  // namespace

void CSearchEngine::GetResults() {
  const bool followRefresh = GetKeyInt(".followmetarefresh") != 0;
  srand(static_cast<unsigned>(time(nullptr)));
  // The stop flag is this loop's own: a query ended by it earlier must not end this one.
  m_stop = 0;
  m_pageIndex = 0;
  m_resultsPerPage = CLibString();
  m_pageText = CLibString();
  // Called between the steps that take time: the run learns that the engine is alive (and may
  // abort it); false once the query is to end.
  auto stillWanted = [this] {
    OnIdle();
    return !IsAborted() && !IsStopped();
  };

  CLibString version = GetKey(".httpversion");
  if (version.GetLength() > 0) SetHttpVersion(version);
  if (GetKey(".charset") == "UTF-8") PickRandomBrowser();

  // A new connect clears the abort flag, so a query stopped before it began must not fetch.
  if (IsAborted()) return;

  const CLibString firstAddress = GetKey(".genfirst_iaddr");
  if (GetKeyInt(".openhomepagefirst") == 1 || GetKey(".first_formstart").GetLength() > 0) {
    // The home page sets the engine's cookies, and its search form may be the first request.
    CLibString homePage = GetKey(".homepage");
    if (homePage.GetLength() > 0) SendForm(m_pageText, homePage, nullptr, firstAddress);
    if (m_debug) WritePageDump(m_name, ".homepage.htm", m_pageText);
    if (IsAborted()) return;
  }

  CLibString request = GenFirst();
  SetTimeout(m_timeout);
  m_pageText = CLibString();
  // An engine without a search request has nothing to ask; an empty request would fetch the page
  // last fetched again (it resolves to the current address) and read it as results.
  if (request.GetLength() > 0) SendForm(m_pageText, request, nullptr, firstAddress);
  // The results of an earlier query of this engine object are not this page's.
  int32_t countBefore = GetResultCount();

  int pagesWithoutResults = 0;
  while (m_pageText.GetLength() > 0 && !IsStopped()) {
    if (IsAborted()) break;
    if (++pagesWithoutResults >= kPagesWithoutResults) break;

    m_pageResults = 0;
    OnPageFetched(m_pageText);
    if (followRefresh) {
      CLibString target = GetMetaRefreshUrl(m_pageText);
      // The client resolves a relative address against the page that carried the refresh.
      if (target.GetLength() > 0 && !IsAborted()) m_pageText = GetPage(target);
    }
    RaiseEvent(kEngineBeforeParse);
    ParseResultsPage();
    RaiseEvent(kEnginePageParsed);
    if (IsAborted()) break;

    if (GetResultCount() != countBefore) pagesWithoutResults = 0;
    if (m_debug) {
      if (m_resultsPerPage.GetLength() > 0) m_resultsPerPage += ";";
      m_resultsPerPage += CLibString(static_cast<int>(m_pageResults));
      if (m_pageIndex >= kLastDumpedPage) m_stop = 1;
    }

    countBefore = GetResultCount();
    request = GenNext();
    m_pageText = CLibString();
    if (m_debug) {
      WritePageDump(m_name, ".GenerateNext." + CLibString(static_cast<int>(m_pagesParsed)) + ".txt",
                    request);
    }
    if (request.GetLength() == 0) m_stop = 1;

    if (GetResultCount() >= m_maxResults) {
      m_stop = 1;
    } else if (!IsStopped()) {
      ++m_pageIndex;
      SetTimeout(m_timeout);
      long between = atol(GetKey(".msbetweenrequests").c_str());
      bool wanted = between <= 0 || Pause(static_cast<unsigned long>(between), stillWanted);
      wanted = wanted && Pause(kPauseMinimum + rand() % kPauseRandomPart, stillWanted);
      if (wanted) SendForm(m_pageText, request, nullptr, CLibString());
    }
  }

  if (m_debug) WritePageDump(m_name, ".ResultsPerPage.txt", m_resultsPerPage);
}

CLibString CSearchEngine::SendForm(CLibString& page, const CLibString& request, const char* method,
                                   const CLibString& interfaceAddress) {
  CLibString url;
  CLibString how;
  if (method) {
    url = request;
    how = method;
  } else {
    SplitRequest(request, &url, &how);
  }
  // A request built from a definition value may run over several lines, and one built from a
  // page (a form's action, a next-page link) must not add lines to the request.
  url = CleanPageAddress(url);
  how.MakeLower();
  // A page's "javascript:" or "mailto:" link is nothing to fetch; no name is looked up for it.
  if (!IsWebAddress(url)) {
    page = CLibString();
    return page;
  }
  page = how == "post" ? PostPage(url, -1, interfaceAddress) : GetPage(url, -1, interfaceAddress);
  return page;
}
