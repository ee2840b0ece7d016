// Text edits on page text that take one pass whatever the text holds. A page is hostile input:
// an address or a link text may hold thousands of "&amp;" or line ends, and an edit that copies
// the text again for each of them takes minutes on a large page.
#pragma once

#include <string>
#include <string_view>

#include "foundation/core/LibString.h"

// The text with every occurrence of from (not empty) replaced by to, left to right.
std::string ReplaceAllOf(std::string_view text, std::string_view from, std::string_view to);

// The text without any of the characters in set.
std::string RemoveAllOf(std::string_view text, std::string_view set);

inline std::string_view View(const CLibString& text) {
  return std::string_view(text.c_str());
}
