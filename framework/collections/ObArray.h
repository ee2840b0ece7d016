// CObArray: an array of CObject pointers that can be written to and read from an archive (a
// count, then each element as an object reference). The array never deletes its objects.
#pragma once
#include "framework/collections/Array.h"

class CObArray : public CArray<CObject*, CObject*> {
 public:
  // Loading appends the objects read; those read before an error stay in the array.
  void Serialize(CArchive& ar) override;
};
