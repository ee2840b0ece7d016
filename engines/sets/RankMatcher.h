// Rank matching: finds the user's site among an engine's results. The site's URL list (one or
// more addresses, host names or quoted phrases, separated by blanks or commas) is cut into
// tokens; every result is tested against every token, and the first result that matches gives
// the site's rank, page and position.
//
// Worker threads of a run match at the same time, usually with the same URL list, so the cut
// tokens are kept between calls; the cache is shared under a lock and each call works on its
// own reference to the tokens.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engines/db/SearchResult.h"
#include "foundation/core/LibString.h"

class CSearchEngine;

// What is matched against the site: the whole result block, or only the result's link.
enum RankMatchMode { kMatchWholeResult = 0, kMatchResultLink = 1 };

// Settings the matcher follows. The program's settings publish them when they load; worker
// threads read them, so they are atomic.
//   restrict mode: the mode used where the caller gives none (0 or 1, as above);
//   exact match: a host-name token must be the whole host, not the start of a longer one;
//   dump results: results that never matched lose their block text, so that only the
//     matching ones keep (and store) an address.
void SetMatchRestrict(int mode);
int GetMatchRestrict();
void SetExactMatch(bool on);
bool GetExactMatch();
void SetDumpResults(bool on);
bool GetDumpResults();

using UrlTokens = std::vector<CLibString>;

// The tokens of a site URL list: blanks skipped, a token in double or single quotes runs to its
// closing quote (quotes kept), any other to the next blank or comma; "&amp;", "&lt;" and
// "&gt;" become "&", "<" and ">". The tokens of the last list are kept and shared while the
// list text stays the same.
std::shared_ptr<const UrlTokens> SplitUrlTokens(const CLibString& siteUrls);

// Whether one site token matches a result text. The engine's keys ".ignorematchprefix1" to
// "3" name texts that, standing just before an occurrence, make it not count ("%n" in them
// stands for one or more digits).
bool MatchSiteUrl(const CLibString& resultUrl, const CLibString& siteToken,
                  const CLibString& engineName);

// Tests one result against every token; the first match sets the record's matched flag and
// matched token. With dump results on, a record that never matched loses its text.
bool ResultMatchesUrls(CSearchEngine& engine, CSearchResult& record, const CLibString& siteUrls,
                       int mode);

// Tests every result in order (each gets its matched flag) and copies the first matching one to
// out. 1 when one matched; 0 when none did or the URL list holds no token (then no result is
// touched).
int FindMatchingResult(CSearchEngine& engine, CSearchResult& out, const CLibString& siteUrls,
                       int mode);

// In the restrict mode of the settings: rank (result index + 1) of the first matching result,
// 0 when none.
int32_t GetEngineRank(CSearchEngine& engine, const CLibString& siteUrls);
// Rank, page and position, each counted from 1; all 0 when no result matches.
void GetEngineRankPagePos(CSearchEngine& engine, const CLibString& siteUrls, int32_t& rank,
                          int32_t& page, int32_t& position);
// The address of the result link of the first matching result, or empty.
CLibString GetMatchedUrl(CSearchEngine& engine, const CLibString& siteUrls);
