// CUserException: stops an operation whose failure the user has already been told of, or that
// is meant to fail quietly; it has no text of its own and reports nothing.
#pragma once
#include "framework/exceptions/Exception.h"

class CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)
};
