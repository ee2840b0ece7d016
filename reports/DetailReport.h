// CDetailReport: every result of one engine, page by page, with the user's site marked and the
// search term highlighted.
#pragma once

#include "reports/Report.h"


class CDetailReport : public CReport {
 public:
  explicit CDetailReport(const CNVList& programInfo) : CReport(programInfo) {}
  CReport* Clone() const override { return new CDetailReport(*this); }
  CLibString GetTitleText() const override;
  CLibString GetSecondText() const override;
  CLibString GetThirdText() const override;
  void AddEngine(CSearchEngine* engine) override;

 private:
  void AddTitleBar(CSearchEngine& engine);
  void AddLogo(CSearchEngine& engine);
  void AddDocumentBlock(CSearchEngine& engine);
  // The results heading and the match line; the results themselves go into sections.
  CHtmlElement* MakeResultsFont(CSearchEngine& engine, int matches);
  void AddPageSection(CReportTable& table, int page, bool named);
};
