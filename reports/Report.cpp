#include "reports/Report.h"

#include <windows.h>

#include <cstdio>

#include "engines/db/EngineServices.h"
#include "engines/db/SearchEngine.h"
#include "foundation/html/HtmlTable.h"
#include "foundation/html/HtmlTags.h"
#include "reports/ReportHtml.h"
#include "resources/resource.h"

using namespace reportrows;

namespace {

const char kMakerSite[] = "http://www.orvandel-labs.com";

// The partner number of a branded installation: partner.dat beside the report module when one
// is loaded, else in the current folder.
int ReadPartnerNumber() {
  char path[MAX_PATH] = ".\\partner.dat";
  if (HMODULE module = GetModuleHandleA("zubrrep.dll")) {
    char modulePath[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(module, modulePath, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
      char* slash = strrchr(modulePath, '\\');
      if (slash) {
        slash[1] = 0;
        snprintf(path, sizeof path, "%spartner.dat", modulePath);
      }
    }
  }
  return static_cast<int>(GetPrivateProfileIntA("General", "PartnerID", 0, path));
}

// The domain endings that make a word of the site line a site address, tested in this order.
const char* const kSiteEndings[] = {".co", ".org", ".biz", ".tv",  ".cc",
                                    ".ws", ".bz",  ".info", ".gov", ".edu"};

bool LooksLikeSite(const CLibString& word) {
  for (const char* ending : kSiteEndings)
    if (word.Find(ending) > 0) return true;
  return false;
}

}  // namespace

CReport::CReport(const CNVList& programInfo) : m_programInfo(programInfo) {
  m_makerLink = kMakerSite;
  m_palette = ReadRankPalette();
  int partner = ReadPartnerNumber();
  if (partner != 0) m_makerLink += "/cgi-bin/click.cgi?id=" + CLibString(partner);
  BuildDefaultFooter();
}

CReport::CReport(const CReport& other)
    : m_label(other.m_label),
      m_removeLogos(other.m_removeLogos),
      m_showTitle(other.m_showTitle),
      m_userHeader(other.m_userHeader),
      m_userFooter(other.m_userFooter),
      m_lastRunText(other.m_lastRunText),
      m_documentName(other.m_documentName),
      m_programInfo(other.m_programInfo),
      m_siteText(other.m_siteText),
      m_searchTerm(other.m_searchTerm),
      m_makerLink(other.m_makerLink),
      m_palette(other.m_palette) {}

CReport::~CReport() = default;

CReport* CReport::Clone() const {
  return new CReport(*this);
}

CLibString CReport::GetTitleText() const {
  return "Undefined";
}
CLibString CReport::GetSecondText() const {
  return "Undefined";
}
CLibString CReport::GetThirdText() const {
  return "Undefined";
}
int CReport::IsAvailable() const {
  return 0;
}

void CReport::AddEngine(CSearchEngine*) {
  m_body.AddOwned(new CHtmlBold("No report available"));
}

CHtmlElementList& CReport::Finish() {
  return m_body;
}

void CReport::BuildDefaultFooter() {
  m_userFooter.RemoveAll();
  m_userFooter.AddOwned(new CHtmlRule());
  auto* bold = new CHtmlBold();
  auto* font = new CHtmlFont(kFace, -1);
  font->AddOwned(new CHtmlAnchor(m_makerLink, "ZBPro"));
  font->AddOwned(new CHtmlTagElement());
  font->AddText(LoadResourceString(IDS_REPORT_FOOTER));
  bold->AddOwned(font);
  auto* center = new CHtmlCenter();
  center->AddOwned(bold);
  m_userFooter.AddOwned(center);
}

void CReport::SetUserHeader(const CLibString& text) {
  m_userHeader.RemoveAll();
  m_userHeader.AddOwned(new CHtmlTextElement(text));
}

void CReport::SetUserFooter(const CLibString& text) {
  m_userFooter.RemoveAll();
  m_userFooter.AddOwned(new CHtmlTextElement(text));
}

CHtmlElement* CReport::MakeVersionCell() const {
  auto* cell = new CHtmlTableCell(CHtmlElement::kRight);
  auto* font = new CHtmlFont(kFace, -6, kWhite);
  font->AddText(m_programInfo.GetValue("Ver"));
  cell->AddOwned(new CHtmlAnchor(m_makerLink, *font));
  delete font;
  cell->AddHtml("&nbsp;");
  return cell;
}

CLibString CReport::SiteTextOf(CSearchEngine* engine) const {
  if (m_siteText.GetLength() > 0 || !engine) return m_siteText;
  return engine->m_urlToFind;
}

CLibString CReport::SearchTermOf(CSearchEngine* engine) const {
  if (m_searchTerm.GetLength() > 0 || !engine) return m_searchTerm;
  return engine->m_keywords;
}

// The site line's words: site addresses become bold links, other words bold text.
CHtmlElement* CReport::MakeSiteLine(CSearchEngine* engine) const {
  auto* line = new CHtmlElementList();
  CLibString rest = SiteTextOf(engine);
  const char* p = rest.c_str();
  while (*p) {
    while (*p == ' ') ++p;
    const char* start = p;
    while (*p && *p != ' ') ++p;
    if (p == start) break;
    CLibString word(start, p - 1);
    line->AddText(" ");
    if (LooksLikeSite(word)) {
      CLibString target = word.Left(4) == "http" ? word : CLibString("http://") + word;
      auto* bold = new CHtmlBold(word);
      line->AddOwned(new CHtmlAnchor(reporthtml::SafeTarget(target), *bold));
      delete bold;
    } else {
      line->AddOwned(new CHtmlBold(word));
    }
  }
  return line;
}

void CReport::AddDocumentLines(CHtmlFont& font) const {
  if (m_documentName.GetLength() > 0) {
    font.AddText(LoadResourceString(IDS_REPORT_DOCUMENT) + ": ");
    font.AddOwned(new CHtmlBold(m_documentName));
    font.AddOwned(new CHtmlTagElement());
  }
  if (m_lastRunText.GetLength() > 0) {
    font.AddText(LoadResourceString(IDS_REPORT_LAST_RUN) + ": ");
    font.AddOwned(new CHtmlBold(m_lastRunText));
    font.AddOwned(new CHtmlTagElement());
  }
}

// The red full-width bar that carries a report's or an engine's title.
CHtmlTable* CReport::NewTitleBar() {
  auto* bar = new CHtmlTable();
  bar->SetBgColor(0xFF0000);
  bar->SetWidth("100", true);
  bar->SetBorder(0);
  bar->SetCellPadding(5);
  bar->SetCellSpacing(0);
  return bar;
}

void CReport::WriteCommonHeader(CSearchEngine* engine, bool withSearchTerm) {
  m_body.Add(m_userHeader);
  CHtmlTable* bar = NewTitleBar();
  auto* row = new CHtmlTableRow();
  auto* title = new CHtmlFont(kFace, 1, kWhite);
  title->AddText(GetTitleText());
  row->AddOwned(title);
  row->AddOwned(MakeVersionCell());
  bar->AddOwned(row);

  auto* font = new CHtmlFont(kFace);
  AddDocumentLines(*font);
  font->AddText(LoadResourceString(IDS_REPORT_SITE) + ": ");
  font->AddOwned(MakeSiteLine(engine));
  if (withSearchTerm) {
    font->AddOwned(new CHtmlTagElement());
    font->AddText(LoadResourceString(IDS_REPORT_SEARCH_TERM) + " ");
    font->AddOwned(new CHtmlBold(SearchTermOf(engine)));
    font->AddOwned(new CHtmlTagElement());
  }
  m_body.AddOwned(bar);
  m_body.AddOwned(font);
  m_body.AddOwned(new CHtmlParagraph());
}

// ---- shared row rules ----
namespace reportrows {

namespace {
// A pair of colours from the settings, with its default when both are the same (or missing).
void ReadPair(const char* inkName, const char* paperName, uint32_t defaultInk,
              uint32_t defaultPaper, uint32_t& ink, uint32_t& paper) {
  ink = GetColourSetting(inkName);
  paper = GetColourSetting(paperName);
  if (ink == paper) {
    ink = defaultInk;
    paper = defaultPaper;
  }
}
}  // namespace

RankPalette ReadRankPalette() {
  RankPalette p;
  ReadPair("ZubrinText", "ZubrinBk", 0, 0x00FF00, p.siteInk, p.sitePaper);
  ReadPair("MovedUpText", "MovedUpBk", 0x00FF00, kWhite, p.upInk, p.upPaper);
  ReadPair("MovedDownText", "MovedDownBk", 0xFF0000, kWhite, p.downInk, p.downPaper);
  return p;
}

RankColours RankChange(int rank, int previous, const RankPalette& palette) {
  RankColours out;
  if (previous == -1) {
    out.change = 0;
  } else if (rank == 0) {
    out.change = -previous;
  } else if (previous == 0) {
    out.change = rank;
  } else {
    out.change = previous - rank;
  }
  char text[48];
  if (out.change == 0) snprintf(text, sizeof text, "%d", rank);
  else snprintf(text, sizeof text, "%d (%+d)", rank, out.change);
  out.text = text;
  if (rank == 1) {
    out.ink = palette.siteInk;
    out.paper = palette.sitePaper;
  } else if (out.change > 0) {
    out.ink = palette.upInk;
    out.paper = palette.upPaper;
  } else if (out.change < 0) {
    out.ink = palette.downInk;
    out.paper = palette.downPaper;
  } else {
    out.ink = 0;
    out.paper = kWhite;
  }
  return out;
}

CHtmlFont* DataFont(const CLibString& text, uint32_t ink) {
  auto* font = new CHtmlFont(kFace, 0, ink != 0 ? ink : CHtmlElement::kNoColor);
  font->AddText(text);
  return font;
}

CHtmlTableRow* HeaderRow(const unsigned* ids, int count) {
  auto* row = new CHtmlTableRow();
  row->SetBgColor(0);
  for (int i = 0; i < count; ++i) {
    auto* font = new CHtmlFont(kFace, 0, kWhite);
    font->AddText(LoadResourceString(ids[i]));
    row->AddOwned(font);
  }
  return row;
}

CHtmlElement* ResultLinkCell(const CLibString& link, bool showTitle) {
  CLibString target = reporthtml::SafeTarget(reporthtml::LinkTarget(link));
  auto* anchor = new CHtmlAnchor(target, CLibString());
  if (showTitle) {
    std::string title = reporthtml::SanitizeHtml(reporthtml::LinkTitle(link).c_str());
    anchor->AddHtml(title.c_str());
  } else {
    anchor->AddText(target);
  }
  return anchor;
}

CLibString FormatText(const CLibString& format, long a, long b) {
  char text[1024];
  snprintf(text, sizeof text, format.c_str(), a, b);
  return text;
}

CLibString FormatText2(const CLibString& format, const char* a, long b, long c) {
  char text[1024];
  snprintf(text, sizeof text, format.c_str(), a, b, c);
  return text;
}

void PagesAndResults(const CSearchEngine& engine, int& pages, int& results) {
  results = static_cast<int>(engine.m_results.GetCount());
  pages = 0;
  if (CListNode* last = engine.m_results.Tail())
    pages = static_cast<CSearchResult*>(last->Payload())->m_page + 1;
}

CLibString NotFoundText(int pages, int results) {
  unsigned id = IDS_REPORT_FOUND_PAGES;
  if (pages == 1 && results == 1) id = IDS_REPORT_FOUND_ONE;
  else if (pages == 1 && results > 1) id = IDS_REPORT_FOUND_ONE_PAGE;
  return LoadResourceString(IDS_REPORT_NOT_FOUND) + " (" +
         FormatText(LoadResourceString(id), pages, results) + ")";
}

CHtmlElement* EngineNameLink(CSearchEngine& engine, uint32_t ink) {
  CHtmlFont* font = DataFont(CLibString(), ink);
  font->AddOwned(new CHtmlAnchor(reporthtml::HttpLink(engine.GetHomePage()),
                                 engine.GetName()));
  return font;
}

}  // namespace reportrows
