#include "reports/ReportHtml.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace reporthtml {
namespace {

// The program runs in the "C" locale, where only A to Z have lower-case forms; folding them
// here spares a library call for every character of every result text.
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerText(const std::string& text) {
  std::string out(text);
  for (char& c : out) c = Lower(c);
  return out;
}

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':';
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// Decodes the entities a browser decodes in an attribute before it looks at the scheme.
std::string DecodeEntities(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out += text[i];
      continue;
    }
    size_t end = i + 1;
    while (end < text.size() && end - i < 12 && text[end] != ';' && text[end] != '&') ++end;
    std::string name = text.substr(i + 1, end - i - 1);
    size_t next = end < text.size() && text[end] == ';' ? end : end - 1;
    if (!name.empty() && name[0] == '#') {
      bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
      long code = std::strtol(name.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10);
      out += code > 0 && code < 256 ? static_cast<char>(code) : '?';
      i = next;
    } else if (LowerText(name) == "colon") {
      out += ':';
      i = next;
    } else if (LowerText(name) == "tab" || LowerText(name) == "newline") {
      i = next;
    } else {
      out += '&';
    }
  }
  return out;
}

// Elements that run script or change where the page's links lead; dropped whole.
const char* const kDroppedTags[] = {"script", "style", "iframe", "frame", "frameset", "object",
                                    "embed",  "applet", "base",  "meta",  "link",     nullptr};
// Of those, the ones whose contents go with them.
bool DropsContents(const std::string& name) {
  return name == "script" || name == "style";
}

bool IsDroppedTag(const std::string& name) {
  for (const char* const* tag = kDroppedTags; *tag; ++tag)
    if (name == *tag) return true;
  return false;
}

struct Attribute {
  std::string name;
  std::string value;
  bool hasValue = false;
};

// Reads the attributes of a tag from p (after the name) up to end (the ">").
void ReadAttributes(const std::string& tag, size_t p, size_t end, std::string& out) {
  while (p < end) {
    while (p < end && (IsBlank(tag[p]) || tag[p] == '/')) ++p;
    if (p >= end) break;
    Attribute a;
    while (p < end && !IsBlank(tag[p]) && tag[p] != '=' && tag[p] != '/') a.name += tag[p++];
    while (p < end && IsBlank(tag[p])) ++p;
    if (p < end && tag[p] == '=') {
      ++p;
      while (p < end && IsBlank(tag[p])) ++p;
      a.hasValue = true;
      if (p < end && (tag[p] == '"' || tag[p] == '\'')) {
        char quote = tag[p++];
        while (p < end && tag[p] != quote) a.value += tag[p++];
        ++p;
      } else {
        while (p < end && !IsBlank(tag[p])) a.value += tag[p++];
      }
    }
    if (a.name.empty()) {
      ++p;
      continue;
    }
    std::string lower = LowerText(a.name);
    if (lower.size() >= 2 && lower[0] == 'o' && lower[1] == 'n') continue;
    if (a.hasValue && IsScriptTarget(a.value)) continue;
    bool nameOk = true;
    for (char c : a.name) nameOk = nameOk && IsNameChar(c);
    if (!nameOk) continue;
    out += ' ';
    out += a.name;
    if (!a.hasValue) continue;
    out += "=\"";
    for (char c : a.value) {
      if (c == '"') out += "&quot;";
      else if (c == '<') out += "&lt;";
      else if (c == '>') out += "&gt;";
      else out += c;
    }
    out += '"';
  }
}

// The end of the tag that starts at p ("<"), honouring quoted attribute values; npos when open.
size_t TagEnd(const std::string& html, size_t p) {
  char quote = 0;
  for (size_t i = p + 1; i < html.size(); ++i) {
    char c = html[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      // A quote only opens a value right after "=" (with blanks between).
      size_t k = i;
      while (k > p && IsBlank(html[k - 1])) --k;
      if (k > p && html[k - 1] == '=') quote = c;
    } else if (c == '>') {
      return i;
    }
  }
  return std::string::npos;
}

// Skips from after a dropped opening tag to the end of its closing tag (or the text's end).
size_t SkipContents(const std::string& html, const std::string& lowerHtml, size_t from,
                    const std::string& name) {
  size_t close = lowerHtml.find("</" + name, from);
  if (close == std::string::npos) return html.size();
  size_t end = html.find('>', close);
  return end == std::string::npos ? html.size() : end + 1;
}

}  // namespace

CLibString WithHttp(const CLibString& address) {
  if (address.Find("http://") > 0) return address;
  return CLibString("http://") + address;
}

CLibString HttpLink(const CLibString& address) {
  return IsScriptTarget(address.c_str()) ? CLibString() : WithHttp(address);
}

bool IsScriptTarget(const std::string& target) {
  std::string plain;
  for (char c : DecodeEntities(target))
    if (static_cast<unsigned char>(c) > ' ') plain += Lower(c);
  return plain.rfind("javascript:", 0) == 0 || plain.rfind("vbscript:", 0) == 0 ||
         plain.rfind("livescript:", 0) == 0;
}

