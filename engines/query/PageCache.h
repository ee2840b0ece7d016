// The process-wide page cache: result pages fetched by any engine object on any worker thread,
// by address. Several search terms often read the same pages of one engine; the cache saves the
// second fetch.
#pragma once

#include "foundation/core/LibString.h"

class CSockHttpClient;

// The page at the URL, from the cache when it holds it (the client then looks as if it had
// fetched it: its current URL is the URL, its status 200 "200 OK"), else fetched by the client
// and kept when the status is 200. Any other status gives an empty page and keeps nothing. The
// URL loses its control characters; one that is no web address gives an empty page unfetched.
CLibString FetchPageCached(CSockHttpClient& client, const CLibString& url);

// The number of pages the cache holds; at most kPageCacheLimit + 1.
int GetPageCacheCount();
// Whether the page of that URL is held.
bool IsPageCached(const CLibString& url);
// Empties the cache. The program keeps its pages for the whole run; tests start afresh.
void ClearPageCache();

// Once the cache holds more pages than this, each new page pushes out the page of the first
// URL in name order.
constexpr int kPageCacheLimit = 100;
