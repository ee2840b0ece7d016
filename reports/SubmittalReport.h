// CSubmittalReport: one row per engine with its submission record summed over the search
// terms: count, first and last submission, and the outcome of the last attempt.
#pragma once

#include <cstdint>

#include "foundation/html/HtmlTable.h"
#include "reports/Report.h"

class CSubmittalReport : public CReport {
 public:
  explicit CSubmittalReport(const CNVList& programInfo);
  CSubmittalReport(const CSubmittalReport& other);
  CReport* Clone() const override { return new CSubmittalReport(*this); }
  CLibString GetTitleText() const override;
  CLibString GetSecondText() const override;
  CLibString GetThirdText() const override;
  int IsAvailable() const override { return 1; }
  void AddEngine(CSearchEngine* engine) override;
  CHtmlElementList& Finish() override;

  CReportTable m_table;
  int32_t m_rows = 0, m_successes = 0, m_failures = 0;
};
