// CMemoryException: memory could not be allocated.
#pragma once
#include "framework/exceptions/Exception.h"

class CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)
 protected:
  CString Describe() const override;
};
