// The engine names in the order the engine list shows them. The report writers list engines in
// that order; the engine view installs its own source when it exists. Until then (and in a run
// without windows) the order is the current engine set's own.
#pragma once

#include <vector>

#include "foundation/core/LibString.h"

class CZubrinDoc;

using EngineRowSource = std::vector<CLibString> (*)(const CZubrinDoc& document);
// Null restores the engine set's order, as does a source that gives no names.
void SetEngineRowSource(EngineRowSource source);
std::vector<CLibString> GetEngineRowNames(const CZubrinDoc& document);
