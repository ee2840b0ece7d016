#include "engines/query/DebugOptions.h"

namespace {

struct DebugOptions {
  bool on = false;
  CLibString dumpFolder;
  CLibString enginesFile;
};

DebugOptions& Options() {
  static DebugOptions options;
  return options;
}

}  // namespace

void SetDebugOptions(const CLibString& dumpFolder, const char* enginesFile) {
  DebugOptions& options = Options();
  options.on = true;
  options.dumpFolder = dumpFolder;
  int length = dumpFolder.GetLength();
  if (length == 0 || dumpFolder.c_str()[length - 1] != '\\') options.dumpFolder += "\\";
  if (enginesFile) options.enginesFile = enginesFile;
}

bool IsDebugOn() {
  return Options().on;
}

const CLibString& GetDumpFolder() {
  return Options().dumpFolder;
}

const CLibString& GetAlternateEnginesFile() {
  return Options().enginesFile;
}

void ResetDebugOptions() {
  Options() = DebugOptions();
}
