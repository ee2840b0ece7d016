// CSearchEngine: the result records of a query (one per result block of a result page), the
// following of result links, and the begin and end events of an engine's run.
#include <cctype>
#include <cstring>
#include <new>

#include "engines/parse/LinkParser.h"
#include "engines/parse/PageAddress.h"
#include "engines/query/RequestGeneration.h"
#include "engines/parse/ResultHtml.h"
#include "engines/db/SearchEngine.h"
#include "engines/parse/TagAttributes.h"
#include "engines/parse/TextReplace.h"
#include "foundation/core/UrlCoder.h"

namespace {

// Engines whose result links go through their own redirect pages; the block gets the address
// the redirect leads to, so that the site can be recognised in it.
const char* const kRedirectingEngines[] = {"iWon Web Sites", "InfoSpace", nullptr};
const char kSearchRedirectPath[] = "/d/search-redirect";
// The redirect of the pay-per-click engine whose listings those engines mix into their results.
const char kPayPerClickRedirect[] = "www.ppc-listings.example/d/sr?";
// A directory that puts a mail link before the link of each listing.
const char kMailLinkEngine[] = "Infopoint";

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// "<a" or "<A" opening an anchor tag ("<a href", "<a>"), not "<abbr>" or "<address>".
bool IsAnchorStart(const char* p) {
  return p[0] == '<' && (p[1] == 'a' || p[1] == 'A') && (IsSpace(p[2]) || p[2] == '>');
}

const char* FindAnchorStart(const char* p) {
  for (p = strchr(p, '<'); p; p = strchr(p + 1, '<'))
    if (IsAnchorStart(p)) return p;
  return nullptr;
}

// The first "</a>" in any case at or after p.
const char* FindAnchorClose(const char* p) {
  for (p = strchr(p, '<'); p; p = strchr(p + 1, '<'))
    if (p[1] == '/' && (p[2] == 'a' || p[2] == 'A') && p[3] == '>') return p;
  return nullptr;
}

bool StartsWithNoCase(const CLibString& text, const char* prefix) {
  return strncmp(text.Left(static_cast<int>(strlen(prefix))).Lower().c_str(), prefix,
                 strlen(prefix)) == 0;
}

bool IsRedirectingEngine(const CLibString& name) {
  for (const char* const* engine = kRedirectingEngines; *engine; ++engine)
    if (name == *engine) return true;
  return false;
}

// The address a result link finally leads to, redirects followed; empty when there is no link,
// it cannot be read, or the run is being stopped (a stopped run waits for no further server).
CLibString FollowResultAddress(CSearchEngine& engine, const CLibString& address) {
  if (address.GetLength() == 0 || engine.IsAborted()) return CLibString();
  // A mail or script link leads to no page: nothing is asked of the network for it.
  if (!IsWebAddress(address)) return CLibString();
  // Result links are often written relative to the result page.
  CLibString url;
  SplitRequest(engine.ResolveUrl(address), &url, nullptr);
  return ResolveFinalUrl(engine, url);
}

}  // namespace

void CSearchEngine::OnBegin() {
  RaiseEvent(kEngineBegin);
}

void CSearchEngine::OnEnd() {
  RaiseEvent(kEngineEnd);
}

int32_t CSearchEngine::FollowResultLinks(const CLibString& blockText) {
  CSearchResult* record = new (std::nothrow) CSearchResult;
  CListNode* node = record ? new (std::nothrow) CListNode(record) : nullptr;
  if (!node) {
    delete record;
    return m_pageResults;
  }
  record->m_index = GetResultCount();
  record->m_page = m_pageIndex;
  record->m_position = m_pageResults;
  record->m_text = SimplifyResultHtml(blockText);

  const bool follow = GetKeyInt(".followresulthlinks") != 0;
  const bool redirecting = IsRedirectingEngine(GetName());
  CLibString address;
  if (follow || redirecting) {
    address = GetResultUrl(record->m_text, false);
    if (address.GetLength() == 0) address = FindLink(record->m_text, CLibString(), 0);
    if (follow) {
      // The address reached goes into the block as a comment: the rank matching reads the
      // block's text, and the reports show no comment.
      CLibString reached = FollowResultAddress(*this, address);
      if (reached.GetLength() > 0) record->m_text += "<!--" + reached + "-->";
    }
  }

  // The run may recognise the site in it at once (and stop the engine).
  RaiseEvent(kEngineResultFound, reinterpret_cast<uintptr_t>(record));

  if (redirecting && address.GetLength() > 0 &&
      (record->m_text.Find(kSearchRedirectPath) > 0 ||
       record->m_text.Find(kPayPerClickRedirect) > 0)) {
    CLibString reached = FollowResultAddress(*this, address);
    if (reached.GetLength() > 0) {
      // One pass each: a short address may stand in a long block many times.
      record->m_text = ReplaceAllOf(View(record->m_text), View(address), View(reached)).c_str();
      // The block writes its "&" as "&amp;", the address was read with plain ones.
      std::string written = ReplaceAllOf(View(address), "&", "&amp;");
      if (written != address.c_str())
        record->m_text = ReplaceAllOf(View(record->m_text), written, View(reached)).c_str();
    }
  }

  m_results.Append(node);
  return ++m_pageResults;
}

void CSearchEngine::AddResult(const CSearchResult& record) {
  CSearchResult* copy = new (std::nothrow) CSearchResult;
  CListNode* node = copy ? new (std::nothrow) CListNode(copy) : nullptr;
  if (!node) {
    delete copy;
    return;
  }
  copy->m_index = record.m_index;
  copy->m_page = record.m_page;
  copy->m_position = record.m_position;
  copy->m_text = record.m_text;
  copy->m_matched = record.m_matched;
  m_results.Append(node);
}

CLibString CSearchEngine::GetResultLink(const CLibString& block) {
  int wanted = GetKeyInt(".resulthlinknum");
  if (wanted < 1) wanted = 1;
  const bool skipMailLinks = GetName() == kMailLinkEngine;
  const char* text = block.c_str();
  const char* textEnd = text + strlen(text);
  // The closing tag found last serves every anchor that opens before it, so a block of anchors
  // that are never closed is read once, not once per anchor.
  const char* closeFrom = nullptr;
  const char* close = nullptr;
  int count = 0;
  for (const char* p = FindAnchorStart(text); p; p = FindAnchorStart(p + 2)) {
    OnIdle();  // a long block keeps the user interface informed
    if (!closeFrom || p + 2 < closeFrom || (close && p + 2 > close)) {
      closeFrom = p + 2;
      close = FindAnchorClose(closeFrom);
    }
    if (skipMailLinks) {
      // Only the tag is needed to know where the link leads.
      size_t tagEnd =
          FindTagEnd(text, static_cast<size_t>(textEnd - text), static_cast<size_t>(p - text));
      if (StartsWithNoCase(ExtractHref(CLibString(p, text + tagEnd)), "mailto:")) continue;
    }
    if (++count < wanted) continue;
    return CLibString(p, close ? close + 3 : textEnd - 1);
  }
  return CLibString();
}

CLibString CSearchEngine::GetResultUrl(const CLibString& block, bool decode) {
  CLibString url = ExtractHref(GetResultLink(block));
  if (decode) UrlDecode(url, GetKey(".charset"));
  return url;
}
