// The placeholders of engine definition values ("#KEYWORDS#", "#NEXTURL#", "#FORMNEXT#" ...) are
// replaced by CSearchEngine::SubstitutePlaceholders; this holds what it shares with its callers.
#pragma once

#include "foundation/core/LibString.h"
#include "foundation/core/NVList.h"

// The query text of a field list ("name=value" pairs, URL-encoded, joined by "&", in name order)
// with "%7c" and "%5f" turned back into "|" and "_": engines expect those two plain.
CLibString BuildFieldQuery(const CNVList& fields);
