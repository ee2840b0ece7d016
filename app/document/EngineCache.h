// CEngineCache: what the document keeps per engine across all its search terms: whether the
// user excluded the engine from submission, its count over all sets and its latest submission day.
#pragma once
#include <cstdint>

#include "framework/core/Object.h"

class CEngineCache : public CObject {
  DECLARE_DYNAMIC(CEngineCache)
 public:
  uint32_t m_excluded = 0;  // 1: never submitted to
  uint32_t m_total = 0;
  uint32_t m_latest = 0;  // day number, 0 = never
};
