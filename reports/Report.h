// CReport: the base of the seven HTML report kinds. It owns the report body, the user's own
// header and footer blocks and the program information, and builds what every kind shares:
// the title bar, the document lines and the site line. The rules several kinds share for their
// table rows (rank change and colours, the result link cell, the not-found text) are here too.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/html/HtmlContainer.h"
#include "foundation/html/HtmlTable.h"
#include "foundation/core/LibString.h"
#include "foundation/core/NVList.h"

class CSearchEngine;
class CHtmlFont;
namespace reportrows {
// The colours of the rank-change rule (see ReadRankPalette).
struct RankPalette {
  uint32_t siteInk = 0, sitePaper = 0, upInk = 0, upPaper = 0, downInk = 0, downPaper = 0;
};
}  // namespace reportrows
class CHtmlTableRow;

// A table a report fills row by row and finally hands to its body without copying it: the
// tables of a large document hold most of the page, and a copy costs as much as building them.
class CReportTable {
 public:
  CReportTable() : m_table(new CHtmlTable) {}
  CReportTable(const CReportTable& other)
      : m_table(static_cast<CHtmlTable*>(other.m_table->Clone())) {}
  CReportTable& operator=(const CReportTable&) = delete;
  CHtmlTable* operator->() const { return m_table.get(); }
  CHtmlTable& operator*() const { return *m_table; }
  // Gives the filled table away and starts an empty one with the same attributes.
  CHtmlTable* Release() {
    CHtmlTable* filled = m_table.release();
    m_table.reset(new CHtmlTable);
    m_table->SetAttributes(filled->GetAttributes());
    return filled;
  }

 private:
  std::unique_ptr<CHtmlTable> m_table;
};

// Stands in a page for an element that lives elsewhere (a report's body, which must outlive
// the page's printing), so the page is printed without copying the report into it.
class CHtmlElementRef : public CHtmlElement {
 public:
  explicit CHtmlElementRef(const CHtmlElement& target) : m_target(target) {}
  CHtmlElement* Clone() const override { return new CHtmlElementRef(m_target); }
  void Write(std::ostream& os) const override { m_target.Write(os); }

 private:
  const CHtmlElement& m_target;
};

class CReport {
 public:
  explicit CReport(const CNVList& programInfo);
  CReport(const CReport& other);
  CReport& operator=(const CReport&) = delete;

  // ---- virtual operations, in this order ----
  virtual ~CReport();
  virtual CReport* Clone() const;
  virtual CLibString GetTitleText() const;
  virtual CLibString GetSecondText() const;
  virtual CLibString GetThirdText() const;
  virtual int IsAvailable() const;
  virtual void AddEngine(CSearchEngine* engine);
  virtual CHtmlElementList& Finish();

  void SetLastRunText(const CLibString& text) { m_lastRunText = text; }
  void SetDocumentName(const CLibString& text) { m_documentName = text; }
  // The user's own HTML, put into the page as it stands.
  void SetUserHeader(const CLibString& text);
  void SetUserFooter(const CLibString& text);
  // The site line and the search term of the common header. The writers take them from the
  // document and the engine set, so that an engine without a stored record of its own still
  // gets them; when left empty, the engine's own are used.
  void SetSiteText(const CLibString& text) { m_siteText = text; }
  void SetSearchTerm(const CLibString& text) { m_searchTerm = text; }
  void WriteCommonHeader(CSearchEngine* engine, bool withSearchTerm);
  CHtmlElementList& GetBody() { return m_body; }

  // The maker's web site, with the partner number when the partner file gives one.
  const CLibString& GetMakerLink() const { return m_makerLink; }

  // ---- fields, in this order ----
  CLibString m_label;
  int32_t m_removeLogos = 0;
  int32_t m_showTitle = 0;

 protected:
  // Pieces the kinds build the same way.
  static CHtmlTable* NewTitleBar();
  CHtmlElement* MakeVersionCell() const;
  CHtmlElement* MakeSiteLine(CSearchEngine* engine) const;
  CLibString SiteTextOf(CSearchEngine* engine) const;
  CLibString SearchTermOf(CSearchEngine* engine) const;
  // The document-name and last-run lines (when not empty) into the font.
  void AddDocumentLines(CHtmlFont& font) const;

  CHtmlElementList m_body;
  CHtmlElementList m_userHeader;
  CHtmlElementList m_userFooter;
  CLibString m_lastRunText;
  CLibString m_documentName;
  CNVList m_programInfo;
  CLibString m_siteText;
  CLibString m_searchTerm;
  CLibString m_makerLink;
  reportrows::RankPalette m_palette;

 private:
  void BuildDefaultFooter();
};

// Shared row rules of the Summary, Keyword and Competitor kinds.
namespace reportrows {

constexpr const char* kFace = "Arial, Helvetica";
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kStripe = 0xFCFCB0;

// The six colours of the rank-change rule ("ZubrinText"/"ZubrinBk", "MovedUpText"/"MovedUpBk",
// "MovedDownText"/"MovedDownBk"), with the default of every pair whose colours are equal.
// A report reads them once when it is made: reading the registry for every row made large
// reports many times slower.
RankPalette ReadRankPalette();

struct RankColours {
  CLibString text;      // the rank text: "7" or "7 (+2)"
  int change = 0;       // positive: moved up
  uint32_t ink = 0;     // text colour, 0 = none
  uint32_t paper = 0;   // row background
};
// Rank r (0 = not found) against the previous rank p (-1 = none).
RankColours RankChange(int rank, int previous, const RankPalette& palette);

// A data font (FACE only) holding the text as data, with the colour when it is not 0.
CHtmlFont* DataFont(const CLibString& text, uint32_t ink = 0);
// A header row of white captions on black.
CHtmlTableRow* HeaderRow(const unsigned* ids, int count);
// The result link cell: a link to the link's target whose text is its title (show-title flag)
// or the target. The title is the result page's own markup, made safe.
CHtmlElement* ResultLinkCell(const CLibString& link, bool showTitle);
// String 3032 " (" 3034/3035/3037 with (pages, results) ")".
CLibString NotFoundText(int pages, int results);
// The page index of the last result + 1 (0 without results) and the result count.
void PagesAndResults(const CSearchEngine& engine, int& pages, int& results);
// The engine's name linked to its home page.
CHtmlElement* EngineNameLink(CSearchEngine& engine, uint32_t ink = 0);
// printf-style with one or two numbers (the language texts are formats).
CLibString FormatText(const CLibString& format, long a, long b = 0);
CLibString FormatText2(const CLibString& format, const char* a, long b, long c);

}  // namespace reportrows
