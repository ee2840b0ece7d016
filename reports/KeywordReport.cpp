#include "reports/KeywordReport.h"

#include "engines/db/EngineServices.h"
#include "engines/db/SearchEngine.h"
#include "foundation/html/HtmlTags.h"
#include "reports/ReportHtml.h"
#include "resources/resource.h"

using namespace reportrows;

CKeywordReport::CKeywordReport(const CNVList& programInfo) : CReport(programInfo) {
  m_label = LoadResourceString(IDS_REPORT_PROMPT);
  m_table->SetBorder(0);
  m_table->SetCellPadding(5);
  m_table->SetCellSpacing(0);
}

CKeywordReport::CKeywordReport(const CKeywordReport& other)
    : CReport(other),
      m_table(other.m_table),
      m_calls(other.m_calls),
      m_previousKey(other.m_previousKey),
      m_index(other.m_index),
      m_competitor(other.m_competitor) {}

CLibString CKeywordReport::GetTitleText() const {
  return LoadResourceString(IDS_KEYWORD_TITLE);
}
CLibString CKeywordReport::GetSecondText() const {
  return LoadResourceString(IDS_KEYWORD_TEXT2);
}
CLibString CKeywordReport::GetThirdText() const {
  return LoadResourceString(IDS_KEYWORD_TEXT3);
}

void CKeywordReport::AddIndexLink(const CLibString& key) {
  char first = key.GetLength() > 0 ? key.c_str()[0] : '#';
  if (first >= 'a' && first <= 'z') first = static_cast<char>(first - 'a' + 'A');
  CLibString& links = m_index[CLibString(first)];
  links += "<a href=#L" + CLibString(static_cast<int>(m_calls)) + ">[" +
           CHtmlString::Escape(key) + "]</a>&nbsp;&nbsp;";
}

void CKeywordReport::AddKeywordHeading(CSearchEngine& engine) {
  CLibString home = reporthtml::HttpLink(engine.GetHomePage());
  auto* nameFont = new CHtmlFont(kFace, 1);
  nameFont->AddText(engine.GetName());
  auto* nameLink = new CHtmlAnchor(home, *nameFont);
  delete nameFont;

  auto* left = new CHtmlTableCell(CHtmlElement::kLeft);
  left->SetVAlign(CHtmlElement::kBottom);
  left->AddOwned(new CHtmlNamedAnchor("L" + CLibString(static_cast<int>(m_calls))));
  auto* right = new CHtmlTableCell(CHtmlElement::kRight);
  right->SetVAlign(CHtmlElement::kBottom);
  if (!m_removeLogos) {
    CLibString logo = engine.GetKey(".logourl");
    if (logo.GetLength() == 0) {
      left->AddHtml("&nbsp;");
    } else {
      CHtmlImage image(reporthtml::HttpLink(logo));
      image.SetBorder(0);
      left->AddOwned(new CHtmlAnchor(home, image));
    }
    right->AddOwned(nameLink);
  } else {
    left->AddOwned(nameLink);
    right->AddHtml("&nbsp;");
  }
  auto* inner = new CHtmlTable();
  inner->SetWidth("100", true);
  auto* innerRow = new CHtmlTableRow();
  innerRow->AddOwned(left);
  innerRow->AddOwned(right);
  inner->AddOwned(innerRow);
  auto* cell = new CHtmlTableCell();
  cell->SetColSpan(5);
  cell->AddOwned(inner);
  auto* row = new CHtmlTableRow();
  row->AddOwned(cell);
  m_table->AddOwned(row);
}

void CKeywordReport::AddCompetitorHeading(const CLibString& setName) {
  auto* cell = new CHtmlTableCell(CHtmlElement::kLeft);
  cell->SetVAlign(CHtmlElement::kBottom);
  cell->SetColSpan(6);
  auto* font = new CHtmlFont(kFace, 1);
  font->AddText(setName);
  cell->AddOwned(font);
  cell->AddOwned(new CHtmlNamedAnchor("L" + CLibString(static_cast<int>(m_calls))));
  auto* row = new CHtmlTableRow();
  row->AddOwned(cell);
  m_table->AddOwned(row);
}

