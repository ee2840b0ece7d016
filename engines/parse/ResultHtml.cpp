#include "engines/parse/ResultHtml.h"

#include <cstring>
#include <vector>

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Tag and attribute names are ASCII; the locale's idea of a letter plays no part in them.
bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAttributeNameChar(char c) {
  return IsLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_';
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether [first, first + length) is, lower-cased, one of the lower-case words (none of ours is
// longer than 7 letters).
bool IsInList(const char* first, size_t length, const char* const* words) {
  char name[8];
  if (length == 0 || length >= sizeof name) return false;
  for (size_t i = 0; i < length; ++i) name[i] = LowerAscii(first[i]);
  name[length] = '\0';
  for (; *words; ++words)
    if (strcmp(name, *words) == 0) return true;
  return false;
}

// Tags that only change how text looks; a result reads the same without them.
const char* const kLookTags[] = {"b",    "u",   "i",      "s",   "em",    "hr",   "font",
                                 "span", "img", "strong", "big", "small", nullptr};
// Attributes that only change how a tag looks, or where a browser opens a link.
const char* const kLookAttributes[] = {"bgcolor", "color", "target", "class", "style", nullptr};

// The first occurrence of a text at or after a position, for positions that only move forward:
// the occurrence found last holds for every position up to it, and once there is none there is
// none further on. So a block full of "<!" that never end is searched once, not once per "<!".
class CForwardFinder {
 public:
  explicit CForwardFinder(const char* needle) : m_needle(needle) {}

  const char* Find(const char* from) {
    if (!m_from || from < m_from || (m_hit && from > m_hit)) {
      m_from = from;
      m_hit = strstr(from, m_needle);
    }
    return m_hit;
  }

 private:
  const char* m_needle;
  const char* m_from = nullptr;
  const char* m_hit = nullptr;
};

// Where a comment that opens at p ("<!") ends, just past its terminator; null when no "-->" or
// "--!>" follows.
const char* CommentEnd(const char* p, CForwardFinder& dashes, CForwardFinder& bang) {
  const char* a = dashes.Find(p + 2);
  const char* b = bang.Find(p + 2);
  if (a && (!b || a < b)) return a + 3;
  if (b) return b + 4;
  return nullptr;
}

// Just past the value that begins at p (quoted with either quote, or up to white space or ">").
const char* ValueEnd(const char* p) {
  if (*p == '"' || *p == '\'') {
    const char* close = strchr(p + 1, *p);
    return close ? close + 1 : p + strlen(p);
  }
  while (*p && !IsSpace(*p) && *p != '>') ++p;
  return p;
}

// Copies the tag that opens at r (a "<" followed by a tag name) to w without the look attributes;
// returns where reading goes on (past the tag's ">", or the end of the text).
const char* CopyTag(const char* r, char*& w) {
  // "<", the "/" of a closing tag and the name go as they are.
  *w++ = *r++;
  if (*r == '/') *w++ = *r++;
  while (*r && !IsSpace(*r) && *r != '>') *w++ = *r++;
  while (*r) {
    if (*r == '>') {
      *w++ = *r++;
      break;
    }
    if (*r == '"' || *r == '\'') {  // a stray quoted text: copied whole, so its ">" stays inside
      const char* end = ValueEnd(r);
      while (r < end) *w++ = *r++;
      continue;
    }
    if (!IsAttributeNameChar(*r)) {
      *w++ = *r++;
      continue;
    }
    const char* name = r;
    while (IsAttributeNameChar(*r)) ++r;
    size_t nameLength = static_cast<size_t>(r - name);
    const char* p = r;
    while (*p == ' ') ++p;
    if (*p != '=') {  // an attribute without a value stays
      for (const char* c = name; c < r; ++c) *w++ = *c;
      continue;
    }
    ++p;
    while (*p == ' ') ++p;
    const char* end = ValueEnd(p);
    if (!IsInList(name, nameLength, kLookAttributes))
      for (const char* c = name; c < end; ++c) *w++ = *c;
    r = end;
  }
  return r;
}

}  // namespace

void SimplifyResultHtml(char* text) {
  if (!text) return;

  // White space runs to one blank.
  char* w = text;
  for (const char* r = text; *r;) {
    if (IsSpace(*r)) {
      *w++ = ' ';
      while (IsSpace(*r)) ++r;
    } else {
      *w++ = *r++;
    }
  }
  *w = '\0';

  // Tags. Writing never overtakes reading, so the buffer is rewritten in place.
  w = text;
  const char* r = text;
  CForwardFinder dashes("-->");
  CForwardFinder bang("--!>");
  while (*r) {
    if (*r != '<') {
      *w++ = *r++;
      continue;
    }
    if (r[1] == '!') {
      const char* end = CommentEnd(r, dashes, bang);
      if (end) {
        r = end;
      } else {
        *w++ = *r++;
      }
      continue;
    }
    const char* name = r + 1;
    if (*name == '/') ++name;
    if (!IsLetter(*name)) {  // "<" in text ("a < b"), not a tag
      *w++ = *r++;
      continue;
    }
    const char* nameEnd = name;
    while (*nameEnd && !IsSpace(*nameEnd) && *nameEnd != '>') ++nameEnd;
    if (IsInList(name, static_cast<size_t>(nameEnd - name), kLookTags)) {
      const char* close = strchr(nameEnd, '>');
      if (close) {
        r = close + 1;
        continue;
      }
    }
    r = CopyTag(r, w);
  }
  *w = '\0';
}

CLibString SimplifyResultHtml(const CLibString& text) {
  const char* source = text.c_str();
  std::vector<char> buffer(source, source + strlen(source) + 1);
  SimplifyResultHtml(buffer.data());
  return CLibString(buffer.data());
}
