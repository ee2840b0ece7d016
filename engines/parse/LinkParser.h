// Links on fetched pages: the address of an anchor tag, the text a reader sees in it, the n-th
// link whose text holds a word, and the address a link finally leads to.
#pragma once

#include "foundation/core/LibString.h"

class CSockHttpClient;

// The href of a tag text, cleaned the way a browser cleans an address: line ends, tabs and the
// other control characters removed, "&amp;" read as "&", blanks trimmed. Empty when the tag has
// none.
CLibString ExtractHref(const CLibString& tag);

// An anchor text ("<a href=...>text", with or without its closing tag) into its href and its
// visible text: tags and line ends removed, "&nbsp;", "&gt;" and "&lt;" read.
void SplitLinkText(const CLibString& anchor, CLibString& href, CLibString& linkText);

// Counting from 0 the anchors of the page whose visible text holds the filter (all of them for
// an empty filter), the href of the one numbered index; empty when there are fewer.
CLibString FindLink(const CLibString& page, const CLibString& filter, int index);

// Follows a link, redirects included, with a fresh client that speaks like the given one (its
// current address as Referer, its proxy, browser headers, HTTP version and bandwidth meter) but
// reads only the first bytes of the page and reports to nobody. Returns the address finally
// reached without its query, or empty when nothing could be read there. An address that is no
// web address ("mailto:", "javascript:" ...) is not asked for at all.
CLibString ResolveFinalUrl(CSockHttpClient& like, const CLibString& url);
