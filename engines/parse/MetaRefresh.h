// The meta refresh of a page: some engines answer a search with a page that only sends the
// browser on to the results ("<meta http-equiv="refresh" content="0; URL=...">"), and some
// directories answer a submission so.
#pragma once

#include "foundation/core/LibString.h"

// The address the page's refresh tag sends to, as written (it may be relative to the page) but
// without control characters; empty when the page has no refresh tag, its tag names no address
// (a plain reload after a delay), or the address is no web page ("javascript:", "mailto:" ...).
CLibString GetMetaRefreshUrl(const CLibString& page);
