// The writers of the reports over the whole document: Summary, Keyword, KeywordStat, URL
// Summary, Competitor and Submittal; and the submission counts of the engine cache.
#include <memory>

#include "app/settings/SearchProperties.h"
#include "app/document/ZubrinDoc.h"
#include "engines/db/EngineList.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/sets/RankMatcher.h"
#include "engines/db/SearchEngine.h"
#include "foundation/html/HtmlDocument.h"
#include "foundation/html/HtmlTags.h"
#include "reports/EngineReports.h"
#include "reports/EngineRows.h"
#include "reports/KeywordReport.h"
#include "reports/ReportMatching.h"
#include "reports/StatReports.h"
#include "reports/SubmittalReport.h"
#include "reports/SummaryReport.h"
#include "resources/resource.h"

namespace {

std::vector<CEngineSet*> AllSets(const CZubrinDoc* document) {
  std::vector<CEngineSet*> sets;
  if (!document) return sets;
  for (POSITION pos = document->m_manager.GetHeadPosition(); pos;)
    if (CEngineSet* set = document->m_manager.GetNext(pos)) sets.push_back(set);
  return sets;
}

CLibString SetName(const CEngineSet& set) {
  return set.GetName().GetString();
}

}  // namespace

CString CEngineReports::WriteSummaryReport(CString& path) {
  path.Empty();
  const CSearchProperties& settings = GetSearchProperties();
  CHtmlElementList pageBody;
  std::vector<CEngineSet*> sets = AllSets(m_document);
  std::vector<CSearchEngine*> engines;
  // The page refers to each set's report, so they all live until it is written.
  std::vector<std::unique_ptr<CSummaryReport>> parts;
  for (size_t k = 0; k < sets.size(); ++k) {
    const bool last = k + 1 == sets.size();
    parts.push_back(std::make_unique<CSummaryReport>(m_programInfo));
    CSummaryReport& report = *parts.back();
    PrepareReport(report);
    report.SetSearchTerm(SetName(*sets[k]));
    report.m_prompt = settings.m_strZubrinPrompt.GetString();
    report.m_showTitle = settings.m_nShowTitle;
    if (k == 0) {
      if (settings.m_nUseHeader) report.SetUserHeader(settings.m_strHeaderText.GetString());
    } else {
      report.SetUserHeader(CLibString());
    }
    ListedEngines(*sets[k], settings.m_nHideZeroRankings != 0, engines);
    for (CSearchEngine* engine : engines) report.AddEngine(engine);
    if (!last) report.SetUserFooter(CLibString());
    else if (settings.m_nUseFooter) report.SetUserFooter(settings.m_strFooterText.GetString());
    pageBody.AddOwned(new CHtmlElementRef(report.Finish()));
    if (!last) {
      pageBody.AddOwned(new CHtmlRule());
      pageBody.AddOwned(new CHtmlTagElement());
    }
  }
  return FinishPage(pageBody, LoadResourceString(IDS_REPORT_SUMMARY_PAGE),
                    MakeReportFileName("Summary", ""), path);
}

CString CEngineReports::WriteKeywordReport(CString& path) {
  path.Empty();
  const CSearchProperties& settings = GetSearchProperties();
  CKeywordReport report(m_programInfo);
  PrepareReport(report);
  SetHeaderAndFooter(report);
  report.m_label = settings.m_strZubrinPrompt.GetString();
  report.m_removeLogos = settings.m_nRemoveLogos;
  report.m_showTitle = settings.m_nShowTitle;
  std::vector<CEngineSet*> sets = AllSets(m_document);
  const CLibString site = SiteUrl();
  if (m_document) {
    for (const CLibString& name : GetEngineRowNames(*m_document)) {
      for (CEngineSet* set : sets) {
        CSearchEngine* engine = set->FindEngine(name);
        if (!engine || !engine->m_enabled) continue;
        if (settings.m_nHideZeroRankings && FindSiteRank(*engine, site).rank == 0) continue;
        report.AddEngine(engine, SetName(*set));
      }
    }
  }
  return FinishPage(report.Finish(), LoadResourceString(IDS_REPORT_KEYWORD_PAGE),
                    MakeReportFileName("Keyword", ""), path);
}

CString CEngineReports::WriteCompetitorReport(CString& path) {
  path.Empty();
  const CSearchProperties& settings = GetSearchProperties();
  CCompetitorReport report(m_programInfo);
  PrepareReport(report);
  SetHeaderAndFooter(report);
  report.m_label = settings.m_strZubrinPrompt.GetString();
  report.m_removeLogos = settings.m_nRemoveLogos;
  report.m_showTitle = settings.m_nShowTitle;
  std::vector<CSearchEngine*> engines;
  for (CEngineSet* set : AllSets(m_document)) {
    ListedEngines(*set, settings.m_nHideZeroRankings != 0, engines);
    for (CSearchEngine* engine : engines) {
      RestoreMatchedAddresses(*engine, SiteUrl());
      report.AddEngine(engine, SetName(*set));
    }
  }
  return FinishPage(report.Finish(), LoadResourceString(IDS_REPORT_COMPETITOR_PAGE),
                    MakeReportFileName("Competitor", ""), path);
}

