// enginedata: encodes, decodes and checks the scrambled engine data files (see EngineDataTool.h).
#include <iostream>
#include <string>
#include <vector>

#include "tools/enginedata/EngineDataTool.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return RunEngineDataTool(args, std::cin, std::cout, std::cerr);
}
