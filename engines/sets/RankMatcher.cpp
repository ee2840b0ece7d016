#include "engines/sets/RankMatcher.h"

#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "engines/db/EngineKeys.h"
#include "engines/db/SearchEngine.h"

namespace {

std::atomic<int> g_restrict{kMatchWholeResult};
std::atomic<bool> g_exactMatch{false};
std::atomic<bool> g_dumpResults{true};

// The tokens of the last URL list. Every worker of a run matches with the same list, so the
// list is cut once; a caller keeps its own reference, so a thread that swaps in the tokens of
// another list never frees tokens that a second thread is still walking.
std::mutex g_tokenLock;
std::string g_tokenSource;
std::shared_ptr<const UrlTokens> g_tokens;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsAlnum(char c) {
  return isalnum(static_cast<unsigned char>(c)) != 0;
}

std::string Lower(const char* text) {
  std::string s(text);
  for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return s;
}

bool StartsWith(const std::string& s, const char* prefix) {
  return s.rfind(prefix, 0) == 0;
}

void ReplaceAll(std::string& s, const char* from, const char* to) {
  const size_t fromLength = strlen(from), toLength = strlen(to);
  for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + toLength))
    s.replace(at, fromLength, to);
}

UrlTokens Split(const std::string& list) {
  UrlTokens tokens;
  size_t i = 0;
  const size_t n = list.size();
  while (i < n) {
    while (i < n && IsBlank(list[i])) ++i;
    if (i >= n) break;
    size_t start = i;
    char quote = list[i];
    if (quote == '"' || quote == '\'') {
      size_t close = list.find(quote, i + 1);
      i = close == std::string::npos ? n : close + 1;
    } else {
      while (i < n && !IsBlank(list[i]) && list[i] != ',') ++i;
    }
    std::string token = list.substr(start, i - start);
    if (i < n) ++i;  // the separator after the token
    ReplaceAll(token, "&amp;", "&");
    ReplaceAll(token, "&lt;", "<");
    ReplaceAll(token, "&gt;", ">");
    // Two separators in a row leave an empty token, which would be found in every result.
    if (!token.empty()) tokens.emplace_back(token.c_str());
  }
  return tokens;
}

// The forms of one address that a user may type reduce to the bare host and path.
std::string NormaliseToken(std::string token) {
  for (char& c : token)
    if (c == '\\') c = '/';
  if (!token.empty() && token.back() == '/') token.pop_back();
  if (!token.empty() && token.front() == '.') token.erase(0, 1);
  if (StartsWith(token, "www.")) token.erase(0, 4);
  if (StartsWith(token, "http://www.")) token.erase(0, 11);
  if (StartsWith(token, "https://www.")) token.erase(0, 12);
  if (StartsWith(token, "http://")) token.erase(0, 7);
  return token;
}

// Whether the token ends inside the host part of an address (no path, query or port after the
// host), so that an exact match must find the end of the host right after it.
bool TokenEndsInHost(const std::string& token) {
  size_t scheme = token.find("://");
  size_t hostStart = scheme == std::string::npos ? 0 : scheme + 3;
  return token.find_first_of("/?#:", hostStart) == std::string::npos;
}

bool IsBoundary(char c) {
  switch (c) {
    case '\t':
    case '\n':
    case '\r':
    case ' ':
    case '"':
    case '\'':
    case '.':
    case '/':
    case ':':
    case '>':
    case '@':
      return true;
    default:
      return false;
  }
}

// Whether the text just before position is the prefix; "%n" in the prefix stands for one or
// more decimal digits.
bool PrefixStandsBefore(const std::string& url, size_t position, const std::string& prefix) {
  size_t mark = prefix.find("%n");
  if (mark == std::string::npos) {
    return prefix.size() <= position &&
           url.compare(position - prefix.size(), prefix.size(), prefix) == 0;
  }
  const std::string head = prefix.substr(0, mark), tail = prefix.substr(mark + 2);
  if (tail.size() > position || url.compare(position - tail.size(), tail.size(), tail) != 0)
    return false;
  const size_t digitsEnd = position - tail.size();
  size_t digitsStart = digitsEnd;
  while (digitsStart > 0 && isdigit(static_cast<unsigned char>(url[digitsStart - 1])))
    --digitsStart;
  // The head may itself end in digits: try every split that leaves at least one digit to "%n".
  for (size_t headEnd = digitsStart; headEnd < digitsEnd; ++headEnd) {
    if (head.size() <= headEnd && url.compare(headEnd - head.size(), head.size(), head) == 0)
      return true;
  }
  return false;
}

// With exact matching, whether the occurrence that ends at end ends the host. A full stop
// followed by a letter or digit continues the host name ("site.com" in "site.com.au"). When
// the token itself ends in the host, a letter, digit, "-" or "_" right after it continues the
// host as well ("site.co" in "site.com", "site.com" in "site.community.org").
bool EndsHost(const std::string& url, size_t end, bool tokenEndsInHost) {
  if (end >= url.size()) return true;
  char next = url[end];
  if (next == '.') return end + 1 >= url.size() || !IsAlnum(url[end + 1]);
  if (tokenEndsInHost && (IsAlnum(next) || next == '-' || next == '_')) return false;
  return true;
}

