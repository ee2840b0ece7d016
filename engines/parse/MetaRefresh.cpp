#include "engines/parse/MetaRefresh.h"

#include <cctype>
#include <cstring>
#include <string>

#include "engines/parse/PageAddress.h"
#include "engines/parse/TagAttributes.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string Trimmed(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

// The address part of a refresh's content value: the delay and its ";" go, then an "URL=" in
// any case, with or without blanks around the "=", then the quotes around the address. Pages
// write all of "0;URL=a", "0; url=a", "0; URL='a'" and "0;url = a".
std::string AddressOfContent(const std::string& content) {
  std::string rest = Trimmed(content);
  size_t semicolon = rest.find(';');
  if (semicolon != std::string::npos) {
    rest = rest.substr(semicolon + 1);
  } else {
    // No ";": a bare delay (a reload of the same page) leaves nothing.
    size_t i = 0;
    while (i < rest.size() && (isdigit(static_cast<unsigned char>(rest[i])) || rest[i] == '.')) ++i;
    while (i < rest.size() && (IsBlank(rest[i]) || rest[i] == ',')) ++i;
    rest = rest.substr(i);
  }
  rest = Trimmed(rest);
  if (rest.size() >= 3 && toupper(static_cast<unsigned char>(rest[0])) == 'U' &&
      toupper(static_cast<unsigned char>(rest[1])) == 'R' &&
      toupper(static_cast<unsigned char>(rest[2])) == 'L') {
    size_t i = 3;
    while (i < rest.size() && IsBlank(rest[i])) ++i;
    if (i < rest.size() && rest[i] == '=') rest = Trimmed(rest.substr(i + 1));
  }
  while (!rest.empty() && IsQuote(rest.front())) rest.erase(0, 1);
  while (!rest.empty() && IsQuote(rest.back())) rest.pop_back();
  return Trimmed(rest);
}

}  // namespace

CLibString GetMetaRefreshUrl(const CLibString& page) {
  CLibString lower = page.Lower();
  int at = lower.Find("<meta http-equiv=\"refresh\"");
  if (at == 0) at = lower.Find("<meta http-equiv=refresh");
  if (at == 0) return CLibString();

  const char* start = page.c_str() + at - 1;
  const char* close = strchr(start, '>');
  std::string tag = close ? std::string(start, close) : std::string(start);

  // The content value is read as a browser reads an attribute, so a quoted value keeps its
  // blanks ("0; URL=...").
  CLibString content = GetTagAttribute(CLibString(tag.c_str()), "content");
  // The address becomes a request: without control characters, and only to a web page.
  CLibString address = CleanPageAddress(AddressOfContent(content.c_str()).c_str());
  return IsWebAddress(address) ? address : CLibString();
}
