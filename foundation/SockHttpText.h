// Small text helpers that the files of CSockHttpClient share.
#pragma once

#include <string>

#include "foundation/LibString.h"
#include "foundation/Url.h"

namespace sockhttp {

// Without blanks and tabs at either end.
std::string Trim(const std::string& text);
// ASCII letters in lower case.
std::string Lower(std::string text);
// The path a request names, as it was written ("/search", not "/search/").
CLibString RequestPath(const CUrl& url);
bool IsControl(char c);
// A Content-Length: decimal digits only (blanks around them allowed), at most
// CSockHttpClient::kMaxContentLength.
bool ParseLength(const CLibString& text, long& length);

}  // namespace sockhttp
