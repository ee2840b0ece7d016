// CMapStringToOb: a map from strings (compared by exact bytes) to CObject pointers; the map
// never deletes its objects.
#pragma once
#include "framework/Map.h"
#include "framework/String.h"

class CMapStringToOb : public CMap<CString, LPCSTR, CObject*, CObject*> {
 public:
  using CMap::CMap;
};
