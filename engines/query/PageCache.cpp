#include "engines/query/PageCache.h"

#include <mutex>

#include "engines/parse/PageAddress.h"
#include "foundation/core/NVList.h"
#include "foundation/net/SockHttpClient.h"
#include "foundation/net/Url.h"

namespace {

// Both made on first use; C++ makes that first use safe between threads.
std::mutex& CacheLock() {
  static std::mutex lock;
  return lock;
}

CNVList& Cache() {
  static CNVList pages;
  return pages;
}

// The URL as the cache names it: written again from its parts, query last.
CLibString CacheKey(const CUrl& url) {
  return url.GetUrlWithoutQuery() + url.GetQuery();
}

}  // namespace

CLibString FetchPageCached(CSockHttpClient& client, const CLibString& address) {
  // Category pages come from links on pages: no control characters, and only web pages.
  const CLibString url = CleanPageAddress(address);
  if (!IsWebAddress(url)) return CLibString();
  CUrl parsed(url);
  CLibString key = CacheKey(parsed);
  CLibString page;
  {
    std::lock_guard<std::mutex> guard(CacheLock());
    page = Cache().GetValue(key);
  }
  if (page.GetLength() > 0) {
    client.SetCurrentUrl(parsed);
    client.SetStatus(200);
    client.SetStatusText("200 OK");
    return page;
  }

  page = client.GetPage(url, -1, CLibString());
  if (client.GetStatus() != 200) return CLibString();
  if (page.GetLength() == 0) return page;  // an empty page would count as absent anyway

  std::lock_guard<std::mutex> guard(CacheLock());
  CNVList& cache = Cache();
  if (static_cast<int>(cache.GetCount()) > kPageCacheLimit && !cache.Contains(key)) {
    // The whole entry goes, so that the bound really holds the memory down.
    CLibString first;
    cache.GetNextName(first, CLibString());
    delete cache.Remove(first);
  }
  cache.SetAt(key, page);
  return page;
}

int GetPageCacheCount() {
  std::lock_guard<std::mutex> guard(CacheLock());
  return static_cast<int>(Cache().GetCount());
}

bool IsPageCached(const CLibString& url) {
  CLibString key = CacheKey(CUrl(url));
  std::lock_guard<std::mutex> guard(CacheLock());
  return Cache().GetValue(key).GetLength() > 0;
}

void ClearPageCache() {
  std::lock_guard<std::mutex> guard(CacheLock());
  Cache().RemoveAll();
}
