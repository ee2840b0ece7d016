// Moved to toolkit/core/; kept so that existing includes go on working.
#pragma once
#include "toolkit/core/ToolkitData.h"
