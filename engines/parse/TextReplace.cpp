#include "engines/parse/TextReplace.h"

std::string ReplaceAllOf(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  if (from.empty()) return std::string(text);
  out.reserve(text.size());
  size_t pos = 0;
  for (size_t hit = text.find(from); hit != std::string_view::npos; hit = text.find(from, pos)) {
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::string RemoveAllOf(std::string_view text, std::string_view set) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (set.find(c) == std::string_view::npos) out += c;
  return out;
}
