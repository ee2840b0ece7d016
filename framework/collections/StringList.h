// CStringList: a list of CStrings.
#pragma once
#include "framework/List.h"
#include "framework/String.h"

class CStringList : public CList<CString, LPCSTR> {
 public:
  using CList::CList;
};
