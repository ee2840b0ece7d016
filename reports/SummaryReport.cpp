#include "reports/SummaryReport.h"

#include "engines/db/EngineServices.h"
#include "engines/db/SearchEngine.h"
#include "foundation/html/HtmlList.h"
#include "foundation/html/HtmlTags.h"
#include "resources/resource.h"

using namespace reportrows;

namespace {

void SetUpTable(CHtmlTable& table) {
  table.SetBorder(0);
  table.SetCellPadding(5);
  table.SetCellSpacing(0);
}

CHtmlListItem* Item(CHtmlElement* content) {
  auto* font = new CHtmlFont(kFace);
  font->AddOwned(content);
  auto* item = new CHtmlListItem();
  item->AddOwned(font);
  return item;
}

}  // namespace

CSummaryReport::CSummaryReport(const CNVList& programInfo)
    : CReport(programInfo), m_prompt(LoadResourceString(IDS_REPORT_PROMPT)) {
  SetUpTable(*m_table);
}

CSummaryReport::CSummaryReport(const CSummaryReport& other)
    : CReport(other),
      m_prompt(other.m_prompt),
      m_table(other.m_table),
      m_rows(other.m_rows),
      m_found(other.m_found),
      m_rank1(other.m_rank1),
      m_top10(other.m_top10),
      m_top20(other.m_top20),
      m_top30(other.m_top30),
      m_scoreSum(other.m_scoreSum) {}

CLibString CSummaryReport::GetTitleText() const {
  return LoadResourceString(IDS_SUMMARY_TITLE);
}
CLibString CSummaryReport::GetSecondText() const {
  return LoadResourceString(IDS_SUMMARY_TEXT2);
}
CLibString CSummaryReport::GetThirdText() const {
  return LoadResourceString(IDS_SUMMARY_TEXT3);
}

void CSummaryReport::AddHitsGrading(CSearchEngine& engine) {
  if (engine.GetName() != "Alta Vista" || engine.GetTotalHits() == 0) return;
  int total = engine.GetTotalHits();
  unsigned id = IDS_SUMMARY_HITS_FEW;
  if (total >= 250000) id = IDS_SUMMARY_HITS_MOST;
  else if (total >= 25000) id = IDS_SUMMARY_HITS_MANY;
  else if (total >= 5000) id = IDS_SUMMARY_HITS_SOME;
  auto* font = new CHtmlFont(kFace);
  font->AddText(LoadResourceString(id));
  m_body.AddOwned(font);
  m_body.AddOwned(new CHtmlParagraph());
}

void CSummaryReport::CountRank(int rank) {
  ++m_found;
  m_scoreSum += 101 - rank;
  if (rank == 1) ++m_rank1;
  if (rank <= 10) ++m_top10;
  else if (rank <= 20) ++m_top20;
  else if (rank <= 30) ++m_top30;
}

void CSummaryReport::AddEngine(CSearchEngine* engine) {
  if (!engine) return;
  if (++m_rows == 1) {
    WriteCommonHeader(engine, true);
    static const unsigned kCaptions[] = {IDS_COLUMN_ENGINE, IDS_COLUMN_COUNTRY,
                                         IDS_COLUMN_RANK,   IDS_COLUMN_PAGE,
                                         IDS_COLUMN_POSITION, IDS_COLUMN_RESULT};
    m_table->AddOwned(HeaderRow(kCaptions, 6));
  }
  AddHitsGrading(*engine);

  int rank = 0, page = 0, position = 0, n = 0;
  CLibString link;
  for (CListNode* node = engine->m_results.Head(); node; node = node->Next()) {
    auto* result = static_cast<CSearchResult*>(node->Payload());
    ++n;
    if (!result->m_matched) continue;
    if (link.GetLength() == 0) link = engine->GetResultLink(result->m_text);
    if (rank == 0) {
      rank = n;
      page = result->m_page + 1;
      position = result->m_position + 1;
    }
  }
  if (rank > 0) CountRank(rank);

  RankColours colours = RankChange(rank, engine->m_previousRank, m_palette);
  auto* row = new CHtmlTableRow(CHtmlElement::kLeft);
  row->SetVAlign(CHtmlElement::kTop);
  row->SetBgColor(colours.paper);
  row->AddOwned(EngineNameLink(*engine, colours.ink));
  row->AddOwned(DataFont(engine->GetCountry(), colours.ink));
  row->AddOwned(DataFont(rank == 1 ? m_prompt : colours.text, colours.ink));
  row->AddOwned(DataFont(CLibString(page), colours.ink));
  row->AddOwned(DataFont(CLibString(position), colours.ink));
  if (rank > 0) {
    row->AddOwned(ResultLinkCell(link, m_showTitle != 0));
  } else {
    int pages = 0, results = 0;
    PagesAndResults(*engine, pages, results);
    row->AddOwned(DataFont(NotFoundText(pages, results), colours.ink));
  }
  m_table->AddOwned(row);
}

