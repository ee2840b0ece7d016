#include "foundation/cgi/CgiCookies.h"

#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>

namespace {

// Line ends inside a name or value would end the header line and start one of the caller's
// choosing; they are dropped.
void AppendHeaderText(std::string& line, const CLibString& text) {
  for (const char* p = text.c_str(); *p; ++p)
    if (*p != '\r' && *p != '\n') line += *p;
}

}  // namespace

CCgiCookies::CCgiCookies() {
  if (const char* header = getenv("HTTP_COOKIE")) Parse(header);
}

CCgiCookies::CCgiCookies(const CLibString& header) {
  Parse(header);
}

int CCgiCookies::Parse(const CLibString& header) {
  int stored = 0;
  const char* p = header.c_str();
  while (*p) {
    const char* end = strstr(p, "; ");
    size_t length = end ? static_cast<size_t>(end - p) : strlen(p);
    const char* equals = static_cast<const char*>(memchr(p, '=', length));
    const char* nameEnd = equals ? equals : p + length;
    if (nameEnd > p) {
      CLibString name(p, nameEnd - 1);
      CLibString value =
          equals && equals + 1 < p + length ? CLibString(equals + 1, p + length - 1) : CLibString();
      SetAt(name, value);
      ++stored;
    }
    p += length;
    if (end) p += 2;
  }
  return stored;
}

bool CCgiCookies::IsAttributeName(const CLibString& name) {
  return name == "expires" || name == "path" || name == "domain" || name == "secure";
}

void CCgiCookies::WriteCookies(std::ostream& os) const {
  if (GetCount() == 0) return;
  std::string line = "Set-Cookie: ";
  ForEach([&line](const CNVItem& item) {
    if (IsAttributeName(item.m_name)) return;
    AppendHeaderText(line, item.m_name);
    line += '=';
    AppendHeaderText(line, item.m_value);
    line += "; ";
  });
  for (const char* attribute : {"expires", "path", "domain"}) {
    CLibString value = GetValue(attribute);
    if (!*value.c_str()) continue;
    line += attribute;
    line += '=';
    AppendHeaderText(line, value);
    line += "; ";
  }
  if (Contains("secure")) line += "secure; ";
  if (line.size() >= 2 && line.compare(line.size() - 2, 2, "; ") == 0) line.resize(line.size() - 2);
  os << line << '\n';
}
