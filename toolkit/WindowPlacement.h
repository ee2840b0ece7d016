// Moved to toolkit/frame/; kept so that existing includes go on working.
#pragma once
#include "toolkit/frame/WindowPlacement.h"
