// CMapStringToString: a map from strings to strings, keys compared by exact bytes.
#pragma once
#include "framework/Map.h"
#include "framework/String.h"

class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR> {
 public:
  using CMap::CMap;
};