CHtmlElement* CSummaryReport::MakeSummaryLines() const {
  auto* font = new CHtmlFont(kFace);
  if (m_rank1 > 0) {
    font->AddText(FormatText2(LoadResourceString(IDS_SUMMARY_FIRST_PLACES), m_prompt.c_str(),
                              m_rank1, m_rows));
    font->AddOwned(new CHtmlTagElement());
  }
  font->AddText(LoadResourceString(IDS_SUMMARY_LISTINGS_HEAD));
  auto* listings = new CHtmlList(CHtmlList::kBulleted);
  if (m_found > 0) {
    auto* text = new CHtmlString(FormatText(LoadResourceString(IDS_SUMMARY_FOUND), m_found, m_rows));
    listings->AddOwned(Item(text));
  }
  const int32_t counts[] = {m_top10, m_top20, m_top30};
  const unsigned places[] = {IDS_SUMMARY_TOP10, IDS_SUMMARY_TOP20, IDS_SUMMARY_TOP30};
  for (int i = 0; i < 3; ++i) {
    if (counts[i] == 0) continue;
    CLibString text = counts[i] == 1   ? LoadResourceString(IDS_SUMMARY_ONE_LISTING)
                      : counts[i] == 2 ? LoadResourceString(IDS_SUMMARY_TWO_LISTINGS)
                                       : FormatText(LoadResourceString(IDS_SUMMARY_LISTINGS), counts[i]);
    listings->AddOwned(Item(new CHtmlString(text + " " + LoadResourceString(places[i]))));
  }
  font->AddOwned(listings);
  font->AddOwned(new CHtmlParagraph());
  font->AddText(LoadResourceString(IDS_SUMMARY_SCORE_HEAD));
  auto* scores = new CHtmlList(CHtmlList::kBulleted);
  // Found is never 0 here: a listing in the first 30 places counts as found.
  const int32_t averages[] = {m_found > 0 ? m_scoreSum / m_found : 0,
                              m_rows > 0 ? m_scoreSum / m_rows : 0};
  const unsigned labels[] = {IDS_SUMMARY_SCORE_FOUND, IDS_SUMMARY_SCORE_ALL};
  for (int i = 0; i < 2; ++i) {
    auto* line = new CHtmlElementList();
    line->AddOwned(new CHtmlBold(CLibString(static_cast<int>(averages[i]))));
    line->AddText(" " + LoadResourceString(labels[i]));
    scores->AddOwned(Item(line));
  }
  font->AddOwned(scores);
  return font;
}

CHtmlElementList& CSummaryReport::Finish() {
  if (m_top10 != 0 || m_top20 != 0 || m_top30 != 0) {
    m_body.AddOwned(MakeSummaryLines());
    m_body.AddOwned(new CHtmlParagraph());
  }
  m_body.AddOwned(m_table.Release());
  m_body.AddOwned(new CHtmlParagraph());
  m_body.Add(m_userFooter);
  return m_body;
}
