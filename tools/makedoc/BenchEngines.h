// Engine data for benchmarks: many engines made from the fixture's searching engines by
// copying their definitions under new names, so a document can hold hundreds of engines that
// the program reads as it reads real ones.
#pragma once

#include <string>
#include <vector>

namespace zbdemo {

// The names of `count` engines in the order written: "Alpha Search 001", "Beta Seek 002", ...
std::vector<std::string> BenchEngineNames(int count);

// The text of an engines.dat (readable form) with the fixture's leading comments and icons and
// `count` copied engines, their addresses on the given port.
std::string BenchEnginesText(int count, unsigned short port);

// Writes engines.dat (that text) and categories.dat (the fixture's) into the folder. False
// with a message when the fixtures cannot be read or a file cannot be written.
bool WriteBenchEngines(const std::string& folder, int count, unsigned short port,
                       std::string& error);

}  // namespace zbdemo
