// CMapStringToPtr: a map from strings (compared by exact bytes) to untyped pointers; the map
// never owns what they point at.
#pragma once
#include "framework/collections/Map.h"
#include "framework/core/String.h"

class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*> {
 public:
  using CMap::CMap;
};
