#include "engines/parse/LinkParser.h"

#include <cctype>
#include <cstring>

#include "engines/parse/PageAddress.h"
#include "engines/parse/TagAttributes.h"
#include "engines/parse/TextReplace.h"
#include "foundation/net/SockHttpClient.h"

namespace {

constexpr int kFinalUrlReadLimit = 500;
constexpr unsigned kFinalUrlChunkSize = 512;
constexpr int kFinalUrlTimeout = 8;

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// "<a" or "<A" that opens an anchor, not "<abbr>" or "<address>".
bool IsAnchorStart(const char* p) {
  return p[0] == '<' && (p[1] == 'a' || p[1] == 'A') && (IsSpace(p[2]) || p[2] == '>');
}

bool IsAnchorEnd(const char* p) {
  return p[0] == '<' && p[1] == '/' && (p[2] == 'a' || p[2] == 'A');
}

const char* FindAnchorStart(const char* p) {
  for (; *p; ++p)
    if (IsAnchorStart(p)) return p;
  return nullptr;
}

// A client that reads in small pieces, so that following a link costs no more than its head.
class CFinalUrlClient : public CSockHttpClient {
 public:
  CFinalUrlClient() { m_recvChunk = kFinalUrlChunkSize; }
};

}  // namespace

CLibString ExtractHref(const CLibString& tag) {
  CLibString text(ReplaceAllOf(View(tag), " = ", "=").c_str());
  // Control characters go with the line ends: the href may become a request line.
  std::string href =
      ReplaceAllOf(View(CleanPageAddress(GetTagAttribute(text, "href"))), "&amp;", "&");
  size_t first = href.find_first_not_of(' ');
  if (first == std::string::npos) return CLibString();
  return CLibString(href.substr(first, href.find_last_not_of(' ') - first + 1).c_str());
}

void SplitLinkText(const CLibString& anchor, CLibString& href, CLibString& linkText) {
  href = ExtractHref(anchor);
  linkText = CLibString();
  const char* p = strchr(anchor.c_str(), '>');
  if (!p) return;
  // Built by length: an anchor that is never closed runs to the end of the page.
  std::string text;
  for (++p; *p; ++p) {
    if (*p == '<') {
      const char* close = strchr(p, '>');
      if (!close) break;  // an unfinished tag at the end shows nothing
      p = close;
      continue;
    }
    if (*p != '\r' && *p != '\n') text += *p;
  }
  text = ReplaceAllOf(text, "&nbsp;", " ");
  text = ReplaceAllOf(text, "&gt;", ">");
  linkText = ReplaceAllOf(text, "&lt;", "<").c_str();
}

CLibString FindLink(const CLibString& page, const CLibString& filter, int index) {
  int count = 0;
  const char* p = FindAnchorStart(page.c_str());
  while (p) {
    // An anchor ends at its closing tag, or where the next one opens when it is never closed.
    const char* end = p + 2;
    while (*end && !IsAnchorEnd(end) && !IsAnchorStart(end)) ++end;
    CLibString anchor(p, end - 1);
    CLibString href, text;
    SplitLinkText(anchor, href, text);
    if (filter.GetLength() == 0 || text.Find(filter) > 0) {
      if (count == index) return href;
      ++count;
    }
    p = *end ? FindAnchorStart(IsAnchorEnd(end) ? end + 3 : end) : nullptr;
  }
  return CLibString();
}

CLibString ResolveFinalUrl(CSockHttpClient& like, const CLibString& url) {
  // A "mailto:" or "javascript:" link leads to no page: no request, no name lookup.
  CLibString address = CleanPageAddress(url);
  if (!IsWebAddress(address)) return CLibString();
  CFinalUrlClient client;
  client.SetCurrentUrl(like.GetCurrentUrl());
  CInetAddress proxy;
  CLibString user, password;
  like.GetProxy(proxy, user, password);
  client.SetProxy(proxy, user, password);
  client.CopyHeadersFrom(like);
  client.SetBandwidthMeter(like.GetBandwidthMeter());
  client.SetReadLimit(kFinalUrlReadLimit);
  client.SetTimeout(kFinalUrlTimeout);
  CLibString page = client.GetPage(address);
  if (page.GetLength() == 0) return CLibString();
  return client.GetCurrentUrl().GetUrlWithoutQuery();
}
