// Request texts of the engine interpreter. A request text names what to fetch: an optional method
// prefix "post " or "get " (any case), then the URL; for "post " the URL's query is the body. A
// text without a prefix is a GET. CSearchEngine::GenFirst, GenNext and ResolveUrl build them.
#pragma once

#include "foundation/core/LibString.h"

// Splits a request text into its URL and its method ("post" or "get"); either output may be null.
void SplitRequest(const CLibString& request, CLibString* url, CLibString* method);
