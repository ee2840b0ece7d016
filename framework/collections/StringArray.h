// CStringArray: an array of CStrings.
#pragma once
#include "framework/Array.h"
#include "framework/String.h"

class CStringArray : public CArray<CString, LPCSTR> {};
