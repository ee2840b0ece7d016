// CMapStringToString: a map from strings to strings, keys compared by exact bytes.
#pragma once
#include "framework/collections/Map.h"
#include "framework/core/String.h"

class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR> {
 public:
  using CMap::CMap;
};
