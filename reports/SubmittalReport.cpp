#include "reports/SubmittalReport.h"

#include "engines/db/EngineServices.h"
#include "engines/db/SearchEngine.h"
#include "foundation/html/HtmlTags.h"
#include "resources/resource.h"

using namespace reportrows;

namespace {

CHtmlElement* DateCell(int32_t day) {
  if (day == 0) return new CHtmlString("&nbsp;", 0);
  return DataFont(FormatDate(CDate(day)));
}

CHtmlElement* OutcomeFont(const CLibString& text, uint32_t ink) {
  auto* font = new CHtmlFont(kFace, 0, ink);
  font->AddText(text);
  return font;
}

}  // namespace

CSubmittalReport::CSubmittalReport(const CNVList& programInfo) : CReport(programInfo) {
  m_table->SetBorder(0);
  m_table->SetCellPadding(5);
  m_table->SetCellSpacing(0);
}

CSubmittalReport::CSubmittalReport(const CSubmittalReport& other)
    : CReport(other),
      m_table(other.m_table),
      m_rows(other.m_rows),
      m_successes(other.m_successes),
      m_failures(other.m_failures) {}

CLibString CSubmittalReport::GetTitleText() const {
  return LoadResourceString(IDS_SUBMITTAL_TITLE);
}
CLibString CSubmittalReport::GetSecondText() const {
  return LoadResourceString(IDS_SUBMITTAL_TEXT2);
}
CLibString CSubmittalReport::GetThirdText() const {
  return LoadResourceString(IDS_SUBMITTAL_TEXT3);
}

void CSubmittalReport::AddEngine(CSearchEngine* engine) {
  if (!engine) return;
  if (++m_rows == 1) {
    WriteCommonHeader(engine, false);
    static const unsigned kCaptions[] = {
        IDS_COLUMN_ENGINE,         IDS_COLUMN_COUNTRY,        IDS_COLUMN_SUBMISSIONS,
        IDS_COLUMN_FIRST_SUBMITTED, IDS_COLUMN_LAST_SUBMITTED, IDS_COLUMN_OUTCOME,
        IDS_COLUMN_RESULT};
    m_table->AddOwned(HeaderRow(kCaptions, 7));
  }
  auto* row = new CHtmlTableRow(CHtmlElement::kLeft);
  row->SetVAlign(CHtmlElement::kTop);
  row->SetBgColor(kWhite);
  row->AddOwned(EngineNameLink(*engine));
  row->AddOwned(DataFont(engine->GetCountry()));
  row->AddOwned(DataFont(CLibString(static_cast<int>(engine->m_submitCount))));
  row->AddOwned(DateCell(engine->m_firstSubmitDate));
  row->AddOwned(DateCell(engine->m_lastSubmitDate));
  if (engine->m_lastVisitDate != 0) {
    row->AddOwned(DateCell(engine->m_lastVisitDate));
    if (engine->m_submitted) {
      ++m_successes;
      row->AddOwned(OutcomeFont(LoadResourceString(IDS_SUBMITTAL_ACCEPTED), 0x00FF00));
    } else {
      ++m_failures;
      row->AddOwned(OutcomeFont(LoadResourceString(IDS_SUBMITTAL_FAILED), 0xFF0000));
    }
  } else {
    row->AddOwned(DataFont("Not yet submitted"));
    row->AddOwned(new CHtmlString("&nbsp;", 0));
  }
  m_table->AddOwned(row);
}

CHtmlElementList& CSubmittalReport::Finish() {
  auto* font = new CHtmlFont(kFace);
  const unsigned ids[] = {IDS_SUBMITTAL_ROWS, IDS_SUBMITTAL_SUCCESSES, IDS_SUBMITTAL_FAILURES,
                          IDS_SUBMITTAL_WAITING};
  const long values[] = {m_rows, m_successes, m_failures, m_rows - m_successes - m_failures};
  for (int i = 0; i < 4; ++i) {
    font->AddText(FormatText(LoadResourceString(ids[i]), values[i]));
    font->AddOwned(new CHtmlTagElement());
  }
  if (m_rows > 0) {
    font->AddText(FormatText(LoadResourceString(IDS_SUBMITTAL_RATE), m_successes * 100L / m_rows));
    font->AddOwned(new CHtmlTagElement());
  }
  m_body.AddOwned(font);
  m_body.AddOwned(new CHtmlParagraph());
  m_body.AddOwned(m_table.Release());
  m_body.Add(m_userFooter);
  return m_body;
}
