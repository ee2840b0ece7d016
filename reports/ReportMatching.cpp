#include "reports/ReportMatching.h"

#include "engines/sets/RankMatcher.h"
#include "engines/db/SearchEngine.h"

SiteRank FindSiteRank(CSearchEngine& engine, const CLibString& siteUrls) {
  SiteRank out;
  if (SplitUrlTokens(siteUrls)->empty()) return out;
  const int mode = GetMatchRestrict();
  for (CListNode* node = engine.m_results.Head(); node; node = node->Next()) {
    CSearchResult copy = *static_cast<CSearchResult*>(node->Payload());
    if (!ResultMatchesUrls(engine, copy, siteUrls, mode)) continue;
    out.rank = copy.m_index + 1;
    out.page = copy.m_page + 1;
    out.position = copy.m_position + 1;
    out.address = engine.GetResultUrl(copy.m_text, false);
    break;
  }
  return out;
}

void RestoreMatchedAddresses(CSearchEngine& engine, const CLibString& siteUrls) {
  const int mode = GetMatchRestrict();
  for (CListNode* node = engine.m_results.Head(); node; node = node->Next()) {
    auto* record = static_cast<CSearchResult*>(node->Payload());
    if (!record->m_matched || record->m_matchedText.GetLength() > 0) continue;
    CSearchResult copy = *record;
    if (ResultMatchesUrls(engine, copy, siteUrls, mode)) record->m_matchedText = copy.m_matchedText;
  }
}