// The rows of one call; keyText is what the first row's key cell shows.
void CKeywordReport::AddRows(CSearchEngine& engine, const CLibString& keyText) {
  int m = 0, rows = 0;
  uint32_t callInk = 0;  // the call's data font keeps the first row's colour
  for (CListNode* node = engine.m_results.Head(); node; node = node->Next()) {
    auto* result = static_cast<CSearchResult*>(node->Payload());
    ++m;
    if (!result->m_matched) continue;
    if (m_competitor && result->m_matchedText.GetLength() == 0) continue;
    auto* row = new CHtmlTableRow(CHtmlElement::kLeft);
    row->SetVAlign(CHtmlElement::kTop);
    CLibString rankText(m);
    uint32_t rankInk = 0;
    if (++rows == 1) {
      RankColours colours = RankChange(m, engine.m_previousRank, m_palette);
      row->SetBgColor(colours.paper);
      callInk = colours.ink;
      rankInk = colours.ink;
      rankText = colours.text;
      row->AddOwned(DataFont(keyText, callInk));
    } else {
      row->AddOwned(new CHtmlString("&nbsp;", 0));
    }
    row->AddOwned(m == 1 ? DataFont(m_label, callInk) : DataFont(rankText, rankInk));
    row->AddOwned(DataFont(CLibString(static_cast<int>(result->m_page + 1)), callInk));
    row->AddOwned(DataFont(CLibString(static_cast<int>(result->m_position + 1)), callInk));
    if (m_competitor) row->AddOwned(DataFont(result->m_matchedText, callInk));
    row->AddOwned(ResultLinkCell(engine.GetResultLink(result->m_text), m_showTitle != 0));
    m_table->AddOwned(row);
  }
  if (rows > 0) return;
  int pages = 0, results = 0;
  PagesAndResults(engine, pages, results);
  auto* row = new CHtmlTableRow(CHtmlElement::kLeft);
  row->SetVAlign(CHtmlElement::kTop);
  row->AddOwned(DataFont(keyText));
  for (int i = 0; i < 3; ++i) row->AddOwned(DataFont("0"));
  if (m_competitor) row->AddOwned(new CHtmlString("&nbsp;", 0));
  row->AddOwned(DataFont(NotFoundText(pages, results)));
  m_table->AddOwned(row);
}

void CKeywordReport::AddEngine(CSearchEngine* engine, const CLibString& setName) {
  if (!engine) return;
  if (++m_calls == 1) {
    const char* const digitsAndLetters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (const char* c = digitsAndLetters; *c; ++c) m_index.SetAt(CLibString(*c), CLibString());
    WriteCommonHeader(engine, false);
  }
  CLibString key = m_competitor ? setName : engine->GetName();
  if (m_calls == 1 || key != m_previousKey) {
    m_previousKey = key;
    AddIndexLink(key);
    auto* spacer = new CHtmlTableRow();
    spacer->AddHtml("&nbsp;");
    m_table->AddOwned(spacer);
    if (m_competitor) AddCompetitorHeading(setName);
    else AddKeywordHeading(*engine);
    static const unsigned kKeyword[] = {IDS_COLUMN_KEYWORD, IDS_COLUMN_RANK, IDS_COLUMN_PAGE,
                                        IDS_COLUMN_POSITION, IDS_COLUMN_RESULT};
    static const unsigned kCompetitor[] = {IDS_COLUMN_ENGINE,   IDS_COLUMN_RANK,
                                           IDS_COLUMN_PAGE,     IDS_COLUMN_POSITION,
                                           IDS_COLUMN_MATCHED_URL, IDS_COLUMN_RESULT};
    m_table->AddOwned(m_competitor ? HeaderRow(kCompetitor, 6) : HeaderRow(kKeyword, 5));
  }
  AddRows(*engine, m_competitor ? engine->GetName() : setName);
}

CHtmlElementList& CKeywordReport::Finish() {
  m_index.ForEach([this](const CNVItem& item) {
    if (item.m_value.GetLength() == 0) return;
    auto* font = new CHtmlFont("Arial,Helvetica");
    font->AddText(item.m_name + ": ");
    font->AddHtml(item.m_value);
    m_body.AddOwned(font);
    m_body.AddOwned(new CHtmlParagraph());
  });
  m_body.AddOwned(m_table.Release());
  m_body.AddOwned(new CHtmlParagraph());
  m_body.Add(m_userFooter);
  return m_body;
}

CCompetitorReport::CCompetitorReport(const CNVList& programInfo) : CKeywordReport(programInfo) {
  m_competitor = true;
}

CLibString CCompetitorReport::GetTitleText() const {
  return LoadResourceString(IDS_COMPETITOR_TITLE);
}
CLibString CCompetitorReport::GetSecondText() const {
  return LoadResourceString(IDS_COMPETITOR_TEXT2);
}
CLibString CCompetitorReport::GetThirdText() const {
  return LoadResourceString(IDS_COMPETITOR_TEXT3);
}
