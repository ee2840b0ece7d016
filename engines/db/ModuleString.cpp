#include "engines/db/ModuleString.h"

CLibString LoadModuleString(HMODULE module, unsigned id) {
  if (!module) return CLibString();
  char buffer[1024];
  int length = LoadStringA(module, id, buffer, sizeof buffer);
  if (length <= 0) return CLibString();
  return CLibString(buffer);
}
