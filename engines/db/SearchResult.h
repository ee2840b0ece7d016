// CSearchResult: one result of an engine's query, cut out of a result page. The engine's result
// list owns its records; the run sees each one (by pointer) before it joins the list.
#pragma once

#include <cstdint>

#include "foundation/core/LibString.h"

class CSearchResult {
 public:
  CSearchResult() = default;
  CSearchResult(const CSearchResult&) = default;
  CSearchResult& operator=(const CSearchResult&) = default;
  virtual ~CSearchResult() = default;

  CLibString m_title;        // left empty; the reports read the block text
  int32_t m_index = 0;       // results in the list before this one
  int32_t m_page = 0;        // page index when the block was read, 0 = first page
  int32_t m_position = 0;    // results taken from the same page before this one
  CLibString m_text;         // the simplified block, where the user's site is looked for
  uint32_t m_matched = 0;    // set by the rank matching
  CLibString m_matchedText;  // the site token that matched
};
