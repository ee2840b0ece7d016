#include "engines/query/PageDump.h"

#include <cstdio>
#include <cstring>

#include "engines/query/DebugOptions.h"

CLibString PageDumpPath(const CLibString& engineName, const CLibString& suffix) {
  // Engine names come from the definitions file; none of them may reach another folder.
  CLibString name;
  for (const char* p = engineName.c_str(); *p; ++p)
    name.AppendChar(strchr("\\/:*?\"<>|", *p) ? '_' : *p);
  return GetDumpFolder() + name + suffix;
}

bool WritePageDump(const CLibString& engineName, const CLibString& suffix, const CLibString& text) {
  CLibString path = PageDumpPath(engineName, suffix);
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  size_t length = static_cast<size_t>(text.GetLength());
  bool ok = fwrite(text.c_str(), 1, length, file) == length;
  return fclose(file) == 0 && ok;
}
