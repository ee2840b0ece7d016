// CKeywordReport and CCompetitorReport: one table over many engines and search terms, opened by
// an index of links to its sections. Keyword has a section per engine and a row per matching
// result and search term; Competitor has a section per search term and a row per result that
// matched one of the site's addresses.
#pragma once

#include <cstdint>

#include "foundation/html/HtmlTable.h"
#include "foundation/core/NVList.h"
#include "reports/Report.h"

class CKeywordReport : public CReport {
 public:
  explicit CKeywordReport(const CNVList& programInfo);
  CKeywordReport(const CKeywordReport& other);
  CReport* Clone() const override { return new CKeywordReport(*this); }
  CLibString GetTitleText() const override;
  CLibString GetSecondText() const override;
  CLibString GetThirdText() const override;
  int IsAvailable() const override { return 1; }
  CHtmlElementList& Finish() override;
  virtual void AddEngine(CSearchEngine* engine, const CLibString& setName);
  using CReport::AddEngine;

  CReportTable m_table;
  int32_t m_calls = 0;
  CLibString m_previousKey;
  CNVList m_index;  // first character -> links to the sections

 protected:
  // Competitor: sections by search term, a matched-address column, matches with an address.
  bool m_competitor = false;

 private:
  void AddIndexLink(const CLibString& key);
  void AddKeywordHeading(CSearchEngine& engine);
  void AddCompetitorHeading(const CLibString& setName);
  void AddRows(CSearchEngine& engine, const CLibString& keyText);
};

class CCompetitorReport : public CKeywordReport {
 public:
  explicit CCompetitorReport(const CNVList& programInfo);
  CReport* Clone() const override { return new CCompetitorReport(*this); }
  CLibString GetTitleText() const override;
  CLibString GetSecondText() const override;
  CLibString GetThirdText() const override;
};
