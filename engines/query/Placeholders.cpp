// CSearchEngine::SubstitutePlaceholders: the engine's query state written into a definition value.
#include "engines/query/Placeholders.h"

#include "engines/db/SearchEngine.h"
#include "engines/parse/TextReplace.h"
#include "foundation/cgi/CgiEnvironment.h"
#include "foundation/core/UrlCoder.h"

namespace {

// The coordinates a browser sends for a click on an image button; engines only check that the
// pair is there.
const char* const kImageClickX = "12";
const char* const kImageClickY = "5";

void ReplaceNumber(CLibString& text, const char* placeholder, long value) {
  if (text.Find(placeholder) > 0) text.Replace(placeholder, CLibString(value));
}

}  // namespace

CLibString BuildFieldQuery(const CNVList& fields) {
  CCgiEnvironment query;
  query.Copy(fields);
  // The values come from pages: one pass each, however many of them there are.
  std::string text = ReplaceAllOf(View(query.BuildQuery()), "%7c", "|");
  return ReplaceAllOf(text, "%5f", "_").c_str();
}

void CSearchEngine::SubstitutePlaceholders(CLibString& text, bool encodeKeywords) {
  if (text.FindChar('#') == 0) return;

  if (text.Find("#KEYWORDS#") > 0) {
    CLibString keywords = m_keywords;
    if (encodeKeywords) UrlEncode(keywords, GetKey(".charset"));
    text.Replace("#KEYWORDS#", keywords);
  }

  CEngineForm* form = m_forms ? &m_forms->Main() : nullptr;
  if (text.Find("#FORMNEXT#") > 0) {
    CLibString next;
    if (form && form->m_method.GetLength() > 0) next = form->m_method + " ";
    CLibString action = form ? form->m_action : CLibString();
    if (action.GetLength() == 0) {
      action = GetCurrentUrl().GetUrlWithoutQuery();
      int mark = action.FindChar('?');
      if (mark > 0) action.Truncate(mark - 1);
    }
    next += action + "?#ALLFORMFIELDS#&#ALLHIDDENFORMFIELDS#";
    text.Replace("#FORMNEXT#", next);
  }

  if (text.Find("#ALLFORMFIELDS#") > 0) {
    CLibString query;
    if (form) {
      // The last image button in name order is the one "clicked".
      CLibString button;
      form->m_images.ForEach([&](const CNVItem& item) { button = item.m_name; });
      if (button.GetLength() > 0) {
        form->m_fields.SetAt(button + ".x", kImageClickX);
        form->m_fields.SetAt(button + ".y", kImageClickY);
      }
      query = BuildFieldQuery(form->m_fields);
    }
    text.Replace("#ALLFORMFIELDS#", query);
  }
  if (text.Find("#ALLHIDDENFORMFIELDS#") > 0)
    text.Replace("#ALLHIDDENFORMFIELDS#", form ? BuildFieldQuery(form->m_hidden) : CLibString());

  long results = GetResultCount();
  ReplaceNumber(text, "#TOTALRESULTS#", results);
  ReplaceNumber(text, "#TOTALRESULTS+1#", results + 1);
  ReplaceNumber(text, "#FIRSTPAGERESULTS#", m_firstPageResults);
  // Before any page is parsed there is no amount yet; the text keeps the placeholder.
  if (m_pagesParsed > 0) ReplaceNumber(text, "#AMOUNTTOGET#", m_pagesParsed * 10L);
  ReplaceNumber(text, "#TOTALPAGES#", m_pagesParsed);
  ReplaceNumber(text, "#TOTALPAGES+1#", m_pagesParsed + 1L);

  if (text.Find("#NEXTURL#") > 0) {
    m_nextUrl = ReplaceAllOf(View(m_nextUrl), " ", "%20").c_str();
    if (m_nextUrl.GetLength() == 0) {
      // No next page: the request is empty, which ends the page loop.
      text = CLibString();
      return;
    }
    text.Replace("#NEXTURL#", m_nextUrl);
  }

  ReplaceNumber(text, "#MAXMATCHES#", m_maxResults);

  // Empty values leave their "&" behind; fold the runs and drop the tail, in one pass (the text
  // may hold a next-page address from a page).
  if (text.Find("&&") > 0) {
    std::string folded;
    for (const char* p = text.c_str(); *p; ++p)
      if (*p != '&' || folded.empty() || folded.back() != '&') folded += *p;
    text = folded.c_str();
  }
  text.TrimRight('&');
}
