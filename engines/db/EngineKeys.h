// EngineKeyList: every key of every engine definition, process-wide, named by the section's name,
// "." and the key ("Example.enabled", "Icons.common"). The engine database fills it when it loads;
// the engines and their interpreter read it.
#pragma once

#include "foundation/core/LibString.h"
#include "foundation/core/NVList.h"

extern CNVList EngineKeyList;

// The value stored for section + key (key begins with "."); empty when absent.
CLibString GetEngineKey(const CLibString& section, const char* key);
