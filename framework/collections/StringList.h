// CStringList: a list of CStrings.
#pragma once
#include "framework/collections/List.h"
#include "framework/core/String.h"

class CStringList : public CList<CString, LPCSTR> {
 public:
  using CList::CList;
};
