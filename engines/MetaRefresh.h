// The meta refresh of a page: some engines answer a search with a page that only sends the
// browser on to the results ("<meta http-equiv="refresh" content="0; URL=...">"), and some
// directories answer a submission so.
#pragma once

#include "foundation/LibString.h"

// The address the page's refresh tag sends to, as written (it may be relative to the page); empty
// when the page has no refresh tag or its tag names no address (a plain reload after a delay).
CLibString GetMetaRefreshUrl(const CLibString& page);
