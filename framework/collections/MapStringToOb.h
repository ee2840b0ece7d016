// CMapStringToOb: a map from strings (compared by exact bytes) to CObject pointers; the map
// never deletes its objects.
#pragma once
#include "framework/collections/Map.h"
#include "framework/core/String.h"

class CMapStringToOb : public CMap<CString, LPCSTR, CObject*, CObject*> {
 public:
  using CMap::CMap;
};
