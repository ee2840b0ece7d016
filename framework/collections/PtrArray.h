// CPtrArray: an array of untyped pointers; the array never owns what they point at.
#pragma once
#include "framework/Array.h"

class CPtrArray : public CArray<void*, void*> {};
