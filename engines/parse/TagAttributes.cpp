#include "engines/parse/TagAttributes.h"

#include <cctype>
#include <cstring>
#include <string>

#include "engines/parse/TextReplace.h"

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// Walks the attributes of a tag text one at a time.
class AttributeReader {
 public:
  explicit AttributeReader(const char* tag) : m_p(tag) {
    if (*m_p == '<') ++m_p;
    while (*m_p && !IsSpace(*m_p) && *m_p != '>') ++m_p;  // the tag name
  }

  // False at the end of the tag or of the text.
  bool Next(std::string& name, std::string& value) {
    name.clear();
    value.clear();
    // A "/" between attributes (as in "<br />") is no part of any of them.
    while (IsSpace(*m_p) || *m_p == '/') ++m_p;
    if (!*m_p || *m_p == '>') return false;
    // A stray "=" where a name should begin is taken as the name's first character, so the
    // walk always moves on.
    if (*m_p == '=') name += *m_p++;
    while (*m_p && !IsSpace(*m_p) && *m_p != '=' && *m_p != '>' && *m_p != '/') name += *m_p++;
    const char* afterName = m_p;
    while (IsSpace(*m_p)) ++m_p;
    if (*m_p != '=') {
      m_p = afterName;  // no value: what follows is the next attribute
      return true;
    }
    ++m_p;
    while (IsSpace(*m_p)) ++m_p;
    if (*m_p == '"' || *m_p == '\'') {
      char quote = *m_p++;
      while (*m_p && *m_p != quote) value += *m_p++;
      if (*m_p) ++m_p;
    } else {
      while (*m_p && !IsSpace(*m_p) && *m_p != '>') value += *m_p++;
    }
    return true;
  }

 private:
  const char* m_p;
};

bool EqualsNoCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i])))
      return false;
  return i == a.size() && !b[i];
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

size_t FindTagEnd(const char* text, size_t length, size_t start, bool* closed) {
  if (closed) *closed = false;
  char previous = 0;
  for (size_t i = start + 1; i < length; ++i) {
    char c = text[i];
    if (c == '>') {
      if (closed) *closed = true;
      return i;
    }
    if (c == '<') return i - 1;
    if ((c == '"' || c == '\'') && previous == '=') {
      const void* close = memchr(text + i + 1, c, length - i - 1);
      if (close) {
        i = static_cast<size_t>(static_cast<const char*>(close) - text);
        previous = c;
        continue;
      }
    }
    if (!IsSpace(c)) previous = c;
  }
  return length > start ? length - 1 : start;
}

CLibString GetTagAttribute(const CLibString& tag, const CLibString& name) {
  AttributeReader reader(tag.c_str());
  std::string attribute, value;
  while (reader.Next(attribute, value))
    if (EqualsNoCase(attribute, name.c_str())) return CLibString(value.c_str());
  return CLibString();
}

int ParseTagAttributes(const CLibString& tag, CNVList& attributes) {
  attributes.RemoveAll();
  AttributeReader reader(tag.c_str());
  std::string name, value;
  while (reader.Next(name, value)) {
    // One pass each: a value may be as long as the page.
    std::string cleaned = RemoveAllOf(value, "\r\n");
    size_t first = cleaned.find_first_not_of(' ');
    size_t last = cleaned.find_last_not_of(' ');
    cleaned = first == std::string::npos ? std::string() : cleaned.substr(first, last - first + 1);
    attributes.SetAt(Lower(name).c_str(), ReplaceAllOf(cleaned, "&amp;", "&").c_str());
  }
  return static_cast<int>(attributes.GetCount());
}

void ClassifyInput(const CLibString& inputTag, CNVList& visible, CNVList& hidden, CNVList& image) {
  CNVList attributes;
  ParseTagAttributes(inputTag, attributes);
  CLibString name = attributes.GetValue("name");
  if (name.GetLength() == 0) return;
  CLibString value = attributes.GetValue("value");
  CLibString type = attributes.GetValue("type").Upper();
  if (type == "CHECKBOX" || type == "RADIO") {
    if (!attributes.Contains("checked")) return;
    // A browser sends "on" for a checked box that names no value of its own.
    if (!attributes.Contains("value")) value = "on";
    visible.SetAt(name, value);
  } else if (type == "HIDDEN") {
    hidden.SetAt(name, value);
  } else if (type == "IMAGE") {
    image.SetAt(name, value);
  } else {
    visible.SetAt(name, value);
  }
}
