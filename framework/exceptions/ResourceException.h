// CResourceException: a window, a resource or another system object could not be made.
#pragma once
#include "framework/exceptions/Exception.h"

class CResourceException : public CException {
  DECLARE_DYNAMIC(CResourceException)
 protected:
  CString Describe() const override;
};

// Throws a CResourceException, by value as every framework exception is.
[[noreturn]] void AfxThrowResourceException();
