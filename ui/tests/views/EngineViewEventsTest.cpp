// The engine list during a run: the hints of the run's set-up and start, engine events posted as
// a worker posts them, their texts and row colours, the freeing of their records, the rows they
// repaint and the thinning out of transfer progress.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/document/EngineCache.h"
#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/sets/EngineSet.h"
#include "engines/submit/FormSubmitter.h"
#include "engines/db/SearchEngine.h"
#include "resources/resource.h"
#include "ui/tests/views/EngineWindow.h"

namespace enginetest {
namespace {

using Col = CSearchEngineView::Column;

std::string Text(UINT id) {
  char text[256] = {};
  ::LoadStringA(AfxGetResourceHandle(), id, text, sizeof text);
  return text;
}

std::string Format(UINT id, int a, int b = 0) {
  char text[256] = {};
  snprintf(text, sizeof text, Text(id).c_str(), a, b);
  return text;
}

// The run's set-up empties the rank cells of enabled rows and keeps the previous rank; the
// start does so for the selected rows only.
TEST_F(EngineWindowTest, RunSetUpAndStartResetTheRows) {
  AddResults("Alpha", 10, 2);
  AddResults("Beta", 10, 4);
  Engine("Alpha")->m_previousRank = 6;
  Engine("Beta")->m_previousRank = 2;
  Hint(HINT_CURRENT_SET);
  ASSERT_EQ(StateOf("Alpha"), kRowMovedUp);
  ASSERT_EQ(StateOf("Beta"), kRowMovedDown);

  SelectRows({Row("Beta")});
  Hint(HINT_RUN_START);
  EXPECT_EQ(Cell("Beta", Col::kColRank), "");
  EXPECT_EQ(Cell("Beta", Col::kColPrevious), "2");
  EXPECT_EQ(StateOf("Beta"), kRowNormal);
  EXPECT_EQ(Cell("Alpha", Col::kColRank), "3 (+3)") << "an unselected row keeps its cells";

  Hint(HINT_RUN_SET_UP);
  for (const char* name : {"Alpha", "Gamma"}) {
    EXPECT_EQ(Cell(name, Col::kColRank), "") << name;
    EXPECT_EQ(Cell(name, Col::kColStatus), "") << name;
    EXPECT_EQ(StateOf(name), kRowNormal) << name;
  }
  EXPECT_EQ(Cell("Alpha", Col::kColPrevious), "6");
}

// Each event code gives its status text; the figures of the transfer and the followed result
// come from the record's own copies.
TEST_F(EngineWindowTest, EngineEventsShowTheirTexts) {
  Engine("Gamma")->m_pageIndex = 1;  // the second page: texts say page 2
  uint32_t half[2] = {5000, 10000};
  uint32_t unknown[2] = {25999, 0};
  struct Case {
    const char* why;
    int code;
    uintptr_t data;
    std::string status;
  } cases[] = {
      {"request", kEngineGetRequest, 0, Format(IDS_ENGINE_REQUEST_PAGE, 2)},
      {"connecting", kEngineResolving, 0, Text(IDS_ENGINE_CONNECTING)},
      {"connected", kEngineConnected, 0, Text(IDS_ENGINE_CONNECTED)},
      {"connect failed", kEngineConnectFailed, 0, Text(IDS_ENGINE_CONNECT_FAILED)},
      {"connection failed", kEngineConnectionFailed, 0, Text(IDS_ENGINE_CONNECTION_FAILED)},
      {"request sent", kEngineRequestSent, 0, Text(IDS_ENGINE_REQUEST_SENT)},
      {"progress with a total", kEngineReceiveProgress, reinterpret_cast<uintptr_t>(half),
       Format(IDS_ENGINE_RECEIVING_PERCENT, 2, 50)},
      {"progress without a total", kEngineReceiveProgress, reinterpret_cast<uintptr_t>(unknown),
       Format(IDS_ENGINE_RECEIVING_KB, 2, 25)},
      {"aborted", kEngineAbort, 0, Text(IDS_ENGINE_ABORTED)},
      {"page fetched", kEnginePageFetched, 0, Format(IDS_ENGINE_PAGE_RECEIVED, 2)},
      {"parsing", kEngineBeforeParse, 0, Text(IDS_ENGINE_PARSING)},
      {"parsed", kEnginePageParsed, 0, Text(IDS_ENGINE_PAGE_PARSED)},
      {"time-out", kEngineTimeout, 0, Text(IDS_ENGINE_TIMED_OUT)},
      {"no address", kEngineNoAddress, 0, Text(IDS_ENGINE_NO_ADDRESS)},
      {"submission starts", kEngineSubmitStart, 0, Text(IDS_ENGINE_SUBMITTING)},
      {"no submission request, no add page", kEngineNoSubmitRequest, 0, Text(IDS_ENGINE_NOT_ELIGIBLE)},
      {"not eligible", kEngineNotEligible, 0, Text(IDS_ENGINE_NOT_ELIGIBLE)},
      {"submission failed", kEngineSubmitOutcome, 0, Text(IDS_ENGINE_SUBMIT_FAILED)},
      {"a code without a text", 11099, 0, "11099"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    Event("Gamma", c.code, c.data);
    Pump();
    EXPECT_EQ(Cell("Gamma", Col::kColStatus), c.status);
    EXPECT_EQ(CUpdateItem::LiveCount(), m_liveBefore);
  }

  // The followed result's position is read when the event is raised: the worker may free the
  // record before the list sees the event.
  auto result = std::make_unique<CSearchResult>();
  result->m_position = 6;
  Event("Gamma", kEngineResultFound, reinterpret_cast<uintptr_t>(result.get()));
  result->m_position = -100;
  result.reset();
  Pump();
  EXPECT_EQ(Cell("Gamma", Col::kColStatus), Format(IDS_ENGINE_RESULT_FOLLOWED, 7));

  // The add page decides between the two texts of a missing submission request.
  Event("Beta", kEngineNoSubmitRequest);
  Pump();
  EXPECT_EQ(Cell("Beta", Col::kColStatus), Text(IDS_ENGINE_SUBMIT_BY_HAND));
}

// A query's start and end: "???" while it runs, then the rank cells and the row's colours; a
// time-out or a missing address before the end leaves its error text instead.
TEST_F(EngineWindowTest, QueryStartAndEndShowTheRank) {
  Engine("Alpha")->m_previousRank = 5;
  Event("Alpha", kEngineQueryStart);
  Pump();
  EXPECT_EQ(Cell("Alpha", Col::kColPrevious), "5");
  for (int column : {Col::kColRank, Col::kColPage, Col::kColPosition}) EXPECT_EQ(Cell("Alpha", column), "???");
  EXPECT_EQ(Cell("Alpha", Col::kColStatus), Text(IDS_ENGINE_CONNECTING));

  AddResults("Alpha", 12, 2);
  Event("Alpha", kEngineQueryEnd, 1);
  Pump();
  EXPECT_EQ(Cell("Alpha", Col::kColRank), "3 (+2)");
  EXPECT_EQ(Cell("Alpha", Col::kColPage), "1");
  EXPECT_EQ(Cell("Alpha", Col::kColPosition), "3");
  EXPECT_EQ(StateOf("Alpha"), kRowMovedUp);

  struct Case {
    const char* why;
    const char* engine;
    int before;
    int results;  // -1: no query asked yet (no result limit)
    std::string contains;
  } cases[] = {
      {"time-out with pages", "Beta", kEngineTimeout, 11, Text(IDS_ENGINE_PAGE_MANY)},
      {"time-out before any page", "Delta", kEngineTimeout, 0, Text(IDS_REPORT_NO_SUBMIT_RESULT)},
      {"time-out before the query", "epsilon", kEngineTimeout, -1, Text(IDS_ENGINE_TIMEOUT_NO_QUERY)},
      {"no address", "Gamma", kEngineNoAddress, 11, Text(IDS_ENGINE_NO_ADDRESS)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    if (c.results > 0) AddResults(c.engine, c.results, -1);
    if (c.results == 0) Engine(c.engine)->m_maxResults = 30;
    Event(c.engine, kEngineQueryStart);
    Event(c.engine, c.before);
    Event(c.engine, kEngineQueryEnd);
    Pump();
    EXPECT_NE(Cell(c.engine, Col::kColStatus).find(c.contains), std::string::npos)
        << Cell(c.engine, Col::kColStatus);
    EXPECT_EQ(Cell(c.engine, Col::kColRank), "???");
  }
  // The error is shown once: the next query's end shows the rank again.
  Event("Beta", kEngineQueryStart);
  Event("Beta", kEngineQueryEnd);
  Pump();
  EXPECT_EQ(Cell("Beta", Col::kColRank), "0");
}

// A successful submission counts in the engine cache and shows its date.
TEST_F(EngineWindowTest, SubmissionOutcomeCountsInTheCache) {
  CEngineCache* entry = Doc()->FindEngineCache("Alpha");
  ASSERT_NE(entry, nullptr);
  entry->m_total = 2;
  Engine("Alpha")->m_lastSubmitDate = 45123;
  Event("Alpha", kEngineSubmitOutcome, 1);
  Pump();
  EXPECT_EQ(entry->m_total, 3u);
  EXPECT_EQ(entry->m_latest, 45123u);
  EXPECT_EQ(Cell("Alpha", Col::kColSubmissions), "3");
  EXPECT_FALSE(Cell("Alpha", Col::kColSubmitted).empty());
  EXPECT_EQ(Cell("Alpha", Col::kColStatus), Text(IDS_ENGINE_SUBMITTED));
}

// Events of an engine the list does not show (another term's) change nothing; their records
// are freed all the same, also a progress record with its figures.
TEST_F(EngineWindowTest, EventsOfOtherSetsAreDropped) {
  auto* other = new CEngineSet(&Doc()->m_database, 1, "other term");
  Doc()->m_manager.AddSet(other);
  uint32_t figures[2] = {10, 100};
  BroadcastItem(new CUpdateItem(other->FindEngine("Gamma"), kEngineReceiveProgress,
                                reinterpret_cast<uintptr_t>(figures), 0));
  BroadcastItem(new CUpdateItem(other->FindEngine("Gamma"), kEngineQueryStart, 0, 0));
  BroadcastItem(new CUpdateItem(nullptr, kEngineQueryStart, 0, 0));
  Pump();
  EXPECT_EQ(Cell("Gamma", Col::kColStatus), "");
  EXPECT_EQ(Cell("Gamma", Col::kColRank), "0");
  EXPECT_EQ(CUpdateItem::LiveCount(), m_liveBefore);
}

// Records still queued when the list's window goes are freed, each exactly once.
TEST_F(EngineWindowTest, QueuedRecordsAreFreedWhenTheWindowGoes) {
  uint32_t figures[2] = {10, 100};
  for (int i = 0; i < 5; ++i) {
    Event("Alpha", kEngineReceiveProgress, reinterpret_cast<uintptr_t>(figures));
    Event("Beta", kEngineQueryStart);
  }
  EXPECT_EQ(CUpdateItem::LiveCount(), m_liveBefore + 10);
  ::DestroyWindow(m_hFrame);
  EXPECT_EQ(CUpdateItem::LiveCount(), m_liveBefore);
  // Nothing is posted to the dead window any more; a new event is freed at once.
  BroadcastItem(new CUpdateItem(nullptr, kEngineQueryStart, 0, 0));
  EXPECT_EQ(CUpdateItem::LiveCount(), m_liveBefore);
  Pump();
}

// An event repaints its own row, not the list.
TEST_F(EngineWindowTest, AnEventRepaintsOnlyItsRow) {
  HWND list = m_view->m_hWnd;
  ::ShowWindow(m_hFrame, SW_SHOW);
  Pump();
  ::UpdateWindow(list);
  RECT before = {};
  ASSERT_FALSE(::GetUpdateRect(list, &before, FALSE));
  Event("Delta", kEngineConnected);
  MSG msg;
  ASSERT_TRUE(::PeekMessageA(&msg, list, WM_ZB_UPDATE, WM_ZB_UPDATE, PM_REMOVE));
  ::DispatchMessageA(&msg);
  RECT dirty = {}, row = {};
  ASSERT_TRUE(::GetUpdateRect(list, &dirty, FALSE));
  List().GetItemRect(Row("Delta"), &row, LVIR_BOUNDS);
  RECT client = {};
  ::GetClientRect(list, &client);
  EXPECT_GE(dirty.top, row.top);
  EXPECT_LE(dirty.bottom, row.bottom);
  EXPECT_LT(dirty.bottom - dirty.top, client.bottom - client.top);
  Pump();
}

// Transfer progress in a burst: within the interval a row keeps what it shows, a new figure
// after the interval or the end of the transfer shows at once.
TEST_F(EngineWindowTest, ProgressIsShownAtMostOncePerInterval) {
  CSearchEngineView::SetProgressInterval(60000);
  struct Step {
    uint32_t soFar, total;
    int shownPercent;
  } steps[] = {
      {1000, 10000, 10},   // the first figure shows
      {2000, 10000, 10},   // too soon
      {9000, 10000, 10},   // too soon
      {10000, 10000, 100}, // the end always shows
  };
  for (const Step& s : steps) {
    uint32_t figures[2] = {s.soFar, s.total};
    Event("Beta", kEngineReceiveProgress, reinterpret_cast<uintptr_t>(figures));
    Pump();
    EXPECT_EQ(Cell("Beta", Col::kColStatus), Format(IDS_ENGINE_RECEIVING_PERCENT, 1, s.shownPercent))
        << s.soFar;
  }
  // Another engine's progress has its own interval.
  uint32_t figures[2] = {300, 1000};
  Event("Gamma", kEngineReceiveProgress, reinterpret_cast<uintptr_t>(figures));
  Pump();
  EXPECT_EQ(Cell("Gamma", Col::kColStatus), Format(IDS_ENGINE_RECEIVING_PERCENT, 1, 30));
  // Other events are never held back.
  Event("Beta", kEnginePageFetched);
  Pump();
  EXPECT_EQ(Cell("Beta", Col::kColStatus), Format(IDS_ENGINE_PAGE_RECEIVED, 1));
}

}  // namespace
}  // namespace enginetest
