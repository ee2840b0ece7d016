// Moved to toolkit/bars/; kept so that existing includes go on working.
#pragma once
#include "toolkit/bars/TkReBar.h"