CString CEngineReports::WriteKeywordStatReport(CString& path) {
  path.Empty();
  CKeywordStatReport report(m_programInfo);
  PrepareReport(report);
  SetHeaderAndFooter(report);
  std::vector<CLibString> rows;
  if (m_document) rows = GetEngineRowNames(*m_document);
  const CLibString site = SiteUrl();
  for (CEngineSet* set : AllSets(m_document)) {
    if (set->GetEngineCount() == 0) continue;
    KeywordStatCounts counts;
    for (const CLibString& name : rows) {
      CSearchEngine* engine = set->FindEngine(name);
      if (!engine || !engine->m_enabled) continue;
      SiteRank at = FindSiteRank(*engine, site);
      const int previous = engine->m_previousRank;
      if (at.rank == 1) ++counts.topRank;
      if (at.page == 1) ++counts.firstPage;
      if (at.rank > 0) {
        // Not listed at the last check (0) counts as a new listing, as no previous check does.
        if (previous == -1 || previous == 0) ++counts.newListings;
        else if (at.rank == previous) ++counts.noChange;
        else if (at.rank < previous) ++counts.movedUp;
        else ++counts.movedDown;
      } else {
        ++counts.notListed;
        if (previous > 0) ++counts.dropped;
      }
    }
    report.AddSetRow(SetName(*set), counts);
  }
  return FinishPage(report.Finish(), LoadResourceString(IDS_REPORT_KEYWORDSTAT_PAGE),
                    MakeReportFileName("KeywordStat", ""), path);
}

CString CEngineReports::WriteUrlSummaryReport(CString& path) {
  path.Empty();
  const CSearchProperties& settings = GetSearchProperties();
  CUrlSummaryReport report(m_programInfo);
  PrepareReport(report);
  SetHeaderAndFooter(report);
  report.m_label = settings.m_strZubrinPrompt.GetString();
  report.m_showTitle = settings.m_nShowTitle;
  std::vector<CLibString> rows;
  if (m_document) rows = GetEngineRowNames(*m_document);
  std::shared_ptr<const UrlTokens> addresses = SplitUrlTokens(SiteUrl());
  for (CEngineSet* set : AllSets(m_document)) {
    for (const CLibString& address : *addresses) {
      UrlSummaryCounts counts;
      for (const CLibString& name : rows) {
        CSearchEngine* engine = set->FindEngine(name);
        if (!engine || !engine->m_enabled) continue;
        SiteRank at = FindSiteRank(*engine, address);
        if (at.rank > 0) ++counts.listed;
        else ++counts.notListed;
        if (at.rank == 1) ++counts.topRank;
        if (at.page == 1) ++counts.firstPage;
      }
      report.AddUrlRow(address, SetName(*set), counts);
    }
    report.AddUrlRow(CLibString(), SetName(*set), UrlSummaryCounts());
  }
  return FinishPage(report.Finish(), LoadResourceString(IDS_REPORT_URLSUMMARY_PAGE),
                    MakeReportFileName("URLSummary", ""), path);
}

CString CEngineReports::WriteSubmittalReport(CString& path) {
  path.Empty();
  CSubmittalReport report(m_programInfo);
  PrepareReport(report);
  SetHeaderAndFooter(report);
  if (m_document) report.SetSiteText(m_document->m_profile.GetValue("URL_WITH_PREFIX"));
  std::vector<CEngineSet*> sets = AllSets(m_document);
  const CEngineSet* current =
      m_document && m_document->m_currentSet ? m_document->m_currentSet
                                             : (sets.empty() ? nullptr : sets.front());
  if (m_document && current) {
    for (const CLibString& name : GetEngineRowNames(*m_document)) {
      CSearchEngine* row = current->FindEngine(name);
      if (!row || !row->m_enabled) continue;
      std::unique_ptr<CSearchEngine> sum(m_document->m_database.CloneEngine(name));
      if (!sum) sum.reset(row->Clone());
      if (!sum) continue;
      for (CEngineSet* set : sets) {
        CSearchEngine* copy = set->FindEngine(name);
        if (!copy) continue;
        sum->m_submitCount += copy->m_submitCount;
        if (copy->m_firstSubmitDate != 0 &&
            (sum->m_firstSubmitDate == 0 || copy->m_firstSubmitDate < sum->m_firstSubmitDate))
          sum->m_firstSubmitDate = copy->m_firstSubmitDate;
        if (copy->m_lastSubmitDate > sum->m_lastSubmitDate)
          sum->m_lastSubmitDate = copy->m_lastSubmitDate;
        if (copy->m_lastVisitDate > sum->m_lastVisitDate) {
          sum->m_lastVisitDate = copy->m_lastVisitDate;
          sum->m_submitted = copy->m_submitted;
        }
      }
      if (sum->CanSubmit() || sum->m_lastVisitDate != 0) report.AddEngine(sum.get());
    }
  }
  return FinishPage(report.Finish(), LoadResourceString(IDS_REPORT_SUBMITTAL_PAGE),
                    MakeReportFileName("Submittal", ""), path);
}

int CEngineReports::GetLatestSubmissionDate(CSearchEngine* engine) const {
  int latest = 0;
  if (!engine) return latest;
  for (CEngineSet* set : AllSets(m_document)) {
    CSearchEngine* copy = set->FindEngine(engine->GetName());
    if (copy && copy->m_lastVisitDate != 0 && copy->m_lastSubmitDate > latest)
      latest = copy->m_lastSubmitDate;
  }
  return latest;
}

int CEngineReports::GetTotalSubmissions(CSearchEngine* engine) const {
  int total = 0;
  if (!engine) return total;
  for (CEngineSet* set : AllSets(m_document)) {
    CSearchEngine* copy = set->FindEngine(engine->GetName());
    if (copy && copy->m_submitCount > 0) total += copy->m_submitCount;
  }
  return total;
}