CLibString SafeTarget(const CLibString& target) {
  return IsScriptTarget(target.c_str()) ? CLibString() : target;
}

std::string SanitizeHtml(const std::string& html) {
  std::string out;
  out.reserve(html.size() + 16);
  const std::string lower = LowerText(html);
  size_t p = 0;
  while (p < html.size()) {
    size_t lt = html.find('<', p);
    if (lt == std::string::npos) {
      out.append(html, p, std::string::npos);
      break;
    }
    out.append(html, p, lt - p);
    if (lower.compare(lt, 4, "<!--") == 0) {
      size_t end = lower.find("-->", lt + 4);
      size_t bang = lower.find("--!>", lt + 4);
      if (bang < end) end = bang + 1;
      p = end == std::string::npos ? html.size() : end + 3;
      continue;
    }
    size_t q = lt + 1;
    bool closing = q < html.size() && html[q] == '/';
    if (closing) ++q;
    bool startsTag = q < html.size() && (std::isalpha(static_cast<unsigned char>(html[q])) ||
                                         (!closing && html[q] == '!'));
    size_t end = startsTag ? TagEnd(html, lt) : std::string::npos;
    if (end == std::string::npos) {
      out += "&lt;";
      p = lt + 1;
      continue;
    }
    if (html[q] == '!') {  // a declaration: nothing a result needs
      p = end + 1;
      continue;
    }
    std::string name;
    while (q < end && IsNameChar(html[q])) name += Lower(html[q++]);
    p = end + 1;
    if (IsDroppedTag(name)) {
      if (!closing && DropsContents(name)) p = SkipContents(html, lower, p, name);
      continue;
    }
    out += closing ? "</" : "<";
    out.append(html, closing ? lt + 2 : lt + 1, name.size());
    if (!closing) ReadAttributes(html, q, end, out);
    out += '>';
  }
  return out;
}

CLibString LinkTarget(const CLibString& link) {
  std::string text = link.c_str();
  for (size_t at; (at = text.find(" = ")) != std::string::npos;) text.replace(at, 3, "=");
  size_t tagEnd = text.find('>');
  std::string tag = text.substr(0, tagEnd);
  std::string lower = LowerText(tag);
  std::string value;
  for (size_t at = lower.find("href="); at != std::string::npos; at = lower.find("href=", at + 1)) {
    if (at > 0 && IsNameChar(lower[at - 1])) continue;
    size_t v = at + 5;
    if (v < tag.size() && (tag[v] == '"' || tag[v] == '\'')) {
      size_t close = tag.find(tag[v], v + 1);
      value = tag.substr(v + 1, close == std::string::npos ? std::string::npos : close - v - 1);
    } else {
      size_t stop = tag.find_first_of(" >", v);
      value = tag.substr(v, stop == std::string::npos ? std::string::npos : stop - v);
    }
    break;
  }
  std::string clean;
  for (char c : value)
    if (c != '\r' && c != '\n' && c != '\t') clean += c;
  for (size_t at; (at = clean.find("&amp;")) != std::string::npos;) clean.replace(at, 5, "&");
  size_t first = clean.find_first_not_of(' ');
  if (first == std::string::npos) return CLibString();
  size_t last = clean.find_last_not_of(' ');
  return CLibString(clean.substr(first, last - first + 1).c_str());
}

CLibString LinkTitle(const CLibString& link) {
  std::string text = link.c_str();
  size_t gt = text.find('>');
  if (gt == std::string::npos) return CLibString();
  std::string lower = LowerText(text);
  size_t from = gt + 1;
  for (size_t at = lower.find("</a", from); at != std::string::npos;
       at = lower.find("</a", at + 1)) {
    size_t k = at + 3;
    while (k < lower.size() && IsBlank(lower[k])) ++k;
    if (k < lower.size() && lower[k] == '>') return CLibString(text.substr(from, at - from).c_str());
  }
  return CLibString(text.substr(from).c_str());
}

std::string HighlightTerm(const std::string& html, const std::string& term) {
  static const char kOpen[] = "<FONT COLOR=#800000 style=\"background:ffff00\">";
  static const char kClose[] = "</FONT>";
  std::string text = html;
  size_t start = 0;
  while (start < term.size()) {
    size_t stop = term.find(' ', start);
    if (stop == std::string::npos) stop = term.size();
    std::string word = LowerText(term.substr(start, stop - start));
    start = stop + 1;
    if (word.empty() || word.find_first_of("<>&") != std::string::npos) continue;
    std::string lower = LowerText(text);
    std::string out;
    size_t p = 0;
    for (size_t at = lower.find(word); at != std::string::npos; at = lower.find(word, at)) {
      size_t lt = lower.rfind('<', at);
      size_t gt = lower.rfind('>', at);
      bool inTag = lt != std::string::npos && (gt == std::string::npos || gt < lt);
      out.append(text, p, at - p);
      if (inTag) {
        out.append(text, at, word.size());
      } else {
        out += kOpen;
        out.append(text, at, word.size());
        out += kClose;
      }
      at += word.size();
      p = at;
    }
    out.append(text, p, std::string::npos);
    text.swap(out);
  }
  return text;
}

}  // namespace reporthtml
