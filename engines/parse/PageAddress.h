// Addresses read from fetched pages (links, a refresh's target, a base address, a form's action)
// before they become requests. A page is not to be trusted: a line end in an address would end
// the request line and let the page write header lines of its own, and a "mailto:" or
// "javascript:" link is nothing a browser fetches, so asking the network for it (a name lookup of
// "javascript") only costs time and counts as a failed lookup.
#pragma once

#include "foundation/core/LibString.h"

// The address without control characters (CR, LF, TAB, the other bytes below 32, and DEL).
CLibString CleanPageAddress(const CLibString& address);

// Whether the address may be fetched: one without a scheme (resolved against its page), or one
// whose scheme is http or https, in any case. "host:8080/path" counts as an address without a
// scheme; "mailto:", "javascript:", "ftp:", "file:" and every other scheme do not qualify.
bool IsWebAddress(const CLibString& address);
