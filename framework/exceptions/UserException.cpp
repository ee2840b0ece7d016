#include "framework/exceptions/UserException.h"

IMPLEMENT_DYNAMIC(CUserException, CException)
