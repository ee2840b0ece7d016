// An engine whose definition keys a test writes straight into EngineKeyList, and removes again.
#pragma once

#include <string>
#include <vector>

#include "engines/db/EngineKeys.h"
#include "engines/db/SearchEngine.h"

namespace enginetest {

class DefinedEngine {
 public:
  explicit DefinedEngine(const char* name) { engine.m_name = name; }
  ~DefinedEngine() { ClearKeys(); }

  // key begins with "." (".genfirst").
  void Set(const char* key, const std::string& value) {
    CLibString name = engine.m_name + key;
    EngineKeyList.SetAt(name, value.c_str());
    names.push_back(name);
  }
  void ClearKeys() {
    for (const CLibString& name : names) delete EngineKeyList.Remove(name);
    names.clear();
  }

  CSearchEngine engine;

 private:
  std::vector<CLibString> names;
};

}  // namespace enginetest
