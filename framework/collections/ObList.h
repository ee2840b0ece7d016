// CObList: a list of CObject pointers that can be written to and read from an archive (a count,
// then each element as an object reference). The list never deletes its objects.
#pragma once
#include "framework/collections/List.h"

class CObList : public CList<CObject*, CObject*> {
 public:
  using CList::CList;
  // Loading appends the objects read; those read before an error stay in the list.
  void Serialize(CArchive& ar) override;
};
