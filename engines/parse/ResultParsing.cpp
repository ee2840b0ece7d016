// CSearchEngine::ParseResultsPage: one result page read with the engine's markers (the reading
// itself is CResultPageScanner's), the search form of the page kept for the next request, and the
// link that a next-page marker stands in taken as the next page's address.
#include <cstring>

#include "engines/parse/FormParser.h"
#include "engines/parse/LinkParser.h"
#include "engines/parse/PageAddress.h"
#include "engines/query/PageDump.h"
#include "engines/parse/ResultPageScanner.h"
#include "engines/db/SearchEngine.h"
#include "engines/parse/TagAttributes.h"

namespace {

constexpr int kMarkerCount = CResultMarkers::kCount;

// A directory whose pager writes its links as "<a class href=...>".
const char kClassHrefDirectory[] = "Ah-ha.com";

// ".startofpage", ".startofpage2" ... (the first without its number), or ".startmarker1" ...
CLibString KeyName(const char* key, int n, bool firstNumbered) {
  CLibString name(key);
  if (n > 1 || firstNumbered) name += CLibString(n);
  return name;
}

void ReadMarkers(const CSearchEngine& engine, CResultMarkers& m) {
  for (int i = 0; i < kMarkerCount; ++i) {
    int n = i + 1;
    m.startOfPage[i] = engine.GetKey(KeyName(".startofpage", n, false).c_str());
    m.endOfPage[i] = engine.GetKey(KeyName(".endofpage", n, false).c_str());
    m.start[i] = engine.GetKey(KeyName(".startmarker", n, true).c_str());
    m.stop[i] = engine.GetKey(KeyName(".stopmarker", n, true).c_str());
    m.include[i] = engine.GetKeyInt(KeyName(".includestart", n, true).c_str()) != 0;
    m.strip[i] = engine.GetKeyInt(KeyName(".stripstop", n, true).c_str()) != 0;
  }
  m.prepend = engine.GetKey(".prepend");
  m.append = engine.GetKey(".append");
  m.next[0] = engine.GetKey(".nextpagemarker1");
  m.next[1] = engine.GetKey(".nextpagemarker2");
  m.formStart[0] = engine.GetKey(".formstart");
  m.formStart[1] = engine.GetKey(".formstart2");
  m.formPosition = engine.GetKeyInt(".formposition");
  m.formChangeName = engine.GetKey(".formchangename1");
  m.formChangeValue = engine.GetKey(".formchangevalue1");
  const char* const arrayKeys[5] = {".iwonnextlink", ".iwontitles", ".iwonurls", ".iwonabstracts",
                                    ".iwonendofarray"};
  for (int i = 0; i < 5; ++i) m.arrays[i] = engine.GetKey(arrayKeys[i]);
}

void SubstituteMarkers(CSearchEngine& engine, CResultMarkers& m) {
  for (int i = 0; i < kMarkerCount; ++i) {
    engine.SubstitutePlaceholders(m.startOfPage[i], true);
    engine.SubstitutePlaceholders(m.endOfPage[i], true);
    engine.SubstitutePlaceholders(m.start[i], true);
    engine.SubstitutePlaceholders(m.stop[i], true);
    m.startLength[i] = m.start[i].GetLength();
    m.stopLength[i] = m.stop[i].GetLength();
  }
  engine.SubstitutePlaceholders(m.prepend, true);
  engine.SubstitutePlaceholders(m.append, true);
}

// The page's text from first to last, last excluded.
CLibString Cut(const char* page, int first, int last) {
  return last > first ? CLibString(page + first, page + last - 1) : CLibString();
}

// The first "</a" or "</A" at or after p; -1 when none.
int AnchorClose(const char* page, int p) {
  for (const char* s = strchr(page + p, '<'); s; s = strchr(s + 1, '<'))
    if (s[1] == '/' && (s[2] == 'a' || s[2] == 'A')) return static_cast<int>(s - page);
  return -1;
}

}  // namespace

