// CKeywordStatReport and CUrlSummaryReport: tables of counts. KeywordStat gives one row of
// movement counts per search term; URL Summary gives, per search term, one row of listing
// counts per site address. The report commands do the counting and hand in the rows.
#pragma once

#include <cstdint>

#include "foundation/html/HtmlTable.h"
#include "reports/Report.h"

struct KeywordStatCounts {
  int topRank = 0, firstPage = 0, movedUp = 0, movedDown = 0, noChange = 0, newListings = 0,
      dropped = 0, notListed = 0;
  int Listed() const { return movedUp + movedDown + noChange + newListings; }
};

struct UrlSummaryCounts {
  int topRank = 0, firstPage = 0, listed = 0, notListed = 0;
};

// What the two kinds share: a striped table of numbers under the common header.
class CCountReport : public CReport {
 public:
  explicit CCountReport(const CNVList& programInfo);
  CCountReport(const CCountReport& other);
  int IsAvailable() const override { return 1; }

  CReportTable m_table;
  int32_t m_rowCount = 0;
  int32_t m_headerWritten = 0;

 protected:
  void ResetTable();
  // A header cell: the upper word, "<BR>" and the lower word.
  static CHtmlElement* Caption(const char* upper, const char* lower, int align);
  // The numbers of a row, right-aligned, each followed by two blanks.
  static void AddNumbers(CHtmlTableRow& row, const int* numbers, int count);
  CHtmlTableRow* NewRow();
  void WriteHeaderOnce();
};

class CKeywordStatReport : public CCountReport {
 public:
  explicit CKeywordStatReport(const CNVList& programInfo) : CCountReport(programInfo) {}
  CReport* Clone() const override { return new CKeywordStatReport(*this); }
  CLibString GetTitleText() const override;
  CLibString GetSecondText() const override;
  CLibString GetThirdText() const override;
  void AddSetRow(const CLibString& setName, const KeywordStatCounts& counts);
  CHtmlElementList& Finish() override;
};

class CUrlSummaryReport : public CCountReport {
 public:
  explicit CUrlSummaryReport(const CNVList& programInfo);
  CReport* Clone() const override { return new CUrlSummaryReport(*this); }
  CLibString GetTitleText() const override;
  CLibString GetSecondText() const override;
  CLibString GetThirdText() const override;
  // An empty address closes the set's table.
  void AddUrlRow(const CLibString& address, const CLibString& setName,
                 const UrlSummaryCounts& counts);
  CHtmlElementList& Finish() override;
};
