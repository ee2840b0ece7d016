// The engine list during a run: each engine event becomes the cells and colour of its engine's
// row. Events come from worker threads as posted records; everything read here is either the
// record's own copy or the engine object, which outlives its run. Only the row an event is
// about is repainted, and transfer progress, which an engine may report hundreds of times a
// page, repaints a row at most once per interval.
#include <atomic>

#include "app/services/AppServices.h"
#include "app/document/EngineCache.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/sets/EngineSet.h"
#include "engines/submit/FormSubmitter.h"
#include "engines/db/SearchEngine.h"
#include "resources/resource.h"
#include "ui/views/SearchEngineView.h"

namespace {

std::atomic<DWORD> g_progressInterval{250};

CString Number(int value) {
  CString text;
  text.Format("%d", value);
  return text;
}

CString Formatted(UINT formatId, int value) {
  CString text;
  text.Format(LoadResString(formatId), value);
  return text;
}

CString Formatted(UINT formatId, int first, int second) {
  CString text;
  text.Format(LoadResString(formatId), first, second);
  return text;
}

}  // namespace

void CSearchEngineView::SetProgressInterval(DWORD milliseconds) { g_progressInterval = milliseconds; }

CSearchEngine* CSearchEngineView::FindSender(const CUpdateItem& record) const {
  CZubrinDoc* doc = GetDocument();
  if (!doc || !doc->m_currentSet || !record.m_sender) return nullptr;
  // Compared by address, never read through: an event of another set's engine is dropped.
  for (const auto& entry : doc->m_currentSet->GetEngines())
    if (entry.second == record.m_sender) return entry.second;
  return nullptr;
}

// "<found> in <p> page(s), <r> result(s)" from the engine's results so far.
CString CSearchEngineView::CountsText(UINT formatId, bool found, CSearchEngine& engine) const {
  const int results = static_cast<int>(engine.m_results.GetCount());
  int pages = 0;
  if (CListNode* last = engine.m_results.Tail())
    pages = static_cast<CSearchResult*>(last->Payload())->m_page + 1;
  CString text;
  text.Format(LoadResString(formatId),
              LoadResString(found ? IDS_ENGINE_FOUND : IDS_ENGINE_NOT_FOUND).GetString(), pages,
              LoadResString(pages == 1 ? IDS_ENGINE_PAGE_ONE : IDS_ENGINE_PAGE_MANY).GetString(),
              results,
              LoadResString(results == 1 ? IDS_ENGINE_RESULT_ONE : IDS_ENGINE_RESULT_MANY).GetString());
  return text;
}

CString CSearchEngineView::ErrorText(int lastCode, CSearchEngine& engine) const {
  if (lastCode == kEngineNoAddress) return LoadResString(IDS_ENGINE_NO_ADDRESS);
  if (engine.m_results.Tail()) return CountsText(IDS_ENGINE_TIMEOUT_COUNTS, false, engine);
  // A query that had begun (it has its result limit) but brought no page yet.
  if (engine.m_maxResults > 0) return LoadResString(IDS_REPORT_NO_SUBMIT_RESULT);
  return LoadResString(IDS_ENGINE_TIMEOUT_NO_QUERY);
}

CString CSearchEngineView::EventText(int code, CSearchEngine& engine,
                                     const CUpdateItem& record) const {
  const int page = engine.m_pageIndex + 1;
  switch (code) {
    case kEngineGetRequest: return Formatted(IDS_ENGINE_REQUEST_PAGE, page);
    case kEngineResolving: return LoadResString(IDS_ENGINE_CONNECTING);
    case kEngineConnected: return LoadResString(IDS_ENGINE_CONNECTED);
    case kEngineConnectFailed: return LoadResString(IDS_ENGINE_CONNECT_FAILED);
    case kEngineConnectionFailed: return LoadResString(IDS_ENGINE_CONNECTION_FAILED);
    case kEngineRequestSent: return LoadResString(IDS_ENGINE_REQUEST_SENT);
    case kEngineReceiveProgress: {
      const uint32_t* figures = record.Progress();
      const uint32_t received = figures ? figures[0] : 0;
      const uint32_t expected = figures ? figures[1] : 0;
      if (expected < 1) return Formatted(IDS_ENGINE_RECEIVING_KB, page, static_cast<int>(received / 1000));
      return Formatted(IDS_ENGINE_RECEIVING_PERCENT, page, record.ProgressPercent());
    }
    case kEngineAbort: return LoadResString(IDS_ENGINE_ABORTED);
    case kEnginePageFetched: return Formatted(IDS_ENGINE_PAGE_RECEIVED, page);
    case kEngineBeforeParse: return LoadResString(IDS_ENGINE_PARSING);
    case kEngineResultFound: return Formatted(IDS_ENGINE_RESULT_FOLLOWED, record.ResultPosition() + 1);
    case kEnginePageParsed: return LoadResString(IDS_ENGINE_PAGE_PARSED);
    default: return Number(code);
  }
}

