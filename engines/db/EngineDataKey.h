// The key of the data-file coder for engines.dat and categories.dat. It is built when asked for,
// from a longer constant, so the key text itself appears nowhere in the program's files.
#pragma once

#include "foundation/core/LibString.h"

// The 14 characters that start at index 3 of the program's 20-character data constant.
CLibString BuildEngineDataKey();
