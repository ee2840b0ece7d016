#include "engines/parse/PageAddress.h"

#include <cctype>
#include <string>

namespace {

// The terminating NUL is no control character here: skipping one would run past the text.
bool IsControl(unsigned char c) {
  return (c > 0 && c < 0x20) || c == 0x7F;
}

bool EqualsNoCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
  return i == a.size() && !b[i];
}

// Schemes that are never an address of a page, whatever follows their ":".
const char* const kNeverFetched[] = {"javascript", "mailto", "vbscript", "data",   "file",
                                     "ftp",        "news",   "tel",      "about",  "nntp",
                                     "telnet",     "gopher", "irc",      "callto", nullptr};

}  // namespace

CLibString CleanPageAddress(const CLibString& address) {
  std::string out;
  for (const char* p = address.c_str(); *p; ++p)
    if (!IsControl(static_cast<unsigned char>(*p))) out += *p;
  return CLibString(out.c_str());
}

bool IsWebAddress(const CLibString& address) {
  // Browsers skip blanks and control characters before an address.
  const char* p = address.c_str();
  while (*p == ' ' || IsControl(static_cast<unsigned char>(*p))) ++p;
  if (!isalpha(static_cast<unsigned char>(*p))) return true;  // relative: "/x", "?q", "../a"
  std::string scheme;
  const char* q = p;
  while (isalnum(static_cast<unsigned char>(*q)) || *q == '+' || *q == '-' || *q == '.') {
    // A control character inside the scheme ("java\tscript:") is dropped by browsers too.
    scheme += *q++;
    while (IsControl(static_cast<unsigned char>(*q))) ++q;
  }
  if (*q != ':') return true;  // "page.html", "a/b:c"
  if (EqualsNoCase(scheme, "http") || EqualsNoCase(scheme, "https")) return true;
  for (const char* const* never = kNeverFetched; *never; ++never)
    if (EqualsNoCase(scheme, *never)) return false;
  // "host:port" without a scheme: digits after the ":" up to the end of the authority.
  const char* port = q + 1;
  while (isdigit(static_cast<unsigned char>(*port))) ++port;
  return port > q + 1 && (*port == '\0' || *port == '/' || *port == '?' || *port == '#');
}
