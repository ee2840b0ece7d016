// CPtrArray: an array of untyped pointers; the array never owns what they point at.
#pragma once
#include "framework/collections/Array.h"

class CPtrArray : public CArray<void*, void*> {};
