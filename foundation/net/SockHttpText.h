// Small text helpers that the files of CSockHttpClient share.
#pragma once

#include <string>

#include "foundation/core/LibString.h"
#include "foundation/core/NVList.h"
#include "foundation/net/Url.h"

namespace sockhttp {

// Without blanks and tabs at either end.
std::string Trim(const std::string& text);
// ASCII letters in lower case.
std::string Lower(std::string text);
// The path a request names, as it was written ("/search", not "/search/").
CLibString RequestPath(const CUrl& url);
bool IsControl(char c);
// True when text is lower, ASCII letters compared without case; lower is in lower case.
bool EqualsNoCase(const CLibString& text, const char* lower);
// Whether text begins with prefix (in lower case), ASCII letters compared without case.
bool StartsWithNoCase(const char* text, const char* prefix);
// Whether needle (in lower case) occurs in text, ASCII letters compared without case.
bool ContainsNoCase(const char* text, const char* needle);
// The value of a name in the list, without a copy; null when the name is not there.
const CLibString* FindValue(const CNVList& list, const CLibString& name);
// A Content-Length: decimal digits only (blanks around them allowed), at most
// CSockHttpClient::kMaxContentLength.
bool ParseLength(const CLibString& text, long& length);

}  // namespace sockhttp
