#include "reports/StatReports.h"

#include "engines/db/EngineServices.h"
#include "foundation/html/HtmlTags.h"
#include "resources/resource.h"

using namespace reportrows;

CCountReport::CCountReport(const CNVList& programInfo) : CReport(programInfo) {
  ResetTable();
}

CCountReport::CCountReport(const CCountReport& other)
    : CReport(other),
      m_table(other.m_table),
      m_rowCount(other.m_rowCount),
      m_headerWritten(other.m_headerWritten) {}

void CCountReport::ResetTable() {
  m_table->RemoveAll();
  m_table->SetBorder(0);
  m_table->SetCellPadding(5);
  m_table->SetCellSpacing(0);
  m_rowCount = 0;
}

CHtmlElement* CCountReport::Caption(const char* upper, const char* lower, int align) {
  auto* cell = new CHtmlTableCell(align);
  cell->SetVAlign(CHtmlElement::kBottom);
  auto* font = new CHtmlFont(kFace, 0, kWhite);
  font->AddText(upper);
  font->AddHtml("<BR>");
  font->AddText(lower);
  cell->AddOwned(font);
  return cell;
}

void CCountReport::AddNumbers(CHtmlTableRow& row, const int* numbers, int count) {
  for (int i = 0; i < count; ++i) {
    auto* cell = new CHtmlTableCell(CHtmlElement::kRight);
    auto* font = new CHtmlFont(kFace);
    font->AddText(CLibString(numbers[i]));
    font->AddHtml("&nbsp;&nbsp;");
    cell->AddOwned(font);
    row.AddOwned(cell);
  }
}

CHtmlTableRow* CCountReport::NewRow() {
  auto* row = new CHtmlTableRow();
  if (++m_rowCount % 2 == 0) row->SetBgColor(kStripe);
  return row;
}

void CCountReport::WriteHeaderOnce() {
  if (m_headerWritten) return;
  m_headerWritten = 1;
  WriteCommonHeader(nullptr, false);
}

// ---- KeywordStat ----

CLibString CKeywordStatReport::GetTitleText() const {
  return LoadResourceString(IDS_KEYWORDSTAT_TITLE);
}
CLibString CKeywordStatReport::GetSecondText() const {
  return LoadResourceString(IDS_KEYWORDSTAT_TEXT2);
}
CLibString CKeywordStatReport::GetThirdText() const {
  return LoadResourceString(IDS_KEYWORDSTAT_TEXT3);
}

void CKeywordStatReport::AddSetRow(const CLibString& setName, const KeywordStatCounts& counts) {
  if (m_rowCount == 0 && !m_headerWritten) {
    WriteHeaderOnce();
    auto* header = new CHtmlTableRow();
    header->SetBgColor(0);
    header->AddOwned(Caption("", LoadResourceString(IDS_COLUMN_KEYWORD).c_str(),
                             CHtmlElement::kLeft));
    static const char* const kWords[][2] = {{"Top", "Rank"},        {"First", "Page"},
                                            {"Moved", "Up"},        {"Moved", "Down"},
                                            {"No", "Change"},       {"New", "Listings"},
                                            {"Dropped", "Listings"}, {"", "Listed"},
                                            {"Not", "Listed"}};
    for (const auto& words : kWords)
      header->AddOwned(Caption(words[0], words[1], CHtmlElement::kCenter));
    m_table->AddOwned(header);
  }
  CHtmlTableRow* row = NewRow();
  auto* name = new CHtmlTableCell(CHtmlElement::kLeft);
  name->AddOwned(DataFont(setName));
  row->AddOwned(name);
  const int numbers[] = {counts.topRank, counts.firstPage,  counts.movedUp,
                         counts.movedDown, counts.noChange, counts.newListings,
                         counts.dropped,  counts.Listed(),  counts.notListed};
  AddNumbers(*row, numbers, 9);
  m_table->AddOwned(row);
}

CHtmlElementList& CKeywordStatReport::Finish() {
  m_body.AddOwned(m_table.Release());
  m_body.AddOwned(new CHtmlParagraph());
  m_body.Add(m_userFooter);
  return m_body;
}

// ---- URL Summary ----

CUrlSummaryReport::CUrlSummaryReport(const CNVList& programInfo) : CCountReport(programInfo) {
  m_label = LoadResourceString(IDS_REPORT_PROMPT);
}

CLibString CUrlSummaryReport::GetTitleText() const {
  return LoadResourceString(IDS_URLSUMMARY_TITLE);
}
CLibString CUrlSummaryReport::GetSecondText() const {
  return LoadResourceString(IDS_URLSUMMARY_TEXT2);
}
CLibString CUrlSummaryReport::GetThirdText() const {
  return LoadResourceString(IDS_URLSUMMARY_TEXT3);
}

void CUrlSummaryReport::AddUrlRow(const CLibString& address, const CLibString& setName,
                                  const UrlSummaryCounts& counts) {
  if (address.GetLength() == 0) {
    m_body.AddOwned(m_table.Release());
    m_body.AddOwned(new CHtmlParagraph());
    ResetTable();
    return;
  }
  if (m_rowCount == 0) {
    WriteHeaderOnce();
    m_body.AddOwned(new CHtmlTagElement());
    m_body.AddText("Keyword: ");
    m_body.AddOwned(new CHtmlBold(setName));
    m_body.AddOwned(new CHtmlTagElement());
    auto* header = new CHtmlTableRow();
    header->SetBgColor(0);
    header->AddOwned(Caption("", "URL", CHtmlElement::kLeft));
    static const char* const kWords[][2] = {
        {"Top", "Rank"}, {"First", "Page"}, {"", "Listed"}, {"Not", "Listed"}};
    for (const auto& words : kWords)
      header->AddOwned(Caption(words[0], words[1], CHtmlElement::kCenter));
    m_table->AddOwned(header);
  }
  CHtmlTableRow* row = NewRow();
  auto* cell = new CHtmlTableCell(CHtmlElement::kLeft);
  cell->AddOwned(DataFont(address));
  row->AddOwned(cell);
  const int numbers[] = {counts.topRank, counts.firstPage, counts.listed, counts.notListed};
  AddNumbers(*row, numbers, 4);
  m_table->AddOwned(row);
}

CHtmlElementList& CUrlSummaryReport::Finish() {
  m_body.Add(m_userFooter);
  return m_body;
}