// Progress shows when its text changes, but a row that showed progress less than an interval
// ago waits for a later figure; the end of a transfer (100 per cent) always shows.
void CSearchEngineView::ShowProgress(int row, CSearchEngine& engine, const CUpdateItem& record) {
  CString text = EventText(kEngineReceiveProgress, engine, record);
  ProgressShown& shown = m_progressShown[engine.GetName().c_str()];
  if (text == shown.text && text == GetListCtrl().GetItemText(row, kColStatus)) return;
  const DWORD now = ::GetTickCount();
  const bool complete = record.Progress() && record.Progress()[1] > 0 && record.ProgressPercent() >= 100;
  if (shown.tick != 0 && now - shown.tick < g_progressInterval.load() && !complete) return;
  shown.tick = now ? now : 1;
  shown.text = text;
  SetCell(row, kColStatus, text);
}

void CSearchEngineView::OnEngineEvent(int row, CSearchEngine& engine, const CUpdateItem& record) {
  const std::string name = engine.GetName().c_str();
  const int code = record.m_code;
  switch (code) {
    case kEngineQueryStart:
      SetCell(row, kColPrevious, engine.m_previousRank == -1 ? CString() : Number(engine.m_previousRank));
      for (int column : {kColRank, kColPage, kColPosition}) SetCell(row, column, "???");
      SetCell(row, kColStatus, LoadResString(IDS_ENGINE_CONNECTING));
      break;
    case kEngineQueryEnd: {
      auto last = m_lastEvent.find(name);
      if (last != m_lastEvent.end() && (last->second == kEngineTimeout || last->second == kEngineNoAddress)) {
        SetCell(row, kColStatus, ErrorText(last->second, engine));
        m_lastEvent.erase(last);
        break;
      }
      RankCells cells = ComputeRankCells(engine);
      SetCell(row, kColRank, cells.rank);
      SetCell(row, kColPage, cells.page);
      SetCell(row, kColPosition, cells.position);
      SetCell(row, kColStatus, cells.status);
      SetRowState(row, cells.state);
      break;
    }
    case kEngineTimeout:
      SetCell(row, kColStatus, LoadResString(IDS_ENGINE_TIMED_OUT));
      break;
    case kEngineNoAddress:
      SetCell(row, kColStatus, LoadResString(IDS_ENGINE_NO_ADDRESS));
      break;
    case kEngineNoSubmitRequest:
      SetCell(row, kColStatus, LoadResString(engine.GetAddPage().GetLength() ? IDS_ENGINE_SUBMIT_BY_HAND
                                                                            : IDS_ENGINE_NOT_ELIGIBLE));
      break;
    case kEngineSubmitStart:
      SetCell(row, kColStatus, LoadResString(IDS_ENGINE_SUBMITTING));
      break;
    case kEngineSubmitOutcome:
      // The record's data is the outcome, copied when the event was raised.
      if (record.m_data) {
        if (CEngineCache* entry = CacheEntry(name.c_str(), true)) {
          entry->m_total += 1;
          entry->m_latest = static_cast<uint32_t>(engine.m_lastSubmitDate);
          SetCell(row, kColSubmitted, entry->m_latest ? FormatDateLocale(static_cast<int>(entry->m_latest)) : CString());
          SetCell(row, kColSubmissions, Number(static_cast<int>(entry->m_total)));
        }
        SetCell(row, kColStatus, LoadResString(IDS_ENGINE_SUBMITTED));
      } else {
        SetCell(row, kColStatus, LoadResString(IDS_ENGINE_SUBMIT_FAILED));
      }
      break;
    case kEngineNotEligible:
      SetCell(row, kColStatus, LoadResString(IDS_ENGINE_NOT_ELIGIBLE));
      break;
    case kEngineReceiveProgress:
      ShowProgress(row, engine, record);
      break;
    default:
      SetCell(row, kColStatus, EventText(code, engine, record));
      break;
  }
  m_lastEvent[name] = code;
}
