#include "engines/db/EngineKeys.h"

CNVList EngineKeyList;

CLibString GetEngineKey(const CLibString& section, const char* key) {
  return EngineKeyList.GetValue(section + key);
}
