// CPtrList: a list of untyped pointers; the list never owns what they point at.
#pragma once
#include "framework/collections/List.h"

class CPtrList : public CList<void*, void*> {
 public:
  using CList::CList;
};
