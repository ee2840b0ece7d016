// EnginePrototypes: the process-wide index from engine name to the prototype engine of the
// database, with the enabled flags and the number of enabled prototypes. Each service first
// fills the index from the database it is given when the index is empty (or was filled from
// another database).
#pragma once

#include <cstdint>

#include "foundation/core/LibString.h"

class CEngineList;
class CSearchEngine;

// A clone of the named prototype with its enabled flag; null when the name is unknown.
CSearchEngine* ClonePrototype(CEngineList& list, const CLibString& name);
// Sets the flag and returns the old one (0 for an unknown name).
int32_t SetEngineEnabled(CEngineList& list, const CLibString& name, int32_t flag);
int32_t IsEngineEnabled(CEngineList& list, const CLibString& name);
int GetEnabledEngineCount();
void SetAllEnginesEnabled(CEngineList& list, int32_t flag);
// The prototype's icon index; the common icon ("Icons.common") for an unknown name.
int GetEngineIcon(CEngineList& list, const CLibString& name);

// Forgets every prototype (the database frees them) and the enabled count.
void ResetEnginePrototypes();
