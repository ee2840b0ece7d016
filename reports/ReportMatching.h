// The site's place among an engine's results, for the reports and the CSV export. The matching
// runs on copies of the result records: matching sets the records' matched flags and, with the
// dump-results setting, empties the text of records that do not match, and the reports match
// against single addresses of the site, which must not change what the document keeps.
#pragma once

#include <cstdint>

#include "foundation/core/LibString.h"

class CSearchEngine;

struct SiteRank {
  int32_t rank = 0;      // 1-based place among the results, 0 when not found
  int32_t page = 0;      // 1-based
  int32_t position = 0;  // 1-based place on the page
  CLibString address;    // the matching result's link address
};

SiteRank FindSiteRank(CSearchEngine& engine, const CLibString& siteUrls);

// A document read from its file keeps each result's match flag but not the site address that
// the result matched. Flagged results without it get it back from matching a copy, so that the
// Competitor report of a reopened document shows what its run found. Nothing else changes.
void RestoreMatchedAddresses(CSearchEngine& engine, const CLibString& siteUrls);
