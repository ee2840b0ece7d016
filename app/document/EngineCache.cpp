#include "app/document/EngineCache.h"

IMPLEMENT_DYNAMIC(CEngineCache, CObject)
