// CSummaryReport: one row per engine for one search term (rank, page, position, the result
// link), with the site's listing counts and scores above the table.
#pragma once

#include <cstdint>

#include "foundation/html/HtmlTable.h"
#include "reports/Report.h"

class CSummaryReport : public CReport {
 public:
  explicit CSummaryReport(const CNVList& programInfo);
  CSummaryReport(const CSummaryReport& other);
  CReport* Clone() const override { return new CSummaryReport(*this); }
  CLibString GetTitleText() const override;
  CLibString GetSecondText() const override;
  CLibString GetThirdText() const override;
  int IsAvailable() const override { return 1; }
  void AddEngine(CSearchEngine* engine) override;
  CHtmlElementList& Finish() override;

  CLibString m_prompt;
  CReportTable m_table;
  int32_t m_rows = 0, m_found = 0, m_rank1 = 0, m_top10 = 0, m_top20 = 0, m_top30 = 0,
          m_scoreSum = 0;

 private:
  void AddHitsGrading(CSearchEngine& engine);
  void CountRank(int rank);
  CHtmlElement* MakeSummaryLines() const;
};
