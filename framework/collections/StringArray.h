// CStringArray: an array of CStrings.
#pragma once
#include "framework/collections/Array.h"
#include "framework/core/String.h"

class CStringArray : public CArray<CString, LPCSTR> {};