bool MatchRecord(CSearchEngine& engine, CSearchResult& record, const UrlTokens& tokens, int mode) {
  const CLibString name = engine.GetName();
  const CLibString text =
      mode == kMatchResultLink ? engine.GetResultLink(record.m_text) : record.m_text;
  for (const CLibString& token : tokens) {
    CLibString lower = token.Lower();
    if (MatchSiteUrl(text, lower, name)) {
      record.m_matched = 1;
      record.m_matchedText = lower;
      return true;
    }
  }
  if (GetDumpResults() && record.m_matched == 0) record.m_text = "";
  return false;
}

}  // namespace

void SetMatchRestrict(int mode) {
  g_restrict = mode;
}
int GetMatchRestrict() {
  return g_restrict;
}
void SetExactMatch(bool on) {
  g_exactMatch = on;
}
bool GetExactMatch() {
  return g_exactMatch;
}
void SetDumpResults(bool on) {
  g_dumpResults = on;
}
bool GetDumpResults() {
  return g_dumpResults;
}

std::shared_ptr<const UrlTokens> SplitUrlTokens(const CLibString& siteUrls) {
  std::string source(siteUrls.c_str());
  std::lock_guard<std::mutex> hold(g_tokenLock);
  if (!g_tokens || source != g_tokenSource) {
    g_tokens = std::make_shared<const UrlTokens>(Split(source));
    g_tokenSource = source;
  }
  return g_tokens;
}

bool MatchSiteUrl(const CLibString& resultUrl, const CLibString& siteToken,
                  const CLibString& engineName) {
  std::string token = Lower(siteToken.c_str());
  const bool phrase = !token.empty() && token.front() == '"';
  if (phrase) {
    size_t first = token.find_first_not_of('"');
    size_t last = token.find_last_not_of('"');
    token = first == std::string::npos ? std::string() : token.substr(first, last - first + 1);
  } else {
    token = NormaliseToken(token);
  }
  // A token that is empty once its decoration is gone would be found everywhere.
  if (token.empty()) return false;

  const std::string url = Lower(resultUrl.c_str());
  size_t at = url.find(token);
  if (at == std::string::npos) return false;
  if (phrase) return true;

  std::string prefixes[3];
  bool prefixMode = false;
  for (int i = 0; i < 3; ++i) {
    char key[32];
    snprintf(key, sizeof key, ".ignorematchprefix%d", i + 1);
    prefixes[i] = Lower(GetEngineKey(engineName, key).c_str());
    if (!prefixes[i].empty()) prefixMode = true;
  }
  const bool exact = GetExactMatch();
  const bool endsInHost = TokenEndsInHost(token);

  for (; at != std::string::npos; at = url.find(token, at + 1)) {
    if (at > 0 && !IsBoundary(url[at - 1])) continue;
    bool ignored = false;
    if (prefixMode) {
      for (const std::string& prefix : prefixes) {
        if (!prefix.empty() && PrefixStandsBefore(url, at, prefix)) {
          ignored = true;
          break;
        }
      }
    }
    if (ignored) continue;
    if (exact && !EndsHost(url, at + token.size(), endsInHost)) continue;
    return true;
  }
  return false;
}

bool ResultMatchesUrls(CSearchEngine& engine, CSearchResult& record, const CLibString& siteUrls,
                       int mode) {
  std::shared_ptr<const UrlTokens> tokens = SplitUrlTokens(siteUrls);
  return MatchRecord(engine, record, *tokens, mode);
}

int FindMatchingResult(CSearchEngine& engine, CSearchResult& out, const CLibString& siteUrls,
                       int mode) {
  std::shared_ptr<const UrlTokens> tokens = SplitUrlTokens(siteUrls);
  if (tokens->empty()) return 0;
  int found = 0;
  for (CListNode* node = engine.m_results.Head(); node; node = node->Next()) {
    CSearchResult* record = static_cast<CSearchResult*>(node->Payload());
    if (MatchRecord(engine, *record, *tokens, mode) && !found) {
      out = *record;
      found = 1;
    }
  }
  return found;
}

int32_t GetEngineRank(CSearchEngine& engine, const CLibString& siteUrls) {
  CSearchResult record;
  if (!FindMatchingResult(engine, record, siteUrls, GetMatchRestrict())) return 0;
  return record.m_index + 1;
}

void GetEngineRankPagePos(CSearchEngine& engine, const CLibString& siteUrls, int32_t& rank,
                          int32_t& page, int32_t& position) {
  CSearchResult record;
  if (!FindMatchingResult(engine, record, siteUrls, GetMatchRestrict())) {
    rank = page = position = 0;
    return;
  }
  rank = record.m_index + 1;
  page = record.m_page + 1;
  position = record.m_position + 1;
}

CLibString GetMatchedUrl(CSearchEngine& engine, const CLibString& siteUrls) {
  CSearchResult record;
  if (!FindMatchingResult(engine, record, siteUrls, GetMatchRestrict())) return CLibString();
  return engine.GetResultUrl(record.m_text, false);
}