int32_t CSearchEngine::ParseResultsPage() {
  CEngineForm* form = m_forms ? &m_forms->Main() : nullptr;
  if (form) {
    form->m_fields.RemoveAll();
    form->m_hidden.RemoveAll();
  }
  CResultMarkers markers;
  ReadMarkers(*this, markers);
  m_nextUrl = CLibString();
  m_nextLinkFound = 0;
  ++m_pagesParsed;
  SubstituteMarkers(*this, markers);

  // The next request may be this page's search form sent again with a field changed.
  if (form && (markers.formStart[0].GetLength() > 0 || markers.formStart[1].GetLength() > 0)) {
    CNVList changes;
    if (markers.formChangeName.GetLength() > 0)
      changes.SetAt(markers.formChangeName, markers.formChangeValue);
    int fields = 0;
    if (markers.formStart[0].GetLength() > 0)
      fields =
          ParseForm(*this, markers.formStart[0], markers.formPosition, m_pageText, *form, changes);
    if (fields == 0 && markers.formStart[1].GetLength() > 0)
      ParseForm(*this, markers.formStart[1], markers.formPosition, m_pageText, *form, changes);
  }

  if (m_debug)
    WritePageDump(GetName(), ".FullPage." + CLibString(m_pagesParsed) + ".htm", m_pageText);

  // The scan reads its own copy: the result handler reports to the run, which must not pull the
  // page from under it.
  const CLibString page = m_pageText;
  CResultPageScanner scanner(*this, markers, page.c_str());
  m_nextLinkMemo = NextLinkMemo();
  m_nextLinkMemo.page = m_pageText.c_str();
  m_nextLinkMemo.length = m_pageText.GetLength();
  int32_t blocks = scanner.Scan();

  // Next-page markers that count results ("[#TOTALRESULTS+1#-") can only be matched now that
  // this page's results are counted.
  if (!m_nextLinkFound && (markers.next[0].GetLength() > 0 || markers.next[1].GetLength() > 0) &&
      !IsAborted()) {
    CLibString next1 = GetKey(".nextpagemarker1");
    CLibString next2 = GetKey(".nextpagemarker2");
    if (next1.FindChar('#') > 0 || next2.FindChar('#') > 0) {
      SubstitutePlaceholders(next1, true);
      SubstitutePlaceholders(next2, true);
      scanner.ScanForNextLink(next1, next2);
    }
  }
  m_nextLinkMemo = NextLinkMemo();
  return blocks;
}

void CSearchEngine::TakeNextPageLink(int position, int lastLinkOpening, bool marker1Seen,
                                     bool marker2Seen, int marker1Length, int marker2Length) {
  if (m_nextLinkFound || lastLinkOpening < 0) return;
  const char* page = m_pageText.c_str();
  // Outside a parse (or when the page was replaced meanwhile) nothing learnt before holds.
  NextLinkMemo fresh;
  NextLinkMemo& memo = m_nextLinkMemo.page == page ? m_nextLinkMemo : fresh;
  if (!memo.page) {
    memo.page = page;
    memo.length = static_cast<int>(strlen(page));
  }
  if (lastLinkOpening >= memo.length || lastLinkOpening == memo.refused) return;
  if (memo.opening != lastLinkOpening) {
    // A tag never closed ends before the next tag, as a browser reads it.
    memo.opening = lastLinkOpening;
    memo.tagEnd = static_cast<int>(
        FindTagEnd(page, static_cast<size_t>(memo.length), static_cast<size_t>(lastLinkOpening)));
  }
  const int tagEnd = memo.tagEnd;
  // The closing tag found last holds for every later link that opens before it.
  const int from = tagEnd + 1;
  if (memo.closeFrom < 0 || from < memo.closeFrom || (memo.close >= 0 && from > memo.close)) {
    memo.closeFrom = from;
    memo.close = AnchorClose(page, from);
  }
  const int close = memo.close;
  if (close < 0) return;
  int markerLength = marker1Seen ? marker1Length : (marker2Seen ? marker2Length : 0);
  // The marker must have begun inside the link: no later than just past the "<" of its "</a".
  if (position - markerLength > close) return;

  CLibString tag = Cut(page, lastLinkOpening, tagEnd + 1);
  if (GetName() == kClassHrefDirectory) tag.Replace("<a class href", "<a href");
  // A pager's "javascript:" or "mailto:" link, or an anchor without an address, leads to no
  // page; a later link may.
  CLibString href = ExtractHref(tag);
  if (href.GetLength() == 0 || !IsWebAddress(href)) {
    memo.refused = lastLinkOpening;
    return;
  }
  m_nextLinkFound = 1;
  m_nextUrl = href;
  if (m_debug)
    WritePageDump(GetName(), ".mNextURL" + CLibString(m_pagesParsed) + ".txt", m_nextUrl);
}
