#include "framework/exceptions/MemoryException.h"

IMPLEMENT_DYNAMIC(CMemoryException, CException)

CString CMemoryException::Describe() const {
  return CString("Out of memory.");
}
