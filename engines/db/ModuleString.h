// A string resource of a given module (the language module, say), for the interpreter's texts.
#pragma once

#include <windows.h>

#include "foundation/core/LibString.h"

// Up to 1023 characters of the string of that id; empty when the module has none or is null.
CLibString LoadModuleString(HMODULE module, unsigned id);
