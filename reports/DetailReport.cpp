#include "reports/DetailReport.h"

#include "engines/db/EngineServices.h"
#include "engines/db/SearchEngine.h"
#include "foundation/html/HtmlTable.h"
#include "foundation/html/HtmlTags.h"
#include "reports/ReportHtml.h"
#include "resources/resource.h"

using namespace reportrows;

namespace {
const char kEliminated[] = "Non-matching result eliminated by program <B>Options</B> setting.";
}

CLibString CDetailReport::GetTitleText() const {
  return LoadResourceString(IDS_DETAIL_TITLE);
}
CLibString CDetailReport::GetSecondText() const {
  return LoadResourceString(IDS_DETAIL_TEXT2);
}
CLibString CDetailReport::GetThirdText() const {
  return LoadResourceString(IDS_DETAIL_TEXT3);
}

void CDetailReport::AddTitleBar(CSearchEngine& engine) {
  CHtmlTable* bar = NewTitleBar();
  auto* row = new CHtmlTableRow();
  auto* title = new CHtmlFont(kFace, 1, kWhite);
  title->AddText(LoadResourceString(IDS_DETAIL_RESULTS_FROM) + " ");
  auto* name = new CHtmlFont(kFace, 1, kWhite);
  name->AddText(engine.GetName());
  title->AddOwned(new CHtmlAnchor(reporthtml::HttpLink(engine.GetHomePage()),
                                  *name));
  delete name;
  row->AddOwned(title);
  CLibString addPage = engine.GetAddPage();
  if (addPage.GetLength() > 0) {
    auto* text = new CHtmlFont(kFace, -1, kWhite);
    text->AddText(LoadResourceString(IDS_DETAIL_ADD_URL));
    auto* link = new CHtmlAnchor(reporthtml::HttpLink(addPage), *text);
    delete text;
    auto* bold = new CHtmlBold();
    bold->AddOwned(link);
    row->AddOwned(bold);
  } else {
    row->AddOwned(new CHtmlString("&nbsp;", 0));
  }
  row->AddOwned(MakeVersionCell());
  bar->AddOwned(row);
  m_body.AddOwned(bar);
}

void CDetailReport::AddLogo(CSearchEngine& engine) {
  if (m_removeLogos) return;
  CLibString logo = engine.GetKey(".logourl");
  if (logo.GetLength() == 0) return;
  logo = reporthtml::HttpLink(logo);
  m_body.AddOwned(new CHtmlTagElement());
  CHtmlImage image(logo);
  image.SetBorder(0);
  m_body.AddOwned(
      new CHtmlAnchor(reporthtml::HttpLink(engine.GetHomePage()), image));
  m_body.AddOwned(new CHtmlParagraph());
}

void CDetailReport::AddDocumentBlock(CSearchEngine& engine) {
  auto* font = new CHtmlFont(kFace);
  AddDocumentLines(*font);
  font->AddText(LoadResourceString(IDS_REPORT_SITE) + ": ");
  font->AddOwned(MakeSiteLine(&engine));
  font->AddOwned(new CHtmlTagElement());
  font->AddText(LoadResourceString(IDS_REPORT_SEARCH_TERM) + ": ");
  font->AddOwned(new CHtmlBold(SearchTermOf(&engine)));
  font->AddOwned(new CHtmlTagElement());
  m_body.AddOwned(font);
  m_body.AddOwned(new CHtmlTagElement());
}

CHtmlElement* CDetailReport::MakeResultsFont(CSearchEngine& engine, int matches) {
  int pages = 0, results = 0;
  PagesAndResults(engine, pages, results);
  unsigned heading = IDS_DETAIL_PAGES;
  if (pages == 1 && results == 1) heading = IDS_DETAIL_ONE_RESULT;
  else if (pages == 1 && results > 1) heading = IDS_DETAIL_ONE_PAGE;
  auto* font = new CHtmlFont(kFace);
  font->AddText(FormatText(LoadResourceString(heading), pages, results));
  font->AddOwned(new CHtmlParagraph());
  if (matches == 0) {
    font->AddText(LoadResourceString(IDS_DETAIL_NO_MATCH));
  } else {
    font->AddOwned(new CHtmlAnchor(CLibString(), LoadResourceString(IDS_DETAIL_FIRST_MATCH), "L1"));
    font->AddText(" ");
    if (matches == 1) font->AddText(LoadResourceString(IDS_DETAIL_ONE_MATCH));
    else if (matches == 2) font->AddText(LoadResourceString(IDS_DETAIL_TWO_MATCHES));
    else font->AddText(FormatText(LoadResourceString(IDS_DETAIL_MATCHES), matches));
  }
  font->AddOwned(new CHtmlParagraph());
  return font;
}

void CDetailReport::AddPageSection(CReportTable& table, int page, bool named) {
  if (named) m_body.AddOwned(new CHtmlNamedAnchor("P" + CLibString(page)));
  auto* font = new CHtmlFont(kFace);
  font->AddText(LoadResourceString(IDS_COLUMN_PAGE) + " " + CLibString(page));
  m_body.AddOwned(font);
  m_body.AddOwned(new CHtmlRule());
  m_body.AddOwned(new CHtmlTagElement());
  m_body.AddOwned(table.Release());
  m_body.AddOwned(new CHtmlParagraph());
}

void CDetailReport::AddEngine(CSearchEngine* engine) {
  if (!engine) return;
  m_body.Add(m_userHeader);
  AddTitleBar(*engine);
  AddLogo(*engine);
  AddDocumentBlock(*engine);

  int matches = 0;
  for (CListNode* n = engine->m_results.Head(); n; n = n->Next())
    if (static_cast<CSearchResult*>(n->Payload())->m_matched) ++matches;
  m_body.AddOwned(MakeResultsFont(*engine, matches));

  CReportTable table;
  table->SetBorder(0);
  table->SetCellPadding(3);
  table->SetCellSpacing(5);
  const std::string term = SearchTermOf(engine).c_str();
  int page = 0, match = 0;
  for (CListNode* n = engine->m_results.Head(); n; n = n->Next()) {
    auto* result = static_cast<CSearchResult*>(n->Payload());
    if (result->m_page != page) {
      AddPageSection(table, page + 1, true);
      page = result->m_page;
    }
    auto* cell = new CHtmlTableCell(CHtmlElement::kLeft);
    cell->SetVAlign(CHtmlElement::kTop);
    if (result->m_matched) {
      cell->SetBgColor(kStripe);
      cell->AddOwned(new CHtmlNamedAnchor("L" + CLibString(++match)));
    }
    if (result->m_text.GetLength() == 0) {
      cell->AddHtml(kEliminated);
    } else {
      // The block is the result page's own markup: kept, but made safe before it is marked.
      std::string html = reporthtml::SanitizeHtml(result->m_text.c_str());
      cell->AddHtml(reporthtml::HighlightTerm(html, term).c_str());
    }
    auto* row = new CHtmlTableRow();
    row->AddOwned(cell);
    table->AddOwned(row);
  }
  if (engine->m_results.GetCount() > 0) AddPageSection(table, page + 1, false);
  m_body.AddOwned(new CHtmlParagraph());
  m_body.Add(m_userFooter);
}
