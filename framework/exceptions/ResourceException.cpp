#include "framework/exceptions/ResourceException.h"

IMPLEMENT_DYNAMIC(CResourceException, CException)

CString CResourceException::Describe() const {
  return CString("A window or resource could not be created.");
}

void AfxThrowResourceException() { throw CResourceException(); }
