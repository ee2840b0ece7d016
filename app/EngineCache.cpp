#include "app/EngineCache.h"

IMPLEMENT_DYNAMIC(CEngineCache, CObject)
